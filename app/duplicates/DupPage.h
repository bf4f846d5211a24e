// The main window's page 12 (AntiDouble), the duplicate finder: the folder
// list, the criteria, start and stop of the scan worker, its status texts
// and progress, and the way to the result window.
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/duplicates/DupScan.h"

class TMainForm;
class TTabSheet;
class TObject;
class TListBox;
class TButton;
class TCheckBox;
class TGroupBox;
class TLabel;
class TProgressBar;
class TProgressThread;

class TDupPage {
 public:
  TDupPage();
  virtual ~TDupPage();
  TDupPage(const TDupPage&) = delete;
  TDupPage& operator=(const TDupPage&) = delete;

  TGroupBox* FoldersGroupBox = nullptr;   // "Список папок для сканирования"
  TListBox* FoldersListBox = nullptr;     // full paths ending in "\"
  TGroupBox* ChooseGroupBox = nullptr;    // "Выберите"
  TButton* AddButton = nullptr;           // "Добавить"
  TButton* RemoveButton = nullptr;        // "Удалить"
  TCheckBox* ScanSubfoldersCheckBox = nullptr;  // "Сканировать подпапки"
  TGroupBox* DoubleIndicationsBox = nullptr;    // "Признаки дубликата"
  TCheckBox* CheckBox1 = nullptr;         // "Одинаковое имя"
  TCheckBox* CheckBox2 = nullptr;         // "Одинаковый размер"
  TCheckBox* CheckBox3 = nullptr;         // "Одинаковое содержимое"
  TGroupBox* StartGroupBox = nullptr;     // "Начать сканирование"
  TButton* StartButton = nullptr;         // start or stop; Tag 1 while a scan runs
  TButton* ResultButton = nullptr;        // "Смотреть результат"
  TGroupBox* ProcessGroupBox = nullptr;   // "Процесс"
  TLabel* OperationName = nullptr;        // the phase text
  TLabel* ProgressStaus = nullptr;        // the counter text
  TProgressBar* sProgressBar2 = nullptr;

  void AddButtonClick(TObject* Sender);
  void RemoveButtonClick(TObject* Sender);
  void StartButtonClick(TObject* Sender);
  void ResultButtonClick(TObject* Sender);

  // Takes a folder the chooser returned (list rules of AddButtonClick:
  // drive paths only, "\" appended, no exact repeat, list kept sorted).
  void AddScanFolder(const std::wstring& path);
  // True from the start click until the worker's last update has arrived.
  bool DuplicateScanRunning() const;
  // Asks a running scan to stop and waits until the worker has ended and
  // its updates have reached the page (the main window's close path).
  void StopDuplicateScan();
  // The hooks that show the scan on this page's controls (to be called on
  // the user-interface thread).
  TDupScanHooks DupPageHooks();

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildDupPage(TMainForm* form, TTabSheet* sheet);

 private:
  // Lets go of a worker that has ended.
  void ReleaseScanThread();

  TMainForm* dupForm_ = nullptr;
  std::unique_ptr<TProgressThread> scanThread_;
  // Cleared while the page goes away: late updates then touch nothing.
  bool hooksLive_ = true;
};
