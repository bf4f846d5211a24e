// The data behind the Windows-settings pages: one row per registry value,
// saying where it lives, how it is read into a control and how a control's
// state is written back. SettingsEngine.h does the registry work for every
// row alike; SettingsPages.cpp applies the rows to the page controls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TCustomCheckBox;
class TEdit;
class TBitBtn;
class TSettingsPages;

// Check boxes and edits of the settings pages, as members of the part.
using TSettingsBox = TCustomCheckBox* TSettingsPages::*;
using TSettingsEdit = TEdit* TSettingsPages::*;
using TSettingsButton = TBitBtn* TSettingsPages::*;

enum class TSettingKind { Integer, String };

// A value made to exist at start-up: read, and written with its default
// when the read fails.
struct TCreateKeyRow {
  HKEY Root;
  const wchar_t* Key;  // below the root, without the leading "\"
  bool Create;         // the key is created when missing (else only opened)
  TSettingKind Kind;
  const wchar_t* Name;
  const wchar_t* Name2;  // a second value of the same row, or null
  int IntDefault;
  const wchar_t* TextDefault;
};

// How a value read at start-up sets its control.
enum class TReadRule {
  IntIs1,           // ticked when the integer is 1
  IntIsSfcOff,      // ticked when the integer is FFFFFF9Dh
  TextIs,           // ticked when the text equals Text
  TextIsNot,        // ticked unless the text equals Text
  BothAre1,         // two integers: ticked when both are 1
  NotBothAre1,      // two integers: unticked when both are 1
  IntToEdit,        // the edit shows the integer in decimal
  IntToEditAndBox,  // the same, and the box is ticked, then unticked for 0
  TextToEdit,       // the edit shows the text
  SubKeyExists,     // ticked when the subkey Name exists
};

// What a failed read does.
enum class TReadFailure {
  Disable,  // the control is disabled (the edit for IntToEditAndBox)
  Message,  // "Следующий ключ не найден "<name>"", the control stays as it is
};

struct TLoadRow {
  HKEY Root;
  const wchar_t* Key;
  const wchar_t* Name;
  const wchar_t* Name2;  // second integer of BothAre1 / NotBothAre1
  TReadRule Rule;
  const wchar_t* Text;  // compared text of TextIs / TextIsNot
  TSettingsBox Box;     // null when the row sets only an edit
  TSettingsEdit Edit;   // null when the row sets only a box
  TReadFailure OnFailure;
};

// Where a page's Ok takes a row's value from.
enum class TWriteSource {
  Box,            // IntOn/IntOff or TextOn/TextOff by the box's tick
  EditText,       // the edit's text, unchanged
  EditNumber,     // the edit's text as a decimal integer
  BoxEditNumber,  // ticked: the edit's text as a decimal integer; unticked: 0
};

struct TWriteRow {
  HKEY Root;
  const wchar_t* Key;
  const wchar_t* Name;
  const wchar_t* Name2;  // written with the same value in the same step, or null
  TSettingKind Kind;
  TWriteSource Source;
  TSettingsBox Box;
  TSettingsEdit Edit;
  int IntOn, IntOff;
  const wchar_t* TextOn;
  const wchar_t* TextOff;
  // The failure message; null for "Не удается получить доступ к "<Name>"".
  const wchar_t* Message;
};

// One settings page: its Ok rows, the controls its No restores (and the
// snapshot covers), its Ok and No buttons.
struct TSettingsPageDef {
  int PageIndex;
  std::vector<TWriteRow> Writes;
  std::vector<TSettingsBox> SnapshotBoxes;
  std::vector<TSettingsEdit> SnapshotEdits;
  TSettingsButton OkButton;
  TSettingsButton NoButton;
};

// The 27 steps (28 values) made to exist at start-up, in order.
const std::vector<TCreateKeyRow>& CreateKeyRows();
// The 55 reads of the start-up fill, in order.
const std::vector<TLoadRow>& LoadRows();
// Pages 3 to 11, in page order.
const std::vector<TSettingsPageDef>& SettingsPageDefs();
// The page definition of a page index (3..11).
const TSettingsPageDef& SettingsPageDef(int pageIndex);

// Message texts of the settings pages.
extern const wchar_t* const kSettingsErrorCaption;  // "Ошибка"
std::wstring AccessErrorText(const std::wstring& name);
std::wstring KeyNotFoundText(const std::wstring& name);

// Page 5's places: the recycle bin's class key (its "LocalizedString"), My
// Computer's namespace key and the recycle bin's subkey there.
extern const wchar_t* const kRecycleBinKey;
extern const wchar_t* const kRecycleBinNameSpaceKey;
extern const wchar_t* const kRecycleBinSubKey;
