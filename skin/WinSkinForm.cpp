// The form skin's attachment and lifecycle: creation, attaching to a class-library form or
// a raw window (Init), the first application (WM_SKINAPPLY), re-application after a skin
// change, Unskin (the window back exactly as it was), Detach at the window's end, the MDI
// client hook and the control-skin registry.  The procedures themselves are in
// WinSkinFormProc.cpp, painting in WinSkinFormFrame.cpp.
#include "WinSkinForm.h"
#include "WinSkinForm_impl.h"

#include <algorithm>

#include "Forms.h"
#include "Menus.h"
#include "WinSkinMenu.h"
#include "SkinManage.h"
#include "SkinPrimitives.h"
#include "TypInfo.h"
#include "WinSkinData.h"
#include "WinSubClass.h"

const TClassInfo& TWinSkinForm::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TWinSkinForm>("TWinSkinForm", &TComponent::StaticClassInfo(), [](TClassBuilder<TWinSkinForm>&) {});
    return info;
}

std::string GetWindowClassName(HWND window) {
    char buffer[100] = {};
    if (!window || GetClassNameA(window, buffer, static_cast<int>(sizeof buffer)) <= 0) return {};
    return buffer;
}

namespace {

// An icon control that holds no icon paints only its background.  Wine's message box
// keeps one, an icon's size, over the start of its text when the box shows no icon; any
// repaint of it alone wipes the first characters of the message.  It is given no size:
// the system sizes the control to its icon should one be set later.
void shrinkEmptyIconControls(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        if (lstrcmpiA(GetWindowClassName(child).c_str(), "Static") != 0 || (style & SS_TYPEMASK) != SS_ICON) continue;
        if (style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) continue;
        if (SendMessageA(child, STM_GETICON, 0, 0)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        if (IsRectEmpty(&r)) continue;
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        RedrawWindow(dialog, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

}  // namespace

TWinSkinForm::TWinSkinForm(TComponent* owner)
    : TComponent(owner),
      FControlCanvas(std::make_unique<TCanvas>()),
      FIconBitmap(std::make_unique<TBitmap>()),
      FCaptionBitmap(std::make_unique<TBitmap>()),
      lifeToken_(std::make_shared<int>(0)) {
    FDblClickTime = GetDoubleClickTime();
    LoadCaptionFont();
}

TWinSkinForm::~TWinSkinForm() {
    // A form skin freed while its window still runs through it (its owner form freed the
    // skin first, or the manager dropped it) gives the window its procedure back first.
    if (FWndProcThunk.Installed()) {
        SetHoverTimer(false);
        FWndProcThunk.Restore();
        restoreFormWindowProc();
    }
    UnhookMDIClient();
    ClearSkinControls();
    FreeSysButtons();
    FreeMenuBar();
    FSysPopup.reset();
    FHotObject = nullptr;
    if (TSkinManage* manager = TSkinManage::Instance()) manager->RemoveFormSkin(FHandle);
    lifeToken_.reset();
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
}

void TWinSkinForm::LoadCaptionFont() {
    FCaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;  // the size of this platform's record, not a fixed 340
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        if (HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont)) FCaptionFont->SetHandle(font);
    }
}

void TWinSkinForm::SaveFrameMetrics() {
    RECT window{}, client{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &client);
    FClientRect = client;
    FOrigFrameWidth = (window.right - window.left) - (client.right - client.left);
    FOrigFrameHeight = (window.bottom - window.top) - (client.bottom - client.top);
}

void TWinSkinForm::SetCaptionStyle(bool on) {
    if (!(FCaps & capCaptionToggle) || !IsWindow(FHandle)) return;
    FStyle = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    const DWORD style = on ? (FStyle | WS_CAPTION) : (FStyle & ~static_cast<DWORD>(WS_CAPTION));
    if (style != FStyle) SetWindowLongA(FHandle, GWL_STYLE, static_cast<LONG>(style));
    FStyle = style;
}

void TWinSkinForm::FindMDIClient() {
    FWindowKind = wkNormal;
    for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowClassName(child) != "MDIClient") continue;
        FWindowKind = wkMDIParent;
        FMDIClient = child;
        if (TSkinManage* manager = TSkinManage::Instance()) {
            manager->FMDIClientWnd = child;
            manager->FMDIParentForm = dynamic_cast<TCustomForm*>(FControl);
        }
        return;
    }
}

