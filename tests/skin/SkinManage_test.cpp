// The skin manager under Wine: the admission tests in their order on real windows, the
// choice of skin component, the hook (installed once, admitting activated windows), the
// deferred actions, and the teardown of 200 skinned windows leaving nothing behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "WinSkinPopMenu.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

namespace {

using guitest::OwnedWindow;
using guitest::PumpUntil;
using guitest::TestWindow;
using guitest::TestWindowOptions;
using Manager = skinform::SkinFormTest;

// A top-level window of a class registered here (in this module) under `className`.
OwnedWindow MakeClassWindow(const char* className, DWORD style, int width, int height, HINSTANCE instance = nullptr,
                            DWORD exStyle = 0) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance ? instance : GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // an existing class is fine
    return OwnedWindow(CreateWindowExA(exStyle, className, "admission", style, 10, 10, width, height, nullptr, nullptr,
                                       wc.hInstance, nullptr));
}

struct AdmissionRow {
    const char* name;
    std::function<HWND(std::vector<OwnedWindow>&, Manager&)> make;
    bool admitted;
};

TEST_F(Manager, Admission_TestsInTheirOrder) {
    std::vector<std::unique_ptr<TForm>> forms;
    const AdmissionRow rows[] = {
        {"plain top-level window of this module",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             keep.push_back(MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200));
             return keep.back().Get();
         },
         true},
        {"already skinned (answers WM_SKINQUERY)",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             WNDCLASSA wc{};
             wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
                 return msg == WM_SKINQUERY ? 1 : DefWindowProcA(w, msg, wp, lp);
             };
             wc.hInstance = GetModuleHandleA(nullptr);
             wc.lpszClassName = "SkinAdmitAnswers";
             RegisterClassA(&wc);
             keep.push_back(OwnedWindow(CreateWindowExA(0, "SkinAdmitAnswers", "skinned", WS_OVERLAPPEDWINDOW, 10, 10,
                                                        300, 200, nullptr, nullptr, wc.hInstance, nullptr)));
             return keep.back().Get();
         },
         false},
        {"plain child window",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             keep.push_back(MakeClassWindow("SkinAdmitParent", WS_OVERLAPPEDWINDOW, 300, 200));
             HWND child = CreateWindowExA(0, "SkinAdmitParent", "child", WS_CHILD, 0, 0, 50, 50, keep.back().Get(),
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
             return child;
         },
         false},
        {"window of another module",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             keep.push_back(OwnedWindow(CreateWindowExA(0, "Static", "foreign", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                                        nullptr, nullptr, GetModuleHandleA("user32.dll"), nullptr)));
             return keep.back().Get();
         },
         false},
        {"dialog of another module",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             keep.push_back(OwnedWindow(CreateWindowExA(0, "#32770", "dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, 10,
                                                        10, 300, 200, nullptr, nullptr,
                                                        GetModuleHandleA("user32.dll"), nullptr)));
             return keep.back().Get();
         },
         true},
        {"zero size",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             keep.push_back(MakeClassWindow("SkinAdmitZero", WS_POPUP, 0, 0));
             return keep.back().Get();
         },
         false},
        {"form with tag 99",
         [&forms](std::vector<OwnedWindow>&, Manager& t) {
             t.data->DisableTag = 5;  // the number 99 counts, not DisableTag
             forms.push_back(std::make_unique<TForm>(nullptr));
             forms.back()->SetTag(99);
             forms.back()->SetBounds(10, 10, 300, 200);
             return forms.back()->Handle();
         },
         false},
        {"class-library form",
         [&forms](std::vector<OwnedWindow>&, Manager&) {
             forms.push_back(std::make_unique<TForm>(nullptr));
             forms.back()->SetBounds(10, 10, 300, 200);
             return forms.back()->Handle();
         },
         true},
        {"TApplication class",
         [](std::vector<OwnedWindow>& keep, Manager&) {
             keep.push_back(MakeClassWindow("TApplication", WS_OVERLAPPEDWINDOW, 300, 200));
             return keep.back().Get();
         },
         false},
        {"preview class without xoPreview",
         [](std::vector<OwnedWindow>& keep, Manager& t) {
             t.data->Options &= ~SkinBit(xoPreview);
             keep.push_back(MakeClassWindow("PrintPREVIEWWnd", WS_OVERLAPPEDWINDOW, 300, 200));
             return keep.back().Get();
         },
         false},
        {"preview class with xoPreview",
         [](std::vector<OwnedWindow>& keep, Manager& t) {
             t.data->Options |= SkinBit(xoPreview);
             keep.push_back(MakeClassWindow("PrintPreviewWnd2", WS_OVERLAPPEDWINDOW, 300, 200));
             return keep.back().Get();
         },
         true},
        {"OnFormSkin refuses",
         [](std::vector<OwnedWindow>& keep, Manager& t) {
             t.data->OnFormSkin = [](TObject*, const std::string& name, bool& doSkin) {
                 if (name == "SkinAdmitRefused") doSkin = false;
             };
             keep.push_back(MakeClassWindow("SkinAdmitRefused", WS_OVERLAPPEDWINDOW, 300, 200));
             return keep.back().Get();
         },
         false},
    };
    for (const AdmissionRow& row : rows) {
        std::vector<OwnedWindow> keep;
        const HWND window = row.make(keep, *this);
        ASSERT_TRUE(IsWindow(window)) << row.name;
        EXPECT_EQ(manager->SkinWindow(window), row.admitted) << row.name;
        EXPECT_EQ(manager->FindFormSkin(window) != nullptr, row.admitted) << row.name;
        if (row.admitted) {
            EXPECT_FALSE(manager->SkinWindow(window)) << row.name << ": never twice";
        }
        data->OnFormSkin = nullptr;
        data->Options = TSkinData::kDefaultOptions;
        data->DisableTag = 99;
        forms.clear();
        keep.clear();
        manager->PurgeFormSkins();
        PumpUntil([] { return false; }, 0);
    }
}

