#include "app/settings/SettingsEngine.h"

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
  // Closing first matters: a failed open keeps the earlier key open, and a
  // row must never read or write the key of the row before it.
  reg_->CloseKey();
  reg_->SetRootKey(place.Root);
  return reg_->OpenKey(L"\\" + place.Key, canCreate);
}

void TSettingsRegistry::Close() { reg_->CloseKey(); }

bool TSettingsRegistry::KeyExists(HKEY root, const std::wstring& key) {
  TSettingsPlace place = Place(root, key);
  reg_->CloseKey();
  reg_->SetRootKey(place.Root);
  return reg_->KeyExists(L"\\" + place.Key);
}

void TSettingsRegistry::DeleteKey(HKEY root, const std::wstring& key) {
  if (!KeyExists(root, key)) return;
  TSettingsPlace place = Place(root, key);
  if (!reg_->DeleteKey(L"\\" + place.Key))
    throw ERegistryException(L"Failed to delete key " + key);
}

int TSettingsRegistry::ReadInteger(const std::wstring& name) const { return reg_->ReadInteger(name); }

std::wstring TSettingsRegistry::ReadString(const std::wstring& name) const {
  return reg_->ReadString(name);
}

void TSettingsRegistry::WriteInteger(const std::wstring& name, int value) {
  reg_->WriteInteger(name, value);
}

void TSettingsRegistry::WriteText(const std::wstring& name, const std::wstring& value) {
  if (reg_->GetDataType(name) == rdExpandString)
    reg_->WriteExpandString(name, value);
  else
    reg_->WriteString(name, value);
}

// ---------------------------------------------------------------- rows

namespace {

// Reads one value of a create row; false when the read fails.
bool CanRead(const TSettingsRegistry& reg, TSettingKind kind, const wchar_t* name) {
  try {
    if (kind == TSettingKind::Integer)
      reg.ReadInteger(name);
    else
      reg.ReadString(name);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

void WriteDefault(TSettingsRegistry& reg, const TCreateKeyRow& row, const wchar_t* name) {
  try {
    if (row.Kind == TSettingKind::Integer)
      reg.WriteInteger(name, row.IntDefault);
    else
      reg.WriteText(name, row.TextDefault);
  } catch (const Exception&) {
    // A key that cannot be opened or written (a missing key of an "open"
    // row, an HKLM key without administrator rights) leaves the value
    // absent; start-up goes on with the next row.
  }
}

}  // namespace

void CreateKeyRow(TSettingsRegistry& reg, const TCreateKeyRow& row) {
  reg.Open(row.Root, row.Key, row.Create);
  // Each value of the row stands alone: a present value is never
  // overwritten because its partner is missing.
  for (const wchar_t* name : {row.Name, row.Name2}) {
    if (!name) continue;
    if (!CanRead(reg, row.Kind, name)) WriteDefault(reg, row, name);
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
  reg.Open(row.Root, row.Key, false);
  try {
    switch (row.Rule) {
      case TReadRule::TextIs:
      case TReadRule::TextIsNot:
      case TReadRule::TextToEdit:
        r.Text = reg.ReadString(row.Name);
        break;
      case TReadRule::BothAre1:
      case TReadRule::NotBothAre1:
        r.Int1 = reg.ReadInteger(row.Name);
        r.Int2 = reg.ReadInteger(row.Name2);
        break;
      default:
        r.Int1 = reg.ReadInteger(row.Name);
        break;
    }
    r.Ok = true;
  } catch (const Exception&) {
    r.Ok = false;
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

void WriteSettingRow(TSettingsRegistry& reg, const TWriteRow& row, const TSettingWrite& value) {
  if (!reg.Open(row.Root, row.Key, true)) {
    reg.Close();
    throw ERegistryException(L"Failed to open key " + std::wstring(row.Key));
  }
  try {
    for (const wchar_t* name : {row.Name, row.Name2}) {
      if (!name) continue;
      if (value.Kind == TSettingKind::Integer)
        reg.WriteInteger(name, value.Int);
      else
        reg.WriteText(name, value.Text);
    }
  } catch (...) {
    reg.Close();
    throw;
  }
  reg.Close();
}
