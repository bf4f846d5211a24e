// The image syntaxes of skin-file values: "~" texture cells, "@" glyphs and
// "^" nine-part frames of the master bitmap in fixed columns, "!" own
// bitmaps with parameters, "#" rectangles in free form and plain ".BMP" file
// names. Parsing is pure; the loader fetches files and bitmaps.
#pragma once

#include <string>

#include "skin/engine/SkinData.h"

struct TacImageDesc {
  bool OwnBitmap = false;   // a file of its own, else a master rectangle
  std::wstring FileName;    // as written (own bitmaps)
  bool Make24 = true;       // own bitmap to be made 24-bit
  bool DeriveWidths = false;  // apply the border-width rule once R is known
  TsMaskData Mask;          // everything but Bmp and Manager
};

// What kind of value it is: 0 none, otherwise the syntax character
// ('~', '@', '^', '!', '#') or 'B' for a plain ".BMP" name.
wchar_t ImageSyntaxOf(const std::wstring& value);

// Parses one value of Section / Key. False when the value is no image or is
// malformed (short fixed columns, words that are not numbers, an "!" file
// without ".BMP" in upper case, an image kind outside 0 to 2).
bool ParseImageValue(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value, TacImageDesc& desc);

// The value names a JPEG picture (".JPG" or ".JPEG" in any case).
bool IsJpegValue(const std::wstring& value);

// Limits a master rectangle to the master bitmap's size (empty when there
// is no master) and turns a state count of 0 into 1.
void ClipToMaster(TsMaskData& mask, int masterWidth, int masterHeight);
// For own bitmaps: R is the whole image, a state count of 0 means three
// states over a mask.
void FitOwnBitmap(TsMaskData& mask, int width, int height);
// When all four border widths are 0: the border width when set, else a
// third of a cell.
void DeriveBorderWidths(TsMaskData& mask);
