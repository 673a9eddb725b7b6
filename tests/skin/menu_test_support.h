// Helpers of the menu tests of the skin engine: a component holding a flat test skin, a
// skin manager link that is switched on, a thread timer that acts inside a menu's own
// loop, the popup-menu windows of this thread, and a window-creation hook that gives
// each popup-menu window a popup skin as the skin manager does.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "WinSkinData.h"
#include "WinSkinPopMenu.h"
#include "test_skins.h"

namespace menutests {

// A TSkinData (owned by nothing) holding the flat test skin, and a manager link that has
// skinning on.  Freed in reverse order at the end of the test.
class FlatSkinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads another flat skin (sections or images left out).
    void LoadSkin(const skintest::FlatSkinOptions& options);
    std::unique_ptr<TSkinData> skin;
};

// 0xRRGGBB of a flat cell as a COLORREF.
COLORREF CellRef(const char* section, const char* key, int cell);
COLORREF ColourRef(TColor colour);  // a skin colour (system colours resolved)

// A thread timer: its callback runs in whatever loop the thread is in (a menu's).
class ThreadTimer {
public:
    ThreadTimer(DWORD intervalMs, std::function<void()> tick);
    ~ThreadTimer();
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

private:
    static void CALLBACK proc(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id_ = 0;
    std::function<void()> tick_;
};

// Visible popup-menu windows ("#32768") of this thread.
std::vector<HWND> ThreadMenuWindows();

// While it lives, every popup-menu window this thread creates gets a TWinSkinPopMenu of
// `skin`, removed when the window is destroyed.
class PopupSkinHook {
public:
    explicit PopupSkinHook(TSkinData* skin);
    ~PopupSkinHook();
    PopupSkinHook(const PopupSkinHook&) = delete;
    PopupSkinHook& operator=(const PopupSkinHook&) = delete;
    int Created() const { return created_; }
    TWinSkinPopMenu* Find(HWND window) const;

private:
    static LRESULT CALLBACK proc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    TSkinData* skin_;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> skins_;
    int created_ = 0;
};

}  // namespace menutests
