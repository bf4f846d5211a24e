#include "framework/Forms.h"

#include <algorithm>

#include "framework/SysUtils.h"

// ---------------------------------------------------------------- scrolling containers

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

// ---------------------------------------------------------------- frames

TCustomFrame::TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  // Controls the derived constructor builds are "loading" until it is done.
  SetComponentState(csLoading);
  SetBounds(0, 0, 320, 240);
}

void TCustomFrame::AfterConstruction() {
  TScrollingWinControl::AfterConstruction();
  LoadedTree();
}

// ---------------------------------------------------------------- forms

TCustomForm::TCustomForm(TComponent* AOwner)
    : TScrollingWinControl(AOwner),
      canvas_(std::make_unique<TControlCanvas>(this)),
      icon_(std::make_unique<TIcon>()) {
  icon_->OnChange = [this](TObject*) { IconChanged(); };
  SetComponentState(csLoading);
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
  // The window outlives our members: it must not keep an icon we destroy.
  if (HandleAllocated() && !icon_->Empty()) {
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, 0);
    SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, 0);
  }
  if (Application) Application->FormDestroyed(this);
  if (Screen) {
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  }
}

void TCustomForm::AfterConstruction() {
  TScrollingWinControl::AfterConstruction();
  LoadedTree();
  if (!windowOnDemand_ || Visible()) HandleNeeded();
  DoCreate();
  if (Visible()) Show();
}

void TCustomForm::DoCreate() {
  if (!OnCreate) return;
  // A failing creation handler is reported; the form still opens.
  try {
    OnCreate(this);
  } catch (...) {
    if (Application) Application->HandleException(this, std::current_exception());
  }
}

DWORD TCustomForm::FrameStyle() const {
  DWORD style = 0;
  switch (borderStyle_) {
    case bsNone: style = WS_POPUP; break;
    case bsSingle: case bsToolWindow: style = WS_CAPTION | WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: style = WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style = WS_POPUP | WS_CAPTION | DS_MODALFRAME; break;
  }
  if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
    style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_ & biMinimize) style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD TCustomForm::FrameExStyle() const {
  DWORD ex = 0;
  if (borderStyle_ == bsDialog) ex |= WS_EX_DLGMODALFRAME;
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) ex |= WS_EX_TOOLWINDOW;
  if (formStyle_ == fsStayOnTop) ex |= WS_EX_TOPMOST;
  return ex;
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.ExStyle |= WS_EX_CONTROLPARENT;
  if (Parent()) return;  // a form placed inside another control stays a child
  if (formStyle_ == fsMDIChild) return CreateMDIChildParams(params);
  params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | FrameStyle();
  if (!Enabled()) params.Style |= WS_DISABLED;
  params.ExStyle |= FrameExStyle();
  params.WindowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  params.WndParent = nullptr;
  if (Application) {
    bool mainOnTaskBar = Application->MainFormOnTaskBar;
    if (Application->MainForm() == this && mainOnTaskBar) {
      params.ExStyle |= WS_EX_APPWINDOW;
    } else if (mainOnTaskBar && Application->MainForm() && Application->MainForm() != this &&
               Application->MainForm()->HandleAllocated()) {
      params.WndParent = Application->MainForm()->Handle();
    } else {
      params.WndParent = Application->Handle();
    }
  }
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  if (formStyle_ == fsMDIForm && !Parent()) CreateMDIClient();
  if (!icon_->Empty()) IconChanged();
}

void TCustomForm::IconChanged() {
  if (!HandleAllocated()) return;
  const auto icon = reinterpret_cast<LPARAM>(icon_->Handle());
  SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, icon);
  SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, icon);
}

void TCustomForm::PaintWindow(HDC dc) {
  TScrollingWinControl::PaintWindow(dc);
  PaintOn(dc);
}

void TCustomForm::PaintOn(HDC dc) {
  if (!OnPaint || !dc) return;
  canvas_->Lock();
  // A DC the canvas took for drawing outside a paint stays its own.
  HDC held = canvas_->HandleAllocated() ? canvas_->Handle() : nullptr;
  canvas_->SetHandle(dc);
  try {
    OnPaint(this);
  } catch (...) {
    canvas_->SetHandle(held);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(held);
  canvas_->Unlock();
}

void TCustomForm::CreateWindowState() {
  // An MDI child is made maximized through its style.
  if (formStyle_ == fsMDIChild && !Parent()) {
    if (windowState_ == wsMinimized) SetMDIChildState(wsMinimized);
    return;
  }
  if (windowState_ == wsMaximized) ShowWindow(WindowHandle(), SW_MAXIMIZE);
}

RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TScrollingWinControl::ClientRect();
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, FrameStyle(), FALSE, FrameExStyle());
  return RECT{0, 0, std::max(0L, Width() - (frame.right - frame.left)),
              std::max(0L, Height() - (frame.bottom - frame.top))};
}

void TCustomForm::SetClientWidth(int v) { SetWidth(Width() - ClientWidth() + v); }
void TCustomForm::SetClientHeight(int v) { SetHeight(Height() - ClientHeight() + v); }

