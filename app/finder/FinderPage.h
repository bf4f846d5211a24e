// The main window's page 15, the user-filter file finder: a tabbed notebook
// with the search paths, the filters, the exclusions and the results, the
// search's progress bar and status bar, and the start and stop buttons.
// TMainForm inherits this part; its controls are the main window's own. The
// list routines live in TFrame5 (Frame5.h); they reach these controls
// through MainForm; the search is the page's own object.
#pragma once

#include <memory>
#include <string>

#include "app/finder/FinderSearch.h"

class TMainForm;
class TTabSheet;
class TObject;
class TTabbedNotebook;
class TCheckListBox;
class TListView;
class TProgressBar;
class TStatusBar;
class TPanel;
class TButton;
class TLabel;
class TPopupMenu;
class TForm2;

class TFinderPage {
 public:
  virtual ~TFinderPage() = default;

  TTabbedNotebook* TabbedNotebook1 = nullptr;
  TLabel* FinderPathsLabel = nullptr;       // "Выбирете пути ..."
  TCheckListBox* CheckListBox1 = nullptr;   // search paths
  TLabel* FinderFiltersLabel = nullptr;     // "Фильтры:"
  TListView* ListView2 = nullptr;           // filters
  TLabel* FinderExclusionsLabel = nullptr;  // "Исключения:"
  TListView* ListView3 = nullptr;           // exclusions
  TListView* ListView4 = nullptr;           // results
  TProgressBar* ProgressBar1 = nullptr;
  TPanel* FinderButtonsPanel = nullptr;
  TButton* SpeedButton1 = nullptr;  // "Начать поиск"
  TButton* SpeedButton2 = nullptr;  // "Остановить поиск"
  TStatusBar* StatusBar1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;  // the result list's context menu

  void SpeedButton1Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void TabbedNotebook1Change(TObject* Sender, int NewTab, bool& AllowChange);
  void sCheckBox1ContextPopup(TObject* Sender);

  // The main window's close path: a running search is told to stop before
  // the lists are saved.
  void StopFinderSearch();

  // The page's search: its totals, stop request and running state.
  TFinderSearch& FinderSearch() { return *finderSearch_; }

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildFinderPage(TMainForm* form, TTabSheet* sheet);

 private:
  TMainForm* finderForm_ = nullptr;
  std::unique_ptr<TFinderSearch> finderSearch_;
};
