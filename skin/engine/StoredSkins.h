// Skins stored inside the program: the manager's InternalSkins collection.
// Each TsStoredSkin holds a whole skin (sections, images, pictures, master
// bitmap); loading copies from it, so the manager's tables never point into
// a stored skin.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "skin/engine/SkinConsts.h"

// A collection of items owned by it, with a fixed item class and an owner.
template <class Item, class OwnerT>
class TsCollection : public TPersistent {
 public:
  explicit TsCollection(OwnerT* owner) : owner_(owner) {}
  ~TsCollection() override { owner_ = nullptr; }
  TsCollection(const TsCollection&) = delete;
  TsCollection& operator=(const TsCollection&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  Item* Items(int index) const { return items_.at(index).get(); }
  Item* Add() {
    items_.push_back(std::make_unique<Item>());
    return items_.back().get();
  }
  void Clear() { items_.clear(); }
  void Delete(int index) { items_.erase(items_.begin() + index); }
  OwnerT* GetOwner() const { return owner_; }
  // Deep copy of another collection of the same kind.
  void AssignFrom(const TsCollection& source) {
    if (&source == this) return;
    items_.clear();
    for (const auto& item : source.items_) Add()->AssignFrom(*item);
  }

 private:
  OwnerT* owner_;
  std::vector<std::unique_ptr<Item>> items_;
};

// One section of a stored skin. FontColor and HotFontColor are texts of five
// integers separated by blanks (text colour, left, top, right, bottom
// contour colours). ShadowDontUse is kept but never taken into the tables.
class TsSkinGeneral : public TPersistent {
 public:
  std::wstring SectionName;
  std::wstring ParentClass;
  TColor Color = 0xFFFFFF;
  TsControlBevel Bevel = cbNone;
  int32_t ShadowBlur = 6;
  TColor ShadowColor = 0;
  bool ShadowDontUse = false;
  bool ShadowEnabled = false;
  bool ReservedBoolean = false;
  int32_t ShadowOffset = 3;
  int32_t ShadowTransparency = 50;
  std::wstring FontColor;
  std::wstring HotFontColor;
  int32_t Transparency = 0;
  int32_t GradientPercent = 0;
  std::wstring GradientData = L" ";
  int32_t ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int32_t FadingIntervalIn = 5;
  int32_t FadingIntervalOut = 5;
  int32_t FadingIterations = 5;
  TColor HotColor = 0xFFFFFF;
  int32_t HotTransparency = 0;
  TsControlBevel HotBevel = cbNone;
  int32_t HotGradientPercent = 0;
  std::wstring HotGradientData;
  int32_t HotImagePercent = 0;
  TColor BorderColor1 = 0;
  TColor BorderColor2 = 0;
  std::wstring Name;

  void AssignFrom(const TsSkinGeneral& source) { *this = source; }
};

// One image of a stored skin: a rectangle of the master bitmap, or (with a
// file Name) its own bitmap in Image.
class TsSkinImage : public TPersistent {
 public:
  TsSkinImage() : Image(std::make_unique<TBitmap>()) {}
  std::wstring SectionName;
  std::unique_ptr<TBitmap> Image;
  std::wstring Name;
  std::wstring PropertyName;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int ImageCount = 1;
  int MaskType = 0;
  int BorderWidth = 0;
  int StretchMode = 0;
  TacImgType ImgType = itisaBorder;
  int WL = 0, WR = 0, WT = 0, WB = 0;

  void AssignFrom(const TsSkinImage& source);
};

// One JPEG picture of a stored skin; items may share a picture by Name.
class TsSkinPattern : public TPersistent {
 public:
  TsSkinPattern() : Image(std::make_unique<TJPEGImage>()) {}
  std::wstring SectionName;
  std::unique_ptr<TJPEGImage> Image;
  std::wstring Name;
  std::wstring PropertyName;

  void AssignFrom(const TsSkinPattern& source);
};

class TsStoredSkin;
using TsSkinGenerals = TsCollection<TsSkinGeneral, TsStoredSkin>;
using TsSkinImages = TsCollection<TsSkinImage, TsStoredSkin>;
using TsSkinPatterns = TsCollection<TsSkinPattern, TsStoredSkin>;

class TsStoredSkin : public TPersistent {
 public:
  TsStoredSkin();
  ~TsStoredSkin() override;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value) {
    if (value != name_) name_ = value;
  }
  TsSkinGenerals* GeneralData() const { return EnsureContent(), generalData_.get(); }
  TsSkinImages* Images() const { return EnsureContent(), images_.get(); }
  TsSkinPatterns* Patterns() const { return EnsureContent(), patterns_.get(); }
  TBitmap* MasterBitmap() const { return EnsureContent(), masterBitmap_.get(); }
  // Setting a collection copies it.
  void SetGeneralData(const TsSkinGenerals& value) { GeneralData()->AssignFrom(value); }
  void SetImages(const TsSkinImages& value) { Images()->AssignFrom(value); }
  void SetPatterns(const TsSkinPatterns& value) { Patterns()->AssignFrom(value); }

  // A skin whose content (everything but its name) is made when first
  // asked for: a program that stores several skins needs their names at
  // start but unpacks only the one it loads.
  void SetContentSource(std::function<void(TsStoredSkin&)> source) {
    contentSource_ = std::move(source);
  }
  // Makes the content now when it is still to be made; the collections'
  // getters and AssignFrom do so themselves, readers of the public fields
  // below call it first.
  void EnsureContent() const;

  TColor Shadow1Color = 0;
  int32_t Shadow1Offset = 0;
  int32_t Shadow1Blur = -1;
  int32_t Shadow1Transparency = 0;
  TColor BorderColor = 0xFF00FF;  // clFuchsia
  double Version = 0;
  std::wstring Author;
  std::wstring Description;

  void AssignFrom(const TsStoredSkin& source);

 private:
  std::wstring name_;
  std::unique_ptr<TBitmap> masterBitmap_;
  std::unique_ptr<TsSkinImages> images_;
  std::unique_ptr<TsSkinPatterns> patterns_;
  std::unique_ptr<TsSkinGenerals> generalData_;
  mutable std::function<void(TsStoredSkin&)> contentSource_;
};

class TsSkinManager;

class TsStoredSkins : public TsCollection<TsStoredSkin, TsSkinManager> {
 public:
  using TsCollection::TsCollection;
  // First item whose Name equals Name exactly, -1 when none.
  int IndexOf(const std::wstring& name) const;
};
