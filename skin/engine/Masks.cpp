// Nine-part painting of border images (DrawMaskRect, PaintMaskWithRgn) and
// the region-cutting piece copy CopyMaskPartRgn.
#include "skin/engine/Masks.h"

#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "skin/engine/MaskWeight.h"
#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinUtils.h"

namespace {

// Cell and margins of one state of a border image drawn into a W x H target.
struct NinePart {
  int cw = 0, ch = 0;            // cell size
  int x0 = 0, y0 = 0;            // the state's cell in the image
  int wl = 0, wt = 0, wr = 0, wb = 0;
  int iw = 0, ih = 0;            // inner piece of the cell
};

// Reduces a pair of margins that do not fit into `size` pixels: both lose
// half the excess, the second one pixel more when the size is odd.
void FitMargins(int& a, int& b, int size) {
  if (size < a + b) {
    int loss = (a + b - size) / 2;
    a = MaxOf(a - loss, 0);
    b = MaxOf(b - loss - (size % 2 != 0 ? 1 : 0), 0);
  }
}

// False when the mask has no usable cell.
bool Layout(const TsMaskData& md, int imageCount, const TRect& maskR, int state, int w, int h,
            NinePart& p) {
  if (imageCount < 1 || md.MaskType < 0) return false;
  p.cw = WidthOf(maskR) / imageCount;
  p.ch = HeightOf(maskR) / (md.MaskType + 1);
  if (p.cw < 1 || p.ch < 1) return false;
  state = MinOf(MaxOf(state, 0), imageCount - 1);
  // Margins wider than the cell are clamped to it, so no piece reaches into
  // the neighbouring state.
  p.wl = MinOf(MaxOf(md.WL, 0), p.cw);
  p.wr = MinOf(MaxOf(md.WR, 0), p.cw);
  p.wt = MinOf(MaxOf(md.WT, 0), p.ch);
  p.wb = MinOf(MaxOf(md.WB, 0), p.ch);
  FitMargins(p.wl, p.wr, w);
  FitMargins(p.wt, p.wb, h);
  p.iw = MaxOf(p.cw - p.wl - p.wr, 0);
  p.ih = MaxOf(p.ch - p.wt - p.wb, 0);
  p.x0 = maskR.left + p.cw * state;
  p.y0 = maskR.top;
  return true;
}

// Covers (l, t, r, b) with copies of the pw x ph piece at (sx, sy): whole
// pieces left to right and top to bottom, the last column and row cut. Only
// the pieces that meet (0, 0, clipW, clipH) are visited, so an area far
// larger than the target costs no more than the target itself.
template <class Copy>
void Tile(int l, int t, int r, int b, int sx, int sy, int pw, int ph, int clipW, int clipH,
          Copy copy) {
  if (pw <= 0 || ph <= 0) return;
  const int y0 = t < 0 ? t + (-t) / ph * ph : t;
  const int x0 = l < 0 ? l + (-l) / pw * pw : l;
  const int yEnd = MinOf(b, clipH), xEnd = MinOf(r, clipW);
  for (int y = y0; y < yEnd; y += ph) {
    int h = MinOf(ph, b - y);
    for (int x = x0; x < xEnd; x += pw) copy(x, y, sx, sy, MinOf(pw, r - x), h);
  }
}

void PlainCopy(const TacBmpView& dst, const TacBmpView& src, TacCopyArea a) {
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height)) return;
  if (dst.BytesPerPixel == 3 && src.BytesPerPixel == 3) {
    for (int row = 0; row < a.H; ++row)
      std::memcpy(dst.Pixel(a.DX, a.DY + row), src.Pixel(a.SX, a.SY + row),
                  static_cast<size_t>(a.W) * 3);
    return;
  }
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    for (int col = 0; col < a.W; ++col, d += dst.BytesPerPixel, s += src.BytesPerPixel)
      std::memcpy(d, s, 3);
  }
}

