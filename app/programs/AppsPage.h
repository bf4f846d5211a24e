// The main window's page 2, installed applications and start-up entries: an
// inner page control with the tabs "Удаление" (the applications Windows can
// uninstall) and "Автозагрузка" (the programs started at logon).
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/programs/InstalledApps.h"
#include "app/programs/StartupEntries.h"

class TMainForm;
class TTabSheet;
class TObject;
class TButton;
class TGroupBox;
class TListBox;
class TOpenDialog;
class TsPageControl;
class TsTabSheet;
class TsListBox;
class TPanel;
class TStringGrid;
class TWndProcHook;

class TAppsPage {
 public:
  TAppsPage();
  virtual ~TAppsPage();
  TAppsPage(const TAppsPage&) = delete;
  TAppsPage& operator=(const TAppsPage&) = delete;

  TsPageControl* sPageControl2 = nullptr;
  TsTabSheet* sTabSheet13 = nullptr;  // "Удаление"
  TsTabSheet* sTabSheet14 = nullptr;  // "Автозагрузка"

  // --- "Удаление"
  TListBox* ListBox2 = nullptr;             // display names of the applications
  TGroupBox* AppsActionsGroupBox = nullptr;  // "Действия:"
  TButton* sButton11 = nullptr;             // "Обновить"
  TButton* sButton12 = nullptr;             // "Удалить приложение"
  TButton* sButton13 = nullptr;             // "Удалить из списка"
  TPanel* Panel2 = nullptr;                 // the shown uninstall command

  // --- "Автозагрузка"
  TStringGrid* SG = nullptr;     // name, command, source tag; header row 0
  TsListBox* LB = nullptr;       // hidden: one key's value names while SG is built
  TButton* sButton22 = nullptr;  // "Удалить"
  TButton* sButton23 = nullptr;  // "Добавить"
  // The main window's open dialog: picks the program to add.
  TOpenDialog* OpenDialog1 = nullptr;

  // Where the lists read from and write to. The real keys by default; tests
  // point them at keys of their own.
  std::vector<TStartupSource> StartupSources = DefaultStartupSources();
  TUninstallLocation UninstallLocation;
  // How many command-line arguments the program got ("load" entries show
  // only with at least one).
  std::function<int()> CommandLineArgCount;

  // --- Installed applications
  void LoadInstalledPrograms();
  // Full path (below the uninstall root) of the selected row's own subkey;
  // empty when no row is selected.
  void GetUninstallKeyName(std::wstring& Name) const;
  void ListBox2Click(TObject* Sender);  // show the selected row's command
  void sButton11Click(TObject* Sender);  // read the list again
  void sButton12Click(TObject* Sender);  // run the shown command
  void sButton13Click(TObject* Sender);  // delete the selected entry
  // The shown uninstall command; empty until a row with one was selected.
  const std::wstring& UninstallCommand() const { return uninstallCommand_; }

  // --- Start-up entries
  // Rebuilds SG from the registry; the selection stays on the same entry
  // (or on the same row when that entry is gone).
  void LoadStartupEntries();
  void sButton22Click(TObject* Sender);  // delete the selected entry
  void sButton23Click(TObject* Sender);  // add a program to the user's Run key
  // The entry a grid row shows (row 1 is the first entry); null for the
  // header and for rows beyond the entries.
  const TStartupEntry* StartupEntryAt(int row) const;
  // The main window was activated: a showing grid is read again.
  void AppsFormActivate(TObject* Sender);

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildAppsPage(TMainForm* form, TTabSheet* sheet);

 private:
  void BuildUninstallTab(TMainForm* form);
  void BuildStartupTab(TMainForm* form);
  void ShowStartupRows();
  // No command armed and none shown.
  void DisarmUninstallCommand();

  TMainForm* appsForm_ = nullptr;
  std::vector<TInstalledApp> installedApps_;  // one per ListBox2 row
  std::wstring uninstallCommand_;
  bool uninstallExpandable_ = false;
  std::vector<TStartupEntry> startupRows_;  // one per grid row after the header
  // Reads the grid again whenever it comes into view.
  std::unique_ptr<TWndProcHook> gridShowHook_;
};
