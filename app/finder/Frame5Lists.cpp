// TFrame5's list routines on the main window's finder page: the drive
// entries, the search (run by the page's search object) and the result and
// list operations.
#include <windows.h>

#include "app/finder/FinderSearch.h"
#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "framework/ComCtrls.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/TabNotebook.h"

int LastDriveIndex = -1;

TObject* DriveEntryTag() {
  static TObject tag;
  return &tag;
}

bool IsDriveEntry(int index) {
  return MainForm && MainForm->CheckListBox1->Items()->Objects(index) == DriveEntryTag();
}

// ---------------------------------------------------------------- drives

void TFrame5::GetDrives() {
  TCheckListBox* list = MainForm->CheckListBox1;
  list->Clear();
  // A letter the system does not name has no root to ask about (each
  // question is a trip to the system's volume manager).
  const DWORD present = GetLogicalDrives();
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    if (!(present & (1u << (letter - L'A')))) continue;
    const std::wstring root = std::wstring(1, letter) + L":\\";
    const UINT type = GetDriveTypeW(root.c_str());
    if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) continue;
    const int at = list->Items()->AddObject(root, DriveEntryTag());
    list->SetChecked(at, true);
  }
  LastDriveIndex = list->Count() - 1;
}

// ---------------------------------------------------------------- search

void TFrame5::FindFiles() { MainForm->FinderSearch().FindFiles(); }

void TFrame5::Find(const std::wstring& Dir) { MainForm->FinderSearch().Find(Dir); }

bool TFrame5::InExt(const std::wstring& Name) { return MainForm->FinderSearch().InExt(Name); }

bool TFrame5::ExlPath(const std::wstring& Path) { return MainForm->FinderSearch().ExlPath(Path); }

long long TFrame5::GetQuanFolders(const std::wstring& Dir) { return TFinderSearch::GetQuanFolders(Dir); }

void TFrame5::FindFolders(const std::wstring& Dir, long long& Count) { TFinderSearch::FindFolders(Dir, Count); }

void TFrame5::ShowText(double Size, double Count) { MainForm->FinderSearch().ShowText(Size, Count); }

// ---------------------------------------------------------------- results

void TFrame5::DeleteAll() {
  TMainForm* form = MainForm;
  TListItems* rows = form->ListView4->Items();
  TStatusBar* bar = form->StatusBar1;
  MessagePumpThrottle pump;
  while (rows->Count() > 0 && !Application->Terminated()) {
    TListItem* row = rows->Item(0);
    const std::wstring name = row->Caption();
    if (!row->Checked()) {
      bar->SetPanelText(0, L"Файл " + name + L" удален не будет");
    } else {
      bar->SetPanelText(0, L"Удаление: " + name);
      if (!DeleteFileW(name.c_str())) bar->SetPanelText(0, L"Не могу удалить " + name);
    }
    row->Delete();
    if (pump.Due()) Application->ProcessMessages();
  }
  bar->SetPanelText(0, L"");
  ShowText(0, 0);
}

void TFrame5::DeleteFileSelected() {
  TMainForm* form = MainForm;
  TListItem* row = form->ListView4->Selected();
  if (!row || row->Caption().empty()) return;
  const std::wstring name = row->Caption();
  if (DeleteFileW(name.c_str())) {
    row->Delete();
  } else {
    // The file is still there: its row stays, and the status bar says why.
    form->StatusBar1->SetPanelText(0, L"Не могу удалить " + name);
  }
}

void TFrame5::CheckAll(bool Value) {
  TMainForm* form = MainForm;
  switch (form->TabbedNotebook1->PageIndex()) {
    case 0:
      for (int i = 0; i < form->CheckListBox1->Count(); ++i) form->CheckListBox1->SetChecked(i, Value);
      break;
    case 1:
    case 2:
    case 3: {
      TListView* list = form->TabbedNotebook1->PageIndex() == 1   ? form->ListView2
                        : form->TabbedNotebook1->PageIndex() == 2 ? form->ListView3
                                                                  : form->ListView4;
      for (int i = 0; i < list->Items()->Count(); ++i) list->Items()->Item(i)->SetChecked(Value);
      break;
    }
    default:
      break;
  }
}
