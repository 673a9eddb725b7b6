// Popup menus of the default skin: the item strip (transparent except for the selection
// and the separator line) and the popup background with its 3-pixel frame.
#include "SkinDesign_impl.h"
#include "SkinPalette.h"

namespace skingen::design {

namespace pal = skingen::palette;

Picture MenuItem() {
    const int w = 32, h = 22;
    std::vector<Picture> cells;
    for (int cell = 1; cell <= 5; ++cell) {
        Canvas c(w, h);
        if (cell == 2) {
            // The engine takes the bottom rows of this cell when the separator is shorter
            // than the cell (8 rows for a raw menu), so the line sits in rows h-5 and h-4.
            c.hline(4, w - 5, h - 5, pal::kBorderLight);
            c.hline(4, w - 5, h - 4, pal::kWhite);
        } else if (cell == 4 || cell == 5) {
            const bool enabled = cell == 4;
            c.fill(RoundRectShape(2, 0, w - 2, h, 3), enabled ? pal::kSelectionBorder : pal::kBorderLight);
            c.fill(RoundRectShape(3, 1, w - 3, h - 1, 2),
                   enabled ? VerticalGradient(Mix(pal::kWhite, pal::kSelection, 0.35), pal::kSelection, 1, h - 1)
                           : Solid(pal::kFaceLight));
        }
        cells.push_back(c.flattenKeyed(pal::kMenu));
    }
    return JoinCells(cells, false);
}

Picture MenuBackground() {
    const int w = 24, h = 24;
    Canvas c(w, h);
    c.rect(0, 0, w, h, Solid(pal::kMenuBorder));
    c.rect(1, 1, w - 1, h - 1, Solid(pal::kMenu));
    return c.flatten(pal::kMenu);
}

}  // namespace skingen::design
