// Registry work of the settings pages, the same for every row of
// SettingsTable.h: making values exist, reading them, writing them with
// their exact type. Paths handed to the registry object begin with "\".
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/SettingsTable.h"

class TRegistry;

// A value of the open key as it is stored: type and bytes.
struct TStoredValue {
  bool Exists = false;
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
};

// The number a stored value holds: a REG_DWORD, a REG_BINARY of exactly four
// bytes (little-endian, as a DWORD), or a REG_SZ / REG_EXPAND_SZ of a decimal
// number. False for anything else.
bool StoredNumber(const TStoredValue& value, int& number);
// The text a stored value holds: a string as it is, a number (as above) in
// decimal. False for anything else.
bool StoredText(const TStoredValue& value, std::wstring& text);

// Where a settings key lives. The program uses the real roots; a map moves
// every key somewhere else (tests use a scratch key).
struct TSettingsPlace {
  HKEY Root;
  std::wstring Key;
};
using TSettingsKeyMap = std::function<TSettingsPlace(HKEY root, const std::wstring& key)>;

// One registry object for a run of rows, opened by root and key through the
// map. Every key is opened for full access. A key once opened stays open
// for later rows of the same key until the object goes (each open and close
// is a round trip to the registry server, and start-up reads a hundred rows
// of twenty keys); deleting a key forgets it and every key below it.
class TSettingsRegistry {
 public:
  explicit TSettingsRegistry(TSettingsKeyMap map);
  ~TSettingsRegistry();
  TSettingsRegistry(const TSettingsRegistry&) = delete;
  TSettingsRegistry& operator=(const TSettingsRegistry&) = delete;

  // Sets the root and opens the key (creating it when asked); false when it
  // could not. Nothing of an earlier row stays current either way.
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
  // The value of the open key as stored (Exists false when it is missing or
  // no key is open).
  TStoredValue Stored(const std::wstring& name) const;
  // Writes type and bytes as given; raises on failure.
  void WriteStored(const std::wstring& name, DWORD type, const std::vector<BYTE>& data);

 private:
  struct TOpenKey {
    HKEY Root;
    std::wstring Path;
    std::unique_ptr<TRegistry> Reg;
  };
  TSettingsPlace Place(HKEY root, const std::wstring& key) const;
  // The current row's key, or the registry object with no key open.
  TRegistry& Current() const { return current_ ? *current_ : *reg_; }
  TSettingsKeyMap map_;
  std::unique_ptr<TRegistry> reg_;  // for key questions and deletions
  std::vector<TOpenKey> open_;
  TRegistry* current_ = nullptr;
};

// A start-up read: the integers or the text of a row, or a failure.
struct TSettingRead {
  bool Ok = false;
  int Int1 = 0;
  int Int2 = 0;
  std::wstring Text;
};

// Makes one row's values exist: a missing integer is written with its
// default; a value that exists is never touched, whatever its type, and a
// missing string reads as empty text and stays missing. A default that
// cannot be written is skipped. Never raises.
void CreateKeyRow(TSettingsRegistry& reg, const TCreateKeyRow& row);
// Reads one row of the start-up fill: integers through StoredNumber, texts
// through StoredText (a missing text reads as empty). Never raises.
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

// Writes one value of the open key for a setting, leaving the user's data
// alone where it already says the same: a value that holds the same number
// or text is not written; a different one is written in the type it is
// stored in when that type can hold it (a number kept as REG_SZ, a four-byte
// REG_BINARY, an expandable string), REG_DWORD / REG_SZ otherwise; a missing
// value is written. A value that cannot be read as a number or text keeps
// its bytes unless `userChanged` (the user changed the setting on its page).
// Raises on failure.
void WriteSettingValue(TSettingsRegistry& reg, const std::wstring& name, const TSettingWrite& value,
                       bool userChanged);
// Writes one Ok row (both values of a two-value row) through
// WriteSettingValue; the key is created when missing. Raises on failure.
void WriteSettingRow(TSettingsRegistry& reg, const TWriteRow& row, const TSettingWrite& value,
                     bool userChanged);
