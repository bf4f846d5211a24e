// The copy family of Masks.h: one piece of a skin image into a bitmap.
#include <cstring>

#include "skin/engine/MaskWeight.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinUtils.h"

TacBmpView MaskImage(const TsMaskData& maskData, const TacBmpView& master) {
  if (maskData.Bmp) return TacBmpView(*maskData.Bmp);
  return master;
}

namespace {

// What a masked copy does with a clFuchsia image pixel.
enum class FuchsiaRule {
  Weight,     // mask-weighted like any other pixel
  Parent,     // the parent pixel under it, or unchanged outside the parent
  Fill,       // written as a fixed colour
  Unchanged,  // the destination keeps its pixel
};

struct ParentImage {
  TacBmpView view;
  int x = 0, y = 0;  // offset of the destination inside the parent
  bool Has(int dx, int dy) const { return view.Contains(x + dx, y + dy); }
  const uint8_t* At(int dx, int dy) const { return view.Pixel(x + dx, y + dy); }
};

// Mask-weighted copy of an area whose mask lies maskOffset rows below the
// image rows of Src. The area is clipped so that image, mask and target rows
// all exist.
void MaskedCopy(const TacBmpView& dst, const TacBmpView& src, TacCopyArea a, int maskOffset,
                FuchsiaRule rule, TColor fill, const ParentImage& parent) {
  if (dst.Empty() || src.Empty() || maskOffset < 0) return;
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height - maskOffset)) return;
  uint8_t fillPx[3];
  ColorToPixel(fill, fillPx);
  const int dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
  if (rule == FuchsiaRule::Weight && dbpp == 3 && sbpp == 3) {
    // Every byte weighted alike: one straight loop per row.
    const int bytes = a.W * 3;
    for (int row = 0; row < a.H; ++row) {
      uint8_t* d = dst.Pixel(a.DX, a.DY + row);
      const uint8_t* s = src.Pixel(a.SX, a.SY + row);
      const uint8_t* m = src.Pixel(a.SX, a.SY + row + maskOffset);
      WeightBytes(d, s, m, bytes);
    }
    return;
  }
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    const uint8_t* m = src.Pixel(a.SX, a.SY + row + maskOffset);
    for (int col = 0; col < a.W; ++col, d += dbpp, s += sbpp, m += sbpp) {
      if (rule != FuchsiaRule::Weight && IsFuchsiaPixel(s)) {
        switch (rule) {
          case FuchsiaRule::Parent: {
            int px = a.DX + col, py = a.DY + row;
            if (parent.Has(px, py)) std::memcpy(d, parent.At(px, py), 3);
            break;
          }
          case FuchsiaRule::Fill: std::memcpy(d, fillPx, 3); break;
          default: break;
        }
        continue;
      }
      // ((D - S) * M + S * 256) shr 8, never outside 0..255.
      d[0] = static_cast<uint8_t>((d[0] * m[0] + s[0] * (256 - m[0])) >> 8);
      d[1] = static_cast<uint8_t>((d[1] * m[1] + s[1] * (256 - m[1])) >> 8);
      d[2] = static_cast<uint8_t>((d[2] * m[2] + s[2] * (256 - m[2])) >> 8);
    }
  }
}

TacCopyArea AreaOf(const TRect& dstRect, const TRect& srcRect) {
  return TacCopyArea{static_cast<int>(dstRect.left), static_cast<int>(dstRect.top),
                     static_cast<int>(srcRect.left), static_cast<int>(srcRect.top),
                     MinOf(WidthOf(dstRect), WidthOf(srcRect)),
                     MinOf(HeightOf(dstRect), HeightOf(srcRect))};
}

ParentImage ParentOf(const TCacheInfo& ci) {
  ParentImage p;
  if (ci.Ready && ci.Bmp) p.view = TacBmpView(*ci.Bmp);
  if (p.view.BytesPerPixel != 3) p.view = TacBmpView();
  p.x = ci.X;
  p.y = ci.Y;
  return p;
}

