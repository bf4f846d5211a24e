#include "skin/engine/StoredSkins.h"

void TsSkinImage::AssignFrom(const TsSkinImage& source) {
  if (&source == this) return;
  SectionName = source.SectionName;
  Image->Assign(source.Image.get());
  Name = source.Name;
  PropertyName = source.PropertyName;
  Left = source.Left;
  Top = source.Top;
  Right = source.Right;
  Bottom = source.Bottom;
  ImageCount = source.ImageCount;
  MaskType = source.MaskType;
  BorderWidth = source.BorderWidth;
  StretchMode = source.StretchMode;
  ImgType = source.ImgType;
  WL = source.WL;
  WR = source.WR;
  WT = source.WT;
  WB = source.WB;
}

void TsSkinPattern::AssignFrom(const TsSkinPattern& source) {
  if (&source == this) return;
  SectionName = source.SectionName;
  if (source.Image->Empty())
    Image = std::make_unique<TJPEGImage>();
  else
    Image->Assign(source.Image.get());
  Name = source.Name;
  PropertyName = source.PropertyName;
}

TsStoredSkin::TsStoredSkin()
    : masterBitmap_(std::make_unique<TBitmap>()),
      images_(std::make_unique<TsSkinImages>(this)),
      patterns_(std::make_unique<TsSkinPatterns>(this)),
      generalData_(std::make_unique<TsSkinGenerals>(this)) {}

TsStoredSkin::~TsStoredSkin() = default;

void TsStoredSkin::EnsureContent() const {
  if (!contentSource_) return;
  // Taken out first: the source fills the skin through its own getters.
  auto source = std::move(contentSource_);
  contentSource_ = nullptr;
  source(const_cast<TsStoredSkin&>(*this));
}

void TsStoredSkin::AssignFrom(const TsStoredSkin& source) {
  if (&source == this) return;
  source.EnsureContent();
  contentSource_ = nullptr;
  name_ = source.name_;
  masterBitmap_->Assign(source.masterBitmap_.get());
  images_->AssignFrom(*source.images_);
  patterns_->AssignFrom(*source.patterns_);
  generalData_->AssignFrom(*source.generalData_);
  Shadow1Color = source.Shadow1Color;
  Shadow1Offset = source.Shadow1Offset;
  Shadow1Blur = source.Shadow1Blur;
  Shadow1Transparency = source.Shadow1Transparency;
  BorderColor = source.BorderColor;
  Version = source.Version;
  Author = source.Author;
  Description = source.Description;
}

int TsStoredSkins::IndexOf(const std::wstring& name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == name) return i;
  return -1;
}
