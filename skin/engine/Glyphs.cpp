#include "skin/engine/Glyphs.h"

#include <cstring>
#include <vector>

#include "framework/Controls.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

void DrawSkinGlyph(const TacBmpView& dst, const TPoint& p, int state, int mode,
                   const TsMaskData& md, const TacBmpView& master) {
  if (dst.Empty() || md.ImageCount < 1 || md.MaskType < 0) return;
  const int cw = WidthOf(md.R) / md.ImageCount;
  const int ch = HeightOf(md.R) / (md.MaskType + 1);
  if (cw < 1 || ch < 1) return;
  state = MinOf(MaxOf(state, 0), md.ImageCount - 1);
  int sx = md.R.left + cw * state, sy = md.R.top;
  const int sRight = sx + cw - 1, sBottom = sy + ch - 1;
  int x = p.x, y = p.y;
  // A negative position starts the copy that far into the cell.
  if (x < 0) {
    sx -= x;
    x = 0;
  }
  if (y < 0) {
    sy -= y;
    y = 0;
  }
  if (sx > sRight || sy > sBottom) return;
  const TRect cell = MakeRect(sx, sy, sRight, sBottom);
  const TRect dstRect = MakeRect(x, y, x + sRight - sx, y + sBottom - sy);
  if (md.Bmp) {
    CopyGlyphRect(dstRect, cell, dst, md, mode, clFuchsia, TacBmpView(*md.Bmp));
    return;
  }
  if (master.Empty()) return;
  if (md.MaskType == 0) {
    if (mode == 1)
      CopyTransRect(dst, master, x, y, cell, clFuchsia, EmptyCacheInfo, false);
    else
      BlendTransBmp(dst, x, y, master, cell, 0.5, clFuchsia);
  } else {
    CopyGlyphRect(dstRect, cell, dst, md, mode, clFuchsia, master);
  }
}

void CopyGlyphRect(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                   const TsMaskData& md, int mode, TColor transColor, const TacBmpView& src) {
  if (dst.Empty() || src.Empty()) return;
  if (md.MaskType == 0) {
    CopyTransRectSimple(dst, src, dstRect.left, dstRect.top, srcRect, transColor, EmptyCacheInfo);
    return;
  }
  // The mask lies one cell height below the image rows.
  const int maskOffset = HeightOf(md.R) / 2;
  TacCopyArea a{static_cast<int>(dstRect.left), static_cast<int>(dstRect.top),
                static_cast<int>(srcRect.left), static_cast<int>(srcRect.top),
                MinOf(dstRect.right - dstRect.left, srcRect.right - srcRect.left) + 1,
                MinOf(dstRect.bottom - dstRect.top, srcRect.bottom - srcRect.top) + 1};
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height - maskOffset)) return;
  const bool faint = mode != 1;
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    const uint8_t* m = src.Pixel(a.SX, a.SY + row + maskOffset);
    for (int col = 0; col < a.W;
         ++col, d += dst.BytesPerPixel, s += src.BytesPerPixel, m += src.BytesPerPixel) {
      if (IsFuchsiaPixel(s)) continue;
      for (int c = 0; c < 3; ++c) {
        int k = faint ? MinOf(m[c] + 100, 255) : m[c];
        d[c] = ClampByte(((d[c] - s[c]) * k + s[c] * 256) >> 8);
      }
    }
  }
}

namespace {

// The 24-bit working copy of a button glyph, kept between calls so drawing a
// glyph does not allocate once the buffer has grown to the glyph's size.
TacBmpView WorkingCopy(const TacBmpView& glyph) {
  static std::vector<uint8_t> buffer;
  const ptrdiff_t stride = static_cast<ptrdiff_t>(glyph.Width) * 3;
  const size_t bytes = static_cast<size_t>(stride) * glyph.Height;
  if (buffer.size() < bytes) buffer.resize(bytes);
  TacBmpView work(buffer.data(), glyph.Width, glyph.Height, stride, 3);
  for (int y = 0; y < glyph.Height; ++y) {
    const uint8_t* s = glyph.Row(y);
    uint8_t* d = work.Row(y);
    if (glyph.BytesPerPixel == 3) {
      std::memcpy(d, s, static_cast<size_t>(stride));
    } else {
      for (int x = 0; x < glyph.Width; ++x, s += glyph.BytesPerPixel, d += 3) std::memcpy(d, s, 3);
    }
  }
  return work;
}

}  // namespace

void DrawBtnGlyph(const TacBmpView& glyph, const TacBmpView& dst, const TPoint& p, int numGlyphs,
                  bool enabled, bool grayed, TsDisabledGlyphKind disabledGlyphKind, int state,
                  int blend) {
  if (glyph.Empty() || dst.Empty() || numGlyphs < 1) return;
  const TacBmpView work = WorkingCopy(glyph);
  const TColor trans = PixelToColor(work.Pixel(0, work.Height - 1));
  const TRect whole = MakeRect(0, 0, work.Width - 1, work.Height - 1);
  if (numGlyphs == 1) {
    if (enabled) {
      if (state == 0 && grayed) GrayScaleTrans(work, trans);
      if (state == 0 && blend >= 1)
        BlendTransBmp(dst, p.x, p.y, work, whole, blend / 100.0, trans);
      else
        CopyTransBmp(dst, work, p.x, p.y, trans);
    } else {
      if (disabledGlyphKind & dgGrayed) GrayScaleTrans(work, trans);
      if (disabledGlyphKind & dgBlended)
        BlendTransBmp(dst, p.x, p.y, work, whole, 0.5, trans);
      else
        CopyTransBmp(dst, work, p.x, p.y, trans);
    }
    return;
  }
  const int cw = work.Width / numGlyphs;
  if (cw < 1) return;
  int cell = 0;
  if (!enabled)
    cell = 1;
  else if (state >= 2)
    cell = MinOf(3, numGlyphs - 1);
  const TRect r = MakeRect(cw * cell, 0, cw * cell + cw - 1, work.Height - 1);
  // Only the disabled cell is mixed; enabled cells are always copied.
  if (!enabled && state == 0 && blend >= 1)
    BlendTransBmp(dst, p.x, p.y, work, r, blend / 100.0, trans);
  else
    CopyTransRect(dst, work, p.x, p.y, r, trans, EmptyCacheInfo, true);
}

void ApplyDisabledKind(const TacBmpView& bmp, TsDisabledKind disabledKind, TControl* parent,
                       const TCacheInfo& ci, const TPoint& offset) {
  if (bmp.Empty()) return;
  if (disabledKind & dkGrayed) GrayScale(bmp);
  if (!(disabledKind & dkBlended)) return;
  if (ci.Ready && ci.Bmp) {
    const int x = ci.X + offset.x, y = ci.Y + offset.y;
    BlendTransBmp(bmp, 0, 0, TacBmpView(*ci.Bmp),
                  MakeRect(x, y, x + bmp.Width - 1, y + bmp.Height - 1), 0.4, 0xFF000000u);
    return;
  }
  TColor color = BGFillColor;
  if (color == clFuchsia) {
    // Without a known colour there is nothing to mix with.
    if (!parent) return;
    color = ColorToRGB(parent->Color());
  }
  BlendColorRect(bmp, MakeRect(0, 0, bmp.Width, bmp.Height), 50, color);
}
