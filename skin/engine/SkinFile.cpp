#include "skin/engine/SkinFile.h"

#include <algorithm>
#include <cstdint>

#include "framework/SysUtils.h"

bool ParseSkinInt(const std::wstring& text, int& value) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= L' ') ++b;
  while (e > b && text[e - 1] <= L' ') --e;
  if (b == e) return false;
  bool negative = false;
  if (text[b] == L'-' || text[b] == L'+') {
    negative = text[b] == L'-';
    ++b;
  }
  unsigned base = 10;
  if (b < e && text[b] == L'$') {
    base = 16;
    ++b;
  } else if (e - b > 2 && text[b] == L'0' && (text[b + 1] == L'x' || text[b + 1] == L'X')) {
    base = 16;
    b += 2;
  }
  if (b == e) return false;
  uint64_t acc = 0;
  for (size_t i = b; i < e; ++i) {
    wchar_t c = text[i];
    unsigned d;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else return false;
    acc = acc * base + d;
    if (acc > 0xFFFFFFFFull) return false;
  }
  if (base == 10 && acc > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  int32_t v = static_cast<int32_t>(static_cast<uint32_t>(acc));
  value = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(v)) : v;
  return true;
}

std::wstring SkinUpper(const std::wstring& s) {
  std::wstring r = s;
  for (wchar_t& c : r)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
  return r;
}

TacSkinFile::TacSkinFile(const TMemIniFile& ini) {
  TStringList names, lines;
  ini.ReadSections(names);
  sections_.reserve(names.Count());
  for (int i = 0; i < names.Count(); ++i) {
    Section section;
    section.Name = names[i];
    ini.ReadSectionValues(section.Name, lines);
    section.Keys.reserve(lines.Count());
    for (int k = 0; k < lines.Count(); ++k) {
      std::wstring line = lines[k];
      size_t eq = line.find(L'=');
      if (eq == std::wstring::npos) continue;
      Key key;
      key.Name = Trim(line.substr(0, eq));
      key.Upper = SkinUpper(key.Name);
      key.Value = line.substr(eq + 1);
      section.Keys.push_back(std::move(key));
    }
    index_.emplace(SkinUpper(section.Name), static_cast<int>(sections_.size()));
    sections_.push_back(std::move(section));
  }
}

int TacSkinFile::SectionIndex(const std::wstring& name) const {
  auto it = index_.find(SkinUpper(name));
  return it == index_.end() ? -1 : it->second;
}

const std::wstring* TacSkinFile::Find(int section, const std::wstring& upperKey) const {
  if (section < 0 || section >= static_cast<int>(sections_.size())) return nullptr;
  for (const Key& k : sections_[section].Keys)
    if (k.Upper == upperKey) return &k.Value;
  return nullptr;
}

std::wstring TacSkinFile::ReadString(const std::wstring& section, const std::wstring& upperKey,
                                     const std::wstring& def) const {
  const std::wstring* v = Find(SectionIndex(section), upperKey);
  return v ? *v : def;
}

int TacSkinFile::ReadInteger(const std::wstring& section, const std::wstring& upperKey,
                             int def) const {
  int value;
  const std::wstring* v = Find(SectionIndex(section), upperKey);
  return v && ParseSkinInt(*v, value) ? value : def;
}

int TacSkinFile::ParentOf(int section) const {
  const std::wstring* parent = Find(section, L"PARENTCLASS");
  if (!parent) return -1;
  std::wstring name = Trim(*parent);
  if (name.empty() || name == L"?") return -1;
  if (SkinUpper(name) == SkinUpper(sections_[section].Name)) return -1;
  return SectionIndex(name);
}

template <class Accept>
bool TacSkinFile::Inherited(int section, const std::wstring& upperKey, Accept accept) const {
  std::vector<int> visited;
  while (section >= 0) {
    if (std::find(visited.begin(), visited.end(), section) != visited.end()) return false;
    visited.push_back(section);
    if (const std::wstring* v = Find(section, upperKey))
      if (accept(*v)) return true;
    section = ParentOf(section);
  }
  return false;
}

bool TacSkinFile::InheritedInt(int section, const std::wstring& upperKey, int& value) const {
  return Inherited(section, upperKey, [&](const std::wstring& v) {
    int n;
    if (!ParseSkinInt(v, n) || n == -1) return false;
    value = n;
    return true;
  });
}

bool TacSkinFile::InheritedText(int section, const std::wstring& upperKey,
                                std::wstring& value) const {
  return Inherited(section, upperKey, [&](const std::wstring& v) {
    if (v == L"?") return false;
    value = v;
    return true;
  });
}

int ClampPercent(int value) { return std::clamp(value, 0, 100); }

TsControlBevel BevelOf(int value) {
  return value >= 0 && value <= 4 ? static_cast<TsControlBevel>(value) : cbNone;
}

void ParseGradientQuietly(std::wstring& text, TsGradArray& array, const std::wstring& def) {
  try {
    PrepareGradArray(text, array);
  } catch (const Exception&) {
    text = def;
    array.clear();
  }
}

