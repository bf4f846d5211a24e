#include "skin/controls/BitBtn.h"

#include <algorithm>

#include "skin/engine/ControlUtils.h"
#include "skin/controls/GlyphUtils.h"
#include "skin/engine/SkinText.h"

TacButtonLayout CalcButtonLayout(const TRect& client, TSize g, TSize t, UINT rtlFlags,
                                 int s, int m, TAlignment alignment, TButtonLayout layout) {
  if (rtlFlags & DT_RIGHT) {
    if (layout == blGlyphLeft) layout = blGlyphRight;
    else if (layout == blGlyphRight) layout = blGlyphLeft;
  }
  const TSize c{client.right - client.left, client.bottom - client.top};
  TPoint gp{0, 0}, tp{0, 0};
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  if (horizontal) {
    gp.y = (c.cy - g.cy + 1) / 2;
    tp.y = (c.cy - t.cy + 1) / 2;
  } else {
    gp.x = (c.cx - g.cx + 1) / 2;
    tp.x = (c.cx - t.cx + 1) / 2;
  }
  if (t.cx == 0 || g.cx == 0) s = 0;
  const int cAxis = horizontal ? c.cx : c.cy;
  const int gAxis = horizontal ? g.cx : g.cy;
  const int tAxis = horizontal ? t.cx : t.cy;
  if (m == -1) {
    if (s >= 0) {
      m = alignment == taCenter ? (cAxis - (gAxis + s + tAxis) + 1) / 2 : 2;
    } else {
      m = (cAxis - (gAxis + tAxis)) / 3;
      s = m;
    }
  } else if (s == -1) {
    s = (cAxis - (m + gAxis) - tAxis) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      if (alignment == taLeftJustify) {
        gp.x = m;
        tp.x = m + g.cx + s;
      } else if (alignment == taRightJustify) {
        tp.x = c.cx - m - t.cx;
        gp.x = tp.x - s - g.cx;
      } else {
        gp.x = (c.cx - t.cx - s - g.cx) / 2;
        tp.x = gp.x + g.cx + s;
      }
      break;
    case blGlyphRight:
      if (alignment == taLeftJustify) {
        tp.x = m;
        gp.x = m + t.cx + s;
      } else if (alignment == taRightJustify) {
        gp.x = c.cx - m - g.cx;
        tp.x = gp.x - s - t.cx;
      } else {
        tp.x = (c.cx - t.cx - s - g.cx) / 2;
        gp.x = tp.x + t.cx + s;
      }
      break;
    case blGlyphTop: {
      const int d = (c.cy - g.cy - s - t.cy) / 2 - m;
      gp.y = m + d;
      tp.y = gp.y + g.cy + s;
      break;
    }
    case blGlyphBottom: {
      const int d = (c.cy - g.cy - s - t.cy) / 2 - m;
      gp.y = c.cy - m - g.cy - d;
      tp.y = gp.y - s - t.cy;
      break;
    }
  }
  gp.x += client.left;
  gp.y += client.top;
  tp.x += client.left;
  tp.y += client.top;
  return TacButtonLayout{TRect{tp.x, tp.y, tp.x + t.cx, tp.y + t.cy}, gp};
}

TsBitBtn::TsBitBtn(TComponent* AOwner) : TsPushButton(AOwner, ckBitBtn) {}

void TsBitBtn::Loaded() {
  TsPushButton::Loaded();
  defaultActive_ = Default();
}

template <class T>
void TsBitBtn::Store(T& field, T value) {
  if (field == value) return;
  field = value;
  SkinData->Invalidate();
}

void TsBitBtn::SetDisabledGlyphKind(TsDisabledGlyphKind v) {
  if (v == disabledGlyphKind_) return;
  disabledGlyphKind_ = v;
  if (!SkinData->Skinned(false) && SafeImageCount(images_) > 0) MakeListGlyph();
  SkinData->Invalidate();
}

void TsBitBtn::SetImages(TImageList* v) {
  if (!ReferImages(this, images_, v)) return;
  if (images_) MakeListGlyph();
  SkinData->Invalidate();
}

void TsBitBtn::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  if (images_) MakeListGlyph();
  SkinData->Invalidate();
}

