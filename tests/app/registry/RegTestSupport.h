#pragma once
// Shared seeding and reading helpers of the registry cleaner's tests.
#include <windows.h>

#include <string>
#include <vector>

#include "app/registry/CleanThread.h"
#include "app/registry/RegFinding.h"

namespace regtest {

// Creates (or opens) Root\Path and returns it; throws on failure.
HKEY CreateKey(HKEY root, const std::wstring& path);
// Writes a value with exactly these bytes and this type.
void SetRaw(HKEY key, const std::wstring& name, DWORD type, const std::vector<BYTE>& data);
// A REG_SZ holding text plus its NUL.
void SetSz(HKEY key, const std::wstring& name, const std::wstring& text);
// Type and bytes of a value; false when it does not exist.
bool ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type,
             std::vector<BYTE>& data);
bool KeyExists(HKEY root, const std::wstring& path);
bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name);
std::vector<BYTE> Bytes(const std::wstring& text, bool withNul);

// A key directly below HKEY_CLASSES_ROOT, made through HKCU\Software\Classes
// where the platform merges that into HKEY_CLASSES_ROOT, through
// HKEY_CLASSES_ROOT itself where it does not (Wine 8 maps HKEY_CLASSES_ROOT
// to HKLM\Software\Classes only). Removed with its subkeys at the end.
class ScopedClassesKey {
 public:
  explicit ScopedClassesKey(const std::wstring& name);
  ~ScopedClassesKey();
  ScopedClassesKey(const ScopedClassesKey&) = delete;
  ScopedClassesKey& operator=(const ScopedClassesKey&) = delete;
  const std::wstring& Name() const { return name_; }
  HKEY Handle() const { return key_; }

 private:
  HKEY root_ = nullptr;
  std::wstring path_;
  std::wstring name_;
  HKEY key_ = nullptr;
};

// A unique suffix for names of this test process.
std::wstring UniqueSuffix();
// The letter of a drive that does not exist here ('\0' if all do).
wchar_t MissingDriveLetter();

// Runs "reg.exe import <file>" and returns its exit code.
DWORD RunRegImport(const std::wstring& file);

// Everything a scan hands to the user-interface thread, in order.
struct ScanLog {
  std::vector<TRegFinding> Rows;
  std::vector<std::wstring> Statuses;
  std::vector<std::wstring> Events;  // "row", "status", "finished" in order
  bool Finished = false;
};
// Connects the thread's hooks to `log`.
void Connect(TCleanThread& thread, ScanLog& log);
// Starts the thread (freeing itself) and serves its calls until OnFinished.
void RunToEnd(TCleanThread* thread, ScanLog& log);
// Walks Root\start like a pass does, on this thread, with an unstarted
// thread object: rows come straight into `log`.
ScanLog WalkDirect(HKEY root, const std::wstring& start);

}  // namespace regtest
