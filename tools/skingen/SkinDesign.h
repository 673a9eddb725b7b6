// The default skin, drawn by code: its definition text and every bitmap, as in-memory
// files ready for the container writer.  Also the description of every strip (section,
// key, file, cell count, orientation) so that the flat test skins can keep the same
// geometry and tests can check widths against cell counts.  Pure C++, no platform calls.
//
// Types: IniKey, IniSection, SkinStrip, SkinDesign.
//
// Cell meanings of the default skin (1-based, as the engine numbers them):
//   [Personality] Left, Right      2 cells side by side: 1 active window, 2 inactive.
//                 Top, Bottom      2 cells stacked: 1 active, 2 inactive.  The rounded
//                                  top corners are magenta in Left and Right (cut away by
//                                  the window region); Top and Bottom are opaque.
//                 menuBar          2 cells stacked: 1 active, 2 inactive.
//                 TextBack         2 cells: 1 active caption, 2 inactive (drawn only when
//                                  Textbackground is set; it is 0 here).
//   [Button...]   caption buttons  4 cells: 1 normal, 2 pressed, 3 hot, 4 inactive window.
//   [MDICONTROLS] 12 cells, three buttons of 4 (minimise, restore, close); per button
//                                  1 normal, 2 pressed, 3 inactive, 4 hot.
//   [Buttons]     Bitmap           5 cells: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
//                 CheckButton      12 cells: 1-4 unchecked, 5-8 checked, 9-12 mixed, each as
//                                  normal, hot, pressed, disabled.
//                 RadioButton      8 cells: 1-4 unchecked, 5-8 checked, each as normal,
//                                  hot, pressed, disabled.
//   [MenuItem]    5 cells: 1 normal (all magenta), 2 separator, 3 disabled (all magenta),
//                                  4 selected, 5 selected while disabled.
//   [MenuBackground] 1 cell; its outer 3 pixels are the popup frame.
//   [Scrollbar]   23 cells: 1-4 left arrow, 5-8 right, 9-12 up, 13-16 down (each normal,
//                                  pressed, disabled, hot); 17-19 horizontal thumb grip and
//                                  20-22 vertical grip (normal, pressed, hot; magenta
//                                  around the ridges); 23 unused (magenta).
//   [HorzScroll], [VertScroll] 4 cells: 1 enabled track, 2 pressed, 3 disabled, 4 hot.
//   [HorzScrollThumb], [VertScrollThumb] 3 cells: 1 normal, 2 pressed, 3 hot.
//   [Progress]    2 cells: 1 track, 2 bar.  [Progress.Chunk] 1 cell (used with Style 1).
//   [StatusBarEdges] 3 cells: 1 lowered, 2 raised, 3 no bevel.
//   [ComboButton], [SunkEdge] 4 cells: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
//   [ExtraImages] 5 cells: 1-4 drop-down arrow in the combo states, 5 size grip.
//   [GroupBox]    1 cell (caption background).  [GroupBoxEdge] 2 cells: 1 normal, 2 disabled.
//   [Tabs]        5 cells: 1 tab, 2 current tab, 3 hot, 4 disabled, 5 current and focused;
//                 Border 1 cell (the pane).  [Tab.Pane] 1 cell (the pane).
//   [Headerbar]   5 cells: 1 normal item and filler, 2 hot, 3 pressed, 4 disabled, 5 sorted.
//   [Trackbar.Thumb*] 5 cells: 1 normal, 2 normal (the one drawn), 3 hot, 4 pressed, 5 disabled.
//   [UpDown.Horz], [UpDown.Vert] 8 cells: 1-4 first button (left or up), 5-8 second
//                 (right or down), each normal, pressed, disabled, hot; GlyphImage the same.
//   [Track], [TRACKVERT] 1 cell each: the channel grooves.
#pragma once

#include <string>
#include <vector>

#include "SkinContainerWriter.h"
#include "SkinRaster.h"

namespace skingen {

constexpr const char* kDefinitionFileName = "skin.ini";

struct IniKey {
    std::string key;
    std::string value;
};

struct IniSection {
    std::string name;           // without brackets
    std::vector<IniKey> keys;   // in file order
    std::string comment;        // written as "; ..." lines above the header; may be empty
};

// One image of the skin and how the engine cuts it.
struct SkinStrip {
    std::string section;  // the section whose key names the image
    std::string key;      // "Image", "Bitmap", "ButtonImage", "CheckButton", "Left", ...
    std::string file;     // entry name, lower case, ending in ".bmp"
    int cells = 1;        // the cell count the model uses for this image
    bool stacked = false; // cells one above the other (frame Top and Bottom, menuBar)
    bool keyedCorners = false;  // its magenta pixels are frame corners cut by the window region
    Picture picture;
};

struct SkinDesign {
    std::vector<IniSection> sections;
    std::vector<SkinStrip> strips;

    // The definition text: CR LF line ends, sections in order.
    std::string definitionText() const;
    // The definition text first (the reader takes the first ".ini" entry), then one BMP per
    // strip in strip order.
    std::vector<SkinFileEntry> files() const;
    const IniSection* findSection(const std::string& name) const;  // case-insensitive
    const SkinStrip* findStrip(const std::string& section, const std::string& key) const;
};

// The default skin of the three programs.
SkinDesign DesignDefaultSkin();

// DesignDefaultSkin().files().
std::vector<SkinFileEntry> DefaultSkinFiles();

}  // namespace skingen
