// The five skins built into the program. A build-time generator draws them
// and embeds each as an Options.dat text and a packed master bitmap; at
// start they become the stored skins of a manager's InternalSkins.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "skin/engine/StoredSkins.h"

struct TacEmbeddedSkin {
  const wchar_t* Name;
  const char* Options;  // Options.dat text (ASCII)
  size_t OptionsSize;
  int Width, Height;     // of the master bitmap
  const unsigned char* Pixels;  // runs of blue-green-red pixels, top row first
  size_t PixelsSize;
};

extern const TacEmbeddedSkin kEmbeddedSkins[];
extern const int kEmbeddedSkinCount;

// Makes a stored skin from a skin description and its master bitmap: every
// section, the header of "GLOBALINFO", and every image that is a rectangle
// of the master bitmap ("~", "@", "^" values).
void StoredSkinFromOptions(TsStoredSkin& skin, const std::wstring& name,
                           const std::wstring& optionsText, const TBitmap& master);
// Unpacks an embedded master bitmap into a 24-bit bitmap; false when the
// data does not fill it exactly.
bool UnpackMasterBitmap(const TacEmbeddedSkin& embedded, TBitmap& bmp);
// Appends the built-in skins, in their order, to a manager's collection;
// each one's bitmap and tables are unpacked when it is first used.
void AddInternalSkins(TsStoredSkins& skins);
