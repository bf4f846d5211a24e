// Loading a skin: LoadSkin decides between a skin folder and an internal
// skin; the three loaders fill the image, picture and section tables. Skin
// failures are quiet: a value that does not parse, a file that is missing or
// cannot be decoded is skipped and the rest of the skin loads.
#include <utility>

#include "framework/Jpeg.h"
#include "framework/SysUtils.h"
#include "skin/engine/SkinImageSyntax.h"
#include "skin/engine/SkinLoad.h"
#include "skin/engine/SkinSnapshot.h"
#include "skin/engine/SkinUtils.h"

namespace {

// Small pictures become texture bitmaps at load.
constexpr long long kPatternMinPixels = 90000;

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
  return name.find(L':') != std::wstring::npos ? name : folder + name;
}

std::unique_ptr<TBitmap> LoadBitmapQuietly(const std::wstring& fileName) {
  if (!FileExists(fileName)) return nullptr;
  try {
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromFile(fileName);
    return bmp;
  } catch (const Exception&) {
    return nullptr;
  }
}

std::unique_ptr<TJPEGImage> LoadJpegQuietly(const std::wstring& fileName) {
  if (!FileExists(fileName)) return nullptr;
  try {
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromFile(fileName);
    if (jpeg->Width() < 1) return nullptr;
    return jpeg;
  } catch (const Exception&) {
    return nullptr;
  }
}

void MakeMaster(TBitmap& bmp) {
  bmp.SetPixelFormat(pf24bit);
  bmp.SetTransparentColor(clFuchsia);
  bmp.SetTransparent(true);
}

struct SkinFileScope {
  ~SkinFileScope() { SkinFile.reset(); }
};

}  // namespace

std::wstring TsSkinManager::LoadKey() const {
  std::wstring folder = GetFullSkinDirectory() + skinName_ + L"\\";
  bool isFolder = !skinName_.empty() && FileExists(folder + L"Options.dat");
  std::wstring key = isFolder ? L"folder:" + folder
                                                         : L"internal:" + skinName_;
  return key + L"\n" + commonSections_->Text();
}

// A folder is worn only when its description has sections with keys and
// the master bitmap it names can be read: a file of binary data, in an
// encoding we cannot read, or a bitmap that is missing, broken or too large
// would leave every window without frame or caption buttons. Such a folder
// is refused like one without a description.
bool TsSkinManager::OpenFolderSkin(const std::wstring& folder, Load& load) {
  try {
    SkinFile = std::make_unique<TMemIniFile>(folder + L"Options.dat");
    auto file = std::make_unique<TacSkinFile>(*SkinFile);
    if (file->HasUsableSections()) {
      std::wstring name = file->ReadString(L"GLOBALINFO", L"MASTERBITMAP", L"");
      std::unique_ptr<TBitmap> master;
      if (!name.empty()) master = LoadBitmapQuietly(InFolder(folder, name));
      if (name.empty() || master) {
        if (master) MakeMaster(*master);
        load.File = std::move(file);
        load.Folder = folder;
        load.Master = std::move(master);
        return true;
      }
    }
  } catch (const Exception&) {
    // A description that cannot be read, or a master bitmap too large to
    // convert, is refused the same way.
  }
  SkinFile.reset();
  return false;
}

void TsSkinManager::LoadSkin() {
  if (!active_) return;
  // A caller that set the flag clears it itself; a direct call leaves it as
  // it found it.
  struct LoadingFlag {
    bool saved = SkinLoading;
    ~LoadingFlag() { SkinLoading = saved; }
  } restoreFlag;
  SkinLoading = true;
  SkinFile.reset();
  SkinFileScope closeFile;
  Load load;
  try {
    std::wstring folder = GetFullSkinDirectory() + skinName_ + L"\\";
    if (!skinName_.empty() && FileExists(folder + L"Options.dat") && OpenFolderSkin(folder, load)) {
      SkinData->SkinPath = folder;
    } else {
      SkinData->SkinPath.clear();
      if (internalSkins_->Count() == 0) {
        active_ = false;  // nothing to load at all
        return;
      }
      if (internalSkins_->IndexOf(skinName_) < 0) skinName_ = internalSkins_->Items(0)->Name();
      load.Stored = internalSkins_->Items(internalSkins_->IndexOf(skinName_));
      load.Stored->EnsureContent();
    }
    if (commonSections_->Count() > 0) {
      TMemIniFile common;
      common.SetStrings(*commonSections_);
      load.Common = std::make_unique<TacSkinFile>(common);
    }
    load_ = &load;
    snapshot_.reset();
    LoadAllMasks();
    LoadAllPatterns();
    LoadAllGeneralData();
  } catch (...) {
    // A skin that fails half-way keeps what was loaded so far; the window
    // that asked for it opens all the same.
  }
  load_ = nullptr;
}

void TsSkinManager::FreeBitmaps() {
  ma.clear();
  MasterBitmap.reset();
}

void TsSkinManager::FreeJpegs() { pa.clear(); }

