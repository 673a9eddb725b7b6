// TWinSkinForm, the form skin: the object that skins one top-level window (a class-library
// form, a dialog, a message box, an MDI parent or child).  It replaces the window's
// procedure, sizes and paints the whole non-client area from the skin (borders, caption,
// title, caption buttons, the strip of the skinned menu bar), cuts the window region where
// the border images are transparent, runs the caption buttons and the skinned system menu,
// and keeps the registry of its control skins.
//
// Sources by concern (all WinSkinForm*.cpp):
//   WinSkinForm.cpp          attach, Init, WM_SKINAPPLY, UpdateSkin, Unskin, Detach, registry
//   WinSkinFormProc.cpp      the window procedures and non-client input
//   WinSkinFormFrame.cpp     borders, caption, title, caption buttons, region, fitting
//   WinSkinFormGeometry.*    pure geometry shared by size calculation, hit tests and painting
//   WinSkinFormSysMenu.cpp   caption-button actions, system commands, the skinned system menu
//   WinSkinFormMenus.cpp     menu-bar tracking and owner-drawn menus (the menu operations below)
//   WinSkinFormDispatch.cpp  the child-control dispatch: which control skin each child gets
//
// Fields keep the names the rest of the engine uses (FHandle, FSkinData, ...) and are
// public: the manager, the menu bar, the popup skins and the control skins read and write
// them.  Private messages: SkinMessages.h.
//
// Types: TWinSkinForm; free functions GetWindowClassName, ReadCaptionText,
//        SetMenuTreeOwnerDraw.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "Handles.h"
#include "Messages.h"
#include "NCObjects.h"
#include "SkinMessages.h"
#include "SkinPrimitives.h"
#include "SubclassedWindow.h"
#include "WinSkinFormGeometry.h"

#include "Bitmap.h"
class TCanvas;
class TCustomForm;
class TFont;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TSkinControl;
class TSkinData;
class TMenuBtn;
class TWinSkinMenu;
class TWinControl;
namespace skindispatch {
struct SkinSpec;
struct ControlChoice;
}  // namespace skindispatch

// Window kinds (FWindowKind).
enum TSkinWindowKind : uint8_t { wkNormal = 0, wkMDIParent = 1, wkMDIChild = 2 };
// Border kinds (FBorderKind).
enum TSkinBorderKind : uint8_t { bkSizeable = 0, bkFixed = 1, bkNoCaption = 2, bkDialog = 3 };
// Caption bits (FCaps).
enum : uint8_t { capMaximize = 1, capMinimize = 2, capSysMenu = 8, capCaptionToggle = 16 };
// Window states (FWindowState).
enum TSkinWindowState : uint8_t { wsSkinNormal = 0, wsSkinMaximized = 1, wsSkinMinimized = 2 };
// Life of a form skin (FSkinState).
enum TSkinFormState : int {
    ssNew = 0, ssActive = 1, ssReapplying = 3, ssDestroying = 4, ssFitting = 5, ssGone = 6
};

// GetClassNameA of the window (at most 99 characters).
std::string GetWindowClassName(HWND window);
// The window's text as wide text (GetWindowTextW on the NT family, WM_GETTEXT otherwise).
std::wstring ReadCaptionText(HWND window);
// Marks every item of a raw popup tree owner-drawn, depth first.
void SetMenuTreeOwnerDraw(HMENU menu);
// Takes the owner-drawn mark off every item of a popup tree again, depth first.
void ClearMenuTreeOwnerDraw(HMENU menu);

class TWinSkinForm : public TComponent {
    CLASS_INFO(TWinSkinForm)
public:
    // owner: the host form of a class-library form, nullptr for a raw window.
    explicit TWinSkinForm(TComponent* owner);
    ~TWinSkinForm() override;

