#include "Graphics.h"

#include "Texts.h"

COLORREF ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault) return 0;
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

const TEnumNames ColorIdents{{
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream}, {"clMedGray", clMedGray},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground}, {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu}, {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk},
    {"clNone", clNone}, {"clDefault", clDefault},
}};

const TEnumNames CharsetIdents{{
    {"ANSI_CHARSET", ANSI_CHARSET}, {"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"SYMBOL_CHARSET", SYMBOL_CHARSET},
    {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}, {"HANGEUL_CHARSET", HANGEUL_CHARSET}, {"GB2312_CHARSET", GB2312_CHARSET},
    {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}, {"OEM_CHARSET", OEM_CHARSET},
}};

const TEnumNames CursorIdents{{
    {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSizeNESW", -6},
    {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10}, {"crHourGlass", -11},
    {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15}, {"crMultiDrag", -16},
    {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20}, {"crHandPoint", -21}, {"crSizeAll", -22},
}};

const TEnumNames FontStyleNames{{{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}}};

// ---- TFont -------------------------------------------------------------------------

const TClassInfo& TFont::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFont>("TFont", &TPersistent::StaticClassInfo(), [](TClassBuilder<TFont>& b) {
        b.Int("Charset", [](TFont& f) -> int64_t { return f.Charset(); }, [](TFont& f, int64_t v) { f.SetCharset(static_cast<int>(v)); }, &CharsetIdents);
        b.Int("Color", [](TFont& f) -> int64_t { return f.Color(); }, [](TFont& f, int64_t v) { f.SetColor(static_cast<TColor>(v)); }, &ColorIdents);
        b.Int("Height", [](TFont& f) -> int64_t { return f.Height(); }, [](TFont& f, int64_t v) { f.SetHeight(static_cast<int>(v)); });
        b.Str("Name", [](TFont& f) { return f.Name(); }, [](TFont& f, const std::string& v) { f.SetName(v); });
        b.Int("Size", [](TFont& f) -> int64_t { return f.Size(); }, [](TFont& f, int64_t v) { f.SetSize(static_cast<int>(v)); });
        b.Set("Style", FontStyleNames, [](TFont& f) -> int64_t { return f.Style(); }, [](TFont& f, int64_t v) { f.SetStyle(static_cast<TFontStyles>(v)); });
    });
    return info;
}

TFont::TFont() = default;

static int screenLogPixelsY() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

void TFont::changed() {
    handle_.reset();
    if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& v) { if (v != name_ && !v.empty()) { name_ = v; changed(); } }
void TFont::SetHeight(int v) { if (v != height_) { height_ = v; changed(); } }
int TFont::Size() const { return -MulDiv(height_, 72, screenLogPixelsY()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, screenLogPixelsY(), 72)); }
void TFont::SetColor(TColor v) { if (v != color_) { color_ = v; if (OnChange) OnChange(this); } }
void TFont::SetCharset(int v) { if (v != charset_) { charset_ = v; changed(); } }
void TFont::SetStyle(TFontStyles v) { if (v != style_) { style_ = v; changed(); } }

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & (1u << fsItalic)) ? 1 : 0;
        lf.lfUnderline = (style_ & (1u << fsUnderline)) ? 1 : 0;
        lf.lfStrikeOut = (style_ & (1u << fsStrikeOut)) ? 1 : 0;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.reset(CreateFontIndirectA(&lf));
    }
    return handle_.get();
}

void TFont::SetHandle(HFONT font) {
    LOGFONTA lf{};
    if (font && GetObjectA(font, sizeof lf, &lf)) {
        name_ = lf.lfFaceName;
        height_ = lf.lfHeight;
        charset_ = lf.lfCharSet;
        style_ = (lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0) | (lf.lfItalic ? 1u << fsItalic : 0) |
                 (lf.lfUnderline ? 1u << fsUnderline : 0) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0);
    }
    handle_.reset(font);
    if (OnChange) OnChange(this);
}

void TFont::Assign(const TPersistent& source) {
    if (const auto* f = dynamic_cast<const TFont*>(&source)) {
        if (f == this) return;
        name_ = f->name_;
        height_ = f->height_;
        color_ = f->color_;
        charset_ = f->charset_;
        style_ = f->style_;
        changed();
        return;
    }
    TPersistent::Assign(source);
}

// ---- TBrush / TPen -----------------------------------------------------------------

const TClassInfo& TBrush::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TBrush>("TBrush", &TPersistent::StaticClassInfo(), [](TClassBuilder<TBrush>& b) {
        b.Int("Color", [](TBrush& x) -> int64_t { return x.Color(); }, [](TBrush& x, int64_t v) { x.SetColor(static_cast<TColor>(v)); }, &ColorIdents);
    });
    return info;
}

