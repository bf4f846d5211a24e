// TacDialogWnd: hit testing of the caption, the caption buttons' states
// (hot, pressed, released over themselves) and the mouse in the frame.
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/DialogWnd.h"

namespace {

TPoint PointOf(LPARAM l) {
  return TPoint{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

bool Inside(const TRect& r, int x) { return r.right > r.left && x >= r.left && x <= r.right; }

}  // namespace

TsCaptionButton* TacDialogWnd::ButtonOf(int hitCode) {
  switch (hitCode) {
    case HTMINBUTTON: return &MinButton;
    case HTMAXBUTTON: return &MaxButton;
    case HTCLOSE: return &CloseButton;
    case HTHELP: return &HelpButton;
  }
  return nullptr;
}

void TacDialogWnd::SetHotButton(int hitCode, bool repaint) {
  if (hitCode == HotButton) return;
  if (TsCaptionButton* old = ButtonOf(HotButton)) {
    old->State = 0;
    if (repaint) RepaintButton(HotButton);
  }
  HotButton = hitCode;
  ButtonPressed = false;
  if (TsCaptionButton* now = ButtonOf(hitCode)) {
    now->State = 1;
    if (repaint) RepaintButton(hitCode);
  }
}

void TacDialogWnd::PressButton(int hitCode) {
  if (HotButton != hitCode) {
    if (TsCaptionButton* old = ButtonOf(HotButton)) {
      old->State = 0;
      RepaintButton(HotButton);
    }
  }
  HotButton = hitCode;
  TsCaptionButton* b = ButtonOf(hitCode);
  if (!b) return;
  if (hitCode != HTMAXBUTTON || CanMaximize() || (::IsZoomed(CtrlHandle) && CanRestore()))
    b->State = 2;
  ButtonPressed = true;
  RepaintButton(hitCode);
}

void TacDialogWnd::OnNcHitTest(TMessage& message) {
  ::GetWindowRect(CtrlHandle, &DlgRect);
  DlgWidth = DlgRect.right - DlgRect.left;
  DlgHeight = DlgRect.bottom - DlgRect.top;
  const TPoint screen = PointOf(message.LParam);
  const TPoint p{screen.x - DlgRect.left, screen.y - DlgRect.top};
  const int bw = BorderWidth(), bh = BorderHeight(), capH = CaptionHeight();
  const int top = (capH - ButtonHeight(CloseButton) + bh) / 2;
  const int bottom = top + ButtonHeight(CloseButton);
  if (capH != 0 && p.y >= top && p.y <= bottom) {
    if (Icon && p.x >= bw && p.x <= bw + ::GetSystemMetrics(SM_CXSMICON)) {
      SetHotButton(HTSYSMENU, true);
      message.Result = HTSYSMENU;
      return;
    }
    int code = 0;
    if (Inside(CloseButton.R, p.x)) code = HTCLOSE;
    else if (Inside(MaxButton.R, p.x)) code = (CanMaximize() || CanRestore()) ? HTMAXBUTTON : 0;
    else if (Inside(MinButton.R, p.x))
      code = (::IsIconic(CtrlHandle) || CanMinimize()) ? HTMINBUTTON : 0;
    else if (Inside(HelpButton.R, p.x)) code = HTHELP;
    if (code) {
      SetHotButton(code, true);
      message.Result = code;
      return;
    }
  } else if ((Style & WS_THICKFRAME) && p.x >= DlgWidth - bw - ::GetSystemMetrics(SM_CXVSCROLL) &&
             p.y >= DlgHeight - bh - ::GetSystemMetrics(SM_CYHSCROLL) && p.x < DlgWidth &&
             p.y < DlgHeight && Kind() == 3) {
    message.Result = HTBOTTOMRIGHT;
    return;
  }
  if (::IsZoomed(CtrlHandle) &&
      (p.x < 2 || p.y < 2 || p.x > DlgWidth - 4 || p.y > DlgHeight - 4)) {
    SetHotButton(0, true);
    message.Result = HTERROR;
    return;
  }
  TacScrollWnd::WndProc(message);
  if (!Destroyed && !captured_) SetHotButton(0, true);
}

void TacDialogWnd::PopupSystemMenu(int x, int y) {
  SetHotButton(0, true);
  if (!SystemMenu) return;
  UpdateSystemMenu();
  SystemMenu->Popup(x, y);
}

void TacDialogWnd::OnNcLButtonDown(TMessage& message) {
  switch (message.WParam) {
    case HTSYSMENU:
      if (Manager() && Manager()->SkinnedPopups()) {
        PopupSystemMenu(DlgRect.left + BorderWidth(),
                        DlgRect.top + BorderHeight() + ::GetSystemMetrics(SM_CYSMICON));
        return;
      }
      break;
    case HTMINBUTTON: case HTMAXBUTTON: case HTCLOSE: case HTHELP:
      PressButton(static_cast<int>(message.WParam));
      // The release decides; it may come outside the frame.
      ::SetCapture(CtrlHandle);
      captured_ = true;
      message.Result = 0;
      return;
    default:
      if (::IsIconic(CtrlHandle)) {
        ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, 0xF012, 0);
        return;
      }
      SetHotButton(0, true);
      if (::IsZoomed(CtrlHandle)) {
        const TPoint p = PointOf(message.LParam);
        if (p.y - DlgRect.top <= BorderHeight() + CaptionHeight()) {
          if (::GetActiveWindow() != CtrlHandle) ::SetFocus(CtrlHandle);
          return;
        }
      }
  }
  TacScrollWnd::WndProc(message);
}

// A caption button runs only when released over itself; WM_LBUTTONUP of a
// captured press arrives in client coordinates.
void TacDialogWnd::OnButtonUp(TMessage& message) {
  int code = HotButton;
  bool over = false;
  if (TsCaptionButton* b = ButtonOf(code)) {
    POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    if (message.Msg == WM_LBUTTONUP) ::ClientToScreen(CtrlHandle, &p);
    RECT wr{};
    ::GetWindowRect(CtrlHandle, &wr);
    const POINT local{p.x - wr.left, p.y - wr.top};
    over = ::PtInRect(&b->R, local) != FALSE;
  }
  if (!captured_ && message.Msg == WM_LBUTTONUP) return TacScrollWnd::WndProc(message);
  const bool pressed = ButtonPressed && captured_;
  if (captured_) {
    captured_ = false;
    if (::GetCapture() == CtrlHandle) ::ReleaseCapture();
  }
  if (!ButtonOf(code) || !pressed) {
    if (message.Msg == WM_NCLBUTTONUP && !ButtonOf(code)) return TacScrollWnd::WndProc(message);
    SetHotButton(0, true);
    message.Result = 0;
    return;
  }
  ButtonPressed = false;
  SetHotButton(0, true);
  message.Result = 0;
  if (!over) return;
  switch (code) {
    case HTMINBUTTON:
      ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, ::IsIconic(CtrlHandle) ? SC_RESTORE : SC_MINIMIZE, 0);
      break;
    case HTMAXBUTTON:
      if (::IsIconic(CtrlHandle) && !CanMaximize()) break;
      ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, ::IsZoomed(CtrlHandle) ? SC_RESTORE : SC_MAXIMIZE, 0);
      if (!Destroyed) UpdateSystemMenu();
      break;
    case HTCLOSE:
      CloseButton.State = 0;
      ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case HTHELP:
      ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      if (!Destroyed) {
        UpdateSystemMenu();
        ::SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
      }
      break;
  }
}

void TacDialogWnd::OnNcLButtonDblClk(TMessage& message) {
  message.Result = 0;
  if (message.WParam == HTCAPTION) {
    if (!CanMaximize() && !CanRestore()) return;
    ::SendMessageW(CtrlHandle, WM_SYSCOMMAND,
                   (::IsZoomed(CtrlHandle) || ::IsIconic(CtrlHandle)) ? SC_RESTORE : SC_MAXIMIZE, 0);
    if (!Destroyed) UpdateSystemMenu();
  } else if (message.WParam == HTSYSMENU) {
    ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

void TacDialogWnd::OnNcRButton(TMessage& message) {
  const bool caption = message.WParam == HTCAPTION || message.WParam == HTSYSMENU;
  if (message.Msg == WM_NCRBUTTONDOWN) {
    if (caption) {
      message.Result = 0;
      return;
    }
    return TacScrollWnd::WndProc(message);
  }
  message.Result = 0;
  if (caption) {
    const TPoint p = PointOf(message.LParam);
    PopupSystemMenu(p.x, p.y);
  }
}
