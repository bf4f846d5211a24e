#include "app/registry/RegFixes.h"

#include "framework/Handles.h"

#include <cstring>

namespace {

// A REG_SZ worth removing is never this large; anything bigger is treated
// as changed rather than read into memory.
constexpr DWORD kMaxFixValueBytes = 16u << 20;

// Key path as the row holds it ("\Software\x") to the form the API takes.
std::wstring ApiPath(const std::wstring& key) {
  size_t start = 0;
  while (start < key.size() && key[start] == L'\\') ++start;
  return key.substr(start);
}

TRegFixResult FromOpenError(LONG error) {
  return error == ERROR_FILE_NOT_FOUND ? TRegFixResult::Missing : TRegFixResult::Failed;
}

// The value's type and exact bytes; ERROR_SUCCESS or the failing code.
LONG ReadExactValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD size = 0;
    LONG r = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (r != ERROR_SUCCESS) return r;
    if (size > kMaxFixValueBytes) return ERROR_MORE_DATA;
    data.assign(size, 0);
    DWORD got = size;
    r = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, size ? data.data() : nullptr, &got);
    if (r == ERROR_MORE_DATA) continue;  // grew between the two calls
    if (r != ERROR_SUCCESS) return r;
    data.resize(got);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

// Text of REG_SZ bytes up to the first NUL; an odd last byte is no character.
std::wstring TextOf(const std::vector<BYTE>& data) {
  std::wstring text(data.size() / 2, L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * 2);
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

// Values and subkeys of a key; false when the key cannot be asked.
bool CountKey(HKEY key, DWORD& subKeys, DWORD& values) {
  return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TRegFixResult CheckEmptyKey(HKEY root, const std::wstring& path) {
  HKEY raw = nullptr;
  const LONG r = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &raw);
  if (r != ERROR_SUCCESS) return FromOpenError(r);
  UniqueRegKey key(raw);
  DWORD subKeys = 0, values = 0;
  if (!CountKey(key.get(), subKeys, values)) return TRegFixResult::Failed;
  return (subKeys == 0 && values == 0) ? TRegFixResult::Ready : TRegFixResult::Changed;
}

}  // namespace

TRegFixResult ReadRegFixEntry(const TRegFinding& Row, TRegEntry& Entry) {
  const HKEY root = RegRootFromSection(Row.Section);
  if (!root || Row.KeyPath.empty()) return TRegFixResult::BadRow;
  Entry = TRegEntry{};
  Entry.Root = root;
  Entry.Key = Row.KeyPath;
  const std::wstring path = ApiPath(Row.KeyPath);
  if (path.empty()) return TRegFixResult::BadRow;  // never the root itself

  if (root == HKEY_CLASSES_ROOT) return CheckEmptyKey(root, path);

  Entry.IsValue = true;
  Entry.ValueName = Row.ValueName;
  HKEY raw = nullptr;
  const LONG r = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &raw);
  if (r != ERROR_SUCCESS) return FromOpenError(r);
  UniqueRegKey key(raw);
  const LONG q = ReadExactValue(key.get(), Row.ValueName, Entry.Type, Entry.Data);
  if (q == ERROR_FILE_NOT_FOUND) return TRegFixResult::Missing;
  if (q == ERROR_MORE_DATA) return TRegFixResult::Changed;
  if (q != ERROR_SUCCESS) return TRegFixResult::Failed;
  if (Entry.Type != REG_SZ || TextOf(Entry.Data) != Row.Param) return TRegFixResult::Changed;
  return TRegFixResult::Ready;
}

TRegFixResult FixRegEntry(const TRegEntry& Entry) {
  const std::wstring path = ApiPath(Entry.Key);
  if (RegRootName(Entry.Root).empty() || path.empty()) return TRegFixResult::BadRow;

  if (!Entry.IsValue) {
    const TRegFixResult check = CheckEmptyKey(Entry.Root, path);
    if (check != TRegFixResult::Ready) return check;
    // RegDeleteKeyW refuses a key that gained subkeys meanwhile.
    const LONG r = ::RegDeleteKeyW(Entry.Root, path.c_str());
    if (r == ERROR_SUCCESS) return TRegFixResult::Fixed;
    return FromOpenError(r);
  }

  HKEY raw = nullptr;
  const LONG r = ::RegOpenKeyExW(Entry.Root, path.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
  if (r != ERROR_SUCCESS) return FromOpenError(r);
  UniqueRegKey key(raw);
  DWORD type = 0;
  std::vector<BYTE> data;
  const LONG q = ReadExactValue(key.get(), Entry.ValueName, type, data);
  if (q == ERROR_FILE_NOT_FOUND) return TRegFixResult::Missing;
  if (q == ERROR_MORE_DATA) return TRegFixResult::Changed;
  if (q != ERROR_SUCCESS) return TRegFixResult::Failed;
  if (type != Entry.Type || data != Entry.Data) return TRegFixResult::Changed;
  const LONG d = ::RegDeleteValueW(key.get(), Entry.ValueName.c_str());
  if (d == ERROR_SUCCESS) return TRegFixResult::Fixed;
  return FromOpenError(d);
}

TRegFixReport RunRegFixes(const std::vector<TRegFixRow>& Rows, const TRegFixOptions& Options) {
  TRegFixReport report;
  report.Results.assign(Rows.size(), TRegFixResult::NotTicked);
  std::vector<TRegEntry> entries(Rows.size());

  for (size_t i = 0; i < Rows.size(); ++i) {
    if (!Rows[i].Checked) continue;
    report.Results[i] = ReadRegFixEntry(Rows[i].Finding, entries[i]);
    if (report.Results[i] == TRegFixResult::Ready && Options.Backup &&
        !CanExportRegEntry(entries[i]))
      report.Results[i] = TRegFixResult::NotBackedUp;
  }

  if (Options.Backup) {
    TRegBackup backup;
    backup.BeginRegExport();
    for (size_t i = 0; i < Rows.size(); ++i)
      if (report.Results[i] == TRegFixResult::Ready) backup.ExportRegEntry(entries[i]);
    if (!backup.SaveToFile(Options.BackupFileName)) {
      report.BackupFailed = true;
      report.BackupError = ::GetLastError();
      for (TRegFixResult& result : report.Results)
        if (result == TRegFixResult::Ready) result = TRegFixResult::BackupFailed;
      return report;
    }
    report.BackupWritten = true;
  }

  for (size_t i = 0; i < Rows.size(); ++i) {
    if (!Rows[i].Checked) continue;
    if (Options.BeforeRow) Options.BeforeRow(i);
    if (report.Results[i] == TRegFixResult::Ready) report.Results[i] = FixRegEntry(entries[i]);
  }
  return report;
}

std::wstring RegFixCaption(TRegFixResult Result, const std::wstring& OldCaption) {
  return Result == TRegFixResult::Fixed ? std::wstring(kRegFixed) : OldCaption;
}
