#include "Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "Forms.h"
#include "Menus.h"
#include "Texts.h"
#include "WndProcBoundary.h"

const TEnumNames AlignNames{{{"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft},
                              {"alRight", alRight}, {"alClient", alClient}, {"alCustom", alCustom}}};

namespace {

// The control whose window is being made on this thread: its first messages arrive
// before CreateWindowEx returns.
thread_local TWinControl* creatingControl = nullptr;

// ---- hints: one tooltip window for the process ----
HWND hintWindow() {
    static HWND tip = nullptr;
    if (!tip || !IsWindow(tip)) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        if (tip) SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    return tip;
}

void updateHintTool(HWND wnd, const std::string& hint, bool show) {
    HWND tip = hintWindow();
    if (!tip || !wnd) return;
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(wnd) ? GetParent(wnd) : wnd;
    ti.uId = reinterpret_cast<UINT_PTR>(wnd);
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (show && !hint.empty()) {
        ti.lpszText = const_cast<char*>(hint.c_str());
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

LPCSTR cursorResource(int cursor) {
    switch (cursor) {
    case -2: return IDC_ARROW;
    case -3: return IDC_CROSS;
    case -4: return IDC_IBEAM;
    case -6: return IDC_SIZENESW;
    case -7: case -15: return IDC_SIZENS;
    case -8: return IDC_SIZENWSE;
    case -9: case -14: return IDC_SIZEWE;
    case -10: return IDC_UPARROW;
    case -11: return IDC_WAIT;
    case -18: return IDC_NO;
    case -19: return IDC_APPSTARTING;
    case -20: return IDC_HELP;
    case -21: return IDC_HAND;
    case -22: return IDC_SIZEALL;
    default: return nullptr;
    }
}

}  // namespace

void ActivateHints(bool on) {
    if (HWND tip = hintWindow()) SendMessageA(tip, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

TControl* FindControl(HWND wnd) {
    if (!wnd) return nullptr;
    return static_cast<TControl*>(GetPropA(wnd, MAKEINTATOM(GlobalControlAtom())));
}

// ---- TControl ----------------------------------------------------------------------

const TClassInfo& TControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TControl>("TControl", &TComponent::StaticClassInfo(), [](TClassBuilder<TControl>& b) {
        b.Int("Left", [](TControl& c) -> int64_t { return c.Left(); }, [](TControl& c, int64_t v) { c.SetLeft(static_cast<int>(v)); });
        b.Int("Top", [](TControl& c) -> int64_t { return c.Top(); }, [](TControl& c, int64_t v) { c.SetTop(static_cast<int>(v)); });
        b.Int("Width", [](TControl& c) -> int64_t { return c.Width(); }, [](TControl& c, int64_t v) { c.SetWidth(static_cast<int>(v)); });
        b.Int("Height", [](TControl& c) -> int64_t { return c.Height(); }, [](TControl& c, int64_t v) { c.SetHeight(static_cast<int>(v)); });
        b.Int("ClientWidth", [](TControl& c) -> int64_t { return c.ClientWidth(); }, [](TControl& c, int64_t v) { c.SetClientWidth(static_cast<int>(v)); });
        b.Int("ClientHeight", [](TControl& c) -> int64_t { return c.ClientHeight(); }, [](TControl& c, int64_t v) { c.SetClientHeight(static_cast<int>(v)); });
        b.Enum("Align", AlignNames, [](TControl& c) -> int64_t { return c.Align(); }, [](TControl& c, int64_t v) { c.SetAlign(static_cast<TAlign>(v)); });
        b.Bool("Visible", [](TControl& c) { return c.Visible(); }, [](TControl& c, bool v) { c.SetVisible(v); });
        b.Bool("Enabled", [](TControl& c) { return c.Enabled(); }, [](TControl& c, bool v) { c.SetEnabled(v); });
        b.Int("Color", [](TControl& c) -> int64_t { return c.Color(); }, [](TControl& c, int64_t v) { c.SetColor(static_cast<TColor>(v)); }, &ColorIdents);
        b.Bool("ParentColor", [](TControl& c) { return c.ParentColor(); }, [](TControl& c, bool v) { c.SetParentColor(v); });
        b.Object("Font", [](TControl& c) -> TObject* { return &c.Font(); });
        b.Bool("ParentFont", [](TControl& c) { return c.ParentFont(); }, [](TControl& c, bool v) { c.SetParentFont(v); });
        b.Str("Hint", [](TControl& c) { return c.Hint(); }, [](TControl& c, const std::string& v) { c.SetHint(v); });
        b.Bool("ShowHint", [](TControl& c) { return c.ShowHint(); }, [](TControl& c, bool v) { c.SetShowHint(v); });
        b.Bool("ParentShowHint", [](TControl& c) { return c.ParentShowHint(); }, [](TControl& c, bool v) { c.SetParentShowHint(v); });
        b.Reference<TPopupMenu>("PopupMenu", [](TControl& c) { return c.PopupMenu(); }, [](TControl& c, TPopupMenu* m) { c.SetPopupMenu(m); });
        b.Int("Cursor", [](TControl& c) -> int64_t { return c.Cursor(); }, [](TControl& c, int64_t v) { c.SetCursor(static_cast<int>(v)); }, &CursorIdents);
        b.Str("Caption", [](TControl& c) { return c.Text(); }, [](TControl& c, const std::string& v) { c.SetText(v); });
        b.Str("Text", [](TControl& c) { return c.Text(); }, [](TControl& c, const std::string& v) { c.SetText(v); });
        b.Event("OnClick", &TControl::OnClick);
        b.Event("OnDblClick", &TControl::OnDblClick);
        b.Event("OnResize", &TControl::OnResize);
        b.Event("OnMouseDown", &TControl::OnMouseDown);
        b.Event("OnMouseUp", &TControl::OnMouseUp);
        b.Event("OnMouseMove", &TControl::OnMouseMove);
    });
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    BeginDestruction();
    if (parent_) parent_->RemoveControl(this);
}

void TControl::BeginDestruction() {
    SetDestroying();
    // Owned objects may touch their owner while they are freed (a control's skin puts the
    // WindowProc back): they go now, not later in ~TComponent when the control is half gone.
    DestroyComponents();
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw Exception("A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) {
        parent->InsertControl(this);
        if (parentFont_) ParentFontChanged();
        if (parentColor_) ParentColorChanged();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    bool changed = left != left_ || top != top_ || width != width_ || height != height_;
    bool sized = width != width_ || height != height_;
    left_ = left; top_ = top; width_ = width; height_ = height;
    if (changed && parent_ && align_ != alNone) RequestAlign();
    if (sized && !IsLoading()) Resize();
}

void TControl::UpdateBoundsFields(int left, int top, int width, int height) {
    bool sized = width != width_ || height != height_;
    left_ = left; top_ = top; width_ = width; height_ = height;
    if (sized && !IsLoading()) Resize();
}

RECT TControl::ClientRect() { return RECT{0, 0, width_, height_}; }

void TControl::SetClientWidth(int w) {
    RECT r = ClientRect();
    SetWidth(width_ - (r.right - r.left) + w);
}

void TControl::SetClientHeight(int h) {
    RECT r = ClientRect();
    SetHeight(height_ - (r.bottom - r.top) + h);
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    RequestAlign();
}

void TControl::RequestAlign() { if (parent_) parent_->Realign(); }

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
    if (align_ != alNone) RequestAlign();
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor c) {
    parentColor_ = false;
    if (c == color_) return;
    color_ = c;
    Perform(CM_COLORCHANGED, 0, 0);
    Invalidate();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (parentColor_ && parent_ && parent_->Color() != color_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED, 0, 0);
        Invalidate();
    }
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    hostFontChange_ = true;
    font_.Assign(parent_->Font());
    hostFontChange_ = false;
}

void TControl::FontChanged() {
    if (!hostFontChange_) parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetHint(const std::string& h) {
    hint_ = h;
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        updateHintTool(w->Handle(), hint_, showHint_);
}

void TControl::SetShowHint(bool v) {
    showHint_ = v;
    parentShowHint_ = false;
    SetHint(hint_);
}

void TControl::SetPopupMenu(TPopupMenu* m) {
    popupMenu_ = m;
    if (m) FreeNotification(m);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && popupMenu_ == component) popupMenu_ = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_ && align_ != alNone) RequestAlign();
}

std::string TControl::Text() { return text_; }
void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Perform(CM_TEXTCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    DefaultHandler(message);
    dispatchMouse(message);
}
void TControl::DefaultHandler(TMessage& message) {}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) { list.erase(it); list.push_back(this); }
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

POINT TControl::ClientToScreen(POINT p) {
    if (auto* w = dynamic_cast<TWinControl*>(this)) { ::ClientToScreen(w->Handle(), &p); return p; }
    if (parent_) { p.x += left_; p.y += top_; return parent_->ClientToScreen(p); }
    return p;
}

POINT TControl::ScreenToClient(POINT p) {
    if (auto* w = dynamic_cast<TWinControl*>(this)) { ::ScreenToClient(w->Handle(), &p); return p; }
    if (parent_) { p = parent_->ScreenToClient(p); p.x -= left_; p.y -= top_; }
    return p;
}

// ---- TWinControl -------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TWinControl>("TWinControl", &TControl::StaticClassInfo(), [](TClassBuilder<TWinControl>& b) {
        b.Int("TabOrder", [](TWinControl& c) -> int64_t { return c.TabOrder(); }, [](TWinControl& c, int64_t v) { c.SetTabOrder(static_cast<int>(v)); });
        b.Bool("TabStop", [](TWinControl& c) { return c.TabStop(); }, [](TWinControl& c, bool v) { c.SetTabStop(v); });
    });
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    brush_.SetColor(color_);
}

