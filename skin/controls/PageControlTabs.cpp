// Painting of TsPageControl: the body and the tab strip into the cache, the
// active and hot tabs straight onto the window.
#include "skin/controls/PageControl.h"

#include <commctrl.h>

#include "framework/Handles.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/FocusFrame.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"

namespace {

// A rotated copy of Font for the side tabs: Arial at the font's height,
// never bold.
UniqueFont RotatedFont(TFont* font, int escapement) {
  LOGFONTW lf{};
  ::GetObjectW(font->Handle(), sizeof(lf), &lf);
  wcscpy_s(lf.lfFaceName, L"Arial");
  lf.lfWeight = FW_NORMAL;
  lf.lfEscapement = lf.lfOrientation = escapement;
  return UniqueFont(::CreateFontIndirectW(&lf));
}

TColor ParentBackground(TControl* c) { return c->Parent() ? c->Parent()->Color() : clBtnFace; }

}  // namespace

void TsPageControl::PaintTab(int pageIndex, int state, TPoint offset, TBitmap* bmp) {
  if (pageIndex < 0 || pageIndex >= PageCount()) return;
  TTabSheet* page = Pages(pageIndex);
  const int tab = page->TabIndex();
  if (tab < 0) return;
  if (state == 1 && TabRect(tab).left < 0) return;  // scrolled away
  const bool active = state == 2 && page == ActivePage();
  TRect r = TabRectEx(tab, active);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TsSkinManager* m = SkinData->GetSkinManager();
  const TsCachedIndexes& ci = m->CachedIndexes;
  int index = -1, border = -1;
  std::wstring section;
  if (ci.TabTop > 0) {
    auto* sheet = dynamic_cast<TsTabSheet*>(page);
    const std::wstring own = sheet ? sheet->ButtonSkin() : std::wstring();
    switch (style_) {
      case tsTabs: {
        static const wchar_t* const kTabs[] = {L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT"};
        const int16_t idx[] = {ci.TabTop, ci.TabBottom, ci.TabLeft, ci.TabRight};
        const int16_t msk[] = {ci.TabTopMask, ci.TabBottomMask, ci.TabLeftMask, ci.TabRightMask};
        section = kTabs[tabPosition_];
        index = idx[tabPosition_];
        border = msk[tabPosition_];
        break;
      }
      case tsButtons:
      case tsFlatButtons:
        section = !own.empty() ? own : style_ == tsButtons ? L"BUTTON" : L"TOOLBUTTON";
        index = m->GetSkinIndex(section);
        border = m->GetMaskIndex(index, section, L"BORDERSMASK");
        break;
    }
  }
  TBitmap* cache = SkinData->CacheBmp.get();
  if (index >= 0 && m->IsValidImgIndex(border) && cache) {
    auto t = CreateBmp24(w, h);
    const TRect dst{r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
    if (active) {
      // What lies under the active tab in the cache, with the platform's
      // tab place cleared to the parent's background first.
      ::BitBlt(t->Canvas()->Handle(), 0, 0, w, h, cache->Canvas()->Handle(), r.left, r.top, SRCCOPY);
      const TRect plain = TabRect(tab);
      const TRect inT{plain.left - r.left, plain.top - r.top, plain.right - r.left,
                      plain.bottom - r.top};
      const TCacheInfo pc = GetParentCache(SkinData.get());
      if (BGFillColor != clFuchsia) {
        FillDC(t->Canvas()->Handle(), inT, BGFillColor);
      } else if (pc.Ready) {
        ::BitBlt(t->Canvas()->Handle(), inT.left, inT.top, inT.right - inT.left,
                 inT.bottom - inT.top, pc.Bmp->Canvas()->Handle(), pc.X + Left() + plain.left,
                 pc.Y + Top() + plain.top, SRCCOPY);
      } else {
        FillDC(t->Canvas()->Handle(), inT, ParentBackground(this));
      }
      ::BitBlt(bmp->Canvas()->Handle(), dst.left, dst.top, w, h, t->Canvas()->Handle(), 0, 0,
               SRCCOPY);
      PaintItem(index, section, MakeCacheInfo(t.get(), 0, 0), true, 2, dst, TPoint{0, 0}, bmp, m);
    } else {
      PaintItem(index, section, MakeCacheInfo(cache, 0, 0), true, state, TRect{0, 0, w, h},
                TPoint{r.left, r.top}, t.get(), m);
      HDC bdc = bmp->Canvas()->Handle();
      const int saved = ::SaveDC(bdc);
      // The body's frame covers the inner ends of the tabs above and left
      // of it; below and right the tabs are painted after the body.
      if (tabPosition_ == tpTop || tabPosition_ == tpLeft) {
        const TRect body = BodyRect();
        ::ExcludeClipRect(bdc, body.left + offset.x, body.top + offset.y, body.right + offset.x,
                          body.bottom + offset.y);
      }
      ::BitBlt(bdc, dst.left, dst.top, w, h, t->Canvas()->Handle(), 0, 0, SRCCOPY);
      ::RestoreDC(bdc, saved);
    }
  }
  ::OffsetRect(&r, offset.x, offset.y);
  TCanvas* c = bmp->Canvas();
  const std::wstring caption = page->Caption();
  const bool focused = HandleAllocated() && ::GetFocus() == WindowHandle();
  if (tabPosition_ == tpTop || tabPosition_ == tpBottom) {
    c->SetFont(Font());
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    TImageList* images = Images();
    const int image = page->ImageIndex();
    if (images && image >= 0 && image < images->Count()) {
      // The picture and the caption together, centred in the tab; upright
      // on the tab's visible part, which the body does not cover.
      const int x = r.left + (r.right - r.left - (c->TextWidth(caption) + images->Width() + 8)) / 2;
      const TRect visible = TabRect(tab);
      const int y = visible.top + offset.y + (visible.bottom - visible.top - images->Height()) / 2;
      images->Draw(c, x, y, image, page->Enabled());
      r.left += images->Width();
    }
    DrawSkinTextEx(c, caption, true, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, index, state != 0, m);
    if (focused && state == 2 && !caption.empty()) {
      ::InflateRect(&r, 1, 0);
      DrawFocusFrame(c, r);
    }
    return;
  }
  // Side tabs: the caption runs up (left) or down (right) the tab.
  const UniqueFont font = RotatedFont(Font(), tabPosition_ == tpLeft ? 900 : 2700);
  HDC dc = c->Handle();
  const SelectObjectScope select(dc, font.get());
  SIZE ext{};
  ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &ext);
  const int tw = ext.cx, th = ext.cy;
  TColor color = clBlack;
  if (index >= 0) {
    const TsGeneralData& g = m->gd[index];
    color = state != 0 ? g.HotFontColor[0] : g.FontColor[0];
  }
  if (!Enabled()) color = 0x808080;
  ::SetTextColor(dc, static_cast<COLORREF>(color));
  ::SetBkMode(dc, TRANSPARENT);
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  if (tabPosition_ == tpLeft) {
    const int x = r.left + (rw - th) / 2;
    const int y = r.bottom - (rh - tw) / 2;
    ::ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, caption.c_str(), static_cast<UINT>(caption.size()),
                  nullptr);
  } else {
    ::OffsetRect(&r, -2, -1);
    const int x = r.left + (rw + th) / 2;
    const int y = r.top + (rh - tw) / 2;
    ::ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, caption.c_str(), static_cast<UINT>(caption.size()),
                  nullptr);
  }
  if (focused && state != 0) {
    ::InflateRect(&r, (th - rw) / 2, (tw - rh) / 2);
    DrawFocusFrame(c, r);
  }
}

