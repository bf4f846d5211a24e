#include "tests/common/TestEnv.h"

#include <atomic>
#include <stdexcept>

namespace testenv {
namespace {

// Unique within the machine for the life of the process: pid, start tick and
// a counter, so parallel test executables never share a scratch name.
std::wstring UniqueName() {
  static std::atomic<unsigned> counter{0};
  static const ULONGLONG started = GetTickCount64();
  return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(started) + L"-" +
         std::to_wstring(++counter);
}

void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + " failed, error " +
                           std::to_string(GetLastError()));
}

// Deletes a folder and everything in it. Linked folders (reparse points) are
// removed as links, never followed, so a test cannot delete outside its tree.
void DeleteTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      const bool isDir = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      const bool isLink = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
      if (isDir && !isLink) {
        DeleteTree(full);
      } else if (!DeleteFileW(full.c_str())) {
        RemoveDirectoryW(full.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(dir.c_str());
}

void MakeDirs(const std::wstring& path) {
  for (size_t pos = path.find(L'\\', 3); ; pos = path.find(L'\\', pos + 1)) {
    const std::wstring part = path.substr(0, pos);
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      Fail("CreateDirectoryW");
    if (pos == std::wstring::npos) break;
  }
}

}  // namespace

std::wstring GetEnv(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD written = GetEnvironmentVariableW(name, value.data(), size);
  value.resize(written);
  return value;
}

std::wstring FixturePath(const std::wstring& name) {
  const std::wstring root = GetEnv(L"TARNHOLT_FIXTURES");
  return name.empty() ? root : root + L"\\" + name;
}

std::wstring TarnholtExePath() { return GetEnv(L"TARNHOLT_EXE"); }

ScopedTempDir::ScopedTempDir() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) Fail("GetTempPathW");
  std::wstring base(temp, length);
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  path_ = base + L"\\TarnholtTest-" + UniqueName();
  if (!CreateDirectoryW(path_.c_str(), nullptr)) Fail("CreateDirectoryW");
}

ScopedTempDir::~ScopedTempDir() { DeleteTree(path_); }

std::wstring ScopedTempDir::operator/(const std::wstring& relative) const {
  return path_ + L"\\" + relative;
}

std::wstring ScopedTempDir::MakeDir(const std::wstring& relative) const {
  const std::wstring full = *this / relative;
  MakeDirs(full);
  return full;
}

std::wstring ScopedTempDir::WriteFile(const std::wstring& relative,
                                      const std::string& bytes) const {
  const std::wstring full = *this / relative;
  const size_t slash = full.rfind(L'\\');
  if (slash != std::wstring::npos && slash > path_.size()) MakeDirs(full.substr(0, slash));
  HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("CreateFileW");
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) Fail("WriteFile");
  return full;
}

ScopedRegKey::ScopedRegKey() : subKey_(L"Software\\TarnholtTest\\" + UniqueName()) {
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  if (status != ERROR_SUCCESS) {
    SetLastError(status);
    Fail("RegCreateKeyExW");
  }
}

ScopedRegKey::~ScopedRegKey() {
  if (key_) RegCloseKey(key_);
  RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, subKey_.c_str());
  // Drop the shared parent once the last test key is gone; fails harmlessly
  // while another test still has a key below it.
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TarnholtTest");
}

std::string ReadFileBytes(const std::wstring& path) {
  std::string data;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(h);
  return data;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(h);
  return ok;
}

}  // namespace testenv