TWinControl::~TWinControl() {
    // Owned objects go first, while the window and the parent are still there; owned
    // child controls take their own windows with them.
    BeginDestruction();
    // Children that belong to other owners must not keep a dangling parent.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    if (handle_) DestroyHandle();
}

void TWinControl::SetParentWindow(HWND wnd) {
    if (parent_ || wnd == parentWindow_) return;
    if (handle_ && parentWindow_ && wnd) {
        // From one raw window to another: the window moves, nothing is made again.
        parentWindow_ = wnd;
        ::SetParent(handle_, wnd);
        return;
    }
    if (handle_) DestroyHandle();
    parentWindow_ = wnd;
    if (wnd) Handle();
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent && parentWindow_) {
        if (handle_) DestroyHandle();
        parentWindow_ = nullptr;
    }
    TControl::SetParent(parent);
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    if (handle_) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
        else c->Invalidate();
    }
    if (c->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    controls_.erase(it);
    c->parent_ = nullptr;
    if (hoverChild_ == c) hoverChild_ = nullptr;
    if (captureChild_ == c) {
        captureChild_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    if (!dynamic_cast<TWinControl*>(c) && handle_ && !IsDestroying()) {
        const RECT r = c->BoundsRect();  // the area it covered shows the parent again
        InvalidateRect(handle_, &r, TRUE);
    }
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_ && !IsDestroying()) w->DestroyHandle();
    if (c->Align() != alNone && !IsDestroying()) Realign();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    std::vector<TWinControl*> children;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) children.push_back(w);
    std::stable_sort(children.begin(), children.end(), [](TWinControl* a, TWinControl* b) {
        int ta = a->tabOrder_ < 0 ? INT_MAX : a->tabOrder_, tb = b->tabOrder_ < 0 ? INT_MAX : b->tabOrder_;
        return ta < tb;
    });
    for (TWinControl* w : children) {
        list.push_back(w);
        w->GetTabOrderList(list);
    }
}