void TBrush::changed() { handle_.reset(); if (OnChange) OnChange(this); }
void TBrush::SetColor(TColor c) { if (c != color_) { color_ = c; if (style_ == bsClear) style_ = bsSolid; changed(); } }
void TBrush::SetStyle(TBrushStyle s) { if (s != style_) { style_ = s; changed(); } }

HBRUSH TBrush::Handle() {
    if (!handle_) {
        LOGBRUSH lb{};
        lb.lbColor = ColorToRGB(color_);
        switch (style_) {
        case bsSolid: lb.lbStyle = BS_SOLID; break;
        case bsClear: lb.lbStyle = BS_HOLLOW; break;
        default: lb.lbStyle = BS_HATCHED; lb.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal); break;
        }
        handle_.reset(CreateBrushIndirect(&lb));
    }
    return handle_.get();
}

void TBrush::Assign(const TPersistent& source) {
    if (const auto* b = dynamic_cast<const TBrush*>(&source)) {
        color_ = b->color_;
        style_ = b->style_;
        changed();
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo& TPen::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TPen>("TPen", &TPersistent::StaticClassInfo(), [](TClassBuilder<TPen>& b) {
        b.Int("Color", [](TPen& x) -> int64_t { return x.Color(); }, [](TPen& x, int64_t v) { x.SetColor(static_cast<TColor>(v)); }, &ColorIdents);
        b.Int("Width", [](TPen& x) -> int64_t { return x.Width(); }, [](TPen& x, int64_t v) { x.SetWidth(static_cast<int>(v)); });
    });
    return info;
}

void TPen::changed() { handle_.reset(); if (OnChange) OnChange(this); }
void TPen::SetColor(TColor c) { if (c != color_) { color_ = c; changed(); } }
void TPen::SetWidth(int w) { if (w != width_) { width_ = w; changed(); } }
void TPen::SetStyle(int s) { if (s != style_) { style_ = s; changed(); } }
HPEN TPen::Handle() {
    if (!handle_) handle_.reset(CreatePen(style_, width_, ColorToRGB(color_)));
    return handle_.get();
}

// ---- TCanvas -----------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCanvas>("TCanvas", &TPersistent::StaticClassInfo(), [](TClassBuilder<TCanvas>&) {});
    return info;
}

TCanvas::TCanvas() {
    // A changed font, brush or pen is selected anew before the next drawing call.
    auto reselect = [this](TObject*) { if (dc_) selectObjects(); };
    font_.OnChange = reselect;
    brush_.OnChange = reselect;
    pen_.OnChange = reselect;
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    if (dc_) deselectObjects();
    dc_ = dc;
}

void TCanvas::selectObjects() {
    HGDIOBJ f = SelectObject(dc_, font_.Handle());
    HGDIOBJ b = SelectObject(dc_, brush_.Handle());
    HGDIOBJ p = SelectObject(dc_, pen_.Handle());
    if (!oldFont_) { oldFont_ = f; oldBrush_ = b; oldPen_ = p; }
    SetTextColor(dc_, ColorToRGB(font_.Color()));
    if (brush_.Style() == bsClear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorToRGB(brush_.Color()));
    }
}

void TCanvas::deselectObjects() {
    if (oldFont_) {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
        oldFont_ = oldBrush_ = oldPen_ = nullptr;
    }
}

void TCanvas::FillRect(const RECT& r) {
    if (!Handle()) return;
    selectObjects();
    ::FillRect(dc_, &r, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
    if (!Handle()) return;
    selectObjects();
    ::FrameRect(dc_, &r, brush_.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
    if (!Handle()) return;
    selectObjects();
    ::Rectangle(dc_, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) { if (Handle()) MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    if (!Handle()) return;
    selectObjects();
    ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!Handle()) return;
    selectObjects();
    ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
    if (!Handle()) return;
    selectObjects();
    ExtTextOutA(dc_, x, y, ETO_CLIPPED | (brush_.Style() == bsClear ? 0 : ETO_OPAQUE), &r, text.data(),
                static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE s{0, 0};
    if (!Handle()) return s;
    selectObjects();
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty() || !Handle()) return;
    RECT r{x, y, x + graphic.Width(), y + graphic.Height()};
    graphic.Draw(*this, r);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic& graphic) {
    if (graphic.Empty() || !Handle()) return;
    graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& src) {
    if (!Handle() || !source.Handle()) return;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.dc_, src.left, src.top,
               src.right - src.left, src.bottom - src.top, static_cast<DWORD>(CopyMode));
}

COLORREF TCanvas::Pixel(int x, int y) { return Handle() ? GetPixel(dc_, x, y) : CLR_INVALID; }
void TCanvas::SetPixel(int x, int y, TColor c) { if (Handle()) ::SetPixel(dc_, x, y, ColorToRGB(c)); }
