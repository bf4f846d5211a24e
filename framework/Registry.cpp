#include "framework/Registry.h"

#include <cstring>

#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace {

TRegDataType DataTypeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

[[noreturn]] void GetDataFailed(const std::wstring& name) {
  throw ERegistryException(L"Failed to get data for '" + name + L"'");
}
[[noreturn]] void SetDataFailed(const std::wstring& name) {
  throw ERegistryException(L"Failed to set data for '" + name + L"'");
}
[[noreturn]] void InvalidType(const std::wstring& name) {
  throw ERegistryException(L"Invalid data type for '" + name + L"'");
}

// "\A\B" → absolute "A\B"; "A\B" → relative.
bool SplitRelative(const std::wstring& key, std::wstring& rest) {
  if (!key.empty() && key[0] == L'\\') {
    rest = key.substr(1);
    return false;
  }
  rest = key;
  return true;
}

}  // namespace

TRegistry::TRegistry(REGSAM access) : Access(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY value) {
  if (rootKey_ == value) return;
  CloseKey();
  rootKey_ = value;
}

REGSAM TRegistry::ViewFlag() const {
  return (Access & KEY_WOW64_32KEY) ? 0 : KEY_WOW64_64KEY;
}

HKEY TRegistry::BaseKey(bool relative) const {
  return (currentKey_ == nullptr || !relative) ? rootKey_ : currentKey_;
}

void TRegistry::CloseKey() {
  if (currentKey_) {
    if (!LazyWrite) ::RegFlushKey(currentKey_);
    RegKeyTraits::Close(currentKey_);
  }
  currentKey_ = nullptr;
  currentPath_.clear();
}

void TRegistry::ChangeKey(HKEY key, const std::wstring& path) {
  CloseKey();
  currentKey_ = key;
  currentPath_ = path;
}

bool TRegistry::OpenKey(const std::wstring& key, bool canCreate) {
  std::wstring s;
  bool relative = SplitRelative(key, s);
  HKEY tmp = nullptr;
  LSTATUS rc;
  if (!canCreate || s.empty()) {
    rc = ::RegOpenKeyExW(BaseKey(relative), s.c_str(), 0, Access | ViewFlag(), &tmp);
  } else {
    rc = ::RegCreateKeyExW(BaseKey(relative), s.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           Access | ViewFlag(), nullptr, &tmp, nullptr);
  }
  if (rc != ERROR_SUCCESS) return false;
  std::wstring path = s;
  if (currentKey_ && relative)
    path = currentPath_.empty() ? s : (s.empty() ? currentPath_ : currentPath_ + L"\\" + s);
  ChangeKey(tmp, path);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& key) {
  REGSAM saved = Access;
  Access = KEY_READ | (saved & (KEY_WOW64_32KEY | KEY_WOW64_64KEY));
  bool ok = false;
  try {
    ok = OpenKey(key, false);
  } catch (...) {
    Access = saved;
    throw;
  }
  Access = saved;
  return ok;
}

bool TRegistry::CreateKey(const std::wstring& key) {
  std::wstring s;
  bool relative = SplitRelative(key, s);
  HKEY tmp = nullptr;
  LSTATUS rc = ::RegCreateKeyExW(BaseKey(relative), s.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 Access | ViewFlag(), nullptr, &tmp, nullptr);
  if (rc != ERROR_SUCCESS) throw ERegistryException(L"Failed to create key " + key);
  UniqueRegKey owner(tmp);
  return true;
}

bool TRegistry::DeleteTree(HKEY parent, const std::wstring& subKey) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_READ | DELETE | ViewFlag(), &raw) ==
      ERROR_SUCCESS) {
    UniqueRegKey key(raw);
    // Collect first: deleting while enumerating shifts the indexes.
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = 256;
      LSTATUS rc = ::RegEnumKeyExW(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.emplace_back(name, len);
    }
    for (const auto& n : names) DeleteTree(key.get(), n);
  }
  return ::RegDeleteKeyExW(parent, subKey.c_str(), ViewFlag(), 0) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::wstring& key) {
  std::wstring s;
  bool relative = SplitRelative(key, s);
  if (s.empty()) return false;  // never the base key itself
  return DeleteTree(BaseKey(relative), s);
}

