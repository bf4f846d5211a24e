#include "skin/controls/GroupBox.h"

#include <algorithm>

#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"

namespace {
const wchar_t* const kPlateSection = L"CHECKBOX";
}

TsGroupBox::TsGroupBox(TComponent* AOwner) : TsSkinnedControl(AOwner, ckGroupBox) {
  // The strip above the frame shows the parent, so the box is not opaque.
  SetControlStyle(ControlStyle() & ~csOpaque);
  SkinData->RebuildCache = [this] { PrepareCache(); };
}

void TsGroupBox::SetCaptionLayout(TsCaptionLayout value) {
  if (captionLayout_ == value) return;
  captionLayout_ = value;
  if (!Caption().empty()) SkinData->Invalidate();
}

void TsGroupBox::SetCaptionYOffset(int value) {
  if (captionYOffset_ == value) return;
  captionYOffset_ = value;
  Realign();
  SkinData->Invalidate();
}

void TsGroupBox::SetCaptionSkin(const std::wstring& value) {
  if (captionSkin_ == value) return;
  captionSkin_ = value;
  SkinData->Invalidate();
}

void TsGroupBox::AdjustClientRect(RECT& rect) const {
  TGroupBox::AdjustClientRect(rect);
  if (!HasState(csDestroying)) rect.top += captionYOffset_;
}

int TsGroupBox::CaptionHeight() {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  return std::max(4, c->TextHeight(L"W")) + 2;
}

TRect TsGroupBox::CaptionRect() {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  const int tw = c->TextWidth(Caption());
  TRect r{0, 0, 0, CaptionHeight()};
  if (IsSkinned()) {
    r.bottom += captionYOffset_;
    if (captionYOffset_ < 0) r.top += captionYOffset_;
  }
  switch (captionLayout_) {
    case clTopLeft: r.left = 6; break;
    case clTopCenter: r.left = (Width() - tw - 10) / 2; break;
    case clTopRight: r.left = Width() - tw - 14; break;
  }
  r.left = std::max<LONG>(0, r.left);
  r.right = std::min<LONG>(r.left + tw + 8, Width());
  if (WidthOf(r) < 2 * bevelWidth_) {
    // Kept inside the box: a plate reaching past its edge is not painted.
    r.left = std::max<LONG>(0, r.left - bevelWidth_);
    r.right = std::min<LONG>(r.right + bevelWidth_, Width());
  }
  return r;
}

void TsGroupBox::SetBevelWidth(int value) {
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  SkinData->Invalidate();
}

void TsGroupBox::Paint() {
  if (SkinData && SkinData->Skinned(true)) {
    SkinPaint(Canvas()->Handle());
    return;
  }
  TGroupBox::Paint();
}

void TsGroupBox::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (!ControlIsReady(this) || !IsSkinned()) {
    TGroupBox::WndProc(m);
    if (m.Msg == CM_FONTCHANGED) FontChanged();
    return;
  }
  switch (m.Msg) {
    case SM_ALPHACMD:
      SkinnedAlphaCmd(m);
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TGroupBox::WndProc(m);
      return;
    case CM_TEXTCHANGED:
      SkinData->Invalidate();
      return;
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
      SkinData->BGChanged = true;
      break;
    case WM_MOVE:
      SkinData->BGChanged = SkinData->BGChanged || SkinData->DependsOnParentBg();
      break;
    case WM_PRINT:
      SkinData->Updating = false;
      SkinPaint(reinterpret_cast<HDC>(m.WParam));
      break;
  }
  SkinnedMessage(m);
}

// The commands every control answers, skinned or not; the children hear
// a new skin before the box re-reads its own indexes.
TacSkinChangeRule TsGroupBox::SkinChangeRule(WORD cmd) const {
  if (cmd == AC_SETNEWSKIN) return {TacChildPass::First, true};
  return {TacChildPass::AfterCommon, true};
}

void TsGroupBox::AfterSkinChange(TMessage& m) {
  if (SkinCmdOf(m) != AC_SETNEWSKIN) Repaint();
}

