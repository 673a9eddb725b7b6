// Free drawing helpers shared by the menu bar and the control skins: a text centred in a
// rectangle with an alignment table.  The helpers that take a control skin live with the
// control skins.
#pragma once
#include <windows.h>

#include <string>

#include "Graphics.h"
#include "StdCtrls.h"

// The text measured in one line and centred in rect both ways, whatever the alignment
// (which only picks the DrawText alignment flag of the line); a transparent background,
// no font style, and the button-shadow colour when not enabled.  Nothing without a DC.
void DrawCenteredText(TCanvas& canvas, const RECT& rect, const std::wstring& text, TAlignment alignment, bool enabled);

// Where DrawCenteredText puts a text of size (w, h) in rect (the platform measures it).
RECT CenteredTextRect(const RECT& rect, int w, int h);
