// Times start-up as the user waits for it, from process creation until
// - "on screen": the program's first top-level window is visible (its
//   first frame, a fade-in's included, is on the way), and
// - "answering": that window has answered a message, so its first paint
//   and any fade-in are through,
// for each program named on the command line, runs alternating between
// them (each round begun by the next one) so a change in the machine's load
// hits all alike. Each program is
// closed (WM_CLOSE) once its window is up, and waited for.
//
//   StartupBench.exe <runs> <program>...
//
// Prints per program and measure "<name> <measure> median=<s> min=<s>
// max=<s>" and the ratio of every program to the last one (the reference)
// taken run by run (median, min, max).
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

struct Times {
  double shown = -1, answering = -1;  // seconds; negative on failure
};

Times StartOnce(const std::wstring& program) {
  std::wstring line = L"\"" + program + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double t0 = bench::Now();
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return {};
  HWND wnd = nullptr;
  Times t;
  while (bench::Now() - t0 < 60) {
    if ((wnd = ShownWindow(pi.dwProcessId))) {
      t.shown = bench::Now() - t0;
      // Its first paint has gone through once it answers a message.
      DWORD_PTR ignored;
      SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
      t.answering = bench::Now() - t0;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (wnd) PostMessageW(wnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return t;
}

void Print(const std::wstring& name, const char* measure, const std::vector<double>& v) {
  const bench::Stats st = bench::Summarize(v);
  std::printf("%ls %s median=%.3f min=%.3f max=%.3f\n", name.c_str(), measure, st.median, st.min,
              st.max);
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
  std::vector<std::vector<double>> shown(programs.size()), answering(programs.size());
  // Each round starts with another program: a start right after another
  // program's exit runs slower (measured: about 20 ms), which must not
  // always fall on the same one.
  for (int r = 0; r < runs; ++r)
    for (size_t k = 0; k < programs.size(); ++k) {
      const size_t i = (k + static_cast<size_t>(r)) % programs.size();
      const Times t = StartOnce(programs[i]);
      if (t.answering < 0) {
        std::fwprintf(stderr, L"%ls: no window\n", programs[i].c_str());
        return 1;
      }
      shown[i].push_back(t.shown);
      answering[i].push_back(t.answering);
    }
  for (size_t i = 0; i < programs.size(); ++i) {
    const size_t slash = programs[i].find_last_of(L"\\/");
    const std::wstring name = programs[i].substr(slash == std::wstring::npos ? 0 : slash + 1);
    Print(name, "on screen", shown[i]);
    Print(name, "answering", answering[i]);
  }
  // Every program against the last one, the reference, run by run.
  const size_t ref = programs.size() - 1;
  for (size_t i = 0; i < ref; ++i) {
    std::vector<double> rs, ra;
    for (int r = 0; r < runs; ++r) {
      rs.push_back(shown[i][r] / shown[ref][r]);
      ra.push_back(answering[i][r] / answering[ref][r]);
    }
    const bench::Stats s = bench::Summarize(rs), a = bench::Summarize(ra);
    std::printf("program %zu vs the last, on screen: median %.2f (min %.2f, max %.2f) over %d runs\n",
                i + 1, s.median, s.min, s.max, runs);
    std::printf("program %zu vs the last, answering: median %.2f (min %.2f, max %.2f) over %d runs\n",
                i + 1, a.median, a.min, a.max, runs);
  }
  return 0;
}
