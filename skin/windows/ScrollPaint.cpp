// Painting of the owner-drawn scroll bars and the corner box from the skin.
// Each bar is composed off-screen and reaches the DC in one copy.
#include <algorithm>
#include <cstring>

#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/FastPixels.h"
#include "skin/windows/ScrollWnd.h"

namespace {

// A section as the bar paints it: cached indexes and its name.
struct TacBarSection {
  int Skin, Border, Pattern, HotPattern, Glyph;
  const wchar_t* Name;
};

struct TacBarSections {
  TacBarSection Track1, Track2, First, Second, Thumb;
};

TacBarSections SectionsOf(const TsCachedIndexes& c, bool horz) {
  if (horz)
    return {{c.ScrollBar1H, c.ScrollBar1HMask, c.ScrollBar1HTexture, c.ScrollBar1HHotTexture, -1,
             L"SCROLLBAR1H"},
            {c.ScrollBar2H, c.ScrollBar2HMask, c.ScrollBar2HTexture, c.ScrollBar2HHotTexture, -1,
             L"SCROLLBAR2H"},
            {c.ScrollBtnLeft, c.ScrollBtnLeftMask, c.ScrollBtnLeftTexture,
             c.ScrollBtnLeftHotTexture, c.ScrollBtnLeftGlyph, L"SCROLLBTNLEFT"},
            {c.ScrollBtnRight, c.ScrollBtnRightMask, c.ScrollBtnRightTexture,
             c.ScrollBtnRightHotTexture, c.ScrollBtnRightGlyph, L"SCROLLBTNRIGHT"},
            {c.ScrollSliderH, c.ScrollSliderHMask, c.ScrollSliderHTexture,
             c.ScrollSliderHHotTexture, c.ScrollSliderHGlyph, L"SCROLLSLIDERH"}};
  return {{c.ScrollBar1V, c.ScrollBar1VMask, c.ScrollBar1VTexture, c.ScrollBar1VHotTexture, -1,
           L"SCROLLBAR1V"},
          {c.ScrollBar2V, c.ScrollBar2VMask, c.ScrollBar2VTexture, c.ScrollBar2VHotTexture, -1,
           L"SCROLLBAR2V"},
          {c.ScrollBtnTop, c.ScrollBtnTopMask, c.ScrollBtnTopTexture, c.ScrollBtnTopHotTexture,
           c.ScrollBtnTopGlyph, L"SCROLLBTNTOP"},
          {c.ScrollBtnBottom, c.ScrollBtnBottomMask, c.ScrollBtnBottomTexture,
           c.ScrollBtnBottomHotTexture, c.ScrollBtnBottomGlyph, L"SCROLLBTNBOTTOM"},
          {c.ScrollSliderV, c.ScrollSliderVMask, c.ScrollSliderVTexture, c.ScrollSliderVHotTexture,
           c.ScrollSliderVGlyph, L"SCROLLSLIDERV"}};
}

void CopyPixels(const TacBmpView& dst, int x, int y, const TacBmpView& src) {
  for (int row = 0; row < src.Height; ++row) {
    if (y + row < 0 || y + row >= dst.Height) continue;
    const int from = std::max(0, -x), to = std::min(src.Width, dst.Width - x);
    if (to <= from) continue;
    std::memcpy(dst.Pixel(x + from, y + row), src.Pixel(from, row),
                static_cast<size_t>(to - from) * 3);
  }
}

// Composes one bar in a bitmap of its own size.
class TacBarPainter {
 public:
  TacBarPainter(TsSkinManager* m, bool horz, int w, int h, const TCacheInfo& windowImage,
                TPoint place)
      : manager_(m), horz_(horz), bmp_(w, h), ci_(windowImage), place_(place) {}

  TBitmap* Bmp() { return &bmp_.Bmp(); }
  const TacBmpView& View() const { return bmp_.View(); }
  int Length() const { return horz_ ? bmp_.Width() : bmp_.Height(); }

  // Stretch [a, b) of the bar along its length.
  TRect Span(int a, int b) const {
    return horz_ ? TRect{a, 0, b, bmp_.Height()} : TRect{0, a, bmp_.Width(), b};
  }

  void Track(const TacBarSection& s, int a, int b, int state) {
    if (b <= a) return;
    PaintItemWithIndexes(s.Skin, s.Border, s.Pattern, s.HotPattern, s.Name, ci_, true, state,
                         Span(a, b), place_, Bmp(), manager_);
  }

