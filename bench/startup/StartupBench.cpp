// Times start-up as the user waits for it: from process creation until the
// program's first top-level window is visible and has been painted, for
// each program named on the command line, runs alternating between them so
// a change in the machine's load hits all alike. Each program is closed
// (WM_CLOSE) once its window is up, and waited for.
//
//   StartupBench.exe <runs> <program>...
//
// Prints per program "<name> median=<s> min=<s> max=<s>" and, with two
// programs, the ratio of the first median to the second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

// A visible, unowned top-level window of the process, or null.
HWND ShownWindow(DWORD pid) {
  Search s{pid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != s->pid || !IsWindowVisible(w) || GetWindow(w, GW_OWNER)) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Seconds until the program's window is on screen; negative on failure.
double StartOnce(const std::wstring& program) {
  std::wstring line = L"\"" + program + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double t0 = bench::Now();
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  HWND wnd = nullptr;
  double shown = -1;
  while (bench::Now() - t0 < 60) {
    if ((wnd = ShownWindow(pi.dwProcessId))) {
      // Its first paint has gone through once it answers a message.
      DWORD_PTR ignored;
      SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
      shown = bench::Now() - t0;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (wnd) PostMessageW(wnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return shown;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: StartupBench.exe <runs> <program>...\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const std::vector<std::wstring> programs(argv + 2, argv + argc);
  for (const std::wstring& p : programs) StartOnce(p);  // warm caches alike
  std::vector<std::vector<double>> times(programs.size());
  for (int r = 0; r < runs; ++r)
    for (size_t i = 0; i < programs.size(); ++i) {
      const double t = StartOnce(programs[i]);
      if (t < 0) {
        std::fwprintf(stderr, L"%ls: no window\n", programs[i].c_str());
        return 1;
      }
      times[i].push_back(t);
    }
  std::vector<double> medians;
  for (size_t i = 0; i < programs.size(); ++i) {
    const bench::Stats st = bench::Summarize(times[i]);
    medians.push_back(st.median);
    const size_t slash = programs[i].find_last_of(L"\\/");
    std::printf("%ls median=%.3f min=%.3f max=%.3f\n", programs[i].c_str() + (slash == std::wstring::npos ? 0 : slash + 1),
                st.median, st.min, st.max);
  }
  if (medians.size() == 2) std::printf("ratio of medians = %.2f over %d runs\n", medians[0] / medians[1], runs);
  return 0;
}
