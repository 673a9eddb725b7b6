// Controls: TControl (position, alignment, visibility, colour, font, hint, context menu,
// mouse input and the replaceable message method WindowProc) and TWinControl (a control
// with a window, made on demand), TCustomControl (a windowed control that paints itself
// on a canvas).  Controls without a window (TGraphicControl) live in GraphicControls.h;
// their parent paints them and hands them its mouse input.
//
// Message flow of a windowed control: the window procedure hands each message to the
// control's WindowProc (replaceable; by default WndProc), WndProc handles what the
// class library handles and passes the rest to DefaultHandler, which calls the window
// procedure the window had before (the system class's, for controls built on one).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "ControlAtom.h"
#include "Graphics.h"
#include "Messages.h"

class TWinControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
extern const TEnumNames AlignNames;

using TWndMethod = std::function<void(TMessage&)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = unsigned;  // bit mask of 1 << TShiftStateItem
// The shift state of a mouse message's key flags (MK_*); Alt from the keyboard state.
TShiftState KeysToShiftState(WORD keys);
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// The class-library control of a window, or nullptr.
class TControl* FindControl(HWND wnd);
// Turns the process's tooltip window on or off (the application's ShowHint).
void ActivateHints(bool on);

class TControl : public TComponent {
    CLASS_INFO(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    // Client area in client coordinates (origin 0, 0).
    virtual RECT ClientRect();
    int ClientWidth() { RECT r = ClientRect(); return r.right - r.left; }
    int ClientHeight() { RECT r = ClientRect(); return r.bottom - r.top; }
    void SetClientWidth(int w);
    void SetClientHeight(int h);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    TColor Color() const { return color_; }
    virtual void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont& Font() { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    // Whether the hint setting follows the parent's (stored forms turn it off where a
    // control sets its own).
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v) { parentShowHint_ = v; }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* m);
    int Cursor() const { return cursor_; }
    void SetCursor(int c) { cursor_ = c; }
    // The control's text (the caption of forms, buttons and panels).
    virtual std::string Text();
    virtual void SetText(const std::string& text);
    std::string Caption() { return Text(); }
    void SetCaption(const std::string& c) { SetText(c); }

    // Message handling.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    virtual void Invalidate() {}
    virtual void Update() {}
    void Repaint() { Invalidate(); Update(); }
    void BringToFront();
    // Screen / client coordinate conversion of this control.
    POINT ClientToScreen(POINT p);
    POINT ScreenToClient(POINT p);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    virtual void Click() { if (OnClick) OnClick(this); }
    virtual void DblClick() { if (OnDblClick) OnDblClick(this); }
    // Mouse input in client coordinates, after the window's own procedure saw it; each
    // fires its event.  Called from the mouse messages (a control without a window gets
    // them through its parent); others may call MouseDown directly to report a press
    // they consumed.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

protected:
    friend class TWinControl;
    // The first step of a control's destructor: marks the control as being freed and frees
    // the components it owns while the control is still whole.  A destructor that ends the
    // window itself (to keep its own parts alive for it) calls this first.  Safe to repeat.
    void BeginDestruction();
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // Applies a new position from the window itself (no move back to the window).
    void UpdateBoundsFields(int left, int top, int width, int height);
    virtual void RequestAlign();
    virtual void Resize() { if (OnResize) OnResize(this); }
    void FontChanged();
    // Turns a mouse message (client coordinates in lParam) into MouseDown, MouseUp,
    // MouseMove and DblClick; other messages are left alone.
    void dispatchMouse(const TMessage& m);
    // The parent's window is going: anything held on it (a device context) is let go.
    virtual void parentWindowGone() {}
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    bool hostFontChange_ = false;  // set while the font is copied from the parent

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    int cursor_ = 0;
    std::string text_;
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    std::string WinClassName;
};

