// The data behind the Windows-settings pages: one row per box or edit,
// giving its caption, its name and the registry value behind it (where it
// lives, how it is read into the control and how the control's state is
// written back). SettingsPagesBuild.cpp lays the pages out from the rows,
// SettingsEngine.h does the registry work for every row alike and
// SettingsPages.cpp applies the rows to the page controls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TCustomCheckBox;
class TEdit;
class TBitBtn;
class TButton;
class TGroupBox;
class TObject;
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

// Where rows sit in a page's group: a box's or label's left and the width
// of a full line; the height of a line that holds an edit.
inline constexpr int kSettingsItemLeft = 8;
inline constexpr int kSettingsItemWidth = 406;
inline constexpr int kSettingsLineStep = 27;

using TSettingsGroup = TGroupBox* TSettingsPages::*;
using TSettingsDefaults = TButton* TSettingsPages::*;
using TSettingsHandler = void (TSettingsPages::*)(TObject*);

// What a row of a page puts on it. Boxes take a line each; edits and labels
// sit on the current line at their own left, and a Line row ends it.
enum class TItemKind {
  Box,
  Edit,
  UpperEdit,  // an edit that turns typed letters into capitals
  Label,
  Line,
};

// One row of a page: a control with its caption, its name and the registry
// value behind it, or a step of the layout.
struct TSettingsItem {
  TItemKind Kind = TItemKind::Box;
  const wchar_t* Name = nullptr;     // the control's name (boxes and edits)
  const wchar_t* Caption = nullptr;  // a box's or label's caption, an edit's first text
  TSettingsBox Box = nullptr;
  TSettingsEdit Edit = nullptr;
  int Left = 0;   // edits and labels
  int Width = 0;  // edits and labels
  int Drop = 0;   // a label's distance below the line's top; a Line's height
  bool Visible = true;
  bool Restored = true;    // the page's No puts it back
  bool HearsEnter = true;  // getting the focus enables the page's Ok and No
  TSettingsHandler OnClick = nullptr;
  // The registry value: its place among the start-up reads (0: not read)
  // and in the page's Ok (0: not written). Both orders are the program's
  // own and differ from the layout, so each row names its place.
  int ReadStep = 0;
  TLoadRow Load{};
  int OkStep = 0;
  TWriteRow Write{};
};

// One settings page: its group and rows, top to bottom, and what the rows
// give the page's Ok (Writes, in Ok order) and No (the controls it restores
// and the snapshot covers); its Ok, No and "Вернуть исходные" buttons.
struct TSettingsPageDef {
  int PageIndex;
  const wchar_t* Caption;
  const wchar_t* GroupName;
  TSettingsGroup Group;
  TSettingsHandler OnEnter;
  std::vector<TSettingsItem> Items;
  const wchar_t* OkName;
  TSettingsButton OkButton;
  TSettingsHandler OnOk;
  const wchar_t* NoName;
  TSettingsButton NoButton;
  TSettingsHandler OnNo;
  const wchar_t* DefaultsName;
  TSettingsDefaults DefaultsButton;
  // Taken from the rows.
  std::vector<TWriteRow> Writes = {};
  std::vector<TSettingsBox> SnapshotBoxes = {};
  std::vector<TSettingsEdit> SnapshotEdits = {};
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
