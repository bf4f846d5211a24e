// TFrame5: the navigation frame of frame-bar item 1, the file finder's
// list buttons, and the finder's list routines.
//
// The routines that fill, search and store the lists are static: they work
// on the main window's controls (page 15) through MainForm and never on a
// frame, because the main window runs two of them at start-up, long before
// any frame exists; the search ones hand over to the page's search object
// (FinderSearch.h). Only the button handlers, EnabledButtons and
// ShowPageButtons use the frame itself.
#pragma once

#include <string>

#include "framework/Forms.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/Button.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Panel.h"

class TListView;

class TFrame5 : public TFrame {
 public:
  explicit TFrame5(TComponent* AOwner);
  ~TFrame5() override;
  const wchar_t* ClassName() const override { return L"TFrame5"; }

  TsFrameAdapter* sFrameAdapter1 = nullptr;
  TsPanel* sPanel1 = nullptr;
  TsButton* SpeedButton7 = nullptr;  // "Добавить"
  TsButton* SpeedButton8 = nullptr;  // "Редактировать"
  TsButton* SpeedButton5 = nullptr;  // "Удалить"
  TsButton* SpeedButton6 = nullptr;  // "Удалить все"
  TsButton* SpeedButton3 = nullptr;  // "Исключить все"
  TsButton* SpeedButton4 = nullptr;  // "Выбрать все"

  void SpeedButton3Click(TObject* Sender);
  void SpeedButton4Click(TObject* Sender);
  void SpeedButton5Click(TObject* Sender);
  void SpeedButton6Click(TObject* Sender);
  void SpeedButton7Click(TObject* Sender);
  void SpeedButton8Click(TObject* Sender);

  // The frame's buttons, the filter, exclusion and path lists on or off;
  // on also gives the result list its context menu.
  void EnabledButtons(bool Enable);
  // Points the list buttons at notebook page N (their Tag) and enables the
  // ones that act on that page.
  void ShowPageButtons(int N);

  // ---- list routines on the main window's controls
  static void GetDrives();
  static void FindFiles();
  static void Find(const std::wstring& Dir);
  static bool InExt(const std::wstring& Name);
  static bool ExlPath(const std::wstring& Path);
  // Case-insensitive wildcard match ("*" any run, "?" one character); an
  // empty mask matches every name.
  static bool FileMaskEquate(const std::wstring& Name, const std::wstring& Mask);
  static long long GetQuanFolders(const std::wstring& Dir);
  static void FindFolders(const std::wstring& Dir, long long& Count);
  static void ShowText(double Size, double Count);
  static void DeleteAll();
  static void DeleteFileSelected();
  static void CheckAll(bool Value);
  static void AddExt(const std::wstring& Name, const std::wstring& Description, TListView* List,
                     bool Ticked);
  static void AddExl(const std::wstring& Name, const std::wstring& Description, TListView* List,
                     bool Ticked);

  // ---- list edits behind the buttons (no dialogs)
  // Appends a chosen folder to the paths: a trailing "\" is added, only
  // drive paths are taken and no exact repeat; the list sorts from then on.
  static bool AddSearchPath(const std::wstring& chosen);

  // ---- Config.ini beside the program
  static std::wstring ConfigFileName();
  static void LoadNastr();
  static void SaveNastr();
  // The same on a given file. SaveNastrTo raises EIniFileException when the
  // file cannot be written.
  static bool LoadNastrFrom(const std::wstring& fileName);
  static void SaveNastrTo(const std::wstring& fileName);

 private:
  void AddClick();
  void EditClick();
};

// The frame most recently created for item 1; null while the item is closed.
extern TFrame5* Frame5;

// Index in CheckListBox1 of the last drive entry GetDrives added (-1: none).
extern int LastDriveIndex;
// False when the last LoadNastr could not read an existing Config.ini:
// SaveNastr then leaves the file alone.
extern bool ConfigLoadedOk;

// The path list's entry kinds, kept as each entry's object.
TObject* DriveEntryTag();
bool IsDriveEntry(int index);

// Text of the size column: size / 1024 to the nearest hundredth and " Кб".
std::wstring FinderSizeText(unsigned long long size);
// "<Count>" and "<Size / 1048576 to the nearest hundredth> Мб" of ShowText.
std::wstring FinderHundredths(double value);