void TWinControl::SetTabStop(bool v) {
    tabStop_ = v;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
        SetWindowLongPtrA(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (parent_ && !parent_->handle_) parent_->Handle();
        if (!handle_) CreateWnd();
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (visible_) p.Style |= WS_VISIBLE;
    if (!enabled_) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.X = left_; p.Y = top_; p.Width = width_; p.Height = height_;
    p.WndParent = parent_ ? parent_->Handle() : parentWindow_;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcA;
    p.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    p.WindowClass.hbrBackground = nullptr;
    p.WindowClass.hInstance = GetModuleHandleA(nullptr);
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* systemClassName) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, systemClassName, &wc) && !GetClassInfoA(GetModuleHandleA(nullptr), systemClassName, &wc))
        throw Exception(std::string("Window class ") + systemClassName + " is not available");
    p.WindowClass = wc;
    p.WindowClass.hInstance = GetModuleHandleA(nullptr);
}

namespace {
// The procedure each registered class had before the class library put its own in.
std::map<std::string, WNDPROC>& classDefaultProcs() {
    static std::map<std::string, WNDPROC> m;
    return m;
}
}  // namespace

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw Exception("Control '" + Name() + "' has no parent window");
    const std::string key = texts::UpperCase(p.WinClassName);
    auto& procs = classDefaultProcs();
    auto it = procs.find(key);
    if (it == procs.end()) {
        WNDCLASSA wc = p.WindowClass;
        WNDPROC original = wc.lpfnWndProc ? wc.lpfnWndProc : DefWindowProcA;
        wc.lpfnWndProc = &TWinControl::StdWndProc;
        wc.lpszClassName = p.WinClassName.c_str();
        wc.hInstance = GetModuleHandleA(nullptr);
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw Exception("Cannot register window class " + p.WinClassName);
        it = procs.emplace(key, original).first;
    }
    defWndProc_ = it->second;
    CreateWindowHandle(p);
    if (!handle_) throw Exception("Cannot create the window of '" + Name() + "' (" + ClassName() + ")");
    if (parent_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), 0);
    for (TControl* c : std::vector<TControl*>(controls_))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
    CreateHandleContents();
    if (showHint_ && !hint_.empty()) updateHintTool(handle_, hint_, true);
    Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    createBoundWindow([&p] {
        return CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                               p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr), p.Param);
    });
}

