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

#include "app/finder/Frame5.h"
#include "app/duplicates/HelpForm.h"
#include "app/mainwindow/MainForm.h"
#include "app/duplicates/ResultForm.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "tests/app/common/MessageBoxCatcher.h"

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