    // ---- attachment and lifecycle ----
    void SkinForm(TSkinData* skinData, TCustomForm* form);
    void SkinWindowHandle(TSkinData* skinData);
    void Init(TSkinData* skinData);
    void LoadCaptionFont();
    void SaveFrameMetrics();
    void SetCaptionStyle(bool on);
    void FindMDIClient();
    void HookMDIClient();
    void UnhookMDIClient();
    void MDIClientDefault(TMessage& message);
    void CallDefault(TMessage& message);
    void ReadWindowState();
    void FrameChanged();
    static void RepaintWindow(HWND window);
    void NotifySkinned();
    static bool IsScrollableControl(TControl* control);
    void ApplySkin();  // WM_SKINAPPLY
    void UpdateSkin();
    void Unskin();
    void Detach();
    void UnskinControls();
    // True while the window procedure installed by Init is in place.
    bool Subclassed() const { return FWndProcThunk.Installed(); }

    // ---- control-skin registry ----
    // True when already registered (nothing added).
    bool AddSkinControl(TSkinControl* skin);
    void RemoveSkinControl(TSkinControl* skin);
    void PurgeDeadControls();
    void ClearSkinControls();
    void RecreateScrollSkin(HWND window);
    int SkinControlCount() const { return static_cast<int>(FSkinControls.size()); }

    // ---- child-control dispatch (WinSkinFormDispatch.cpp) ----
    // Class-library forms: every control the form owns or holds gets its skin.
    void SkinAllControls(TCustomForm* form);
    void SkinComponents(TComponent* owner);
    void SkinChildControls(TWinControl* parent);
    // form: the component whose controls are walked (for OnSkinControl); may be nullptr.
    void SkinControl(TControl* control, TComponent* form);
    // True when the class is listed in Skin3rd (whether or not a skin went on).
    bool SkinBySkin3rd(const std::string& className, TControl* control);
    void SkinFramedEdit(TControl* control);
    bool IsControlSkinned(TControl* control);
    bool IsWindowSkinned(TWinControl* control);
    void PropagateDisableTag(TControl* control);
    // Raw windows.
    void SkinChildWindows(HWND window);
    void SkinWindow(HWND child);
    TSkinControl* FindSkinControlByHandle(HWND window);

