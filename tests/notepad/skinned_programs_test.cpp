// The three programs start skinned: each main window answers the skin query and shows the
// default skin's frame on screen, and so do a message box and the open-file dialog of the
// notepad.  Screenshots of each are saved to <build>/screenshots/ as build artefacts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Fnotepad.h"
#include "SkinMessages.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

using namespace guitest;

namespace {

// The default skin the programs store, read from this test's own resources.
TSkinData& DefaultSkin() {
    static std::unique_ptr<TSkinData> data = [] {
        auto d = std::make_unique<TSkinData>(nullptr);
        HRSRC res = FindResourceA(nullptr, "DEFAULTSKIN", MAKEINTRESOURCEA(10));
        if (HGLOBAL global = res ? LoadResource(nullptr, res) : nullptr) {
            const auto* bytes = static_cast<const uint8_t*>(LockResource(global));
            d->ReadSkinStream(TBytes(bytes, bytes + SizeofResource(nullptr, res)));
        }
        return d;
    }();
    return *data;
}

std::wstring ScreenshotPath(const std::wstring& name) {
    const std::wstring shots = BuildPath(L"screenshots");
    CreateDirectoryW(shots.c_str(), nullptr);
    return shots + L"\\" + name + L".bmp";
}

bool Skinned(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// The left border on screen is the skin's Left part as the frame painter renders it, in
// the active or the inactive cell.
::testing::AssertionResult ShowsSkinnedFrame(HWND window, const std::wstring& shot) {
    TSkinData& skin = DefaultSkin();
    if (skin.NoSkin()) return ::testing::AssertionFailure() << "the test holds no default skin";
    const int borderWidth = skin.Left->Image.Width() / std::max(skin.Left->Frame, 1);
    Capture last;
    bool matched = false;
    PumpUntil([&] {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        last = CaptureWindow(window, true, CaptureMethod::WindowDc);
        if (!last.Valid()) return false;
        const int h = last.Height();
        for (int cell : {1, 2}) {
            auto part = RenderSkinPart(RECT{0, 0, borderWidth, h}, skin.Left->Image, skin.Left->Margins,
                                       StripAxis::Horizontal, skin.Left->Tile == 1 ? CentreFill::Stretch : CentreFill::Tile,
                                       std::max(skin.Left->Frame, 1), cell);
            if (!part || part->Empty()) continue;
            const COLORREF expected = part->PixelColor(1, h / 2);
            if (ColorNear(last.Pixel(1, h / 2), expected, 2)) matched = true;
        }
        return matched;
    });
    if (last.Valid()) last.SaveBmp(ScreenshotPath(shot));
    if (!matched) return ::testing::AssertionFailure() << "the left border is not the skin's Left part";
    return ::testing::AssertionSuccess();
}

// The window's caption band on screen, captured after a synchronous frame repaint.
Capture CaptionBand(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return CaptureWindow(window, true, CaptureMethod::WindowDc);
}

// Pixels of the caption band (the top `rows` rows) that differ between two captures.
int Differ(const Capture& a, const Capture& b, int rows) {
    if (!a.Valid() || !b.Valid() || a.Width() != b.Width() || a.Height() != b.Height()) return 0;
    int n = 0;
    for (int y = 0; y < std::min(rows, a.Height()); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) ++n;
    return n;
}

// The title is drawn on the skinned caption: with the window's text taken away the
// caption band changes; the text put back draws it again.  scrivet and parlet show
// their listening state only there.
::testing::AssertionResult DrawsTitle(HWND window, const std::wstring& title) {
    TSkinData& skin = DefaultSkin();
    const int caption = skin.Top->Image.Height() / std::max(skin.Top->Frame, 1);
    if (caption <= 0) return ::testing::AssertionFailure() << "the skin has no caption";
    Capture with, without;
    const bool shown = PumpUntil([&] {
        with = CaptionBand(window);
        SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000, nullptr);
        without = CaptionBand(window);
        SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()), SMTO_ABORTIFHUNG, 2000,
                            nullptr);
        return Differ(with, without, caption) >= 20;
    });
    if (!shown)
        return ::testing::AssertionFailure() << "the caption looks the same without its text ("
                                             << Differ(with, without, caption) << " pixels differ)";
    return ::testing::AssertionSuccess();
}

