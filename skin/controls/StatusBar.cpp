#include "skin/controls/StatusBar.h"

#include <commctrl.h>

#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"

TsStatusBar::TsStatusBar(TComponent* AOwner) : TsSkinnedControl(AOwner, ckStatusBar) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
}

void TsStatusBar::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (!ControlIsReady(this) || !IsSkinned()) {
    TStatusBar::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_NCPAINT:
      // The bar has no border of its own to paint.
      return;
    case WM_PRINT:
      WMPrint(m);
      return;
    case WM_ERASEBKGND:
      WMEraseBkgnd(m);
      return;
    case WM_PAINT:
      // The platform's bar never paints while skinned.
      WMPaint(m);
      return;
    case WM_MOVE: {
      const TsGeneralData* s = SkinData->Section();
      if (s && (s->Transparency >= 1 || s->HotTransparency >= 1)) SkinData->BGChanged = true;
      break;
    }
  }
  CommonWndProc(m, SkinData.get());
  TStatusBar::WndProc(m);
  if (m.Msg == SB_SETTEXTA || m.Msg == SB_SETTEXTW || m.Msg == SB_SIMPLE || m.Msg == SB_GETRECT)
    SkinData->BGChanged = true;
}

TacSkinChangeRule TsStatusBar::SkinChangeRule(WORD cmd) const {
  TacSkinChangeRule rule;
  rule.children = cmd == AC_REMOVESKIN ? TacChildPass::Last : TacChildPass::First;
  rule.handledForOthers = false;
  return rule;
}

void TsStatusBar::AfterSkinChange(TMessage& m) {
  if (SkinCmdOf(m) != AC_REMOVESKIN)
    Repaint();
  else if (HandleAllocated())
    RecreateWnd();
}

bool TsStatusBar::OtherSkinCommand(TMessage& m) {
  if (SkinCmdOf(m) != AC_ENDPARENTUPDATE) return false;
  if (SkinData->GetUpdating()) {
    SkinData->Updating = false;
    Repaint();
  }
  return true;
}

void TsStatusBar::WMPaint(TMessage& m) {
  SetControlState(ControlState() | csCustomPaint);
  SkinPaint(reinterpret_cast<HDC>(m.WParam));
  SetControlState(ControlState() & ~csCustomPaint);
  m.Result = 0;
}

void TsStatusBar::WMPrint(TMessage& m) {
  m.Result = 0;
  if (!Visible() && !HasState(csDesigning)) return;
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) return;
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, 0, 0, Width(), Height());
  SkinPaint(dc);
  ::RestoreDC(dc, saved);
}

void TsStatusBar::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
  if (SkinData->BGChanged || !m.WParam) return;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  CopyWinControlCache(this, SkinData.get(), TRect{0, 0, 0, 0}, TRect{0, 0, Width(), Height()}, dc,
                      false, 0, 0);
  ::PaintControls(dc, this, 0, TPoint{0, 0});
}

void TsStatusBar::PaintWindow(HDC dc) {
  TStatusBar::PaintWindow(dc);
  SkinPaint(dc);
}

void TsStatusBar::SkinPaint(HDC dc) {
  if (Destroying() || !IsSkinned() || !HandleAllocated()) return;
  TacPaintScope paint(Handle(), dc);
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  PrepareCache();
  CopyWinControlCache(this, SkinData.get(), TRect{0, 0, 0, 0}, TRect{0, 0, Width(), Height()},
                      paint.DC(), true, 0, 0);
  ::PaintControls(paint.DC(), this, 0, TPoint{0, 0});
  NotifyChildrenEndUpdate(this);
  SkinData->BGChanged = false;
}

TRect TsStatusBar::PanelRect(int index) {
  int x = 0;
  for (int i = 0; i < index; ++i) x += Panel(i).Width + 1;
  const bool last = index + 1 == PanelCount();
  return TRect{x, 0, last ? Width() : x + Panel(index).Width + 1, Height()};
}

