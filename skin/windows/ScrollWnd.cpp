// TacScrollWnd's life, its window procedure and the engine's entry points.
#include "skin/windows/ScrollWnd.h"

#include <commctrl.h>

#include "framework/Controls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"

namespace {

void ReadScrollInfo(HWND wnd, TacScrollBar* bar) {
  bar->ScrollInfo.cbSize = sizeof(SCROLLINFO);
  bar->ScrollInfo.fMask = SIF_ALL;
  if (!::GetScrollInfo(wnd, bar->BarType, &bar->ScrollInfo)) {
    bar->ScrollInfo = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  }
}

std::unique_ptr<TacScrollBar> NewBar(TacScrollWnd* owner, WORD type, LONG_PTR style) {
  auto bar = std::make_unique<TacScrollBar>();
  bar->Owner = owner;
  bar->BarType = type;
  bar->Flags = (style & (type == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) ? 8 : 0;
  return bar;
}

}  // namespace

// ---------------------------------------------------------------- life

void TacScrollWnd::Attach(bool repaint) {
  SaveStdProps();
  InitScrollBars(this, CtrlHandle, repaint);
}

TacScrollWnd::~TacScrollWnd() {
  if (!Destroyed) ResetScrollEngine(CtrlHandle);
  HBar.reset();
  VBar.reset();
}

void TacScrollWnd::Unhook(bool repaint) {
  if (Destroyed) return;
  ResetScrollEngine(CtrlHandle);
  TacMainWnd::Unhook(repaint);
}

void InitScrollBars(TacScrollWnd* adapter, HWND wnd, bool repaint) {
  adapter->Scrolling = false;
  adapter->CtrlHandle = wnd;
  const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
  adapter->HBar = NewBar(adapter, SB_HORZ, style);
  adapter->VBar = NewBar(adapter, SB_VERT, style);
  ReadScrollInfo(wnd, adapter->HBar.get());
  ReadScrollInfo(wnd, adapter->VBar.get());
  adapter->LeftScrollBar = (::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  adapter->PreventStyleChange = false;
  HookWindow(adapter, wnd);
  SetMinThumbSize(wnd, SB_BOTH, MinThumbSize());
  if (repaint) RefreshFrame(wnd, true);
}

void UninitScrollWnd(HWND wnd, bool freeAdapter, bool repaint, TacScrollWndPtr& adapter) {
  (void)wnd;
  if (adapter) adapter->Unhook(repaint);
  if (freeAdapter) adapter.reset();
}

void UpdateScrolls(TacScrollWnd* adapter, bool repaint) {
  if (!adapter || !adapter->HBar || !adapter->VBar || adapter->Destroyed) return;
  ReadScrollInfo(adapter->CtrlHandle, adapter->HBar.get());
  ReadScrollInfo(adapter->CtrlHandle, adapter->VBar.get());
  if (repaint) PaintScrollBars(adapter, adapter->CtrlHandle, nullptr, -1);
}

void RefreshScrollWnd(TsCommonData* skinData, TacScrollWndPtr& adapter) {
  auto* control = dynamic_cast<TWinControl*>(skinData ? skinData->OwnerControl : nullptr);
  if (!control || !control->HandleAllocated() ||
      control->HasState(csLoading | csDestroying | csDesigning))
    return;
  HWND wnd = control->WindowHandle();
  if (skinData->Skinned(false)) {
    ::UninitializeFlatSB(wnd);
    if (adapter && adapter->Destroyed) adapter.reset();
    if (!adapter)
      adapter = TacMainWnd::Create<TacScrollWnd>(wnd, skinData, skinData->GetSkinManager(), L"",
                                                 true);
  } else {
    adapter.reset();
    ::InitializeFlatSB(wnd);
  }
}

TacScrollBar* GetScrollBar(HWND wnd, WORD bar) {
  auto* adapter = dynamic_cast<TacScrollWnd*>(GetScrollWnd(wnd));
  if (!adapter) return nullptr;
  if (bar == SB_HORZ) return adapter->HBar.get();
  if (bar == SB_VERT) return adapter->VBar.get();
  return nullptr;
}

bool SetMinThumbSize(HWND wnd, WORD bar, int size) {
  auto* adapter = dynamic_cast<TacScrollWnd*>(GetScrollWnd(wnd));
  if (!adapter) return false;
  const int value = size & 0xFFFF;
  if ((bar == SB_HORZ || bar == SB_BOTH) && adapter->HBar) adapter->HBar->MinThumb = value;
  if ((bar == SB_VERT || bar == SB_BOTH) && adapter->VBar) adapter->VBar->MinThumb = value;
  return true;
}

// ---------------------------------------------------------------- messages

void TacScrollWnd::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      // The bars stay until the adapter goes: a step of ours that is
      // still running below this message may hold one of them.
      Unhook(false);
      PassOn(message);
      return;
    case WM_UPDATEUISTATE:
      return;
  }
  if (Destroyed || !SkinData || !SkinData->Skinned(false) || !HBar || !VBar) {
    PassOn(message);
    return;
  }
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (HandleSkinCmd(message)) return;
      break;
    case WM_NCCALCSIZE: return OnNcCalcSize(message);
    case WM_NCPAINT: return OnNcPaint(message);
    case WM_NCHITTEST: return OnNcHitTest(message);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(message);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDown(message);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP: return OnNcOtherButton(message);
    case WM_MOUSEMOVE: return OnMouseMove(message);
    case WM_LBUTTONUP: return OnLButtonUp(message);
    case WM_CAPTURECHANGED: return OnCaptureChanged(message);
    case WM_TIMER: return OnTimer(message);
    case WM_STYLECHANGED: return OnStyleChanged(message);
    case WM_SYSCOMMAND:
      if ((message.WParam & 0xFFFF) == 0xF077) return;
      break;
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      PassOn(message);
      if (!Scrolling) UpdateScrolls(this, true);
      return;
    case CM_FOCUSCHANGED:
      PassOn(message);
      UpdateScrolls(this, true);
      return;
  }
  PassOn(message);
}