void TsBitBtn::MakeListGlyph() {
  MakeImageListGlyph(this, SkinData.get(), imageIndex_, NumGlyphs, disabledGlyphKind_, Glyph(),
                     images_);
}

void TsBitBtn::Notification(TComponent* component, TOperation operation) {
  TsPushButton::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) {
    images_ = nullptr;
    if (!Destroying()) SkinData->Invalidate();
  }
}

// While skinned the list is drawn directly; the unskinned look carries the
// list's image as a glyph of its own.
void TsBitBtn::SkinApplied() {
  if (SafeImageCount(images_) > 0) Glyph()->SetSize(0, 0);
}

void TsBitBtn::SkinRemoved() {
  if (SafeImageCount(images_) > 0) MakeListGlyph();
}
void TsBitBtn::SetGrayed(bool v) { Store(grayed_, v); }
void TsBitBtn::SetBlend(int v) { Store(blend_, std::clamp(v, 0, 100)); }
void TsBitBtn::SetTextOffset(int v) { Store(textOffset_, v); }
void TsBitBtn::SetShowCaption(bool v) { Store(showCaption_, v); }
void TsBitBtn::SetShowFocus(bool v) { Store(showFocus_, v); }
void TsBitBtn::SetAlignment(TAlignment v) { Store(alignment_, v); }
void TsBitBtn::SetTextAlignment(TAlignment v) { Store(textAlignment_, v); }
void TsBitBtn::SetDrawOverBorder(bool v) { Store(drawOverBorder_, v); }

TacButtonGlyph TsBitBtn::ShownGlyph() const {
  return TacButtonGlyph{Glyph(), NumGlyphs, images_, imageIndex_};
}
int TsBitBtn::GlyphWidth() const { return ButtonGlyphSize(ShownGlyph()).cx; }
int TsBitBtn::GlyphHeight() const { return ButtonGlyphSize(ShownGlyph()).cy; }

TSize TsBitBtn::TextRectSize() {
  if (!showCaption_ || Caption().empty()) return TSize{0, 0};
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  const int gw = GlyphWidth();
  TRect r{0, 0, Width() - 2 * Margin - (gw > 0 ? gw + Spacing : 0), 0};
  const UINT flags = TextAlignFlags(this, textAlignment_) | DT_CALCRECT | DT_EXPANDTABS |
                     (WordWrap() ? DT_WORDBREAK : 0);
  c->TextRect(r, Caption(), flags);
  return TSize{r.right - r.left, r.bottom - r.top};
}

TRect TsBitBtn::CaptionRect() {
  return CalcButtonLayout(ClientRect(), TSize{GlyphWidth(), GlyphHeight()}, TextRectSize(), 0,
                          Spacing, Margin, alignment_, Layout)
      .Text;
}

TRect TsBitBtn::CalcLayout() {
  const TSize g{GlyphWidth(), GlyphHeight()};
  const int s = showCaption_ && g.cx > 0 && !Caption().empty() ? Spacing : 0;
  const TPoint p = GlyphPosition(Width(), Height(), g, TextRectSize(), s, Margin, alignment_,
                                 Layout, CurrentState() == 2);
  return TRect{p.x, p.y, p.x + g.cx, p.y + g.cy};
}

void TsBitBtn::PaintContent(int state) {
  if (drawOverBorder_) PaintBorder(state);
  if (showCaption_) PaintCaption(state);
  PaintGlyph(state);
  if (!drawOverBorder_) PaintBorder(state);
}

void TsBitBtn::CachePainted() {
  if (OnPaint) OnPaint(this, SkinData->CacheBmp.get());
}

void TsBitBtn::PaintCaption(int state) {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect r = CaptionRect();
  if (state == 2) ::OffsetRect(&r, 1, 1);
  const UINT flags =
      TextAlignFlags(this, textAlignment_) | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0);
  DrawSkinText(c, Caption(), true, r, flags, SkinData.get(), HotText());
  if (showFocus_) PaintFocus(r);
}

void TsBitBtn::PaintGlyph(int state) {
  const TRect r = CalcLayout();
  PaintButtonOrListGlyph(ShownGlyph(), SkinData->CacheBmp.get(), TPoint{r.left, r.top}, Enabled(),
                         SkinData->ControlIsActive(), grayed_, disabledGlyphKind_, state, blend_,
                         false);
}
