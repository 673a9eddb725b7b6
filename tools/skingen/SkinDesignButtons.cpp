// Buttons of the default skin: push buttons, check and radio boxes, the combo box parts
// (frame, button, arrow glyphs and size grip), the group box parts and the up-down
// buttons.  Rounded shapes blend their edges into the face colour they are drawn on;
// everything outside them is magenta.
#include "SkinDesign_impl.h"
#include "SkinPalette.h"

namespace skingen::design {

namespace pal = skingen::palette;

namespace {

enum class State { Normal, Hot, Pressed, Disabled, Focused };

struct FaceLook {
    uint32_t border;
    uint32_t top;
    uint32_t bottom;
};

FaceLook ButtonLook(State s) {
    switch (s) {
    case State::Hot: return {pal::kFocus, pal::kWhite, Rgb(222, 234, 246)};
    case State::Pressed: return {Rgb(104, 128, 158), Rgb(204, 216, 229), Rgb(222, 229, 237)};
    case State::Disabled: return {pal::kBorderDisabled, Rgb(241, 244, 247), Rgb(241, 244, 247)};
    case State::Focused: return {pal::kFocus, pal::kWhite, Rgb(226, 232, 239)};
    case State::Normal: break;
    }
    return {pal::kBorder, pal::kWhite, Rgb(226, 232, 239)};
}

// A rounded face with a 1-pixel border and a vertical gradient inside.
void DrawFace(Canvas& c, double l, double t, double r, double b, double radius, const FaceLook& look) {
    c.fill(RoundRectShape(l, t, r, b, radius), look.border);
    c.fill(RoundRectShape(l + 1, t + 1, r - 1, b - 1, radius > 1 ? radius - 1 : 0),
           VerticalGradient(look.top, look.bottom, int(t) + 1, int(b) - 1));
}

uint32_t MarkColour(State s) {
    switch (s) {
    case State::Disabled: return pal::kGlyphDisabled;
    case State::Pressed: return pal::kText;
    case State::Hot: return pal::kAccent;
    default: return pal::kGlyph;
    }
}

// Box and circle looks of check and radio boxes.
FaceLook BoxLook(State s) {
    switch (s) {
    case State::Hot: return {pal::kFocus, Rgb(236, 243, 251), pal::kWhite};
    case State::Pressed: return {pal::kFocus, Rgb(210, 223, 238), Rgb(226, 234, 244)};
    case State::Disabled: return {pal::kBorderDisabled, Rgb(242, 244, 246), Rgb(242, 244, 246)};
    default: return {pal::kShadow, Rgb(243, 246, 249), pal::kWhite};
    }
}

const State kBoxStates[] = {State::Normal, State::Hot, State::Pressed, State::Disabled};

}  // namespace

Picture PushButtons() {
    const int w = 32, h = 24;
    std::vector<Picture> cells;
    for (State s : {State::Normal, State::Pressed, State::Disabled, State::Hot, State::Focused}) {
        Canvas c(w, h);
        DrawFace(c, 0, 0, w, h, 3, ButtonLook(s));
        if (s == State::Focused) c.fill(Minus(RoundRectShape(1, 1, w - 1, h - 1, 2), RoundRectShape(2, 2, w - 2, h - 2, 1)),
                                        pal::kSelectionBorder);
        else if (s != State::Pressed && s != State::Disabled)
            c.hline(3, w - 4, 1, pal::kWhite);  // a light top edge
        cells.push_back(c.flattenKeyed(pal::kFace));
    }
    return JoinCells(cells, false);
}

Picture CheckBoxes() {
    const int n = 13;
    std::vector<Picture> cells;
    for (int group = 0; group < 3; ++group)  // unchecked, checked, mixed
        for (State s : kBoxStates) {
            Canvas c(n, n);
            DrawFace(c, 0, 0, n, n, 2, BoxLook(s));
            const uint32_t mark = s == State::Disabled ? pal::kGlyphDisabled : pal::kAccent;
            if (group == 1) {
                c.fill(Union(LineShape(3.2, 6.6, 5.5, 9.0, 1.8), LineShape(5.5, 9.0, 9.9, 3.8, 1.8)), mark);
            } else if (group == 2) {
                c.fill(RoundRectShape(3.5, 3.5, 9.5, 9.5, 1), mark, 0.85);
            }
            cells.push_back(c.flattenKeyed(pal::kFace));
        }
    return JoinCells(cells, false);
}

Picture RadioButtons() {
    const int n = 13;
    const double m = n / 2.0;
    std::vector<Picture> cells;
    for (int group = 0; group < 2; ++group)  // unchecked, checked
        for (State s : kBoxStates) {
            Canvas c(n, n);
            const FaceLook look = BoxLook(s);
            c.fill(EllipseShape(m, m, m, m), look.border);
            c.fill(EllipseShape(m, m, m - 1, m - 1), VerticalGradient(look.top, look.bottom, 1, n - 1));
            if (group == 1)
                c.fill(EllipseShape(m, m, 2.7, 2.7), s == State::Disabled ? pal::kGlyphDisabled : pal::kAccent);
            cells.push_back(c.flattenKeyed(pal::kFace));
        }
    return JoinCells(cells, false);
}

Picture ComboButton() {
    // Drawn over the right end of the frame ([SunkEdge]); the outer two pixels at the top,
    // bottom and right stay magenta so that the frame's border and inner line show.
    const int w = 18, h = 21;
    std::vector<Picture> cells;
    for (State s : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
        Canvas c(w, h);
        uint32_t top = pal::kFaceLight, bottom = pal::kFace, line = pal::kBorderLight;
        if (s == State::Pressed) top = Rgb(204, 216, 229), bottom = Rgb(220, 228, 237), line = pal::kFocus;
        if (s == State::Disabled) top = bottom = Rgb(244, 246, 248), line = pal::kBorderDisabled;
        if (s == State::Hot) top = Rgb(236, 243, 251), bottom = Rgb(214, 227, 242), line = pal::kSelectionBorder;
        c.rect(1, 2, w - 2, h - 2, VerticalGradient(top, bottom, 2, h - 2));
        c.vline(0, 2, h - 3, line);
        cells.push_back(c.flattenKeyed(pal::kWhite));
    }
    return JoinCells(cells, false);
}

Picture SunkEdge() {
    const int n = 12;
    std::vector<Picture> cells;
    for (State s : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
        Canvas c(n, n);
        const uint32_t border = s == State::Disabled ? pal::kBorderDisabled : s == State::Normal ? pal::kBorder : pal::kFocus;
        const uint32_t inside = s == State::Disabled ? Rgb(245, 247, 249) : pal::kWhite;
        c.rect(0, 0, n, n, Solid(border));
        c.rect(1, 1, n - 1, n - 1, Solid(inside));
        cells.push_back(c.flatten(inside));
    }
    return JoinCells(cells, false);
}

Picture ExtraImages() {
    const int n = 12;
    std::vector<Picture> cells;
    for (State s : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
        Canvas c(n, n);
        c.fill(PolygonShape({{2.5, 4.0}, {9.5, 4.0}, {6.0, 8.0}}), MarkColour(s));
        cells.push_back(c.flattenKeyed(pal::kFace));
    }
    // Size grip: six 2 x 2 dots along the diagonal, each with a light pixel under it.
    Canvas grip(n, n);
    const int dots[][2] = {{9, 1}, {5, 5}, {9, 5}, {1, 9}, {5, 9}, {9, 9}};
    for (const auto& d : dots) {
        grip.rect(d[0] + 1, d[1] + 1, d[0] + 3, d[1] + 3, Solid(pal::kWhite));
        grip.rect(d[0], d[1], d[0] + 2, d[1] + 2, Solid(pal::kShadow));
    }
    cells.push_back(grip.flattenKeyed(pal::kFace));
    return JoinCells(cells, false);
}

Picture GroupBoxLabel() {
    Canvas c(16, 16);
    c.rect(0, 0, 16, 16, Solid(pal::kFace));
    return c.flatten(pal::kFace);
}

Picture GroupBoxEdge() {
    const int n = 16;
    std::vector<Picture> cells;
    for (uint32_t border : {pal::kShadow, pal::kBorderDisabled}) {
        Canvas c(n, n);
        c.fill(Minus(RoundRectShape(0, 0, n, n, 4), RoundRectShape(1, 1, n - 1, n - 1, 3)), border);
        cells.push_back(c.flattenKeyed(pal::kFace, 0.3));
    }
    return JoinCells(cells, false);
}

Picture UpDownFaces(bool vertical) {
    const int w = vertical ? 16 : 10, h = vertical ? 10 : 16;
    std::vector<Picture> cells;
    for (int button = 0; button < 2; ++button)
        for (State s : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
            Canvas c(w, h);
            DrawFace(c, 0, 0, w, h, 2, ButtonLook(s));
            cells.push_back(c.flattenKeyed(pal::kWhite));
        }
    return JoinCells(cells, false);
}

Picture UpDownGlyphs(bool vertical) {
    const int w = vertical ? 9 : 6, h = vertical ? 6 : 9;
    std::vector<Picture> cells;
    for (int button = 0; button < 2; ++button)
        for (State s : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
            Canvas c(w, h);
            Shape arrow;
            if (vertical)
                arrow = button == 0 ? PolygonShape({{0.5, 5.0}, {8.5, 5.0}, {4.5, 1.0}})
                                    : PolygonShape({{0.5, 1.0}, {8.5, 1.0}, {4.5, 5.0}});
            else
                arrow = button == 0 ? PolygonShape({{5.0, 0.5}, {5.0, 8.5}, {1.0, 4.5}})
                                    : PolygonShape({{1.0, 0.5}, {1.0, 8.5}, {5.0, 4.5}});
            c.fill(arrow, MarkColour(s));
            cells.push_back(c.flattenKeyed(Rgb(236, 240, 245)));
        }
    return JoinCells(cells, false);
}

}  // namespace skingen::design
