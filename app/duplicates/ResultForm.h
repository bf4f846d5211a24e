// TResultForm: the duplicate finder's result window ("Результат"). It shows
// the file table as a grid, one row per record, and works on the shared
// tables: sorting, opening files and folders, dropping records, sending
// files to the recycle bin, and saving and loading .LsD files. It keeps no
// data of its own; the grid is refilled from the tables after each change.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/duplicates/DupRecycle.h"
#include "framework/Buttons.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/windows/SkinProvider.h"

// The grid's texts of a record's fields.
std::wstring ResultGroupText(uint32_t group);
std::wstring ResultSizeText(int64_t size);
// The packed local DOS date-time as the user's short date, a space and the
// long time; the time is left out at exactly 00:00:00; empty when the value
// is no valid date.
std::wstring ResultTimeText(int32_t packed);

class TResultForm : public TForm {
 public:
  explicit TResultForm(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TResultForm"; }
  // Draws the window's frame and caption from the skin.
  TsSkinProvider* sSkinProvider1 = nullptr;

  static constexpr int kColumns = 5;

  TLabel* Label2 = nullptr;  // "Результат:"
  TSpeedButton* SpeedButton1 = nullptr;  // load from a file
  TSpeedButton* SpeedButton2 = nullptr;  // save to a file
  TLabel* Label3 = nullptr;  // "Файл:"
  TSpeedButton* SpeedButton3 = nullptr;  // open
  TSpeedButton* SpeedButton4 = nullptr;  // open the folder
  TSpeedButton* SpeedButton5 = nullptr;  // delete from the list
  TSpeedButton* SpeedButton6 = nullptr;  // delete to the recycle bin
  TLabel* Label4 = nullptr;  // "Сортировка:"
  TButton* Button1 = nullptr;  // "Группа"
  TButton* Button2 = nullptr;  // "Имя"
  TButton* Button3 = nullptr;  // "Размер"
  TButton* Button4 = nullptr;  // "Время"
  TButton* Button5 = nullptr;  // "Папка"
  TLabel* Label1 = nullptr;     // "Признаки дублирования: "
  TLabel* DoubleKeys = nullptr;  // the criteria of the table shown
  TStringGrid* DoublesList = nullptr;
  TMainMenu* MainMenu = nullptr;
  TPopupMenu* PopupMenu = nullptr;
  TOpenDialog* OpenResultDialog = nullptr;
  TSaveDialog* SaveResultDialog = nullptr;

  void FormShow(TObject* Sender);
  void FormResize(TObject* Sender);
  void FillResultGrid();
  void ByGroupClick(TObject* Sender);
  void ByNameClick(TObject* Sender);
  void BySizeClick(TObject* Sender);
  void ByTimeClick(TObject* Sender);
  void ByFolderClick(TObject* Sender);
  void OpenClick(TObject* Sender);
  void OpenFolderClick(TObject* Sender);
  void DeleteFromListClick(TObject* Sender);
  void DeleteToRecyleClick(TObject* Sender);
  void SaveToFileClick(TObject* Sender);
  void LoadFromFileClick(TObject* Sender);
  void CloseResultClick(TObject* Sender);

  // The records the grid's selection covers: the first index and the count
  // (false, and nothing to act on, when the table is empty).
  bool SelectedRecords(int& top, int& count) const;
  // The .LsD steps once a dialog has named the file; false when they
  // failed (the user has been told; the tables are as they were).
  bool SaveResultTo(const std::wstring& path);
  bool LoadResultFrom(const std::wstring& path);

  // How a file or folder is opened and how files go to the recycle bin;
  // the shell's by default (tests put recorders here).
  std::function<void(HWND owner, const std::wstring& path)> ShellOpen;
  TDupShellDelete ShellDelete;

 private:
  void BuildToolBar();
  void BuildMenus();
  void SortAndFill(const wchar_t* key);
  void TellRefused(const std::vector<std::wstring>& refused);
};

extern TResultForm* ResultForm;
