// Texture painters: a skin texture tiled or stretched over a rectangle by
// its draw mode, masked textures, and pictures tiled through a canvas.
#include <cstring>

#include "framework/Handles.h"
#include "framework/Jpeg.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinUtils.h"

namespace {

constexpr TRect kNothingLeft{-1, -1, -1, -1};

void Copy(const TacBmpView& dst, const TacBmpView& src, TacCopyArea a) {
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height)) return;
  const int dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    if (dbpp == sbpp) {
      std::memcpy(d, s, static_cast<size_t>(a.W) * dbpp);
      continue;
    }
    for (int col = 0; col < a.W; ++col, d += dbpp, s += sbpp) std::memcpy(d, s, 3);
  }
}

// Whole cells from the area's top-left corner, the last column and row cut
// at the area's edges.
void TileCells(const TacBmpView& dst, const TRect& area, const TacBmpView& src, const TRect& cell) {
  const int cw = WidthOf(cell), ch = HeightOf(cell);
  if (cw <= 0 || ch <= 0) return;
  const TRect clip = ClipRectTo(area, dst.Width, dst.Height);
  if (clip.left >= clip.right || clip.top >= clip.bottom) return;
  for (int y = area.top; y < area.bottom; y += ch) {
    if (y + ch <= clip.top) continue;
    if (y >= clip.bottom) break;
    for (int x = area.left; x < area.right; x += cw) {
      if (x + cw <= clip.left) continue;
      if (x >= clip.right) break;
      Copy(dst, src,
           TacCopyArea{x, y, cell.left, cell.top, MinOf(cw, area.right - x),
                       MinOf(ch, area.bottom - y)});
    }
  }
}

void StretchCell(TBitmap* dst, const TRect& area, TBitmap* master, const TRect& cell) {
  if (WidthOf(area) <= 0 || HeightOf(area) <= 0) return;
  HDC ddc = dst->Canvas()->Handle();
  HDC sdc = master->Canvas()->Handle();
  int old = ::SetStretchBltMode(ddc, COLORONCOLOR);
  ::StretchBlt(ddc, area.left, area.top, WidthOf(area), HeightOf(area), sdc, cell.left, cell.top,
               WidthOf(cell), HeightOf(cell), SRCCOPY);
  ::SetStretchBltMode(ddc, old);
  ::GdiFlush();
}

TRect Rest(const TRect& r) {
  return r.left < r.right && r.top < r.bottom ? r : kNothingLeft;
}

}  // namespace

void PaintTexture(TBitmap* dst, TRect& r, TGraphic* graphic, const TsMaskData& md, int drawMode) {
  if (!dst) return;
  if (graphic && !graphic->Empty()) {
    TileGraphic(dst->Canvas(), r, graphic);
    r = kNothingLeft;
    return;
  }
  if (!md.Manager || !md.Manager->MasterBitmap) return;
  TBitmap* master = md.Manager->MasterBitmap.get();
  const TacBmpView src(*master), view(*dst);
  if (src.Empty() || view.Empty()) return;
  // The cell must lie inside the master bitmap.
  const TRect cell = ClipRectTo(md.R, src.Width, src.Height);
  const int cw = WidthOf(cell), ch = HeightOf(cell);
  if (cw <= 0 || ch <= 0) return;
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  switch (drawMode) {
    case 1:
      StretchCell(dst, r, master, cell);
      r = kNothingLeft;
      break;
    case 4:
      StretchCell(dst, MakeRect(L, T, R, MinOf(T + ch, B)), master, cell);
      r = Rest(MakeRect(L, T + ch, R, B));
      break;
    case 5:
      StretchCell(dst, MakeRect(L, T, MinOf(L + cw, R), B), master, cell);
      r = Rest(MakeRect(L + cw, T, R, B));
      break;
    case 0:
    case 10:
      TileCells(view, r, src, cell);
      r = kNothingLeft;
      break;
    case 2:
      TileCells(view, MakeRect(L, T, R, MinOf(T + ch, B)), src, cell);
      r = Rest(MakeRect(L, T + ch, R, B));
      break;
    case 3:
      TileCells(view, MakeRect(L, T, MinOf(L + cw, R), B), src, cell);
      r = Rest(MakeRect(L + cw, T, R, B));
      break;
    case 6:
      TileCells(view, MakeRect(L, MaxOf(B - ch, T), R, B), src, cell);
      r = Rest(MakeRect(L, T, R, B - ch));
      break;
    case 7:
      TileCells(view, MakeRect(MaxOf(R - cw, L), T, R, B), src, cell);
      r = Rest(MakeRect(L, T, R - cw, B));
      break;
    default:
      TileCells(view, r, src, cell);
      break;
  }
}

