// What the harness's helper program shows, shared with the tests that drive it.
#pragma once

#include <windows.h>

constexpr char kHelperWindowClass[] = "GuiTestHelperWindow";
constexpr wchar_t kHelperWindowClassW[] = L"GuiTestHelperWindow";
constexpr char kHelperBoxCaption[] = "guitest helper";
// Narrow literals are GBK in the Windows build.
constexpr char kHelperQuestion[] = "是否保存对文档的修改？";
constexpr COLORREF kHelperClientColor = RGB(0x20, 0x80, 0xC0);
constexpr int kHelperFolderId = 100;

