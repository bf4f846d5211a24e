// Times the cost of one message sent to a framework window against the same
// message sent to a bare window whose procedure only calls DefWindowProcW.
// Each run sends every message of a small mix COUNT times; the figures are
// the median, minimum and maximum over RUNS runs, per message.
// Usage: DispatchBench.exe [count] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "framework/Forms.h"

namespace {

LRESULT CALLBACK BareProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: break;  // a switch like any real procedure's
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND MakeBareWindow(HWND parent) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BareProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"DispatchBenchBare";
  RegisterClassExW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"bare", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent,
                         nullptr, wc.hInstance, nullptr);
}

// Messages a control gets all the time that neither window handles itself.
const UINT kMix[] = {WM_USER + 1, WM_GETTEXTLENGTH, WM_NCHITTEST, WM_GETDLGCODE};

double NanosPerMessage(HWND wnd, int count) {
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < count; ++i)
    for (UINT msg : kMix) SendMessageW(wnd, msg, 0, 0);
  QueryPerformanceCounter(&t1);
  double secs = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
  return secs * 1e9 / (static_cast<double>(count) * std::size(kMix));
}

struct Stats {
  double median, min, max;
};

Stats Summarise(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.front(), v.back()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int count = argc > 1 ? _wtoi(argv[1]) : 200000;
  int runs = argc > 2 ? _wtoi(argv[2]) : 7;
  InitFramework();
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 300, 200);
  auto* control = Construct<TCustomControl>(form);
  control->SetBounds(0, 0, 100, 100);
  control->SetParent(form);
  HWND framework = control->Handle();
  HWND bare = MakeBareWindow(form->Handle());

  NanosPerMessage(framework, count / 10);  // warm up both paths
  NanosPerMessage(bare, count / 10);
  std::vector<double> fw, br;
  for (int r = 0; r < runs; ++r) {  // interleaved, so both see the same machine
    br.push_back(NanosPerMessage(bare, count));
    fw.push_back(NanosPerMessage(framework, count));
  }
  Stats b = Summarise(br), w = Summarise(fw);
  wprintf(L"messages per run %d x %d, runs %d\n", count, static_cast<int>(std::size(kMix)), runs);
  wprintf(L"bare window procedure: median %.0f ns (min %.0f, max %.0f) per message\n", b.median, b.min,
          b.max);
  wprintf(L"framework window:      median %.0f ns (min %.0f, max %.0f) per message\n", w.median, w.min,
          w.max);
  wprintf(L"ratio of medians: %.2f\n", w.median / b.median);
  DestroyWindow(bare);
  delete form;
  DoneFramework();
  return 0;
}