// Copies an area pixel by pixel; TransColor pixels take the parent pixel
// (when `parent` has one there) or are skipped.
void TransCopy(const TacBmpView& dst, const TacBmpView& src, TacCopyArea a, TColor transColor,
               const ParentImage* parent) {
  if (dst.Empty() || src.Empty()) return;
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height)) return;
  const int dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    for (int col = 0; col < a.W; ++col, d += dbpp, s += sbpp) {
      if (PixelToColor(s) != transColor) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      } else if (parent) {
        int px = a.DX + col, py = a.DY + row;
        if (parent->Has(px, py)) std::memcpy(d, parent->At(px, py), 3);
      }
    }
  }
}

// SrcRect with inclusive Right and Bottom, limited to Src, as an area at (X, Y).
TacCopyArea InclusiveArea(const TacBmpView& src, int x, int y, const TRect& srcRect) {
  int right = MinOf(srcRect.right, src.Width - 1);
  int bottom = MinOf(srcRect.bottom, src.Height - 1);
  return TacCopyArea{x, y, static_cast<int>(srcRect.left), static_cast<int>(srcRect.top),
                     right - static_cast<int>(srcRect.left) + 1,
                     bottom - static_cast<int>(srcRect.top) + 1};
}

}  // namespace

void CopyByMask(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                const TacBmpView& src, const TCacheInfo& ci, bool useCI,
                const TsMaskData& maskData) {
  FuchsiaRule rule = FuchsiaRule::Weight;
  TColor fill = clFuchsia;
  ParentImage parent;
  if (useCI && ci.Ready) {
    parent = ParentOf(ci);
    // Without a readable parent image nothing is copied at all.
    if (parent.view.Width < 2 || parent.view.Height < 2) return;
    rule = FuchsiaRule::Parent;
  } else if (useCI) {
    rule = FuchsiaRule::Fill;
    fill = MaskFillColor;  // clFuchsia itself when not set
  }
  MaskedCopy(dst, src, AreaOf(dstRect, srcRect), HeightOf(maskData.R) / 2, rule, fill, parent);
}

void CopyMasterRect(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                    const TCacheInfo& ci, const TsMaskData& maskData, const TacBmpView& master) {
  FuchsiaRule rule = FuchsiaRule::Unchanged;
  ParentImage parent;
  if (MaskFillColor != clFuchsia) {
    rule = FuchsiaRule::Fill;
  } else if (ci.Ready) {
    rule = FuchsiaRule::Parent;
    parent = ParentOf(ci);
  }
  MaskedCopy(dst, master, AreaOf(dstRect, srcRect), HeightOf(maskData.R) / 2, rule,
             MaskFillColor, parent);
}

void CopyByHalfMask(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                    const TacBmpView& src, const TCacheInfo& ci, bool useCI) {
  if (src.Empty()) return;
  FuchsiaRule rule = FuchsiaRule::Weight;
  ParentImage parent;
  if (ci.Ready) {
    rule = useCI ? FuchsiaRule::Parent : FuchsiaRule::Unchanged;
    if (useCI) parent = ParentOf(ci);
  }
  MaskedCopy(dst, src, AreaOf(dstRect, srcRect), src.Height / 2, rule, clFuchsia, parent);
}

void CopyTransRect(const TacBmpView& dst, const TacBmpView& src, int x, int y,
                   const TRect& srcRect, TColor transColor, const TCacheInfo& ci, bool useCI) {
  ParentImage parent;
  if (useCI && ci.Ready) parent = ParentOf(ci);
  TransCopy(dst, src, InclusiveArea(src, x, y, srcRect), transColor,
            parent.view.Empty() ? nullptr : &parent);
}

void CopyTransRectSimple(const TacBmpView& dst, const TacBmpView& src, int x, int y,
                         const TRect& srcRect, TColor transColor, const TCacheInfo& /*ci*/) {
  TransCopy(dst, src, InclusiveArea(src, x, y, srcRect), transColor, nullptr);
}

void CopyTransBmp(const TacBmpView& dst, const TacBmpView& src, int x, int y, TColor transColor) {
  TransCopy(dst, src, TacCopyArea{x, y, 0, 0, src.Width, src.Height}, transColor, nullptr);
}
