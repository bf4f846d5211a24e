// TWinControl's message handling: reflection to children, mouse forwarding
// to graphic children, mouse enter/leave tracking, keys, painting.
#include <windowsx.h>

#include "framework/Controls.h"
#include "framework/Forms.h"

namespace {

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK; }

// A typed character that the focused window does not take as text (a
// button, a check box) is offered to the form's accelerators, so "&Letter"
// captions answer the bare letter as they do in a dialog.
bool OfferDialogChar(TWinControl* self, wchar_t ch, LPARAM keyData) {
  if (ch < L' ' || !self->HandleAllocated()) return false;
  MSG msg{self->WindowHandle(), WM_CHAR, ch, keyData, 0, {}};
  const LRESULT code =
      ::SendMessageW(self->WindowHandle(), WM_GETDLGCODE, ch, reinterpret_cast<LPARAM>(&msg));
  if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  TWinControl* form = self->GetParentForm();
  return form && form->Perform(CM_DIALOGCHAR, ch, keyData) != 0;
}

// The child window a reflected message concerns.
HWND ReflectionTarget(const TMessage& m, HWND self) {
  switch (m.Msg) {
    case WM_COMMAND:
      return reinterpret_cast<HWND>(m.LParam);
    case WM_NOTIFY:
      return m.LParam ? reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      return d && d->CtlType != ODT_MENU ? d->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      return mi && mi->CtlType != ODT_MENU ? GetDlgItem(self, static_cast<int>(mi->CtlID)) : nullptr;
    }
    case WM_DELETEITEM: {
      auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam);
      return d ? d->hwndItem : nullptr;
    }
    case WM_COMPAREITEM: {
      auto* c = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam);
      return c ? c->hwndItem : nullptr;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM: case WM_VKEYTOITEM:
      return reinterpret_cast<HWND>(m.LParam);
  }
  return nullptr;
}

}  // namespace

bool IsReflectedMessage(UINT msg) {
  switch (msg) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM:
    case WM_DELETEITEM: case WM_COMPAREITEM: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM: case WM_VKEYTOITEM:
      return true;
  }
  return false;
}

bool TWinControl::ReflectToChild(TMessage& message) {
  HWND target = ReflectionTarget(message, handle_);
  if (!target || target == handle_) return false;
  TWinControl* child = FindControl(target);
  if (!child) return false;
  message.Result = child->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
  return true;
}

bool TWinControl::ForwardMouseToGraphicChild(TMessage& message) {
  POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TControl* target = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture && capture->Parent() == this) {
    target = capture;
  } else if (!capture) {
    target = ControlAtPos(p, false);
  }
  if (!target) return false;
  TMessage m = message;
  m.LParam = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  target->Dispatch(m);
  message.Result = m.Result;
  return true;
}

void TWinControl::TrackMouse(TMessage& message) {
  if (message.Msg == WM_MOUSEMOVE) {
    if (!trackingLeave_) {
      TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
      trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
    }
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TControl* c = ControlAtPos(p, true);
    SetMouseControl(c ? c : this);
  } else if (message.Msg == WM_MOUSELEAVE) {
    trackingLeave_ = false;
    POINT cursor;
    GetCursorPos(&cursor);
    TControl* now = FindDragTarget(cursor, true);
    // Entering one of our own children is not leaving: the child's own
    // WM_MOUSEMOVE takes over.
    SetMouseControl(now);
  }
}

