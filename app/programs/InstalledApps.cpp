#include "app/programs/InstalledApps.h"

#include "app/programs/RegValueText.h"
#include "framework/Handles.h"

namespace {

constexpr const wchar_t* kDisplayName = L"DisplayName";
constexpr const wchar_t* kUninstallString = L"UninstallString";

LONG Open(HKEY root, const std::wstring& path, REGSAM access, UniqueRegKey& key) {
  HKEY h = nullptr;
  LONG rc = RegOpenKeyExW(root, path.c_str(), 0, access, &h);
  if (rc == ERROR_SUCCESS) key.reset(h);
  return rc;
}

std::wstring ExpandEnvironment(const std::wstring& text) {
  DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::wstring out(size, L'\0');
  size = ExpandEnvironmentStringsW(text.c_str(), out.data(), size);
  if (size == 0) return text;
  out.resize(size - 1);
  return out;
}

}  // namespace

std::vector<TInstalledApp> ReadInstalledApps(const TUninstallLocation& where) {
  std::vector<TInstalledApp> apps;
  UniqueRegKey uninstall;
  if (Open(where.Root, where.Key, KEY_READ, uninstall) != ERROR_SUCCESS) return apps;
  for (const std::wstring& name : RegSubKeyNames(uninstall.get())) {
    UniqueRegKey sub;
    if (Open(uninstall.get(), name, KEY_READ, sub) != ERROR_SUCCESS) continue;
    std::wstring display, command;
    if (ReadRegString(sub.get(), kDisplayName, display) &&
        ReadRegString(sub.get(), kUninstallString, command))
      apps.push_back({name, display});
  }
  return apps;
}

TUninstallLookup ReadUninstallCommand(const TUninstallLocation& where, const std::wstring& subKey,
                                      std::wstring& command, bool& expandable) {
  if (subKey.empty()) return TUninstallLookup::NoCommand;
  UniqueRegKey sub;
  LONG rc = Open(where.Root, where.Key + L"\\" + subKey, KEY_READ, sub);
  // An application that removed itself leaves a row whose key is gone.
  if (rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND) return TUninstallLookup::NoCommand;
  if (rc != ERROR_SUCCESS) return TUninstallLookup::OpenFailed;
  if (!ReadRegString(sub.get(), kUninstallString, command, &expandable))
    return TUninstallLookup::NoCommand;
  return TUninstallLookup::Found;
}

bool DeleteUninstallEntry(const TUninstallLocation& where, const std::wstring& subKey) {
  // An empty name would be the Uninstall key itself, and a name holding "\"
  // a deeper key: no listed row has either.
  if (subKey.empty() || subKey.find(L'\\') != std::wstring::npos) return false;
  UniqueRegKey uninstall;
  if (Open(where.Root, where.Key, KEY_READ | KEY_WRITE | DELETE, uninstall) != ERROR_SUCCESS)
    return false;
  // Deletes the subkey itself along with everything below it.
  return RegDeleteTreeW(uninstall.get(), subKey.c_str()) == ERROR_SUCCESS;
}

DWORD StartUninstallCommand(const std::wstring& command, bool expandable) {
  std::wstring line = expandable ? ExpandEnvironment(command) : command;
  if (line.empty()) return ERROR_INVALID_PARAMETER;
  // CreateProcessW may write into the command line.
  std::wstring buffer = line;
  buffer.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return GetLastError();
  UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  return 0;
}
