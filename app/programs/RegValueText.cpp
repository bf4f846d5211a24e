#include "app/programs/RegValueText.h"

#include <algorithm>
#include <cstring>

#include "framework/SysUtils.h"

namespace {

std::wstring TextOf(const std::vector<BYTE>& data) {
  const size_t chars = data.size() / sizeof(wchar_t);
  std::wstring text(chars, L'\0');
  if (chars) std::memcpy(text.data(), data.data(), chars * sizeof(wchar_t));
  // Stored strings normally end in a NUL; whatever follows one is not text.
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

std::wstring HexBytes(const std::vector<BYTE>& data) {
  std::wstring text;
  for (size_t i = 0; i < data.size(); ++i) {
    if (i) text += L' ';
    text += IntToHex(data[i], 2);
  }
  return text;
}

}  // namespace

std::wstring RegValueText(DWORD type, const std::vector<BYTE>& data) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return TextOf(data);
    case REG_DWORD:
      if (data.size() == sizeof(DWORD)) {
        DWORD v;
        std::memcpy(&v, data.data(), sizeof v);
        return IntToStr(v);
      }
      break;
    case REG_QWORD:
      if (data.size() == sizeof(unsigned long long)) {
        unsigned long long v;
        std::memcpy(&v, data.data(), sizeof v);
        return std::to_wstring(v);
      }
      break;
    default:
      break;
  }
  return HexBytes(data);
}

bool ReadRegValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
  // The size can change between asking and reading: retry until it fits.
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return false;
    data.assign(size, 0);
    rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(),
                          &size);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) return false;
    data.resize(size);
    return true;
  }
  return false;
}

bool ReadRegValueText(HKEY key, const std::wstring& name, std::wstring& text) {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  if (!ReadRegValue(key, name, type, data)) return false;
  text = RegValueText(type, data);
  return true;
}

bool ReadRegString(HKEY key, const std::wstring& name, std::wstring& text, bool* expandable) {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  if (!ReadRegValue(key, name, type, data)) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  text = TextOf(data);
  if (expandable) *expandable = type == REG_EXPAND_SZ;
  return true;
}

std::vector<std::wstring> RegValueNames(HKEY key) {
  std::vector<std::wstring> names;
  DWORD count = 0, maxLen = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxLen,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  // Value names are at most 16383 characters.
  std::wstring buffer(std::max<DWORD>(maxLen + 1, 16384), L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(buffer.size());
    LONG rc = RegEnumValueW(key, i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), len);
  }
  return names;
}

std::vector<std::wstring> RegSubKeyNames(HKEY key) {
  std::vector<std::wstring> names;
  // Key names are at most 255 characters.
  wchar_t buffer[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = 256;
    LONG rc = RegEnumKeyExW(key, i, buffer, &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(buffer, len);
  }
  return names;
}