void TWinControl::createBoundWindow(const std::function<HWND()>& make) {
    TWinControl* saved = creatingControl;
    creatingControl = this;
    HWND wnd = nullptr;
    try {
        wnd = make();
    } catch (...) {
        creatingControl = saved;
        throw;
    }
    creatingControl = saved;
    if (!wnd) {
        // Creation failed after the first messages bound the window (a handler refused
        // WM_NCCREATE or WM_CREATE): keep no handle of a window that is gone.
        if (handle_) unbindWindow();
        return;
    }
    if (!handle_) bindWindow(wnd);
}

void TWinControl::bindWindow(HWND wnd) {
    handle_ = wnd;
    SetPropA(wnd, MAKEINTATOM(GlobalControlAtom()), static_cast<TControl*>(this));
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::unbindWindow() {
    if (!handle_) return;
    // Device contexts the children without a window hold on this window die with it.
    for (TControl* c : controls_) c->parentWindowGone();
    hoverChild_ = nullptr;
    RemovePropA(handle_, MAKEINTATOM(GlobalControlAtom()));
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
}

void TWinControl::DestroyWnd() {
    if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    SaveHandleContents();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_) w->DestroyHandle();
    DestroyWnd();
    unbindWindow();
}

bool TWinControl::beingFreed() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (c->IsDestroying()) return true;
    return false;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    Perform(CM_RECREATEWND, 0, 0);
    DestroyHandle();
    Handle();
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!control && creatingControl && !creatingControl->handle_) {
        control = creatingControl;
        control->bindWindow(wnd);
    }
    if (!control) return DefWindowProcA(wnd, msg, wParam, lParam);
    // Taken before the handler runs: the handler may free the control.
    const WNDPROC previous = control->defWndProc_ ? control->defWndProc_ : DefWindowProcA;
    TMessage m{msg, wParam, lParam, 0};
    const LRESULT result = GuardedDispatch(
        wnd, msg, [&] { control->WindowProc(m); return m.Result; },
        [&] { return CallWindowProcA(previous, wnd, msg, wParam, lParam); });
    if (msg == WM_NCDESTROY) {
        // Whatever the handler did: a control freed meanwhile has unbound itself already,
        // so the window's slot names a live control or nothing.
        auto* bound = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (bound && bound->handle_ == wnd) bound->unbindWindow();
    }
    return result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_) m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::reflect(TMessage& m) {
    HWND child = nullptr;
    switch (m.Msg) {
    case WM_COMMAND: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(m.LParam);
        break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom; break;
    case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem; break;
    case WM_MEASUREITEM: child = GetDlgItem(handle_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlID)); break;
    default: break;
    }
    TControl* target = child && child != handle_ ? FindControl(child) : nullptr;
    if (target) {
        m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    } else {
        DefaultHandler(m);
    }
}

