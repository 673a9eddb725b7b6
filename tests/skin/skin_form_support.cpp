#include "skin_form_support.h"

#include <algorithm>

#include "skin_data_support.h"
#include "test_skins.h"

namespace skinform {

COLORREF FlatRef(const char* section, const char* key, int cell) {
    return skintest::ToColorRef(skintest::FlatCellColour(section, key, cell));
}

COLORREF FlatRef(const char* section, int cell) {
    return skintest::ToColorRef(skintest::FlatCellColour(section, cell));
}

void SkinFormTest::SetUp() {
    savedVersion = SkinVersionValue();
    SetSkinVersionValue(kVersionWin10);
    FreeSkinManager();
    TSkinManage::InstallFactory();
    manager = TSkinManage::Instance();
    if (!manager) manager = dynamic_cast<TSkinManage*>(CreateSkinManager());
    ASSERT_NE(manager, nullptr);
    data = std::make_unique<TSkinData>(nullptr);
    ASSERT_TRUE(LoadSkin(*data));
    manager->RegisterSkinData(data.get());
    manager->SetEnabled(true);
    manager->SetReadyState(1);
}

void SkinFormTest::TearDown() {
    data.reset();
    FreeSkinManager();
    SetSkinVersionValue(savedVersion);
    guitest::PumpMessages();
}

bool SkinFormTest::LoadSkin(TSkinData& skin) { return skindata::LoadInto(skin, skintest::MakeFlatTestSkin()); }

bool LoadDefaultSkin(TSkinData& data) {
    HRSRC res = FindResourceA(nullptr, "DEFAULTSKIN", MAKEINTRESOURCEA(10));
    HGLOBAL global = res ? LoadResource(nullptr, res) : nullptr;
    if (!global) return false;
    const auto* bytes = static_cast<const uint8_t*>(LockResource(global));
    data.ReadSkinStream(TBytes(bytes, bytes + SizeofResource(nullptr, res)));
    return !data.NoSkin();
}

TWinSkinForm* SkinFormTest::SkinAndApply(HWND window) {
    if (!manager->SkinWindow(window)) return nullptr;
    TWinSkinForm* skin = manager->FindFormSkin(window);
    if (!skin) return nullptr;
    guitest::PumpUntil([&] { return skin->FSkinState == ssActive; });
    return skin;
}

guitest::TestWindow SkinFormTest::MakeWindow(const guitest::TestWindowOptions& options) {
    return guitest::TestWindow(options);
}

guitest::Capture PaintedFrame(TWinSkinForm& skin) {
    RECT r{};
    GetWindowRect(skin.FHandle, &r);
    guitest::Capture capture(r.right - r.left, r.bottom - r.top);
    if (capture.Valid()) skin.PaintFrame(capture.Dc());
    return capture;
}

POINT FrameToScreen(HWND window, POINT frame) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{r.left + frame.x, r.top + frame.y};
}

void WarmFrameStates(TWinSkinForm& skin) {
    const HWND window = skin.FHandle;
    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    for (auto& button : skin.FSysButtons) {
        if (!button->Visible || !button->Definition) continue;
        for (int cell = 1; cell <= std::max(button->Definition->Frame, 1); ++cell) skin.PaintSysButton(*button, cell);
    }
    // Back to the state the window is really in.
    SendMessageW(window, WM_NCACTIVATE, GetActiveWindow() == window, 0);
}

}  // namespace skinform
