// Times filling a report-style TListView on a shown form with N rows of a
// caption, three sub-items and a tick, inside BeginUpdate/EndUpdate, until
// the list is painted, then clearing it; several runs, median, min and max.
// Usage: ListViewBench.exe [rows] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "framework/ListView.h"

namespace {

void Print(const wchar_t* what, const std::vector<double>& v) {
  const bench::Stats s = bench::Summarize(v);
  wprintf(L"%ls median=%.3f min=%.3f max=%.3f s\n", what, s.median, s.min, s.max);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rows = argc > 1 ? _wtoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
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
  form->Show();
  Application->ProcessMessages();

  std::vector<double> fills, clears;
  int inWindow = 0;
  for (int r = 0; r < runs; ++r) {
    double t0 = bench::Now();
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
    UpdateWindow(lv->Handle());
    fills.push_back(bench::Now() - t0);
    inWindow = static_cast<int>(SendMessageW(lv->Handle(), LVM_GETITEMCOUNT, 0, 0));
    t0 = bench::Now();
    lv->Items()->Clear();
    UpdateWindow(lv->Handle());
    clears.push_back(bench::Now() - t0);
  }
  wprintf(L"rows %d (window %d), %d runs, form shown\n", rows, inWindow, runs);
  Print(L"fill ", fills);
  Print(L"clear", clears);
  delete form;
  DoneFramework();
  return 0;
}
