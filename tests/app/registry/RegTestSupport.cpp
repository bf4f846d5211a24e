#include "tests/app/registry/RegTestSupport.h"

#include <cstring>
#include <memory>
#include <stdexcept>

#include "tests/common/Pump.h"

namespace regtest {
namespace {

void Check(LONG status, const char* what) {
  if (status != ERROR_SUCCESS)
    throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(status));
}

std::wstring ApiPath(const std::wstring& path) {
  return (!path.empty() && path[0] == L'\\') ? path.substr(1) : path;
}

}  // namespace

HKEY CreateKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  Check(RegCreateKeyExW(root, ApiPath(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr),
        "RegCreateKeyExW");
  return key;
}

void SetRaw(HKEY key, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
  // The registry stores the character just past a string's buffer too when
  // it is a NUL and the data does not end in one. Follow the data with a
  // non-zero character so a string meant to lack its terminator stays so.
  std::vector<BYTE> buffer(data);
  buffer.push_back('X');
  buffer.push_back(0);
  Check(RegSetValueExW(key, name.c_str(), 0, type, buffer.data(), static_cast<DWORD>(data.size())),
        "RegSetValueExW");

  DWORD storedType = 0;
  DWORD size = 0;
  Check(RegQueryValueExW(key, name.c_str(), nullptr, &storedType, nullptr, &size),
        "RegQueryValueExW");
  std::vector<BYTE> stored(size);
  Check(RegQueryValueExW(key, name.c_str(), nullptr, &storedType, size ? stored.data() : nullptr,
                         &size),
        "RegQueryValueExW");
  stored.resize(size);
  if (storedType != type || stored != data)
    throw std::runtime_error("RegSetValueExW stored other bytes than the test wrote");
}

std::vector<BYTE> Bytes(const std::wstring& text, bool withNul) {
  const BYTE* chars = reinterpret_cast<const BYTE*>(text.data());
  std::vector<BYTE> bytes(chars, chars + text.size() * sizeof(wchar_t));
  if (withNul) bytes.insert(bytes.end(), 2, 0);
  return bytes;
}

void SetSz(HKEY key, const std::wstring& name, const std::wstring& text) {
  SetRaw(key, name, REG_SZ, Bytes(text, true));
}

bool ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type,
             std::vector<BYTE>& data) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ApiPath(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG r = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (r == ERROR_SUCCESS) {
    data.assign(size, 0);
    r = RegQueryValueExW(key, name.c_str(), nullptr, &type, size ? data.data() : nullptr, &size);
    data.resize(size);
  }
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ApiPath(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name) {
  DWORD type = 0;
  std::vector<BYTE> data;
  return ReadRaw(root, path, name, type, data);
}

ScopedClassesKey::ScopedClassesKey(const std::wstring& name) : name_(name) {
  root_ = HKEY_CURRENT_USER;
  path_ = L"Software\\Classes\\" + name;
  key_ = CreateKey(root_, path_);
  if (!KeyExists(HKEY_CLASSES_ROOT, name)) {
    RegCloseKey(key_);
    RegDeleteTreeW(root_, path_.c_str());
    RegDeleteKeyW(root_, path_.c_str());
    root_ = HKEY_CLASSES_ROOT;
    path_ = name;
    key_ = CreateKey(root_, path_);
  }
}

ScopedClassesKey::~ScopedClassesKey() {
  RegCloseKey(key_);
  RegDeleteTreeW(root_, path_.c_str());
  RegDeleteKeyW(root_, path_.c_str());
}

std::wstring UniqueSuffix() {
  static unsigned counter = 0;
  return std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(GetTickCount64() % 100000) +
         L"x" + std::to_wstring(++counter);
}

wchar_t MissingDriveLetter() {
  const DWORD drives = GetLogicalDrives();
  for (wchar_t letter = L'Y'; letter > L'B'; --letter)
    if (!(drives & (1u << (letter - L'A')))) return letter;
  return L'\0';
}

DWORD RunRegImport(const std::wstring& file) {
  std::wstring command = L"reg.exe import \"" + file + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &si, &pi))
    throw std::runtime_error("CreateProcessW(reg.exe) failed");
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

void Connect(TCleanThread& thread, ScanLog& log) {
  thread.OnFinding = [&log](const TRegFinding& row) {
    log.Rows.push_back(row);
    log.Events.push_back(L"row");
  };
  thread.OnStatus = [&log](const std::wstring& text) {
    log.Statuses.push_back(text);
    log.Events.push_back(L"status");
  };
  thread.OnFinished = [&log] {
    log.Finished = true;
    log.Events.push_back(L"finished");
  };
}

void RunToEnd(TCleanThread* thread, ScanLog& log) {
  InitMainThreadSync();
  thread->FreeOnTerminate = true;
  thread->Start();
  testenv::PumpUntil(
      [&log] {
        CheckSynchronize();
        return log.Finished;
      },
      10 * 60 * 1000);
  if (!log.Finished) throw std::runtime_error("scan did not finish");
}

ScanLog WalkDirect(HKEY root, const std::wstring& start) {
  InitMainThreadSync();
  ScanLog log;
  TCleanThread thread;
  Connect(thread, log);
  thread.Running = true;
  TRegistry reg(KEY_READ);
  reg.SetRootKey(root);
  WalkRegKeys(thread, reg, start, start, L"", 1);
  return log;
}

}  // namespace regtest
