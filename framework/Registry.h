// TRegistry: one open key at a time below a root key. Key paths that begin
// with "\" are taken from the root, other paths from the open key (or from the
// root when none is open). Reads and writes of the open key raise
// ERegistryException on failure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Classes.h"

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };
using enum TRegDataType;

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  DWORD RawType = REG_NONE;  // the registry's own type code
  int DataSize = 0;          // bytes
};

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  FILETIME FileTime{};
};

class TRegistry : public TObject {
 public:
  // Access: the rights keys are opened with (KEY_ALL_ACCESS by default).
  // Keys are always opened in the 64-bit view unless Access names
  // KEY_WOW64_32KEY.
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // HKEY_CURRENT_USER by default. Changing it closes the open key.
  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY value);
  REGSAM Access = KEY_ALL_ACCESS;
  // Flush the key to disk on CloseKey when false.
  bool LazyWrite = true;

  HKEY CurrentKey() const { return currentKey_; }
  // Path of the open key below the root, without a leading "\".
  const std::wstring& CurrentPath() const { return currentPath_; }

  void CloseKey();
  // Opens (and with canCreate creates) the key and makes it the open key.
  // On failure the previously open key stays open and false is returned.
  bool OpenKey(const std::wstring& key, bool canCreate);
  // Opens with KEY_READ; writes through the open key then fail.
  bool OpenKeyReadOnly(const std::wstring& key);
  // Creates the key (and missing parents) without opening it; raises
  // ERegistryException ("Failed to create key %s") on failure.
  bool CreateKey(const std::wstring& key);
  // Deletes the key with all its subkeys; false when it could not.
  bool DeleteKey(const std::wstring& key);
  bool DeleteValue(const std::wstring& name);
  bool KeyExists(const std::wstring& key);
  bool ValueExists(const std::wstring& name) const;

  // Names of the open key's subkeys / values in the registry's order (the
  // list is cleared first; nothing is added when no key is open).
  void GetKeyNames(TStrings& strings) const;
  void GetValueNames(TStrings& strings) const;
  std::vector<std::wstring> GetKeyNames() const;
  std::vector<std::wstring> GetValueNames() const;
  bool GetKeyInfo(TRegKeyInfo& info) const;
  bool HasSubKeys() const;

  // False / rdUnknown / -1 when the value does not exist.
  bool GetDataInfo(const std::wstring& name, TRegDataInfo& info) const;
  TRegDataType GetDataType(const std::wstring& name) const;
  int GetDataSize(const std::wstring& name) const;

  // REG_SZ or REG_EXPAND_SZ text (not expanded). A missing value reads as
  // empty text; a value of another type raises "Invalid data type for '%s'";
  // no open key raises "Failed to get data for '%s'".
  std::wstring ReadString(const std::wstring& name) const;
  // REG_DWORD only: missing raises "Failed to get data for '%s'", another
  // type "Invalid data type for '%s'".
  int ReadInteger(const std::wstring& name) const;
  bool ReadBool(const std::wstring& name) const;  // ReadInteger != 0
  // REG_BINARY (or an unknown type) of at most bufSize bytes: copies it and
  // returns its size; otherwise raises "Invalid data type for '%s'".
  int ReadBinaryData(const std::wstring& name, void* buffer, int bufSize) const;
  std::vector<BYTE> ReadBinaryData(const std::wstring& name) const;

  // Writes raise "Failed to set data for '%s'" on failure.
  void WriteString(const std::wstring& name, const std::wstring& value);
  void WriteExpandString(const std::wstring& name, const std::wstring& value);
  void WriteInteger(const std::wstring& name, int value);
  void WriteBool(const std::wstring& name, bool value);
  void WriteBinaryData(const std::wstring& name, const void* buffer, int size);

 private:
  HKEY BaseKey(bool relative) const;
  REGSAM ViewFlag() const;
  void ChangeKey(HKEY key, const std::wstring& path);
  void PutData(const std::wstring& name, const void* data, DWORD size, DWORD type);
  // Reads the whole value; raises "Failed to get data" when it cannot.
  std::vector<BYTE> GetData(const std::wstring& name, DWORD& type) const;
  bool DeleteTree(HKEY parent, const std::wstring& subKey);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  HKEY currentKey_ = nullptr;
  std::wstring currentPath_;
};
