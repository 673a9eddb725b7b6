// The form skin's message handling: the skinned window's (its message groups in their
// fixed order), the form's replaced WindowProc, the MDI client's, and the handlers for
// size calculation, hit testing, activation, the non-client mouse and the hover timer.
// SubclassedWindow routes the window's and the MDI client's messages here behind
// GuardedDispatch; the hover timer's callback has its own.
#include "WinSkinForm.h"
#include "WinSkinForm_impl.h"

#include "Forms.h"
#include "SkinManage.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinFormGeometry.h"
#include "WinSkinMenu.h"
#include "WndProcBoundary.h"

namespace {

// What a window and its descendants still have to paint, taken before drawing is turned
// off and given back after.  Wine's WM_SETREDRAW(FALSE) validates the window and all its
// children (Windows leaves their update regions alone), so a caption change would swallow
// the repaint a control just asked for (an editor just filled keeps showing its old text).
class PendingPaints {
public:
    explicit PendingPaints(HWND window) {
        keep(window);
        EnumChildWindows(window, &PendingPaints::keepChild, reinterpret_cast<LPARAM>(this));
    }
    ~PendingPaints() {
        for (const auto& [window, region] : pending_) {
            if (IsWindow(window)) RedrawWindow(window, nullptr, region, RDW_INVALIDATE | RDW_ERASE);
            DeleteObject(region);
        }
    }
    PendingPaints(const PendingPaints&) = delete;
    PendingPaints& operator=(const PendingPaints&) = delete;

private:
    void keep(HWND window) {
        if (!GetUpdateRect(window, nullptr, FALSE)) return;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        if (!region) return;
        if (GetUpdateRgn(window, region, FALSE) > NULLREGION) pending_.emplace_back(window, region);
        else DeleteObject(region);
    }
    static BOOL CALLBACK keepChild(HWND window, LPARAM self) {
        reinterpret_cast<PendingPaints*>(self)->keep(window);
        return TRUE;
    }

    std::vector<std::pair<HWND, HRGN>> pending_;
};

void CALLBACK hoverTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    GuardedDispatch(
        window, WM_TIMER,
        [&] {
            if (auto* skin = SubclassedWindow::OwnerOf<TWinSkinForm>(window, SubclassKind::FormSkin))
                skin->HoverTimer();
            return LRESULT{0};
        },
        [] { return LRESULT{0}; });
}

// The themed caption repaint newer systems send (WM_NCUAHDRAWCAPTION, in no SDK header).
constexpr UINT kWmNcUahDrawCaption = 0x00AE;

// The left button is down as far as this thread's messages have gone.
bool leftButtonHeld() { return GetKeyState(VK_LBUTTON) < 0; }

POINT pointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

void FormProcHook::operator()(TMessage& message) const { skin->FormWindowProc(message); }

void TWinSkinForm::SetHoverTimer(bool on) {
    if (on == FTimer) return;
    FTimer = on;
    if (!IsWindow(FHandle)) return;
    if (on) {
        if (!SetTimer(FHandle, kHoverTimerId, 250, hoverTimerProc)) FTimer = false;
    } else {
        KillTimer(FHandle, kHoverTimerId);
    }
}

// ---- the subclass procedure -------------------------------------------------------------

