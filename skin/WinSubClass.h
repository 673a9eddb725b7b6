// TSkinControl, the base of every control skin: one object on one child control of a
// skinned form, either a class-library control (the host, hooked through its WindowProc)
// or a raw child window known only by its handle (subclassed through SubclassedWindow).
// It lets most messages through to the window's own procedure and paints over the result
// from the skin; the subclasses (buttons, check boxes, bars, scroll-bar covers, combo
// boxes, edits, tabs, headers, fills, the media player) each live in their own
// WinSubClass*.cpp with a header of their own.
//
// Also here: the drawing helpers the control skins share, the property access by name
// that reaches foreign controls, and the factory the dispatch creates skins through.
//
// Types: TSkinControl, TSkinClass; free functions IsPopupWindow, CopyBitmap,
//        ReadWindowText, FillRectColor, Get*/SetPropByName, DrawCenteredText (in
//        SkinDrawHelpers.h), DrawArrowGlyph, CreateSkinControl.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "SkinMessages.h"
#include "SubclassedWindow.h"

class TBitmap;
class TCanvas;
class TGraphicControl;
class TSkinData;
class TDataSkinObject;
class TWinSkinForm;
class TWindowProcHook;

// MouseState bits.
enum : uint8_t { msHot = 1, msPressed = 2 };

// Life of a control skin (Lifecycle): made; attached to its control (a panel skin stays
// so after Unskin, which gives its host the colour back); its window gone (WM_NCDESTROY
// passed: the handle may already name another window, and the skin is never active again).
enum : int { lcCreated = 0, lcAttached = 1, lcDestroyed = 6 };

// A host whose Tag is this shows its parent's background through the skin (buttons, speed
// buttons, check boxes and radio buttons).
constexpr int kTransparentBackTag = 5555;

class TSkinControl : public TComponent {
    CLASS_INFO(TSkinControl)
public:
    // owner: the host control, or the form skin for a raw window; the owner frees it.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // ---- virtual operations, in the order the subclasses rely on ----
    virtual void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas);
    virtual void AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas);
    virtual void Unskin();
    // True lets the window's own procedure run (then AfterMessage); False consumes the
    // message with the Result left in it.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    virtual void PaintWindow(HDC dc);
    virtual void Paint(HDC dc, const RECT& rect) {}
    virtual void UpdateSkin();
    virtual bool Available() { return true; }
    // The scroll-bar cover's attach (the other skins do not take it: they answer false).
    virtual bool AttachScrolling(TControl* control, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
        return false;
    }
    // The speed button's attach (a control without a window); false for the others.
    virtual bool AttachGraphic(TWinSkinForm* formSkin, TSkinData* skinData, TCanvas* canvas) { return false; }

    // ---- for the subclasses and the form skin ----
    void SkinWndProc(TMessage& message);
    void CallDefault(TMessage& message);
    void Redraw();
    void SendMouseLeave();
    void SwitchParentBackground(bool on);
    TColor GetParentColor(TColor fallback) const;
    LONG_PTR WindowLong(HWND handle, int index) const;
    void FillSkinColor(HDC dc, const RECT& rect) const;
    void FillParentColor(HDC dc, const RECT& rect) const;
    void DrawCaptionFocus(HDC dc, const RECT& rect, UINT flags);
    void ForwardMouseDown(const TMessage& message);
    TColor SkinButtonFace() const;  // the skin's ButtonFace colour (clBtnFace without a skin)

    // ---- drawing helpers shared by the control skins ----
    void DrawSkinText(TCanvas& canvas, const RECT& rect, uint16_t flags, bool enabled, const std::wstring& text);
    void DrawImageText(TCanvas& canvas, const RECT& rect, int alignment, const std::wstring& text, int index,
                       HIMAGELIST imageList);
    void DrawSkinFace(HDC dc, const RECT& rect, int cells, int cell, TDataSkinObject* part);
    UINT BiDiFlags(UINT flags) const;
    void HandlePaint(TMessage& message);
    void HandleEraseBkgnd(TMessage& message);
    void DrawStripCellDC(HDC dc, const RECT& rect, int cells, int cell, TBitmap* bitmap);
    void DrawStripCell(TCanvas& canvas, const RECT& rect, int cells, int cell, TBitmap* bitmap);
    void DrawStripCellTransparent(HDC dc, const RECT& rect, int cells, int cell, TBitmap* bitmap);

    // ---- fields (public: the form skin, the dispatch and the painters read them) ----
    uint8_t MouseState = 0;
    TCanvas* Canvas = nullptr;        // the form skin's canvas; not owned
    bool Enabled = false;
    bool Focused = false;
    std::wstring Caption;
    TSkinData* SkinData = nullptr;    // not owned
    HWND Handle = nullptr;
    TControl* Host = nullptr;         // the class-library control; nullptr for a raw window
    RECT WindowRect{};                // screen coordinates, stored by the last paint
    TGraphicControl* GraphicHost = nullptr;
    bool SetColor = false;
    TColor SavedColor = clBtnFace;
    int Lifecycle = lcCreated;        // the skin's one life state (lc* above)
    TWinSkinForm* FormSkin = nullptr; // not owned
    int Mode = 0;
    bool ParentBackgroundWasTrue = false;

    // Attached to its control (also after its window went).
    bool Attached() const { return Lifecycle != lcCreated; }
    // Painting and reacting: attached, not switched off by WM_SKINENABLE, window alive.
    bool Active() const { return on_ && Lifecycle != lcDestroyed; }
    // WM_SKINENABLE's switch (a skin made active again only while its window lives).
    void SetActive(bool on) { on_ = on; }
    bool WindowGone() const { return Lifecycle == lcDestroyed; }
    // True while this skin's procedure stands in for a raw window's own.
    bool Subclassed() const { return thunk_.Installed(); }
    // The skin subclassing a raw window, or nullptr.
    static TSkinControl* OfWindow(HWND window);

