// What one run of LoadSkin reads: a folder skin's file or a stored skin,
// and the manager's common sections.
#pragma once

#include <memory>
#include <string>

#include "skin/engine/SkinFile.h"
#include "skin/engine/SkinManager.h"

struct TsSkinManager::Load {
  std::unique_ptr<TacSkinFile> File;     // folder skin
  std::wstring Folder;                   // its folder, ending in "\"
  std::unique_ptr<TBitmap> Master;       // its master bitmap, when it names one
  const TsStoredSkin* Stored = nullptr;  // internal skin
  std::unique_ptr<TacSkinFile> Common;   // CommonSections, when it has lines
  bool Found() const { return File || Stored; }
};