void TsSkinManager::AppendImage(const TacImageDesc& desc, const std::wstring& folder) {
  TsMaskData m;
  m.SectionName = desc.Mask.SectionName;
  m.PropertyName = desc.Mask.PropertyName;
  m.R = desc.Mask.R;
  m.ImageCount = desc.Mask.ImageCount;
  m.MaskType = desc.Mask.MaskType;
  m.BorderWidth = desc.Mask.BorderWidth;
  m.StretchMode = desc.Mask.StretchMode;
  m.ImgType = desc.Mask.ImgType;
  m.WL = desc.Mask.WL;
  m.WT = desc.Mask.WT;
  m.WR = desc.Mask.WR;
  m.WB = desc.Mask.WB;
  m.Manager = this;
  if (desc.OwnBitmap) {
    m.Bmp = LoadBitmapQuietly(InFolder(folder, desc.FileName));
    if (!m.Bmp || m.Bmp->Width() < 1) return;
    if (desc.Make24) m.Bmp->SetPixelFormat(pf24bit);
    FitOwnBitmap(m, m.Bmp->Width(), m.Bmp->Height());
  } else {
    ClipToMaster(m, MasterBitmap ? MasterBitmap->Width() : 0,
                 MasterBitmap ? MasterBitmap->Height() : 0);
  }
  if (desc.DeriveWidths) DeriveBorderWidths(m);
  ma.push_back(std::move(m));
}

void TsSkinManager::LoadAllMasks() {
  FreeBitmaps();
  if (!load_) return;
  if (load_->File) {
    const TacSkinFile& file = *load_->File;
    MasterBitmap = std::move(load_->Master);  // read when the folder was chosen
    for (const TacSkinFile::Section& section : file.Sections()) {
      bool global = SkinUpper(section.Name) == L"GLOBALINFO";
      for (const TacSkinFile::Key& key : *section.Keys) {
        if (key.Value.empty() || (global && key.Upper == L"MASTERBITMAP")) continue;
        TacImageDesc desc;
        if (ParseImageValue(section.Name, key.Name, key.Value, desc))
          AppendImage(desc, load_->Folder);
      }
    }
  } else if (load_->Stored) {
    LoadInternalMasks(*load_->Stored);
  }
  if (load_->Common && load_->Found()) {
    for (const TacSkinFile::Section& section : load_->Common->Sections()) {
      if (SkinUpper(section.Name) == L"GLOBALINFO") continue;
      for (const TacSkinFile::Key& key : *section.Keys) {
        TacImageDesc desc;
        if (!ParseImageValue(section.Name, key.Name, key.Value, desc)) continue;
        wchar_t kind = ImageSyntaxOf(key.Value);
        if (kind == L'#' && MasterBitmap) AppendImage(desc, SkinData->SkinPath);
        else if (kind == L'B') AppendImage(desc, SkinData->SkinPath);
      }
    }
  }
}

void TsSkinManager::LoadAllPatterns() {
  FreeJpegs();
  if (!load_) return;
  if (load_->File) {
    for (const TacSkinFile::Section& section : load_->File->Sections()) {
      for (const TacSkinFile::Key& key : *section.Keys) {
        if (!IsJpegValue(key.Value)) continue;
        auto jpeg = LoadJpegQuietly(InFolder(load_->Folder, key.Value));
        if (!jpeg) continue;
        if (static_cast<long long>(jpeg->Width()) * jpeg->Height() < kPatternMinPixels) {
          TsMaskData m;
          m.Bmp = jpeg->ToBitmap();
          m.SectionName = SkinUpper(section.Name);
          m.PropertyName = key.Upper;
          m.R = MakeRect(0, 0, m.Bmp->Width(), m.Bmp->Height());
          m.ImgType = itisaTexture;
          m.ImageCount = 1;
          m.Manager = this;
          ma.push_back(std::move(m));
        } else {
          pa.push_back(TsPatternData{std::move(jpeg), SkinUpper(section.Name), key.Upper});
        }
      }
    }
  } else if (load_->Stored) {
    LoadInternalPatterns(*load_->Stored);
  }
  if (load_->Common && load_->Found()) {
    for (const TacSkinFile::Section& section : load_->Common->Sections())
      for (const TacSkinFile::Key& key : *section.Keys) {
        if (!IsJpegValue(key.Value)) continue;
        if (auto jpeg = LoadJpegQuietly(InFolder(SkinData->SkinPath, key.Value)))
          pa.push_back(TsPatternData{std::move(jpeg), SkinUpper(section.Name), key.Upper});
      }
  }
}

