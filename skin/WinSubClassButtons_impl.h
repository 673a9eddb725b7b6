// Helpers the push-button painters share between their sources (not for other callers).
#pragma once
#include <windows.h>

#include <string>

class TBitmap;
class TObject;

namespace buttonskin {

// The text with its first "||" made a line break.
std::wstring ReplaceFirstBars(const std::wstring& text);
// Cell `cell` of a strip of numGlyphs equal cells at `at`, its bottom-left pixel taken as
// transparent; the disabled cell (2) is drawn grey.  A cell beyond the strip draws the
// first one; numGlyphs below 1 counts as 1.
void DrawGlyph(HDC dc, POINT at, int numGlyphs, int cell, TBitmap& glyph);
// The caption's size measured in bounds with DT_WORDBREAK; 0 x 0 for an empty caption.
SIZE MeasureCaption(HDC dc, const std::wstring& caption, const RECT& bounds);
// An enumeration or Boolean property of the object reads "True" (in any letter case).
bool PropIsTrue(TObject* object, const char* name);

}  // namespace buttonskin