bool TacScrollWnd::HandleSkinCmd(TMessage& message) {
  const bool ours = message.LParam == reinterpret_cast<LPARAM>(SkinData->GetSkinManager());
  switch (SkinCmdOf(message)) {
    case AC_SETNEWSKIN:
      if (ours) SkinData->UpdateIndexes();
      break;
    case AC_REMOVESKIN:
      if (ours) RestoreStdProps();
      break;
    case AC_REFRESH:
      if (ours) {
        SkinData->UpdateIndexes();
        SkinData->BGChanged = true;
      }
      break;
    case AC_GETCACHE:
      ReplyCache();
      break;
    case AC_ENDPARENTUPDATE:
      EndParentUpdate(RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      break;
    case AC_CTRLHANDLED:
      AnswerHandled(message);
      return true;
  }
  return false;
}

void TacScrollWnd::OnNcCalcSize(TMessage& message) {
  auto* rect = reinterpret_cast<RECT*>(message.LParam);  // first of NCCALCSIZE_PARAMS too
  const RECT old = *rect;
  const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  if (style & (WS_HSCROLL | WS_VSCROLL)) {
    // The system must not reserve room for bars it no longer paints.
    PreventStyleChange = true;
    ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
    PassOn(message);
    ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style);
    PreventStyleChange = false;
  } else {
    PassOn(message);
  }
  RECT& now = *rect;
  LeftEdge = now.left - old.left;
  RightEdge = old.right - now.right;
  TopEdge = now.top - old.top;
  BottomEdge = old.bottom - now.bottom;
  HBar->Flags = (style & WS_HSCROLL) ? 8 : 0;
  const int hThick = GetScrollMetric(HBar.get(), true, false);
  HBar->Visible = (style & WS_HSCROLL) && hThick <= now.bottom - now.top;
  if (HBar->Visible) now.bottom -= hThick;
  VBar->Flags = (style & WS_VSCROLL) ? 8 : 0;
  const int vThick = GetScrollMetric(VBar.get(), true, false);
  VBar->Visible = (style & WS_VSCROLL) && vThick <= now.right - now.left;
  if (VBar->Visible) {
    if (LeftScrollBar)
      now.left += vThick;
    else
      now.right -= vThick;
  }
}

void TacScrollWnd::OnNcPaint(TMessage& message) {
  // The system paints its own frame (and, under some platforms, its own
  // bars) first; the skinned bars go on top of that.
  PassOn(message);
  if (!::IsWindowVisible(CtrlHandle)) return;
  SkinData->SetUpdating(SkinData->GetUpdating());
  if (!SkinData->Updating && !Scrolling) PaintScrollBars(this, CtrlHandle, nullptr, -1);
}

void TacScrollWnd::OnNcHitTest(TMessage& message) {
  const TPoint p{static_cast<short>(LOWORD(message.LParam)),
                 static_cast<short>(HIWORD(message.LParam))};
  TRect h{}, v{};
  GetHScrollRect(this, CtrlHandle, h);
  GetVScrollRect(this, CtrlHandle, v);
  if (HBar->Visible && ::PtInRect(&h, p)) {
    message.Result = IsScrollBarActive(CtrlHandle, SB_HORZ) ? HTHSCROLL : HTNOWHERE;
    return;
  }
  if (VBar->Visible && ::PtInRect(&v, p)) {
    message.Result = IsScrollBarActive(CtrlHandle, SB_VERT) ? HTVSCROLL : HTNOWHERE;
    return;
  }
  if (HBar->Visible && VBar->Visible) {
    TRect box{LeftScrollBar ? v.left : h.right, h.top, LeftScrollBar ? v.right : v.right,
              h.bottom};
    if (::PtInRect(&box, p) && IsGripCorner(this, CtrlHandle, box)) {
      message.Result = HTBOTTOMRIGHT;
      return;
    }
  }
  PassOn(message);
}

void TacScrollWnd::OnNcOtherButton(TMessage& message) {
  if (message.WParam == HTHSCROLL || message.WParam == HTVSCROLL) {
    message.Result = 0;
    return;
  }
  PassOn(message);
}

void TacScrollWnd::OnStyleChanged(TMessage& message) {
  if (PreventStyleChange) {
    message.Result = 0;
    return;
  }
  if (message.WParam == static_cast<WPARAM>(GWL_EXSTYLE)) {
    const auto* ss = reinterpret_cast<const STYLESTRUCT*>(message.LParam);
    LeftScrollBar = (ss->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
  }
  PassOn(message);
}