void TsStatusBar::PrepareCache() {
  if (Parent()) {
    const RECT pc = Parent()->ClientRect();
    const POINT a{Left(), Top()};
    const POINT b{Left() + Width(), Top() + Height()};
    SkinData->HalfVisible = !::PtInRect(&pc, a) || !::PtInRect(&pc, b);
  }
  SkinData->InitCacheBmp();
  PaintSkinControl(SkinData.get(), GetParentCache(SkinData.get()), false, 0,
                   TRect{0, 0, Width(), Height()}, TPoint{Left(), Top()},
                   SkinData->CacheBmp.get(), false);
  if (SimplePanel()) {
    PaintPanel(SimpleText(), TRect{0, 1, Width() - 1, Height() - 1}, true);
  } else {
    for (int i = 0; i < PanelCount(); ++i) {
      TRect r = PanelRect(i);
      ::InflateRect(&r, -1, -1);
      PaintPanel(PanelText(i), r, i + 1 == PanelCount());
    }
  }
  if (HandleAllocated() && (::GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & SBARS_SIZEGRIP))
    PaintGrip();
  SkinData->BGChanged = false;
}

void TsStatusBar::PaintPanel(const std::wstring& text, TRect r, bool last) {
  TsSkinManager* m = SkinData->GetSkinManager();
  TBitmap* cache = SkinData->CacheBmp.get();
  const int mask = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(), L"STATUSPANELMASK");
  if (m->IsValidImgIndex(mask)) {
    const TRect all = SimplePanel() ? TRect{0, 0, Width(), Height()} : r;
    DrawMaskRect(TacBmpView(cache), all, true, EmptyCacheInfo, m->ma[mask], MasterView(m), 0,
                 false);
  } else if (!SimplePanel() && !last) {
    PaintDivider(r);
  }
  TRect tr{r.left + 2, r.top, r.right - 4, r.bottom - 1};
  TCanvas* c = cache->Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  const std::wstring shown = CutText(c, text, tr.right - tr.left);
  DrawSkinText(c, shown, true, tr, TextAlignFlags(this, taLeftJustify) | DT_SINGLELINE | DT_VCENTER,
               SkinData.get(), SkinData->ControlIsActive());
}

// A divider at the panel's right edge, from the "DIVIDER" section's border
// image painted over what the cache holds there.
void TsStatusBar::PaintDivider(const TRect& r) {
  TsSkinManager* m = SkinData->GetSkinManager();
  const int index = m->GetSkinIndex(L"DIVIDER");
  if (!m->IsValidSkinIndex(index)) return;
  const int border = m->GetMaskIndex(index, L"DIVIDER", L"BORDERSMASK");
  if (!m->IsValidImgIndex(border)) return;
  const int w = MaskCellWidth(m->ma[border]) - 1;
  const int h = Height() - 2;
  if (w <= 0 || h <= 0) return;
  TBitmap* cache = SkinData->CacheBmp.get();
  auto bmp = CreateBmp24(w, h);
  ::BitBlt(bmp->Canvas()->Handle(), 0, 0, w, h, cache->Canvas()->Handle(), r.right - w, r.top,
           SRCCOPY);
  MaskFillColor = clFuchsia;
  BGFillColor = clFuchsia;
  PaintItem(index, L"DIVIDER", MakeCacheInfo(cache, 0, 0), true, 0, TRect{0, 0, w, h},
            TPoint{r.right - w, 1}, bmp.get(), m);
  ::BitBlt(cache->Canvas()->Handle(), r.right - w, 1, w, h, bmp->Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

void TsStatusBar::PaintGrip() {
  TsSkinManager* m = SkinData->GetSkinManager();
  int grip = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"GRIPIMAGE");
  if (!m->IsValidImgIndex(grip)) grip = m->GetMaskIndex(m->GetSkinIndex(L"FORM"), L"FORM", L"GRIPIMAGE");
  if (!m->IsValidImgIndex(grip)) return;
  const TsMaskData& md = m->ma[grip];
  const TPoint p{Width() - MaskCellWidth(md), Height() - MaskCellHeight(md)};
  DrawSkinGlyph(TacBmpView(SkinData->CacheBmp.get()), p, 0, 1, md, MasterView(m));
}
