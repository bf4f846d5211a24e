#include "skin/engine/SkinFile.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

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

namespace {

// The keys a section inherits through its parents, in the order of the
// table below ("SHADOWCOLOR" belongs to its section alone and is not here).
enum Slot {
  kColor, kBevel,
  kFont0, kFont1, kFont2, kFont3, kFont4,
  kHotFont0, kHotFont1, kHotFont2, kHotFont3, kHotFont4,
  kReservedBoolean, kShadowBlur, kShadowEnabled, kShadowOffset, kShadowTransparency,
  kTransparency, kGradientPercent, kGradientData, kImagePercent, kShowFocus,
  kFadingEnabled, kFadingIntervalIn, kFadingIntervalOut, kFadingIterations,
  kHotColor, kHotTransparency, kHotBevel, kHotGradientPercent, kHotGradientData,
  kHotImagePercent, kBorderColor1, kBorderColor2,
  kSlotCount
};

struct InheritedKey {
  const wchar_t* Name;
  bool Text;  // a text key ("?" is missing); otherwise a number (-1 is missing)
};

constexpr InheritedKey kInheritedKeys[kSlotCount] = {
    {L"COLOR", false}, {L"BEVEL", false},
    {L"FONTCOLOR", false}, {L"TCLEFT", false}, {L"TCTOP", false}, {L"TCRIGHT", false},
    {L"TCBOTTOM", false},
    {L"HOTFONTCOLOR", false}, {L"HOTTCLEFT", false}, {L"HOTTCTOP", false},
    {L"HOTTCRIGHT", false}, {L"HOTTCBOTTOM", false},
    {L"RESERVEDBOOLEAN", true}, {L"SHADOWBLUR", false}, {L"SHADOWENABLED", true},
    {L"SHADOWOFFSET", false}, {L"SHADOWTRANSPARENCY", false},
    {L"TRANSPARENCY", false}, {L"GRADIENTPERCENT", false}, {L"GRADIENTDATA", true},
    {L"IMAGEPERCENT", false}, {L"SHOWFOCUS", true},
    {L"FADINGENABLED", true}, {L"FADINGINTERVALIN", false}, {L"FADINGINTERVALOUT", false},
    {L"FADINGITERATIONS", false},
    {L"HOTCOLOR", false}, {L"HOTTRANSPARENCY", false}, {L"HOTBEVEL", false},
    {L"HOTGRADIENTPERCENT", false}, {L"HOTGRADIENTDATA", true},
    {L"HOTIMAGEPERCENT", false}, {L"BORDERCOLOR1", false}, {L"BORDERCOLOR2", false},
};
static_assert(kSlotCount <= 64, "slots are tracked in one 64-bit mask");

int SlotOf(const std::wstring& upperKey) {
  static const std::unordered_map<std::wstring, int> slots = [] {
    std::unordered_map<std::wstring, int> m;
    for (int i = 0; i < kSlotCount; ++i) m.emplace(kInheritedKeys[i].Name, i);
    return m;
  }();
  auto it = slots.find(upperKey);
  return it == slots.end() ? -1 : it->second;
}

// A value that a section may pass on: otherwise the key counts as missing
// and its parent is asked.
bool Usable(int slot, const std::wstring& value) {
  if (kInheritedKeys[slot].Text) return value != L"?";
  int n;
  return ParseSkinInt(value, n) && n != -1;
}

}  // namespace

TacSkinFile::TacSkinFile(const TMemIniFile& ini) {
  // The reader's text in one pass: asking it section by section would search
  // its section list once per section.
  TStringList lines;
  ini.GetStrings(lines);
  Parser parser(*this);
  const int count = lines.Count();
  for (int i = 0; i < count; ++i) parser.Line(lines[i]);
  parser.Finish();
}

TacSkinFile::TacSkinFile(std::wstring_view text) {
  // Lines as the INI reader takes them.
  Parser parser(*this);
  ForEachLine(text, [&parser](std::wstring_view line) {
    if (line = TMemIniFile::LineContent(line); !line.empty()) parser.Line(line);
  });
  parser.Finish();
}

