// Helpers of the form-skin and manager tests: a fixture with a real skin manager and one
// skin component holding the flat test skin (one colour per cell), raw test windows, and
// waiting for a window's skin to be applied.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "gui_test.h"

namespace skinform {

// GetVersion() values the tests set: Windows 10, Windows 7, NT 4 and Windows 98.
constexpr DWORD kVersionWin10 = 0x4A65000Au;
constexpr DWORD kVersionWin7 = 0x1DB10106u;
constexpr DWORD kVersionNT4 = 0x05650004u;
constexpr DWORD kVersion98 = 0xC0000A04u;

// 0xRRGGBB of the flat skin's cell as a COLORREF.
COLORREF FlatRef(const char* section, const char* key, int cell);
COLORREF FlatRef(const char* section, int cell);

class SkinFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

public:
    // Admits the window and waits until WM_SKINAPPLY ran; the form skin or nullptr.
    TWinSkinForm* SkinAndApply(HWND window);
    // A window of the harness's class (top-level, hidden unless visible).
    guitest::TestWindow MakeWindow(const guitest::TestWindowOptions& options = {});
    // Puts the skin the tests use into `data` before it is registered: the flat test skin
    // unless a fixture says otherwise.  False when there is none.
    virtual bool LoadSkin(TSkinData& data);

    TSkinManage* manager = nullptr;
    std::unique_ptr<TSkinData> data;
    DWORD savedVersion = 0;
};

// The default skin the programs store, from the test program's resource DEFAULTSKIN.
bool LoadDefaultSkin(TSkinData& data);

// The frame painted into a capture of the window's size (PaintFrame on a memory DC).
guitest::Capture PaintedFrame(TWinSkinForm& skin);

// The screen point of a frame point of the window.
POINT FrameToScreen(HWND window, POINT frame);

// Draws the skinned window's frame in every state another program can put it in: inactive
// and active, and each caption button in each of its cells (hot under a passing pointer).
// The form skin keeps what it draws once per state (a bounded set per window), so a count
// of GDI objects taken after this stays put when the activation or the pointer moves.
void WarmFrameStates(TWinSkinForm& skin);

}  // namespace skinform