protected:
    // Undoes the hook or the subclassing (only while the window lives and the current
    // procedure is ours; a link in the middle of a chain is left passing through).
    void Release();

private:
    // Hosted controls: the hook, and while a message runs through it, the WindowProc it
    // replaced (CallDefault hands the message there).
    std::unique_ptr<TWindowProcHook> hook_;
    const TWndMethod* previous_ = nullptr;
    // Raw windows: our procedure in front of the window's.
    SubclassedWindow thunk_{SubclassKind::ControlSkin, this, [this](TMessage& m) { SkinWndProc(m); },
                            [this] { Lifecycle = lcDestroyed; }};
    bool on_ = true;  // WM_SKINENABLE's switch
    std::shared_ptr<int> lifeToken_ = std::make_shared<int>(0);  // expires with this object
};

// ---- free functions ----
// WS_POPUP, or a window whose parent is the desktop window.
bool IsPopupWindow(HWND window);
void CopyBitmap(TBitmap& source, TBitmap& dest);
std::wstring ReadWindowText(HWND window);
void FillRectColor(HDC dc, const RECT& rect, COLORREF colour);
void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction);

// Published properties by name, neutral on nullptr or a missing property.
int GetIntPropByName(TObject* object, const std::string& name);                 // -1 when missing
std::string GetEnumPropByName(TObject* object, const std::string& name);        // "" when missing
std::wstring GetTextPropByName(TObject* object, const std::string& name);       // L"" when missing
TObject* GetObjectPropByName(TObject* object, const std::string& name, const TClassInfo& cls);
void SetPropByName(TObject* object, const std::string& name, const std::string& text);

// ---- the skins the dispatch creates ----
enum class TSkinClass {
    Button, BitButton, MenuButton, SpeedButton,  // push buttons
    CheckBox, RadioButton,                        // check boxes and radio buttons
    StatusBar, GroupBox, Box,                     // status bar, group box, panel
    TrackBar, UpDown, Progress,                   // track bar, up-down, progress bar
    Scrollbar,                                    // scroll-bar cover
    ComBox, Edit, DateTime,                       // combo box, edit, date-time picker
    Tab, Tab31,                                   // tab control, tab set
    MP,                                           // media player
    Header, ListView,                             // header, list view
    ObjImage, AdvPage, TabSheet, TabBtn, ScControl, Sizer, BoxH,  // fills and foreign controls
};

// A new skin of the class, owned by owner, not attached (nullptr only for a kind outside
// the list).  variant: the object-image kind (1 nine-cell check strip, 2 radio strip, 3 six-cell
// check strip), the scroll-bar cover's mode (1: no border), the advanced page control's
// mode, or for BitButton 1 = its graphic is the "PngImage" property; 0 otherwise.
TSkinControl* CreateSkinControl(TSkinClass kind, TComponent* owner, int variant = 0);
