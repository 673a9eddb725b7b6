// Colours, fonts, brushes, pens and the canvas.  Pictures (TGraphic descendants such as
// TBitmap) live in Bitmap.h.
//
// Types: TColor and the cl* constants, TFontStyle, TFont, TBrush, TPen, TCanvas, TGraphic.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "Classes.h"
#include "Handles.h"

// A colour: 0x00BBGGRR, or a system colour as 0xFF000000 plus the GetSysColor index
// (negative as a signed 32-bit value), or clNone / clDefault.
using TColor = int32_t;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

// Resolves a system colour to its RGB value; other colours pass through (clNone and
// clDefault become black).
COLORREF ColorToRGB(TColor color);
// Colour and charset identifiers accepted by stored forms.
extern const TEnumNames ColorIdents;
extern const TEnumNames CharsetIdents;
extern const TEnumNames CursorIdents;

enum TFontStyle { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };
using TFontStyles = unsigned;  // bit mask of 1 << TFontStyle
extern const TEnumNames FontStyleNames;

// A font description and the font handle made from it (made on first use).
class TFont : public TPersistent {
    CLASS_INFO(TFont)
public:
    TFont();
    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    int Height() const { return height_; }
    void SetHeight(int v);
    int Size() const;            // points, from Height at the screen's resolution
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int Charset() const { return charset_; }
    void SetCharset(int v);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);
    HFONT Handle();              // owned by the font; valid until the next change
    void SetHandle(HFONT font);  // takes ownership; description read back from the font
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void changed();
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    TFontStyles style_ = 0;
    UniqueFont handle_;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TPersistent {
    CLASS_INFO(TBrush)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    HBRUSH Handle();  // owned by the brush
    void Assign(const TPersistent& source) override;
    TNotifyEvent OnChange;

private:
    void changed();
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    UniqueBrush handle_;
};

class TPen : public TPersistent {
    CLASS_INFO(TPen)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);
    int Style() const { return style_; }  // PS_* value
    void SetStyle(int s);
    HPEN Handle();
    TNotifyEvent OnChange;

private:
    void changed();
    TColor color_ = clBlack;
    int width_ = 1;
    int style_ = PS_SOLID;
    UniquePen handle_;
};

class TCanvas;

// A picture that can draw itself on a canvas.
class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;
};

// Drawing on a DC with the class library's font, brush and pen.  The canvas selects its
// objects into the DC when it draws and takes them out again when the DC is released.
class TCanvas : public TPersistent {
    CLASS_INFO(TCanvas)
public:
    TCanvas();
    ~TCanvas() override;
    HDC Handle();               // HandleNeeded: a descendant may make the DC on demand
    void SetHandle(HDC dc);     // borrow a DC (nullptr: release it and deselect objects)
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return font_; }
    TBrush& Brush() { return brush_; }
    TPen& Pen() { return pen_; }

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(int l, int t, int r, int b);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& r, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& r, TGraphic& graphic);
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& src);
    COLORREF Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);
    int CopyMode = SRCCOPY;

protected:
    virtual void CreateHandle() {}
    void selectObjects();
    void deselectObjects();

private:
    HDC dc_ = nullptr;
    HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
    TFont font_;
    TBrush brush_;
    TPen pen_;
};