TEST_F(Manager, Admission_RefusedWhileDisabledOrWithoutSkin) {
    OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
    manager->SetEnabled(false);
    EXPECT_FALSE(manager->SkinWindow(window.Get())) << "disabled";
    manager->SetEnabled(true);
    TSkinData empty(nullptr);  // holds no skin
    manager->UnregisterSkinData(data.get());
    manager->RegisterSkinData(&empty);
    EXPECT_FALSE(manager->SkinWindow(window.Get())) << "a component without a skin is never chosen";
    manager->UnregisterSkinData(&empty);
    manager->RegisterSkinData(data.get());
    EXPECT_TRUE(manager->SkinWindow(window.Get()));
}

TEST_F(Manager, Admission_PlainChildOnlyWhileSkinningAll) {
    OwnedWindow parent = MakeClassWindow("SkinAdmitParent", WS_OVERLAPPEDWINDOW, 300, 200);
    HWND child = CreateWindowExA(0, "SkinAdmitParent", "child", WS_CHILD | WS_CAPTION, 0, 0, 80, 60, parent.Get(),
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(TSkinManage::IsPlainChildWindow(child));
    EXPECT_FALSE(manager->SkinWindow(child));
    manager->FSkinAll = true;
    EXPECT_TRUE(manager->SkinWindow(child));
    manager->FSkinAll = false;
    TWinSkinForm* skin = manager->FindFormSkin(child);
    ASSERT_NE(skin, nullptr);
    guitest::PumpUntil([&] { return skin->FSkinState == ssActive; });
    EXPECT_EQ(SendMessageW(child, WM_SKINQUERY, 0, 0), 1) << "a skinned child answers group 1 only";
    RECT r{};
    GetWindowRect(child, &r);
    EXPECT_EQ(r.right - r.left, 80) << "a plain child is never fitted";
}

TEST_F(Manager, ChooseSkinData_ByKindInRegistrationOrder) {
    OwnedWindow plain = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
    OwnedWindow dialog(CreateWindowExA(0, "#32770", "dialog", WS_POPUP | WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                                       nullptr, nullptr));
    TSkinData dialogData(nullptr);
    dialogData.SkinFormtype = sfDialog;
    manager->RegisterSkinData(&dialogData);
    EXPECT_EQ(manager->ChooseSkinData(plain.Get()), data.get()) << "the main component";
    EXPECT_EQ(manager->ChooseSkinData(dialog.Get()), &dialogData) << "a dialog takes the sfDialog component";
    TForm owner(nullptr);
    TSkinData onlyThis(&owner);
    onlyThis.SkinFormtype = sfOnlyThisForm;
    manager->RegisterSkinData(&onlyThis);
    EXPECT_EQ(manager->ChooseSkinData(owner.Handle()), &onlyThis) << "the form's own component";
    manager->UnregisterSkinData(&onlyThis);
    manager->UnregisterSkinData(&dialogData);
    manager->UnregisterSkinData(data.get());
    EXPECT_EQ(manager->ChooseSkinData(plain.Get()), nullptr) << "no component";
    manager->RegisterSkinData(data.get());
}

TEST_F(Manager, Hook_InstalledOnceAndAdmitsActivatedWindows) {
    manager->InstallHook();
    const HHOOK first = manager->HookHandle();
    ASSERT_NE(first, nullptr);
    manager->InstallHook();
    EXPECT_EQ(manager->HookHandle(), first) << "a second install keeps the one hook";
    OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
    ShowWindow(window.Get(), SW_SHOW);
    SetActiveWindow(window.Get());
    EXPECT_TRUE(PumpUntil([&] { return manager->FindFormSkin(window.Get()) != nullptr; })) << "admitted at activation";
}

TEST_F(Manager, Hook_DestroyingAnyWindowResetsTheMenuKind) {
    manager->InstallHook();
    manager->FMenuKind = mkSystemMenu;
    { OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200); }
    EXPECT_EQ(manager->FMenuKind, mkPopup);
}

