// Controls: TControl (position, alignment, visibility, colour, font, hint, context menu
// and the replaceable message method WindowProc) and TWinControl (a control with a
// window, made on demand), TCustomControl (a windowed control that paints itself on a
// canvas).
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

// The class-library control of a window, or nullptr.
class TControl* FindControl(HWND wnd);

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
    virtual void Click() { if (OnClick) OnClick(this); }
    virtual void DblClick() { if (OnDblClick) OnDblClick(this); }

protected:
    friend class TWinControl;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // Applies a new position from the window itself (no move back to the window).
    void UpdateBoundsFields(int left, int top, int width, int height);
    virtual void RequestAlign();
    virtual void Resize() { if (OnResize) OnResize(this); }
    void FontChanged();
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
    void onContextMenu(TMessage& m);
    void reflect(TMessage& m);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;
    TBrush brush_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    int alignLevel_ = 0;
    bool pendingAlign_ = false;

private:
    friend class TControl;
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
