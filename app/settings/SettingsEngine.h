// Registry work of the settings pages, the same for every row of
// SettingsTable.h: making values exist, reading them, writing them with
// their exact type. Paths handed to the registry object begin with "\".
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/settings/SettingsTable.h"

class TRegistry;

// Where a settings key lives. The program uses the real roots; a map moves
// every key somewhere else (tests use a scratch key).
struct TSettingsPlace {
  HKEY Root;
  std::wstring Key;
};
using TSettingsKeyMap = std::function<TSettingsPlace(HKEY root, const std::wstring& key)>;

// One registry object for a run of rows, opened by root and key through the
// map. Every key is opened for full access.
class TSettingsRegistry {
 public:
  explicit TSettingsRegistry(TSettingsKeyMap map);
  ~TSettingsRegistry();
  TSettingsRegistry(const TSettingsRegistry&) = delete;
  TSettingsRegistry& operator=(const TSettingsRegistry&) = delete;

  // Sets the root and opens the key (creating it when asked); false when it
  // could not. Nothing stays open from an earlier row either way.
  bool Open(HKEY root, const std::wstring& key, bool canCreate);
  void Close();
  bool KeyExists(HKEY root, const std::wstring& key);
  // Deletes the key; a missing key is no error. Raises when the key exists
  // and could not be deleted.
  void DeleteKey(HKEY root, const std::wstring& key);
  // Reads of the open key: raise ERegistryException as TRegistry does.
  int ReadInteger(const std::wstring& name) const;
  std::wstring ReadString(const std::wstring& name) const;
  // Writes of the open key; raise on failure. WriteText keeps an
  // expandable string expandable and writes REG_SZ otherwise.
  void WriteInteger(const std::wstring& name, int value);
  void WriteText(const std::wstring& name, const std::wstring& value);

 private:
  TSettingsPlace Place(HKEY root, const std::wstring& key) const;
  TSettingsKeyMap map_;
  std::unique_ptr<TRegistry> reg_;
};

// A start-up read: the integers or the text of a row, or a failure.
struct TSettingRead {
  bool Ok = false;
  int Int1 = 0;
  int Int2 = 0;
  std::wstring Text;
};

// Makes one row's values exist: each value that cannot be read is written
// with its default; a default that cannot be written is skipped. Never
// raises.
void CreateKeyRow(TSettingsRegistry& reg, const TCreateKeyRow& row);
// Reads one row of the start-up fill. Never raises.
TSettingRead ReadLoadRow(TSettingsRegistry& reg, const TLoadRow& row);

// The decimal integer of an edit: optional sign and digits only, within 32
// bits. False for anything else.
bool TryParseDecimal(const std::wstring& text, int& value);

// A value a page's Ok writes.
struct TSettingWrite {
  TSettingKind Kind = TSettingKind::Integer;
  int Int = 0;
  std::wstring Text;
};

// Writes one Ok row (both values of a two-value row); the key is created
// when missing. Raises on failure.
void WriteSettingRow(TSettingsRegistry& reg, const TWriteRow& row, const TSettingWrite& value);