TEST_F(Manager, Schedule_BeforeAnyActivationOnlySwitches) {
    manager->SetReadyState(0);
    manager->SetEnabled(false);
    manager->Schedule(saSkin, 250);
    EXPECT_TRUE(manager->Enabled());
    EXPECT_EQ(manager->FActionTimer, 0u) << "the timer stays off";
    manager->Schedule(saUnskin, 250);
    EXPECT_FALSE(manager->Enabled());
}

TEST_F(Manager, Schedule_UnskinTakesEverySkinAwayThenReportsTheChange) {
    int changed = 0;
    data->OnSkinChanged = [&](TObject*) { ++changed; };
    OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
    const LONG_PTR proc = GetWindowLongPtrA(window.Get(), GWLP_WNDPROC);
    ASSERT_TRUE(SkinAndApply(window.Get()));
    manager->SetCurrentSkinData(data.get());
    manager->Schedule(saUnskin, 10);
    ASSERT_TRUE(PumpUntil([&] { return changed == 1; }));
    EXPECT_TRUE(manager->FormSkins().empty());
    EXPECT_FALSE(manager->Enabled());
    EXPECT_EQ(GetWindowLongPtrA(window.Get(), GWLP_WNDPROC), proc);
    EXPECT_EQ(manager->CurrentSkinData(), nullptr);
}

TEST_F(Manager, TimerAction_WithoutSkinDataDoesNothing) {
    manager->SetCurrentSkinData(nullptr);
    manager->FPendingAction = saUnskin;
    manager->SetEnabled(true);
    manager->TimerAction();
    EXPECT_TRUE(manager->Enabled());
}

TEST_F(Manager, PopupWindows_PlainWindowHasNoPopupSkin) {
    OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
    manager->FMenuKind = mkPopup;
    EXPECT_FALSE(manager->IsPopupSkinned(window.Get()));
    EXPECT_FALSE(manager->RemovePopupSkin(window.Get()));
    EXPECT_EQ(manager->FMenuKind, mkPopup);
    EXPECT_EQ(manager->PopupBitmapOfMenu(nullptr), nullptr);
}

TEST_F(Manager, PopupWindows_MenuKindAndSkinControlsDecide) {
    const TSkinControlTypes all = TSkinData::kDefaultSkinControls;
    struct Row {
        const char* name;
        int kind;
        TSkinControlTypes controls;
        bool skinned;
    } rows[] = {
        {"context menu", mkPopup, all, true},
        {"context menu without xcPopupMenu", mkPopup, all & ~SkinBit(xcPopupMenu), false},
        {"bar drop-down by xcMainMenu", mkMenuBar, SkinBit(xcMainMenu), true},
        {"bar drop-down by xcMenuItem", mkMenuBar, SkinBit(xcMenuItem), true},
        {"bar drop-down without either", mkMenuBar, all & ~(SkinBit(xcMainMenu) | SkinBit(xcMenuItem)), false},
        {"system menu", mkSystemMenu, SkinBit(xcSystemMenu), true},
        {"system menu without xcSystemMenu", mkSystemMenu, all & ~SkinBit(xcSystemMenu), false},
    };
    for (const Row& r : rows) {
        OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_POPUP, 100, 50);
        const LONG_PTR proc = GetWindowLongPtrA(window.Get(), GWLP_WNDPROC);
        data->SkinControls = r.controls;
        manager->FMenuKind = r.kind;
        EXPECT_EQ(manager->SkinPopupWindow(window.Get()), r.skinned) << r.name;
        EXPECT_EQ(manager->IsPopupSkinned(window.Get()), r.skinned) << r.name;
        EXPECT_EQ(SendMessageA(window.Get(), WM_SKINQUERY, 0, 0) == 1, r.skinned) << r.name;
        EXPECT_FALSE(manager->SkinPopupWindow(window.Get())) << r.name << ": never twice";
        EXPECT_EQ(manager->RemovePopupSkin(window.Get()), r.skinned) << r.name;
        EXPECT_EQ(GetWindowLongPtrA(window.Get(), GWLP_WNDPROC), proc) << r.name << ": procedure given back";
        EXPECT_EQ(manager->FMenuKind, mkPopup) << r.name << ": the kind resets with the last popup skin";
        EXPECT_EQ(manager->PopupSkinCount(), 0) << r.name;
    }
}

