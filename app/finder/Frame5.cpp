#include "app/finder/Frame5.h"

#include "app/common/AddFolderDialog.h"
#include "app/finder/Form2.h"
#include "app/mainwindow/MainForm.h"
#include "framework/Dialogs.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "framework/TabNotebook.h"

TFrame5* Frame5 = nullptr;

namespace {

// Notebook pages the list buttons act on (their Tag).
enum FinderTab { kPathsTab = 0, kFiltersTab = 1, kExclusionsTab = 2, kResultsTab = 3 };

// The type column of a filter: the mask's extension from its last "." on,
// empty when it has none.
std::wstring MaskExt(const std::wstring& mask) {
  const size_t dot = mask.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : mask.substr(dot);
}

}  // namespace

TFrame5::TFrame5(TComponent* AOwner) : TFrame(AOwner) {
  SetName(L"Frame5");
  SetBounds(0, 0, 167, 244);
  sFrameAdapter1 = Construct<TsFrameAdapter>(this);
  sFrameAdapter1->SetName(L"sFrameAdapter1");

  sPanel1 = Construct<TsPanel>(this);
  sPanel1->SetName(L"sPanel1");
  sPanel1->SkinData->SetSkinSection(L"BAR");
  sPanel1->SetAlign(alClient);
  sPanel1->SetParent(this);

  struct ButtonDef {
    TsButton** field;
    const wchar_t* name;
    int top;
    const wchar_t* caption;
    bool enabled;
    void (TFrame5::*click)(TObject*);
  };
  const ButtonDef defs[] = {
      {&SpeedButton7, L"SpeedButton7", 9, L"Добавить", true, &TFrame5::SpeedButton7Click},
      {&SpeedButton8, L"SpeedButton8", 40, L"Редактировать", false, &TFrame5::SpeedButton8Click},
      {&SpeedButton5, L"SpeedButton5", 71, L"Удалить", true, &TFrame5::SpeedButton5Click},
      {&SpeedButton6, L"SpeedButton6", 102, L"Удалить все", true, &TFrame5::SpeedButton6Click},
      {&SpeedButton3, L"SpeedButton3", 133, L"Исключить все", true, &TFrame5::SpeedButton3Click},
      {&SpeedButton4, L"SpeedButton4", 164, L"Выбрать все", true, &TFrame5::SpeedButton4Click},
  };
  for (const ButtonDef& d : defs) {
    TsButton* b = Construct<TsButton>(this);
    b->SetName(d.name);
    b->SetBounds(35, d.top, 113, 25);
    b->SetCaption(d.caption);
    b->SetEnabled(d.enabled);
    auto click = d.click;
    b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    b->SetParent(sPanel1);
    *d.field = b;
  }

  // A frame made again while the notebook shows another page acts on that
  // page's list, not on the paths.
  if (MainForm && MainForm->TabbedNotebook1 && MainForm->TabbedNotebook1->PageIndex() > 0)
    ShowPageButtons(MainForm->TabbedNotebook1->PageIndex());
}

TFrame5::~TFrame5() {
  // The frame bar frees the frame when its item closes; nobody may reach it
  // through the variable afterwards.
  if (Frame5 == this) Frame5 = nullptr;
}

void TFrame5::EnabledButtons(bool Enable) {
  TMainForm* form = MainForm;
  if (!form) return;
  form->ListView4->SetPopupMenu(form->PopupMenu1);
  for (const wchar_t* name : {L"SpeedButton3", L"SpeedButton4", L"SpeedButton5", L"SpeedButton6",
                              L"SpeedButton7", L"SpeedButton8"})
    if (auto* control = dynamic_cast<TControl*>(FindComponent(name))) control->SetEnabled(Enable);
  form->ListView2->SetEnabled(Enable);
  form->ListView3->SetEnabled(Enable);
  form->CheckListBox1->SetEnabled(Enable);
}

void TFrame5::ShowPageButtons(int N) {
  for (TsButton* b : {SpeedButton7, SpeedButton8, SpeedButton5, SpeedButton6}) b->Tag = N;
  if (N == kFiltersTab || N == kExclusionsTab) {
    SpeedButton8->SetEnabled(true);
    SpeedButton6->SetEnabled(false);
  } else {
    SpeedButton8->SetEnabled(false);
  }
  SpeedButton7->SetEnabled(N != kResultsTab);
}

// ---------------------------------------------------------------- buttons

void TFrame5::SpeedButton3Click(TObject*) { CheckAll(false); }