void TsPageControl::PaintTabToDC(int pageIndex, int state, HDC dc) {
  if (pageIndex < 0 || pageIndex >= PageCount()) return;
  const int tab = Pages(pageIndex)->TabIndex();
  if (tab < 0) return;
  const TRect r = TabRectEx(tab, state == 2 && Pages(pageIndex) == ActivePage());
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  SkinData->EnsureCache();
  auto b = CreateBmp24(w, h);
  ::BitBlt(b->Canvas()->Handle(), 0, 0, w, h, SkinData->CacheBmp->Canvas()->Handle(), r.left,
           r.top, SRCCOPY);
  PaintTab(pageIndex, state, TPoint{-r.left, -r.top}, b.get());
  ::BitBlt(dc, r.left, r.top, w, h, b->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsPageControl::PaintHotTab(int pageIndex, int state, HDC dc) {
  if (!HandleAllocated() || !SkinData->CacheBmp || pageIndex < 0 || pageIndex >= PageCount())
    return;
  const int tab = Pages(pageIndex)->TabIndex();
  if (tab < 0) return;
  TacPaintScope paint(WindowHandle(), dc, false);
  if (!dc) {
    const TRect plain = TabRect(tab);
    ::IntersectClipRect(paint.DC(), plain.left, plain.top, plain.right, plain.bottom);
    if (ActivePage() && ActivePage()->TabIndex() >= 0) {
      const TRect a = TabRectEx(ActivePage()->TabIndex(), true);
      ::ExcludeClipRect(paint.DC(), a.left, a.top, a.right, a.bottom);
    }
  }
  PaintTabToDC(pageIndex, state, paint.DC());
}

void TsPageControl::PaintTabsArea(const TCacheInfo& ci) {
  TBitmap* cache = SkinData->CacheBmp.get();
  const TRect s = TabsRect();
  if (ci.Ready) {
    const int w = std::min<int>(s.right - s.left, ci.Bmp->Width() - (ci.X + Left() + s.left));
    const int h = std::min<int>(s.bottom - s.top, ci.Bmp->Height() - (ci.Y + Top() + s.top));
    FillDC(cache->Canvas()->Handle(), s, ParentBackground(this));
    if (w > 0 && h > 0)
      ::BitBlt(cache->Canvas()->Handle(), s.left, s.top, w, h, ci.Bmp->Canvas()->Handle(),
               ci.X + Left() + s.left, ci.Y + Top() + s.top, SRCCOPY);
  } else {
    FillDC(cache->Canvas()->Handle(), s, ParentBackground(this));
  }
  const int rows = static_cast<int>(::SendMessageW(WindowHandle(), TCM_GETROWCOUNT, 0, 0));
  for (int row = 1; row <= std::max(1, rows); ++row)
    for (int i = 0; i < PageCount(); ++i) {
      const int tab = Pages(i)->TabIndex();
      if (tab >= 0 && TabRow(tab) == row) PaintTab(i, 0, TPoint{0, 0}, cache);
    }
}

void TsPageControl::PaintTabStrip(HDC dc) {
  if (HasTabs()) PaintTabsArea(GetParentCache(SkinData.get()));
  const TRect s = TabsRect();
  ::BitBlt(dc, s.left, s.top, s.right - s.left, s.bottom - s.top + 2,
           SkinData->CacheBmp->Canvas()->Handle(), s.left, s.top, SRCCOPY);
}

// The tab strip and the body into the cache, when it is stale.
void TsPageControl::PrepareCache() {
  ChooseBodySection();
  const TCacheInfo ci = GetParentCache(SkinData.get());
  SkinData->InitCacheBmp();
  if (!SkinData->BGChanged) return;
  if (HasTabs()) PaintTabsArea(ci);
  const TRect body = BodyRect();
  MaskFillColor = ParentBackground(this);
  PaintItem(SkinData->SkinIndex, BodySection, ci, false, 0, body,
            TPoint{Left() + body.left, Top() + body.top}, SkinData->CacheBmp.get(),
            SkinData->GetSkinManager());
  MaskFillColor = clFuchsia;
  SkinData->BGChanged = false;
}

void TsPageControl::WMPaint(TMessage& m) {
  const bool print = m.LParam == 1;
  TacPaintScope paint(Handle(), print ? reinterpret_cast<HDC>(m.WParam) : nullptr);
  SkinData->Updating = SkinData->GetUpdating();
  m.Result = 0;
  if (SkinData->Updating || TabsResized || !paint.DC()) return;
  HDC dc = paint.DC();
  MarkStaleByParent(this, SkinData.get());
  PrepareCache();
  const bool tabs = HasTabs();
  TTabSheet* active = ActivePage();
  const bool activeTab = tabs && active && active->TabIndex() >= 0;
  const int saved = ::SaveDC(dc);
  if (activeTab) {
    const TRect a = TabRectEx(active->TabIndex(), true);
    ::ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
  }
  CopyWinControlCache(this, SkinData.get(), TRect{0, 0, 0, 0}, TRect{0, 0, Width(), Height()}, dc,
                      true, 0, 0);
  ::PaintControls(dc, this, 0, TPoint{0, 0});
  ::RestoreDC(dc, saved);
  if (activeTab) PaintTabToDC(active->PageIndex(), 2, dc);
  if (print && active && active->HandleAllocated() && active->Visible()) {
    POINT old{};
    ::OffsetViewportOrgEx(dc, active->Left(), active->Top(), &old);
    active->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 1);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }
  VisibleTabCount = VisibleTabs();
}