void TCustomForm::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == borderIcons_) return;
  borderIcons_ = v;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (v == formStyle_) return;
  formStyle_ = v;
  // An MDI child is shown as soon as it is made.
  if (v == fsMDIChild && !HandleAllocated()) SetVisible(true);
  if (HandleAllocated())
    SetWindowPos(WindowHandle(), v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
  if (!HandleAllocated()) return windowState_;
  if (IsIconic(WindowHandle())) return wsMinimized;
  if (IsZoomed(WindowHandle())) return wsMaximized;
  return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState v) {
  windowState_ = v;
  if (formStyle_ == fsMDIChild && !Parent() && HandleAllocated())
    return SetMDIChildState(v);
  if (HandleAllocated() && Visible())
    ShowWindow(WindowHandle(), v == wsMinimized ? SW_MINIMIZE : v == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control && Visible() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::FocusChanged(TWinControl* control) { activeControl_ = control; }

bool TCustomForm::Active() const {
  return HandleAllocated() && GetActiveWindow() == WindowHandle();
}

void TCustomForm::SetPositionOnShow() {
  if (positioned_ || Parent()) return;
  positioned_ = true;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = Left(), y = Top();
  auto centerIn = [&](const RECT& r) {
    x = r.left + ((r.right - r.left) - Width()) / 2;
    y = r.top + ((r.bottom - r.top) - Height()) / 2;
  };
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      centerIn(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
      break;
    case poMainFormCenter:
    case poOwnerFormCenter:
      if (Application && Application->MainForm() && Application->MainForm() != this)
        centerIn(Application->MainForm()->BoundsRect());
      else
        centerIn(work);
      break;
    default:
      return;
  }
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TCustomForm::Show() {
  SetPositionOnShow();
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::BringToFront() {
  if (formStyle_ == fsMDIChild && HandleAllocated() && !Parent())
    ::SendMessageW(::GetParent(WindowHandle()), WM_MDIACTIVATE,
                   reinterpret_cast<WPARAM>(WindowHandle()), 0);
  else if (HandleAllocated() && !Parent()) SetForegroundWindow(WindowHandle());
  else TScrollingWinControl::BringToFront();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  // An MDI child cannot hide: it goes to an icon when it may.
  if (formStyle_ == fsMDIChild) action = (borderIcons_ & biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) Application->Terminate();
  else if (action == caHide) Hide();
  else if (action == caMinimize) SetWindowState(wsMinimized);
  else Release();
}

void TCustomForm::Release() {
  // Freed by the application once the current message has unwound.
  if (Application) Application->ReleaseLater(this);
}

namespace {
struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND wnd, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  if (wnd != d->except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    d->list.push_back(wnd);
    EnableWindow(wnd, FALSE);
  }
  return TRUE;
}
}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation(L"Cannot make a visible window modal");
  HandleNeeded();
  DisabledWindows disabled{WindowHandle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  HWND previousActive = GetActiveWindow();
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  try {
    while (Application && !Application->Terminated()) {
      if (modalResult_ != mrNone) {
        TCloseAction action = caHide;
        if (!CloseQuery()) action = caNone;
        else DoClose(action);
        if (action != caNone) break;
        modalResult_ = mrNone;
      }
      Application->HandleMessage();
    }
  } catch (...) {
    modal_ = false;
    for (HWND w : disabled.list) EnableWindow(w, TRUE);
    throw;
  }
  if (Application && Application->Terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
  for (HWND w : disabled.list) EnableWindow(w, TRUE);
  if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  Hide();
  modal_ = false;
  return modalResult_;
}

void TCustomForm::WMClose(TMessage& message) {
  message.Result = 0;
  Close();
}

void TCustomForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_VISIBLECHANGED:
      // Making the window shows it (and runs the showing handlers).
      if (windowOnDemand_ && Visible() && !HandleAllocated() && !Parent()) HandleNeeded();
      break;
    case WM_CLOSE:
      WMClose(message);
      return;
    case WM_ACTIVATE:
      TScrollingWinControl::WndProc(message);
      if (LOWORD(message.WParam) != WA_INACTIVE) {
        if (activeControl_ && activeControl_->HandleAllocated() && activeControl_->CanFocus())
          ::SetFocus(activeControl_->WindowHandle());
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    case CM_SHOWINGCHANGED:
      if (IsShowing()) {
        if (OnShow) OnShow(this);
      } else if (OnHide) {
        OnHide(this);
      }
      break;  // shows or hides the window
    case WM_MDIACTIVATE:
      // An MDI child hears of its activation from the client, not WM_ACTIVATE.
      if (formStyle_ == fsMDIChild) {
        TScrollingWinControl::WndProc(message);
        if (reinterpret_cast<HWND>(message.LParam) == WindowHandle()) {
          MergeMDIMenu(true);
          if (OnActivate) OnActivate(this);
        } else if (reinterpret_cast<HWND>(message.WParam) == WindowHandle()) {
          MergeMDIMenu(false);
          if (OnDeactivate) OnDeactivate(this);
        }
        return;
      }
      break;
    case WM_NCDESTROY:
      clientHandle_ = nullptr;  // went with the form's window
      break;
    case WM_SYSCOMMAND:
      if ((message.WParam & 0xFFF0) == SC_CLOSE && modal_) {
        modalResult_ = mrCancel;
        return;
      }
      break;
  }
  TScrollingWinControl::WndProc(message);
}

// ---------------------------------------------------------------- screen

TCustomForm* TScreen::ActiveForm() const {
  return dynamic_cast<TCustomForm*>(FindControl(GetActiveWindow()));
}

RECT TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}
