#include "tests/app/duplicates/DupTestSupport.h"

#include <atomic>

#include "app/duplicates/DupScanner.h"

namespace duptest {

std::string Pattern(size_t count, unsigned seed) {
  std::string s(count, '\0');
  uint32_t x = seed * 2654435761u + 12345u;
  for (size_t i = 0; i < count; ++i) {
    x = x * 1103515245u + 12345u;
    s[i] = static_cast<char>(x >> 24);
  }
  return s;
}

namespace {

std::string UnixPath(const std::wstring& path) {
  using Fn = char*(CDECL*)(LPCWSTR);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!fn) return {};
  char* p = fn(path.c_str());
  if (!p) return {};
  std::string s(p);
  HeapFree(GetProcessHeap(), 0, p);
  return s;
}

std::wstring Widen(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                    static_cast<int>(w.size()));
  w.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return w;
}

}  // namespace

bool HostSymlink(const std::wstring& link, const std::wstring& target) {
  const std::string unixLink = UnixPath(link);
  const std::string unixTarget = UnixPath(target);
  if (unixLink.empty() || unixTarget.empty()) return false;
  std::wstring cmd = L"Z:\\bin\\ln -s \"" + Widen(unixTarget) + L"\" \"" + Widen(unixLink) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\ln", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 50 && GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeSizedFile(const std::wstring& path, long long size) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD unused = 0;
  DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
  LARGE_INTEGER to;
  to.QuadPart = size;
  const bool ok = SetFilePointerEx(h, to, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  return ok;
}

bool SetWriteTime(const std::wstring& path, int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft)) return false;
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
  return ok;
}

std::wstring FullPath(const TDupFileRec& rec, const std::vector<TDupFolderRec>& folders) {
  return GetFolderPath(folders, rec.Folder) + rec.Name;
}

namespace {

std::string ReadAll(const std::wstring& path, bool& ok) {
  std::string data;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  ok = h != INVALID_HANDLE_VALUE;
  if (!ok) return data;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(h);
  return data;
}

}  // namespace

std::vector<uint32_t> PairwiseGroups(const std::vector<TDupFileRec>& files,
                                     const std::vector<TDupFolderRec>& folders, const TDupCriteria& criteria) {
  const size_t n = files.size();
  std::vector<uint32_t> group(n, 0);
  uint32_t counter = 0;
  auto contentEqual = [&](size_t i, size_t j) {
    bool okI = false, okJ = false;
    const std::string a = ReadAll(FullPath(files[i], folders), okI);
    const std::string b = ReadAll(FullPath(files[j], folders), okJ);
    return okI && okJ && a.size() == static_cast<size_t>(files[i].Size) && a == b;
  };
  for (size_t i = 0; i < n; ++i) {
    if (group[i] != 0) continue;
    for (size_t j = i + 1; j < n; ++j) {
      if (group[j] != 0) continue;
      if (files[i].Id.SameFileAs(files[j].Id)) continue;
      if (criteria[1] && files[i].Size != files[j].Size) continue;
      if (criteria[0] && CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, files[i].Name.c_str(), -1,
                                        files[j].Name.c_str(), -1) != CSTR_EQUAL)
        continue;
      if (criteria[2] && (files[i].Size != files[j].Size || !contentEqual(i, j))) continue;
      if (group[i] == 0) group[i] = ++counter;
      group[j] = group[i];
    }
  }
  return group;
}

void Walk(const std::vector<std::wstring>& items, bool subfolders, std::vector<TDupFolderRec>& folders,
          std::vector<TDupFileRec>& files) {
  DupSetTopFolders(items, subfolders, folders, files);
  std::atomic<bool> stop{false};
  DupWalkFolders(folders, files, subfolders, stop);
}

long long GroupOf(const std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
                  const std::wstring& fullPath) {
  for (const TDupFileRec& r : files)
    if (CompareStringOrdinal(FullPath(r, folders).c_str(), -1, fullPath.c_str(), -1, TRUE) == CSTR_EQUAL)
      return r.Group;
  return -1;
}

}  // namespace duptest
