#include "Buttons.h"

#include <algorithm>

#include "Handles.h"

const TEnumNames ButtonLayoutNames{{{"blGlyphLeft", blGlyphLeft}, {"blGlyphRight", blGlyphRight}, {"blGlyphTop", blGlyphTop}, {"blGlyphBottom", blGlyphBottom}}};
const TEnumNames BitBtnKindNames{{{"bkCustom", bkCustom}, {"bkOK", bkOK}, {"bkCancel", bkCancel}, {"bkHelp", bkHelp}, {"bkYes", bkYes},
                                  {"bkNo", bkNo}, {"bkClose", bkClose}, {"bkAbort", bkAbort}, {"bkRetry", bkRetry},
                                  {"bkIgnore", bkIgnore}, {"bkAll", bkAll}}};

namespace {

struct KindInfo {
    const char* caption;
    TModalResult result;
};

const KindInfo kKinds[] = {
    {"", mrNone},       {"OK", mrOk},         {"Cancel", mrCancel}, {"&Help", mrNone},    {"&Yes", mrYes},    {"&No", mrNo},
    {"&Close", mrNone}, {"Abort", mrAbort},   {"&Retry", mrRetry},  {"&Ignore", mrIgnore}, {"&All", mrAll},
};

constexpr UINT kTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

}  // namespace

TButtonLayoutResult CalcButtonLayout(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing) {
    const int w = client.right - client.left, h = client.bottom - client.top;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;  // glyph and text side by side
    POINT g{0, 0}, t{0, 0};
    if (across) {
        g.y = (h - glyph.cy + 1) / 2;
        t.y = (h - text.cy + 1) / 2;
    } else {
        g.x = (w - glyph.cx + 1) / 2;
        t.x = (w - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    const int room = across ? w : h;
    const int gs = across ? glyph.cx : glyph.cy;
    const int ts = across ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = spacing = (room - gs - ts) / 3;
        } else {
            margin = (room - gs - spacing - ts + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - margin - gs - ts) / 2;
    }
    switch (layout) {
    case blGlyphLeft: g.x = margin; t.x = g.x + gs + spacing; break;
    case blGlyphRight: g.x = w - margin - gs; t.x = g.x - spacing - ts; break;
    case blGlyphTop: g.y = margin; t.y = g.y + gs + spacing; break;
    case blGlyphBottom: g.y = h - margin - gs; t.y = g.y - spacing - ts; break;
    }
    TButtonLayoutResult r;
    r.glyphPos = POINT{client.left + g.x, client.top + g.y};
    r.textRect = RECT{client.left + t.x, client.top + t.y, client.left + t.x + text.cx, client.top + t.y + text.cy};
    return r;
}

void DrawButtonGlyph(HDC dc, TBitmap& glyph, int numGlyphs, POINT at, int cell, bool embossed) {
    if (numGlyphs < 1 || glyph.Empty()) return;
    const int cw = glyph.Width() / numGlyphs, ch = glyph.Height();
    if (cw <= 0 || ch <= 0) return;
    const int sx = (cell - 1) * cw;
    const COLORREF transparent = glyph.PixelColor(0, ch - 1);
    if (!embossed) {
        HDC src = glyph.Canvas().Handle();
        if (src) TransparentBlt(dc, at.x, at.y, cw, ch, src, sx, 0, cw, ch, transparent);
        return;
    }
    // A disabled look from a single cell: every drawn pixel as an engraving, light below
    // and to the right, shadow on top.
    const COLORREF light = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                if (glyph.PixelColor(sx + x, y) != transparent)
                    SetPixelV(dc, at.x + x + (pass == 0 ? 1 : 0), at.y + y + (pass == 0 ? 1 : 0), pass == 0 ? light : shadow);
}

// ---- TBitBtn -----------------------------------------------------------------------

const TClassInfo& TBitBtn::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TBitBtn>("TBitBtn", &TButton::StaticClassInfo(), [](TClassBuilder<TBitBtn>& b) {
        b.Creatable();
        b.Object("Glyph", [](TBitBtn& x) -> TObject* { return &x.Glyph(); });
        b.Int("NumGlyphs", [](TBitBtn& x) -> int64_t { return x.NumGlyphs(); }, [](TBitBtn& x, int64_t v) { x.SetNumGlyphs(static_cast<int>(v)); });
        b.Enum("Layout", ButtonLayoutNames, [](TBitBtn& x) -> int64_t { return x.Layout(); }, [](TBitBtn& x, int64_t v) { x.SetLayout(static_cast<TButtonLayout>(v)); });
        b.Int("Margin", [](TBitBtn& x) -> int64_t { return x.Margin(); }, [](TBitBtn& x, int64_t v) { x.SetMargin(static_cast<int>(v)); });
        b.Int("Spacing", [](TBitBtn& x) -> int64_t { return x.Spacing(); }, [](TBitBtn& x, int64_t v) { x.SetSpacing(static_cast<int>(v)); });
        b.Enum("Kind", BitBtnKindNames, [](TBitBtn& x) -> int64_t { return x.Kind(); }, [](TBitBtn& x, int64_t v) { x.SetKind(static_cast<TBitBtnKind>(v)); });
    });
    return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() {
    BeginDestruction();
    if (handle_) DestroyHandle();  // while the glyph still exists
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~static_cast<DWORD>(0x0F)) | BS_OWNERDRAW;  // the button type lives in the low four bits
}

