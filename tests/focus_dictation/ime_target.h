// What the typing target of parlet's tests shows, shared with the tests that read it.
#pragma once

constexpr char kImeTargetClass[] = "ImeTargetWindow";
constexpr wchar_t kImeTargetClassW[] = L"ImeTargetWindow";
constexpr int kImeTargetEditId = 100;    // the plain edit control typed into
constexpr int kImeTargetRecordId = 101;  // hidden static: the WM_IME_CHAR wParams in hex
