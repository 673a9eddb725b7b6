// The skins' subclassing: the table of installed procedures by window and kind, the
// procedures themselves (one per kind and character set) and their boundary.
//
// The table, not a window property, leads from a window to its procedure's link: a
// property read is a round trip to Wine's server for every message (for a popup menu and
// each item it draws, a large part of its opening).  A link leaves the table when its
// procedure is put back or when WM_NCDESTROY has passed it.
#include "SubclassedWindow.h"

#include <array>
#include <mutex>
#include <unordered_map>

#include "WndProcBoundary.h"

struct SubclassedWindow::Link {
    SubclassedWindow* client;  // nullptr: the procedure only passes messages on
    WNDPROC previous;
    bool unicode;
};

namespace {

using Link = SubclassedWindow::Link;

std::mutex tableLock;

std::unordered_map<HWND, std::shared_ptr<Link>>& tableOf(SubclassKind kind) {
    static std::array<std::unordered_map<HWND, std::shared_ptr<Link>>, kSubclassKinds> tables;
    return tables[static_cast<size_t>(kind)];
}

std::shared_ptr<Link> findLink(HWND window, SubclassKind kind) {
    std::lock_guard<std::mutex> hold(tableLock);
    const auto& table = tableOf(kind);
    const auto found = table.find(window);
    return found == table.end() ? nullptr : found->second;
}

// Takes the window's link of the kind out of the table (only `only` when given).
std::shared_ptr<Link> takeLink(HWND window, SubclassKind kind, const Link* only = nullptr) {
    std::lock_guard<std::mutex> hold(tableLock);
    auto& table = tableOf(kind);
    const auto found = table.find(window);
    if (found == table.end() || (only && found->second.get() != only)) return nullptr;
    std::shared_ptr<Link> link = std::move(found->second);
    table.erase(found);
    return link;
}

WNDPROC procedureSlot(HWND window, bool unicode) {
    return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// Sets the window's procedure; false when the system refused.
bool setProcedureSlot(HWND window, bool unicode, WNDPROC procedure) {
    SetLastError(0);
    const LONG_PTR value = reinterpret_cast<LONG_PTR>(procedure);
    const LONG_PTR replaced = unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                      : SetWindowLongPtrA(window, GWLP_WNDPROC, value);
    return replaced != 0 || GetLastError() == 0;
}

// A message in a handler's hands on this thread.  CallPrevious marks it passed on, so that
// a handler that throws afterwards does not have it handed on a second time (a WM_CHAR
// typed twice); the owner's end clears `client`, so the message's end knows whether the
// object still exists.
struct Dispatch {
    SubclassedWindow* client;
    UINT msg;
    bool passedOn;
    LRESULT passedResult;
    Dispatch* outer;
};

thread_local Dispatch* innermost = nullptr;

}  // namespace

LRESULT CallProcedure(bool unicode, WNDPROC previous, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (previous) return unicode ? CallWindowProcW(previous, window, msg, wParam, lParam)
                                 : CallWindowProcA(previous, window, msg, wParam, lParam);
    return unicode ? DefWindowProcW(window, msg, wParam, lParam) : DefWindowProcA(window, msg, wParam, lParam);
}

// The procedures a window gets: one per kind and character set, so that a window's chain
// can hold one of every kind and each finds its own link.
struct SubclassRouting {
    static LRESULT route(SubclassKind kind, bool unicode, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        // Held for the message: a handler that restores the procedure, or frees its
        // owner, still leaves the previous procedure to hand the message on to.
        const std::shared_ptr<Link> link = findLink(window, kind);
        if (!link) return CallProcedure(unicode, nullptr, window, msg, wParam, lParam);
        Dispatch frame{link->client, msg, false, 0, innermost};
        LRESULT result;
        if (frame.client) {
            // Copied: the handler may free its owner, and this object with it.
            const SubclassedWindow::Handler handler = frame.client->handler_;
            TMessage message{msg, wParam, lParam, 0};
            innermost = &frame;
            result = GuardedDispatch(
                window, msg,
                [&] {
                    handler(message);
                    return message.Result;
                },
                [&] {
                    if (frame.passedOn) return frame.passedResult;
                    return CallProcedure(link->unicode, link->previous, window, msg, wParam, lParam);
                });
            innermost = frame.outer;
        } else {
            result = CallProcedure(link->unicode, link->previous, window, msg, wParam, lParam);
        }
        if (msg == WM_NCDESTROY) {
            // Whatever the handler made of it, the window is gone now: its handle is never
            // touched again (it may be reused for another window).
            takeLink(window, kind, link.get());
            if (SubclassedWindow* client = link->client) client->windowGone();
            // One that put the procedure back on the way still learns the window is gone.
            else if (frame.client && frame.client->window_ == window && !frame.client->link_) frame.client->gone_ = true;
        }
        return result;
    }