void ExpectMainWindowSkinned(const wchar_t* exe, const wchar_t* mainClass, const wchar_t* shot,
                             const wchar_t* title = nullptr) {
    notepadtest::CreateMarker();
    Process p = LaunchProgram(exe);
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, mainClass);
    ASSERT_NE(nullptr, main) << "no main window";
    ASSERT_TRUE(PumpUntil([&] { return Skinned(main); })) << "the main window is not skinned";
    EXPECT_TRUE(ShowsSkinnedFrame(main, shot));
    // The skin fits the frame to its borders; the window keeps its corner all the same.
    RECT r{};
    EXPECT_TRUE(PumpUntil([&] {
        GetWindowRect(main, &r);
        return r.right == GetSystemMetrics(SM_CXSCREEN) && r.bottom == GetSystemMetrics(SM_CYSCREEN) - 30;
    })) << "not in the bottom-right corner: " << ToString(r);
    if (title) {
        EXPECT_EQ(std::wstring(title), WindowTextW(main));
        EXPECT_TRUE(DrawsTitle(main, title));
        EXPECT_EQ(std::wstring(title), WindowTextW(main));
    }
    p.Terminate(0);
}

}  // namespace

TEST(SkinnedPrograms, Quillet_MainWindow) { ExpectMainWindowSkinned(L"quillet.exe", L"TFnotepad", L"quillet_main"); }
TEST(SkinnedPrograms, Scrivet_MainWindowWithItsListeningStateInTheCaption) {
    ExpectMainWindowSkinned(L"scrivet.exe", L"TFWord", L"scrivet_main", L"Dormel(已开始)");
}
TEST(SkinnedPrograms, Parlet_MainWindowWithItsListeningStateInTheCaption) {
    ExpectMainWindowSkinned(L"parlet.exe", L"TFInput", L"parlet_main", L"Chattuck(已开始)");
}

TEST(SkinnedPrograms, Quillet_MessageBox) {
    notepadtest::RemoveMarker();  // the first-run prompt is a message box
    Process p = LaunchProgram(L"quillet.exe");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND box = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, box) << "no message box";
    ASSERT_TRUE(PumpUntil([&] { return Skinned(box); })) << "the message box is not skinned";
    EXPECT_TRUE(ShowsSkinnedFrame(box, L"quillet_messagebox"));
    p.Terminate(0);
    notepadtest::CreateMarker();
}

// The open-file dialog, opened by the notepad's File > Open in this process (another
// process's menus are out of reach under Wine): the dialog is the system's, admitted by
// its class and skinned with the main form's skin.
TEST(SkinnedPrograms, Quillet_OpenFileDialog) {
    Application->Initialize();
    RegisterSkinClasses();
    TFnotepad::CommandLineParameters = [] { return std::vector<std::string>(); };
    ASSERT_TRUE(notepadtest::Standin::Get().Loaded()) << "stand-in recognizer DLL not found";
    notepadtest::Standin::Get().Reset();
    notepadtest::CreateMarker();
    TFnotepad* form = Application->CreateForm<TFnotepad>();
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(form->Handle()); })) << "the main form is not skinned";
    ::testing::AssertionResult frame = ::testing::AssertionFailure() << "no open-file dialog";
    const auto seen = notepadtest::RunDialogs([&] { form->M_OpenFilesClick(form); },
                                              {[&](HWND dialog) {
                                                  if (!Skinned(dialog)) return false;
                                                  frame = ShowsSkinnedFrame(dialog, L"quillet_openfile");
                                                  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                                                  return true;
                                              }});
    EXPECT_EQ(1u, seen.size());
    EXPECT_TRUE(frame);
    delete form;
    Application->SetMainForm(nullptr);
    notepadtest::Standin::Get().Reset();
    PumpMessages();
}
