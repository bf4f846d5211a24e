// Scroll-bar geometry: metrics, bar rectangles, thumb place, hit testing.
#include <algorithm>

#include "skin/engine/SkinManager.h"
#include "skin/windows/ScrollWnd.h"

namespace {

// The arrow length a skin asks for: its own arrow cell when the skin says so.
int SkinArrowLength(const TacScrollBar* bar) {
  TsSkinManager* manager = bar->Owner ? bar->Owner->Manager() : nullptr;
  if (!manager) return -1;
  int section = manager->GetSkinIndex(L"SCROLLBTNLEFT");
  if (section < 0 || !manager->gd[section].ReservedBoolean) return -1;
  const auto& ci = manager->CachedIndexes;
  int mask = bar->BarType == SB_HORZ ? ci.ScrollBtnLeftMask : ci.ScrollBtnTopMask;
  if (!manager->IsValidImgIndex(mask)) return -1;
  const TsMaskData& md = manager->ma[mask];
  if (bar->BarType == SB_HORZ)
    return (md.R.right - md.R.left) / std::max<int>(md.ImageCount, 1);
  return (md.R.bottom - md.R.top) / (md.MaskType + 1);
}

}  // namespace

int GetScrollMetric(const TacScrollBar* bar, bool thickness, bool skinned) {
  if (thickness) {
    if (bar->Thickness >= 0) return bar->Thickness;
    return -bar->Thickness *
           ::GetSystemMetrics(bar->BarType == SB_HORZ ? SM_CYHSCROLL : SM_CXVSCROLL);
  }
  if (bar->ArrowLength >= 0) return bar->ArrowLength;
  int length = DefaultScrollButtonSize;
  if (skinned) {
    int cell = SkinArrowLength(bar);
    if (cell >= 0) length = std::max(length, cell);
  }
  return -bar->ArrowLength * length;
}

void GetHScrollRect(TacScrollWnd* a, HWND wnd, TRect& r) {
  TRect w{};
  ::GetWindowRect(wnd, &w);
  const int vThick = a->VBar->Visible ? GetScrollMetric(a->VBar.get(), true, false) : 0;
  r.left = w.left + a->LeftEdge + (a->LeftScrollBar ? vThick : 0);
  r.right = w.right - a->RightEdge - (a->LeftScrollBar ? 0 : vThick);
  r.bottom = w.bottom - a->BottomEdge;
  r.top = a->HBar->Visible ? r.bottom - GetScrollMetric(a->HBar.get(), true, false) : r.bottom;
}

void GetVScrollRect(TacScrollWnd* a, HWND wnd, TRect& r) {
  TRect w{};
  ::GetWindowRect(wnd, &w);
  const int thick = a->VBar->Visible ? GetScrollMetric(a->VBar.get(), true, false) : 0;
  r.top = w.top + a->TopEdge;
  r.bottom = w.bottom - a->BottomEdge -
             (a->HBar->Visible ? GetScrollMetric(a->HBar.get(), true, false) : 0);
  if (a->LeftScrollBar) {
    r.left = w.left + a->LeftEdge;
    r.right = r.left + thick;
  } else {
    r.right = w.right - a->RightEdge;
    r.left = r.right - thick;
  }
}

TRect GetBarRect(TacScrollWnd* adapter, const TacScrollBar* bar) {
  TRect r{};
  if (bar->BarType == SB_HORZ)
    GetHScrollRect(adapter, adapter->CtrlHandle, r);
  else
    GetVScrollRect(adapter, adapter->CtrlHandle, r);
  return r;
}

TacThumb CalcThumb(const TacScrollBar* bar, int start, int end, int arrow) {
  const SCROLLINFO& si = bar->ScrollInfo;
  const int length = end - start;
  const int range = si.nMax - si.nMin + 1;
  const int free = length - 2 * arrow;
  TacThumb t;
  if (si.nPage == 0)
    t.Size = arrow;
  else if (range > 0)
    t.Size = std::max(::MulDiv(static_cast<int>(si.nPage), free, range), bar->MinThumb);
  int offset = 0;
  if (range > 0) {
    const int page = std::max(static_cast<int>(si.nPage), 1);
    offset = ::MulDiv(si.nPos - si.nMin, free - t.Size, range - page);
    offset = std::clamp(offset, 0, std::max(free - t.Size, 0));
  }
  t.Start = start + arrow + offset;
  return t;
}

int GetScrollPart(const TacScrollBar* bar, const TRect& r, TPoint p) {
  const bool horz = bar->BarType == SB_HORZ;
  const int across = horz ? p.y : p.x;
  const int crossStart = horz ? r.top : r.left, crossEnd = horz ? r.bottom : r.right;
  if (across < crossStart || across >= crossEnd) return spNone;
  const int s = horz ? r.left : r.top, e = horz ? r.right : r.bottom;
  const int along = horz ? p.x : p.y;
  const int length = e - s;
  const int fullArrow = GetScrollMetric(bar, false, false);
  const int arrow = length <= 2 * fullArrow ? length / 2 : fullArrow;
  if (along >= s && along < s + arrow) return spFirstArrow;
  if (along >= e - arrow && along < e) return spSecondArrow;
  TacThumb t = CalcThumb(bar, s, e, fullArrow);
  if (t.Size >= length - 2 * fullArrow) return spNone;
  if (along >= t.Start && along < t.Start + t.Size) return spThumb;
  if (along >= s + arrow && along < t.Start) return spTrackBefore;
  if (along >= t.Start + t.Size && along < e - arrow) return spTrackAfter;
  return spNone;
}

bool IsScrollBarActive(HWND wnd, WORD bar) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetScrollBarInfo(wnd, bar == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL, &info))
    return false;
  return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
}

bool IsGripCorner(TacScrollWnd* a, HWND wnd, const TRect& box) {
  HWND parent = ::GetParent(wnd);
  if (!parent) return true;
  if (::GetParent(parent)) return false;
  TRect pc{};
  ::GetClientRect(parent, &pc);
  ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&pc), 2);
  if (a->LeftScrollBar)
    return box.left - a->LeftEdge == pc.left && box.bottom + a->BottomEdge == pc.bottom;
  return box.right + a->RightEdge == pc.right && box.bottom + a->BottomEdge == pc.bottom;
}