// Tile() of plain copies. When the area and the piece lie inside their
// bitmaps, the first band of rows is built by doubling the copied pieces
// along the row, and every later row is a copy of the row one piece higher.
void TileCopy(const TacBmpView& dst, const TacBmpView& src, int l, int t, int r, int b, int sx,
              int sy, int pw, int ph) {
  if (pw <= 0 || ph <= 0 || l >= r || t >= b) return;
  const bool inside = l >= 0 && t >= 0 && r <= dst.Width && b <= dst.Height && sx >= 0 &&
                      sy >= 0 && sx + pw <= src.Width && sy + ph <= src.Height &&
                      dst.BytesPerPixel == 3 && src.BytesPerPixel == 3;
  if (!inside) {
    Tile(l, t, r, b, sx, sy, pw, ph, dst.Width, dst.Height,
         [&](int dx, int dy, int px, int py, int w, int h) {
      PlainCopy(dst, src, TacCopyArea{dx, dy, px, py, w, h});
    });
    return;
  }
  const size_t rowBytes = static_cast<size_t>(r - l) * 3;
  const size_t pieceBytes = static_cast<size_t>(MinOf(pw, r - l)) * 3;
  for (int y = t; y < b; ++y) {
    uint8_t* d = dst.Pixel(l, y);
    if (y - t >= ph) {
      std::memcpy(d, dst.Pixel(l, y - ph), rowBytes);
      continue;
    }
    std::memcpy(d, src.Pixel(sx, sy + (y - t)), pieceBytes);
    // Pieces repeat every pw pixels: grow the copied run by doubling it,
    // keeping its length a whole number of pieces.
    size_t done = pieceBytes;
    const size_t period = static_cast<size_t>(pw) * 3;
    if (done < rowBytes) {
      done = period;
      while (done < rowBytes) {
        size_t n = MinOf(static_cast<int>(done), static_cast<int>(rowBytes - done));
        std::memcpy(d + done, d, n);
        done += n;
      }
    }
  }
}

// Tile() of grey-masked pieces without parent pixels (sides and centre of a
// MaskType 1 image). When everything lies inside the bitmaps, the piece's
// image and mask rows are first repeated across the area's width in a
// buffer kept between calls, so each target row is one straight weighting
// pass instead of a call per piece.
void TileWeighted(const TacBmpView& dst, const TacBmpView& src, int l, int t, int r, int b,
                  int sx, int sy, int pw, int ph, int maskOffset, const TsMaskData& md) {
  if (pw <= 0 || ph <= 0 || l >= r || t >= b) return;
  const bool inside = l >= 0 && t >= 0 && r <= dst.Width && b <= dst.Height && sx >= 0 &&
                      sy >= 0 && sx + pw <= src.Width && sy + ph + maskOffset <= src.Height &&
                      dst.BytesPerPixel == 3 && src.BytesPerPixel == 3;
  if (!inside) {
    Tile(l, t, r, b, sx, sy, pw, ph, dst.Width, dst.Height,
         [&](int dx, int dy, int px, int py, int w, int h) {
      CopyByMask(MakeRect(dx, dy, dx + w, dy + h), MakeRect(px, py, px + w, py + h), dst, src,
                 EmptyCacheInfo, false, md);
    });
    return;
  }
  static std::vector<uint8_t> buffer;
  const int rows = MinOf(ph, b - t);
  const size_t rowBytes = static_cast<size_t>(r - l) * 3;
  if (buffer.size() < rowBytes * rows * 2) buffer.resize(rowBytes * rows * 2);
  const size_t period = static_cast<size_t>(pw) * 3;
  auto expand = [&](uint8_t* out, const uint8_t* in) {
    size_t done = MinOf(static_cast<int>(period), static_cast<int>(rowBytes));
    std::memcpy(out, in, done);
    while (done < rowBytes) {
      size_t n = MinOf(static_cast<int>(done), static_cast<int>(rowBytes - done));
      std::memcpy(out + done, out, n);
      done += n;
    }
  };
  for (int k = 0; k < rows; ++k) {
    expand(buffer.data() + rowBytes * (2 * k), src.Pixel(sx, sy + k));
    expand(buffer.data() + rowBytes * (2 * k + 1), src.Pixel(sx, sy + k + maskOffset));
  }
  for (int y = t; y < b; ++y) {
    const int k = (y - t) % ph;
    WeightBytes(dst.Pixel(l, y), buffer.data() + rowBytes * (2 * k),
                buffer.data() + rowBytes * (2 * k + 1), static_cast<int>(rowBytes));
  }
}

// Stretches the sw x sh piece at (sx, sy) over (dx, dy, dw, dh): through GDI
// when both bitmaps have a device context, else by nearest pixels.
void Stretch(const TacBmpView& dst, const TacBmpView& src, int dx, int dy, int dw, int dh,
             int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // The source piece must lie in the image; the target is clipped below.
  if (sx < 0 || sy < 0 || sx + sw > src.Width || sy + sh > src.Height) return;
  HDC ddc = dst.GdiDC(), sdc = src.GdiDC();
  if (ddc && sdc) {
    int old = ::SetStretchBltMode(ddc, COLORONCOLOR);
    ::StretchBlt(ddc, dx, dy, dw, dh, sdc, sx, sy, sw, sh, SRCCOPY);
    ::SetStretchBltMode(ddc, old);
    ::GdiFlush();
    return;
  }
  for (int row = MaxOf(0, -dy); row < dh && dy + row < dst.Height; ++row) {
    const uint8_t* s = src.Row(sy + static_cast<int>(static_cast<long long>(row) * sh / dh));
    uint8_t* d = dst.Row(dy + row);
    for (int col = MaxOf(0, -dx); col < dw && dx + col < dst.Width; ++col) {
      int scol = sx + static_cast<int>(static_cast<long long>(col) * sw / dw);
      std::memcpy(d + (dx + col) * dst.BytesPerPixel, s + scol * src.BytesPerPixel, 3);
    }
  }
}

}  // namespace