TEST_F(Manager, PopupWindows_ComponentGoingAwayTakesItsPopupSkins) {
    OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_POPUP, 100, 50);
    const LONG_PTR proc = GetWindowLongPtrA(window.Get(), GWLP_WNDPROC);
    ASSERT_TRUE(manager->SkinPopupWindow(window.Get()));
    manager->UnregisterSkinData(data.get());
    EXPECT_EQ(manager->PopupSkinCount(), 0);
    EXPECT_EQ(GetWindowLongPtrA(window.Get(), GWLP_WNDPROC), proc) << "the window runs its own procedure again";
    EXPECT_NE(SendMessageA(window.Get(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(Manager, PopupWindows_MenuHandleBindsTheNewestUnboundOnce) {
    OwnedWindow older = MakeClassWindow("SkinAdmitPlain", WS_POPUP, 100, 50);
    OwnedWindow newer = MakeClassWindow("SkinAdmitPlain", WS_POPUP, 100, 50);
    ASSERT_TRUE(manager->SkinPopupWindow(older.Get()));
    ASSERT_TRUE(manager->SkinPopupWindow(newer.Get()));
    HMENU a = CreatePopupMenu(), b = CreatePopupMenu();
    manager->SetPopupMenuHandle(a);
    manager->SetPopupMenuHandle(a);  // drawn again: stays with its popup
    manager->SetPopupMenuHandle(b);
    EXPECT_EQ(manager->FPopupSkins[1]->MenuHandle(), a) << "the newest unbound popup takes the first menu";
    EXPECT_EQ(manager->FPopupSkins[0]->MenuHandle(), b);
    EXPECT_EQ(manager->PopupBitmapOfMenu(a), manager->FPopupSkins[1]->BackgroundBitmap());
    // Without the hook nobody tells the manager the window went: its entry is removed
    // safely afterwards.
    const HWND gone = older.Get();
    older.Reset();
    EXPECT_TRUE(manager->RemovePopupSkin(gone));
    EXPECT_EQ(manager->PopupSkinCount(), 1);
    DestroyMenu(a);
    DestroyMenu(b);
}

TEST_F(Manager, Teardown_200SkinnedWindowsLeaveNothingBehind) {
    manager->InstallHook();
    const HHOOK hook = manager->HookHandle();
    // Warm up once: the first skinned window makes the process-wide bitmaps.
    {
        OwnedWindow warm = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
        ASSERT_TRUE(SkinAndApply(warm.Get()));
        skinform::PaintedFrame(*manager->FindFormSkin(warm.Get()));
    }
    manager->PurgeFormSkins();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    for (int i = 0; i < 200; ++i) {
        OwnedWindow window = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
        TWinSkinForm* skin = SkinAndApply(window.Get());
        ASSERT_NE(skin, nullptr) << i;
        skinform::PaintedFrame(*skin);
        skin->BuildSysMenu();
    }
    manager->PurgeFormSkins();
    EXPECT_TRUE(manager->FormSkins().empty());
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    ASSERT_TRUE(before.gdiKnown) << before.source;
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects, " << after.source;
    if (before.userKnown) {
        EXPECT_EQ(after.user, before.user) << "USER objects, " << after.source;
    }
    EXPECT_EQ(manager->HookHandle(), hook) << "one hook";

    // 200 windows skinned, then every skin taken away: each gets its procedure back.
    std::vector<OwnedWindow> windows;
    std::vector<LONG_PTR> procs;
    for (int i = 0; i < 200; ++i) {
        windows.push_back(MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200));
        procs.push_back(GetWindowLongPtrA(windows.back().Get(), GWLP_WNDPROC));
        ASSERT_TRUE(manager->SkinWindow(windows.back().Get())) << i;
    }
    PumpUntil([&] { return manager->FormSkins().back()->FSkinState == ssActive; });
    manager->UnskinAll();
    for (size_t i = 0; i < windows.size(); ++i)
        EXPECT_EQ(GetWindowLongPtrA(windows[i].Get(), GWLP_WNDPROC), procs[i]) << i;
    windows.clear();
    const guitest::GuiObjectCounts end = guitest::CountGuiObjects();
    EXPECT_EQ(end.gdi, before.gdi) << "GDI objects after unskinning";

    FreeSkinManager();
    manager = nullptr;
    // The hook is gone with the manager: a new window is admitted by nobody.
    OwnedWindow last = MakeClassWindow("SkinAdmitPlain", WS_OVERLAPPEDWINDOW, 300, 200);
    ShowWindow(last.Get(), SW_SHOW);
    EXPECT_EQ(SendMessageW(last.Get(), WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(GetPropW(last.Get(), L"LacquerSkinForm"), nullptr);
}

}  // namespace