void TsSkinManager::LoadAllGeneralData() {
  if (!load_) return;
  if (load_->File) {
    const TacSkinFile& file = *load_->File;
    std::wstring version = Trim(file.ReadString(L"GLOBALINFO", L"VERSION", L"0"));
    wchar_t* end = nullptr;
    double v = std::wcstod(version.c_str(), &end);
    SkinData->Version = end && *end == 0 && !version.empty() ? v : 0;
    SkinData->Author = file.ReadString(L"GLOBALINFO", L"AUTHOR", L"");
    SkinData->Description = file.ReadString(L"GLOBALINFO", L"DESCRIPTION", L"");
    SkinData->Shadow1Color = static_cast<TColor>(file.ReadInteger(L"GLOBALINFO", L"SHADOW1COLOR", 0));
    SkinData->Shadow1Offset = file.ReadInteger(L"GLOBALINFO", L"SHADOW1OFFSET", 0);
    SkinData->Shadow1Blur = file.ReadInteger(L"GLOBALINFO", L"SHADOW1BLUR", -1);
    SkinData->Shadow1Transparency = file.ReadInteger(L"GLOBALINFO", L"SHADOW1TRANSPARENCY", 0);
    SkinData->BorderColor = static_cast<TColor>(file.ReadInteger(L"GLOBALINFO", L"BORDERCOLOR", 0));
    gd.clear();
    gd.reserve(file.Sections().size());
    for (size_t s = 0; s < file.Sections().size(); ++s)
      gd.push_back(file.ReadGeneralData(static_cast<int>(s)));
  } else if (load_->Stored) {
    LoadInternalGeneralData(*load_->Stored);
  } else {
    return;
  }
  if (load_->Common) {
    const TacSkinFile& common = *load_->Common;
    for (size_t s = 0; s < common.Sections().size(); ++s) {
      std::wstring parent = SkinUpper(Trim(common.ReadString(common.Sections()[s].Name,
                                                             L"PARENTCLASS", L"")));
      const TsGeneralData* base = nullptr;
      static const TsGeneralData kDefaults;
      if (!parent.empty())
        for (const TsGeneralData& record : gd)
          if (SkinUpper(record.SectionName) == parent) {
            base = &record;
            break;
          }
      TsGeneralData record = common.ReadGeneralData(static_cast<int>(s), base ? base : &kDefaults);
      record.ParentClass = parent;
      gd.push_back(std::move(record));
    }
  }
  TakeSnapshot();
  ChangeHue(hueOffset_);
  ChangeSaturation(saturation_);
}

// ---------------------------------------------------------------- untransformed tables

namespace {

TsMaskData CloneMask(const TsMaskData& src) {
  TsMaskData m;
  if (src.Bmp) {
    m.Bmp = std::make_unique<TBitmap>();
    m.Bmp->Assign(src.Bmp.get());
  }
  m.SectionName = src.SectionName;
  m.PropertyName = src.PropertyName;
  m.R = src.R;
  m.ImageCount = src.ImageCount;
  m.MaskType = src.MaskType;
  m.BorderWidth = src.BorderWidth;
  m.StretchMode = src.StretchMode;
  m.ImgType = src.ImgType;
  m.Manager = src.Manager;
  m.WL = src.WL;
  m.WT = src.WT;
  m.WR = src.WR;
  m.WB = src.WB;
  return m;
}

void CopyHeader(const TsSkinData& src, TsSkinData& dst) {
  bool active = dst.Active;
  dst.SkinPath = src.SkinPath;
  dst.Version = src.Version;
  dst.Author = src.Author;
  dst.Description = src.Description;
  dst.Shadow1Color = src.Shadow1Color;
  dst.Shadow1Offset = src.Shadow1Offset;
  dst.Shadow1Blur = src.Shadow1Blur;
  dst.Shadow1Transparency = src.Shadow1Transparency;
  dst.BorderColor = src.BorderColor;
  dst.Active = active;
}

}  // namespace

void TsSkinManager::TakeSnapshot() {
  auto snap = std::make_unique<Snapshot>();
  snap->Key = LoadKey();
  if (MasterBitmap) {
    snap->Master = std::make_unique<TBitmap>();
    snap->Master->Assign(MasterBitmap.get());
  }
  snap->Generals = gd;
  snap->Masks.reserve(ma.size());
  for (const TsMaskData& m : ma) snap->Masks.push_back(CloneMask(m));
  CopyHeader(*SkinData, snap->Header);
  snapshot_ = std::move(snap);
}

bool TsSkinManager::RestoreSnapshot() {
  if (!snapshot_ || snapshot_->Key != LoadKey()) return false;
  if (snapshot_->Master) {
    if (!MasterBitmap) MasterBitmap = std::make_unique<TBitmap>();
    MasterBitmap->Assign(snapshot_->Master.get());
  } else {
    MasterBitmap.reset();
  }
  gd = snapshot_->Generals;
  ma.clear();
  ma.reserve(snapshot_->Masks.size());
  for (const TsMaskData& m : snapshot_->Masks) ma.push_back(CloneMask(m));
  CopyHeader(snapshot_->Header, *SkinData);
  return true;
}

void TsSkinManager::ReloadColours() {
  if (!active_) return;
  if (RestoreSnapshot()) {
    ChangeHue(hueOffset_);
    ChangeSaturation(saturation_);
  } else {
    LoadSkin();
  }
}
