#include "framework/IniFiles.h"

#include "framework/SysUtils.h"

// ---------------------------------------------------------------------------
// TCustomIniFile
// ---------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident,
                                int def) const {
  std::wstring s = ReadString(section, ident, L"");
  if (s.size() > 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) s = L"$" + s.substr(2);
  return StrToIntDef(s, def);
}

void TCustomIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool def) const {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value) {
  WriteString(section, ident, value ? L"1" : L"0");
}

bool TCustomIniFile::SectionExists(const std::wstring& section) const {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::wstring& section, const std::wstring& ident) const {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(ident) >= 0;
}

// ---------------------------------------------------------------------------
// TMemIniFile
// ---------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const std::wstring& fileName) : TCustomIniFile(fileName) { LoadValues(); }

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
  sections_.clear();
  if (fileName_.empty() || !FileExists(fileName_)) return;
  TStringList list;
  list.LoadFromFile(fileName_);
  Encoding = list.Encoding();
  SetStrings(list);
}

void TMemIniFile::Clear() { sections_.clear(); }

void TMemIniFile::Rename(const std::wstring& fileName, bool reload) {
  fileName_ = fileName;
  if (reload) LoadValues();
}

void TMemIniFile::SetStrings(const TStrings& list) {
  sections_.clear();
  Section* current = nullptr;
  int n = list.Count();
  for (int i = 0; i < n; ++i) {
    std::wstring s = Trim(list.Strings(i));
    if (s.empty() || s[0] == L';') continue;
    if (s[0] == L'[' && s.back() == L']') {
      sections_.push_back(Section{s.substr(1, s.size() - 2), {}});
      current = &sections_.back();
    } else if (current) {
      current->lines.push_back(s);
    }
  }
}

void TMemIniFile::GetStrings(TStrings& list) const {
  list.BeginUpdate();
  try {
    list.Clear();
    for (const auto& sec : sections_) {
      list.Add(L"[" + sec.name + L"]");
      for (const auto& line : sec.lines) list.Add(line);
      list.Add(L"");
    }
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::wstring& name) const {
  for (const auto& s : sections_)
    if (AnsiCompareText(s.name, name) == 0) return &s;
  return nullptr;
}

TMemIniFile::Section* TMemIniFile::FindSection(const std::wstring& name) {
  return const_cast<Section*>(static_cast<const TMemIniFile*>(this)->FindSection(name));
}

static std::wstring KeyOf(const std::wstring& line, bool* hasSep = nullptr) {
  size_t p = line.find(L'=');
  if (hasSep) *hasSep = p != std::wstring::npos;
  return TrimRight(p == std::wstring::npos ? line : line.substr(0, p));
}

int TMemIniFile::FindKey(const Section& s, const std::wstring& ident) {
  for (size_t i = 0; i < s.lines.size(); ++i) {
    bool has = false;
    std::wstring key = KeyOf(s.lines[i], &has);
    if (has && AnsiCompareText(key, ident) == 0) return static_cast<int>(i);
  }
  return -1;
}

std::wstring TMemIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                     const std::wstring& def) const {
  const Section* s = FindSection(section);
  if (!s) return def;
  int i = FindKey(*s, ident);
  if (i < 0) return def;
  const std::wstring& line = s->lines[i];
  return line.substr(line.find(L'=') + 1);
}

void TMemIniFile::WriteString(const std::wstring& section, const std::wstring& ident,
                              const std::wstring& value) {
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back(Section{section, {}});
    s = &sections_.back();
  }
  int i = FindKey(*s, ident);
  std::wstring line = ident + L"=" + value;
  if (i < 0) s->lines.push_back(line);
  else s->lines[i] = line;
}

