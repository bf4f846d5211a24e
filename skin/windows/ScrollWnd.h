// TacScrollWnd: a window adapter that draws the window's standard scroll
// bars itself. Ranges, pages and positions stay with the system
// (GetScrollInfo); the adapter takes the bars' room out of the client area,
// paints them from the skin, hit-tests and tracks them, and sends the window
// its WM_HSCROLL / WM_VSCROLL, each bracketed by AC_BEFORESCROLL and
// AC_AFTERSCROLL. The engine's entry points for skinned controls are here.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/windows/MainWnd.h"

class TacScrollWnd;

// Part codes (they double as the scroll codes the engine sends).
inline constexpr int spNone = -1;
inline constexpr int spFirstArrow = 0;   // SB_LINEUP / SB_LINELEFT
inline constexpr int spSecondArrow = 1;  // SB_LINEDOWN / SB_LINERIGHT
inline constexpr int spTrackBefore = 2;  // SB_PAGEUP
inline constexpr int spTrackAfter = 3;   // SB_PAGEDOWN
inline constexpr int spThumb = 5;        // SB_THUMBTRACK

// One bar of an adapted window, as the engine last read and measured it.
class TacScrollBar : public TObject {
 public:
  WORD Flags = 0;           // 8 when the window style has this bar
  bool Visible = false;     // takes room in the non-client area
  SCROLLINFO ScrollInfo{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  int ArrowLength = -1;     // negative n: n times the default length
  int Thickness = -1;       // negative n: n times the system metric
  WORD BarType = SB_HORZ;
  int MinThumb = 10;
  TacScrollWnd* Owner = nullptr;
};

class TacScrollWnd : public TacMainWnd {
 public:
  ~TacScrollWnd() override;
  void WndProc(TMessage& message) override;
  // Also ends the engine's hover, press or drag on this window.
  void Unhook(bool repaint) override;

  std::unique_ptr<TacScrollBar> HBar;
  std::unique_ptr<TacScrollBar> VBar;
  bool ThumbTracking = false;
  bool LeftScrollBar = false;
  int LeftEdge = 0, RightEdge = 0, TopEdge = 0, BottomEdge = 0;
  bool PreventStyleChange = false;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;
  void Attach(bool repaint) override;

 private:
  bool HandleSkinCmd(TMessage& message);
  void OnNcCalcSize(TMessage& message);
  void OnNcPaint(TMessage& message);
  void OnNcHitTest(TMessage& message);
  void OnNcMouseMove(TMessage& message);
  void OnNcLButtonDown(TMessage& message);
  void OnNcOtherButton(TMessage& message);
  void OnMouseMove(TMessage& message);
  void OnLButtonUp(TMessage& message);
  void OnTimer(TMessage& message);
  void OnHoverTick();
  void OnCaptureChanged(TMessage& message);
  void OnStyleChanged(TMessage& message);
};

using TacScrollWndPtr = std::unique_ptr<TacScrollWnd, TacMainWnd::Deleter>;

// ---- set-up and tear-down ----
void InitScrollBars(TacScrollWnd* adapter, HWND wnd, bool repaint);
// UnhookWindow that also frees the bars.
void UninitScrollWnd(HWND wnd, bool freeAdapter, bool repaint, TacScrollWndPtr& adapter);
// Re-reads both bars from the system; with Repaint paints them.
void UpdateScrolls(TacScrollWnd* adapter, bool repaint);
// Gives a skinned owner control its scroll adapter, or takes it away when
// the control is not skinned (the platform's flat scroll bars then).
void RefreshScrollWnd(TsCommonData* skinData, TacScrollWndPtr& adapter);
TacScrollBar* GetScrollBar(HWND wnd, WORD bar);
inline int MinThumbSize() { return 10; }
bool SetMinThumbSize(HWND wnd, WORD bar, int size);

// ---- geometry (screen coordinates) ----
int GetScrollMetric(const TacScrollBar* bar, bool thickness, bool skinned);
void GetHScrollRect(TacScrollWnd* adapter, HWND wnd, TRect& r);
void GetVScrollRect(TacScrollWnd* adapter, HWND wnd, TRect& r);
TRect GetBarRect(TacScrollWnd* adapter, const TacScrollBar* bar);
// Thumb start and size along a bar from Start to End with arrow length A.
struct TacThumb {
  int Start = 0;
  int Size = 0;
};
TacThumb CalcThumb(const TacScrollBar* bar, int start, int end, int arrow);
// The part of the bar (rectangle R) under P, or spNone.
int GetScrollPart(const TacScrollBar* bar, const TRect& r, TPoint p);
// The bar is usable (GetScrollBarInfo succeeds and it is not unavailable).
bool IsScrollBarActive(HWND wnd, WORD bar);
// The corner box between two bars is a size grip for the parent.
bool IsGripCorner(TacScrollWnd* adapter, HWND wnd, const TRect& box);

// ---- painting ----
// Paints both bars and the corner box into DC (0: the window's DC).
int PaintScrollBars(TacScrollWnd* adapter, HWND wnd, HDC dc, int hotPart);
// Paints one bar at its place into DC; DragStart >= 0 puts a pressed thumb
// there (a thumb drag in progress).
void PaintBar(TacScrollWnd* adapter, TacScrollBar* bar, HDC dc, int hitPart, int dragStart = -1);

// ---- tracking ----
// The engine's shared state: one bar can be hot and one captured at a time.
struct TacScrollEngine {
  HWND HotWnd = nullptr;
  int HotBar = -1;
  int HotPart = -1;
  int LastHotPart = -1;
  TRect HotRect{};
  UINT_PTR HoverTimer = 0;
  int CapturedBar = -1;
  int CapturedPart = -1;
  int CapturedHit = -1;
  UINT ScrollMsg = 0;
  UINT_PTR RepeatTimer = 0;
  int TrackPos = -1;
  TRect TrackRect{};
  int DragThumbSize = 0;
  int DragThumbPos = 0;
  int GrabOffset = 0;
};
extern TacScrollEngine ScrollEngine;

inline constexpr UINT_PTR kHoverTimer = 65522;
inline constexpr UINT_PTR kRepeatDelayTimer = 65533;
inline constexpr UINT_PTR kRepeatTimer = 65534;
inline constexpr UINT kRepeatDelay = 300;
inline constexpr UINT kRepeatInterval = 55;
inline constexpr UINT kHoverInterval = 20;

void SendScrollMessage(HWND wnd, UINT msg, int code, int pos);
// Ends whatever the engine does with Wnd: timers, capture, hot and captured
// state (the window or its adapter is going).
void ResetScrollEngine(HWND wnd);
// Ends the hover of Wnd only (its timer and the hot bar).
void ResetScrollEngineHover(HWND wnd);
