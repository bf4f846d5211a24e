// Times the file finder's search on one folder tree, hot cache, best of
// several runs: the main window is made as the program makes it, the path
// list holds the folder alone, the filter list one mask, and FindFiles lists
// every match into the result list (rows, sizes, type names, dates), with
// GetQuanFolders' counting walk before it.
//
//   FinderBench.exe <folder> <mask> [runs]
//
// Prints "finder seconds=<best> median=<median> rows=<n> folders=<n>" and
// "quanfolders seconds=<best>" (the counting walk alone).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Frame5.h"
#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/ResultForm.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "tests/app/MessageBoxCatcher.h"

namespace {

double Now() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: FinderBench.exe <folder> <mask> [runs]\n");
    return 2;
  }
  std::wstring dir = argv[1];
  if (dir.back() != L'\\') dir += L'\\';
  const std::wstring mask = argv[2];
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 3;

  {
    testenv::MessageBoxCatcher catcher;  // a fresh prefix's start-up reports
    InitFramework();
    Application->CreateForm(MainForm);
    Application->CreateForm(HelpForm);
    Application->CreateForm(ResultForm);
    MainForm->Show();
    MainForm->SelectPage(15);
    Application->ProcessMessages();
  }
  MainForm->CheckListBox1->Clear();
  const int at = MainForm->CheckListBox1->Items()->AddObject(dir, nullptr);
  MainForm->CheckListBox1->SetChecked(at, true);
  MainForm->ListView2->Items()->Clear();
  MainForm->ListView3->Items()->Clear();
  TFrame5::AddExt(mask, L"", MainForm->ListView2, true);

  if (_wgetenv(L"FINDER_PROBE")) {
    const int n = _wtoi(_wgetenv(L"FINDER_PROBE"));
    double t0 = Now();
    if (_wgetenv(L"FINDER_UPDATE")) MainForm->ListView4->Items()->BeginUpdate();
    for (int i = 0; i < n; ++i) {
      TListItem* item = MainForm->ListView4->Items()->Add();
      item->SetCaption(L"C:\\x\\file" + std::to_wstring(i));
      item->SetImageIndex(3);
      item->SubItems()->Add(L"1,00 Кб");
      item->SubItems()->Add(L"Файл");
      item->SubItems()->Add(L"05.03.2024 14:30:10");
      item->SetChecked(true);
    }
    if (_wgetenv(L"FINDER_UPDATE")) MainForm->ListView4->Items()->EndUpdate();
    std::printf("rows %d: %.3f\n", n, Now() - t0);
    MainForm->ListView4->Items()->Clear();
    t0 = Now();
    for (int i = 0; i < n; ++i) MainForm->ListView4->Items()->Add();
    std::printf("bare add %d: %.3f\n", n, Now() - t0);
    t0 = Now();
    for (int i = 0; i < n; ++i) MainForm->ListView4->Items()->Item(i)->SetChecked(true);
    std::printf("check %d: %.3f\n", n, Now() - t0);
    t0 = Now();
    for (int i = 0; i < n; ++i) MainForm->ListView4->Items()->Item(i)->SetCaption(L"x");
    std::printf("caption %d: %.3f\n", n, Now() - t0);
    t0 = Now();
    for (int i = 0; i < n; ++i) MainForm->StatusBar1->SetPanelText(1, L"x" + std::to_wstring(i));
    std::printf("panel %d: %.3f\n", n, Now() - t0);
    MainForm->ListView4->Items()->Clear();
    t0 = Now();
    for (int i = 0; i < n; ++i) TFrame5::ShowText(i * 1000.0, i);
    std::printf("showtext %d: %.3f\n", n, Now() - t0);
    t0 = Now();
    for (int i = 0; i < n; ++i) Application->ProcessMessages();
    std::printf("pump %d: %.3f\n", n, Now() - t0);
    t0 = Now();
    for (int i = 0; i < n; ++i) TFrame5::InExt(L"tmp000001_cache.dat");
    std::printf("inext %d: %.3f\n", n, Now() - t0);
    std::fflush(stdout);
    ExitProcess(0);
  }
  std::vector<double> times, counting;
  long long folders = 0;
  for (int r = 0; r < runs; ++r) {
    double t0 = Now();
    folders = TFrame5::GetQuanFolders(dir);
    counting.push_back(Now() - t0);
    t0 = Now();
    TFrame5::FindFiles();
    times.push_back(Now() - t0);
  }
  std::sort(times.begin(), times.end());
  std::sort(counting.begin(), counting.end());
  std::printf("finder seconds=%.3f median=%.3f rows=%d folders=%lld\n", times.front(), times[times.size() / 2],
              MainForm->ListView4->Items()->Count(), folders);
  std::printf("quanfolders seconds=%.3f\n", counting.front());
  // The window is not closed: its close would write Config.ini beside us.
  std::fflush(stdout);
  ExitProcess(0);
}
