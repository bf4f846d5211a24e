// Times WM_USER sent to controls that wear the skin against the same message
// sent to bare windows, side by side in one run:
// - a TButton adapted by the form's control adapter against a bare system
//   BUTTON window;
// - a TPanel (adapted) and a TsPanel against a bare window procedure.
// Each run sends COUNT messages to every window in turn; the ratio is taken
// run by run against the reference timed in the same run, and printed as
// median (min-max) over RUNS runs.
// Usage: AdapterDispatchBench.exe [count] [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/Panel.h"
#include "skin/windows/CtrlAdapter.h"

namespace {

LRESULT CALLBACK BareProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: break;  // a switch like any real procedure's
  }
  return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND MakeBareWindow(HWND parent) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BareProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"AdapterDispatchBenchBare";
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, wc.lpszClassName, L"bare", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                           parent, nullptr, wc.hInstance, nullptr);
}

// Nanoseconds per message.
double Send(HWND wnd, int count) {
  const double start = bench::Now();
  for (int i = 0; i < count; ++i) ::SendMessageW(wnd, WM_USER, 0, 0);
  return (bench::Now() - start) * 1e9 / count;
}

void Print(const char* what, const std::vector<double>& ns, const std::vector<double>& refNs,
           const std::vector<double>& ratios) {
  const bench::Stats t = bench::Summarize(ns), r = bench::Summarize(refNs),
                     q = bench::Summarize(ratios);
  std::printf("%-34s %6.0f ns vs %6.0f ns: ratio %.2f (min %.2f, max %.2f)\n", what, t.median,
              r.median, q.median, q.min, q.max);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int count = argc > 1 ? _wtoi(argv[1]) : 200000;
  const int runs = argc > 2 ? _wtoi(argv[2]) : 9;
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin();
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 400, 300);
  auto* button = Construct<TButton>(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 90, 28);
  button->SetCaption(L"Очистить");
  auto* panel = Construct<TPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(10, 50, 150, 60);
  auto* spanel = Construct<TsPanel>(form);
  spanel->SetParent(form);
  spanel->SetBounds(170, 50, 150, 60);
  form->HandleNeeded();
  TacCtrlAdapter adapter(form, manager.get());
  adapter.AddAllItems();
  ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(form->Handle());
  HWND bareButton = ::CreateWindowExW(0, L"BUTTON", L"Очистить", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                      10, 120, 90, 28, form->Handle(), nullptr, nullptr, nullptr);
  HWND bare = MakeBareWindow(form->Handle());
  bench::Pump();

  const HWND wnds[] = {bareButton, button->Handle(), bare, panel->Handle(), spanel->Handle()};
  for (HWND w : wnds) Send(w, count / 10);  // warm every path up
  std::vector<double> t[5], rButton, rPanel, rsPanel;
  for (int r = 0; r < runs; ++r) {
    double now[5];
    for (int i = 0; i < 5; ++i) t[i].push_back(now[i] = Send(wnds[i], count));
    rButton.push_back(now[1] / now[0]);
    rPanel.push_back(now[3] / now[2]);
    rsPanel.push_back(now[4] / now[2]);
  }
  std::printf("WM_USER, %d messages a window, %d runs, controls adapted: %d\n", count, runs,
              adapter.Count());
  Print("adapted TButton vs system BUTTON", t[1], t[0], rButton);
  Print("adapted TPanel vs bare procedure", t[3], t[2], rPanel);
  Print("TsPanel vs bare procedure", t[4], t[2], rsPanel);
  ::DestroyWindow(bareButton);
  ::DestroyWindow(bare);
  delete form;
  return 0;
}
