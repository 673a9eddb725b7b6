// The skins that own scroll-bar covers: TSkinScrollbar on a scrolling class-library
// control (two covers and a thin frame of its own) and TSkinScrollbarH on a raw window
// (two covers).  They keep the covers over the bars as the window moves, resizes, hides
// and scrolls.  The cover itself is in WinSubClassScroll.cpp.
#include "WinSubClassScroll.h"

#include <cctype>
#include <string>

#include "Handles.h"
#include "TypInfo.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

namespace {

std::string lowerCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void invalidateIfShown(TWScrollbar* bar) {
    if (bar && bar->Shown) bar->Invalidate();
}

// The painter's active part follows the scroll code the platform sends while it tracks
// (SB_ENDSCROLL matches no part, so the cover returns to its normal look).
void followScroll(TWScrollbar* bar, WPARAM wParam) {
    if (!bar) return;
    bar->ActivePart = LOWORD(wParam);
    bar->Invalidate();
}

// The corner between two shown bars, in the window coordinates of the scrolled window.
void fillCorner(TSkinControl& skin, HDC dc, const TWScrollbar& horz, const TWScrollbar& vert) {
    // BarRect is in client coordinates; the frame's width puts it into window ones.
    RECT window{};
    POINT origin{0, 0};
    if (!GetWindowRect(skin.Handle, &window) || !ClientToScreen(skin.Handle, &origin)) return;
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    const RECT corner{vert.BarRect.left + dx, horz.BarRect.top + dy, vert.BarRect.right + dx, horz.BarRect.bottom + dy};
    skin.FillSkinColor(dc, corner);
}

}  // namespace

// ---- TSkinScrollbar -------------------------------------------------------------------

const TClassInfo& TSkinScrollbar::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinScrollbar>("TSkinScrollbar", &TSkinControl::StaticClassInfo(),
                                                                  [](TClassBuilder<TSkinScrollbar>&) {});
    return info;
}

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) { Mode = 0; }

TSkinScrollbar::~TSkinScrollbar() { freeBars(); }

void TSkinScrollbar::freeBars() {
    HorzBar.reset();
    VertBar.reset();
}

bool TSkinScrollbar::AttachScrolling(TControl* control, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    auto* host = dynamic_cast<TWinControl*>(control);
    if (Attached() || !host) return false;
    SkinData = skinData;
    FormSkin = formSkin;
    Canvas = canvas;
    Host = host;
    Handle = host->Handle();
    if (formSkin) formSkin->AddSkinControl(this);

    const std::string border = GetEnumPropByName(host, "BorderStyle");
    OwnBorder = lowerCase(border) != "bsnone";
    if (host->ClassName() == "TImageScrollBox" || Mode == 1) OwnBorder = false;

    bool fixedColour = false;
    if (const TPropInfo* p = GetPropInfo(*host, "FixedColor"); p && p->Kind == TTypeKind::tkInteger) {
        SavedColor = static_cast<TColor>(GetIntPropByName(host, "FixedColor"));
        SetPropByName(host, "FixedColor", std::to_string(static_cast<int32_t>(SkinButtonFace())));
        fixedColour = true;
    }

    HorzBar = std::make_unique<TWScrollbar>(nullptr);
    HorzBar->AttachControl(this, host, sbkHorizontal);
    VertBar = std::make_unique<TWScrollbar>(nullptr);
    VertBar->AttachControl(this, host, sbkVertical);
    if (!host->Visible()) {
        HorzBar->HideBar();
        VertBar->HideBar();
    }

    // The base's attach hooks the host's WindowProc and marks the skin attached; the
    // recolouring it could do is the FixedColor swap above, not the host's Color.
    TSkinControl::AttachControl(formSkin, skinData, false, canvas);
    SetColor = fixedColour;
    return true;
}

void TSkinScrollbar::Unskin() {
    if (SetColor && Host) {
        SetPropByName(Host, "FixedColor", std::to_string(static_cast<int32_t>(SavedColor)));
        SetColor = false;
    }
    TSkinControl::Unskin();
    if (Lifecycle != lcDestroyed) freeBars();
}

// The recolouring this skin did is the FixedColor swap, so a new skin's face colour goes
// there; the host's Color was never changed and stays as it is (the base would give it
// the skin colour, and nothing would give the old one back).
void TSkinScrollbar::UpdateSkin() {
    const TColor face = SkinButtonFace();
    if (SetColor && Host) SetPropByName(Host, "FixedColor", std::to_string(static_cast<int32_t>(face)));
    for (TWScrollbar* bar : {HorzBar.get(), VertBar.get()})
        if (bar) bar->SetColor(GetParentColor(face));
    Redraw();
}

