// Times a change of skin of the shown main window, from the call until the
// window is fully repainted (the skin-change fade included, as the user
// sees it), against one full repaint of the same window without a skin, in
// the same run. Each run changes the skin twice (there and back), repaints
// skinned twice (from the caches, page 0 showing) and unskinned twice; the
// ratios to the unskinned repaint are taken run by run and printed as
// median (min-max).
//   SkinChangeBench.exe [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/mainwindow/MainForm.h"
#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/StoredSkins.h"

namespace {

void FullRepaint(HWND wnd) {
  ::RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Milliseconds for `fn` and the messages it left behind.
template <typename Fn>
double Ms(Fn fn) {
  const double start = bench::Now();
  fn();
  bench::Pump();
  return (bench::Now() - start) * 1e3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
  InitFramework();
  Application->MainFormOnTaskBar = true;
  Application->CreateForm(MainForm);
  MainForm->Show();
  Application->ProcessMessages();
  HWND wnd = MainForm->Handle();
  TsSkinManager* manager = MainForm->sSkinManager1;
  const std::wstring first = manager->SkinName();
  std::wstring second;
  for (int i = 0; i < manager->InternalSkins()->Count() && second.empty(); ++i)
    if (manager->InternalSkins()->Items(i)->Name() != first)
      second = manager->InternalSkins()->Items(i)->Name();
  auto change = [&] {
    return Ms([&] { manager->SetSkinName(second); }) + Ms([&] { manager->SetSkinName(first); });
  };
  auto plain = [&] {
    manager->SetActive(false);
    bench::Pump();
    const double t = Ms([&] { FullRepaint(wnd); }) + Ms([&] { FullRepaint(wnd); });
    manager->SetActive(true);
    bench::Pump();
    return t;
  };
  auto skinned = [&] { return Ms([&] { FullRepaint(wnd); }) + Ms([&] { FullRepaint(wnd); }); };
  change();  // warm every path up
  plain();
  skinned();
  std::vector<double> tc, tp, ts, ratio, ratioSkinned;
  for (int r = 0; r < runs; ++r) {
    const double p = plain(), c = change(), k = skinned();
    tp.push_back(p / 2);
    tc.push_back(c / 2);
    ts.push_back(k / 2);
    ratio.push_back(c / p);
    ratioSkinned.push_back(k / p);
  }
  const bench::Stats c = bench::Summarize(tc), p = bench::Summarize(tp), q = bench::Summarize(ratio),
                     k = bench::Summarize(ts), qk = bench::Summarize(ratioSkinned);
  std::printf("skin change (%ls <-> %ls) median %.1f ms (min %.1f, max %.1f)\n", first.c_str(),
              second.c_str(), c.median, c.min, c.max);
  std::printf("full unskinned repaint     median %.1f ms (min %.1f, max %.1f)\n", p.median, p.min,
              p.max);
  std::printf("full skinned repaint        median %.1f ms (min %.1f, max %.1f)\n", k.median, k.min,
              k.max);
  std::printf("skin change vs unskinned repaint: ratio median %.2f (min %.2f, max %.2f) over %d runs\n",
              q.median, q.min, q.max, runs);
  std::printf("skinned vs unskinned repaint:     ratio median %.2f (min %.2f, max %.2f) over %d runs\n",
              qk.median, qk.min, qk.max, runs);
  return 0;
}