void TFrame5::SpeedButton4Click(TObject*) { CheckAll(true); }

void TFrame5::SpeedButton7Click(TObject*) { AddClick(); }

void TFrame5::SpeedButton8Click(TObject*) { EditClick(); }

void TFrame5::SpeedButton5Click(TObject*) {
  TMainForm* form = MainForm;
  switch (SpeedButton5->Tag) {
    case kPathsTab: {
      const int index = form->CheckListBox1->ItemIndex();
      if (index >= 0) form->CheckListBox1->Items()->Delete(index);
      break;
    }
    case kFiltersTab:
      if (TListItem* item = form->ListView2->Selected()) item->Delete();
      break;
    case kExclusionsTab:
      if (TListItem* item = form->ListView3->Selected()) item->Delete();
      break;
    case kResultsTab:
      DeleteFileSelected();
      break;
  }
}

void TFrame5::SpeedButton6Click(TObject*) {
  TMainForm* form = MainForm;
  switch (SpeedButton6->Tag) {
    case kPathsTab: form->CheckListBox1->Clear(); break;
    case kFiltersTab: form->ListView2->Items()->Clear(); break;
    case kExclusionsTab: form->ListView3->Items()->Clear(); break;
    case kResultsTab: DeleteAll(); break;
  }
}

bool TFrame5::AddSearchPath(const std::wstring& chosen) {
  TMainForm* form = MainForm;
  if (chosen.empty()) return false;
  std::wstring path = chosen;
  if (path.back() != L'\\') path += L'\\';
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
  TStrings* items = form->CheckListBox1->Items();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Strings(i) == path) return false;
  items->AddObject(path, nullptr);  // a path of the user's (no drive tag), unticked
  form->CheckListBox1->SetSorted(true);
  return true;
}

void TFrame5::AddClick() {
  TMainForm* form = MainForm;
  switch (SpeedButton7->Tag) {
    case kPathsTab: {
      TAddFolderDialog* dialog = EnsureAddFolderDialog(form);
      if (dialog->ShowModal() == mrOk) AddSearchPath(dialog->FolderPath);
      break;
    }
    case kFiltersTab: {
      std::wstring mask;
      if (!InputQuery(L"Добавить фильтр", L"Введите фильтр:", mask) || Trim(mask).empty()) break;
      std::wstring description;
      if (!InputQuery(L"Описание фильтра", L"Введите описание:", description)) description.clear();
      AddExt(mask, description, form->ListView2, true);
      break;
    }
    case kExclusionsTab:
      if (!Form2) Form2 = Construct<TForm2>(form);
      Form2->Tag = 0;
      Form2->Show();
      break;
    default:
      break;
  }
}

void TFrame5::EditClick() {
  TMainForm* form = MainForm;
  const bool filters = SpeedButton8->Tag == kFiltersTab;
  if (!filters && SpeedButton8->Tag != kExclusionsTab) return;
  TListView* list = filters ? form->ListView2 : form->ListView3;
  TListItem* item = list->Selected();
  if (!item) return;
  const int descColumn = filters ? 1 : 0;  // the description's sub-item
  while (item->SubItems()->Count() <= descColumn) item->SubItems()->Add(L"");

  std::wstring name = item->Caption();
  if (!InputQuery(filters ? L"Редактирование фильтра" : L"Редактирование исключения",
                  filters ? L"Исправьте название фильтр:" : L"Исправьте название исключения:", name))
    return;
  std::wstring description = item->SubItems()->Strings(descColumn);
  const bool described =
      InputQuery(filters ? L"Редактирование фильтра" : L"Редактирование исключения",
                 filters ? L"Исправьте описание фильтра:" : L"Исправьте описание исключения:", description);
  item->SetCaption(name);
  if (filters) item->SubItems()->SetStrings(0, MaskExt(name));
  if (described) item->SubItems()->SetStrings(descColumn, description);
}

void TFrame5::AddExt(const std::wstring& Name, const std::wstring& Description, TListView* List,
                     bool Ticked) {
  TListItem* item = List->Items()->Add();
  item->SetCaption(Name);
  item->SubItems()->Add(MaskExt(Name));
  item->SubItems()->Add(Description);
  item->SetChecked(Ticked);
}

void TFrame5::AddExl(const std::wstring& Name, const std::wstring& Description, TListView* List,
                     bool Ticked) {
  TListItem* item = List->Items()->Add();
  item->SetCaption(Name);
  item->SubItems()->Add(Description);
  item->SetChecked(Ticked);
}
