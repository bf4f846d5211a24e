#include "app/finder/FinderPage.h"

#include "app/finder/Form2.h"
#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "app/common/PageLayout.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/TabNotebook.h"
#include "skin/controls/StatusBar.h"

namespace {

TLabel* PlaceLabel(TMainForm* form, TWinControl* parent, const wchar_t* name, const wchar_t* caption) {
  TLabel* label = Place<TLabel>(form, parent, name, 8, 6, 400, 13);
  label->SetCaption(caption);
  return label;
}

struct ColumnDef {
  const wchar_t* caption;
  int width;
};

TListView* PlaceList(TMainForm* form, TWinControl* parent, const wchar_t* name, int top, int height,
                     std::initializer_list<ColumnDef> columns) {
  TListView* list = Place<TListView>(form, parent, name, 8, top, 408, height);
  list->SetViewStyle(vsReport);
  list->SetCheckboxes(true);
  list->SetReadOnly(true);
  for (const ColumnDef& def : columns) {
    TListColumn* column = list->Columns()->Add();
    column->SetCaption(def.caption);
    column->SetWidth(def.width);
  }
  return list;
}

}  // namespace

void TFinderPage::BuildFinderPage(TMainForm* form, TTabSheet* sheet) {
  finderForm_ = form;

  StatusBar1 = Construct<TsStatusBar>(form);
  StatusBar1->SetName(L"StatusBar1");
  StatusBar1->SetHeight(19);
  StatusBar1->AddPanel(150);
  StatusBar1->AddPanel(130);
  StatusBar1->AddPanel(120);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->SetParent(sheet);

  TabbedNotebook1 = Construct<TTabbedNotebook>(form);
  TabbedNotebook1->SetName(L"TabbedNotebook1");
  TabbedNotebook1->SetAlign(alClient);
  TabbedNotebook1->SetParent(sheet);
  for (const wchar_t* caption : {L"Пути поиска", L"Фильтры", L"Исключения", L"Сканирование"})
    TabbedNotebook1->Pages()->Add(caption);
  TabbedNotebook1->SetPageIndex(0);
  TabbedNotebook1->OnChange = [this](TObject* s, int tab, bool& allow) {
    TabbedNotebook1Change(s, tab, allow);
  };

  TTabPage* paths = TabbedNotebook1->Page(0);
  FinderPathsLabel =
      PlaceLabel(form, paths, L"FinderPathsLabel", L"Выбирете пути по которым будет произведен поиск:");
  CheckListBox1 = Place<TCheckListBox>(form, paths, L"CheckListBox1", 8, 24, 408, 340);

  TTabPage* filters = TabbedNotebook1->Page(1);
  FinderFiltersLabel = PlaceLabel(form, filters, L"FinderFiltersLabel", L"Фильтры:");
  ListView2 = PlaceList(form, filters, L"ListView2", 24, 340,
                        {{L"Название фильтра", 130}, {L"Тип", 60}, {L"Описание", 200}});
  ListView2->SetGridLines(true);
  ListView2->SetRowSelect(true);

  TTabPage* exclusions = TabbedNotebook1->Page(2);
  FinderExclusionsLabel = PlaceLabel(form, exclusions, L"FinderExclusionsLabel", L"Исключения:");
  ListView3 = PlaceList(form, exclusions, L"ListView3", 24, 340, {{L"Имя объекта", 200}, {L"Описание", 190}});

  TTabPage* results = TabbedNotebook1->Page(3);
  ListView4 = PlaceList(form, results, L"ListView4", 8, 290,
                        {{L"Имя файла", 170}, {L"Размер файла", 75}, {L"Тип файла", 80}, {L"Изменен", 110}});
  ListView4->SetGridLines(true);
  ListView4->SetRowSelect(true);
  // A search lists up to hundreds of thousands of files: the rows and their
  // ticks stay with the list's items, the window only asks for what it shows.
  ListView4->SetOwnerData(true);
  ProgressBar1 = Place<TProgressBar>(form, results, L"ProgressBar1", 8, 304, 408, 16);
  FinderButtonsPanel = Place<TPanel>(form, results, L"FinderButtonsPanel", 8, 326, 408, 37);
  SpeedButton1 = Place<TButton>(form, FinderButtonsPanel, L"SpeedButton1", 8, 6, 130, 25);
  SpeedButton1->SetCaption(L"Начать поиск");
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
  SpeedButton2 = Place<TButton>(form, FinderButtonsPanel, L"SpeedButton2", 8, 6, 130, 25);
  SpeedButton2->SetCaption(L"Остановить поиск");
  SpeedButton2->SetVisible(false);
  SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };

  PopupMenu1 = Construct<TPopupMenu>(form);
  PopupMenu1->SetName(L"PopupMenu1");
  for (const wchar_t* caption :
       {L"Открыть содержащую папку", L"-", L"Сделать исключением папку", L"Сделать исключением файл",
        L"Сделать исключением этот путь ", L"-", L"Очистить список"}) {
    auto* item = Construct<TMenuItem>(PopupMenu1);
    item->SetCaption(caption);
    PopupMenu1->Items()->Add(item);
  }

  finderSearch_ = std::make_unique<TFinderSearch>(
      TFinderSearch::Lists{CheckListBox1, ListView2, ListView3, ListView4, ProgressBar1, StatusBar1});

  // The cleanup page's "Internet Explorer" box opens the exclusion chooser
  // on a right click.
  if (form->sCheckBox1)
    form->sCheckBox1->OnContextPopup = [this](TObject* s, TPoint, bool&) { sCheckBox1ContextPopup(s); };
}

void TFinderPage::SpeedButton1Click(TObject*) {
  if (finderSearch_->FindRunning()) return;
  SpeedButton1->SetVisible(false);
  SpeedButton2->SetVisible(true);
  struct Restore {
    TFinderPage* page;
    ~Restore() {
      page->SpeedButton2->SetVisible(false);
      page->SpeedButton1->SetVisible(true);
    }
  } restore{this};
  finderSearch_->FindFiles();
}

void TFinderPage::SpeedButton2Click(TObject*) { finderSearch_->FindStop = true; }

void TFinderPage::StopFinderSearch() {
  // The search unwinds at its next entry once the close has gone through.
  if (finderSearch_ && finderSearch_->FindRunning()) finderSearch_->FindStop = true;
}

void TFinderPage::TabbedNotebook1Change(TObject*, int NewTab, bool&) {
  if (!Frame5) return;  // the buttons belong to the frame; without it there is nothing to set
  Frame5->EnabledButtons(true);
  Frame5->ShowPageButtons(NewTab);
}

void TFinderPage::sCheckBox1ContextPopup(TObject*) {
  if (finderForm_->sCheckBox1) finderForm_->sCheckBox1->SetChecked(true);
  Form2 = Construct<TForm2>(finderForm_);
  Form2->Show();
}
