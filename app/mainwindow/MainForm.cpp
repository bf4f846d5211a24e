#include "app/mainwindow/MainForm.h"
#include "skin/controls/StatusBar.h"

#include "app/mainwindow/Frame1.h"
#include "app/mainwindow/Frame3.h"
#include "app/mainwindow/Frame4.h"
#include "app/finder/Frame5.h"

TMainForm* MainForm = nullptr;

namespace {

// Page names by index, as the navigation selects them.
const wchar_t* const kPageNames[TMainForm::kPageCount] = {
    L"sTabSheet1", L"sTabSheet2", L"sTabSheet3", L"SystemSettings", L"sTabSheet5",
    L"sTabSheet4", L"sTabSheet6", L"sTabSheet7", L"sTabSheet8", L"sTabSheet9",
    L"sTabSheet10", L"sTabSheet11", L"AntiDouble", L"sTabSheet12", L"sTabSheet15",
    L"sTabSheet16"};

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  SetName(L"MainForm");
  SetCaption(L"Tarnholt. beta v 0.2");
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  Font()->SetName(L"Tahoma");
  Font()->SetHeight(-11);
  SetBounds(329, 150, Width(), Height());
  SetClientWidth(627);
  SetClientHeight(460);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnActivate = [this](TObject* s) { AppsFormActivate(s); };

  sSkinProvider1 = Construct<TsSkinProvider>(this);
  sSkinProvider1->SetName(L"sSkinProvider1");

  sStatusBar2 = Construct<TsStatusBar>(this);
  sStatusBar2->SetName(L"sStatusBar2");
  sStatusBar2->SetHeight(22);
  sStatusBar2->SetParent(this);

  BuildFrameBar();
  BuildPages();

  // Every hint of the application shows in this manager's comics bubble.
  sHintManager1 = Construct<TsHintManager>(this);
  sHintManager1->SetName(L"sHintManager1");
  sHintManager1->SetPredefinitions(shCustom);
  TsHintKind* hint = sHintManager1->HintKind();
  hint->Color = 1388541;
  hint->ColorBorderTop = clWhite;
  hint->ColorBorderBottom = clOlive;
  hint->Transparency = 20;
  hint->SetShadowEnabled(true);
  hint->ShadowBlur = 3;
  hint->ShadowOffset = 13;
  hint->ShadowTransparency = 48;
  hint->MarginH = 13;
  hint->MarginV = 6;
  hint->MaxWidth = 240;
  hint->Font()->SetName(L"Tahoma");
  hint->Font()->SetHeight(-11);
  hint->Font()->SetColor(clBlack);
  hint->SetStyle(hsComics);
  sHintManager1->SkinSection = L"HINT";
}

void TMainForm::BuildFrameBar() {
  sFrameBar1 = Construct<TsFrameBar>(this);
  sFrameBar1->SetName(L"sFrameBar1");
  sFrameBar1->SetWidth(195);
  sFrameBar1->SetBarBorderWidth(3);
  sFrameBar1->SetSpacing(0);
  sFrameBar1->SetAutoFrameSize(true);
  sFrameBar1->SetParent(this);

  struct ItemDef {
    const wchar_t* caption;
    bool visible;
    void (TMainForm::*create)(TObject*, TCustomFrame*&);
  };
  const ItemDef items[] = {
      {L"Очистка", true, &TMainForm::sFrameBar1Items0CreateFrame},
      {L"Очистка(Расширенные функции)", true, &TMainForm::sFrameBar1Items1CreateFrame},
      {L"Параметры Windows", false, &TMainForm::sFrameBar1Items2CreateFrame},
      {L"Дефрагментация", false, nullptr},
      {L"Опции", false, &TMainForm::sFrameBar1Items3CreateFrame},
  };
  for (const ItemDef& def : items) {
    TsTitleItem* item = sFrameBar1->Items()->Add();
    item->SetCaption(def.caption);
    if (def.create) {
      auto handler = def.create;
      item->OnCreateFrame = [this, handler](TObject* s, TCustomFrame*& f) { (this->*handler)(s, f); };
    }
    item->SetVisible(def.visible);
  }
}

void TMainForm::BuildPages() {
  sPageControl1 = Construct<TsPageControl>(this);
  sPageControl1->SetName(L"sPageControl1");
  sPageControl1->SetMultiLine(true);
  sPageControl1->SetAlign(alClient);
  sPageControl1->SetParent(this);
  for (int i = 0; i < kPageCount; ++i) {
    TsTabSheet* sheet = Construct<TsTabSheet>(this);
    sheet->SetName(kPageNames[i]);
    // The tabs never show; the caption names the page for tools and tests.
    sheet->SetCaption(kPageNames[i]);
    sheet->SetTabVisible(false);
    sheet->SetPageControl(sPageControl1);
    Pages[i] = sheet;
  }
  sPageControl1->SetActivePageIndex(0);

  BuildCleanupPage(this, Pages[0]);
  BuildRegCleanPage(this, Pages[1]);
  BuildAppsPage(this, Pages[2]);
  BuildSettingsPages(this, Pages[3]);
  BuildDupPage(this, Pages[12]);
  BuildOptionsPage(this, Pages[13]);
  BuildFinderPage(this, Pages[15]);
}

void TMainForm::SelectPage(int index) { sPageControl1->SetActivePageIndex(index); }

void TMainForm::FormCreate(TObject*) {
  ListSkins();
  CreateKeys();
  LoadRegedit();
  SCancelSystemSett();
  CleanIE = true;
  if (sCheckBox1) sCheckBox1->SetChecked(true);
  sFrameBar1->OpenItem(0, true);
  ActivateSkin();
  TFrame5::GetDrives();   // the file finder's drive list, before any frame exists
  TFrame5::LoadNastr();   // its lists from Config.ini
  // The registry cleaner's list gets the shell's icons when it first shows.
}

void TMainForm::FormCloseQuery(TObject*, bool&) {
  StopDuplicateScan();  // the duplicate worker must not outlive the window
  StopRegCleanScan();   // nor the registry scan
  StopFinderSearch();    // a search in progress ends before its lists are saved
  TFrame5::SaveNastr();
}

void TMainForm::FormClose(TObject*, TCloseAction&) {}

// ---------------------------------------------------------------- frame-bar items

void TMainForm::sFrameBar1Items0CreateFrame(TObject*, TCustomFrame*& Frame) {
  Frame1 = Construct<TFrame1>(nullptr);
  Frame = Frame1;
  SelectPage(0);
  Frame1->sBitBtn1->SetDown(true);
}

void TMainForm::sFrameBar1Items1CreateFrame(TObject*, TCustomFrame*& Frame) {
  Frame5 = Construct<TFrame5>(nullptr);
  Application->ProcessMessages();
  Frame = Frame5;
  SelectPage(15);
}

void TMainForm::sFrameBar1Items2CreateFrame(TObject*, TCustomFrame*& Frame) {
  Frame3 = Construct<TFrame3>(nullptr);
  Application->ProcessMessages();
  Frame = Frame3;
  SelectPage(4);
}

void TMainForm::sFrameBar1Items3CreateFrame(TObject*, TCustomFrame*& Frame) {
  Frame4 = Construct<TFrame4>(nullptr);
  Frame = Frame4;
  SelectPage(13);
}
