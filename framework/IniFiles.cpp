#include "framework/IniFiles.h"

#include <algorithm>

#include "framework/FileBytes.h"
#include "framework/Handles.h"
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
    const std::wstring line = list.Strings(i);
    const std::wstring_view s = LineContent(line);
    if (s.empty()) continue;
    if (s[0] == L'[' && s.back() == L']') {
      sections_.push_back(Section{std::wstring(s.substr(1, s.size() - 2)), {}});
      current = &sections_.back();
    } else if (current) {
      current->lines.emplace_back(s);
    }
  }
}

std::wstring_view TMemIniFile::LineContent(std::wstring_view line) {
  line = TrimView(line);
  return !line.empty() && line.front() == L';' ? std::wstring_view() : line;
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

// ---------------------------------------------------------------------------
// TIniSnapshot
// ---------------------------------------------------------------------------

namespace {

std::wstring Lower(std::wstring s) {
  if (!s.empty()) ::CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring TrimBlanks(const std::wstring& s, size_t from, size_t to) {
  while (from < to && IsBlank(s[from])) ++from;
  while (to > from && IsBlank(s[to - 1])) --to;
  return s.substr(from, to - from);
}

// The profile functions drop one pair of matching quotes around a value.
std::wstring Unquoted(const std::wstring& v) {
  if (v.size() >= 2 && (v[0] == L'"' || v[0] == L'\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

void TIniSnapshot::Parse(const std::wstring& text) {
  sections_.clear();
  // Lines before the first section header belong to a section without a
  // name, as with the profile functions.
  Section* current = &sections_[L""];
  bool currentIsFirst = true;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = TrimBlanks(text, pos, end);
    pos = end + 1;
    if (line.empty()) continue;
    if (line[0] == L'[') {
      size_t close = line.find(L']');
      const std::wstring name = Lower(TrimBlanks(line, 1, close == std::wstring::npos ? line.size() : close));
      // A repeated section is looked up in its first occurrence only.
      currentIsFirst = sections_.find(name) == sections_.end();
      current = &sections_[name];
      continue;
    }
    if (!currentIsFirst) continue;
    const size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) continue;
    const std::wstring key = TrimBlanks(line, 0, eq);
    const std::wstring lower = Lower(key);
    if (current->values.count(lower)) continue;
    current->values.emplace(lower, Unquoted(TrimBlanks(line, eq + 1, line.size())));
    current->order.push_back(key);
  }
}

TIniSnapshot::TLoadResult TIniSnapshot::Load(const std::wstring& fileName) {
  sections_.clear();
  std::string bytes;
  DWORD error = 0;
  if (!TryReadFileBytes(fileName, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, bytes, error))
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? lrMissing : lrUnreadable;
  std::wstring text;
  if (!DecodeIniBytes(bytes, text)) return lrUnreadable;
  Parse(text);
  return lrRead;
}

const TIniSnapshot::Section* TIniSnapshot::Find(const std::wstring& section) const {
  auto it = sections_.find(Lower(section));
  return it == sections_.end() ? nullptr : &it->second;
}

std::wstring TIniSnapshot::ReadString(const std::wstring& section, const std::wstring& ident,
                                      const std::wstring& def) const {
  const Section* s = Find(section);
  if (!s) return def;
  auto it = s->values.find(Lower(ident));
  return it == s->values.end() ? def : it->second;
}

int TIniSnapshot::ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const {
  std::wstring s = ReadString(section, ident, L"");
  if (s.size() > 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) s = L"$" + s.substr(2);
  return StrToIntDef(s, def);
}

bool TIniSnapshot::ValueExists(const std::wstring& section, const std::wstring& ident) const {
  const Section* s = Find(section);
  return s && s->values.count(Lower(ident)) != 0;
}

std::vector<std::wstring> TIniSnapshot::Keys(const std::wstring& section) const {
  const Section* s = Find(section);
  return s ? s->order : std::vector<std::wstring>{};
}

// ---------------------------------------------------------------------------
// Reading and replacing whole files
// ---------------------------------------------------------------------------

bool DecodeIniBytes(const std::string& bytes, std::wstring& text) {
  auto u8 = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  auto utf16 = [&](size_t from, bool bigEndian) {
    text.clear();
    text.reserve((bytes.size() - from) / 2);
    for (size_t i = from; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<wchar_t>(bigEndian ? (u8(i) << 8) | u8(i + 1) : u8(i) | (u8(i + 1) << 8)));
    return true;
  };
  if (bytes.size() >= 2 && u8(0) == 0xFF && u8(1) == 0xFE) return utf16(2, false);
  if (bytes.size() >= 2 && u8(0) == 0xFE && u8(1) == 0xFF) return utf16(2, true);
  if (bytes.size() >= 3 && u8(0) == 0xEF && u8(1) == 0xBB && u8(2) == 0xBF) {
    text = AnsiToWide(bytes.substr(3), CP_UTF8);
    return true;
  }
  // Without a mark, UTF-16 shows itself by its NUL bytes: the high bytes of
  // the ASCII that every INI file has ("[", "=", line ends). ANSI text holds
  // no NUL at all.
  size_t zeroEven = 0, zeroOdd = 0;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\0') ++(i % 2 ? zeroOdd : zeroEven);
  if (zeroEven == 0 && zeroOdd == 0) {
    text = AnsiToWide(bytes);
    return true;
  }
  if (bytes.size() % 2 == 0 && zeroOdd > 4 * zeroEven) return utf16(0, false);
  if (bytes.size() % 2 == 0 && zeroEven > 4 * zeroOdd) return utf16(0, true);
  return false;
}

void ReplaceFileBytes(const std::wstring& fileName, const std::string& bytes) {
  const std::wstring temp = fileName + L".tmp";
  const auto fail = [&]() {
    ::DeleteFileW(temp.c_str());
    throw EIniFileException(L"Unable to write to " + fileName);
  };
  {
    HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EIniFileException(L"Unable to write to " + fileName);
    UniqueKernelHandle file(h);
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD n = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      if (!::WriteFile(h, bytes.data() + done, chunk, &n, nullptr) || n == 0) {
        file.reset();
        fail();
      }
      done += n;
    }
    // On disk before it takes the old file's place, or a crash right after
    // the move could leave an empty file under the old name.
    if (!::FlushFileBuffers(h)) {
      file.reset();
      fail();
    }
  }
  if (!::MoveFileExW(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) fail();
}