void TileMaskedTexture(TBitmap* dst, TRect& r, const TCacheInfo& ci, const TsMaskData& md,
                       int drawMode) {
  if (!dst || !md.Manager) return;
  const TacBmpView view(*dst);
  const TacBmpView master(md.Manager->MasterBitmap.get());
  const int cw = md.ImageCount > 0 ? WidthOf(md.R) / md.ImageCount : 0;
  const int ch = HeightOf(md.R) / 2;
  const TRect area = r;
  r = kNothingLeft;
  if (view.Empty() || master.Empty() || cw <= 0 || ch <= 0) return;
  auto cellAt = [&](int x, int y, int w, int h) {
    CopyMasterRect(MakeRect(x, y, x + w, y + h),
                   MakeRect(md.R.left, md.R.top, md.R.left + w, md.R.top + h), view, ci, md,
                   master);
  };
  const TRect clip = ClipRectTo(area, view.Width, view.Height);
  if (drawMode == 0) {
    for (int y = area.top; y < clip.bottom; y += ch)
      for (int x = area.left; x < clip.right; x += cw)
        if (y + ch > clip.top && x + cw > clip.left)
          cellAt(x, y, MinOf(cw, area.right - x), MinOf(ch, area.bottom - y));
    return;
  }
  if (drawMode != 10) return;
  const int nx = WidthOf(area) / cw, ny = HeightOf(area) / ch;
  const int xEnd = area.left + nx * cw, yEnd = area.top + ny * ch;
  for (int y = area.top; y < MinOf(yEnd, clip.bottom); y += ch)
    for (int x = area.left; x < MinOf(xEnd, clip.right); x += cw)
      if (y + ch > clip.top && x + cw > clip.left) cellAt(x, y, cw, ch);
  // The strips whole cells do not cover show the parent.
  auto parentUnder = [&](const TRect& strip) {
    if (strip.left >= strip.right || strip.top >= strip.bottom) return;
    if (ci.Ready && ci.Bmp) {
      const TacBmpView parent(*ci.Bmp);
      TacCopyArea a{strip.left, strip.top, ci.X + strip.left, ci.Y + strip.top, WidthOf(strip),
                    HeightOf(strip)};
      Copy(view, parent, a);
    } else if (MaskFillColor != clFuchsia) {
      FillBmpRect(view, strip, MaskFillColor);
    }
  };
  parentUnder(MakeRect(xEnd, area.top, area.right, area.bottom));
  parentUnder(MakeRect(area.left, yEnd, xEnd, area.bottom));
}

void TileGraphic(TCanvas* canvas, const TRect& r, TGraphic* graphic) {
  if (!canvas || !graphic || graphic->Empty()) return;
  const int pw = graphic->Width(), ph = graphic->Height();
  if (pw <= 0 || ph <= 0 || r.left >= r.right || r.top >= r.bottom) return;
  HDC dc = canvas->Handle();
  if (auto* bmp = dynamic_cast<TBitmap*>(graphic)) {
    HDC src = bmp->Canvas()->Handle();
    for (int y = r.top; y < r.bottom; y += ph)
      for (int x = r.left; x < r.right; x += pw)
        ::BitBlt(dc, x, y, MinOf(pw, r.right - x), MinOf(ph, r.bottom - y), src, 0, 0, SRCCOPY);
    ::GdiFlush();
    return;
  }
  SaveDCScope state(dc);
  ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  const int cols = WidthOf(r) / pw + 1, rows = HeightOf(r) / ph + 1;
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < cols; ++i) {
      const int x = r.left + i * pw, y = r.top + j * ph;
      graphic->Draw(canvas, MakeRect(x, y, x + pw, y + ph));
    }
  ::GdiFlush();
}