void TacSkinFile::Parser::Line(std::wstring_view line) {
  if (!line.empty() && line.front() == L'[' && line.back() == L']') {
    if (keys_) file_.AddSection(std::move(name_), std::move(keys_));
    name_.assign(line.substr(1, line.size() - 2));
    keys_ = std::make_shared<KeyList>();
    return;
  }
  const size_t eq = line.find(L'=');
  if (!keys_ || eq == std::wstring_view::npos) return;
  Key key;
  key.Name.assign(TrimView(line.substr(0, eq)));
  key.Upper = SkinUpper(key.Name);
  key.Value.assign(line.substr(eq + 1));
  keys_->push_back(std::move(key));
}

void TacSkinFile::Parser::Finish() {
  if (keys_) file_.AddSection(std::move(name_), std::move(keys_));
  file_.ResolveParentsAndValues();
}

void TacSkinFile::AddSection(std::wstring name, std::shared_ptr<KeyList> keys) {
  auto [it, first] = index_.emplace(SkinUpper(name), static_cast<int>(sections_.size()));
  Section section;
  section.Name = std::move(name);
  section.Keys = first ? std::move(keys) : sections_[it->second].Keys;
  sections_.push_back(std::move(section));
}

void TacSkinFile::ResolveParentsAndValues() {
  const size_t n = sections_.size();
  parents_.resize(n);
  own_.resize(n);
  for (size_t s = 0; s < n; ++s) {
    parents_[s] = ParentOf(static_cast<int>(s));
    int first = index_.at(SkinUpper(sections_[s].Name));
    if (first != static_cast<int>(s)) {
      own_[s] = own_[first];
      continue;
    }
    // Lookups find a key's first line only: a later line of the same key
    // neither counts nor passes on.
    uint64_t seen = 0;
    const KeyList& keys = *sections_[s].Keys;
    for (size_t k = 0; k < keys.size(); ++k) {
      int slot = SlotOf(keys[k].Upper);
      if (slot < 0 || (seen & (1ull << slot))) continue;
      seen |= 1ull << slot;
      if (Usable(slot, keys[k].Value)) own_[s].push_back(OwnValue{slot, static_cast<int>(k)});
    }
  }
}

int TacSkinFile::SectionIndex(const std::wstring& name) const {
  auto it = index_.find(SkinUpper(name));
  return it == index_.end() ? -1 : it->second;
}