class TWinControl : public TControl {
    CLASS_INFO(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();                      // made on demand, with the parent's first
    // A window that is not a class-library control to place this control on, when it has
    // no Parent: the window is made as a child of it now, or moved onto it.  The system
    // destroys the control's window with that window; the control itself stays.
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND wnd);
    // Placing the control on a class-library parent ends its life on a raw window.
    void SetParent(TWinControl* parent) override;
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    // Every windowed control below this one, in tab order, nested ones included.
    void GetTabOrderList(std::vector<TWinControl*>& list);
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);

    TBrush& Brush() { return brush_; }
    bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() override;
    std::string Text() override;
    void SetText(const std::string& text) override;
    void Invalidate() override;
    void Update() override;

    // The topmost visible control without a window at p (client coordinates), or nullptr;
    // disabled ones only when allowDisabled.
    TControl* ControlAtPos(POINT p, bool allowDisabled) const;
    // Paints the children without a window on dc (this control's client coordinates), in
    // z-order from first (nullptr: all), each clipped to its bounds.
    void PaintControls(HDC dc, TControl* first);

    // Lays out the aligned children: top, bottom, left, right, then client, each group in
    // stored order (by position, ties by order of insertion).
    void Realign();
    void DisableAlign() { ++alignLevel_; }
    void EnableAlign() { if (--alignLevel_ == 0 && pendingAlign_) Realign(); }

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    // The window procedure every class-library window class uses.
    static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    virtual void CreateParams(TCreateParams& params);
    // Builds the window class on a system class (superclassing): "LISTBOX", "EDIT"...
    void CreateSubClass(TCreateParams& params, const char* systemClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // Runs make() (which makes this control's window and returns it) so that the window's
    // first messages, sent before make() returns, already reach this control.
    void createBoundWindow(const std::function<HWND()>& make);
    virtual void DestroyWnd();
    // Runs after the window exists (fonts, colours, children, contents that were kept
    // while there was no window).
    virtual void CreateHandleContents() {}
    // Keeps what must survive the window while it is destroyed (list lines, text).
    virtual void SaveHandleContents() {}
    // True while the control, or a control it lies on, is being freed: nothing needs to
    // be kept from a window that goes for good.
    bool beingFreed() const;
    virtual void AlignControls(TControl* control, RECT& rect);
    void ParentColorChanged() override;
    void Loaded() override;
    // Colour messages reflected from the parent: text and background of the control.
    virtual LRESULT OnCtlColor(HDC dc);

    void onWindowPosChanged(const WINDOWPOS& wp);
    // Mouse messages meant for a child without a window (the one that holds the capture,
    // else the one under the pointer) go to it in its own coordinates; true when one took
    // the message.
    bool routeMouseToGraphic(TMessage& m);
    // Sends CM_MOUSEENTER / CM_MOUSELEAVE to the children without a window as the pointer
    // moves over them (p: client point; leaving the window passes nullptr).
    void updateGraphicHover(const POINT* p);
    void trackPointerEnter();
    bool hasGraphicChildren() const;
    // WM_PAINT of a control built on a system class that has children without a window:
    // its own painting, then theirs, in one paint cycle.
    void paintWithGraphicChildren(TMessage& m);
    void onContextMenu(TMessage& m);
    void reflect(TMessage& m);
    // Sends the message to each child control until one answers non-zero.
    void broadcast(TMessage& m);
    // The window got the focus: its form learns which control has it.
    void focusReceived();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;
    TBrush brush_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    int alignLevel_ = 0;
    bool pendingAlign_ = false;
    HWND parentWindow_ = nullptr;
    // Children without a window: the one holding the mouse capture (through this window)
    // and the one under the pointer.  Cleared when they leave this control.
    TControl* captureChild_ = nullptr;
    TControl* hoverChild_ = nullptr;

private:
    friend class TControl;
    friend class TGraphicControl;
    void bindWindow(HWND wnd);
    void unbindWindow();
};

// A windowed control that paints itself on its canvas (Paint).
class TCustomControl : public TWinControl {
    CLASS_INFO(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas& Canvas() { return canvas_; }
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint() {}
    void paintWindow(HDC dc);
    TCanvas canvas_;
};

// Registers every class of the class library with the form reader.
void RegisterControlClasses();
// Implemented with the menus: shows a popup menu at screen point (x, y).
void PopupMenuAt(TPopupMenu* menu, int x, int y, TControl* sender);
// Implemented with the application: reports an exception caught at a callback boundary
// (shown later, outside the callback).
void ReportCallbackException(const std::exception& e);
void ReportCallbackException();  // unknown exception