bool TRegistry::DeleteValue(const std::wstring& name) {
  if (!currentKey_) return false;
  return ::RegDeleteValueW(currentKey_, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const std::wstring& key) {
  std::wstring s;
  bool relative = SplitRelative(key, s);
  HKEY tmp = nullptr;
  LSTATUS rc = ::RegOpenKeyExW(BaseKey(relative), s.c_str(), 0, KEY_QUERY_VALUE | ViewFlag(), &tmp);
  if (rc == ERROR_ACCESS_DENIED) return true;  // it is there, we just may not read it
  if (rc != ERROR_SUCCESS) return false;
  UniqueRegKey owner(tmp);
  return true;
}

bool TRegistry::ValueExists(const std::wstring& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

std::vector<std::wstring> TRegistry::GetKeyNames() const {
  std::vector<std::wstring> r;
  if (!currentKey_) return r;
  wchar_t name[256];  // key names are at most 255 characters
  for (DWORD i = 0;; ++i) {
    DWORD len = 256;
    LSTATUS rc = ::RegEnumKeyExW(currentKey_, i, name, &len, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) break;
    r.emplace_back(name, len);
  }
  return r;
}

std::vector<std::wstring> TRegistry::GetValueNames() const {
  std::vector<std::wstring> r;
  if (!currentKey_) return r;
  std::vector<wchar_t> name(16384);  // value names are at most 16383 characters
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    LSTATUS rc = ::RegEnumValueW(currentKey_, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      name.resize(name.size() * 2);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    r.emplace_back(name.data(), len);
  }
  return r;
}

static void FillStrings(TStrings& strings, const std::vector<std::wstring>& names) {
  strings.BeginUpdate();
  try {
    strings.Clear();
    for (const auto& n : names) strings.Add(n);
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

void TRegistry::GetKeyNames(TStrings& strings) const { FillStrings(strings, GetKeyNames()); }
void TRegistry::GetValueNames(TStrings& strings) const { FillStrings(strings, GetValueNames()); }

bool TRegistry::GetKeyInfo(TRegKeyInfo& info) const {
  info = TRegKeyInfo{};
  if (!currentKey_) return false;
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
  FILETIME ft{};
  if (::RegQueryInfoKeyW(currentKey_, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr,
                         &values, &maxValueLen, &maxDataLen, nullptr, &ft) != ERROR_SUCCESS)
    return false;
  info.NumSubKeys = static_cast<int>(subKeys);
  info.MaxSubKeyLen = static_cast<int>(maxSubKeyLen);
  info.NumValues = static_cast<int>(values);
  info.MaxValueLen = static_cast<int>(maxValueLen);
  info.MaxDataLen = static_cast<int>(maxDataLen);
  info.FileTime = ft;
  return true;
}

bool TRegistry::HasSubKeys() const {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

bool TRegistry::GetDataInfo(const std::wstring& name, TRegDataInfo& info) const {
  info = TRegDataInfo{};
  if (!currentKey_) return false;
  DWORD type = REG_NONE, size = 0;
  if (::RegQueryValueExW(currentKey_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  info.RawType = type;
  info.RegData = DataTypeOf(type);
  info.DataSize = static_cast<int>(size);
  return true;
}

TRegDataType TRegistry::GetDataType(const std::wstring& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const std::wstring& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.DataSize : -1;
}

std::vector<BYTE> TRegistry::GetData(const std::wstring& name, DWORD& type) const {
  if (!currentKey_) GetDataFailed(name);
  std::vector<BYTE> data;
  DWORD size = 0;
  if (::RegQueryValueExW(currentKey_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    GetDataFailed(name);
  // The value may grow between the two calls: retry with the new size.
  for (int attempt = 0; attempt < 8; ++attempt) {
    data.resize(size);
    DWORD got = size;
    LSTATUS rc = ::RegQueryValueExW(currentKey_, name.c_str(), nullptr, &type,
                                    data.empty() ? nullptr : data.data(), &got);
    if (rc == ERROR_SUCCESS) {
      data.resize(got);
      return data;
    }
    if (rc != ERROR_MORE_DATA) GetDataFailed(name);
    size = got > size ? got : size * 2 + 2;
  }
  GetDataFailed(name);
}

std::wstring TRegistry::ReadString(const std::wstring& name) const {
  if (!currentKey_) GetDataFailed(name);
  TRegDataInfo info;
  if (!GetDataInfo(name, info)) return std::wstring();  // a missing string reads as empty
  DWORD type = REG_NONE;
  std::vector<BYTE> data = GetData(name, type);
  if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidType(name);
  // Whole UTF-16 units only; an odd trailing byte or a missing terminator is
  // tolerated, and the text ends at the first zero.
  size_t units = data.size() / sizeof(wchar_t);
  std::wstring s(units, L'\0');
  if (units) memcpy(s.data(), data.data(), units * sizeof(wchar_t));
  size_t z = s.find(L'\0');
  if (z != std::wstring::npos) s.resize(z);
  return s;
}

int TRegistry::ReadInteger(const std::wstring& name) const {
  DWORD type = REG_NONE;
  std::vector<BYTE> data = GetData(name, type);
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) InvalidType(name);
  DWORD v;
  memcpy(&v, data.data(), sizeof v);
  return static_cast<int>(v);
}

bool TRegistry::ReadBool(const std::wstring& name) const { return ReadInteger(name) != 0; }

int TRegistry::ReadBinaryData(const std::wstring& name, void* buffer, int bufSize) const {
  DWORD type = REG_NONE;
  std::vector<BYTE> data = GetData(name, type);
  TRegDataType t = DataTypeOf(type);
  if ((t != rdBinary && t != rdUnknown) || static_cast<int>(data.size()) > bufSize) InvalidType(name);
  if (!data.empty()) memcpy(buffer, data.data(), data.size());
  return static_cast<int>(data.size());
}

std::vector<BYTE> TRegistry::ReadBinaryData(const std::wstring& name) const {
  DWORD type = REG_NONE;
  std::vector<BYTE> data = GetData(name, type);
  TRegDataType t = DataTypeOf(type);
  if (t != rdBinary && t != rdUnknown) InvalidType(name);
  return data;
}

void TRegistry::PutData(const std::wstring& name, const void* data, DWORD size, DWORD type) {
  if (!currentKey_) SetDataFailed(name);
  if (::RegSetValueExW(currentKey_, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
      ERROR_SUCCESS)
    SetDataFailed(name);
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
  PutData(name, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value) {
  PutData(name, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)),
          REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const std::wstring& name, int value) {
  DWORD v = static_cast<DWORD>(value);
  PutData(name, &v, sizeof v, REG_DWORD);
}

void TRegistry::WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const std::wstring& name, const void* buffer, int size) {
  PutData(name, buffer, static_cast<DWORD>(size < 0 ? 0 : size), REG_BINARY);
}
