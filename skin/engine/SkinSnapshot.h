// The loaded skin's tables as they were before hue and saturation: a hue or
// saturation step recolours a copy of them instead of reading the skin again.
#pragma once

#include <memory>
#include <string>

#include "skin/engine/SkinManager.h"

struct TsSkinManager::Snapshot {
  std::wstring Key;  // what was loaded: the snapshot is only good for it
  std::unique_ptr<TBitmap> Master;
  TsGeneralDataArray Generals;
  TsMaskArray Masks;  // own bitmaps copied
  TsSkinData Header;
};
