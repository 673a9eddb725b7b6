// Painters of the default skin's strips, one function per image, grouped by file:
// SkinDesignFrame.cpp (window frame, caption, caption buttons, menu bar),
// SkinDesignMenus.cpp (popup menus), SkinDesignButtons.cpp (buttons, check and radio
// boxes, combo box, group box, up-down), SkinDesignBars.cpp (scroll bars, progress,
// status bar, track bar, tabs, header).  SkinDesign.cpp assembles them with their keys.
// Each painter returns the whole strip with its cells already joined.
#pragma once

#include "SkinRaster.h"

namespace skingen::design {

// Window frame geometry.  The caption is 30 pixels high, the side and bottom borders 4
// wide; the top corners are rounded with a radius of 7, which reaches past the 4-pixel
// side border into the caption part, so the caption part keeps 8 unscaled pixels at each
// end.
constexpr int kCaptionHeight = 30;
constexpr int kBorderWidth = 4;
constexpr int kCornerRadius = 7;
constexpr int kCaptionEndMargin = 8;
constexpr int kFrameBottomMargin = 4;  // unscaled rows at the bottom of the side parts

// Caption buttons: 26 x 20 cells placed 5 pixels below the top edge.
constexpr int kCaptionButtonWidth = 26;
constexpr int kCaptionButtonHeight = 20;
constexpr int kCaptionButtonTop = 5;
// Document-window buttons shown in the menu bar: 16 x 14 cells.
constexpr int kMdiButtonWidth = 16;
constexpr int kMdiButtonHeight = 14;

enum class CaptionGlyph { Close, Maximise, Restore, Minimise, Help };

// Colour of caption row y (0 = the window's top edge) of an active or inactive window;
// the caption buttons blend their edges into it.
uint32_t CaptionColour(int y, bool active);

Picture FrameLeft();
Picture FrameRight();
Picture FrameTop();
Picture FrameBottom();
Picture CaptionTextBack();
Picture MenuBar();
Picture CaptionButton(CaptionGlyph glyph);
Picture MdiControls();

Picture MenuItem();
Picture MenuBackground();

Picture PushButtons();
Picture CheckBoxes();
Picture RadioButtons();
Picture ComboButton();
Picture SunkEdge();
Picture ExtraImages();
Picture GroupBoxLabel();
Picture GroupBoxEdge();
Picture UpDownFaces(bool vertical);
Picture UpDownGlyphs(bool vertical);

Picture ScrollbarCells();
Picture ScrollTrack(bool vertical);
Picture ScrollThumb(bool vertical);
Picture ProgressBar();
Picture ProgressChunk();
Picture StatusBarEdges();
Picture TrackGroove(bool vertical);
enum class ThumbShape { Horz, Vert, Left, Right, Up, Down };
Picture TrackbarThumb(ThumbShape shape);
Picture Tabs();
Picture TabPane();
Picture Headerbar();

}  // namespace skingen::design
