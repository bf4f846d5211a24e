// Times the skin engine's inner loops on an 800 x 600 24-bit bitmap against a
// plain memcpy of the same bytes in the same run, and prints the ratios:
// nine-part mask painting (fuchsia-keyed and grey-masked images), SumBitmaps,
// a vertical gradient, and a full-window composite of the three.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "framework/Graphics.h"
#include "skin/engine/Gradients.h"
#include "skin/engine/Masks.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

using bench::Now;

namespace {

constexpr int W = 800, H = 600;

double Time(const std::function<void()>& fn, int reps = 20, int runs = 9) {
  return bench::MedianMicrosPerCall(fn, reps, runs);
}

void Fill(TBitmap& b, TColor c) {
  TacBmpView v(b);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) ColorToPixel(c ^ static_cast<TColor>(x * 7 + y), v.Pixel(x, y));
}

// A border image of three 60 x 60 states with rounded fuchsia corners; for
// MaskType 1 a grey mask lies below it.
std::unique_ptr<TBitmap> BorderImage(int maskType) {
  auto b = std::make_unique<TBitmap>(180, 60 * (maskType + 1), pf24bit);
  Fill(*b, 0x406080);
  TacBmpView v(*b);
  for (int s = 0; s < 3; ++s)
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4 - i; ++j) ColorToPixel(clFuchsia, v.Pixel(s * 60 + i, j));
  if (maskType == 1)
    for (int y = 60; y < 120; ++y)
      for (int x = 0; x < 180; ++x) ColorToPixel(0x404040u * ((x + y) % 3), v.Pixel(x, y));
  return b;
}

}  // namespace

int wmain() {
  TBitmap dst(W, H, pf24bit), src(W, H, pf24bit), parent(W, H, pf24bit);
  Fill(dst, 0x102030);
  Fill(src, 0x705030);
  Fill(parent, 0x333333);
  TacBmpView dv(dst);
  const size_t bytes = static_cast<size_t>(dv.LineDelta) * H;
  std::vector<uint8_t> copyTo(bytes);

  auto master0 = BorderImage(0);
  auto master1 = BorderImage(1);
  TsMaskData mask0;
  mask0.R = MakeRect(0, 0, 180, 60);
  mask0.ImageCount = 3;
  mask0.WL = mask0.WT = mask0.WR = mask0.WB = 12;
  TsMaskData mask1 = TsMaskData{};
  mask1.R = MakeRect(0, 0, 180, 120);
  mask1.ImageCount = 3;
  mask1.MaskType = 1;
  mask1.WL = mask1.WT = mask1.WR = mask1.WB = 12;
  const TRect all = MakeRect(0, 0, W, H);
  const TCacheInfo ci = MakeCacheInfo(&parent, 0, 0);
  TsGradArray grad;
  PrepareGradArray(L"16777215;8421504;50;0;0;8421504;4210752;50;0;0", grad);

  struct Row {
    const char* name;
    double us;
  };
  std::vector<Row> rows;
  const double copyUs = Time([&] { std::memcpy(copyTo.data(), dv.Bits, bytes); });
  rows.push_back({"memcpy of the same bytes", copyUs});
  rows.push_back({"DrawMaskRect, fuchsia corners, tiled, centre",
                  Time([&] { DrawMaskRect(dst, all, true, ci, mask0, *master0, 1, true); })});
  rows.push_back({"DrawMaskRect, grey mask, tiled, centre",
                  Time([&] { DrawMaskRect(dst, all, true, ci, mask1, *master1, 1, true); })});
  rows.push_back({"DrawMaskRect, fuchsia corners, border only",
                  Time([&] { DrawMaskRect(dst, all, false, ci, mask0, *master0, 1, true); })});
  rows.push_back({"SumBitmaps", Time([&] { SumBitmaps(dst, src, 128); })});
  rows.push_back({"PaintGrad, vertical, two bands", Time([&] { PaintGrad(dst, all, grad, 0, 0); })});
  rows.push_back({"composite: gradient + SumBitmaps + border", Time([&] {
                    PaintGrad(src, all, grad, 0, 0);
                    SumBitmaps(dst, src, 102);
                    DrawMaskRect(dst, all, false, ci, mask0, *master0, 1, true);
                  })});

  std::printf("Skin engine on %d x %d, 24 bits (%zu bytes), median per call\n", W, H, bytes);
  for (const Row& r : rows)
    std::printf("  %-46s %9.1f us  %6.2f x memcpy\n", r.name, r.us, r.us / copyUs);
  return 0;
}
