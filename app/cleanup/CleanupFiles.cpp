#include "app/cleanup/CleanupFiles.h"

#include <shellapi.h>

#include <set>
#include <vector>

#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace {

std::wstring WithoutSlash(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// "X:\..." or "\\server\share\...": anything else depends on the current
// drive or folder.
bool IsFullyQualified(const std::wstring& path) {
  if (path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\') return true;
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\' &&
         path[2] != L'?' && path[2] != L'.';
}

// "X:" or "\\server\share" (no trailing backslash).
bool IsRoot(const std::wstring& path) {
  if (path.size() == 2 && path[1] == L':') return true;
  if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
    const size_t server = path.find(L'\\', 2);
    return server == std::wstring::npos || path.find(L'\\', server + 1) == std::wstring::npos;
  }
  return false;
}

std::wstring FullPathName(const std::wstring& path) {
  DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  while (size) {
    std::wstring full(size, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (got == 0) return {};
    if (got < size) {
      full.resize(got);
      return full;
    }
    size = got;
  }
  return {};
}

std::wstring ExpandTemp() {
  DWORD size = ::ExpandEnvironmentStringsW(L"%TEMP%", nullptr, 0);
  while (size) {
    std::wstring value(size, L'\0');
    const DWORD got = ::ExpandEnvironmentStringsW(L"%TEMP%", value.data(), size);
    if (got == 0) return {};
    if (got <= size) {
      value.resize(got - 1);  // the count includes the terminating zero
      return value;
    }
    size = got;
  }
  return {};
}

bool IsLink(DWORD attributes) { return attributes & FILE_ATTRIBUTE_REPARSE_POINT; }
bool IsDir(DWORD attributes) { return attributes & FILE_ATTRIBUTE_DIRECTORY; }

// Does the folder hold a link anywhere below it? Links are not entered.
bool HoldsLink(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  UniqueFindHandle find;
  {
    HANDLE h = ::FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &data,
                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) return false;
    find.reset(h);
  }
  std::vector<std::wstring> subdirs;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (IsLink(data.dwFileAttributes)) return true;
    if (IsDir(data.dwFileAttributes)) subdirs.push_back(dir + L"\\" + name);
  } while (::FindNextFileW(find.get(), &data));
  find.reset();
  for (const std::wstring& sub : subdirs)
    if (HoldsLink(sub)) return true;
  return false;
}

// Removes a file link itself. A linked folder stays: removing the folder
// entry goes through to the target on some systems (Wine removes an empty
// target folder), and a link takes no space worth that risk.
void RemoveLink(const std::wstring& path, DWORD attributes) {
  if (IsDir(attributes)) return;
  ::DeleteFileW(path.c_str());
}

// A file's own deletion: read-only files go as well, as the shell's
// operation without confirmations deletes them on Windows.
void DeleteOneFile(const std::wstring& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY)
    ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  ::DeleteFileW(path.c_str());
}

// Deletes a folder's contents and then the folder, removing links as links.
// Whatever cannot go (a link the system will not remove, a file in use)
// stays, with the folders above it.
void DeleteTreeNoFollow(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE h = ::FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &data,
                                FindExSearchNameMatch, nullptr, 0);
  if (h != INVALID_HANDLE_VALUE) {
    UniqueFindHandle find(h);
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      if (IsLink(data.dwFileAttributes)) {
        RemoveLink(full, data.dwFileAttributes);
      } else if (IsDir(data.dwFileAttributes)) {
        DeleteTreeNoFollow(full);
      } else {
        DeleteOneFile(full, data.dwFileAttributes);
      }
    } while (::FindNextFileW(find.get(), &data));
  }
  ::RemoveDirectoryW(dir.c_str());
}

}  // namespace

std::wstring CheckCleanupFolder(const std::wstring& path) {
  if (path.empty() || path.find(L'%') != std::wstring::npos || !IsFullyQualified(path)) return {};
  const std::wstring full = WithoutSlash(FullPathName(path));
  if (full.empty() || !IsFullyQualified(full + L'\\') || IsRoot(full)) return {};
  const std::wstring windows = WithoutSlash(FullPathName(WindowsFolder()));
  if (windows.empty() || SamePath(full, windows)) return {};
  return full + L'\\';
}

std::wstring CleanupTempFolder() { return CheckCleanupFolder(ExpandTemp()); }

std::wstring WindowsFolder() {
  UINT size = ::GetWindowsDirectoryW(nullptr, 0);
  while (size) {
    std::wstring dir(size, L'\0');
    const UINT got = ::GetWindowsDirectoryW(dir.data(), size);
    if (got == 0) return {};
    if (got < size) {
      dir.resize(got);
      return IncludeTrailingPathDelimiter(dir);
    }
    size = got;
  }
  return {};
}

std::wstring CreateBuffer(const std::wstring* names, size_t count) {
  std::wstring buffer;
  std::set<std::wstring> listed;
  for (size_t i = 0; i < count && !names[i].empty(); ++i) {
    if (!listed.insert(UpperCase(names[i])).second) continue;
    buffer += names[i];
    buffer.push_back(L'\0');
  }
  buffer.push_back(L'\0');
  if (buffer.size() == 1) buffer.push_back(L'\0');  // an empty list still ends in two zeros
  return buffer;
}

int DeleteCollectedFiles(HWND wnd, const std::wstring* names, size_t count) {
  std::vector<std::wstring> forShell;
  for (size_t i = 0; i < count && !names[i].empty(); ++i) {
    const std::wstring& name = names[i];
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;  // gone since the analysis
    if (IsLink(attributes)) {
      RemoveLink(name, attributes);
    } else if (IsDir(attributes) && HoldsLink(name)) {
      // The shell's recursive delete would walk through the link.
      DeleteTreeNoFollow(name);
    } else {
      forShell.push_back(name);
    }
  }
  if (forShell.empty()) return 0;
  const std::wstring buffer = CreateBuffer(forShell.data(), forShell.size());
  SHFILEOPSTRUCTW op{};
  op.hwnd = wnd;
  op.wFunc = FO_DELETE;
  op.pFrom = buffer.c_str();
  op.pTo = nullptr;
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  return ::SHFileOperationW(&op);
}

std::vector<std::wstring> DeleteLeftovers(const std::wstring* names, size_t count) {
  std::vector<std::wstring> left;
  std::set<std::wstring> seen;
  for (size_t i = 0; i < count && !names[i].empty(); ++i) {
    const std::wstring& name = names[i];
    if (!seen.insert(UpperCase(name)).second) continue;
    DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;
    if (IsLink(attributes)) RemoveLink(name, attributes);
    else if (IsDir(attributes)) DeleteTreeNoFollow(name);
    else DeleteOneFile(name, attributes);
    attributes = ::GetFileAttributesW(name.c_str());
    // A linked folder is left alone on purpose and is no failure.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(IsLink(attributes) && IsDir(attributes)))
      left.push_back(name);
  }
  return left;
}

std::vector<std::wstring> LeftoverReport(const std::vector<std::wstring>& names) {
  std::vector<std::wstring> lines;
  lines.push_back(L"Не удалось удалить (" + std::to_wstring(names.size()) + L"):");
  lines.insert(lines.end(), names.begin(), names.end());
  return lines;
}
