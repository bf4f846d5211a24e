// Times filling a report-style TListView with N rows of a caption, three
// sub-items and a tick, inside BeginUpdate/EndUpdate, then clearing it.
// Usage: ListViewBench.exe [rows]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "framework/Forms.h"
#include "framework/ListView.h"

int wmain(int argc, wchar_t** argv) {
  int rows = argc > 1 ? _wtoi(argv[1]) : 100000;
  InitFramework();
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 600, 400);
  TListView* lv = Construct<TListView>(form);
  lv->SetBounds(0, 0, 580, 380);
  lv->SetParent(form);
  lv->SetViewStyle(vsReport);
  lv->SetCheckboxes(true);
  lv->SetRowSelect(true);
  for (int c = 0; c < 4; ++c) lv->Columns()->Add()->SetWidth(120);
  lv->HandleNeeded();

  LARGE_INTEGER f, t0, t1, t2;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  lv->Items()->BeginUpdate();
  lv->Items()->Reserve(rows);
  for (int i = 0; i < rows; ++i) {
    TListItem* item = lv->Items()->Add();
    item->SetCaption(L"C:\\Folder\\file" + std::to_wstring(i) + L".tmp");
    item->SubItems()->Add(L"12,34 Кб");
    item->SubItems()->Add(L"Файл TMP");
    item->SubItems()->Add(L"05.03.2024 14:30:10");
    item->SetChecked(true);
  }
  lv->Items()->EndUpdate();
  QueryPerformanceCounter(&t1);
  int inWindow = static_cast<int>(SendMessageW(lv->Handle(), LVM_GETITEMCOUNT, 0, 0));
  lv->Items()->Clear();
  QueryPerformanceCounter(&t2);
  auto secs = [&](LARGE_INTEGER a, LARGE_INTEGER b) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
  };
  wprintf(L"rows %d (window %d): fill %.2f s, clear %.2f s\n", rows, inWindow, secs(t0, t1), secs(t1, t2));
  delete form;
  DoneFramework();
  return 0;
}
