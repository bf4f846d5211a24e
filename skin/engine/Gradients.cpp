#include "skin/engine/Gradients.h"

#include <cmath>
#include <cstring>

#include "framework/SysUtils.h"
#include "skin/engine/SkinUtils.h"

void SplitColor(TColor color, TacPixel24& pixel) {
  pixel.R = static_cast<uint8_t>(color & 0xFF);
  pixel.G = static_cast<uint8_t>((color >> 8) & 0xFF);
  pixel.B = static_cast<uint8_t>((color >> 16) & 0xFF);
}

void PrepareGradArray(const std::wstring& gradientStr, TsGradArray& gradArray) {
  gradArray.clear();
  if (gradientStr.empty()) return;
  const std::wstring_view delims = L";";
  int stops = WordCount(gradientStr, delims) / 5;
  gradArray.resize(stops);
  for (int i = 0; i < stops; ++i) {
    auto word = [&](int k) { return StrToInt(ExtractWord(i * 5 + k, gradientStr, delims)); };
    TsGradStop& s = gradArray[i];
    s.Color1 = static_cast<TColor>(word(1));
    s.Color2 = static_cast<TColor>(word(2));
    s.Percent = static_cast<uint8_t>(MinOf(MaxOf(word(3), 0), 100));
    s.Mode = word(4);
    s.Reserved = word(5);
  }
}

namespace {

// Channels of a band as floating-point numbers that grow by a step per row
// (or column) and are rounded half to even when written.
struct Ramp {
  double b, g, r, db, dg, dr;
  Ramp(TColor c1, TColor c2, int steps) {
    TacPixel24 p1, p2;
    SplitColor(c1, p1);
    SplitColor(c2, p2);
    b = p1.B;
    g = p1.G;
    r = p1.R;
    db = (p2.B - p1.B) / static_cast<double>(steps);
    dg = (p2.G - p1.G) / static_cast<double>(steps);
    dr = (p2.R - p1.R) / static_cast<double>(steps);
  }
  void Put(uint8_t* p) const {
    p[0] = ClampByte(RoundHalfEven(b));
    p[1] = ClampByte(RoundHalfEven(g));
    p[2] = ClampByte(RoundHalfEven(r));
  }
  void Next() {
    b += db;
    g += dg;
    r += dr;
  }
};

// Fills `count` pixels of `bpp` bytes from p with the pixel already at p.
// 24-bit rows are written in 48-byte blocks of 16 pixels, which the compiler
// turns into a few wide stores.
void Replicate(uint8_t* p, int count, int bpp) {
  if (count <= 1) return;
  if (bpp != 3) {
    for (int i = 1; i < count; ++i) std::memcpy(p + i * bpp, p, 3);
    return;
  }
  uint8_t block[48];
  for (int i = 0; i < 48; i += 3) std::memcpy(block + i, p, 3);
  const size_t total = static_cast<size_t>(count) * 3;
  size_t done = 0;
  for (; done + 48 <= total; done += 48) std::memcpy(p + done, block, 48);
  if (done < total) std::memcpy(p + done, block, total - done);
}

void PaintRows(const TacBmpView& bmp, const TRect& r, const TsGradArray& grad, int offsetY) {
  const int h = HeightOf(r);
  const int last = r.bottom - 1;  // R is already limited to the bitmap
  const int width = r.right - r.left;
  int y = r.top + offsetY;
  for (size_t i = 0; i < grad.size(); ++i) {
    const TsGradStop& s = grad[i];
    int y0 = y;
    y = y0 + (h + offsetY) * s.Percent / 100;
    if (i + 1 == grad.size() || y > last) y = last;
    if (y <= y0) continue;
    Ramp ramp(s.Color1, s.Color2, y - y0);
    for (int row = y0; row <= y; ++row, ramp.Next()) {
      if (row < r.top) continue;
      uint8_t* p = bmp.Pixel(r.left, row);
      ramp.Put(p);
      Replicate(p, width, bmp.BytesPerPixel);
    }
  }
}

void PaintColumns(const TacBmpView& bmp, const TRect& r, const TsGradArray& grad) {
  const int w = WidthOf(r);
  const int last = r.right - 1;
  // Every row is the same: paint the first, copy it to the others.
  uint8_t* first = bmp.Row(r.top);
  int x = r.left;
  int painted = r.left - 1;  // last column painted in the first row
  for (size_t i = 0; i < grad.size(); ++i) {
    const TsGradStop& s = grad[i];
    int x0 = x;
    x = RoundHalfEven(x0 + s.Percent * w / 100.0);
    if (i + 1 == grad.size() || x > last) x = last;
    if (x <= x0) continue;
    Ramp ramp(s.Color1, s.Color2, x - x0);
    for (int col = x0; col <= x; ++col, ramp.Next())
      if (col >= r.left) ramp.Put(first + col * bmp.BytesPerPixel);
    painted = MaxOf(painted, x);
  }
  if (painted < r.left) return;
  const size_t bytes = static_cast<size_t>(painted - r.left + 1) * bmp.BytesPerPixel;
  for (int row = r.top + 1; row < r.bottom; ++row)
    std::memcpy(bmp.Pixel(r.left, row), first + r.left * bmp.BytesPerPixel, bytes);
}

void PaintTriangles(const TacBmpView& bmp, const TRect& r, const TsGradArray& grad) {
  HDC dc = bmp.GdiDC();
  if (!dc) return;
  const int w = WidthOf(r), h = HeightOf(r);
  const POINT pos[5] = {{r.left, r.top},
                        {r.left + w / 2, r.top + h / 2},
                        {r.right, r.top},
                        {r.right, r.bottom},
                        {r.left, r.bottom}};
  TRIVERTEX v[5];
  TColor color = grad[0].Color1;
  for (int i = 0; i < 5; ++i) {
    if (static_cast<size_t>(i) < grad.size()) color = grad[i].Color1;
    v[i].x = pos[i].x;
    v[i].y = pos[i].y;
    v[i].Red = static_cast<COLOR16>((color & 0xFF) << 8);
    v[i].Green = static_cast<COLOR16>(((color >> 8) & 0xFF) << 8);
    v[i].Blue = static_cast<COLOR16>(((color >> 16) & 0xFF) << 8);
    v[i].Alpha = 0;
  }
  GRADIENT_TRIANGLE tri[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  ::GdiGradientFill(dc, v, 5, tri, 4, GRADIENT_FILL_TRIANGLE);
  ::GdiFlush();
}

}  // namespace

void PaintGrad(const TacBmpView& bmp, const TRect& rect, const TsGradArray& gradArray,
               int /*unused*/, int offsetY) {
  if (bmp.Empty() || gradArray.empty()) return;
  TRect r = rect;
  r.right = MinOf(r.right, bmp.Width);
  r.bottom = MinOf(r.bottom, bmp.Height);
  r.left = MaxOf(r.left, 0);
  r.top = MaxOf(r.top, 0);
  if (r.left >= r.right || r.top >= r.bottom) return;
  switch (gradArray[0].Mode) {
    case 0: PaintRows(bmp, r, gradArray, offsetY); break;
    case 1: PaintColumns(bmp, r, gradArray); break;
    case 2: PaintTriangles(bmp, r, gradArray); break;
    default: break;
  }
}
