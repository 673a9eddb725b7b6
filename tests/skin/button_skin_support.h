// Shared by the push-button and check-box skin tests: a skin component holding the flat
// test skin (no manager, so nothing else skins the test's windows), a visible parent
// window that records the WM_COMMAND it gets, raw buttons on it, class-library forms, and
// pictures of a control as its skin paints it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "Forms.h"
#include "GraphicControls.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

namespace buttontest {

class FlatSkinFixture : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::make_unique<TSkinData>(nullptr);
        ASSERT_TRUE(skindata::LoadInto(*data, skintest::MakeFlatTestSkin(options)));
        guitest::TestWindowOptions o;
        o.caption = L"button skins";
        o.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        o.handler = [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
            if (msg == WM_COMMAND) commands.emplace_back(wParam, lParam);
            return false;
        };
        parent = guitest::TestWindow(o);
        ASSERT_TRUE(parent);
        // The hot look follows the pointer: it goes off the test's window (a test before
        // may have left it where this test's button lies).  Every suite of this fixture
        // holds the display's input lock.
        RECT r{};
        GetWindowRect(parent.Handle(), &r);
        POINT away{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
        if (PtInRect(&r, away)) away = POINT{0, 0};
        SetCursorPos(away.x, away.y);
    }
    void TearDown() override {
        forms.clear();
        parent.Destroy();
        data.reset();
        guitest::PumpMessages();
    }

    // A raw "button" child of the parent (80 x 30 at 20, 20) with the GUI font.
    HWND MakeRawButton(DWORD style, const wchar_t* text, int id = 100, int width = 80, int height = 30) {
        HWND button = CreateWindowExW(0, L"button", text, WS_CHILD | WS_VISIBLE | style, 20, 20, width, height,
                                      parent.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(button, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return button;
    }

    // A shown class-library form, freed after the test.
    TForm* MakeForm() {
        forms.push_back(std::make_unique<TForm>(nullptr));
        TForm* form = forms.back().get();
        form->SetBounds(60, 60, 300, 200);
        form->Show();
        return form;
    }

    // Gives the keyboard focus to the window, its top-level window brought forward first:
    // other test programs running at the same time may hold the activation for a moment.
    static bool FocusOn(HWND window) {
        HWND top = GetAncestor(window, GA_ROOT);
        return guitest::PumpUntil([&] {
            if (GetForegroundWindow() != top) SetForegroundWindow(top);
            if (GetFocus() != window) SetFocus(window);
            return GetFocus() == window;
        });
    }

    // The client area as the window's skin paints it into a DC it is handed.
    static guitest::Capture PrintClient(HWND window) {
        const RECT r = guitest::ClientRectOf(window);
        guitest::Capture c(r.right, r.bottom);
        if (c.Valid()) SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.Dc()), PRF_CLIENT);
        GdiFlush();
        return c;
    }

    // What the window shows now, without repainting it first.
    static guitest::Capture WindowDc(HWND window) {
        const RECT r = guitest::ClientRectOf(window);
        guitest::Capture c(r.right, r.bottom);
        HDC dc = GetDC(window);
        if (c.Valid() && dc) BitBlt(c.Dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        if (dc) ReleaseDC(window, dc);
        GdiFlush();
        return c;
    }

    // A control without a window painted as its parent paints it (WM_PAINT with a DC).
    static guitest::Capture PaintGraphic(TGraphicControl* control) {
        guitest::Capture c(control->Width(), control->Height());
        if (c.Valid()) control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(c.Dc()), 0);
        GdiFlush();
        return c;
    }

    skintest::FlatSkinOptions options;
    std::unique_ptr<TSkinData> data;
    guitest::TestWindow parent;
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    std::vector<std::unique_ptr<TForm>> forms;
};

}  // namespace buttontest
