// Memory of the main window after every page has been shown, against a
// minimal one-window program.
//
//   MemoryBench.exe                      one run, step by step: the
//       process's private bytes and working set after the framework started,
//       the main window created and shown, each frame-bar item opened and
//       every page shown, so the growth of each step can be read off
//   MemoryBench.exe <runs> <minimal.exe> side by side: <runs> runs of each,
//       alternating, each in a fresh process; prints the working set after
//       every page was shown (median, min, max) against the minimal
//       program's once its window answers, and their ratio run by run
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/mainwindow/MainForm.h"
#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "skin/controls/FrameBar.h"

namespace {

constexpr double kMB = 1 << 20;

PROCESS_MEMORY_COUNTERS_EX Counters(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  return pmc;
}

void Report(bool verbose, const char* step) {
  bench::Pump();
  if (!verbose) return;
  const PROCESS_MEMORY_COUNTERS_EX pmc = Counters(::GetCurrentProcess());
  std::printf("%-28s private %7.1f MB, working set %7.1f MB\n", step,
              static_cast<double>(pmc.PrivateUsage) / kMB,
              static_cast<double>(pmc.WorkingSetSize) / kMB);
}

// Shows every page as the user would; returns the working set in KB at the
// end (the exit code of a run started by the side-by-side mode).
int VisitEveryPage(bool verbose) {
  Report(verbose, "start");
  InitFramework();
  Report(verbose, "framework started");
  Application->MainFormOnTaskBar = true;
  Application->CreateForm(MainForm);
  Report(verbose, "main window created");
  MainForm->Show();
  Report(verbose, "main window shown");
  for (int i = 0; i < MainForm->sFrameBar1->Items()->Count(); ++i) {
    MainForm->sFrameBar1->OpenItem(i, false);
    char step[64];
    std::snprintf(step, sizeof step, "frame-bar item %d open", i);
    Report(verbose, step);
  }
  for (int i = 0; i < TMainForm::kPageCount; ++i) {
    MainForm->SelectPage(i);
    ::UpdateWindow(MainForm->Handle());
  }
  Report(verbose, "every page shown");
  return static_cast<int>(Counters(::GetCurrentProcess()).WorkingSetSize / 1024);
}

struct Search {
  DWORD pid;
  HWND found;
};

HWND ShownWindow(DWORD pid) {
  Search s{pid, nullptr};
  ::EnumWindows(
      [](HWND w, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner != s->pid || !::IsWindowVisible(w)) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Working set in MB of one run of `line`: the exit code of a run of this
// benchmark, or, for the minimal program, read once its window answers
// (then it is closed). Negative on failure.
double MeasureOnce(std::wstring line, bool self) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  double mb = -1;
  if (self) {
    DWORD code = 0;
    if (::WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0 &&
        ::GetExitCodeProcess(pi.hProcess, &code) && code > 0)
      mb = code / 1024.0;
  } else {
    const double t0 = bench::Now();
    HWND wnd = nullptr;
    while (!wnd && bench::Now() - t0 < 60 && ::WaitForSingleObject(pi.hProcess, 5) == WAIT_TIMEOUT)
      wnd = ShownWindow(pi.dwProcessId);
    if (wnd) {
      DWORD_PTR ignored;
      ::SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
      mb = static_cast<double>(Counters(pi.hProcess).WorkingSetSize) / kMB;
      ::PostMessageW(wnd, WM_CLOSE, 0, 0);
    }
  }
  if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return mb;
}

void Print(const char* name, const std::vector<double>& v, const char* unit) {
  const bench::Stats st = bench::Summarize(v);
  std::printf("%s: median %.2f%s (min %.2f, max %.2f) over %zu runs\n", name, st.median, unit,
              st.min, st.max, v.size());
}

int SideBySide(int runs, const std::wstring& minimal) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring selfLine = L"\"" + std::wstring(self) + L"\" --quiet";
  const std::wstring minimalLine = L"\"" + minimal + L"\"";
  std::vector<double> app, ref, ratio;
  for (int r = 0; r < runs; ++r) {
    const double a = MeasureOnce(selfLine, true);
    const double m = MeasureOnce(minimalLine, false);
    if (a <= 0 || m <= 0) {
      std::fprintf(stderr, "run %d failed (%.1f, %.1f)\n", r, a, m);
      return 1;
    }
    app.push_back(a);
    ref.push_back(m);
    ratio.push_back(a / m);
  }
  Print("working set, every page shown", app, " MB");
  Print("working set, minimal program", ref, " MB");
  Print("ratio", ratio, "x");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--quiet") return VisitEveryPage(false);
  if (argc == 3) return SideBySide(std::max(1, _wtoi(argv[1])), argv[2]);
  VisitEveryPage(true);
  return 0;
}
