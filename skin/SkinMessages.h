// The skin engine's private window messages, with the numbers the engine fixes.  Other
// windows may send or receive WM_SKINQUERY, WM_SKINBUTTONCLICK, WM_SKINBUTTONVISIBLE,
// WM_SKINMENUBARCLICK and CN_SKINNOTIFY, so the numbers never change.
//
// kSkinMarker in lParam or in the result marks the engine's own use of the CN_ range.
#pragma once
#include <windows.h>

constexpr LPARAM kSkinMarker = 0x41A2;

// To a class-library form: re-apply the skin (UpdateSkin).  wParam 0, lParam 0; no result.
constexpr UINT WM_SKINCHANGED = 0x3401;
// To a skinned window: paint the frame on its own DC.  wParam 0, lParam 0; no result.
constexpr UINT WM_SKINNCPAINT = 0x3502;
// Posted by the manager to a window it has just attached a form skin to: skin its
// controls and fit it.  wParam 0, lParam 1000; no result.
constexpr UINT WM_SKINAPPLY = 0x3503;
// To a control skin: wParam > 0 resumes, <= 0 suspends skinning.  lParam 0; no result.
constexpr UINT WM_SKINENABLE = 0x3506;
// Posted to the skinned window by a caption button whose action the engine does not know;
// for the host.  wParam the action, lParam 0; no result.
constexpr UINT WM_SKINBUTTONCLICK = 0x3514;
// Sent to the skinned window for a caption button of visibility 1000..2000; the host
// answers.  wParam the visibility, lParam the action; result > 0: the button is shown.
constexpr UINT WM_SKINBUTTONVISIBLE = 0x3515;
// Posted to the recorded MDI client: redraw the MDI parent's frame.  wParam the sender's
// window, lParam 0; no result.
constexpr UINT WM_SKINREDRAWFRAME = 0x3516;
// Posted by a scroll-bar skin to its form skin's window when its host was re-created.
// wParam the skinned window, lParam 0; no result.
constexpr UINT WM_SKINRECREATESCROLL = 0x3517;
// To a skinned window: open the menu-bar item under a screen point.  wParam unused,
// lParam the point (x low word, y high word); result 0.
constexpr UINT WM_SKINMENUBARCLICK = 0x3518;
// To any window: is it skinned?  wParam 0, lParam 0; a skinned window answers 1.
constexpr UINT WM_SKINQUERY = 0x3523;
// To an edit skin: paint the client into the DC.  wParam the DC, lParam kSkinMarker;
// result kSkinMarker.
constexpr UINT CN_SKINPAINTCLIENT = 0xBC4A;
// To a skinned form or scroll-bar skin: paint the frame into the DC.  wParam the DC,
// lParam kSkinMarker; result kSkinMarker when lParam is the marker.
constexpr UINT CN_SKINPAINTFRAME = 0xBC4B;
// To a skinned form: is the engine there?  wParam 0, lParam kSkinMarker; result
// kSkinMarker when lParam is the marker, else 1.
constexpr UINT CN_SKINPING = 0xBC4D;
// Sent by a form skin to its own window after each application of the skin; for the host.
// wParam 0, lParam kSkinMarker; no result.
constexpr UINT CN_SKINNOTIFY = 0xBC4E;