LRESULT TWinControl::OnCtlColor(HDC dc) {
    SetTextColor(dc, ColorToRGB(font_.Color()));
    SetBkColor(dc, ColorToRGB(color_));
    return reinterpret_cast<LRESULT>(brush_.Handle());
}

void TWinControl::onWindowPosChanged(const WINDOWPOS&) {
    if (!handle_ || IsIconic(handle_)) return;
    RECT r;
    GetWindowRect(handle_, &r);
    HWND parentWnd = GetParent(handle_);
    if (parentWnd && (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
    UpdateBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::onContextMenu(TMessage& m) {
    if (!popupMenu_) { DefaultHandler(m); return; }
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (p.x == -1 && p.y == -1) {  // from the keyboard: at the control's top-left
        p = POINT{0, 0};
        ::ClientToScreen(handle_, &p);
    }
    PopupMenuAt(popupMenu_, p.x, p.y, this);
    m.Result = 1;
}

void TWinControl::WndProc(TMessage& m) {
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL && m.Msg != WM_MOUSEHWHEEL) {
        if (m.Msg == WM_MOUSEMOVE) {
            const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            updateGraphicHover(&p);
        }
        if (routeMouseToGraphic(m)) {
            if (m.Msg == WM_MOUSEMOVE) trackPointerEnter();
            // The parent's plain default still runs (a right-button release still asks
            // for the context menu); its own class procedure does not see the press.
            if (m.Result == 0 && handle_) DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        onWindowPosChanged(*reinterpret_cast<WINDOWPOS*>(m.LParam));
        return;
    case WM_SIZE:
        // The client area changed (also when only the frame or the menu bar did): lay
        // the children out again.
        DefaultHandler(m);
        Realign();
        return;
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
        reflect(m);
        return;
    case CN_CTLCOLOREDIT: case CN_CTLCOLORLISTBOX: case CN_CTLCOLORBTN: case CN_CTLCOLORSTATIC:
        m.Result = OnCtlColor(reinterpret_cast<HDC>(m.WParam));
        return;
    case WM_CONTEXTMENU:
        onContextMenu(m);
        return;
    case WM_SETCURSOR:
        if (cursor_ != 0 && LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
            if (LPCSTR res = cursorResource(cursor_)) {
                ::SetCursor(LoadCursorA(nullptr, res));
                m.Result = 1;
                return;
            }
        }
        DefaultHandler(m);
        return;
    case WM_MOUSEMOVE:
        DefaultHandler(m);
        trackPointerEnter();
        dispatchMouse(m);
        return;
    case WM_MOUSELEAVE:
        DefaultHandler(m);
        updateGraphicHover(nullptr);
        Perform(CM_MOUSELEAVE, 0, 0);
        return;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != handle_ && captureChild_) {
            // Capture went elsewhere while a child without a window held it: the press ends.
            TControl* lost = captureChild_;
            captureChild_ = nullptr;
            lost->Perform(WM_CANCELMODE, 0, 0);
        }
        break;
    case WM_PAINT:
        if (hasGraphicChildren()) {
            paintWithGraphicChildren(m);
            return;
        }
        break;
    case CM_FONTCHANGED:
        if (handle_) {
            SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
            InvalidateRect(handle_, nullptr, TRUE);
        }
        for (TControl* c : controls_) c->ParentFontChanged();
        return;
    case CM_COLORCHANGED:
        brush_.SetColor(color_);
        for (TControl* c : controls_) c->ParentColorChanged();
        return;
    case CM_ENABLEDCHANGED:
        if (handle_) EnableWindow(handle_, enabled_);
        return;
    case CM_VISIBLECHANGED:
        if (handle_) ShowWindow(handle_, m.WParam ? SW_SHOWNA : SW_HIDE);
        return;
    case CM_TEXTCHANGED:
        return;
    case CM_DIALOGKEY: case CM_DIALOGCHAR: case CM_FOCUSCHANGED:
        // Every control below hears of them; the first that answers non-zero takes it.
        broadcast(m);
        return;
    case CM_ENTER: case CM_EXIT:
        return;  // notices for the control itself; nothing for the window
    case WM_SETFOCUS:
        DefaultHandler(m);
        focusReceived();
        return;
    default:
        break;
    }
    TControl::WndProc(m);
}

void TWinControl::broadcast(TMessage& m) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
        if (m.Result != 0) return;
    }
}

