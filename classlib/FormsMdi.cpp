// MDI frames and children: the frame's client window (the system's "MDIClient" class),
// children made through WM_MDICREATE and freed through WM_MDIDESTROY, the default
// procedures of both (DefFrameProc, DefMDIChildProc), and the frame's view of its
// children.  Maximising, the child's buttons in the frame's menu bar, the window menu
// and WM_MDIGETACTIVE are the system's own.
#include "Forms.h"

#include <algorithm>
#include <string>

namespace {
// Command identifiers the client gives its children; kept above every menu item's.
constexpr UINT kFirstMdiChildId = 0xFF00;

bool hasMdiChildStyle(HWND wnd) { return (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0; }

// The frame new MDI children go into: the main form when it is one, else the first
// frame with a client window.
TCustomForm* findMdiFrame() {
    if (Application)
        if (TCustomForm* main = Application->MainForm(); main && main->FormStyle() == fsMDIForm) return main;
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (TCustomForm* f = Screen->Forms(i); f->FormStyle() == fsMDIForm) return f;
    return nullptr;
}
}  // namespace

bool TCustomForm::isMdiChildWindow() const { return handle_ && hasMdiChildStyle(handle_); }

void TCustomForm::createMdiClient() {
    RECT r{};
    GetClientRect(handle_, &r);
    CLIENTCREATESTRUCT ccs{nullptr, kFirstMdiChildId};
    clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                                    0, 0, r.right, r.bottom, handle_, nullptr, GetModuleHandleA(nullptr), &ccs);
    if (!clientHandle_)
        throw Exception("Cannot create the MDI client window of '" + Name() + "' (error " + std::to_string(GetLastError()) + ")");
    Realign();  // the client takes what the aligned controls leave
}

void TCustomForm::CreateWindowHandle(const TCreateParams& p) {
    if (formStyle_ != fsMDIChild) {
        TCustomControl::CreateWindowHandle(p);
        return;
    }
    TCustomForm* frame = findMdiFrame();
    HWND client = frame ? (frame->Handle(), frame->clientHandle_) : nullptr;
    if (!client) throw Exception("Cannot create form '" + Name() + "': no MDI frame is open");
    MDICREATESTRUCTA mcs{};
    mcs.szClass = p.WinClassName.c_str();
    mcs.szTitle = p.Caption.c_str();
    mcs.hOwner = GetModuleHandleA(nullptr);
    const bool defaultPos = position_ == poDefault || position_ == poDefaultPosOnly;
    const bool defaultSize = position_ == poDefault || position_ == poDefaultSizeOnly;
    mcs.x = defaultPos ? CW_USEDEFAULT : p.X;
    mcs.y = defaultPos ? CW_USEDEFAULT : p.Y;
    mcs.cx = defaultSize ? CW_USEDEFAULT : p.Width;
    mcs.cy = defaultSize ? CW_USEDEFAULT : p.Height;
    // The client adds WS_CHILD and WS_EX_MDICHILD; a child is shown as it is made.
    mcs.style = (p.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_VISIBLE;
    if (windowState_ == wsMaximized) mcs.style |= WS_MAXIMIZE;
    if (windowState_ == wsMinimized) mcs.style |= WS_MINIMIZE;
    createBoundWindow([&] {
        return reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    });
    if (handle_) visible_ = true;
}

void TCustomForm::DestroyWnd() {
    if (handle_ && IsWindow(handle_) && isMdiChildWindow()) {
        // The client keeps its own list of children and the window menu: it destroys them.
        if (HWND client = GetParent(handle_)) SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
    }
    TCustomControl::DestroyWnd();  // whatever is left (a window the client did not take)
    clientHandle_ = nullptr;
}

void TCustomForm::DefaultHandler(TMessage& m) {
    if (handle_ && formStyle_ == fsMDIForm) {
        // Sizes the client, hands menu commands of the children to them, shows the
        // maximised child's caption in the frame's.
        m.Result = DefFrameProcA(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
        return;
    }
    if (handle_ && formStyle_ == fsMDIChild && isMdiChildWindow()) {
        m.Result = DefMDIChildProcA(handle_, m.Msg, m.WParam, m.LParam);
        return;
    }
    TCustomControl::DefaultHandler(m);
}

void TCustomForm::AlignControls(TControl* control, RECT& rect) {
    TCustomControl::AlignControls(control, rect);
    if (clientHandle_ && IsWindow(clientHandle_))
        SetWindowPos(clientHandle_, nullptr, rect.left, rect.top, std::max<int>(0, rect.right - rect.left),
                     std::max<int>(0, rect.bottom - rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<TCustomForm*> TCustomForm::mdiChildren() const {
    std::vector<TCustomForm*> list;
    if (!clientHandle_ || !Screen) return list;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->formStyle_ == fsMDIChild && f->handle_ && GetParent(f->handle_) == clientHandle_) list.push_back(f);
    }
    return list;
}

int TCustomForm::MDIChildCount() const { return static_cast<int>(mdiChildren().size()); }

TCustomForm* TCustomForm::MDIChildren(int i) const { return mdiChildren().at(static_cast<size_t>(i)); }

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (!clientHandle_) return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TCustomForm*>(FindControl(active));
}

void TCustomForm::Cascade() { if (clientHandle_) SendMessageA(clientHandle_, WM_MDICASCADE, 0, 0); }
void TCustomForm::Tile() { if (clientHandle_) SendMessageA(clientHandle_, WM_MDITILE, MDITILE_HORIZONTAL, 0); }
