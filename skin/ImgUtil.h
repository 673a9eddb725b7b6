// Bitmap and colour utilities the skin loader uses when it prepares a skin: grey,
// recolour, mirror, flip, rotate and copy bitmaps; blend colours; the process-wide cache
// of gradients and the gradient fill; colour saturation.  Drawing skin parts is in
// SkinPrimitives.h.
#pragma once
#include <windows.h>

#include <vector>

#include "Bitmap.h"
#include "Graphics.h"

// In place.  GrayBitmap and ReplaceKeyColor leave the bitmap 24-bit; the others keep its
// pixel format (colour tables included).  Empty bitmaps stay as they are.
void GrayBitmap(TBitmap& bitmap);               // each channel := (r + g + b) div 3
void ReplaceKeyColor(TBitmap& bitmap, TColor colour);  // exact magenta pixels get the colour
void MirrorBitmap(TBitmap& bitmap);             // left to right
void FlipBitmap(TBitmap& bitmap);               // top to bottom
void RotateBitmapLeft(TBitmap& bitmap);         // 90 degrees anticlockwise: (x, y) -> (y, W - 1 - x)
void RotateBitmapRight(TBitmap& bitmap);        // 90 degrees clockwise: (x, y) -> (H - 1 - y, x)

// Destination := the source's size, pixel format and picture.
void DuplicateBitmap(TBitmap& source, TBitmap& destination);

// weight < 100: per cent of c1; weight >= 100: per mille of c1 (150 = 15 per cent).
// Weights outside 0..1000 are taken as the nearest end.  System colours are resolved.
TColor BlendColors(TColor c1, TColor c2, int weight);

// The gradient cache: 16 slots used in turn, each holding the colours of one gradient,
// one per line.  Colours are compared as given (resolve system colours first).
int MakeGradient(int count, TColor start, TColor end);  // fills the next slot; returns it
int FindGradient(int count, TColor start, TColor end);  // a slot with this gradient, or -1
int GetGradient(int count, TColor start, TColor end);   // FindGradient, else MakeGradient
// The colours of a slot (empty for a slot never filled or out of range).
const std::vector<TColor>& GradientColors(int slot);

// Fills rect line by line from start to end: top to bottom when vertical, else left to
// right.  Only lines inside the DC's clip box are drawn.
void GradientFillRect(HDC dc, const RECT& rect, TColor start, bool vertical, TColor end);

// 0..255; 200 for colours whose channels are all below 160.
int ColorSaturation(TColor colour);
