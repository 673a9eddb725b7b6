// The window frame of the default skin: the four border parts cut from one painted model
// window, the caption text background, the menu bar, the caption buttons and the
// document-window buttons.  The caption title itself is drawn by the engine.
#include <cmath>

#include "SkinDesign_impl.h"
#include "SkinPalette.h"

namespace skingen::design {

namespace pal = skingen::palette;

namespace {

// The model window that the border parts are cut from: borders, both caption ends, and a
// few middle columns and rows that the engine stretches.
constexpr int kModelMiddle = 8;
constexpr int kModelWidth = 2 * kBorderWidth + 2 * kCaptionEndMargin + kModelMiddle;
constexpr int kModelHeight = kCaptionHeight + kModelMiddle + kFrameBottomMargin;

Picture ModelWindow(bool active) {
    const int w = kModelWidth, h = kModelHeight, r = kCornerRadius;
    const uint32_t edge = active ? pal::kFrameEdge : pal::kFrameEdgeInactive;
    const uint32_t inner = active ? pal::kFrameInner : pal::kFrameInnerInactive;
    const uint32_t highlight = active ? pal::kCaptionHighlight : pal::kCaptionHighlightInactive;
    Canvas c(w, h);
    // Rounded at the top only: the round rectangles run past the bottom edge.
    c.fill(RoundRectShape(0, 0, w, h + 2 * r, r), edge);
    c.fill(Minus(RoundRectShape(1, 1, w - 1, h + 2 * r, r - 1), RectShape(0, h - 1, w, h + 2 * r)),
           [active](int, int y) { return CaptionColour(y, active); });
    // A soft light line under the top edge, following the corners.
    c.fill(Minus(RoundRectShape(1, 1, w - 1, h + 2 * r, r - 1), RoundRectShape(1, 2, w - 1, h + 2 * r, r - 1)),
           highlight, 0.8);
    // The inner line around the client area and menu bar.
    const int b = kBorderWidth;
    c.hline(b - 1, w - b, kCaptionHeight - 1, inner);
    c.hline(b - 1, w - b, h - b, inner);
    c.vline(b - 1, kCaptionHeight - 1, h - b, inner);
    c.vline(w - b, kCaptionHeight - 1, h - b, inner);
    // Edge pixels that are at least half covered take the edge colour; the rest is cut.
    return c.flattenKeyed(edge, 0.5);
}

Picture JoinActiveInactive(Picture (*cut)(const Picture&), bool stacked) {
    return JoinCells({cut(ModelWindow(true)), cut(ModelWindow(false))}, stacked);
}

}  // namespace

uint32_t CaptionColour(int y, bool active) {
    const uint32_t top = active ? pal::kCaptionTop : pal::kCaptionTopInactive;
    const uint32_t bottom = active ? pal::kCaptionBottom : pal::kCaptionBottomInactive;
    if (y <= 1) return top;
    if (y >= kCaptionHeight - 1) return bottom;
    return Mix(bottom, top, double(y - 1) / (kCaptionHeight - 2));
}

Picture FrameLeft() {
    return JoinActiveInactive([](const Picture& m) { return m.crop(0, 0, kBorderWidth, kModelHeight); }, false);
}

Picture FrameRight() {
    return JoinActiveInactive(
        [](const Picture& m) { return m.crop(kModelWidth - kBorderWidth, 0, kBorderWidth, kModelHeight); }, false);
}

Picture FrameTop() {
    return JoinActiveInactive(
        [](const Picture& m) { return m.crop(kBorderWidth, 0, kModelWidth - 2 * kBorderWidth, kCaptionHeight); },
        true);
}

Picture FrameBottom() {
    return JoinActiveInactive(
        [](const Picture& m) {
            return m.crop(kBorderWidth, kModelHeight - kBorderWidth, kModelWidth - 2 * kBorderWidth, kBorderWidth);
        },
        true);
}

Picture CaptionTextBack() {
    std::vector<Picture> cells;
    for (bool active : {true, false}) {
        Picture cell(16, kCaptionHeight);
        for (int y = 0; y < kCaptionHeight; ++y)
            for (int x = 0; x < 16; ++x) cell.at(x, y) = CaptionColour(y, active);
        cells.push_back(cell);
    }
    return JoinCells(cells, false);
}

Picture MenuBar() {
    // Stretched to the menu height; the bottom line is two rows (the upper one half
    // strength) so that a line survives when the bar is a row shorter than the picture.
    const int w = 32, h = 20;
    std::vector<Picture> cells;
    for (bool active : {true, false}) {
        Canvas c(w, h);
        const uint32_t top = active ? pal::kMenuBarTop : Mix(pal::kMenuBarTop, pal::kMenuBar, 0.5);
        c.rect(0, 0, w, h, VerticalGradient(top, pal::kMenuBar, 0, h - 2));
        c.hline(0, w - 1, h - 2, pal::kBorderLight, 0.5);
        c.hline(0, w - 1, h - 1, pal::kBorderLight);
        cells.push_back(c.flatten(pal::kMenuBar));
    }
    return JoinCells(cells, true);
}

namespace {

// Draws a caption glyph centred on (cx, cy) in a cell; `scale` 1 for caption buttons,
// smaller for the document-window buttons.
void DrawGlyph(Canvas& c, CaptionGlyph glyph, int cx, int cy, uint32_t colour, bool small) {
    const int half = small ? 3 : 4;  // glyphs span 2 * half + 1 pixels
    const int l = cx - half, r = cx + half, t = cy - half, b = cy + half;
    switch (glyph) {
    case CaptionGlyph::Close: {
        const double w = small ? 1.4 : 1.6;
        c.fill(LineShape(l + 0.5, t + 0.5, r + 0.5, b + 0.5, w), colour);
        c.fill(LineShape(r + 0.5, t + 0.5, l + 0.5, b + 0.5, w), colour);
        break;
    }
    case CaptionGlyph::Maximise:
        c.hline(l, r, t, colour);
        c.hline(l, r, t + 1, colour);
        c.hline(l, r, b, colour);
        c.vline(l, t, b, colour);
        c.vline(r, t, b, colour);
        break;
    case CaptionGlyph::Restore: {
        const int s = small ? 2 : 3;  // offset of the back window
        // Back window: only the parts the front window does not cover.
        c.hline(l + s, r, t, colour);
        c.hline(l + s, r, t + 1, colour);
        c.vline(r, t, b - s, colour);
        c.hline(r - s + 1, r, b - s, colour);
        c.vline(l + s, t, t + s - 1, colour);
        // Front window.
        c.hline(l, r - s, t + s, colour);
        c.hline(l, r - s, t + s + 1, colour);
        c.hline(l, r - s, b, colour);
        c.vline(l, t + s, b, colour);
        c.vline(r - s, t + s, b, colour);
        break;
    }
    case CaptionGlyph::Minimise:
        c.hline(l, r, b - 1, colour);
        c.hline(l, r, b, colour);
        break;
    case CaptionGlyph::Help:
        c.pattern(cx - 3, cy - 5, {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."},
                  colour);
        break;
    }
}

}  // namespace

Picture CaptionButton(CaptionGlyph glyph) {
    const int w = kCaptionButtonWidth, h = kCaptionButtonHeight;
    const bool close = glyph == CaptionGlyph::Close;
    enum { Normal, Pressed, Hot, Inactive };
    std::vector<Picture> cells;
    for (int state : {Normal, Pressed, Hot, Inactive}) {
        const bool active = state != Inactive;
        Canvas c(w, h);
        const Shape face = RoundRectShape(0, 0, w, h, 3);
        if (state == Hot) {
            if (close) c.fill(face, pal::kCloseHot);
            else c.fill(face, pal::kWhite, 0.22);
        } else if (state == Pressed) {
            if (close) c.fill(face, pal::kClosePressed);
            else c.fill(face, Rgb(0, 0, 0), 0.18);
        }
        DrawGlyph(c, glyph, w / 2, h / 2, active ? pal::kCaptionGlyph : pal::kCaptionGlyphInactive, false);
        cells.push_back(c.flattenKeyed([active](int, int y) { return CaptionColour(kCaptionButtonTop + y, active); }));
    }
    return JoinCells(cells, false);
}

Picture MdiControls() {
    const int w = kMdiButtonWidth, h = kMdiButtonHeight;
    enum { Normal, Pressed, Inactive, Hot };
    std::vector<Picture> cells;
    for (CaptionGlyph glyph : {CaptionGlyph::Minimise, CaptionGlyph::Restore, CaptionGlyph::Close})
        for (int state : {Normal, Pressed, Inactive, Hot}) {
            Canvas c(w, h);
            const Shape face = RoundRectShape(0, 0, w, h, 2);
            const Shape inside = RoundRectShape(1, 1, w - 1, h - 1, 1);
            if (state == Hot) {
                c.fill(face, pal::kSelectionBorder);
                c.fill(inside, pal::kSelection);
            } else if (state == Pressed) {
                c.fill(face, pal::kFocus);
                c.fill(inside, pal::kSelectionBorder);
            }
            DrawGlyph(c, glyph, w / 2, h / 2, state == Inactive ? pal::kGlyphDisabled : pal::kText, true);
            cells.push_back(c.flattenKeyed(pal::kMenuBar));
        }
    return JoinCells(cells, false);
}

}  // namespace skingen::design
