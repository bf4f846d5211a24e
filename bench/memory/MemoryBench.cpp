// Prints the process's private bytes and working set at each step of the
// main window's life: framework started, main window created and shown,
// then after each frame-bar item opened and every page shown, so the growth
// of each step can be read off.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "app/mainwindow/MainForm.h"
#include "bench/common/BenchSkin.h"
#include "skin/controls/FrameBar.h"

namespace {

void Report(const char* step) {
  bench::Pump();
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                         sizeof pmc);
  std::printf("%-28s private %7.1f MB, working set %7.1f MB\n", step,
              static_cast<double>(pmc.PrivateUsage) / (1 << 20),
              static_cast<double>(pmc.WorkingSetSize) / (1 << 20));
}

}  // namespace

int wmain() {
  Report("start");
  InitFramework();
  Report("framework started");
  Application->MainFormOnTaskBar = true;
  Application->CreateForm(MainForm);
  Report("main window created");
  MainForm->Show();
  Report("main window shown");
  for (int i = 0; i < MainForm->sFrameBar1->Items()->Count(); ++i) {
    MainForm->sFrameBar1->OpenItem(i, false);
    char step[64];
    std::snprintf(step, sizeof step, "frame-bar item %d open", i);
    Report(step);
  }
  for (int i = 0; i < TMainForm::kPageCount; ++i) {
    MainForm->SelectPage(i);
    ::UpdateWindow(MainForm->Handle());
  }
  Report("every page shown");
  return 0;
}
