#pragma once
// Helpers of the file-search and cleanup tests (header only, so the GUI
// tests can include it too): the message loop (tests/common/Pump.h), host
// symbolic links, the shared URL cache and prefetch folder.
#include <windows.h>
#include <wininet.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/common/Pump.h"

namespace cleanuptest {

using testenv::PumpFor;
using testenv::PumpUntil;

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a host program (Wine starts Unix executables given by a Z: path) in
// `dir`. Wine cannot wait for such a process, so callers poll for its effect.
inline bool RunHost(const std::wstring& commandLine, const std::wstring& dir) {
  std::wstring cmd = commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// A host symbolic link `dir`\`name` pointing at the relative `target` (for
// example "." or "..\\outside"); Wine shows it as a linked folder (0x410).
// Windows' own link functions are stubs under Wine, hence the host's ln.
inline bool MakeHostSymlink(const std::wstring& dir, const std::wstring& name,
                            std::wstring target) {
  for (wchar_t& c : target)
    if (c == L'\\') c = L'/';
  if (!RunHost(L"Z:\\bin\\ln -s " + target + L" " + name, dir)) return false;
  const std::wstring link = dir + L"\\" + name;
  const ULONGLONG end = GetTickCount64() + 10000;
  while (!Exists(link) && GetTickCount64() < end) Sleep(10);
  return Exists(link);
}

// Removes such a link (never what it points to).
inline void RemoveHostSymlink(const std::wstring& dir, const std::wstring& name) {
  const std::wstring link = dir + L"\\" + name;
  if (!RunHost(L"Z:\\bin\\rm -f " + name, dir)) return;
  const ULONGLONG end = GetTickCount64() + 10000;
  while (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES && GetTickCount64() < end)
    Sleep(10);
}

// The URL cache and the Windows directory's Prefetch folder belong to the
// whole Wine prefix: tests that change them hold this lock, so the in-process
// and the end-to-end tests never meet there.
class FixtureLock {
 public:
  FixtureLock() : mutex_(CreateMutexW(nullptr, FALSE, L"TarnholtCleanupFixtureLock")) {
    if (mutex_) WaitForSingleObject(mutex_, INFINITE);
  }
  ~FixtureLock() {
    if (mutex_) {
      ReleaseMutex(mutex_);
      CloseHandle(mutex_);
    }
  }
  FixtureLock(const FixtureLock&) = delete;
  FixtureLock& operator=(const FixtureLock&) = delete;

 private:
  HANDLE mutex_;
};

// Source URLs of every URL cache entry.
inline std::vector<std::wstring> UrlCacheEntries() {
  std::vector<std::wstring> urls;
  std::vector<unsigned long long> buffer;
  DWORD size = 0;
  FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
  if (!size) return urls;
  buffer.assign(size / 8 + 1, 0);
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
  DWORD got = size;
  HANDLE find = FindFirstUrlCacheEntryW(nullptr, entry, &got);
  if (!find) return urls;
  for (;;) {
    urls.push_back(entry->lpszSourceUrlName ? entry->lpszSourceUrlName : L"");
    size = 0;
    FindNextUrlCacheEntryW(find, nullptr, &size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !size) break;
    buffer.assign(size / 8 + 1, 0);
    entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    got = size;
    if (!FindNextUrlCacheEntryW(find, entry, &got)) break;
  }
  FindCloseUrlCache(find);
  return urls;
}

inline void ClearUrlCache() {
  for (const std::wstring& url : UrlCacheEntries()) DeleteUrlCacheEntryW(url.c_str());
}

// Adds `count` committed entries http://tarnholt.test/<tag>/<i>.
inline bool SeedUrlCache(const std::wstring& tag, int count, int first = 0) {
  for (int i = first; i < first + count; ++i) {
    const std::wstring url = L"http://tarnholt.test/" + tag + L"/" + std::to_wstring(i) + L".txt";
    wchar_t file[MAX_PATH + 1] = {};
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) return false;
    HANDLE h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
    FILETIME none{};
    if (!CommitUrlCacheEntryW(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                              nullptr))
      return false;
  }
  return true;
}

// The Windows directory's Prefetch folder for one test: created when missing
// (and then removed again), files written into it removed afterwards.
class ScopedPrefetch {
 public:
  ScopedPrefetch() {
    wchar_t windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    path_ = std::wstring(windows) + L"\\Prefetch";
    created_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
  }
  ~ScopedPrefetch() {
    for (const std::wstring& f : files_) DeleteFileW(f.c_str());
    if (created_) RemoveDirectoryW(path_.c_str());
  }
  ScopedPrefetch(const ScopedPrefetch&) = delete;
  ScopedPrefetch& operator=(const ScopedPrefetch&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring Write(const std::wstring& name) {
    const std::wstring full = path_ + L"\\" + name;
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    files_.push_back(full);
    return full;
  }

 private:
  std::wstring path_;
  bool created_ = false;
  std::vector<std::wstring> files_;
};

// Points %TEMP% of this process at `dir` until destroyed.
class ScopedTempVariable {
 public:
  explicit ScopedTempVariable(const std::wstring& dir) {
    const DWORD size = GetEnvironmentVariableW(L"TEMP", nullptr, 0);
    if (size) {
      old_.resize(size);
      old_.resize(GetEnvironmentVariableW(L"TEMP", old_.data(), size));
      had_ = true;
    }
    SetEnvironmentVariableW(L"TEMP", dir.c_str());
  }
  ~ScopedTempVariable() { SetEnvironmentVariableW(L"TEMP", had_ ? old_.c_str() : nullptr); }
  ScopedTempVariable(const ScopedTempVariable&) = delete;
  ScopedTempVariable& operator=(const ScopedTempVariable&) = delete;

 private:
  std::wstring old_;
  bool had_ = false;
};

}  // namespace cleanuptest
