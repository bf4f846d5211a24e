// Times TFrame5::SaveNastrTo, the save of the file finder's lists that every
// close of the main window runs, with a filter list of many rows (each with
// a mask and a Cyrillic description) and a few exclusions and paths. The
// main window is made as the program makes it; the file goes to a scratch
// folder under %TEMP%, replaced on every run as the close replaces it.
//
//   configini_bench.exe [filters] [runs]
//
// Prints "save median=<s> min=<s> max=<s>" with the rows and the file size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/duplicates/HelpForm.h"
#include "app/duplicates/ResultForm.h"
#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "bench/common/BenchTiming.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "tests/app/common/MessageBoxCatcher.h"

int wmain(int argc, wchar_t** argv) {
  const int filters = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10000;
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;

  {
    testenv::MessageBoxCatcher catcher;  // a fresh prefix's start-up reports
    InitFramework();
    Application->CreateForm(MainForm);
    Application->CreateForm(HelpForm);
    Application->CreateForm(ResultForm);
    Application->ProcessMessages();
  }
  MainForm->ListView2->Items()->Clear();
  MainForm->ListView3->Items()->Clear();
  for (int i = 0; i < filters; ++i)
    TFrame5::AddExt(L"*.ext" + std::to_wstring(i), L"Фильтр номер " + std::to_wstring(i), MainForm->ListView2,
                    true);
  for (int i = 0; i < 10; ++i)
    TFrame5::AddExl(L"Папка" + std::to_wstring(i), L"Исключение", MainForm->ListView3, true);
  for (int i = 0; i < 10; ++i) {
    const int at = MainForm->CheckListBox1->Items()->AddObject(L"C:\\Данные\\" + std::to_wstring(i) + L"\\",
                                                               nullptr);
    MainForm->CheckListBox1->SetChecked(at, true);
  }

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"tarnholt-configini-bench\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring file = dir + L"Config.ini";

  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    const double t0 = bench::Now();
    TFrame5::SaveNastrTo(file);
    times.push_back(bench::Now() - t0);
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
  const bench::Stats s = bench::Summarize(times);
  std::printf("save median=%.3f min=%.3f max=%.3f filters=%d bytes=%lu runs=%d\n", s.median, s.min, s.max,
              MainForm->ListView2->Items()->Count(), data.nFileSizeLow, runs);
  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
  // The window is not closed: its close would write Config.ini beside us.
  std::fflush(stdout);
  ExitProcess(0);
}