void TWinControl::WndProc(TMessage& message) {
  if (IsReflectedMessage(message.Msg) && ReflectToChild(message)) return;
  if (IsMouseMessage(message.Msg) || message.Msg == WM_MOUSELEAVE) {
    if (handle_) {
      TrackMouse(message);
      HintMouseMessage(message);
    }
    if (message.Msg == WM_MOUSELEAVE) {
      DefaultHandler(message);
      return;
    }
    if (ForwardMouseToGraphicChild(message)) return;
  }
  switch (message.Msg) {
    case WM_PAINT:
      if (defWndProc_ == DefWindowProcW) {
        PaintHandler(message);
        return;
      }
      break;
    case WM_PRINTCLIENT:
      if (defWndProc_ == DefWindowProcW) {
        TMessage m{WM_PAINT, message.WParam, 0, 0};
        PaintHandler(m);
        return;
      }
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(message);
      return;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(message);
      return;
    case WM_SETREDRAW:
      WMSetRedraw(message);
      return;
    case WM_SHOWWINDOW:
      DefaultHandler(message);
      if (!Parent()) {
        // A top-level window the system shows or hides by itself (with its
        // owner, or through ShowWindow from outside): showing follows it.
        bool showing = message.WParam != 0;
        if (showing != IsShowing()) {
          showing_ = showing;
          Perform(CM_SHOWINGCHANGED);
          for (int i = 0; i < ControlCount(); ++i)
            if (auto* w = dynamic_cast<TWinControl*>(Controls(i))) w->UpdateShowing();
        }
      }
      return;
    case WM_SETFOCUS:
      if (TCustomForm* form = dynamic_cast<TCustomForm*>(GetParentForm())) {
        if (form != this) form->FocusChanged(this);
        // The form hears of every focus change, its own included.
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
      }
      Perform(CM_ENTER);
      break;
    case CM_CONTROLLISTCHANGE:
      // Every container up to the form hears of a control coming or going.
      if (Parent()) Parent()->Perform(message.Msg, message.WParam, message.LParam);
      return;
    case WM_MOUSEWHEEL:
      // Asked first, so skinned scrolling can take the wheel; otherwise the
      // system passes it on to the parent.
      if (Perform(CM_MOUSEWHEEL, message.WParam, message.LParam) != 0) {
        message.Result = 0;
        return;
      }
      break;
    case WM_SYSCHAR:
      // Alt+letter: the form offers it to the accelerators of its controls.
      if (TWinControl* form = GetParentForm();
          form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) {
        message.Result = 0;
        return;
      }
      break;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY:
      OfferToControls(message);
      return;
    case WM_KILLFOCUS:
      Perform(CM_EXIT);
      break;
    case CM_ENTER:
      if (OnEnter) OnEnter(this);
      return;
    case CM_EXIT:
      if (OnExit) OnExit(this);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(message.WParam);
      KeyDown(key, KeyDataToShiftState(message.LParam));
      if (key == 0) return;
      message.WParam = key;
      if (message.Msg == WM_KEYDOWN && OfferDialogKey(key, message.LParam)) {
        message.Result = 0;
        return;
      }
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(message.WParam);
      KeyUp(key, KeyDataToShiftState(message.LParam));
      if (key == 0) return;
      message.WParam = key;
      break;
    }
    case WM_CHAR: {
      wchar_t ch = static_cast<wchar_t>(message.WParam);
      KeyPress(ch);
      if (ch == 0) return;
      message.WParam = ch;
      if (OfferDialogChar(this, ch, message.LParam)) {
        message.Result = 0;
        return;
      }
      break;
    }
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled());
      return;
    case CM_VISIBLECHANGED:
      if (handle_) UpdateShowing();
      else if (Parent() && Parent()->HandleAllocated() && !WindowDeferred()) CreateHandle();  // a deferred window
      return;
    case CM_SHOWINGCHANGED:
      SyncWindowVisibility();
      return;
    case CM_FONTCHANGED:
      if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
      for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED);
      Invalidate();
      return;
    case CM_COLORCHANGED:
      brush_->SetColor(Color());
      for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTCOLORCHANGED);
      Invalidate();
      return;
    case CN_CTLCOLORBTN: case CN_CTLCOLOREDIT: case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC: case CN_CTLCOLORSCROLLBAR: case CN_CTLCOLORDLG: {
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      SetTextColor(dc, ColorToRGB(Font()->Color()));
      SetBkColor(dc, ColorToRGB(Color()));
      brush_->SetColor(Color());
      message.Result = reinterpret_cast<LRESULT>(brush_->Handle());
      return;
    }
    case WM_SIZE:
      DefaultHandler(message);
      Realign();
      return;
    case WM_CONTEXTMENU:
      if (WMContextMenu(message)) return;
      break;
  }
  TControl::WndProc(message);
}

// The context menu of the control under the mouse (a graphic child of ours
// or we ourselves); when neither takes it, the default procedure passes the
// message on to the parent window.
bool TWinControl::WMContextMenu(TMessage& message) {
  POINT screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TControl* target = this;
  if (!(screen.x == -1 && screen.y == -1))
    if (TControl* child = ControlAtPos(ScreenToClient(screen), false)) target = child;
  if (target != this && target->DoContextPopup(screen)) return true;
  return DoContextPopup(screen);
}

// An accelerator character or a dialog key goes to each control in turn
// until one takes it.
void TWinControl::OfferToControls(TMessage& message) {
  message.Result = 0;
  for (int i = 0; i < ControlCount() && message.Result == 0; ++i)
    message.Result = Controls(i)->Perform(message.Msg, message.WParam, message.LParam);
}

// Enter and Esc that the focused control neither handled nor wants go to
// the form, whose default or cancel button may take them.
bool TWinControl::OfferDialogKey(WORD key, LPARAM keyData) {
  if (key != VK_RETURN && key != VK_ESCAPE) return false;
  if (handle_) {
    MSG msg{handle_, WM_KEYDOWN, key, keyData, 0, {}};
    const LRESULT code = ::SendMessageW(handle_, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  }
  TWinControl* form = GetParentForm();
  return form && form->Perform(CM_DIALOGKEY, key, keyData) != 0;
}

// Switching drawing off throws away what the window and its children still
// had to paint (a row a list invalidated just before would never show): it
// is kept and invalidated again when drawing comes back on.
void TWinControl::WMSetRedraw(TMessage& message) {
  if (!handle_) return DefaultHandler(message);
  if (message.WParam) {
    DefaultHandler(message);
    pendingPaints_.Restore();
    return;
  }
  pendingPaints_.Keep(handle_);
  DefaultHandler(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!handle_) {
    TControl::DefaultHandler(message);
    return;
  }
  // Messages of the framework's own range are ours alone: a system control
  // must not see them (nor its default procedure answer for us).
  if (message.Msg >= CM_BASE && message.Msg < CN_BASE + 0x400) {
    // An unhandled reflection the framework sent: let the system do what
    // the parent would. Any other message of the range (a private message
    // of the skin, say) is no system message in disguise and ends here.
    if (message.Msg >= CN_BASE && IsReflectedMessage(message.Msg - CN_BASE))
      message.Result = DefWindowProcW(handle_, message.Msg - CN_BASE, message.WParam, message.LParam);
    return;
  }
  message.Result = CallDefWndProc(message.Msg, message.WParam, message.LParam);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  canvas_->Lock();
  canvas_->SetHandle(dc);
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  try {
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}
