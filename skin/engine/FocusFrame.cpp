#include "skin/engine/FocusFrame.h"

#include "skin/engine/SkinUtils.h"

void DrawFocusFrame(TCanvas* canvas, const TRect& r) {
  if (!canvas) return;
  HDC dc = canvas->Handle();
  if (!dc) return;
  auto dot = [&](int x, int y) {
    // SetPixelV is clipped by the device context like every GDI output.
    ::SetPixelV(dc, x, y, clBlack);
    ::SetPixelV(dc, x - 1, y - 1, clWhite);
  };
  const int w3 = WidthOf(r) / 3, h3 = HeightOf(r) / 3;
  for (int i = 0; i <= w3; ++i) {
    dot(r.left + 3 * i, r.top);
    dot(r.left + 3 * i, r.bottom);
  }
  for (int j = 0; j <= h3; ++j) {
    dot(r.left, r.top + 3 * j);
    dot(r.right, r.top + 3 * j);
  }
  ::GdiFlush();
}
