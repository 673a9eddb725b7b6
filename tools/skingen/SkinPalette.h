// The colours of the default skin: one slate-blue accent, light grey-blue faces, white
// client areas and dark slate text.  Every image painter and the [Colours] section take
// their colours from here, so the pictures and the colours the engine fills with agree.
#pragma once

#include "SkinRaster.h"

namespace skingen::palette {

// Text.
constexpr uint32_t kText = Rgb(30, 40, 51);
constexpr uint32_t kTextDisabled = Rgb(128, 141, 156);
constexpr uint32_t kTitleActive = Rgb(255, 255, 255);
constexpr uint32_t kTitleInactive = Rgb(74, 86, 101);

// Faces and lines.
constexpr uint32_t kWhite = Rgb(255, 255, 255);
constexpr uint32_t kFace = Rgb(230, 235, 241);         // ButtonFace: dialogs, panels, bars
constexpr uint32_t kFaceLight = Rgb(244, 247, 250);
constexpr uint32_t kShadow = kTextDisabled;            // ButtonShadow: disabled menu text, group frames
constexpr uint32_t kDarkShadow = Rgb(75, 88, 102);
constexpr uint32_t kBorder = Rgb(154, 168, 184);       // control outlines
constexpr uint32_t kBorderLight = Rgb(196, 205, 215);
constexpr uint32_t kBorderDisabled = Rgb(192, 200, 209);
constexpr uint32_t kFocus = Rgb(84, 124, 170);         // outlines of hot and focused controls
constexpr uint32_t kAccent = Rgb(74, 106, 145);        // marks: ticks, dots, arrows when hot
constexpr uint32_t kGlyph = Rgb(72, 86, 102);          // arrows and marks at rest
constexpr uint32_t kGlyphDisabled = Rgb(178, 188, 199);

// Caption and frame, active window.
constexpr uint32_t kCaptionTop = Rgb(102, 131, 168);
constexpr uint32_t kCaptionBottom = Rgb(66, 96, 135);
constexpr uint32_t kCaptionHighlight = Rgb(138, 163, 195);
constexpr uint32_t kFrameEdge = Rgb(40, 61, 90);
constexpr uint32_t kFrameInner = Rgb(52, 78, 112);
// Caption and frame, inactive window.
constexpr uint32_t kCaptionTopInactive = Rgb(205, 213, 223);
constexpr uint32_t kCaptionBottomInactive = Rgb(181, 193, 207);
constexpr uint32_t kCaptionHighlightInactive = Rgb(225, 231, 238);
constexpr uint32_t kFrameEdgeInactive = Rgb(133, 147, 164);
constexpr uint32_t kFrameInnerInactive = Rgb(154, 167, 183);

// Caption buttons.
constexpr uint32_t kCaptionGlyph = Rgb(244, 247, 250);
constexpr uint32_t kCaptionGlyphInactive = Rgb(96, 109, 125);
constexpr uint32_t kCloseHot = Rgb(196, 80, 72);
constexpr uint32_t kClosePressed = Rgb(160, 60, 54);

// Menus.
constexpr uint32_t kMenuBarTop = Rgb(244, 247, 250);
constexpr uint32_t kMenuBar = Rgb(236, 240, 245);      // Menubar colour: bottom of the bar
constexpr uint32_t kMenu = Rgb(251, 252, 253);         // popup background
constexpr uint32_t kMenuBorder = Rgb(143, 158, 177);
constexpr uint32_t kSelection = Rgb(212, 225, 240);    // Hilight: selected items
constexpr uint32_t kSelectionBorder = Rgb(160, 186, 216);
constexpr uint32_t kSelectionText = Rgb(21, 38, 58);   // HilightText: dark on the light selection
constexpr uint32_t kMenuHotFrame = Rgb(127, 155, 190); // ButtonHilight: frame of a hot menu-bar item

// Scroll bars.
constexpr uint32_t kTrack = Rgb(238, 241, 245);        // Scrollbar colour
constexpr uint32_t kThumb = Rgb(190, 201, 214);
constexpr uint32_t kThumbHot = Rgb(160, 178, 200);
constexpr uint32_t kThumbPressed = Rgb(124, 148, 178);

// Progress.
constexpr uint32_t kBarTop = Rgb(128, 160, 199);
constexpr uint32_t kBarBottom = Rgb(80, 114, 156);

}  // namespace skingen::palette
