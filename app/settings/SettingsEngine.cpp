#include "app/settings/SettingsEngine.h"

#include <cstring>
#include <utility>

#include "framework/Registry.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------- TSettingsRegistry

TSettingsRegistry::TSettingsRegistry(TSettingsKeyMap map)
    : map_(std::move(map)), reg_(std::make_unique<TRegistry>(KEY_ALL_ACCESS)) {}

TSettingsRegistry::~TSettingsRegistry() = default;

TSettingsPlace TSettingsRegistry::Place(HKEY root, const std::wstring& key) const {
  if (map_) return map_(root, key);
  return TSettingsPlace{root, key};
}

bool TSettingsRegistry::Open(HKEY root, const std::wstring& key, bool canCreate) {
  TSettingsPlace place = Place(root, key);
  // A row must never read or write the key of the row before it, also when
  // its own key cannot be opened.
  current_ = nullptr;
  for (TOpenKey& k : open_)
    if (k.Root == place.Root && SameText(k.Path, place.Key)) {
      current_ = k.Reg.get();
      return true;
    }
  auto reg = std::make_unique<TRegistry>(KEY_ALL_ACCESS);
  reg->SetRootKey(place.Root);
  if (!reg->OpenKey(L"\\" + place.Key, canCreate)) return false;
  current_ = reg.get();
  open_.push_back(TOpenKey{place.Root, place.Key, std::move(reg)});
  return true;
}

void TSettingsRegistry::Close() { current_ = nullptr; }

bool TSettingsRegistry::KeyExists(HKEY root, const std::wstring& key) {
  TSettingsPlace place = Place(root, key);
  current_ = nullptr;
  reg_->CloseKey();
  reg_->SetRootKey(place.Root);
  return reg_->KeyExists(L"\\" + place.Key);
}

void TSettingsRegistry::DeleteKey(HKEY root, const std::wstring& key) {
  if (!KeyExists(root, key)) return;
  TSettingsPlace place = Place(root, key);
  // Handles of the key and of keys below it would point at deleted keys;
  // a later row of theirs opens (or creates) them anew.
  const std::wstring below = place.Key + L"\\";
  std::erase_if(open_, [&](const TOpenKey& k) {
    return k.Root == place.Root &&
           (SameText(k.Path, place.Key) || SameText(k.Path.substr(0, below.size()), below));
  });
  if (!reg_->DeleteKey(L"\\" + place.Key))
    throw ERegistryException(L"Failed to delete key " + key);
}

int TSettingsRegistry::ReadInteger(const std::wstring& name) const { return Current().ReadInteger(name); }

std::wstring TSettingsRegistry::ReadString(const std::wstring& name) const {
  return Current().ReadString(name);
}

void TSettingsRegistry::WriteInteger(const std::wstring& name, int value) {
  Current().WriteInteger(name, value);
}

void TSettingsRegistry::WriteText(const std::wstring& name, const std::wstring& value) {
  if (Current().GetDataType(name) == rdExpandString)
    Current().WriteExpandString(name, value);
  else
    Current().WriteString(name, value);
}

TStoredValue TSettingsRegistry::Stored(const std::wstring& name) const {
  TStoredValue v;
  HKEY key = Current().CurrentKey();
  if (!key) return v;
  // Settings are small: one query reads most of them whole.
  DWORD type = REG_NONE;
  v.Data.resize(64);
  DWORD size = static_cast<DWORD>(v.Data.size());
  LSTATUS rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, v.Data.data(), &size);
  if (rc == ERROR_MORE_DATA) {
    v.Data.resize(size);
    rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, v.Data.data(), &size);
  }
  if (rc != ERROR_SUCCESS) return TStoredValue{};
  v.Data.resize(size);
  v.Exists = true;
  v.Type = type;
  return v;
}