void TWinSkinForm::WndProc(TMessage& m) {
    // 1. Before the first application nothing of the frame is painted.
    if (FSkinState == ssNew && m.Msg == WM_NCPAINT) {
        m.Result = 0;
        return;
    }
    // 2. What every skinned window answers, framed or not.
    switch (m.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_NCDESTROY: {
        FSkinState = ssDestroying;
        Detach();
        CallDefault(m);
        FSkinState = ssGone;
        return;
    }
    case WM_NCACTIVATE:
        // Before the first application nothing is painted; the answer is TRUE all the
        // same: FALSE to a deactivation would keep the window active and a dialog opened
        // over it could never take the activation.
        if (FSkinState == ssNew && FWindowKind != wkMDIChild) {
            m.Result = 1;
            return;
        }
        break;
    case kWmNcUahDrawCaption:  // the skin paints the caption
        m.Result = 0;
        return;
    case WM_INITMENUPOPUP:
        if (TSkinManage* manager = TSkinManage::Instance())
            manager->FMenuKind = reinterpret_cast<HMENU>(m.WParam) == FSysMenu ? mkSystemMenu : mkMenuBar;
        CallDefault(m);
        return;
    case WM_MENUSELECT:
        // Sent, never posted: no message hook sees it, so the open bar popup learns its
        // current item here.
        MenuTrackingSelect(FHandle, m.WParam, m.LParam);
        break;
    case WM_CTLCOLORBTN:
        if (!callDefaultAlive(m)) return;
        if (!FControl) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        return;
    case WM_CTLCOLORSTATIC: WMCtlColorStatic(m); return;
    case WM_SKINAPPLY: ApplySkin(); return;
    case WM_SKINRECREATESCROLL: RecreateScrollSkin(reinterpret_cast<HWND>(m.WParam)); return;
    case WM_SKINQUERY: m.Result = 1; return;
    default: break;
    }
    if (!FFrameSkinned) {
        CallDefault(m);
        return;
    }
    // 3. A plain child window with a form skin answers only those.
    if (FWindowKind != wkMDIChild && (FStyle & WS_CHILD)) {
        CallDefault(m);
        return;
    }
    // 4. The top-level frame: size, state, activation, commands, menus and title.
    bool handled = true;
    switch (m.Msg) {
    case WM_SIZE: WMSize(m); break;
    case WM_ACTIVATE:
        FActive = LOWORD(m.WParam) != WA_INACTIVE;
        handled = false;
        break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(m); break;
    case WM_QUERYOPEN: WMQueryOpen(m); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); break;
    case WM_NCACTIVATE:
        FActive = m.WParam != 0;
        handled = false;
        break;
    case WM_COMMAND: WMCommand(m); break;
    case WM_SYSCOMMAND: WMSysCommand(m); break;
    case WM_SKINMENUBARCLICK: MenuBarClickAt(m); break;
    case WM_MENUCHAR: WMMenuChar(m); break;
    case WM_SETTEXT:
        if (FControl) {
            handled = false;  // the form's WindowProc repaints the frame (FormWindowProc)
        } else {
            onSetText(m, [this](TMessage& msg) { CallDefault(msg); });
        }
        break;
    case CM_MENUCHANGED: {
        const bool paint = FSkinData ? FSkinData->FramePaint : true;
        if (FSkinData) FSkinData->FramePaint = false;
        if (!callDefaultAlive(m)) return;
        if (FSkinData) FSkinData->FramePaint = paint;
        MenuBarChanged();
        break;
    }
    default: handled = false; break;
    }
    if (handled) return;
    // 5. A maximised MDI child, or a skin not yet applied: the system's behaviour.
    if ((FWindowKind == wkMDIChild && FWindowState == wsSkinMaximized) || FSkinState == ssNew) {
        CallDefault(m);
        return;
    }
    // 6. The non-client area: size calculation, hit tests, painting, the mouse and the
    //    owner-drawn menus.
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(m); return;
    case WM_NCCALCSIZE: WMNCCalcSize(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_NCPAINT: WMNCPaint(m); return;
    case WM_NCACTIVATE: WMNCActivate(m); return;
    case WM_NCMOUSEMOVE: WMNCMouseMove(m); return;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(m); return;
    case WM_NCLBUTTONUP: WMNCLButtonUp(m); return;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(m); return;
    case WM_NCRBUTTONDOWN: WMNCRButtonDown(m); return;
    case WM_SKINNCPAINT: PaintFrame(nullptr); return;
    case WM_DRAWITEM: WMDrawItem(m); return;
    case WM_MEASUREITEM: WMMeasureItem(m); return;
    default: CallDefault(m); return;
    }
}

// ---- the form's WindowProc --------------------------------------------------------------

void TWinSkinForm::onSetText(TMessage& m, const TWndMethod& previous) {
    if (!IsWindowVisible(FHandle)) {
        previous(m);
        return;
    }
    // The default WM_SETTEXT paints the system caption straight onto a window that still
    // has WS_CAPTION; with drawing off it paints nothing.  The frame is then repainted
    // without running the message loop: nested messages here could free the form.
    std::weak_ptr<int> alive = lifeToken_;
    const HWND window = FHandle;
    const PendingPaints pending(window);
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    previous(m);
    if (IsWindow(window)) SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    if (alive.expired() || !IsWindow(window)) return;
    if (FWindowState == wsSkinMaximized && FWindowKind == wkMDIChild) {
        if (TSkinManage* manager = TSkinManage::Instance())
            if (manager->FMDIClientWnd)
                PostMessageA(manager->FMDIClientWnd, WM_SKINREDRAWFRAME, reinterpret_cast<WPARAM>(FHandle), 0);
    } else if (FWindowState == wsSkinMinimized) {
        PaintFrame(nullptr);
    } else {
        FrameChanged();
    }
}