void TWinSkinForm::CallDefault(TMessage& message) {
    // The previous procedure is called with the character set our procedure was installed
    // with: an ANSI call for a Unicode window would garble every text message.
    message.Result = CallProcedure(FWndProcThunk.Unicode(), FWndProcThunk.Previous(), FHandle, message.Msg,
                                   message.WParam, message.LParam);
}

bool TWinSkinForm::callDefaultAlive(TMessage& message) {
    std::weak_ptr<int> alive = lifeToken_;
    CallDefault(message);
    return !alive.expired();
}

void TWinSkinForm::ReadWindowState() {
    // The state bits of the style say what the placement's show command says.  The
    // placement itself is not read: Wine's GetWindowPlacement takes the window's rectangle
    // as its restore rectangle whenever the style has neither bit, and WM_GETMINMAXINFO
    // (which reads the state) comes while a minimised window on its way back to maximised
    // has neither bit and still the minimised strip's rectangle: the window was later
    // restored to that strip (SkinnedFrame.MaximiseMinimiseRestoreRestore_BackAtItsRectangle).
    if (IsIconic(FHandle)) FWindowState = wsSkinMinimized;
    else if (IsZoomed(FHandle)) FWindowState = wsSkinMaximized;
    else FWindowState = wsSkinNormal;
}