void TBitBtn::SetGlyph(const TBitmap& glyph) {
    glyph_->Assign(glyph);
    if (!glyph_->Empty() && glyph_->Width() % glyph_->Height() == 0) {
        const int cells = glyph_->Width() / glyph_->Height();
        if (cells >= 1 && cells <= 4) numGlyphs_ = cells;
    }
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int n) {
    n = std::max(1, std::min(4, n));
    if (n != numGlyphs_) { numGlyphs_ = n; Invalidate(); }
}

void TBitBtn::SetLayout(TButtonLayout l) { if (l != layout_) { layout_ = l; Invalidate(); } }
void TBitBtn::SetMargin(int m) { m = std::max(-1, m); if (m != margin_) { margin_ = m; Invalidate(); } }
void TBitBtn::SetSpacing(int s) { s = std::max(-1, s); if (s != spacing_) { spacing_ = s; Invalidate(); } }

void TBitBtn::SetKind(TBitBtnKind k) {
    if (k == kind_) return;
    kind_ = k;
    if (k == bkCustom) return;
    const KindInfo& info = kKinds[k];
    SetDefault(k == bkOK || k == bkYes);
    SetCancel(k == bkCancel || k == bkNo);
    // A caption read from the stored form before the kind stays.
    if (!IsLoading() || Text().empty()) SetText(info.caption);
    SetModalResult(info.result);
}

void TBitBtn::Click() {
    if (kind_ == bkClose) {
        if (TCustomForm* form = parentForm()) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::SetButtonStyle(bool asDefault) {
    // The window stays owner-drawn: the default look is drawn, not set as a style.
    if (asDefault != showAsDefault_) {
        showAsDefault_ = asDefault;
        Invalidate();
    }
}

void TBitBtn::drawButton(HDC dc, const RECT& rect, UINT state) {
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool focused = (state & ODS_FOCUS) != 0;
    RECT r = rect;
    if (focused || showAsDefault_ || default_) {
        // The default button of its form: a dark line around the whole button.
        UniqueBrush frame(CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME)));
        if (frame) FrameRect(dc, &r, frame.get());
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | DFCS_ADJUSTRECT);
    {
        UniqueBrush face(CreateSolidBrush(ColorToRGB(color_)));
        if (face) FillRect(dc, &r, face.get());
    }
    const int offset = pressed ? 1 : 0;
    const std::string caption = Text();
    SelectGuard font(dc, font_.Handle());
    RECT measured{0, 0, r.right - r.left, 0};
    SIZE textSize{0, 0};
    if (!caption.empty()) {
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, kTextFlags | DT_CALCRECT);
        textSize = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    }
    SIZE glyphSize{0, 0};
    if (!glyph_->Empty()) glyphSize = SIZE{glyph_->Width() / numGlyphs_, glyph_->Height()};
    RECT client = r;
    OffsetRect(&client, offset, offset);
    const TButtonLayoutResult place = CalcButtonLayout(client, glyphSize, textSize, layout_, margin_, spacing_);
    if (glyphSize.cx > 0) {
        int cell = 1;
        if (disabled && numGlyphs_ >= 2) cell = 2;
        else if (pressed && numGlyphs_ >= 3) cell = 3;
        DrawButtonGlyph(dc, *glyph_, numGlyphs_, place.glyphPos, cell, disabled && numGlyphs_ < 2);
    }
    if (!caption.empty()) {
        RECT tr = place.textRect;
        SetBkMode(dc, TRANSPARENT);
        if (disabled) {
            OffsetRect(&tr, 1, 1);
            SetTextColor(dc, ColorToRGB(clBtnHighlight));
            DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, kTextFlags);
            OffsetRect(&tr, -1, -1);
            SetTextColor(dc, ColorToRGB(clBtnShadow));
        } else {
            SetTextColor(dc, ColorToRGB(font_.Color()));
        }
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, kTextFlags);
    }
    if (focused) {
        RECT fr = r;
        InflateRect(&fr, -2, -2);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &fr);
    }
}

void TBitBtn::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        SaveDcGuard saved(item.hDC);
        drawButton(item.hDC, item.rcItem, item.itemState);
        m.Result = TRUE;
        return;
    }
    case BM_SETSTYLE:  // from the dialog manager: keep the owner-drawn type
        SetButtonStyle((m.WParam & 0x0F) == BS_DEFPUSHBUTTON);
        m.Result = 0;
        return;
    case WM_LBUTTONDBLCLK: {
        // A quick second click is a second click, not a double-click notice.
        TMessage down{WM_LBUTTONDOWN, m.WParam, m.LParam, 0};
        DefaultHandler(down);
        m.Result = down.Result;
        return;
    }
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        TButton::WndProc(m);
        Invalidate();
        return;
    default:
        break;
    }
    TButton::WndProc(m);
}