void TWinSkinForm::FormWindowProc(TMessage& m) {
    const TWndMethod previous = FOldWindowProc;
    auto callPrevious = [&](TMessage& msg) {
        if (previous) previous(msg);
        else if (FControl) FControl->WndProc(msg);
    };
    switch (m.Msg) {
    case WM_SETTEXT: onSetText(m, callPrevious); return;
    case WM_SKINCHANGED: UpdateSkin(); return;
    case CM_DIALOGCHAR: DialogCharHook(m); return;
    case CN_SKINPAINTFRAME:
        if (m.LParam == kSkinMarker) {
            if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
            m.Result = kSkinMarker;
        }
        return;
    case CN_SKINPING: m.Result = m.LParam == kSkinMarker ? kSkinMarker : 1; return;
    default: callPrevious(m); return;
    }
}

// ---- the MDI client ---------------------------------------------------------------------

void TWinSkinForm::MDIClientWndProc(TMessage& m) {
    TSkinManage* manager = TSkinManage::Instance();
    switch (m.Msg) {
    case WM_NCDESTROY:
        MDIClientDefault(m);
        UnhookMDIClient();
        return;
    case WM_NCCALCSIZE:
        if (FFrameSkinned && FSkinData && !(FSkinData->Options & SkinBit(xoMDIScrollbar))) {
            const LONG style = GetWindowLongA(FMDIClient, GWL_STYLE);
            const LONG bare = style & ~static_cast<LONG>(WS_HSCROLL | WS_VSCROLL);
            if (bare != style) SetWindowLongA(FMDIClient, GWL_STYLE, bare);
        }
        MDIClientDefault(m);
        return;
    case WM_MDICREATE:
        if (FSkinData) FSkinData->MenuUpdate = false;
        MDIClientDefault(m);
        return;
    case WM_MDIDESTROY:
        MDIClientDefault(m);
        if (FFrameSkinned && manager) {
            manager->SetMDIMaximized(IsMDIChildMaximized());
            // The last document went: the frame's own menu comes back to the bar.
            if (!SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0) && FMenuBar && FSkinData) {
                FSkinData->MenuUpdate = FSavedMenuUpdate;
                FMenuBar->Build();
                RepaintMenuBar();
            }
        }
        return;
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (FFrameSkinned && manager && manager->FMDIMaximized) manager->SetMDIMaximized(false);
        MDIClientDefault(m);
        return;
    case WM_MDISETMENU:
        MDIClientDefault(m);
        if (FFrameSkinned) {
            if (m.WParam && FMenuBar) {
                FMenuBar->MenuHandle = reinterpret_cast<HMENU>(m.WParam);
                FMenuBar->Rebuild();
                RepaintMenuBar();
            }
            if (FMenuBar) SetMenu(FHandle, nullptr);
        }
        return;
    case WM_SKINREDRAWFRAME:
        RedrawWindow(FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return;
    default: MDIClientDefault(m); return;
    }
}

bool TWinSkinForm::IsMDIChildMaximized() {
    if (FWindowKind != wkMDIParent || !FMDIClient) return false;
    BOOL maximized = FALSE;
    const HWND child = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0,
                                                           reinterpret_cast<LPARAM>(&maximized)));
    return child && maximized;
}

// ---- every window's and the top-level frame's handlers ----------------------------------

void TWinSkinForm::WMEraseBkgnd(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    if (!FControl && FSkinData && FSkinData->SkinBrush()) {
        RECT client{};
        GetClientRect(FHandle, &client);
        FillRect(reinterpret_cast<HDC>(m.WParam), &client, FSkinData->SkinBrush().get());
        m.Result = 1;
    }
}

void TWinSkinForm::WMCtlColorStatic(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    if (!FControl && FSkinData && FSkinData->SkinBrush()) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        m.Result = reinterpret_cast<LRESULT>(FSkinData->SkinBrush().get());
    }
}

void TWinSkinForm::WMSize(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    switch (m.WParam) {
    case SIZE_RESTORED: FWindowState = wsSkinNormal; break;
    case SIZE_MINIMIZED: FWindowState = wsSkinMinimized; break;
    case SIZE_MAXIMIZED: FWindowState = wsSkinMaximized; break;
    default: break;
    }
    if (FWindowState == wsSkinMinimized) return;
    if (FWindowKind == wkMDIChild) {
        TSkinManage* manager = TSkinManage::Instance();
        if ((manager && manager->FMDIMaximized) || FWindowState != wsSkinNormal) return;
    }
    if (FSkinState == ssActive || FSkinState == ssReapplying) UpdateRegion();
}

