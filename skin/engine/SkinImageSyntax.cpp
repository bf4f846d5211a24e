#include "skin/engine/SkinImageSyntax.h"

#include <algorithm>

#include "skin/engine/SkinFile.h"
#include "skin/engine/SkinUtils.h"

namespace {

// The number in `len` characters from 1-based column `col`; false when the
// value is too short or the field is not a number.
bool Column(const std::wstring& v, size_t col, size_t len, int& out) {
  if (v.size() < col - 1 + len) return false;
  return ParseSkinInt(v.substr(col - 1, len), out);
}

bool MasterRect(const std::wstring& v, TRect& r) {
  int l, t, rr, b;
  if (!Column(v, 2, 4, l) || !Column(v, 7, 4, t) || !Column(v, 12, 4, rr) ||
      !Column(v, 17, 4, b))
    return false;
  r = MakeRect(l, t, rr, b);
  return true;
}

bool Int16Field(int v, int16_t& field) {
  if (v < -32768 || v > 32767) return false;
  field = static_cast<int16_t>(v);
  return true;
}

bool ParseNumbers(const std::wstring& word, std::vector<int>& out) {
  out.clear();
  int n = WordCount(word, L", ");
  for (int i = 1; i <= n; ++i) {
    int v;
    if (!ParseSkinInt(ExtractWord(i, word, L", "), v)) return false;
    out.push_back(v);
  }
  return true;
}

}  // namespace

wchar_t ImageSyntaxOf(const std::wstring& value) {
  if (value.empty()) return 0;
  switch (value[0]) {
    case L'~': case L'@': case L'^': case L'!':
      return value[0];
    default:
      break;
  }
  if (value != L"#" && value.find(L'#') != std::wstring::npos) return L'#';
  if (SkinUpper(value).find(L".BMP") != std::wstring::npos) return L'B';
  return 0;
}

bool IsJpegValue(const std::wstring& value) {
  std::wstring u = SkinUpper(value);
  return u.find(L".JPG") != std::wstring::npos || u.find(L".JPEG") != std::wstring::npos;
}

