#include "skin/engine/InternalSkins.h"

#include <cstring>

#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/engine/SkinFile.h"
#include "skin/engine/SkinImageSyntax.h"

namespace {

std::wstring FontColorText(const int32_t (&colors)[5]) {
  std::wstring text;
  for (int i = 0; i < 5; ++i) {
    if (i) text += L' ';
    text += std::to_wstring(colors[i]);
  }
  return text;
}

void CopyGeneral(const TsGeneralData& r, TsSkinGeneral& g) {
  g.SectionName = r.SectionName;
  g.ParentClass = r.ParentClass;
  g.Color = r.Color;
  g.Bevel = r.Bevel;
  g.ShadowBlur = r.ShadowBlur;
  g.ShadowColor = r.ShadowColor;
  g.ShadowEnabled = r.ShadowEnabled;
  g.ReservedBoolean = r.ReservedBoolean;
  g.ShadowOffset = r.ShadowOffset;
  g.ShadowTransparency = r.ShadowTransparency;
  g.FontColor = FontColorText(r.FontColor);
  g.HotFontColor = FontColorText(r.HotFontColor);
  g.Transparency = r.Transparency;
  g.GradientPercent = r.GradientPercent;
  g.GradientData = r.GradientData;
  g.ImagePercent = r.ImagePercent;
  g.ShowFocus = r.ShowFocus;
  g.FadingEnabled = r.FadingEnabled;
  g.FadingIntervalIn = r.FadingIntervalIn;
  g.FadingIntervalOut = r.FadingIntervalOut;
  g.FadingIterations = r.FadingIterations;
  g.HotColor = r.HotColor;
  g.HotTransparency = r.HotTransparency;
  g.HotBevel = r.HotBevel;
  g.HotGradientPercent = r.HotGradientPercent;
  g.HotGradientData = r.HotGradientData;
  g.HotImagePercent = r.HotImagePercent;
  g.BorderColor1 = r.BorderColor1;
  g.BorderColor2 = r.BorderColor2;
  g.Name = r.SectionName;
}

}  // namespace

void StoredSkinFromOptions(TsStoredSkin& skin, const std::wstring& name,
                           const std::wstring& optionsText, const TBitmap& master) {
  skin.SetName(name);
  const TacSkinFile file{std::wstring_view(optionsText)};

  std::wstring version = Trim(file.ReadString(L"GLOBALINFO", L"VERSION", L"0"));
  wchar_t* end = nullptr;
  double v = std::wcstod(version.c_str(), &end);
  skin.Version = end && *end == 0 && !version.empty() ? v : 0;
  skin.Author = file.ReadString(L"GLOBALINFO", L"AUTHOR", L"");
  skin.Description = file.ReadString(L"GLOBALINFO", L"DESCRIPTION", L"");
  skin.Shadow1Color = static_cast<TColor>(file.ReadInteger(L"GLOBALINFO", L"SHADOW1COLOR", 0));
  skin.Shadow1Offset = file.ReadInteger(L"GLOBALINFO", L"SHADOW1OFFSET", 0);
  skin.Shadow1Blur = file.ReadInteger(L"GLOBALINFO", L"SHADOW1BLUR", -1);
  skin.Shadow1Transparency = file.ReadInteger(L"GLOBALINFO", L"SHADOW1TRANSPARENCY", 0);
  skin.BorderColor = static_cast<TColor>(file.ReadInteger(L"GLOBALINFO", L"BORDERCOLOR", 0));
  skin.MasterBitmap()->Assign(const_cast<TBitmap*>(&master));

  for (size_t s = 0; s < file.Sections().size(); ++s) {
    CopyGeneral(file.ReadGeneralData(static_cast<int>(s)), *skin.GeneralData()->Add());
    const TacSkinFile::Section& section = file.Sections()[s];
    for (const TacSkinFile::Key& key : *section.Keys) {
      wchar_t kind = ImageSyntaxOf(key.Value);
      if (kind != L'~' && kind != L'@' && kind != L'^') continue;
      TacImageDesc desc;
      if (!ParseImageValue(section.Name, key.Name, key.Value, desc)) continue;
      const TsMaskData& m = desc.Mask;
      TsSkinImage& item = *skin.Images()->Add();
      item.SectionName = m.SectionName;
      item.PropertyName = m.PropertyName;
      item.Left = m.R.left;
      item.Top = m.R.top;
      item.Right = m.R.right;
      item.Bottom = m.R.bottom;
      item.ImageCount = m.ImageCount;
      item.MaskType = m.MaskType;
      item.BorderWidth = m.BorderWidth;
      item.StretchMode = m.StretchMode;
      item.ImgType = m.ImgType;
      item.WL = m.WL;
      item.WT = m.WT;
      item.WR = m.WR;
      item.WB = m.WB;
    }
  }
}

namespace {

// Walks the runs of an embedded master bitmap, handing each run's pixel
// and length to put; false when the runs overrun the data or do not fill
// the bitmap exactly.
template <class Put>
bool WalkPixelRuns(const TacEmbeddedSkin& e, Put&& put) {
  const size_t total = static_cast<size_t>(e.Width) * e.Height;
  if (total == 0) return false;
  size_t pixel = 0, i = 0;
  while (i < e.PixelsSize) {
    unsigned n = e.Pixels[i++];
    if (n < 128) {
      size_t count = n + 1;
      if (i + count * 3 > e.PixelsSize || pixel + count > total) return false;
      for (size_t k = 0; k < count; ++k, i += 3) put(pixel++, e.Pixels + i, size_t{1});
    } else {
      size_t count = n - 126;
      if (i + 3 > e.PixelsSize || pixel + count > total) return false;
      put(pixel, e.Pixels + i, count);
      pixel += count;
      i += 3;
    }
  }
  return pixel == total;
}

void FillFromEmbedded(TsStoredSkin& skin, const TacEmbeddedSkin& e) {
  TBitmap master;
  if (!UnpackMasterBitmap(e, master)) return;  // checked when the skin was added
  std::wstring text = AnsiToWide(std::string(e.Options, e.OptionsSize), CP_ACP);
  StoredSkinFromOptions(skin, e.Name, text, master);
}

}  // namespace

bool UnpackMasterBitmap(const TacEmbeddedSkin& e, TBitmap& bmp) {
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(e.Width, e.Height);
  if (static_cast<size_t>(e.Width) * e.Height == 0) return false;
  auto* bits = static_cast<unsigned char*>(bmp.Bits());
  const size_t stride = static_cast<size_t>(bmp.Stride());
  return WalkPixelRuns(e, [&](size_t pixel, const unsigned char* p, size_t count) {
    for (size_t k = 0; k < count; ++k, ++pixel) {
      size_t y = pixel / e.Width, x = pixel % e.Width;
      std::memcpy(bits + y * stride + x * 3, p, 3);
    }
  });
}

void AddInternalSkins(TsStoredSkins& skins) {
  for (int i = 0; i < kEmbeddedSkinCount; ++i) {
    const TacEmbeddedSkin& e = kEmbeddedSkins[i];
    // Only the runs are checked now; the bitmap and the tables are made
    // when the skin is first used.
    if (!WalkPixelRuns(e, [](size_t, const unsigned char*, size_t) {})) continue;
    TsStoredSkin& skin = *skins.Add();
    skin.SetName(e.Name);
    skin.SetContentSource([&e](TsStoredSkin& s) { FillFromEmbedded(s, e); });
  }
}