void TWinSkinForm::FrameChanged() {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RepaintWindow(HWND window) {
    if (!IsWindow(window)) return;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void TWinSkinForm::NotifySkinned() { SendMessageA(FHandle, CN_SKINNOTIFY, 0, kSkinMarker); }

bool TWinSkinForm::IsScrollableControl(TControl* control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) return false;
    if (control->InheritsFrom("TListBox") || control->InheritsFrom("TMemo") || control->InheritsFrom("TCustomListBox"))
        return true;
    if (!win->HandleAllocated()) return false;
    return (GetWindowLongA(win->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// ---- attaching --------------------------------------------------------------------------

void TWinSkinForm::SkinForm(TSkinData* skinData, TCustomForm* form) {
    FControl = form;
    if (form && form->ClassInfo().FindProperty("AutoScroll")) SetPropValue(*form, "AutoScroll", false);
    Init(skinData);
    if (!FWndProcThunk.Installed()) return;
    if (FFrameSkinned && form) {
        FOldWindowProc = form->WindowProc;
        form->WindowProc = FormProcHook{this};
    }
    if (form) {
        FSavedColor = form->Color();
        form->SetColor(skinData->Colours.ButtonFace);
    }
    if (form && (skinData->SkinControls & SkinBit(xcMenuItem))) SetMainMenusOwnerDraw(form, true);
}

void TWinSkinForm::SkinWindowHandle(TSkinData* skinData) { Init(skinData); }

void TWinSkinForm::Init(TSkinData* skinData) {
    if (FWndProcThunk.Installed() || !skinData || !IsWindow(FHandle)) return;
    TSkinManage* manager = TSkinManage::Instance();
    if (manager) manager->SetReadyState(1);
    FSkinData = skinData;
    FFrameSkinned = (skinData->SkinControls & SkinBit(xcMainMenu)) != 0;

    // What Unskin gives back: the window's exact style, menu and frame size.
    FStyle = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    origStyle_ = FStyle;
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_EXSTYLE));
    origMenu_ = GetMenu(FHandle);
    SaveFrameMetrics();

    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FChild = (FStyle & WS_CHILD) != 0;
    FClassName = GetWindowClassName(FHandle);
    FOwnerWnd = GetWindow(FHandle, GW_OWNER);
    FCaps = 0;
    if (FStyle & WS_SYSMENU) FCaps |= capSysMenu;
    if (FStyle & WS_MINIMIZEBOX) FCaps |= capMinimize;
    if (FStyle & WS_MAXIMIZEBOX) FCaps |= capMaximize;
    ReadWindowState();
    FindMDIClient();
    if (exStyle & WS_EX_MDICHILD) {
        FWindowKind = wkMDIChild;
        if (skinData->Options & SkinBit(xoMDIChildBorder)) FFrameSkinned = false;
    }
    FDialogClass = FClassName == "#32770" || FClassName == "TMessageForm";
    FBorderKind = static_cast<uint8_t>(skinframe::CalcBorderKind(FStyle, exStyle, FDialogClass));
    if (skinframe::CalcCaptionToggle(SkinVersionMajor(), SkinVersionMinor(), SkinVersionWin9x(), exStyle,
                                     FOwnerWnd != nullptr, FWindowKind == wkMDIChild))
        FCaps |= capCaptionToggle;
    if (SkinVersionWin9x()) skinData->SkinControls &= ~SkinBit(xcSystemMenu);

    if (FWindowKind == wkMDIParent) {
        FSavedMenuUpdate = skinData->MenuUpdate;
        HookMDIClient();
    }
    if (!FWndProcThunk.Install(FHandle)) return;

    holdRedraw();
    if (FFrameSkinned) {
        FMenuHandle = GetMenu(FHandle);
        CreateMenuBar();
        if ((FWindowKind != wkMDIChild || !(manager && manager->FMDIMaximized)) && FWindowState != wsSkinMinimized)
            SetCaptionStyle(false);
        LoadBorders();
    } else {
        FSkinState = ssActive;
    }
    if (FWindowKind == wkMDIChild) {
        const int least = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (FBorderTop < least) FMenuHeight = least - FBorderTop;
        if (FWindowState == wsSkinMaximized && manager && !manager->FMDIMaximized) manager->SetMDIMaximized(true);
    }
}

void TWinSkinForm::ApplySkin() {
    // The window held from drawing since Init is drawn at the end, also when a step fails.
    struct RedrawRelease {
        TWinSkinForm* skin;
        ~RedrawRelease() { skin->releaseRedraw(); }
    } release{this};
    FSysMenu = GetSystemMenu(FHandle, FALSE);
    LoadSmallIcon(*FIconBitmap);
    SaveFrameMetrics();
    if (auto* form = dynamic_cast<TCustomForm*>(FControl)) {
        SkinAllControls(form);
    } else {
        if (FDialogClass) shrinkEmptyIconControls(FHandle);
        SkinChildWindows(FHandle);
    }
    if (FSkinState == ssNew) {
        TSkinManage* manager = TSkinManage::Instance();
        if (FWindowKind == wkMDIChild) {
            if (FWindowState == wsSkinMaximized) {
                if (manager && manager->FMDIClientWnd)
                    PostMessageA(manager->FMDIClientWnd, WM_SKINREDRAWFRAME, reinterpret_cast<WPARAM>(FHandle), 0);
            } else if (FWindowState == wsSkinMinimized) {
                SetCaptionStyle(true);
            } else {
                FSkinState = ssFitting;
                FitWindowToSkin(false);
                FSkinState = ssActive;
                UpdateRegion();
            }
        } else if (!FChild && FBorderKind != bkNoCaption && FWindowState != wsSkinMinimized) {
            FSkinState = ssFitting;
            FitWindowToSkin(false);
            FSkinState = ssActive;
            if (FWindowState == wsSkinNormal) UpdateRegion();
            else if (FWindowState == wsSkinMaximized) FrameChanged();
        }
    }
    NotifySkinned();
    FSkinState = ssActive;
    SetHoverTimer(true);
}

void TWinSkinForm::holdRedraw() {
    if (redrawHeld_ || FSkinState != ssNew || !IsWindowVisible(FHandle)) return;
    // WM_SETREDRAW takes WS_VISIBLE off without hiding the window, so nothing of it or its
    // children is painted; the posted first application gives it back.
    SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    redrawHeld_ = true;
}

void TWinSkinForm::releaseRedraw() {
    if (!redrawHeld_) return;
    redrawHeld_ = false;
    if (!IsWindow(FHandle)) return;
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::UpdateSkin() {
    if (!FSkinData) return;
    if (FControl) {
        FControl->SetColor(FSkinData->Colours.ButtonFace);
        for (int i = 0; i < FControl->ComponentCount(); ++i)
            if (auto* form = dynamic_cast<TCustomForm*>(FControl->Components(i)))
                form->SetColor(FSkinData->Colours.ButtonFace);
    }
    FSkinState = ssReapplying;
    // A copy: a skin's UpdateSkin may take skins out of the list (a re-created host).
    const std::vector<TSkinControl*> skins = FSkinControls;
    for (TSkinControl* skin : skins)
        if (std::find(FSkinControls.begin(), FSkinControls.end(), skin) != FSkinControls.end()) skin->UpdateSkin();
    if (FFrameSkinned && FControl) {
        FitWindowToSkin(true);
        // The size changes twice, so the region is rebuilt and the frame repainted.
        FControl->SetHeight(FControl->Height() + 1);
        FControl->SetHeight(FControl->Height() - 1);
    } else if (FFrameSkinned) {
        FitWindowToSkin(true);
        UpdateRegion();
        FrameChanged();
    }
    // The bar and the form's popup menus follow the re-applied skin.
    if (FMenuBar) {
        FMenuBar->SkinData = FSkinData;
        FMenuBar->Build();
        RepaintMenuBar();
    }
    if (FFrameSkinned && FControl) SetPopupMenusOwnerDraw(FControl, true);
    NotifySkinned();
    FSkinState = ssActive;
}

// ---- taking the skin away ---------------------------------------------------------------

void TWinSkinForm::Unskin() {
    if (!FFrameSkinned) {
        UnskinControls();
        return;
    }
    FSysPopup.reset();
    SetHoverTimer(false);
    if (!FWndProcThunk.Installed()) return;
    releaseRedraw();
    restoreFormWindowProc();
    FWndProcThunk.Restore();
    ClearSkinControls();
    menusOwnerDrawOff();
    if (FControl && FSkinState != ssDestroying) FControl->SetColor(FSavedColor);
    if (!IsWindow(FHandle)) return;

    // The client area under the skin, read before the menu comes back: giving it back
    // recalculates the frame the system's way.
    RECT r{}, client{};
    GetWindowRect(FHandle, &r);
    GetClientRect(FHandle, &client);

    // The style bits the skin took (caption, system menu) come back exactly as they were.
    const DWORD mask = WS_CAPTION | WS_SYSMENU;
    const DWORD now = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    const DWORD style = (now & ~mask) | (origStyle_ & mask);
    if (style != now) SetWindowLongA(FHandle, GWL_STYLE, static_cast<LONG>(style));
    FStyle = style;
    // The window's menu comes back, drawn by the system again.
    const HMENU menu = MenuToGiveBack();
    if (FMenuBar) {
        TMainMenu* main = FMenuBar->MainMenu;
        if (!main || !main->OwnerDraw()) ClearMenuTreeOwnerDraw(menu);
    }
    if (FMenuBar || GetMenu(FHandle) != menu) SetMenu(FHandle, menu);
    FreeMenuBar();
    UnhookMDIClient();

    POINT corner{r.left, r.top};
    if (FWindowKind == wkMDIChild) {
        TSkinManage* manager = TSkinManage::Instance();
        if (manager && manager->FMDIClientWnd) ScreenToClient(manager->FMDIClientWnd, &corner);
    }
    if (FSkinState != ssDestroying && (FWindowKind == wkMDIChild || !FChild) && FWindowState == wsSkinNormal) {
        // The client area keeps its size under the system frame again: its size now plus
        // the system frame measured before the skin came.
        const int width = (client.right - client.left) + FOrigFrameWidth;
        const int height = (client.bottom - client.top) + FOrigFrameHeight;
        SetWindowPos(FHandle, nullptr, corner.x, corner.y, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
        FrameChanged();
    }
    SetWindowRgn(FHandle, nullptr, TRUE);
    FRegionSet = false;
}

void TWinSkinForm::Detach() {
    if (!FFrameSkinned) {
        UnskinControls();
        return;
    }
    FSysPopup.reset();
    SetHoverTimer(false);
    redrawHeld_ = false;  // a window going away is not drawn again
    if (!FWndProcThunk.Installed()) return;
    restoreFormWindowProc();
    FWndProcThunk.Restore();
    ClearSkinControls();
    // The system destroys the menu a window shows when the window ends; the bar took it
    // off the window, so a raw window's menu goes here (a class-library menu frees its
    // own).
    if (FSkinState == ssDestroying && FMenuBar && !FMenuBar->MainMenu) {
        const HMENU menu = FMenuBar->MenuHandle;
        if (menu && IsMenu(menu) && GetMenu(FHandle) != menu) DestroyMenu(menu);
    }
    FreeMenuBar();
}

void TWinSkinForm::UnskinControls() {
    SetHoverTimer(false);
    if (FSkinState == ssDestroying) redrawHeld_ = false;  // a window going away is not drawn again
    else releaseRedraw();
    ClearSkinControls();
    menusOwnerDrawOff();
    if (FControl && FSkinState != ssDestroying) FControl->SetColor(FSavedColor);
    restoreFormWindowProc();
    FWndProcThunk.Restore();
    UnhookMDIClient();
    if (FControl && FSkinState != ssDestroying) {
        for (int i = 0; i < FControl->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TControl*>(FControl->Components(i))) control->Invalidate();
    }
}

void TWinSkinForm::menusOwnerDrawOff() {
    if (!FControl || !FSkinData) return;
    SetPopupMenusOwnerDraw(FControl, false);
    if (FSkinData->SkinControls & SkinBit(xcMenuItem)) SetMainMenusOwnerDraw(FControl, false);
}

void TWinSkinForm::FreeSysButtons() {
    // A caption button that is hot clears FHotObject as it goes (TNCObject's destructor).
    FSysButtons.clear();
    renderedButtons_.clear();
}

// ---- the form's WindowProc in place -----------------------------------------------------

void TWinSkinForm::restoreFormWindowProc() {
    if (!FOldWindowProc || !FControl) {
        FOldWindowProc = nullptr;
        return;
    }
    // Put back only while the form's WindowProc is still ours; a later replacement keeps
    // its place and reaches the old one through us (FormProcHook forwards when unhooked).
    const FormProcHook* hook = FControl->WindowProc.target<FormProcHook>();
    if (hook && hook->skin == this) FControl->WindowProc = FOldWindowProc;
    FOldWindowProc = nullptr;
}

void TWinSkinForm::HookMDIClient() { FMDIClientThunk.Install(FMDIClient); }

void TWinSkinForm::UnhookMDIClient() { FMDIClientThunk.Restore(); }

void TWinSkinForm::MDIClientDefault(TMessage& message) { FMDIClientThunk.CallPrevious(message); }

// ---- control-skin registry --------------------------------------------------------------
// The list owns its entries: a skin leaves it by its own destructor (RemoveSkinControl),
// by PurgeDeadControls once its window is gone, or by ClearSkinControls.

bool TWinSkinForm::AddSkinControl(TSkinControl* skin) {
    if (std::find(FSkinControls.begin(), FSkinControls.end(), skin) != FSkinControls.end()) return true;
    FSkinControls.push_back(skin);
    return false;
}

void TWinSkinForm::RemoveSkinControl(TSkinControl* skin) {
    for (size_t i = FSkinControls.size(); i-- > 0;) {
        if (FSkinControls[i] == skin) {
            FSkinControls.erase(FSkinControls.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void TWinSkinForm::PurgeDeadControls() {
    for (size_t i = FSkinControls.size(); i-- > 0;) {
        if (i >= FSkinControls.size()) continue;  // a destructor took more than itself
        TSkinControl* skin = FSkinControls[i];
        if (skin->Lifecycle != lcDestroyed) continue;
        FSkinControls.erase(FSkinControls.begin() + static_cast<std::ptrdiff_t>(i));
        delete skin;
    }
}

void TWinSkinForm::ClearSkinControls() {
    while (!FSkinControls.empty()) {
        // Out of the list first: the skin's destructor looks itself up there.
        TSkinControl* skin = FSkinControls.front();
        FSkinControls.erase(FSkinControls.begin());
        if (skin->Lifecycle != lcDestroyed) skin->Unskin();
        delete skin;
    }
}

void TWinSkinForm::RecreateScrollSkin(HWND window) {
    for (size_t i = FSkinControls.size(); i-- > 0;) {
        TSkinControl* old = FSkinControls[i];
        if (old->Handle != window) continue;
        TControl* host = old->Host;
        const bool listView = old->InheritsFrom("TSkinListView");
        FSkinControls.erase(FSkinControls.begin() + static_cast<std::ptrdiff_t>(i));
        delete old;
        if (!host) return;
        // Should the skin not be made or not attach, the control stays as it is.
        if (TSkinControl* skin = CreateSkinControl(listView ? TSkinClass::ListView : TSkinClass::Scrollbar, host))
            if (!skin->AttachScrolling(host, FSkinData, this, FControlCanvas.get())) delete skin;
        return;
    }
}