void TsGroupBox::SkinnedAlphaCmd(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_ENDPARENTUPDATE:
      SkinData->Updating = false;
      if (Visible() || HasState(csDesigning)) Repaint();
      return;
    case AC_SETBGDEPENDENT:
      CommonWndProc(m, SkinData.get());
      if (SkinData->BGDependent) PrepareCache();
      return;
    case AC_ISUPDATING:
      m.LParam = (SkinData->BGChanged || SkinData->GetUpdating()) ? 1 : 0;
      m.Result = m.LParam;
      return;
  }
  SkinnedMessage(m);
}

void TsGroupBox::SkinnedMessage(TMessage& m) {
  CommonWndProc(m, SkinData.get());
  TGroupBox::WndProc(m);
  if (m.Msg == CM_FONTCHANGED) FontChanged();
  if (m.Msg == WM_SIZE && HasState(csDesigning)) Repaint();
}

void TsGroupBox::FontChanged() {
  if (SkinData && SkinData->CacheBmp) SkinData->CacheBmp->Canvas()->SetFont(Font());
  if (SkinData && !Caption().empty()) SkinData->Invalidate();
}

void TsGroupBox::SkinPaint(HDC dc) {
  if (!SkinData || !SkinData->Skinned(true) || Destroying()) return;
  if (!Visible() && !HasState(csDesigning)) return;
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  const bool stale = SkinData->HalfVisible || SkinData->BGChanged;
  if (SkinData->DependsOnParentBg() && Parent()) {
    const RECT pc = Parent()->ClientRect();
    const POINT a{Left() + 1, Top() + 1};
    const POINT b{Left() + Width() - 1, Top() + Height() - 1};
    SkinData->HalfVisible = !::PtInRect(&pc, a) || !::PtInRect(&pc, b);
  } else {
    SkinData->HalfVisible = false;
  }
  if (stale && !SkinData->BGDependent) PrepareCache();
  CopyWinControlCache(this, SkinData.get(), TRect{0, 0, 0, 0}, TRect{0, 0, Width(), Height()}, dc,
                      false, 0, 0);
  ::PaintControls(dc, this, 0, TPoint{0, 0});
  if (Canvas()->HandleAllocated() && dc == Canvas()->Handle()) NotifyChildrenEndUpdate(this);
}

void TsGroupBox::PrepareCache() {
  SkinData->InitCacheBmp();
  const TCacheInfo ci = GetParentCache(SkinData.get());
  const TRect cr = CaptionRect();
  TBitmap* cache = SkinData->CacheBmp.get();
  // The strip behind the caption shows the parent.
  if (ci.Ready) {
    ::BitBlt(cache->Canvas()->Handle(), 0, 0, Width(), HeightOf(cr), ci.Bmp->Canvas()->Handle(),
             Left() + ci.X, Top() + ci.Y, SRCCOPY);
  } else if (Parent()) {
    FillDC(cache->Canvas()->Handle(), TRect{0, 0, Width(), cr.bottom}, Parent()->Color());
  }
  const int t = captionYOffset_ >= 0 ? HeightOf(cr) / 2 : 0;
  PaintSkinControl(SkinData.get(), ci, false, 0, TRect{0, t, Width(), Height()},
                   TPoint{Left(), Top() + t}, cache, false);
  if (!Caption().empty()) PaintCaption(cr, ci);
  // The top corners lie in the strip, which already shows the parent.
  UpdateCornerSet(SkinData.get(), 0, cornerBottomLeft | cornerBottomRight);
  SkinData->BGChanged = false;
}

void TsGroupBox::PaintCaption(const TRect& cr, const TCacheInfo& ci) {
  const int state = HandleAllocated() && WindowHandle() == ::GetFocus() ? 1 : 0;
  TsSkinManager* manager = SkinData->GetSkinManager();
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!captionSkin_.empty()) {
    // Over what the cache already holds.
    PaintItem(manager->GetSkinIndex(captionSkin_), captionSkin_, MakeCacheInfo(cache, 0, 0), true,
              state, cr, TPoint{0, 0}, cache, manager);
  } else if (!ci.Ready && Parent()) {
    FillDC(cache->Canvas()->Handle(), cr, Parent()->Color());
  } else {
    PaintItem(manager->GetSkinIndex(kPlateSection), kPlateSection, ci, true, state, cr,
              TPoint{Left() + cr.left, Top() + cr.top}, cache, manager);
  }
  TRect r = cr;
  TCanvas* c = cache->Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  DrawSkinText(c, Caption(), true, r, DT_CENTER, SkinData.get(), false);
}