void TWinSkinForm::WMGetMinMaxInfo(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    ReadWindowState();
    if (FWindowState == wsSkinMinimized) SetCaptionStyle(true);
    else if (FWindowKind != wkMDIChild || FWindowState == wsSkinNormal) SetCaptionStyle(false);
    else SetCaptionStyle(true);
}

void TWinSkinForm::WMQueryOpen(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    // The minimised window carries its caption, and the system measures where to maximise
    // it from its style before it tells the window it is no longer minimised: without the
    // caption now, a window restored to maximised lies where one maximised from its normal
    // state does (one border pixel further in on every side).  The WM_GETMINMAXINFO that
    // follows, still minimised, gives the caption back until the state has changed.
    if (m.Result && FWindowKind != wkMDIChild) SetCaptionStyle(false);
}

void TWinSkinForm::WMWindowPosChanged(TMessage& m) {
    ReadWindowState();
    CallDefault(m);
}

void TWinSkinForm::WMWindowPosChanging(TMessage& m) {
    if (auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam)) keepDialogClientSize(*pos);
    CallDefault(m);
}

void TWinSkinForm::keepDialogClientSize(WINDOWPOS& pos) {
    // A system dialog that sizes itself (the colour dialog opening its custom-colour half)
    // measured its size under the system frame before the skin came; under the skin's
    // frame the same size would take the difference off its client area and put its
    // buttons on the bottom border.  Only a dialog the user cannot size (no sizing border)
    // and only a real change of size: moving it, and the skin's own fitting, are left alone.
    if (!FDialogClass || FControl || FSkinState != ssActive || FWindowState != wsSkinNormal) return;
    if ((pos.flags & SWP_NOSIZE) || (GetWindowLongA(FHandle, GWL_STYLE) & WS_THICKFRAME)) return;
    if (FOrigFrameWidth <= 0 || FOrigFrameHeight <= 0) return;
    RECT now{};
    if (!GetWindowRect(FHandle, &now) || (pos.cx == now.right - now.left && pos.cy == now.bottom - now.top)) return;
    pos.cx += FBorderLeft + FBorderRight - FOrigFrameWidth;
    pos.cy += FBorderTop + FBorderBottom + FMenuHeight - FOrigFrameHeight;
}

// ---- the non-client area ----------------------------------------------------------------

void TWinSkinForm::WMNCActivate(TMessage& m) {
    FActive = m.WParam != 0;
    SetHoverTimer(FActive);
    if (FWindowKind == wkMDIParent && FMDIClient) SendMessageA(FMDIClient, WM_NCACTIVATE, m.WParam, 0);
    if (FWindowKind == wkMDIChild && !callDefaultAlive(m)) return;
    PaintFrame(nullptr);
    m.Result = 1;
}