void TWinControl::focusReceived() {
    TControl* top = this;
    while (top->Parent()) top = top->Parent();
    if (auto* form = dynamic_cast<TCustomForm*>(top); form && form != this) form->FocusControl(this);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    // The fields change before the window does, so the window's own size notice sees no
    // change: the children are laid out again here.
    const bool sized = std::max(width, 0) != width_ || std::max(height, 0) != height_;
    TControl::SetBounds(left, top, width, height);
    if (handle_) {
        RECT r;
        GetWindowRect(handle_, &r);
        HWND parentWnd = GetParent(handle_);
        if (parentWnd && (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
        if (r.left != left_ || r.top != top_ || r.right - r.left != width_ || r.bottom - r.top != height_)
            SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (sized) Realign();
}

RECT TWinControl::ClientRect() {
    RECT r{0, 0, width_, height_};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}


std::string TWinControl::Text() {
    if (!handle_) return text_;
    int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

void TWinControl::SetText(const std::string& text) {
    text_ = text;
    if (handle_) SetWindowTextA(handle_, text.c_str());
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::Invalidate() { if (handle_) InvalidateRect(handle_, nullptr, TRUE); }
void TWinControl::Update() { if (handle_) UpdateWindow(handle_); }

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }
bool TWinControl::CanFocus() {
    for (TWinControl* c = this; c; c = c->parent_)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}
void TWinControl::SetFocus() { if (Handle()) ::SetFocus(handle_); }

void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
    brush_.SetColor(color_);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

void TWinControl::Realign() {
    if (alignLevel_ > 0 || IsLoading()) { pendingAlign_ = true; return; }
    pendingAlign_ = false;
    ++alignLevel_;
    RECT r = ClientRect();
    AlignControls(nullptr, r);
    --alignLevel_;
    pendingAlign_ = false;  // requests made while aligning came from our own moves
}

void TWinControl::AlignControls(TControl*, RECT& rect) {
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->Top() < y->Top();
            case alBottom: return x->Top() + x->Height() > y->Top() + y->Height();
            case alLeft: return x->Left() < y->Left();
            case alRight: return x->Left() + x->Width() > y->Left() + y->Width();
            default: return false;
            }
        });
        for (TControl* c : list) {
            const int w = std::max<int>(0, rect.right - rect.left), h = std::max<int>(0, rect.bottom - rect.top);
            switch (a) {
            case alTop:
                c->SetBounds(rect.left, rect.top, w, c->Height());
                rect.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
                rect.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.left, rect.top, c->Width(), h);
                rect.left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
                rect.right -= c->Width();
                break;
            default:
                c->SetBounds(rect.left, rect.top, w, h);
                break;
            }
        }
    }
}

// ---- TCustomControl ----------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TCustomControl>("TCustomControl", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomControl>&) {});
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::paintWindow(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(font_);
    canvas_.Brush().SetColor(color_);
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}

void TCustomControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (m.WParam) {
            paintWindow(reinterpret_cast<HDC>(m.WParam));
            PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
        } else {
            PaintGuard pg(handle_);
            paintWindow(pg.get());
            PaintControls(pg.get(), nullptr);
        }
        m.Result = 0;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;  // Paint covers the whole client area
        return;
    default:
        TWinControl::WndProc(m);
    }
}
