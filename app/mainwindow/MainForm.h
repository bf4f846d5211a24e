// TMainForm: the program's one main window. A frame bar on the left opens
// one navigation frame at a time; the frames select pages of a page control
// whose tabs are all hidden. Each feature page is a part the window
// inherits, in its own file.
#pragma once

#include "app/programs/AppsPage.h"
#include "app/cleanup/CleanupPage.h"
#include "app/duplicates/DupPage.h"
#include "app/finder/FinderPage.h"
#include "app/mainwindow/OptionsPage.h"
#include "app/registry/RegCleanPage.h"
#include "app/settings/SettingsPages.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "skin/controls/FrameBar.h"
#include "skin/controls/PageControl.h"
#include "skin/controls/HintManager.h"
#include "skin/windows/SkinProvider.h"

class TMainForm : public TForm,
                  public TCleanupPage,
                  public TRegCleanPage,
                  public TAppsPage,
                  public TSettingsPages,
                  public TDupPage,
                  public TOptionsPage,
                  public TFinderPage {
 public:
  explicit TMainForm(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TMainForm"; }

  static constexpr int kPageCount = 16;

  TsFrameBar* sFrameBar1 = nullptr;
  // Draws the window's frame and caption from the skin.
  TsSkinProvider* sSkinProvider1 = nullptr;
  TsPageControl* sPageControl1 = nullptr;
  TStatusBar* sStatusBar2 = nullptr;
  TsHintManager* sHintManager1 = nullptr;
  TTabSheet* Pages[kPageCount] = {};

  // Internet Explorer cache cleanup on; set at start-up.
  bool CleanIE = false;

  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);

  // Frame-bar creation handlers (items 0, 1, 2 and 4).
  void sFrameBar1Items0CreateFrame(TObject* Sender, TCustomFrame*& Frame);
  void sFrameBar1Items1CreateFrame(TObject* Sender, TCustomFrame*& Frame);
  void sFrameBar1Items2CreateFrame(TObject* Sender, TCustomFrame*& Frame);
  void sFrameBar1Items3CreateFrame(TObject* Sender, TCustomFrame*& Frame);

  // Selects a page of the page control by index.
  void SelectPage(int index);

 private:
  void BuildFrameBar();
  void BuildPages();
};

// The main window; assigned before its creation handler runs.
extern TMainForm* MainForm;
