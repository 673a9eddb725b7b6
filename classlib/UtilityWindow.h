// Hidden windows the class library keeps for itself (the timers' window, the owner of
// tracked popup menus, the receiver of the find dialog's notices): window class
// registration, creation, and a window procedure that hands each message to a
// std::function.  What the messages mean stays with each caller, and so does the window's
// lifetime (DestroyWindow).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "Messages.h"

enum class TUtilityWindowKind {
    MessageOnly,     // never shown, cannot own other windows
    HiddenTopLevel,  // a hidden tool window: can own dialogs and popup menus, take the foreground
};

// Sets message.Result and returns true for a message it handles; false sends the message to
// the default window procedure.  An exception it lets out is reported through the
// application's callback error path and the message gets the boundary's safe answer
// (WndProcBoundary.h): most go on to the default window procedure.
using TUtilityMessageHandler = std::function<bool(TMessage& message)>;

// Registers className (once; a class already registered is used as it is) and makes a
// window of it.  what names the window in the error raised when either step fails
// ("Cannot register the <what> class", "Cannot create the <what>").  The handler lives as
// long as the window.
HWND CreateUtilityWindow(const char* className, const std::string& what, TUtilityWindowKind kind,
                         TUtilityMessageHandler handler);