    template <SubclassKind Kind, bool Unicode>
    static LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        return route(Kind, Unicode, window, msg, wParam, lParam);
    }

    template <SubclassKind Kind>
    static WNDPROC procedureOf(bool unicode) {
        return unicode ? &procedure<Kind, true> : &procedure<Kind, false>;
    }

    static WNDPROC procedureFor(SubclassKind kind, bool unicode) {
        switch (kind) {
        case SubclassKind::ControlSkin: return procedureOf<SubclassKind::ControlSkin>(unicode);
        case SubclassKind::FormSkin: return procedureOf<SubclassKind::FormSkin>(unicode);
        case SubclassKind::MDIClient: return procedureOf<SubclassKind::MDIClient>(unicode);
        case SubclassKind::PopupMenu: return procedureOf<SubclassKind::PopupMenu>(unicode);
        case SubclassKind::ComboEdit: return procedureOf<SubclassKind::ComboEdit>(unicode);
        }
        return nullptr;
    }
};

SubclassedWindow::SubclassedWindow(SubclassKind kind, void* owner, Handler handler, GoneHandler gone)
    : kind_(kind), owner_(owner), handler_(std::move(handler)), goneHandler_(std::move(gone)) {}

SubclassedWindow::~SubclassedWindow() {
    Restore();
    for (Dispatch* d = innermost; d; d = d->outer)
        if (d->client == this) d->client = nullptr;
}

bool SubclassedWindow::Install(HWND window) {
    if (link_ || !window || !IsWindow(window) || findLink(window, kind_)) return false;
    const bool unicode = IsWindowUnicode(window) != FALSE;
    const WNDPROC previous = procedureSlot(window, unicode);
    const WNDPROC ours = SubclassRouting::procedureFor(kind_, unicode);
    if (!previous || !ours) return false;
    auto link = std::make_shared<Link>(Link{this, previous, unicode});
    {
        // In the table before the procedure goes in: its first message finds its link.
        std::lock_guard<std::mutex> hold(tableLock);
        tableOf(kind_)[window] = link;
    }
    if (!setProcedureSlot(window, unicode, ours)) {
        takeLink(window, kind_, link.get());
        return false;
    }
    link_ = std::move(link);
    window_ = window;
    previous_ = previous;
    procedure_ = ours;
    unicode_ = unicode;
    gone_ = false;
    return true;
}

bool SubclassedWindow::Restore() {
    if (!link_) return false;
    const std::shared_ptr<Link> link = std::move(link_);
    link_ = nullptr;
    link->client = nullptr;
    if (!IsWindow(window_)) {
        takeLink(window_, kind_, link.get());
        return false;
    }
    // Someone subclassed the window after us: our procedure stays in their chain and,
    // finding no client any more, hands everything to the procedure we replaced.
    if (procedureSlot(window_, unicode_) != procedure_) return false;
    // Refused: ours stays in the slot, passing every message on to the one it replaced.
    if (!setProcedureSlot(window_, unicode_, previous_)) return false;
    takeLink(window_, kind_, link.get());
    return true;
}

LRESULT SubclassedWindow::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!window_ || gone_) return 0;
    Dispatch* passing = innermost;
    while (passing && passing->client != this) passing = passing->outer;
    const LRESULT result = CallProcedure(unicode_, previous_, window_, msg, wParam, lParam);
    if (passing && passing->msg == msg) {
        passing->passedOn = true;
        passing->passedResult = result;
    }
    return result;
}

void* SubclassedWindow::ownerOf(HWND window, SubclassKind kind) {
    if (!window) return nullptr;
    const std::shared_ptr<Link> link = findLink(window, kind);
    return link && link->client ? link->client->owner_ : nullptr;
}

void SubclassedWindow::windowGone() {
    if (link_) link_->client = nullptr;
    link_ = nullptr;
    gone_ = true;
    if (goneHandler_) {
        const GoneHandler gone = goneHandler_;  // copied: it may free its owner
        gone();
    }
}
