#include "app/programs/StartupEntries.h"

#include "app/programs/RegValueText.h"
#include "framework/Classes.h"
#include "framework/Handles.h"
#include "framework/Registry.h"
#include "framework/SysUtils.h"

namespace {

constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunOnce = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const wchar_t* kDefaultRun = L".Default\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kDefaultRunOnce =
    L".Default\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const wchar_t* kUserWindows = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr const wchar_t* kDefaultWindows =
    L".DEFAULT\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

UniqueRegKey OpenKey(const TStartupSource& source, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(source.Root, source.Key.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return UniqueRegKey(key);
}

}  // namespace

std::vector<TStartupSource> DefaultStartupSources() {
  return {
      {HKEY_LOCAL_MACHINE, kRun, L"HKEY_LM\\Run", false},
      {HKEY_CURRENT_USER, kRun, L"HKEY_CU\\Run", false},
      {HKEY_USERS, kDefaultRun, L"HKEY_Users\\Run", false},
      {HKEY_LOCAL_MACHINE, kRunOnce, L"HKEY_LM\\RunOnce", false},
      {HKEY_CURRENT_USER, kRunOnce, L"HKEY_CU\\RunOnce", false},
      {HKEY_USERS, kDefaultRunOnce, L"HKEY_Users\\RunOnce", false},
      {HKEY_CURRENT_USER, kUserWindows, L"HKEY_CU\\load", true},
      {HKEY_USERS, kDefaultWindows, L"HKEY_Users\\load", true},
  };
}

std::vector<TStartupEntry> ReadStartupEntries(const std::vector<TStartupSource>& sources,
                                              bool withLoad, TStrings* names) {
  std::vector<TStartupEntry> entries;
  for (size_t i = 0; i < sources.size(); ++i) {
    const TStartupSource& source = sources[i];
    if (source.LoadValue && !withLoad) continue;
    UniqueRegKey key = OpenKey(source, KEY_READ);
    if (!key) continue;
    const int index = static_cast<int>(i);
    if (source.LoadValue) {
      std::wstring text;
      if (ReadRegValueText(key.get(), kStartupLoadValue, text) && !text.empty())
        entries.push_back({index, kStartupLoadValue, text});
      continue;
    }
    std::vector<std::wstring> keyNames = RegValueNames(key.get());
    if (names) {
      names->BeginUpdate();
      names->Clear();
      for (const std::wstring& name : keyNames) names->Add(name);
      names->EndUpdate();
      keyNames = names->ToVector();
    }
    for (const std::wstring& name : keyNames) {
      std::wstring text;
      // A value removed while the list is read is simply not shown.
      if (ReadRegValueText(key.get(), name, text)) entries.push_back({index, name, text});
    }
  }
  return entries;
}

DWORD DeleteStartupValue(const TStartupSource& source, const std::wstring& name) {
  HKEY raw = nullptr;
  const LSTATUS opened =
      RegOpenKeyExW(source.Root, source.Key.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &raw);
  if (opened != ERROR_SUCCESS) return static_cast<DWORD>(opened);
  UniqueRegKey key(raw);
  return static_cast<DWORD>(RegDeleteValueW(key.get(), name.c_str()));
}

void WriteStartupValue(const TStartupSource& source, const std::wstring& name,
                       const std::wstring& command) {
  TRegistry reg;
  reg.SetRootKey(source.Root);
  if (!reg.OpenKey(L"\\" + source.Key, true))
    throw ERegistryException(L"Failed to create key " + source.Key);
  reg.WriteString(name, command);
}