void DrawMaskRect(const TacBmpView& dst, const TRect& r, bool drawCenter, const TCacheInfo& ci,
                  const TsMaskData& md, const TacBmpView& master, int state, bool useParentBG) {
  const int w = WidthOf(r), h = HeightOf(r);
  if (w < 2 || h < 2 || dst.Empty()) return;
  const TacBmpView src = MaskImage(md, master);
  if (src.Empty()) return;
  NinePart p;
  if (!Layout(md, md.ImageCount, md.R, state, w, h, p)) return;
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  const int sxR = p.x0 + p.cw - p.wr, syB = p.y0 + p.ch - p.wb;

  if (md.MaskType == 1) {
    auto piece = [&](int dx, int dy, int sx, int sy, int pw, int ph, bool corner) {
      CopyByMask(MakeRect(dx, dy, dx + pw, dy + ph), MakeRect(sx, sy, sx + pw, sy + ph), dst, src,
                 corner ? ci : EmptyCacheInfo, corner, md);
    };
    const int maskOffset = HeightOf(md.R) / 2;
    auto side = [&](int l, int t, int rr, int b, int sx, int sy, int pw, int ph) {
      TileWeighted(dst, src, l, t, rr, b, sx, sy, pw, ph, maskOffset, md);
    };
    piece(L, T, p.x0, p.y0, p.wl, p.wt, true);
    piece(R - p.wr, T, sxR, p.y0, p.wr, p.wt, true);
    piece(L, B - p.wb, p.x0, syB, p.wl, p.wb, true);
    piece(R - p.wr, B - p.wb, sxR, syB, p.wr, p.wb, true);
    side(L, T + p.wt, L + p.wl, B - p.wb, p.x0, p.y0 + p.wt, p.wl, p.ih);
    side(R - p.wr, T + p.wt, R, B - p.wb, sxR, p.y0 + p.wt, p.wr, p.ih);
    side(L + p.wl, T, R - p.wr, T + p.wt, p.x0 + p.wl, p.y0, p.iw, p.wt);
    side(L + p.wl, B - p.wb, R - p.wr, B, p.x0 + p.wl, syB, p.iw, p.wb);
    if (drawCenter)
      side(L + p.wl, T + p.wt, R - p.wr, B - p.wb, p.x0 + p.wl, p.y0 + p.wt, p.iw, p.ih);
    return;
  }

  // MaskType 0: corners keep clFuchsia transparent, sides and centre are
  // copied as they are.
  auto corner = [&](int dx, int dy, int sx, int sy, int pw, int ph) {
    if (pw > 0 && ph > 0)
      CopyTransRect(dst, src, dx, dy, MakeRect(sx, sy, sx + pw - 1, sy + ph - 1), clFuchsia, ci,
                    useParentBG);
  };
  corner(L, T, p.x0, p.y0, p.wl, p.wt);
  corner(R - p.wr, T, sxR, p.y0, p.wr, p.wt);
  corner(L, B - p.wb, p.x0, syB, p.wl, p.wb);
  corner(R - p.wr, B - p.wb, sxR, syB, p.wr, p.wb);

  // Fills (l, t, r, b) from the pw x ph piece at (sx, sy).
  auto fill = [&](int l, int t, int rr, int b, int sx, int sy, int pw, int ph) {
    if (md.StretchMode != 0)
      Stretch(dst, src, l, t, rr - l, b - t, sx, sy, pw, ph);
    else
      TileCopy(dst, src, l, t, rr, b, sx, sy, pw, ph);
  };
  fill(L, T + p.wt, L + p.wl, B - p.wb, p.x0, p.y0 + p.wt, p.wl, p.ih);
  fill(R - p.wr, T + p.wt, R, B - p.wb, sxR, p.y0 + p.wt, p.wr, p.ih);
  fill(L + p.wl, T, R - p.wr, T + p.wt, p.x0 + p.wl, p.y0, p.iw, p.wt);
  fill(L + p.wl, B - p.wb, R - p.wr, B, p.x0 + p.wl, syB, p.iw, p.wb);
  if (drawCenter && md.BorderWidth == 0)
    fill(L + p.wl, T + p.wt, R - p.wr, B - p.wb, p.x0 + p.wl, p.y0 + p.wt, p.iw, p.ih);
}

