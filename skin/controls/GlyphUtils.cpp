#include "skin/controls/GlyphUtils.h"

#include <algorithm>

#include "skin/engine/BmpView.h"
#include "skin/engine/Glyphs.h"

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