bool TacSkinFile::OwnOrInheritedInt(bool chain, int section, const std::wstring& upperKey,
                                    int& value) const {
  if (chain) return InheritedInt(section, upperKey, value);
  int n;
  const std::wstring* v = Find(section, upperKey);
  if (!v || !ParseSkinInt(*v, n) || n == -1) return false;
  value = n;
  return true;
}

bool TacSkinFile::OwnOrInheritedText(bool chain, int section, const std::wstring& upperKey,
                                     std::wstring& value) const {
  if (chain) return InheritedText(section, upperKey, value);
  const std::wstring* v = Find(section, upperKey);
  if (!v || *v == L"?") return false;
  value = *v;
  return true;
}

TsGeneralData TacSkinFile::ReadGeneralData(int s, const TsGeneralData* base) const {
  TsGeneralData gd = base ? *base : TsGeneralData{};
  const bool chain = base == nullptr;
  gd.SectionName = sections_[s].Name;
  gd.ParentClass.clear();
  if (const std::wstring* p = Find(s, L"PARENTCLASS")) gd.ParentClass = *p;
  auto InheritedInt = [&](int sec, const wchar_t* key, int& v) {
    return OwnOrInheritedInt(chain, sec, key, v);
  };
  auto InheritedText = [&](int sec, const wchar_t* key, std::wstring& v) {
    return OwnOrInheritedText(chain, sec, key, v);
  };

  auto integer = [&](const wchar_t* key, int32_t& field) {
    int v;
    if (InheritedInt(s, key, v)) field = v;
  };
  auto color = [&](const wchar_t* key, TColor& field) {
    int v;
    if (InheritedInt(s, key, v)) field = static_cast<TColor>(v);
  };
  auto percent = [&](const wchar_t* key, int32_t& field) {
    int v;
    if (InheritedInt(s, key, v)) field = ClampPercent(v);
  };
  auto boolean = [&](const wchar_t* key, bool& field) {
    std::wstring v;
    if (InheritedText(s, key, v)) field = SkinUpper(Trim(v)) == L"TRUE";
  };
  auto bevel = [&](const wchar_t* key, TsControlBevel& field) {
    int v;
    if (InheritedInt(s, key, v)) field = BevelOf(v);
  };

  int ownColor;
  if (InheritedInt(s, L"COLOR", ownColor)) gd.Color = ColorToRGB(static_cast<TColor>(ownColor));
  bevel(L"BEVEL", gd.Bevel);
  static const wchar_t* const kFont[5] = {L"FONTCOLOR", L"TCLEFT", L"TCTOP", L"TCRIGHT",
                                          L"TCBOTTOM"};
  static const wchar_t* const kHotFont[5] = {L"HOTFONTCOLOR", L"HOTTCLEFT", L"HOTTCTOP",
                                             L"HOTTCRIGHT", L"HOTTCBOTTOM"};
  for (int i = 0; i < 5; ++i) {
    integer(kFont[i], gd.FontColor[i]);
    integer(kHotFont[i], gd.HotFontColor[i]);
  }
  boolean(L"RESERVEDBOOLEAN", gd.ReservedBoolean);
  integer(L"SHADOWBLUR", gd.ShadowBlur);
  // The text shadow colour belongs to its section alone.
  int shadow;
  const std::wstring* sc = Find(s, L"SHADOWCOLOR");
  if (sc && ParseSkinInt(*sc, shadow) && shadow != -1) gd.ShadowColor = static_cast<TColor>(shadow);
  boolean(L"SHADOWENABLED", gd.ShadowEnabled);
  integer(L"SHADOWOFFSET", gd.ShadowOffset);
  percent(L"SHADOWTRANSPARENCY", gd.ShadowTransparency);
  percent(L"TRANSPARENCY", gd.Transparency);
  percent(L"GRADIENTPERCENT", gd.GradientPercent);
  if (InheritedText(s, L"GRADIENTDATA", gd.GradientData)) {
    gd.GradientArray.clear();
    if (gd.GradientData != L" ") ParseGradientQuietly(gd.GradientData, gd.GradientArray, L" ");
  }
  percent(L"IMAGEPERCENT", gd.ImagePercent);
  boolean(L"SHOWFOCUS", gd.ShowFocus);
  boolean(L"FADINGENABLED", gd.FadingEnabled);
  integer(L"FADINGINTERVALIN", gd.FadingIntervalIn);
  integer(L"FADINGINTERVALOUT", gd.FadingIntervalOut);
  integer(L"FADINGITERATIONS", gd.FadingIterations);
  color(L"HOTCOLOR", gd.HotColor);
  percent(L"HOTTRANSPARENCY", gd.HotTransparency);
  bevel(L"HOTBEVEL", gd.HotBevel);
  percent(L"HOTGRADIENTPERCENT", gd.HotGradientPercent);
  if (InheritedText(s, L"HOTGRADIENTDATA", gd.HotGradientData)) {
    gd.HotGradientArray.clear();
    if (gd.HotGradientData != L" ")
      ParseGradientQuietly(gd.HotGradientData, gd.HotGradientArray, L"");
  }
  percent(L"HOTIMAGEPERCENT", gd.HotImagePercent);
  color(L"BORDERCOLOR1", gd.BorderColor1);
  color(L"BORDERCOLOR2", gd.BorderColor2);
  return gd;
}
