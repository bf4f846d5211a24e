#include "skin/controls/GlyphUtils.h"

#include <algorithm>

#include "skin/engine/BmpView.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/FastPixels.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/Regions.h"
#include "skin/engine/SkinUtils.h"

namespace {

// The colour an image list leaves where its images are transparent.
TColor ListTransColor(TImageList* images) {
  const COLORREF bk = ::ImageList_GetBkColor(images->Handle());
  return bk == CLR_NONE ? clFuchsia : static_cast<TColor>(bk);
}

TColor ViewPixel(const TacBmpView& v, int x, int y) { return PixelToColor(v.Pixel(x, y)); }

}  // namespace

TSize GlyphCellSize(TBitmap* glyph, int numGlyphs) {
  if (!glyph || glyph->Empty()) return TSize{0, 0};
  // A glyph said to have no cells is drawn as one.
  return TSize{glyph->Width() / std::max(1, numGlyphs), glyph->Height()};
}

TPoint GlyphPosition(int width, int height, TSize g, TSize t, int s, int margin,
                     TAlignment a, TButtonLayout layout, bool pressed) {
  const int m = margin >= 0 ? margin + 3 : 0;
  const int hx = (width - g.cx - s - t.cx) / 2 - m;
  const int hy = (height - g.cy - s - t.cy) / 2 - m;
  TPoint p{0, (height - g.cy) / 2};
  switch (layout) {
    case blGlyphLeft:
      p.x = a == taLeftJustify ? m : a == taRightJustify ? m + 2 * hx : m + hx;
      break;
    case blGlyphRight:
      p.x = a == taLeftJustify    ? width - m - 2 * hx - s - g.cx
            : a == taRightJustify ? width - g.cx - m
                                  : (width - g.cx + s + t.cx) / 2;
      break;
    case blGlyphTop:
      p = TPoint{(width - g.cx) / 2 + 1, m + hy};
      break;
    case blGlyphBottom:
      p = TPoint{(width - g.cx) / 2 + 1, height - m - hy - g.cy};
      break;
  }
  if (pressed) {
    ++p.x;
    ++p.y;
  }
  return p;
}

void PaintButtonGlyph(TBitmap* glyph, int numGlyphs, TBitmap* cache, TPoint p, bool enabled,
                      bool grayed, TsDisabledGlyphKind kind, int state, int blend) {
  if (!glyph || glyph->Empty() || !cache) return;
  if (glyph->PixelFormat() != pf24bit && glyph->PixelFormat() != pf32bit)
    glyph->SetPixelFormat(pf24bit);
  DrawBtnGlyph(TacBmpView(*glyph), TacBmpView(*cache), p, std::max(1, numGlyphs), enabled, grayed,
               kind, state, blend);
}

int SafeImageCount(TImageList* images) { return images ? images->Count() : 0; }

TSize ImageListGlyphSize(TImageList* images, int imageIndex) {
  if (!images || imageIndex < 0) return TSize{0, 0};
  return TSize{images->Width(), images->Height()};
}

void MakeImageListGlyph(TControl* owner, TsCommonData* skinData, int imageIndex, int& numGlyphs,
                        TsDisabledGlyphKind kind, TBitmap* glyph, TImageList* images) {
  if (!glyph || (owner->HasState(csLoading) && owner->HasState(csDesigning))) return;
  if (skinData && skinData->Skinned(false)) return;
  if (imageIndex < 0 || imageIndex >= SafeImageCount(images)) return;
  ImageListToBmp(*glyph, images->Handle(), imageIndex);
  const int w = glyph->Width(), h = glyph->Height();
  if (w <= 0 || h <= 0) return;
  const TColor t = ListTransColor(images);
  TBitmap normal(w, h, pf24bit);
  ::BitBlt(normal.Canvas()->Handle(), 0, 0, w, h, glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
  glyph->Canvas()->Brush()->SetColor(clBtnFace);
  glyph->SetSize(2 * w, h);  // the new right half is the disabled cell
  glyph->Canvas()->FillRect(TRect{w, 0, 2 * w, h});
  const TacBmpView cell(normal), whole(*glyph);
  if (kind != 0) {
    if (kind & dgGrayed) GrayScaleTrans(cell, t);
    if (kind & dgBlended) {
      BlendTransBmp(whole, w, 0, cell, MakeRect(0, 0, w - 1, h - 1), 0.5, t);
    } else {
      CopyTransBmp(whole, cell, w, 0, t);
      ColorToPixel(clFuchsia, whole.Pixel(w, h - 1));
    }
    glyph->SetTransparentColor(t);
    glyph->SetTransparent(true);
  } else {
    ::BitBlt(glyph->Canvas()->Handle(), w, 0, w, h, normal.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  numGlyphs = 2;
}

void PaintImageListGlyph(TImageList* images, int imageIndex, TBitmap* cache, TPoint p,
                         bool enabled, bool active, bool grayed, TsDisabledGlyphKind kind,
                         int blend, bool keyBottomLeft) {
  if (!cache || imageIndex < 0 || imageIndex >= SafeImageCount(images)) return;
  TBitmap image;
  ImageListToBmp(image, images->Handle(), imageIndex);
  if (image.Empty()) return;
  const TColor t = ListTransColor(images);
  const TacBmpView src(image), dst(*cache);
  const TRect whole = MakeRect(0, 0, src.Width - 1, src.Height - 1);
  const TColor key = ViewPixel(src, 0, keyBottomLeft ? src.Height - 1 : 0);
  if (!enabled) {
    if (kind & dgGrayed) GrayScaleTrans(src, key);
    if (kind & dgBlended) BlendTransBmp(dst, p.x, p.y, src, whole, 0.5, t);
    else CopyTransBmp(dst, src, p.x, p.y, t);
    return;
  }
  if (!active && grayed) GrayScaleTrans(src, key);
  if (!active && blend > 0) BlendTransBmp(dst, p.x, p.y, src, whole, blend / 100.0, t);
  else CopyTransBmp(dst, src, p.x, p.y, t);
}

TSize ButtonGlyphSize(const TacButtonGlyph& g) {
  return g.Glyph && !g.Glyph->Empty() ? GlyphCellSize(g.Glyph, g.NumGlyphs)
                                      : ImageListGlyphSize(g.Images, g.ImageIndex);
}

void PaintButtonOrListGlyph(const TacButtonGlyph& g, TBitmap* cache, TPoint p, bool enabled,
                            bool active, bool grayed, TsDisabledGlyphKind kind, int state,
                            int blend, bool keyBottomLeft) {
  if (g.Glyph && !g.Glyph->Empty())
    PaintButtonGlyph(g.Glyph, g.NumGlyphs, cache, p, enabled, grayed, kind, state, blend);
  else
    PaintImageListGlyph(g.Images, g.ImageIndex, cache, p, enabled, active, grayed, kind, blend,
                        keyBottomLeft);
}

bool ReferImages(TComponent* owner, TImageList*& field, TImageList* value) {
  if (value == field) return false;
  if (field) field->RemoveFreeNotification(owner);
  field = value;
  if (value) value->FreeNotification(owner);
  return true;
}
