// Times the file finder's search as the user waits for it, side by side
// with a bare FindFirstFileExW walk of the same tree, hot cache, in one run:
// the main window is made as the program makes it and shown on the finder's
// page with the results tab in front, the path list holds the folder alone,
// the filter list one mask, and the wall clock runs from the start of
// FindFiles (with GetQuanFolders' counting walk inside it) until the last
// rows are painted. Runs alternate between the two so both see the same
// cache and machine state.
//
//   FinderBench.exe <folder> <mask> [runs] [plain]
//
// With "plain" the result list is a window that holds its own rows (no
// owner data), as it was before the finder kept them itself.
//
// Prints, for the finder and the walk, "median=<s> min=<s> max=<s>", the
// rows and files found, the ratio of the medians, and the process's peak
// private memory before and after the searches.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "app/duplicates/HelpForm.h"
#include "app/duplicates/ResultForm.h"
#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/TabNotebook.h"
#include "tests/app/common/MessageBoxCatcher.h"

namespace {

// The reference: every entry of the tree listed once, nothing else done.
long long Walk(const std::wstring& dir) {
  long long files = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW((dir + L"*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const wchar_t* n = fd.cFileName;
      if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))) continue;
      files += Walk(dir + n + L"\\");
    } else {
      ++files;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return files;
}

double PeakPrivateMb() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  return GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc) ? pmc.PeakPagefileUsage / 1048576.0 : 0;
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
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 5;
  const bool plain = argc > 4 && std::wstring(argv[4]) == L"plain";

  {
    testenv::MessageBoxCatcher catcher;  // a fresh prefix's start-up reports
    InitFramework();
    Application->CreateForm(MainForm);
    Application->CreateForm(HelpForm);
    Application->CreateForm(ResultForm);
    MainForm->Show();
    MainForm->SelectPage(15);
    MainForm->TabbedNotebook1->SetPageIndex(3);  // the results, as the user watches them
    if (plain) MainForm->ListView4->SetOwnerData(false);
    Application->ProcessMessages();
  }
  MainForm->CheckListBox1->Clear();
  const int at = MainForm->CheckListBox1->Items()->AddObject(dir, nullptr);
  MainForm->CheckListBox1->SetChecked(at, true);
  MainForm->ListView2->Items()->Clear();
  MainForm->ListView3->Items()->Clear();
  TFrame5::AddExt(mask, L"", MainForm->ListView2, true);

  Walk(dir);  // hot cache for both
  const double peakBefore = PeakPrivateMb();
  std::vector<double> finder, walk;
  long long files = 0;
  for (int r = 0; r < runs; ++r) {
    double t0 = bench::Now();
    files = Walk(dir);
    walk.push_back(bench::Now() - t0);
    t0 = bench::Now();
    TFrame5::FindFiles();
    UpdateWindow(MainForm->WindowHandle());
    RedrawWindow(MainForm->WindowHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    finder.push_back(bench::Now() - t0);
  }
  const bench::Stats f = bench::Summarize(finder), w = bench::Summarize(walk);
  std::printf("finder median=%.3f min=%.3f max=%.3f rows=%d (results tab shown, %s list)\n", f.median, f.min,
              f.max, MainForm->ListView4->Items()->Count(), plain ? "plain" : "owner-data");
  std::printf("walk   median=%.3f min=%.3f max=%.3f files=%lld\n", w.median, w.min, w.max, files);
  std::printf("finder / walk (medians) = %.2f over %d runs\n", f.median / w.median, runs);
  std::printf("peak private memory: %.1f MB before the searches, %.1f MB after\n", peakBefore, PeakPrivateMb());
  // The window is not closed: its close would write Config.ini beside us.
  std::fflush(stdout);
  ExitProcess(0);
}