const std::wstring* TacSkinFile::Find(int section, const std::wstring& upperKey) const {
  if (section < 0 || section >= static_cast<int>(sections_.size())) return nullptr;
  for (const Key& k : *sections_[section].Keys)
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

bool TacSkinFile::HasUsableSections() const {
  for (const Section& s : sections_)
    if (!Trim(s.Name).empty() && !s.Keys->empty()) return true;
  return false;
}

int TacSkinFile::ParentOf(int section) const {
  const std::wstring* parent = Find(section, L"PARENTCLASS");
  if (!parent) return -1;
  std::wstring name = Trim(*parent);
  if (name.empty() || name == L"?") return -1;
  if (SkinUpper(name) == SkinUpper(sections_[section].Name)) return -1;
  return SectionIndex(name);
}

void TacSkinFile::Fill(int section, Values& values, size_t& filled) const {
  const KeyList& keys = *sections_[section].Keys;
  for (const OwnValue& own : own_[section])
    if (!values[own.Slot]) {
      values[own.Slot] = &keys[own.Index].Value;
      ++filled;
    }
}

TacSkinFile::Values TacSkinFile::OwnValues(int section) const {
  Values values(kSlotCount, nullptr);
  size_t filled = 0;
  Fill(section, values, filled);
  return values;
}

TacSkinFile::Values TacSkinFile::InheritedValues(int section) const {
  Values values(kSlotCount, nullptr);
  size_t filled = 0;
  int visited[kMaxParentDepth + 1];
  int links = 0;
  for (int s = section; s >= 0 && links <= kMaxParentDepth; s = parents_[s]) {
    if (std::find(visited, visited + links, s) != visited + links) break;
    visited[links++] = s;
    Fill(s, values, filled);
    if (filled == kSlotCount) break;
  }
  return values;
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

TsGeneralData TacSkinFile::ReadGeneralData(int s, const TsGeneralData* base) const {
  TsGeneralData gd = base ? *base : TsGeneralData{};
  const Values values = base ? OwnValues(s) : InheritedValues(s);
  gd.SectionName = sections_[s].Name;
  gd.ParentClass.clear();
  if (const std::wstring* p = Find(s, L"PARENTCLASS")) gd.ParentClass = *p;

  auto number = [&](int slot, int& v) { return values[slot] && ParseSkinInt(*values[slot], v); };
  auto integer = [&](int slot, int32_t& field) {
    int v;
    if (number(slot, v)) field = v;
  };
  auto color = [&](int slot, TColor& field) {
    int v;
    if (number(slot, v)) field = static_cast<TColor>(v);
  };
  auto percent = [&](int slot, int32_t& field) {
    int v;
    if (number(slot, v)) field = ClampPercent(v);
  };
  auto boolean = [&](int slot, bool& field) {
    if (values[slot]) field = SkinUpper(Trim(*values[slot])) == L"TRUE";
  };
  auto bevel = [&](int slot, TsControlBevel& field) {
    int v;
    if (number(slot, v)) field = BevelOf(v);
  };
  // One blank stands for no gradient; a text that does not parse falls back
  // to Fallback.
  auto gradient = [&](int slot, std::wstring& text, TsGradArray& array, const wchar_t* fallback) {
    if (!values[slot]) return;
    text = *values[slot];
    array.clear();
    if (text != L" ") ParseGradientQuietly(text, array, fallback);
  };

  int ownColor;
  if (number(kColor, ownColor)) gd.Color = ColorToRGB(static_cast<TColor>(ownColor));
  bevel(kBevel, gd.Bevel);
  for (int i = 0; i < 5; ++i) {
    integer(kFont0 + i, gd.FontColor[i]);
    integer(kHotFont0 + i, gd.HotFontColor[i]);
  }
  boolean(kReservedBoolean, gd.ReservedBoolean);
  integer(kShadowBlur, gd.ShadowBlur);
  // The text shadow colour belongs to its section alone.
  int shadow;
  const std::wstring* sc = Find(s, L"SHADOWCOLOR");
  if (sc && ParseSkinInt(*sc, shadow) && shadow != -1) gd.ShadowColor = static_cast<TColor>(shadow);
  boolean(kShadowEnabled, gd.ShadowEnabled);
  integer(kShadowOffset, gd.ShadowOffset);
  percent(kShadowTransparency, gd.ShadowTransparency);
  percent(kTransparency, gd.Transparency);
  percent(kGradientPercent, gd.GradientPercent);
  gradient(kGradientData, gd.GradientData, gd.GradientArray, L" ");
  percent(kImagePercent, gd.ImagePercent);
  boolean(kShowFocus, gd.ShowFocus);
  boolean(kFadingEnabled, gd.FadingEnabled);
  integer(kFadingIntervalIn, gd.FadingIntervalIn);
  integer(kFadingIntervalOut, gd.FadingIntervalOut);
  integer(kFadingIterations, gd.FadingIterations);
  color(kHotColor, gd.HotColor);
  percent(kHotTransparency, gd.HotTransparency);
  bevel(kHotBevel, gd.HotBevel);
  percent(kHotGradientPercent, gd.HotGradientPercent);
  gradient(kHotGradientData, gd.HotGradientData, gd.HotGradientArray, L"");
  percent(kHotImagePercent, gd.HotImagePercent);
  color(kBorderColor1, gd.BorderColor1);
  color(kBorderColor2, gd.BorderColor2);
  return gd;
}
