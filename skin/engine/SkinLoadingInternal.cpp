// Loading an internal skin: the stored skin's items become the manager's
// tables. Everything is copied, so the stored skin may change or go away
// while its copy is loaded.
#include <algorithm>

#include "framework/SysUtils.h"
#include "skin/engine/SkinFile.h"
#include "skin/engine/SkinImageSyntax.h"
#include "skin/engine/SkinLoad.h"
#include "skin/engine/SkinUtils.h"

namespace {

// Five integers separated by blanks, else text colour 0 and no contours.
void ParseFontColors(const std::wstring& text, int32_t (&colors)[5]) {
  static const int32_t kDefault[5] = {0, -1, -1, -1, -1};
  std::copy(kDefault, kDefault + 5, colors);
  if (text.empty() || WordCount(text, L" ") != 5) return;
  int32_t parsed[5];
  for (int i = 0; i < 5; ++i)
    if (!ParseSkinInt(ExtractWord(i + 1, text, L" "), parsed[i])) return;
  std::copy(parsed, parsed + 5, colors);
}

}  // namespace

void TsSkinManager::LoadInternalGeneralData(const TsStoredSkin& skin) {
  gd.clear();
  SkinData->Version = skin.Version;
  SkinData->Author = skin.Author;
  SkinData->Description = skin.Description;
  SkinData->Shadow1Color = skin.Shadow1Color;
  SkinData->Shadow1Offset = skin.Shadow1Offset;
  SkinData->Shadow1Blur = skin.Shadow1Blur;
  SkinData->Shadow1Transparency = skin.Shadow1Transparency;
  SkinData->BorderColor = skin.BorderColor;
  const TsSkinGenerals& items = *skin.GeneralData();
  gd.reserve(items.Count());
  for (int i = 0; i < items.Count(); ++i) {
    const TsSkinGeneral& g = *items.Items(i);
    TsGeneralData r;
    r.ParentClass = g.ParentClass;
    r.SectionName = g.SectionName;
    r.Color = g.Color;
    r.Bevel = BevelOf(g.Bevel);
    ParseFontColors(g.FontColor, r.FontColor);
    ParseFontColors(g.HotFontColor, r.HotFontColor);
    r.ReservedBoolean = g.ReservedBoolean;
    r.ShadowBlur = g.ShadowBlur;
    r.ShadowColor = g.ShadowColor;
    r.ShadowEnabled = g.ShadowEnabled;
    r.ShadowOffset = g.ShadowOffset;
    r.ShadowTransparency = ClampPercent(g.ShadowTransparency);
    r.Transparency = ClampPercent(g.Transparency);
    r.GradientPercent = ClampPercent(g.GradientPercent);
    r.GradientData = g.GradientData;
    ParseGradientQuietly(r.GradientData, r.GradientArray, L" ");
    r.ImagePercent = ClampPercent(g.ImagePercent);
    r.ShowFocus = g.ShowFocus;
    r.FadingEnabled = g.FadingEnabled;
    r.FadingIntervalIn = g.FadingIntervalIn;
    r.FadingIntervalOut = g.FadingIntervalOut;
    r.FadingIterations = g.FadingIterations;
    r.HotColor = g.HotColor;
    r.HotTransparency = ClampPercent(g.HotTransparency);
    r.HotBevel = BevelOf(g.HotBevel);
    r.HotGradientPercent = ClampPercent(g.HotGradientPercent);
    r.HotGradientData = g.HotGradientData;
    ParseGradientQuietly(r.HotGradientData, r.HotGradientArray, L"");
    r.HotImagePercent = ClampPercent(g.HotImagePercent);
    r.BorderColor1 = g.BorderColor1;
    r.BorderColor2 = g.BorderColor2;
    gd.push_back(std::move(r));
  }
}

void TsSkinManager::LoadInternalMasks(const TsStoredSkin& skin) {
  if (TBitmap* master = skin.MasterBitmap(); master && !master->Empty()) {
    MasterBitmap = std::make_unique<TBitmap>();
    MasterBitmap->Assign(master);
    MasterBitmap->SetPixelFormat(pf24bit);
    MasterBitmap->SetTransparentColor(clFuchsia);
    MasterBitmap->SetTransparent(true);
  }
  const int masterW = MasterBitmap ? MasterBitmap->Width() : 0;
  const int masterH = MasterBitmap ? MasterBitmap->Height() : 0;
  const TsSkinImages& items = *skin.Images();
  ma.reserve(ma.size() + items.Count());
  for (int i = 0; i < items.Count(); ++i) {
    const TsSkinImage& item = *items.Items(i);
    TsMaskData m;
    bool own = !item.Image->Empty() && !item.Name.empty();
    if (own) {
      m.Bmp = std::make_unique<TBitmap>();
      m.Bmp->Assign(item.Image.get());
      m.Bmp->SetPixelFormat(pf24bit);
    }
    m.SectionName = SkinUpper(item.SectionName);
    m.PropertyName = SkinUpper(item.PropertyName);
    m.ImageCount = static_cast<int16_t>(item.ImageCount);
    m.MaskType = static_cast<int16_t>(item.MaskType);
    if (m.ImageCount <= 0) {
      m.MaskType = 1;
      m.ImageCount = 3;
    }
    m.BorderWidth = static_cast<int16_t>(item.BorderWidth);
    if (m.PropertyName == L"PATTERN" || m.PropertyName == L"HOTPATTERN") {
      m.ImgType = itisaTexture;
      m.StretchMode = static_cast<int16_t>(item.ImgType == itisaTexture ? item.StretchMode : 0);
    } else {
      m.StretchMode = static_cast<int16_t>(item.StretchMode);
      m.ImgType = item.ImgType <= itisaGlyph ? item.ImgType : itisaBorder;
    }
    m.WL = static_cast<int16_t>(item.WL);
    m.WT = static_cast<int16_t>(item.WT);
    m.WR = static_cast<int16_t>(item.WR);
    m.WB = static_cast<int16_t>(item.WB);
    m.Manager = this;
    if (own) {
      m.R = MakeRect(0, 0, m.Bmp->Width(), m.Bmp->Height());
    } else {
      m.R = MakeRect(item.Left, item.Top, item.Right, item.Bottom);
      ClipToMaster(m, masterW, masterH);
    }
    DeriveBorderWidths(m);
    ma.push_back(std::move(m));
  }
}

void TsSkinManager::LoadInternalPatterns(const TsStoredSkin& skin) {
  const TsSkinPatterns& items = *skin.Patterns();
  for (int i = 0; i < items.Count(); ++i) {
    const TsSkinPattern& item = *items.Items(i);
    const TJPEGImage* picture = item.Image.get();
    if (picture->Empty()) {
      picture = nullptr;
      for (int j = 0; j < items.Count() && !picture; ++j)
        if (items.Items(j)->Name == item.Name && !items.Items(j)->Image->Empty())
          picture = items.Items(j)->Image.get();
    }
    auto copy = std::make_unique<TJPEGImage>();
    if (picture) copy->Assign(const_cast<TJPEGImage*>(picture));
    pa.push_back(TsPatternData{std::move(copy), SkinUpper(item.SectionName),
                               SkinUpper(item.PropertyName)});
  }
}