bool ParseImageValue(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value, TacImageDesc& desc) {
  desc = TacImageDesc{};
  TsMaskData& m = desc.Mask;
  m.SectionName = section;
  m.PropertyName = key;
  int a, b, c, d;
  switch (ImageSyntaxOf(value)) {
    case L'~':
      if (!MasterRect(value, m.R) || !Column(value, 22, 2, a) || !Int16Field(a, m.StretchMode))
        return false;
      m.MaskType = 0;
      if (value.size() > 24) {
        if (!Column(value, 25, 1, b)) return false;
        m.MaskType = static_cast<int16_t>(b);
      }
      m.ImgType = itisaTexture;
      m.ImageCount = 1;
      return true;
    case L'@':
      if (!MasterRect(value, m.R) || !Column(value, 22, 1, a) || !Column(value, 24, 1, b))
        return false;
      m.ImageCount = static_cast<int16_t>(a);
      m.MaskType = static_cast<int16_t>(b);
      m.ImgType = itisaGlyph;
      return true;
    case L'^': {
      int w[4];
      if (!MasterRect(value, m.R)) return false;
      for (int i = 0; i < 4; ++i)
        if (!Column(value, 22 + 5 * i, 4, w[i])) return false;
      if (!Column(value, 42, 1, a) || !Column(value, 44, 1, b) || !Column(value, 46, 1, c) ||
          !Column(value, 48, 1, d))
        return false;
      m.WL = static_cast<int16_t>(w[0]);
      m.WT = static_cast<int16_t>(w[1]);
      m.WR = static_cast<int16_t>(w[2]);
      m.WB = static_cast<int16_t>(w[3]);
      m.ImageCount = static_cast<int16_t>(a);
      m.MaskType = static_cast<int16_t>(b);
      m.StretchMode = static_cast<int16_t>(c);
      m.BorderWidth = static_cast<int16_t>(d);
      m.ImgType = itisaBorder;
      desc.DeriveWidths = true;
      return true;
    }
    case L'!': {
      int words = WordCount(value, L"!");
      if (words < 4) return false;
      desc.FileName = ExtractWord(1, value, L"!");
      if (desc.FileName.find(L".BMP") == std::wstring::npos) return false;
      int kind;
      if (!ParseSkinInt(ExtractWord(2, value, L"!"), a) ||
          !ParseSkinInt(ExtractWord(3, value, L"!"), b) ||
          !ParseSkinInt(ExtractWord(4, value, L"!"), kind) || kind < 0 || kind > 2 ||
          !Int16Field(a, m.ImageCount) || !Int16Field(b, m.MaskType))
        return false;
      m.ImgType = static_cast<TacImgType>(kind);
      if (words > 4) {
        int w[4];
        for (int i = 0; i < 4; ++i)
          if (!ParseSkinInt(ExtractWord(5 + i, value, L"!"), w[i])) return false;
        m.WL = static_cast<int16_t>(w[0]);
        m.WT = static_cast<int16_t>(w[1]);
        m.WR = static_cast<int16_t>(w[2]);
        m.WB = static_cast<int16_t>(w[3]);
      } else {
        desc.DeriveWidths = true;
      }
      desc.OwnBitmap = true;
      desc.Make24 = m.ImgType != itisaTexture;
      return true;
    }
    case L'#': {
      std::vector<int> rect, params;
      if (!ParseNumbers(ExtractWord(2, value, L" ()"), rect) || rect.size() < 4 ||
          !ParseNumbers(ExtractWord(3, value, L" ()"), params) || params.size() < 2)
        return false;
      m.SectionName = SkinUpper(section);
      m.PropertyName = SkinUpper(key);
      m.R = MakeRect(rect[0], rect[1], rect[2], rect[3]);
      m.ImageCount = static_cast<int16_t>(std::clamp(params[0], 1, 32767));
      m.MaskType = static_cast<int16_t>(std::clamp(params[1], 0, 32767));
      m.BorderWidth = static_cast<int16_t>(params.size() > 2 ? std::clamp(params[2], 0, 32767) : 0);
      if (m.PropertyName == L"PATTERN" || m.PropertyName == L"HOTPATTERN") {
        m.ImgType = itisaTexture;
        m.StretchMode = 0;
      } else {
        m.ImgType = itisaBorder;
        m.StretchMode = static_cast<int16_t>(params.size() > 3 ? params[3] : 1);
      }
      desc.DeriveWidths = true;
      return true;
    }
    case L'B':
      m.SectionName = SkinUpper(section);
      m.PropertyName = SkinUpper(key);
      desc.OwnBitmap = true;
      desc.FileName = value;
      m.MaskType = 1;
      m.ImageCount = 3;
      m.ImgType = itisaBorder;
      desc.DeriveWidths = true;
      return true;
    default:
      return false;
  }
}

void ClipToMaster(TsMaskData& m, int w, int h) {
  m.R.left = std::clamp<LONG>(m.R.left, 0, w);
  m.R.top = std::clamp<LONG>(m.R.top, 0, h);
  m.R.right = std::clamp<LONG>(m.R.right, m.R.left, w);
  m.R.bottom = std::clamp<LONG>(m.R.bottom, m.R.top, h);
  if (m.ImageCount <= 0) m.ImageCount = 1;
  if (m.MaskType < 0) m.MaskType = 0;
}

void FitOwnBitmap(TsMaskData& m, int w, int h) {
  m.R = MakeRect(0, 0, w, h);
  if (m.ImageCount <= 0) {
    m.ImageCount = 3;
    m.MaskType = 1;
  }
  if (m.MaskType < 0) m.MaskType = 0;
}

void DeriveBorderWidths(TsMaskData& m) {
  if (m.WL != 0 || m.WT != 0 || m.WR != 0 || m.WB != 0) return;
  if (m.BorderWidth != 0) {
    m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
    return;
  }
  int count = m.ImageCount > 0 ? m.ImageCount : 1;
  int rows = m.MaskType >= 0 ? m.MaskType + 1 : 1;
  m.WL = m.WR = static_cast<int16_t>(WidthOf(m.R) / (count * 3));
  m.WT = m.WB = static_cast<int16_t>(HeightOf(m.R) / (rows * 3));
}