    // ---- window procedures and non-client input ----
    void WndProc(TMessage& message);
    void FormWindowProc(TMessage& message);
    void MDIClientWndProc(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMCtlColorStatic(TMessage& message);
    void WMSize(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMQueryOpen(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMWindowPosChanging(TMessage& message);
    void WMNCActivate(TMessage& message);
    void WMNCCalcSize(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMNCPaint(TMessage& message);
    void WMNCMouseMove(TMessage& message);
    void WMNCLButtonDown(TMessage& message);
    void WMNCLButtonUp(TMessage& message);
    void WMNCLButtonDblClk(TMessage& message);
    void WMNCRButtonDown(TMessage& message);
    POINT ScreenToFrame(int x, int y);
    TWinSysButton* ButtonAt(POINT framePoint);
    void HoverTimer();
    // Starts or stops the hover timer: a system timer of the window itself, whose
    // callback (not the window procedure) receives it.
    void SetHoverTimer(bool on);
    bool IsMDIChildMaximized();

    // ---- frame painting and region ----
    void LoadBorders();
    void FitWindowToSkin(bool refit);
    void PaintFrame(HDC dc);
    void PaintBorderPart(int index, const RECT& rect, HDC dc);
    void PaintCaption(HDC dc);
    void PaintTitle(HDC dc, const RECT& captionRect);
    void LayoutButtons();
    void PaintButtons(HDC dc);
    bool IsButtonVisible(int index);
    void PaintSysButton(TWinSysButton& button, int cell);
    void UpdateRegion();
    void ClearRegion();
    void SetSysMenuStyle(bool remove);
    void LoadSmallIcon(TBitmap& bitmap);
    void DrawSmallIcon(HDC dc, const RECT& rect);
    void FreeSysButtons();

    // ---- caption-button actions, system commands, system menu ----
    void ButtonClick(int x, int y);
    void ToggleMaximize();
    void Restore();
    void ToggleMinimize();
    void MDIChildCommand(UINT command);
    void WMCommand(TMessage& message);
    void WMSysCommand(TMessage& message);
    void ShowSysMenu(POINT screenPoint);
    void BuildSysMenu();
    void BuildFixedSysMenu();
    void AddSysMenuItem(const std::string& caption, int tag);
    bool CanClose();
    void SysMenuClick(TObject* item);
    void FixedSysMenuClick(TObject* item);

    // ---- menu bar and owner-drawn menus (WinSkinFormMenus.cpp) ----
    bool OpenMenuButton(TMenuBtn* item);
    // After Esc closed the drop-down of the bar item at index: the item stays highlighted and
    // the keyboard stays with the bar until Esc, Alt, F10, a click or the loss of the
    // activation (the messages that are not keys are handled meanwhile).  Arrows move along
    // the bar; Down, Up, Enter or an item's letter answer the item to open.  -1: the bar
    // was left.
    int KeepMenuBarSelected(int index);
    void PostMenuBarClick(TMenuBtn* item);
    void MenuBarClickAt(TMessage& message);
    TMenuBtn* FindAccelButton(wchar_t ch);
    void DialogCharHook(TMessage& message);
    void EndMenuTracking();
    // WM_MENUCHAR of a popup whose items are owner-drawn: the item with that accelerator.
    void WMMenuChar(TMessage& message);
    void SetPopupMenusOwnerDraw(TComponent* component, bool on);
    void SetMainMenusOwnerDraw(TComponent* component, bool on);
    // Gives one popup item the skin's draw and measure handlers (the system popup's items,
    // which no owner-draw switch reaches: that popup has no owner).
    void SetSkinItemHandlers(TMenuItem& item);
    // Item events (the class library's TMenuMeasureItemEvent / TMenuDrawItemEvent shape:
    // Sender is the TMenuItem).
    void MeasureMainMenuItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
    void MeasurePopupItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
    void DrawMenuItem(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected);
    void DrawMenuItemFlat(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect);
    void DrawRawMenuItem(HMENU menu, TMenuItem* item, bool selected, const RECT& rect, TCanvas* canvas);
    void DrawMenuSeparator(TCanvas* canvas, const RECT& rect);
    void PaintMenuItemContent(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect);
    void WMMeasureItem(TMessage& message);
    void MeasureRawMenuItem(TMessage& message);
    void WMDrawItem(TMessage& message);
    void DrawMenuBarItem(TMessage& message);
    void DrawRawMenuItemNoForm(TMessage& message);
    std::unique_ptr<TMenuItem> MakeTempMenuItem(HMENU menu, UINT itemId);

    // Frees the menu bar (and clears FHotObject when one of its items was hot).
    void FreeMenuBar();
    // Makes the skinned menu bar from the window's menu (FMenuHandle) and reserves its
    // strip; nothing for an MDI child or a window without a menu or a full caption.
    void CreateMenuBar();
    // CM_MENUCHANGED after the window's own handling: the bar follows the changed menu and
    // the system menu bar never comes back.
    void MenuBarChanged();
    // Repaints the frame's menu strip (the bar was rebuilt).
    void RepaintMenuBar();
    // The menu Unskin gives back to the window: the form's main menu, else the one the
    // bar showed, else the window's menu before the skin came.
    HMENU MenuToGiveBack() const;

    // ---- fields ----
    TWndMethod FOldWindowProc;           // the host's WindowProc before FormWindowProc; empty when not replaced
    // Our procedures in front of the window's (installed by Init, not before, and taken
    // out by Unskin and Detach) and the MDI client's (HookMDIClient, UnhookMDIClient); each
    // keeps the procedure it replaced (Previous), to which CallDefault and MDIClientDefault
    // hand messages.
    SubclassedWindow FWndProcThunk{SubclassKind::FormSkin, this, [this](TMessage& m) { WndProc(m); }};
    SubclassedWindow FMDIClientThunk{SubclassKind::MDIClient, this, [this](TMessage& m) { MDIClientWndProc(m); }};
    std::unique_ptr<TFont> FCaptionFont;
    bool FTimer = false;                 // the 250 ms hover timer runs (SetHoverTimer)
    std::string FClassName;
    bool FSavedMenuUpdate = true;
    bool FFrameSkinned = false;
    RECT FClientRect{};
    DWORD FLastSysMenuTime = 0;
    DWORD FDblClickTime = 0;
    int FCaptionTextWidth = 0;
    HWND FOwnerWnd = nullptr;
    HICON FIcon = nullptr;               // borrowed from the window (WM_GETICON)
    int FIconSize = 0;
    std::wstring FCaptionText;
    int FBorderLeft = 0, FBorderTop = 0, FBorderRight = 0, FBorderBottom = 0;
    RECT FWindowRect{};                  // screen, at the last frame paint
    int FOrigFrameWidth = 0, FOrigFrameHeight = 0;
    int FMenuHeight = 0;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    HMENU FTrackedMenu = nullptr;        // submenu of the menu-bar popup last tracked
    bool FDialogClass = false;
    bool FChild = false;
    std::unique_ptr<TPopupMenu> FSysPopup;
    HWND FMDIClient = nullptr;
    HMENU FMenuHandle = nullptr, FSysMenu = nullptr;
    TColor FSavedColor = clBtnFace;
    DWORD FStyle = 0;
    // The caption button a left press began on, until that press ends: only it may act
    // on the release, and only it shows the pressed look while the button is held.
    TNCObject* FPressedObject = nullptr;
    TNCObject* FHotObject = nullptr;
    bool FRegionSet = false;
    TControl* FControl = nullptr;        // the host form; nullptr for a raw window
    HWND FHandle = nullptr;
    std::unique_ptr<TCanvas> FControlCanvas;
    TSkinData* FSkinData = nullptr;
    TWinSkinMenu* FMenuBar = nullptr;    // owned (a component of this form skin)
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    std::unique_ptr<TBitmap> FIconBitmap, FCaptionBitmap;
    std::vector<TSkinControl*> FSkinControls;  // owns its entries
    int FWidth = 0, FHeight = 0;
    int FRegionWidth = 0, FRegionHeight = 0;
    bool FActive = true;
    uint8_t FWindowKind = wkNormal;
    uint8_t FBorderKind = bkFixed;
    uint8_t FCaps = 0;
    uint8_t FWindowState = wsSkinNormal;
    int FSkinState = ssNew;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The dispatch's create-and-attach layer (WinSkinFormDispatch.cpp).
    bool attachSkin(TControl* control, const skindispatch::SkinSpec& spec);
    void applyChoice(TControl* control, const skindispatch::ControlChoice& choice);
    void restoreFormWindowProc();
    // CallDefault, then whether this object still exists (a nested message may free it).
    bool callDefaultAlive(TMessage& message);
    void onSetText(TMessage& message, const TWndMethod& previous);
    TNCObject* objectUnder(POINT framePoint);
    // WM_WINDOWPOSCHANGING of a fixed system dialog resizing itself: the size it asks for
    // is taken as measured under the system frame.
    void keepDialogClientSize(WINDOWPOS& pos);
    // A window maximised while it still had its caption (before the skin came) lies where
    // the system maximises a captioned window; it is moved to where the system maximises
    // it without the caption, as every later maximising puts it.
    void placeMaximized();
    skinframe::FrameMetrics frameMetrics() const;
    skinframe::ButtonFacts buttonFacts();
    // The definition whose image the button shows: its own, or on a minimised window the
    // minimise button shows the skin's restore glyph; nullptr when there is none to show.
    TDataSkinSysButton* glyphOf(const TWinSysButton& button) const;
    bool buttonImageSize(const TWinSysButton& button, int& cellWidth, int& cellHeight) const;
    std::unique_ptr<TBitmap> renderBorderPart(int index, int w, int h);
    // The border part (1 left, 2 right, 3 top, 4 bottom) at w x h in the window's active
    // or inactive cell, rendered once per size and cell; owned by renderedParts_, nullptr
    // when there is nothing to draw.
    TBitmap* cachedBorderPart(int index, int w, int h);
    // Drops the rendered parts (the skin's borders changed), or only their DCs.
    void forgetRenderedParts();
    void releaseRenderedPartDcs();
    UniqueRegion partRegion(int index, int w, int h, int dx, int dy);
    // leftPart_ and rightPart_ for the window's size at the last frame paint.
    void takeSideParts();
    // The caption strip (a minimised window: the whole window) composed into
    // FCaptionBitmap in its normal look: corners, caption part, title, caption buttons.
    // Returns the rows to copy to the window.
    int composeCaption(HDC dc);
    // The cell of a caption button in its normal look (the inactive cell when the window
    // is inactive and the strip has one).
    int normalButtonCell(const TWinSysButton& button) const;
    // A button shown in the menu bar (a maximised document's) in `cell`, over the bar.
    void paintBarButton(HDC dc, TWinSysButton& button, int cell);

    void newSysPopup();
    // The skinned system menu stands in for the system's own (the window has one, or the
    // fixed menu of old NT systems is built).
    bool showsSkinnedSysMenu() const;
    // The form's popup menus (and, with xcMenuItem, its main menus) drawn by the system
    // again, with the application's own item handlers.
    void menusOwnerDrawOff();
    // Switches a menu's owner drawing, remembering which menus the skin switched on.
    void switchOwnerDraw(TMenu* menu, bool on);
    std::vector<TMenu*> ownerDrawnMenus_;  // compared only; each is reached through its owner
    bool sysMenuOpen_ = false;  // the skinned system menu runs its loop now
    DWORD origStyle_ = 0;      // the style before the skin came (Unskin gives it back)
    HMENU origMenu_ = nullptr;  // and the window's menu
    std::shared_ptr<int> lifeToken_;  // expires when this object is freed
    // A window already on screen when the skin comes is not drawn from the moment Init
    // changes its frame until the first application has fitted it: it is then drawn once,
    // skinned, instead of unskinned first and again when the frame and controls change.
    void holdRedraw();
    void releaseRedraw();
    bool redrawHeld_ = false;
    // The left and right parts while a frame paint runs: the caption takes its corners
    // from them instead of reading the screen back.
    TBitmap* leftPart_ = nullptr;
    TBitmap* rightPart_ = nullptr;
    // Border parts as last rendered: at most one per part and cell (active, inactive), so
    // a repaint at the same size (activation, a new title, hover) only copies them.
    struct RenderedPart {
        int index = 0, cell = 0, width = 0, height = 0;
        std::unique_ptr<TBitmap> bitmap;
    };
    std::vector<RenderedPart> renderedParts_;
    // Caption-button cells as last drawn, one per button, cell and size (dropped with
    // the buttons).
    struct RenderedButton {
        int index = 0, cell = 0, width = 0, height = 0;
        const TDataSkinSysButton* glyph = nullptr;  // compared only
        TKeyedPicture keyed;
    };
    std::vector<RenderedButton> renderedButtons_;
    // The cell of the button at its bounds' size; nullptr when there is nothing to draw.
    TKeyedPicture* cachedButtonCell(const TWinSysButton& button, int cell);
    // The window's small icon as LoadSmallIcon found it: our own copy at the small-icon
    // size, or, without an icon, FIconBitmap keyed (made at its first drawing).
    UniqueIcon iconCopy_;
    TKeyedPicture iconPicture_;
};
