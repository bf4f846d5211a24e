// Times what the hue and saturation track bars cost on every release: the
// selected internal skin loaded and recoloured, next to a plain copy of the
// master bitmap's bytes (the floor any reload has to pay).
//   SkinLoadBench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"

using bench::Now;

namespace {

// Best time of `runs` batches of `reps` calls, in milliseconds per call.
double BestMs(int runs, int reps, const std::function<void(int)>& op) {
  double best = 1e9;
  for (int r = 0; r < runs; ++r) {
    double t0 = Now();
    for (int i = 0; i < reps; ++i) op(i);
    best = std::min(best, (Now() - t0) * 1000.0 / reps);
  }
  return best;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = argc > 1 ? _wtoi(argv[1]) : 5;
  if (runs < 1) runs = 5;
  InitFramework();
  std::unique_ptr<TsSkinManager> m(Construct<TsSkinManager>(nullptr));
  m->SetActive(false);
  m->SetSkinDirectory(L"c:\\NoSkinsHere");
  AddInternalSkins(*m->InternalSkins());
  m->SetSaturation(40);  // as the main window starts
  m->SetSkinName(L"WLM (internal)");
  m->SetActive(true);
  TBitmap& master = *m->MasterBitmap;
  const size_t bytes = static_cast<size_t>(master.Stride()) * master.Height();
  std::vector<uint8_t> buffer(bytes);
  const uint8_t* bits = static_cast<const uint8_t*>(master.Bits());

  const int reps = 50;
  double copy = BestMs(runs, reps * 20, [&](int i) {
    std::memcpy(buffer.data(), bits, bytes);
    buffer[i % bytes] ^= 1;  // keeps the copy from being optimised away
  });
  // A track-bar release: the skin reloaded (from its untransformed tables)
  // and recoloured with the new hue; nothing to repaint in this process.
  double hue = BestMs(runs, reps, [&](int i) { m->SetHueOffset(i % 2 ? 30 : -45); });
  double saturation = BestMs(runs, reps, [&](int i) { m->SetSaturation(i % 2 ? 70 : 20); });
  // A full load of the selected internal skin from its stored form, then the
  // hue change.
  double load = BestMs(runs, reps, [&](int i) {
    m->SetSkinName(L"WLM (internal)");
    m->SetHueOffset(i % 2 ? 30 : -45);
  });

  std::printf("master bitmap %dx%d, %zu bytes\n", master.Width(), master.Height(), bytes);
  std::printf("copy of master bytes ms=%.4f\n", copy);
  std::printf("hue release (reload + recolour) ms=%.3f ratio=%.1f\n", hue, hue / copy);
  std::printf("saturation release ms=%.3f ratio=%.1f\n", saturation, saturation / copy);
  std::printf("full load + hue ms=%.3f ratio=%.1f\n", load, load / copy);
  return 0;
}