void TWinSkinForm::WMNCCalcSize(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    if ((m.WParam & 0xFF) == 0) {
        m.Result = 0;
        return;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    if (!params) return;
    if ((FWindowKind == wkMDIChild && FWindowState != wsSkinNormal) || FBorderKind == bkNoCaption) {
        params->rgrc[1] = params->rgrc[0];
    } else if (params->lppos) {
        const WINDOWPOS& pos = *params->lppos;
        const RECT proposed{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
        params->rgrc[0] = skinframe::CalcClientRect(frameMetrics(), proposed);
        params->rgrc[1] = params->rgrc[0];
    }
    m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage& m) {
    if (!callDefaultAlive(m)) return;
    const POINT screen = pointOf(m.LParam);
    const POINT frame = ScreenToFrame(screen.x, screen.y);
    skinframe::FrameMetrics metrics = frameMetrics();
    if (FWindowState == wsSkinMinimized) metrics.menuHeight = 0;  // the strip is all caption
    m.Result = skinframe::CalcHitTest(static_cast<int>(m.Result), frame, metrics);
}

void TWinSkinForm::WMNCPaint(TMessage& m) {
    SetSysMenuStyle(true);
    if (FSkinData && FSkinData->FramePaint) {
        if (FBorderKind == bkNoCaption) {
            CallDefault(m);
            return;
        }
        PaintFrame(nullptr);
    }
    m.Result = 0;
}

POINT TWinSkinForm::ScreenToFrame(int x, int y) {
    POINT p{x, y};
    if (FWindowState == wsSkinMinimized && FWindowKind != wkMDIChild) {
        // A minimised window is its caption strip alone; its client area is not where the
        // borders and the menu strip would put it.
        RECT window{};
        GetWindowRect(FHandle, &window);
        return POINT{x - window.left, y - window.top};
    }
    ScreenToClient(FHandle, &p);
    if (!(FWindowKind == wkMDIChild && FWindowState == wsSkinMinimized)) {
        p.x += FBorderLeft;
        p.y += FBorderTop + FMenuHeight;
    }
    return p;
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT framePoint) {
    for (auto& button : FSysButtons) {
        if (!button->Visible || !button->Definition || button->Definition->Action < 0) continue;
        if (PtInRect(&button->Bounds, framePoint)) return button.get();
    }
    return nullptr;
}

TNCObject* TWinSkinForm::objectUnder(POINT framePoint) {
    if (TWinSysButton* button = ButtonAt(framePoint)) return button;
    // A minimised window shows no menu bar, so it has none to click.
    if (FWindowState == wsSkinMinimized) return nullptr;
    return FMenuBar ? FMenuBar->ButtonAt(framePoint) : nullptr;
}

void TWinSkinForm::WMNCMouseMove(TMessage& m) {
    if (!FActive) return;  // swallowed
    const POINT screen = pointOf(m.LParam);
    TNCObject* object = objectUnder(ScreenToFrame(screen.x, screen.y));
    // A press released away from the window never came back as a release here.
    if (FPressedObject && !leftButtonHeld()) FPressedObject = nullptr;
    if (FPressedObject) {
        // While a caption button is held only that button reacts, as the system's caption
        // does: back on it, it shows the pressed look again; elsewhere nothing lights up.
        if (object == FPressedObject) {
            if (FHotObject != object || object->State != nsDown) object->MouseDown();
        } else if (FHotObject) {
            FHotObject->MouseLeave();
        }
        if (object) {
            m.Result = 0;
            return;
        }
        CallDefault(m);
        return;
    }
    if (object) {
        object->MouseMove();
        m.Result = 0;
        return;
    }
    if (FHotObject) FHotObject->MouseLeave();
    CallDefault(m);
}

void TWinSkinForm::WMNCLButtonDown(TMessage& m) {
    FPressedObject = nullptr;
    const POINT screen = pointOf(m.LParam);
    if (TNCObject* object = objectUnder(ScreenToFrame(screen.x, screen.y))) {
        if (!FActive) SetForegroundWindow(FHandle);
        object->MouseDown();
        m.Result = 0;
        // A bar item opens at once and stays the hot object while its popup runs.
        if (auto* item = dynamic_cast<TMenuBtn*>(object)) OpenMenuButton(item);
        else if (FHotObject == object) FPressedObject = object;
        return;
    }
    if (FWindowState == wsSkinMaximized && FActive && m.WParam == HTCAPTION) m.WParam = HTMENU;
    CallDefault(m);
}

void TWinSkinForm::WMNCLButtonUp(TMessage& m) {
    // Only the button the press began on acts, and only when released on itself.
    TNCObject* const pressed = FPressedObject;
    FPressedObject = nullptr;
    const POINT screen = pointOf(m.LParam);
    TNCObject* object = objectUnder(ScreenToFrame(screen.x, screen.y));
    if (!object) {
        CallDefault(m);
        return;
    }
    m.Result = 0;
    if (object != pressed || object != FHotObject) return;
    if (auto* button = dynamic_cast<TWinSysButton*>(object)) {
        button->MouseUp();
        ButtonClick(screen.x, screen.y);
    }
}

void TWinSkinForm::WMNCLButtonDblClk(TMessage& m) {
    FPressedObject = nullptr;
    const POINT screen = pointOf(m.LParam);
    if (TWinSysButton* button = ButtonAt(ScreenToFrame(screen.x, screen.y))) {
        const int action = button->Definition->Action;
        if (skinframe::IsIconAction(action)) {
            SetHoverTimer(false);
            PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            // The second press of a double-click on another button is a press like the first.
            button->MouseDown();
            if (FHotObject == button) FPressedObject = button;
        }
        m.Result = 0;
        return;
    }
    if (FWindowState != wsSkinNormal) Restore();
    else if (FCaps & capMaximize) ToggleMaximize();
    else CallDefault(m);
}

void TWinSkinForm::WMNCRButtonDown(TMessage& m) {
    if (m.WParam == HTCAPTION && FWindowKind != wkMDIChild) {
        ShowSysMenu(pointOf(m.LParam));
        m.Result = 0;
        return;
    }
    CallDefault(m);
}

void TWinSkinForm::HoverTimer() {
    if (FMenuTracking || !FHotObject) return;
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return;
    const POINT frame = ScreenToFrame(cursor.x, cursor.y);
    if (!PtInRect(&FHotObject->Bounds, frame)) FHotObject->MouseLeave();
}