void TMemIniFile::ReadSection(const std::wstring& section, TStrings& strings) const {
  strings.BeginUpdate();
  try {
    strings.Clear();
    if (const Section* s = FindSection(section))
      for (const auto& line : s->lines) strings.Add(KeyOf(line));
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& strings) const {
  strings.BeginUpdate();
  try {
    strings.Clear();
    for (const auto& s : sections_) strings.Add(s.name);
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(const std::wstring& section, TStrings& strings) const {
  strings.BeginUpdate();
  try {
    strings.Clear();
    if (const Section* s = FindSection(section))
      for (const auto& line : s->lines) strings.Add(line);
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

void TMemIniFile::EraseSection(const std::wstring& section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it)
    if (AnsiCompareText(it->name, section) == 0) {
      sections_.erase(it);
      return;
    }
}

void TMemIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident) {
  if (Section* s = FindSection(section)) {
    int i = FindKey(*s, ident);
    if (i >= 0) s->lines.erase(s->lines.begin() + i);
  }
}

bool TMemIniFile::SectionExists(const std::wstring& section) const {
  return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(const std::wstring& section, const std::wstring& ident) const {
  const Section* s = FindSection(section);
  return s && FindKey(*s, ident) >= 0;
}

void TMemIniFile::UpdateFile() {
  TStringList list;
  GetStrings(list);
  list.SaveToFile(fileName_, Encoding);
}

// ---------------------------------------------------------------------------
// TIniFile
// ---------------------------------------------------------------------------

// GetPrivateProfileStringW into a buffer that grows until the text fits.
// `listMode`: the result is a double-zero-terminated list (n = size - 2 when
// too small) instead of one string (n = size - 1).
static std::wstring ProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                                  const std::wstring& file, bool listMode) {
  std::wstring buf(2048, L'\0');
  for (;;) {
    DWORD n = ::GetPrivateProfileStringW(section, key, def, buf.data(), static_cast<DWORD>(buf.size()),
                                         file.c_str());
    DWORD full = static_cast<DWORD>(buf.size()) - (listMode ? 2 : 1);
    if (n < full || buf.size() >= (1u << 24)) {
      buf.resize(n);
      return buf;
    }
    buf.assign(buf.size() * 4, L'\0');
  }
}

static void SplitZeroList(const std::wstring& list, TStrings& strings) {
  strings.BeginUpdate();
  try {
    strings.Clear();
    size_t i = 0;
    while (i < list.size()) {
      size_t e = list.find(L'\0', i);
      if (e == std::wstring::npos) e = list.size();
      if (e > i) strings.Add(list.substr(i, e - i));
      i = e + 1;
    }
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                  const std::wstring& def) const {
  return ProfileString(section.c_str(), ident.c_str(), def.c_str(), fileName_, false);
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& ident,
                           const std::wstring& value) {
  if (!::WritePrivateProfileStringW(section.c_str(), ident.c_str(), value.c_str(), fileName_.c_str()))
    throw EIniFileException(L"Unable to write to " + fileName_);
}

void TIniFile::ReadSection(const std::wstring& section, TStrings& strings) const {
  SplitZeroList(ProfileString(section.c_str(), nullptr, L"", fileName_, true), strings);
}

void TIniFile::ReadSections(TStrings& strings) const {
  SplitZeroList(ProfileString(nullptr, nullptr, L"", fileName_, true), strings);
}

void TIniFile::ReadSectionValues(const std::wstring& section, TStrings& strings) const {
  std::wstring buf(4096, L'\0');
  for (;;) {
    DWORD n = ::GetPrivateProfileSectionW(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()),
                                          fileName_.c_str());
    if (n < buf.size() - 2 || buf.size() >= (1u << 24)) {
      buf.resize(n);
      break;
    }
    buf.assign(buf.size() * 4, L'\0');
  }
  SplitZeroList(buf, strings);
}

void TIniFile::EraseSection(const std::wstring& section) {
  if (!::WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, fileName_.c_str()))
    throw EIniFileException(L"Unable to write to " + fileName_);
}

void TIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident) {
  ::WritePrivateProfileStringW(section.c_str(), ident.c_str(), nullptr, fileName_.c_str());
}

void TIniFile::UpdateFile() { ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName_.c_str()); }
