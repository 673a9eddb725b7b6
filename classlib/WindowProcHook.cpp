#include "WindowProcHook.h"

// Shared between the hook and the WindowProc it installed, so that a link left in a chain
// outlives the hook object without pointing at it.
struct TWindowProcHook::Link {
    TWndMethod previous;
    Handler handler;  // empty once restored: the link only passes messages on
};

namespace {

// The installed WindowProc; a named type so that Restore can recognise its own link.
struct LinkThunk {
    std::shared_ptr<TWindowProcHook::Link> link;
    void operator()(TMessage& m) const {
        // Copies: the handler may restore its hook (or more) while it runs.
        const std::shared_ptr<TWindowProcHook::Link> keep = link;
        if (keep->handler) {
            const TWindowProcHook::Handler handler = keep->handler;
            handler(m, keep->previous);
        } else if (keep->previous) {
            keep->previous(m);
        }
    }
};

}  // namespace

TWindowProcHook::TWindowProcHook(TControl& control, Handler handler) : control_(&control) {
    link_ = std::make_shared<Link>();
    link_->previous = control.WindowProc;
    link_->handler = std::move(handler);
    control.WindowProc = LinkThunk{link_};
}

void TWindowProcHook::Restore() {
    if (!link_) return;
    const LinkThunk* top = control_->WindowProc.target<LinkThunk>();
    if (top && top->link == link_) {
        // On top: WindowProc becomes what it was below this hook, without the links that
        // hooks restored out of order left there.
        TWndMethod previous = link_->previous;
        while (const LinkThunk* below = previous.target<LinkThunk>()) {
            if (below->link->handler) break;
            TWndMethod next = below->link->previous;
            previous = std::move(next);
        }
        control_->WindowProc = std::move(previous);
    }
    // Out of order, a later hook holds this link as its previous procedure: it stays in
    // the chain, passing messages on.
    link_->handler = nullptr;
    link_.reset();
}
