// Bars of the default skin: scroll-bar arrows, grips, tracks and thumbs, the progress
// bar, status-bar panel edges, track-bar grooves and thumbs, tabs with their pane, and
// the column header.
#include "SkinDesign_impl.h"
#include "SkinPalette.h"

namespace skingen::design {

namespace pal = skingen::palette;

namespace {

constexpr int kScrollCell = 16;

enum class Arrow { Left, Right, Up, Down };

// A filled triangle 8 pixels wide and 4 deep pointing in the arrow's direction, centred
// in an n x n cell.
Shape ArrowShape(Arrow a, double n) {
    const double m = n / 2.0;
    switch (a) {
    case Arrow::Up: return PolygonShape({{m - 4, m + 2}, {m + 4, m + 2}, {m, m - 2}});
    case Arrow::Down: return PolygonShape({{m - 4, m - 2}, {m + 4, m - 2}, {m, m + 2}});
    case Arrow::Left: return PolygonShape({{m + 2, m - 4}, {m + 2, m + 4}, {m - 2, m}});
    case Arrow::Right: break;
    }
    return PolygonShape({{m - 2, m - 4}, {m - 2, m + 4}, {m + 2, m}});
}

Picture ScrollArrowCell(Arrow a, int state) {  // state: 0 normal, 1 pressed, 2 disabled, 3 hot
    const int n = kScrollCell;
    Canvas c(n, n);
    c.rect(0, 0, n, n, Solid(pal::kTrack));
    if (state == 1) c.fill(RoundRectShape(1, 1, n - 1, n - 1, 3), pal::kThumbPressed);
    if (state == 3) c.fill(RoundRectShape(1, 1, n - 1, n - 1, 3), pal::kThumb);
    const uint32_t glyph = state == 1 ? pal::kWhite : state == 2 ? pal::kGlyphDisabled : state == 3 ? pal::kText : pal::kGlyph;
    c.fill(ArrowShape(a, n), glyph);
    return c.flatten(pal::kTrack);
}

// Three ridges across the thumb, drawn over it with magenta around them.
Picture ScrollGripCell(bool verticalBar, int state) {  // state: 0 normal, 1 pressed, 2 hot
    const int n = kScrollCell;
    Canvas c(n, n);
    const uint32_t ridge = state == 1 ? Rgb(232, 238, 245) : state == 2 ? Rgb(96, 118, 146) : Rgb(132, 149, 170);
    for (int k = -2; k <= 2; k += 2) {
        if (verticalBar) c.hline(5, 10, n / 2 + k, ridge);
        else c.vline(n / 2 + k, 5, 10, ridge);
    }
    return c.flattenKeyed(pal::kThumb);
}

uint32_t ThumbColour(int state) {  // 0 normal, 1 pressed, 2 hot
    return state == 1 ? pal::kThumbPressed : state == 2 ? pal::kThumbHot : pal::kThumb;
}

}  // namespace

Picture ScrollbarCells() {
    std::vector<Picture> cells;
    for (Arrow a : {Arrow::Left, Arrow::Right, Arrow::Up, Arrow::Down})
        for (int state = 0; state < 4; ++state) cells.push_back(ScrollArrowCell(a, state));
    for (bool verticalBar : {false, true})
        for (int state = 0; state < 3; ++state) cells.push_back(ScrollGripCell(verticalBar, state));
    cells.push_back(Picture(kScrollCell, kScrollCell, kMagenta));  // cell 23 is never drawn
    return JoinCells(cells, false);
}

Picture ScrollTrack(bool vertical) {
    (void)vertical;  // the track is uniform; only the bar's direction differs
    const int n = kScrollCell;
    std::vector<Picture> cells;
    for (uint32_t colour : {pal::kTrack, Rgb(222, 228, 235), Rgb(244, 246, 248), pal::kTrack})
        cells.push_back(Picture(n, n, colour));
    return JoinCells(cells, false);
}

Picture ScrollThumb(bool vertical) {
    const int across = kScrollCell, along = 24;
    const int w = vertical ? across : along, h = vertical ? along : across;
    std::vector<Picture> cells;
    for (int state = 0; state < 3; ++state) {
        Canvas c(w, h);
        const Shape thumb = vertical ? RoundRectShape(3, 1, w - 3, h - 1, 4) : RoundRectShape(1, 3, w - 1, h - 3, 4);
        c.fill(thumb, ThumbColour(state));
        cells.push_back(c.flattenKeyed(pal::kTrack));
    }
    return JoinCells(cells, false);
}

Picture ProgressBar() {
    const int w = 24, h = 14;
    Canvas track(w, h);
    track.fill(RoundRectShape(0, 0, w, h, 3), pal::kBorder);
    track.fill(RoundRectShape(1, 1, w - 1, h - 1, 2), VerticalGradient(Rgb(240, 243, 247), pal::kWhite, 1, h - 1));
    Canvas bar(w, h);
    bar.fill(RoundRectShape(1, 1, w - 1, h - 1, 2), VerticalGradient(pal::kBarTop, pal::kBarBottom, 1, h - 1));
    bar.fill(RoundRectShape(2, 2, w - 2, 5, 1), pal::kWhite, 0.25);
    return JoinCells({track.flattenKeyed(pal::kFace), bar.flattenKeyed(pal::kWhite)}, false);
}

Picture ProgressChunk() {
    const int w = 10, h = 10;
    Canvas c(w, h);
    c.rect(0, 0, w - 2, h, VerticalGradient(pal::kBarTop, pal::kBarBottom, 0, h));
    return c.flattenKeyed(pal::kWhite);
}

Picture StatusBarEdges() {
    const int n = 12;
    std::vector<Picture> cells;
    for (int cell = 1; cell <= 3; ++cell) {
        Canvas c(n, n);
        c.rect(0, 0, n, n, Solid(pal::kFace));
        if (cell != 3) {
            const uint32_t topLeft = cell == 1 ? pal::kBorderLight : pal::kWhite;
            const uint32_t bottomRight = cell == 1 ? pal::kWhite : pal::kBorderLight;
            c.hline(0, n - 1, 0, topLeft);
            c.vline(0, 0, n - 1, topLeft);
            c.hline(1, n - 1, n - 1, bottomRight);
            c.vline(n - 1, 1, n - 1, bottomRight);
        } else {
            c.hline(0, n - 1, 0, pal::kBorderLight);  // the bar's top line only
        }
        cells.push_back(c.flatten(pal::kFace));
    }
    return JoinCells(cells, false);
}

Picture TrackGroove(bool vertical) {
    // The channel is copied opaque, so the rounded ends blend into the face colour.
    const int w = vertical ? 5 : 16, h = vertical ? 16 : 5;
    Canvas c(w, h);
    c.fill(RoundRectShape(0, 0, w, h, 2), pal::kBorder);
    c.fill(RoundRectShape(1, 1, w - 1, h - 1, 1), Rgb(220, 227, 234));
    return c.flatten(pal::kFace);
}

Picture TrackbarThumb(ThumbShape shape) {
    const bool across = shape == ThumbShape::Vert || shape == ThumbShape::Left || shape == ThumbShape::Right;
    const int w = across ? 20 : 11, h = across ? 11 : 20;
    const double W = w, H = h;
    // Outline and inside of each shape; the pointers point 6 pixels deep.
    std::vector<std::pair<double, double>> outer, inner;
    switch (shape) {
    case ThumbShape::Horz:
    case ThumbShape::Vert: break;
    case ThumbShape::Down:
        outer = {{0, 0}, {W, 0}, {W, H - 6}, {W / 2, H}, {0, H - 6}};
        inner = {{1, 1}, {W - 1, 1}, {W - 1, H - 6.4}, {W / 2, H - 1.4}, {1, H - 6.4}};
        break;
    case ThumbShape::Up:
        outer = {{W / 2, 0}, {W, 6}, {W, H}, {0, H}, {0, 6}};
        inner = {{W / 2, 1.4}, {W - 1, 6.4}, {W - 1, H - 1}, {1, H - 1}, {1, 6.4}};
        break;
    case ThumbShape::Right:
        outer = {{0, 0}, {W - 6, 0}, {W, H / 2}, {W - 6, H}, {0, H}};
        inner = {{1, 1}, {W - 6.4, 1}, {W - 1.4, H / 2}, {W - 6.4, H - 1}, {1, H - 1}};
        break;
    case ThumbShape::Left:
        outer = {{6, 0}, {W, 0}, {W, H}, {6, H}, {0, H / 2}};
        inner = {{6.4, 1}, {W - 1, 1}, {W - 1, H - 1}, {6.4, H - 1}, {1.4, H / 2}};
        break;
    }
    struct Look { uint32_t border, top, bottom; };
    const Look looks[] = {{Rgb(104, 128, 158), pal::kWhite, Rgb(216, 225, 235)},
                          {Rgb(104, 128, 158), pal::kWhite, Rgb(216, 225, 235)},
                          {pal::kFocus, Rgb(238, 244, 251), Rgb(204, 221, 240)},
                          {Rgb(84, 106, 134), Rgb(196, 210, 226), Rgb(214, 224, 236)},
                          {pal::kBorderDisabled, Rgb(242, 244, 246), Rgb(242, 244, 246)}};
    std::vector<Picture> cells;
    for (const Look& look : looks) {
        Canvas c(w, h);
        const Shape o = outer.empty() ? RoundRectShape(0, 0, W, H, 2.5) : PolygonShape(outer);
        const Shape i = inner.empty() ? RoundRectShape(1, 1, W - 1, H - 1, 1.5) : PolygonShape(inner);
        c.fill(o, look.border);
        c.fill(i, across ? HorizontalGradient(look.top, look.bottom, 1, w - 1) : VerticalGradient(look.top, look.bottom, 1, h - 1));
        cells.push_back(c.flattenKeyed(pal::kFace, 0.35));
    }
    return JoinCells(cells, false);
}

Picture Tabs() {
    // Tabs sit on the pane's top line.  The current tab (cells 2 and 5) is lighter and
    // carries an accent line along its top; the others start two rows lower.
    const int w = 40, h = 24;
    std::vector<Picture> cells;
    for (int cell = 1; cell <= 5; ++cell) {
        const bool current = cell == 2 || cell == 5;
        const double top = current ? 0 : 2;
        uint32_t border = pal::kBorder, fillTop = Rgb(241, 244, 247), fillBottom = Rgb(225, 231, 238);
        if (current) fillTop = pal::kWhite, fillBottom = pal::kFace;
        if (cell == 3) border = pal::kFocus, fillTop = Rgb(247, 250, 253), fillBottom = Rgb(232, 238, 245);
        if (cell == 4) border = pal::kBorderDisabled, fillTop = fillBottom = Rgb(238, 241, 244);
        Canvas c(w, h);
        c.fill(RoundRectShape(0, top, w, h + 4, 3), border);
        c.fill(RoundRectShape(1, top + 1, w - 1, h + 4, 2), VerticalGradient(fillTop, fillBottom, int(top) + 1, h));
        if (current) c.fill(Minus(RoundRectShape(0, 0, w, h + 4, 3), RectShape(0, 2, w, h)), pal::kAccent);
        cells.push_back(c.flattenKeyed(pal::kFace));
    }
    return JoinCells(cells, false);
}

Picture TabPane() {
    const int n = 12;
    Canvas c(n, n);
    c.rect(0, 0, n, n, Solid(pal::kBorder));
    c.rect(1, 1, n - 1, n - 1, Solid(pal::kFace));
    return c.flatten(pal::kFace);
}

Picture Headerbar() {
    const int w = 40, h = 22;
    struct Look { uint32_t top, bottom, line; };
    const Look looks[] = {{pal::kWhite, Rgb(236, 240, 245), pal::kBorderLight},
                          {Rgb(245, 249, 253), Rgb(222, 233, 245), pal::kSelectionBorder},
                          {Rgb(218, 227, 237), Rgb(228, 234, 241), pal::kBorder},
                          {Rgb(250, 251, 252), Rgb(243, 245, 248), pal::kBorderDisabled},
                          {Rgb(246, 249, 252), Rgb(230, 237, 245), pal::kBorderLight}};
    std::vector<Picture> cells;
    for (const Look& look : looks) {
        Canvas c(w, h);
        c.rect(0, 0, w, h, VerticalGradient(look.top, look.bottom, 0, h - 1));
        c.hline(0, w - 1, h - 1, look.line);
        c.vline(w - 1, 4, h - 5, pal::kBorderLight);  // column divider
        cells.push_back(c.flatten(pal::kWhite));
    }
    return JoinCells(cells, false);
}

}  // namespace skingen::design
