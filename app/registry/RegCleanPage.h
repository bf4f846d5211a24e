// The main window's page 1, the registry cleaner: the list of findings with
// check boxes, starting and cancelling the scan worker, ticking, and the fix
// command with its optional .reg backup.
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

#include <memory>
#include <string>

#include "app/registry/RegFinding.h"

class TMainForm;
class TTabSheet;
class TObject;
class TButton;
class TGroupBox;
class TPanel;
class TPageControl;
class TCustomListView;
class TSaveDialog;
class TCleanThread;
class TWndProcHook;

// The backup question of the fix command and what the page says when the
// backup cannot be written.
inline constexpr const wchar_t* kRegBackupQuestion =
    L"Сохранить резервную копию исправляемых значений?";
inline constexpr const wchar_t* kRegBackupFailed =
    L"Не удалось сохранить резервную копию. Изменения не внесены.";

class TRegCleanPage {
 public:
  TRegCleanPage() = default;
  virtual ~TRegCleanPage();
  TRegCleanPage(const TRegCleanPage&) = delete;
  TRegCleanPage& operator=(const TRegCleanPage&) = delete;

  TPageControl* PageControl1 = nullptr;  // inner pages, tabs hidden
  TTabSheet* RCl = nullptr;              // "Очистка реестра"
  TCustomListView* ListView1 = nullptr;  // the findings
  TPanel* Panel1 = nullptr;              // the status text
  TGroupBox* RegStartGroupBox = nullptr;    // "Начать сканирование"
  TButton* Button1 = nullptr;               // "Начать"
  TGroupBox* RegActionsGroupBox = nullptr;  // "Действия"
  TButton* sButton10 = nullptr;             // "Выбрать все"
  TButton* sButton21 = nullptr;             // "Отменить" (untick all), hidden at start
  TButton* Button3 = nullptr;               // "Исправить"
  TButton* Button2 = nullptr;               // "Отмена" (cancel the scan)
  // The main window's save dialog of the backup.
  TSaveDialog* SaveDialog1 = nullptr;

  // The running scan; null when none runs. Cleared by the worker's last
  // update, after which the worker frees itself.
  TCleanThread* CleanThread = nullptr;

  void Button1Click(TObject* Sender);   // start a scan
  void Button2Click(TObject* Sender);   // cancel it
  void Button3Click(TObject* Sender);   // fix the ticked rows
  void sButton10Click(TObject* Sender);  // tick every row
  void sButton21Click(TObject* Sender);  // untick every row

  // True while the fix command runs (it lets the window process messages).
  bool RegFixesRunning() const { return fixing_; }
  // Gives ListView1 the shell's system image lists, once. Finding them is a
  // noticeable part of start-up, so the page does it when the list first
  // comes into view.
  void AttachSystemImageLists();
  // Stops a running scan and waits until its worker is gone (closing the
  // main window).
  void StopRegCleanScan();

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildRegCleanPage(TMainForm* form, TTabSheet* sheet);

 private:
  // Sets the buttons for the idle state: Button3 only with rows to fix.
  void ShowIdleButtons();
  void AddFindingRow(const TRegFinding& Row);

  TMainForm* regForm_ = nullptr;
  bool fixing_ = false;
  bool imageListsAttached_ = false;
  std::unique_ptr<TWndProcHook> listShowHook_;  // attaches the image lists
  // Cleared while the page goes away: a scan's last updates touch nothing.
  bool regHooksLive_ = true;
};
