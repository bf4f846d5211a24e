#pragma once
// What every test executable needs from its surroundings: where the fixture
// files and the built tarnholt.exe are (set by CTest), and scratch places on
// disk and in the registry that clean up after themselves.
#include <windows.h>

#include <string>

namespace testenv {

// Full Windows path of tests/fixtures/<name> (env TARNHOLT_FIXTURES).
// With an empty name, the fixtures folder itself.
std::wstring FixturePath(const std::wstring& name = L"");

// Full Windows path of the built tarnholt.exe (env TARNHOLT_EXE); empty when
// the variable is not set, e.g. an executable started by hand without it.
std::wstring TarnholtExePath();

// Value of an environment variable of this process, empty when unset.
std::wstring GetEnv(const wchar_t* name);

// The whole content of a file (empty when it cannot be opened); readable
// while another handle writes it.
std::string ReadFileBytes(const std::wstring& path);
// Replaces the file's content; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A fresh empty folder under %TEMP%, deleted with everything in it when the
// object goes away. Tests make their fixture trees here instead of scanning
// real drives.
class ScopedTempDir {
public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  // Folder path without a trailing backslash.
  const std::wstring& Path() const { return path_; }
  // Path() + L"\\" + relative.
  std::wstring operator/(const std::wstring& relative) const;

  // Writes a file below the folder (creating its parent folders) and
  // returns its full path.
  std::wstring WriteFile(const std::wstring& relative, const std::string& bytes) const;
  // Creates a folder below the folder (and its parents); returns its path.
  std::wstring MakeDir(const std::wstring& relative) const;

private:
  std::wstring path_;
};

// A scratch key HKCU\Software\TarnholtTest\<unique>, created empty and
// deleted with all its subkeys when the object goes away.
class ScopedRegKey {
public:
  ScopedRegKey();
  ~ScopedRegKey();
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;

  HKEY Root() const { return HKEY_CURRENT_USER; }
  // Path relative to HKCU, e.g. L"Software\\TarnholtTest\\1234-5-6".
  const std::wstring& SubKey() const { return subKey_; }
  // Open handle to the key (KEY_ALL_ACCESS), owned by this object.
  HKEY Handle() const { return key_; }

private:
  std::wstring subKey_;
  HKEY key_ = nullptr;
};

}  // namespace testenv
