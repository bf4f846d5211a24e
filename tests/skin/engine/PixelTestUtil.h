// Small bitmaps for pixel tests: 24-bit framework bitmaps filled and read
// through their memory.
#pragma once

#include <memory>

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"

namespace skintest {

inline std::unique_ptr<TBitmap> MakeBmp(int w, int h, TColor fill = clWhite,
                                        TPixelFormat fmt = pf24bit) {
  auto b = std::make_unique<TBitmap>(w, h, fmt);
  TacBmpView v(*b);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ColorToPixel(fill, v.Pixel(x, y));
  return b;
}

inline TColor Px(TBitmap& b, int x, int y) { return PixelToColor(TacBmpView(b).Pixel(x, y)); }
inline void SetPx(TBitmap& b, int x, int y, TColor c) { ColorToPixel(c, TacBmpView(b).Pixel(x, y)); }
inline void FillRect(TBitmap& b, int l, int t, int r, int bo, TColor c) {
  for (int y = t; y < bo; ++y)
    for (int x = l; x < r; ++x) SetPx(b, x, y, c);
}
inline TColor Grey(int v) { return static_cast<TColor>(v | (v << 8) | (v << 16)); }
// Counts the pixels of the bitmap equal to c.
inline int CountColor(TBitmap& b, TColor c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += Px(b, x, y) == c;
  return n;
}

}  // namespace skintest
