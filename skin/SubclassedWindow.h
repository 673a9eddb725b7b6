// SubclassedWindow: the one way the skin engine puts its own procedure in front of a
// window's.  It installs the procedure and restores the previous one, with the wide calls
// for a Unicode window and the ANSI ones otherwise (a message goes on in the form it came),
// hands every message to the skin's handler behind GuardedDispatch, stays in place as a
// pass-through when another procedure was installed after ours, and lets go of the window
// at WM_NCDESTROY.  The skins (control skins on raw windows, the form skin and its MDI
// client, the popup-menu skin, the combo box's edit) supply only their message handling.
//
// Types: SubclassKind, SubclassedWindow; free function CallProcedure.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "Messages.h"

// Whose procedure it is.  Each kind has a procedure of its own, so a window may carry one
// of every kind (a combo box's edit can carry a control skin and the combo box's link),
// and never two of one kind.
enum class SubclassKind : uint8_t { ControlSkin, FormSkin, MDIClient, PopupMenu, ComboEdit };
constexpr int kSubclassKinds = 5;

// The window's previous procedure with the message, or the default procedure when there
// is none, through the wide calls when `unicode` and the ANSI calls otherwise.
LRESULT CallProcedure(bool unicode, WNDPROC previous, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

class SubclassedWindow {
public:
    using Handler = std::function<void(TMessage&)>;
    using GoneHandler = std::function<void()>;

    // owner: what OwnerOf answers for the window while installed (the skin object).
    // handler: every message while installed; what it leaves to the window it hands on
    // with CallPrevious, which sets Result.  gone (may be empty): called once WM_NCDESTROY
    // has passed the handler, when this object still exists; the window is then let go.
    SubclassedWindow(SubclassKind kind, void* owner, Handler handler, GoneHandler gone = nullptr);
    // Restores (or leaves a pass-through): the window never calls into a freed object.
    ~SubclassedWindow();
    SubclassedWindow(const SubclassedWindow&) = delete;
    SubclassedWindow& operator=(const SubclassedWindow&) = delete;

    // Puts our procedure in front of the window's.  False, changing nothing, when this
    // object is installed already, the window does not exist, the window carries a
    // procedure of this kind already (also one left passing through), or the system
    // refuses.
    bool Install(HWND window);
    // From now on the handler gets no message.  True when the window has its previous
    // procedure back; false when nothing was installed, the window is gone, or a procedure
    // installed after ours holds ours, or the system refuses to put the previous one back:
    // ours then stays in place, passing every message on, until the window ends.
    bool Restore();

    bool Installed() const { return link_ != nullptr; }
    // The window's character set and its previous procedure as the last Install found
    // them; kept after Restore and after the window's end, for the message in flight.
    bool Unicode() const { return unicode_; }
    WNDPROC Previous() const { return previous_; }
    // Our procedure in the window's slot (while installed), nullptr otherwise.
    WNDPROC Procedure() const { return link_ ? procedure_ : nullptr; }

    // The previous procedure with the message (the default procedure when there is none;
    // 0 for a window that is gone or was never installed).
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;
    void CallPrevious(TMessage& message) const {
        message.Result = CallPrevious(message.Msg, message.WParam, message.LParam);
    }

    // The owner of the window's procedure of that kind, or nullptr (none, or one left
    // passing through).  T is the type that kind's owner has.
    template <class T>
    static T* OwnerOf(HWND window, SubclassKind kind) {
        return static_cast<T*>(ownerOf(window, kind));
    }

    struct Link;  // one installed procedure (SubclassedWindow.cpp)

private:
    static void* ownerOf(HWND window, SubclassKind kind);
    friend struct SubclassRouting;  // the procedures (SubclassedWindow.cpp)
    void windowGone();

    const SubclassKind kind_;
    void* const owner_;
    const Handler handler_;
    const GoneHandler goneHandler_;
    std::shared_ptr<Link> link_;  // while installed
    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
    WNDPROC procedure_ = nullptr;
    bool unicode_ = false;
    bool gone_ = false;
};