void TSkinScrollbar::UpdateBars() {
    if (HorzBar) HorzBar->UpdateBar(Handle);
    if (VertBar) VertBar->UpdateBar(Handle);
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
    if (m.Msg == WM_NCPAINT && OwnBorder) {
        CallDefault(m);
        WindowDcGuard dc(Handle, true);
        if (dc.get()) PaintBorder(dc.get());
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: UpdateBars(); return;
    case WM_HSCROLL: followScroll(HorzBar.get(), m.WParam); return;
    case WM_VSCROLL: followScroll(VertBar.get(), m.WParam); return;
    case WM_MOUSEWHEEL:
        invalidateIfShown(HorzBar.get());
        invalidateIfShown(VertBar.get());
        return;
    case CM_VISIBLECHANGED:
        if (m.WParam) {
            UpdateBars();
        } else {
            if (HorzBar) HorzBar->HideBar();
            if (VertBar) VertBar->HideBar();
        }
        return;
    case CM_RECREATEWND:
        if (Host && FormSkin && FormSkin->FHandle)
            PostMessageA(FormSkin->FHandle, WM_SKINRECREATESCROLL, reinterpret_cast<WPARAM>(Handle), 0);
        return;
    case CN_SKINPAINTFRAME:
        if (m.LParam == kSkinMarker) {
            if (m.WParam) PaintBorder(reinterpret_cast<HDC>(m.WParam));
            m.Result = kSkinMarker;
        }
        return;
    default: TSkinControl::AfterMessage(m);
    }
}

void TSkinScrollbar::Paint(HDC dc, const RECT&) {
    const LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
    if (VertBar) {
        if (VertBar->Shown) VertBar->Invalidate();
        else if (style & WS_VSCROLL) VertBar->UpdateBar(Handle);
    }
    if (HorzBar) {
        if (HorzBar->Shown) HorzBar->Invalidate();
        else if (style & WS_HSCROLL) HorzBar->UpdateBar(Handle);
    }
    if (HorzBar && VertBar && HorzBar->Shown && VertBar->Shown) fillCorner(*this, dc, *HorzBar, *VertBar);
}

void TSkinScrollbar::PaintBorder(HDC dc) {
    RECT r{};
    if (!GetWindowRect(Handle, &r)) return;
    OffsetRect(&r, -r.left, -r.top);
    DrawBorder(dc, r);
}

void TSkinScrollbar::DrawBorder(HDC dc, const RECT& rect) {
    if (!SkinData) return;
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(SkinData->Colours.ButtonShadow)));
    UniqueBrush face(CreateSolidBrush(ColorToRGB(SkinData->Colours.ButtonFace)));
    if (!shadow || !face) return;
    RECT r = rect;
    FrameRect(dc, &r, shadow.get());
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, face.get());
}

// ---- TSkinScrollbarH ------------------------------------------------------------------

const TClassInfo& TSkinScrollbarH::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinScrollbarH>("TSkinScrollbarH", &TSkinControl::StaticClassInfo(),
                                                                   [](TClassBuilder<TSkinScrollbarH>&) {});
    return info;
}

TSkinScrollbarH::TSkinScrollbarH(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbarH::~TSkinScrollbarH() { freeBars(); }

void TSkinScrollbarH::freeBars() {
    HorzBar.reset();
    VertBar.reset();
}

void TSkinScrollbarH::AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    if (Attached() || !handle) return;
    // The covers first (they read the skin through this object), then the subclassing,
    // which the base's attach does and which registers the skin with the form skin.
    SkinData = skinData;
    FormSkin = formSkin;
    Canvas = canvas;
    Handle = handle;
    HorzBar = std::make_unique<TWScrollbar>(nullptr);
    HorzBar->AttachWindow(this, handle, sbkHorizontal);
    VertBar = std::make_unique<TWScrollbar>(nullptr);
    VertBar->AttachWindow(this, handle, sbkVertical);
    TSkinControl::AttachWindow(handle, skinData, formSkin, canvas);
}

void TSkinScrollbarH::Unskin() {
    TSkinControl::Unskin();
    if (Lifecycle != lcDestroyed) freeBars();
}

void TSkinScrollbarH::UpdateBars() {
    if (HorzBar) HorzBar->UpdateBar(Handle);
    if (VertBar) VertBar->UpdateBar(Handle);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
    if (VertBar && !IsWindowVisible(Handle)) VertBar->HideBar();
    switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        UpdateBars();
        Redraw();
        return;
    case WM_HSCROLL: followScroll(HorzBar.get(), m.WParam); return;
    case WM_VSCROLL: followScroll(VertBar.get(), m.WParam); return;
    default: TSkinControl::AfterMessage(m);
    }
}

void TSkinScrollbarH::Paint(HDC dc, const RECT&) {
    invalidateIfShown(HorzBar.get());
    invalidateIfShown(VertBar.get());
    if (HorzBar && VertBar && HorzBar->Shown && VertBar->Shown) fillCorner(*this, dc, *HorzBar, *VertBar);
}