  // An arrow button (glyph in the default-sized square at the bar's outer
  // end) or the thumb (glyph in its middle).
  void Part(const TacBarSection& s, int a, int b, int state, bool arrow, bool atEnd) {
    const TRect r = Span(a, b);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    TacScratchBmp part(w, h);
    PaintItemWithIndexes(s.Skin, s.Border, s.Pattern, s.HotPattern, s.Name,
                         MakeCacheInfo(Bmp(), 0, 0), true, state, TRect{0, 0, w, h},
                         TPoint{r.left, r.top}, &part.Bmp(), manager_);
    TRect room{0, 0, w, h};
    if (arrow) {
      const int sq = DefaultScrollButtonSize;
      if (horz_)
        room = atEnd ? TRect{w - sq, 0, w, h} : TRect{0, 0, sq, h};
      else
        room = atEnd ? TRect{0, h - sq, w, h} : TRect{0, 0, w, sq};
    }
    Glyph(s.Glyph, part.View(), room, state);
    CopyPixels(View(), r.left, r.top, part.View());
  }

 private:
  void Glyph(int mask, const TacBmpView& dst, const TRect& room, int state) {
    if (!manager_->IsValidImgIndex(mask)) return;
    const TsMaskData& md = manager_->ma[mask];
    const TRect mr = md.R;
    const int cellW = (mr.right - mr.left) / std::max<int>(md.ImageCount, 1);
    const int cellH = (mr.bottom - mr.top) / (md.MaskType + 1);
    const TPoint p{room.left + (room.right - room.left - cellW) / 2,
                   room.top + (room.bottom - room.top - cellH) / 2};
    TacBmpView master =
        manager_->MasterBitmap ? TacBmpView(*manager_->MasterBitmap) : TacBmpView();
    DrawSkinGlyph(dst, p, state, 1, md, master);
  }

  TsSkinManager* manager_;
  bool horz_;
  TacScratchBmp bmp_;
  TCacheInfo ci_;
  TPoint place_;
};

// The window's own image for the bar, positioned at the window's origin.
TCacheInfo WindowImage(HWND wnd) {
  TCacheInfo ci = RequestCacheInfo(wnd);
  ci.X = 0;
  ci.Y = 0;
  return ci;
}

int ArrowState(int hitPart, int part, bool hotHere, bool enabled) {
  if (hitPart == part) return 2;
  return hotHere && enabled && ScrollEngine.HotPart == part ? 1 : 0;
}

}  // namespace

void PaintBar(TacScrollWnd* adapter, TacScrollBar* bar, HDC dc, int hitPart, int dragStart) {
  HWND wnd = adapter->CtrlHandle;
  TsSkinManager* manager = adapter->Manager();
  const bool horz = bar->BarType == SB_HORZ;
  if ((adapter->ThumbTracking && dragStart < 0) || !bar->Visible || !manager) return;
  const TacBarSections s = SectionsOf(manager->CachedIndexes, horz);
  if (s.Track1.Skin < 0) return;
  TRect r = GetBarRect(adapter, bar);
  if ((horz ? r.right - r.left : r.bottom - r.top) < 2) return;
  TRect w{};
  ::GetWindowRect(wnd, &w);
  const TPoint place{r.left - w.left, r.top - w.top};

  ::GetScrollInfo(wnd, bar->BarType, &bar->ScrollInfo);
  const int arrow = GetScrollMetric(bar, false, true);
  bool enabled = IsScrollBarActive(wnd, bar->BarType);
  if (adapter->SkinData && adapter->SkinData->OwnerControl)
    enabled = enabled && adapter->SkinData->OwnerControl->Enabled();
  const bool hotWnd = wnd == ScrollEngine.HotWnd;
  if (!hotWnd) hitPart = spNone;
  const bool hotHere = hotWnd && ScrollEngine.HotBar == bar->BarType;

  TacBarPainter p(manager, horz, r.right - r.left, r.bottom - r.top, WindowImage(wnd), place);
  const int length = p.Length();
  const int first = dragStart >= 0 ? 0 : ArrowState(hitPart, spFirstArrow, hotHere, enabled);
  const int second = dragStart >= 0 ? 0 : ArrowState(hitPart, spSecondArrow, hotHere, enabled);
  if (2 * arrow >= length) {
    const int half = length / 2;
    p.Track(s.Track1, 0, half, 0);
    p.Track(s.Track2, half, length, 0);
    p.Part(s.First, 0, half, first, true, false);
    p.Part(s.Second, half, length, second, true, true);
  } else {
    const int defArrow = GetScrollMetric(bar, false, false);
    TacThumb t = CalcThumb(bar, 0, length, defArrow);
    if (dragStart >= 0) t.Start = dragStart;
    const int split = t.Size / 2 + t.Start;
    p.Track(s.Track1, 0, split, dragStart < 0 && hitPart == spTrackBefore ? 2 : 0);
    p.Track(s.Track2, split, length, dragStart < 0 && hitPart == spTrackAfter ? 2 : 0);
    p.Part(s.First, 0, arrow, first, true, false);
    p.Part(s.Second, length - arrow, length, second, true, true);
    const SCROLLINFO& si = bar->ScrollInfo;
    const int room = length - 2 * arrow;
    const int want = std::max(::MulDiv(static_cast<int>(si.nPage), room, si.nMax - si.nMin),
                              bar->MinThumb);
    if (enabled && want >= 1 && want <= room) {
      int state = 0;
      if (dragStart >= 0)
        state = 2;
      else if (hotHere && ScrollEngine.HotPart == spThumb)
        state = 1;
      p.Part(s.Thumb, t.Start, t.Start + t.Size, state, false, false);
    }
  }
  if (!enabled) {
    const TCacheInfo image = WindowImage(wnd);
    const TacBmpView& bmp = p.View();
    if (image.Ready && image.Bmp) {
      // 60 % window image, 40 % bar; pixels the image leaves empty keep the bar.
      BlendTransBmp(bmp, 0, 0, TacBmpView(*image.Bmp),
                    TRect{place.x, place.y, place.x + bmp.Width - 1, place.y + bmp.Height - 1},
                    0.4, clFuchsia);
    } else {
      PaintShadow(p.Bmp(), TRect{-1, -1, bmp.Width + 1, bmp.Height + 1}, 60,
                  manager->gd[s.Track1.Skin].Color, 0, 0);
    }
  }
  ::BitBlt(dc, place.x, place.y, p.View().Width, p.View().Height, p.Bmp()->Canvas()->Handle(), 0,
           0, SRCCOPY);
}

