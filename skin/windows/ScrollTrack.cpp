// Mouse tracking of the owner-drawn scroll bars: hover, press with
// auto-repeat, thumb drag and release, driven by the engine's timers.
#include <algorithm>

#include "framework/Handles.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/ScrollWnd.h"

TacScrollEngine ScrollEngine;

namespace {

TacScrollEngine& E() { return ScrollEngine; }

TPoint MessagePoint(LPARAM lParam) {
  return TPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

TacScrollBar* BarOf(TacScrollWnd* a, int bar) {
  if (bar == SB_HORZ) return a->HBar.get();
  if (bar == SB_VERT) return a->VBar.get();
  return nullptr;
}

int Along(const TacScrollBar* bar, TPoint p) { return bar->BarType == SB_HORZ ? p.x : p.y; }
int StartOf(const TacScrollBar* bar, const TRect& r) {
  return bar->BarType == SB_HORZ ? r.left : r.top;
}
int EndOf(const TacScrollBar* bar, const TRect& r) {
  return bar->BarType == SB_HORZ ? r.right : r.bottom;
}

void RepaintBar(TacScrollWnd* a, TacScrollBar* bar, int hit, int dragStart = -1) {
  if (!bar) return;
  UniqueWindowDC dc = UniqueWindowDC::Window(a->CtrlHandle);
  if (dc) PaintBar(a, bar, dc.get(), hit, dragStart);
}

// Sends with Scrolling raised, so the window's reactions leave the bars be.
void SendEngineScroll(TacScrollWnd* a, int code, int pos) {
  a->Scrolling = true;
  SendScrollMessage(a->CtrlHandle, E().ScrollMsg, code, pos);
  a->Scrolling = false;
}

bool Captures(TacScrollWnd* a) {
  return E().CapturedPart != spNone && E().HotWnd == a->CtrlHandle;
}

// The captured press follows the mouse: pressed look only over the part.
void CapturedMove(TacScrollWnd* a, TPoint screen) {
  TacScrollBar* bar = BarOf(a, E().CapturedBar);
  if (!bar) return;
  const int part = GetScrollPart(bar, GetBarRect(a, bar), screen);
  const int hit = part == E().CapturedPart ? E().CapturedPart : spNone;
  if (hit == E().CapturedHit) return;
  E().CapturedHit = hit;
  RepaintBar(a, bar, hit);
}

void DragStep(TacScrollWnd* a, TPoint screen) {
  TacScrollBar* bar = BarOf(a, E().CapturedBar);
  if (!bar) return;
  const int arrow = GetScrollMetric(bar, false, false);
  const int rStart = StartOf(bar, E().TrackRect) + arrow;
  const int rEnd = EndOf(bar, E().TrackRect) - arrow;
  int thumb = Along(bar, screen) - E().GrabOffset;
  thumb = std::max(std::min(thumb, rEnd - E().DragThumbSize), rStart);
  RepaintBar(a, bar, spThumb, thumb - StartOf(bar, E().TrackRect));
  const SCROLLINFO& si = bar->ScrollInfo;
  const int range = si.nMax - si.nMin;
  const int room = rEnd - rStart - E().DragThumbSize;
  int pos;
  if (range >= 1)
    // A thumb that fills the track cannot move: it stays at the start.
    pos = room > 0 ? si.nMin + ::MulDiv(thumb - rStart, range - static_cast<int>(si.nPage) + 1,
                                        room)
                   : si.nMin;
  else
    pos = thumb - rStart;
  if (pos != E().TrackPos) {
    bar->ScrollInfo.nTrackPos = pos;
    E().TrackPos = pos;
    SendEngineScroll(a, SB_THUMBTRACK, pos);
    return;
  }
  E().TrackPos = pos;
}

// Ends a press or drag: messages, look, state; capture goes first so the
// window never stays captured whatever the scroll messages do.
void EndTrack(TacScrollWnd* a, bool releaseCapture) {
  TacScrollEngine& e = E();
  const int part = e.CapturedPart;
  const int barType = e.CapturedBar;
  e.CapturedPart = spNone;
  if (releaseCapture && ::GetCapture() == a->CtrlHandle) ::ReleaseCapture();
  if (part >= spFirstArrow && part <= spTrackAfter && e.RepeatTimer)
    ::KillTimer(a->CtrlHandle, e.RepeatTimer);
  e.RepeatTimer = 0;
  if (a->ThumbTracking) {
    a->ThumbTracking = false;
    SendEngineScroll(a, SB_THUMBPOSITION, e.TrackPos);
    if (a->Destroyed) return;
  }
  SendEngineScroll(a, SB_ENDSCROLL, 0);
  if (a->Destroyed) return;
  e.CapturedHit = spNone;
  e.CapturedBar = -1;
  e.ScrollMsg = 0;
  RepaintBar(a, BarOf(a, barType), spNone);
}

}  // namespace

void SendScrollMessage(HWND wnd, UINT msg, int code, int pos) {
  SendSkinCmd(wnd, AC_BEFORESCROLL, 0);
  ::SendMessageW(wnd, msg, MAKEWPARAM(code, pos), 0);
  SendSkinCmd(wnd, AC_AFTERSCROLL, MAKELPARAM(code, msg));
}

void ResetScrollEngine(HWND wnd) {
  TacScrollEngine& e = E();
  if (e.HotWnd != wnd || !wnd) return;
  const bool captured = ::GetCapture() == wnd && e.CapturedPart != spNone;
  if (auto* a = dynamic_cast<TacScrollWnd*>(GetScrollWnd(wnd))) a->ThumbTracking = false;
  e = TacScrollEngine{};
  for (UINT_PTR id : {kHoverTimer, kRepeatDelayTimer, kRepeatTimer}) ::KillTimer(wnd, id);
  if (captured) ::ReleaseCapture();  // the state is clear: WM_CAPTURECHANGED finds nothing
}

// ---------------------------------------------------------------- messages

void TacScrollWnd::OnNcMouseMove(TMessage& message) {
  TacScrollEngine& e = E();
  if (e.HotWnd != CtrlHandle && e.HotWnd) ResetScrollEngineHover(e.HotWnd);
  e.HotWnd = CtrlHandle;
  int bar = message.WParam == HTHSCROLL ? SB_HORZ : message.WParam == HTVSCROLL ? SB_VERT : -1;
  if (bar >= 0 && e.HotBar != bar) {
    e.LastHotPart = spNone;
    e.HotPart = spNone;
    e.HotRect = GetBarRect(this, BarOf(this, bar));
    e.HotBar = bar;
    e.HoverTimer = ::SetTimer(CtrlHandle, kHoverTimer, kHoverInterval, nullptr);
    PaintScrollBars(this, CtrlHandle, nullptr, -1);
  }
  PassOn(message);
}

void TacScrollWnd::OnNcLButtonDown(TMessage& message) {
  if (message.WParam != HTHSCROLL && message.WParam != HTVSCROLL) {
    PassOn(message);
    return;
  }
  TacScrollEngine& e = E();
  if (e.HotWnd && e.HotWnd != CtrlHandle) ResetScrollEngine(e.HotWnd);
  const int barType = message.WParam == HTHSCROLL ? SB_HORZ : SB_VERT;
  TacScrollBar* bar = BarOf(this, barType);
  ::GetScrollInfo(CtrlHandle, bar->BarType, &bar->ScrollInfo);
  const TRect r = GetBarRect(this, bar);
  const TPoint p = MessagePoint(message.LParam);
  e.HotWnd = CtrlHandle;
  e.ScrollMsg = barType == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
  e.CapturedBar = barType;
  e.CapturedPart = GetScrollPart(bar, r, p);
  const bool active = IsScrollBarActive(CtrlHandle, bar->BarType);
  if (e.CapturedPart >= spFirstArrow && e.CapturedPart <= spTrackAfter) {
    if (active) {
      e.CapturedHit = e.CapturedPart;
      RepaintBar(this, bar, e.CapturedHit);
      SendScrollMessage(CtrlHandle, e.ScrollMsg, e.CapturedPart, 0);
      if (Destroyed) return;  // the window went while it scrolled
      e.CapturedHit = e.CapturedPart;
      e.RepeatTimer = ::SetTimer(CtrlHandle, kRepeatDelayTimer, kRepeatDelay, nullptr);
    }
  } else if (e.CapturedPart == spThumb) {
    if (active) {
      const int arrow = GetScrollMetric(bar, false, false);
      TacThumb t = CalcThumb(bar, StartOf(bar, r), EndOf(bar, r), arrow);
      e.DragThumbSize = t.Size;
      e.DragThumbPos = t.Start;
      e.TrackRect = r;
      ThumbTracking = true;
      bar->ScrollInfo.nTrackPos = bar->ScrollInfo.nPos;
      e.GrabOffset = Along(bar, p) - e.DragThumbPos;
      e.TrackPos = bar->ScrollInfo.nPos;
      RepaintBar(this, bar, spThumb, t.Start - StartOf(bar, r));
    }
  } else {
    PassOn(message);
    return;
  }
  if (e.CapturedPart != spNone) ::SetCapture(CtrlHandle);
  message.Result = 0;
}

void TacScrollWnd::OnMouseMove(TMessage& message) {
  if (!Captures(this)) {
    TacMainWnd::WndProc(message);  // the hot-control tracking, then passed on
    return;
  }
  TPoint p = MessagePoint(message.LParam);
  ::ClientToScreen(CtrlHandle, &p);
  if (ThumbTracking)
    DragStep(this, p);
  else
    CapturedMove(this, p);
  message.Result = 0;
}

void TacScrollWnd::OnLButtonUp(TMessage& message) {
  if (Captures(this)) {
    EndTrack(this, true);
    if (Destroyed) return;
  }
  PassOn(message);
}

void TacScrollWnd::OnCaptureChanged(TMessage& message) {
  // Capture taken away (another window, a menu, a dialog): the press ends
  // as if released, so no auto-repeat outlives it.
  if (Captures(this) && reinterpret_cast<HWND>(message.LParam) != CtrlHandle) {
    EndTrack(this, false);
    if (Destroyed) return;
  }
  PassOn(message);
}

void TacScrollWnd::OnTimer(TMessage& message) {
  TacScrollEngine& e = E();
  const bool engineRunning = e.HotWnd == CtrlHandle && (e.RepeatTimer || e.HoverTimer);
  if (!engineRunning) {
    PassOn(message);
    if (Destroyed) return;
  }
  switch (message.WParam) {
    case kHoverTimer:
      OnHoverTick();
      break;
    case kRepeatDelayTimer:
      ::KillTimer(CtrlHandle, kRepeatDelayTimer);
      if (Captures(this))
        e.RepeatTimer = ::SetTimer(CtrlHandle, kRepeatTimer, kRepeatInterval, nullptr);
      message.Result = 0;
      break;
    case kRepeatTimer:
      if (Captures(this)) {
        TPoint p{};
        ::GetCursorPos(&p);
        CapturedMove(this, p);
        if (e.CapturedHit != spNone) SendEngineScroll(this, e.CapturedHit, 0);
      } else {
        ::KillTimer(CtrlHandle, kRepeatTimer);
      }
      message.Result = 0;
      break;
    default:
      if (engineRunning) PassOn(message);
      break;
  }
  if (!Destroyed && !Scrolling && !ThumbTracking) UpdateScrolls(this, true);
}

void TacScrollWnd::OnHoverTick() {
  TacScrollEngine& e = E();
  if (ThumbTracking) return;
  if (e.HotWnd != CtrlHandle || e.HotBar < 0) {
    ::KillTimer(CtrlHandle, kHoverTimer);
    return;
  }
  TPoint p{};
  ::GetCursorPos(&p);
  if (::PtInRect(&e.HotRect, p)) {
    TacScrollBar* bar = BarOf(this, e.HotBar);
    e.HotPart = GetScrollPart(bar, e.HotRect, p);
    if (e.HotPart != e.LastHotPart)
      RepaintBar(this, bar, e.CapturedBar == e.HotBar ? e.CapturedHit : spNone);
    e.LastHotPart = e.HotPart;
    return;
  }
  ResetScrollEngineHover(CtrlHandle);
  PaintScrollBars(this, CtrlHandle, nullptr, -1);
}

void ResetScrollEngineHover(HWND wnd) {
  TacScrollEngine& e = E();
  if (e.HoverTimer) ::KillTimer(wnd, kHoverTimer);
  e.HoverTimer = 0;
  e.HotBar = e.LastHotPart = e.HotPart = spNone;
}