void PaintMaskWithRgn(const TacBmpView& dst, HRGN rgn, bool drawCenter, const TsMaskData& md,
                      const TacBmpView& master, int state) {
  if (dst.Empty()) return;
  const TacBmpView src = MaskImage(md, master);
  if (src.Empty()) return;
  int imageCount = md.ImageCount;
  TRect maskR = md.R;
  if (imageCount < 1) {
    imageCount = 1;
    if (md.Bmp) maskR = MakeRect(0, 0, md.Bmp->Width(), md.Bmp->Height());
  }
  const int w = dst.Width, h = dst.Height;
  NinePart p;
  if (!Layout(md, imageCount, maskR, state, w, h, p)) return;
  const int sxR = p.x0 + p.cw - p.wr, syB = p.y0 + p.ch - p.wb;
  auto part = [&](int dx, int dy, int sx, int sy, int pw, int ph, bool updateRgn) {
    if (pw > 0 && ph > 0)
      CopyMaskPartRgn(dx, dy, dx + pw - 1, dy + ph - 1, sx, sy, sx + pw - 1, sy + ph - 1, dst,
                      rgn, md, master, updateRgn);
  };
  auto side = [&](int dx, int dy, int sx, int sy, int pw, int ph) {
    part(dx, dy, sx, sy, pw, ph, false);
  };
  part(0, 0, p.x0, p.y0, p.wl, p.wt, true);
  part(w - p.wr, 0, sxR, p.y0, p.wr, p.wt, true);
  part(0, h - p.wb, p.x0, syB, p.wl, p.wb, true);
  part(w - p.wr, h - p.wb, sxR, syB, p.wr, p.wb, true);
  Tile(0, p.wt, p.wl, h - p.wb, p.x0, p.y0 + p.wt, p.wl, p.ih, w, h, side);
  Tile(w - p.wr, p.wt, w, h - p.wb, sxR, p.y0 + p.wt, p.wr, p.ih, w, h, side);
  Tile(p.wl, 0, w - p.wr, p.wt, p.x0 + p.wl, p.y0, p.iw, p.wt, w, h, side);
  Tile(p.wl, h - p.wb, w - p.wr, h, p.x0 + p.wl, syB, p.iw, p.wb, w, h, side);
  if (drawCenter)
    Tile(p.wl, p.wt, w - p.wr, h - p.wb, p.x0 + p.wl, p.y0 + p.wt, p.iw, p.ih, w, h, side);
}

void CopyMaskPartRgn(int dstLeft, int dstTop, int dstRight, int dstBottom, int srcLeft,
                     int srcTop, int srcRight, int srcBottom, const TacBmpView& dst, HRGN rgn,
                     const TsMaskData& md, const TacBmpView& master, bool updateRgn) {
  if (dstLeft < 0 || dstTop < 0 || dstRight < 0 || dstBottom < 0 || srcLeft < 0 || srcTop < 0 ||
      srcRight < 0 || srcBottom < 0)
    return;
  if (dst.Width < 2 || dst.Height < 2) return;
  const TacBmpView src = MaskImage(md, master);
  if (src.Empty()) return;
  const int maskOffset = md.MaskType == 1 ? HeightOf(md.R) / 2 : 0;
  TacCopyArea a{dstLeft, dstTop, srcLeft, srcTop,
                MinOf(dstRight - dstLeft, srcRight - srcLeft) + 1,
                MinOf(dstBottom - dstTop, srcBottom - srcTop) + 1};
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height - maskOffset)) return;

  UniqueRgn run;
  auto cut = [&](int x0, int x1, int y) {  // pixels x0..x1 - 1 of row y
    if (!rgn || x1 <= x0) return;
    if (!run) run.reset(::CreateRectRgn(x0, y, x1, y + 1));
    else ::SetRectRgn(run.get(), x0, y, x1, y + 1);
    ::CombineRgn(rgn, rgn, run.get(), RGN_DIFF);
  };
  const int dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    const uint8_t* m = src.Pixel(a.SX, a.SY + row + maskOffset);
    int runStart = -1;
    for (int col = 0; col < a.W; ++col, d += dbpp, s += sbpp, m += sbpp) {
      if (updateRgn && IsFuchsiaPixel(s)) {
        if (runStart < 0) runStart = col;
        continue;
      }
      if (runStart >= 0) {
        cut(a.DX + runStart, a.DX + col, a.DY + row);
        runStart = -1;
      }
      if (md.MaskType == 1) {
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((d[c] * m[c] + s[c] * (256 - m[c])) >> 8);
      } else {
        std::memcpy(d, s, 3);
      }
    }
    if (runStart >= 0) cut(a.DX + runStart, a.DX + a.W, a.DY + row);
  }
}