int PaintScrollBars(TacScrollWnd* adapter, HWND wnd, HDC dc, int) {
  if (!adapter || adapter->Destroyed || !adapter->HBar || !adapter->VBar) return 0;
  if (TsCommonData* sd = adapter->SkinData) {
    sd->SetUpdating(sd->GetUpdating());
    if (sd->Updating) return 0;
    if (TControl* owner = sd->OwnerControl)
      if (owner->HasState(csCreating) || !owner->IsShowing()) return 0;
    if (sd->BGChanged) SendSkinCmd(wnd, AC_PREPARECACHE, 0);
  }
  UniqueWindowDC own;
  if (!dc) {
    own = UniqueWindowDC(wnd, ::GetWindowDC(wnd));
    dc = own.get();
    if (!dc) return 0;
  }
  const TacScrollEngine& e = ScrollEngine;
  if (adapter->HBar->Visible)
    PaintBar(adapter, adapter->HBar.get(), dc, e.CapturedBar == SB_HORZ ? e.CapturedHit : -1);
  if (adapter->VBar->Visible)
    PaintBar(adapter, adapter->VBar.get(), dc, e.CapturedBar == SB_VERT ? e.CapturedHit : -1);

  TsSkinManager* manager = adapter->Manager();
  if (!manager || !adapter->HBar->Visible || !adapter->VBar->Visible) return 0;
  TRect w{};
  ::GetWindowRect(wnd, &w);
  const int ww = w.right - w.left, wh = w.bottom - w.top;
  TRect box{};
  box.bottom = wh - adapter->BottomEdge;
  box.top = box.bottom - GetScrollMetric(adapter->HBar.get(), true, false);
  const int vThick = GetScrollMetric(adapter->VBar.get(), true, false);
  if (adapter->LeftScrollBar) {
    box.left = adapter->LeftEdge;
    box.right = box.left + vThick;
  } else {
    box.right = ww - adapter->RightEdge;
    box.left = box.right - vThick;
  }
  const int bw = box.right - box.left, bh = box.bottom - box.top;
  if (bw <= 0 || bh <= 0) return 0;
  TacScratchBmp scratch(bw, bh);
  TBitmap* bmp = &scratch.Bmp();
  const TCacheInfo image = WindowImage(wnd);
  if (image.Ready && image.Bmp)
    ::BitBlt(bmp->Canvas()->Handle(), 0, 0, bw, bh, image.Bmp->Canvas()->Handle(), box.left,
             box.top, SRCCOPY);
  else
    FillDC(bmp->Canvas()->Handle(), TRect{0, 0, bw, bh}, manager->GetGlobalHotColor());
  TRect screenBox{box.left + w.left, box.top + w.top, box.right + w.left, box.bottom + w.top};
  const int global = manager->CachedIndexes.GlobalInfo;
  const int grip = global >= 0 ? manager->GetMaskIndex(global, L"GLOBALINFO", L"GRIPIMAGE") : -1;
  if (manager->IsValidImgIndex(grip) && IsGripCorner(adapter, wnd, screenBox)) {
    const TsMaskData& md = manager->ma[grip];
    const int cw = (md.R.right - md.R.left) / std::max<int>(md.ImageCount, 1);
    const int ch = (md.R.bottom - md.R.top) / (md.MaskType + 1);
    TacBmpView master = manager->MasterBitmap ? TacBmpView(*manager->MasterBitmap) : TacBmpView();
    DrawSkinGlyph(scratch.View(), TPoint{bw - cw, bh - ch}, 0, 1, md, master);
  }
  ::BitBlt(dc, box.left, box.top, bw, bh, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  return 0;
}