void TSettingsRegistry::WriteStored(const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
  HKEY key = Current().CurrentKey();
  if (!key || RegSetValueExW(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                             static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
    throw ERegistryException(L"Failed to set data for '" + name + L"'");
}

// ---------------------------------------------------------------- stored values

namespace {

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::wstring TextOf(const TStoredValue& v) {
  std::wstring text(v.Data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(text.data(), v.Data.data(), text.size() * sizeof(wchar_t));
  // The stored terminator, and anything a careless writer left after it.
  size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

std::vector<BYTE> TextBytes(const std::wstring& text) {
  std::vector<BYTE> data((text.size() + 1) * sizeof(wchar_t), 0);
  memcpy(data.data(), text.data(), text.size() * sizeof(wchar_t));
  return data;
}

std::vector<BYTE> NumberBytes(int number) {
  std::vector<BYTE> data(4);
  memcpy(data.data(), &number, 4);
  return data;
}

}  // namespace

bool StoredNumber(const TStoredValue& value, int& number) {
  if (!value.Exists) return false;
  if ((value.Type == REG_DWORD || value.Type == REG_BINARY) && value.Data.size() == 4) {
    memcpy(&number, value.Data.data(), 4);
    return true;
  }
  if (IsString(value.Type)) return TryParseDecimal(TextOf(value), number);
  return false;
}

bool StoredText(const TStoredValue& value, std::wstring& text) {
  if (!value.Exists) return false;
  if (IsString(value.Type)) {
    text = TextOf(value);
    return true;
  }
  int number = 0;
  if (!StoredNumber(value, number)) return false;
  text = std::to_wstring(number);
  return true;
}

// ---------------------------------------------------------------- rows

namespace {

void WriteDefault(TSettingsRegistry& reg, const TCreateKeyRow& row, const wchar_t* name) {
  try {
    reg.WriteInteger(name, row.IntDefault);
  } catch (const Exception&) {
    // A key that cannot be opened or written (a missing key of an "open"
    // row, an HKLM key without administrator rights) leaves the value
    // absent; start-up goes on with the next row.
  }
}

}  // namespace

void CreateKeyRow(TSettingsRegistry& reg, const TCreateKeyRow& row) {
  if (!reg.Open(row.Root, row.Key, row.Create)) {
    reg.Close();
    return;
  }
  // Only a missing value is made: a value of any other type or content is
  // the user's (or a policy's) and start-up must not turn it off. Each value
  // of the row stands alone.
  for (const wchar_t* name : {row.Name, row.Name2}) {
    if (!name || reg.Stored(name).Exists) continue;
    if (row.Kind == TSettingKind::Integer) WriteDefault(reg, row, name);
  }
  reg.Close();
}

TSettingRead ReadLoadRow(TSettingsRegistry& reg, const TLoadRow& row) {
  TSettingRead r;
  if (row.Rule == TReadRule::SubKeyExists) {
    // The question itself cannot fail: a missing key holds no subkey.
    r.Int1 = reg.KeyExists(row.Root, std::wstring(row.Key) + L"\\" + row.Name) ? 1 : 0;
    r.Ok = true;
    return r;
  }
  if (!reg.Open(row.Root, row.Key, false)) {
    reg.Close();
    return r;
  }
  auto number = [&](const wchar_t* name, int& out) { return StoredNumber(reg.Stored(name), out); };
  switch (row.Rule) {
    case TReadRule::TextIs:
    case TReadRule::TextIsNot:
    case TReadRule::TextToEdit: {
      // A missing text reads as empty, as the registry object reads it.
      const TStoredValue v = reg.Stored(row.Name);
      r.Ok = !v.Exists || StoredText(v, r.Text);
      break;
    }
    case TReadRule::BothAre1:
    case TReadRule::NotBothAre1:
      r.Ok = number(row.Name, r.Int1) && number(row.Name2, r.Int2);
      break;
    default:
      r.Ok = number(row.Name, r.Int1);
      break;
  }
  reg.Close();
  return r;
}

bool TryParseDecimal(const std::wstring& text, int& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
    negative = text[i] == L'-';
    ++i;
  }
  if (i >= text.size()) return false;
  long long acc = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    acc = acc * 10 + (text[i] - L'0');
    if (acc > 2147483648LL) return false;
  }
  if (negative) acc = -acc;
  if (acc > 2147483647LL || acc < -2147483648LL) return false;
  value = static_cast<int>(acc);
  return true;
}

void WriteSettingValue(TSettingsRegistry& reg, const std::wstring& name, const TSettingWrite& value,
                       bool userChanged) {
  const TStoredValue stored = reg.Stored(name);
  const bool integer = value.Kind == TSettingKind::Integer;
  if (!stored.Exists) {
    if (integer) reg.WriteInteger(name, value.Int);
    else reg.WriteText(name, value.Text);
    return;
  }
  int storedNumber = 0;
  std::wstring storedText;
  const bool isNumber = StoredNumber(stored, storedNumber);
  const bool isText = StoredText(stored, storedText);
  if (integer ? !isNumber : !isText) {
    // Not ours to read, so not ours to replace unless the user asked.
    if (!userChanged) return;
    if (integer) reg.WriteInteger(name, value.Int);
    else reg.WriteStored(name, REG_SZ, TextBytes(value.Text));
    return;
  }
  if (integer ? storedNumber == value.Int : storedText == value.Text) return;
  // The new value in the stored type where that type can hold it.
  int newNumber = value.Int;
  const bool newIsNumber = integer || TryParseDecimal(value.Text, newNumber);
  if (IsString(stored.Type)) {
    reg.WriteStored(name, stored.Type, TextBytes(integer ? std::to_wstring(value.Int) : value.Text));
  } else if (newIsNumber) {
    reg.WriteStored(name, stored.Type, NumberBytes(newNumber));
  } else {
    reg.WriteStored(name, REG_SZ, TextBytes(value.Text));
  }
}

void WriteSettingRow(TSettingsRegistry& reg, const TWriteRow& row, const TSettingWrite& value,
                     bool userChanged) {
  if (!reg.Open(row.Root, row.Key, true)) {
    reg.Close();
    throw ERegistryException(L"Failed to open key " + std::wstring(row.Key));
  }
  try {
    for (const wchar_t* name : {row.Name, row.Name2})
      if (name) WriteSettingValue(reg, name, value, userChanged);
  } catch (...) {
    reg.Close();
    throw;
  }
  reg.Close();
}
