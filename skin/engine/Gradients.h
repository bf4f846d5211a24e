// Gradients of skin sections: the stops parsed from a section's
// ";"-separated gradient text and their painting as bands from top to bottom,
// bands from left to right, or four triangles through the centre.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"

struct TsGradStop {
  TColor Color1 = 0;
  TColor Color2 = 0;
  uint8_t Percent = 0;  // the band's share of the rectangle, 0 to 100
  int Mode = 0;         // only the first stop's value counts
  int Reserved = 0;     // the fifth field of the text, not used
};
using TsGradArray = std::vector<TsGradStop>;

// Empties GradArray and fills one stop per five words of the text (decimal or
// "$" hexadecimal integers); a word that is not an integer raises
// EConvertError. Words beyond a multiple of five are ignored.
void PrepareGradArray(const std::wstring& gradientStr, TsGradArray& gradArray);

// Paints the gradient into R of Bmp (R limited to the bitmap). Mode 0 and 1
// work on the pixels; mode 2 needs the bitmap's device context.
void PaintGrad(const TacBmpView& bmp, const TRect& r, const TsGradArray& gradArray,
               int unused, int offsetY);

// The colour's blue, green and red bytes, in the order they sit in a pixel.
struct TacPixel24 {
  uint8_t B = 0, G = 0, R = 0;
};
void SplitColor(TColor color, TacPixel24& pixel);
