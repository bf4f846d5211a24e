// MDI main and child forms. A main form (fsMDIForm) holds an "MDICLIENT"
// window that fills the room its aligned controls leave; child forms
// (fsMDIChild) are windows of that client, made through WM_MDICREATE and
// destroyed through WM_MDIDESTROY so that the client keeps its window menu,
// its maximized child and the frame's menu bar in step.
#include <algorithm>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"

namespace {

// Ids the client gives the children it lists in the window menu; above any
// id the framework's menus hand out.
constexpr UINT kFirstMDIChildId = 0xFF00;

bool IsFrameworkMessage(UINT msg) { return msg >= CM_BASE && msg < CN_BASE + 0x400; }

TCustomForm* FormOf(HWND wnd) { return dynamic_cast<TCustomForm*>(FindControl(wnd)); }

}  // namespace

// ---------------------------------------------------------------- main form

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT ccs{windowMenu_ ? windowMenu_->Handle() : nullptr, kFirstMDIChildId};
  RECT r{};
  ::GetClientRect(WindowHandle(), &r);
  clientHandle_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                        WS_HSCROLL | WS_VSCROLL | MDIS_ALLCHILDSTYLES,
                                    0, 0, r.right, r.bottom, WindowHandle(), nullptr,
                                    GetModuleHandleW(nullptr), &ccs);
  if (!clientHandle_) RaiseLastOSError();
  Realign();
}

void TCustomForm::AlignControls(TControl* control, RECT& rect) {
  TScrollingWinControl::AlignControls(control, rect);
  // The client takes what the aligned controls leave, under all of them.
  if (clientHandle_)
    ::SetWindowPos(clientHandle_, HWND_BOTTOM, rect.left, rect.top,
                   std::max(0L, rect.right - rect.left), std::max(0L, rect.bottom - rect.top),
                   SWP_NOACTIVATE);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  return FormOf(reinterpret_cast<HWND>(::SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0)));
}

int TCustomForm::MDIChildCount() const {
  int n = 0;
  if (clientHandle_)
    for (HWND w = ::GetWindow(clientHandle_, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
      if (TCustomForm* f = FormOf(w); f && f->FormStyle() == fsMDIChild) ++n;
  return n;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (clientHandle_)
    for (HWND w = ::GetWindow(clientHandle_, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
      if (TCustomForm* f = FormOf(w); f && f->FormStyle() == fsMDIChild && index-- == 0) return f;
  throw EListError(L"List index out of bounds");
}

void TCustomForm::Cascade() {
  if (clientHandle_) ::SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}
void TCustomForm::Tile() {
  if (clientHandle_) ::SendMessageW(clientHandle_, WM_MDITILE, MDITILE_HORIZONTAL, 0);
}
void TCustomForm::ArrangeIcons() {
  if (clientHandle_) ::SendMessageW(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}
void TCustomForm::Next() {
  if (clientHandle_) ::SendMessageW(clientHandle_, WM_MDINEXT, 0, 0);
}
void TCustomForm::Previous() {
  if (clientHandle_) ::SendMessageW(clientHandle_, WM_MDINEXT, 0, 1);
}

void TCustomForm::DefaultHandler(TMessage& message) {
  HWND wnd = WindowHandle();
  if (!wnd || IsFrameworkMessage(message.Msg)) return TScrollingWinControl::DefaultHandler(message);
  if (formStyle_ == fsMDIForm && clientHandle_) {
    // The form places its client itself, around its aligned controls.
    if (message.Msg == WM_SIZE) return TScrollingWinControl::DefaultHandler(message);
    message.Result =
        ::DefFrameProcW(wnd, clientHandle_, message.Msg, message.WParam, message.LParam);
    return;
  }
  if (formStyle_ == fsMDIChild && (::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    message.Result = ::DefMDIChildProcW(wnd, message.Msg, message.WParam, message.LParam);
    return;
  }
  TScrollingWinControl::DefaultHandler(message);
}

// ---------------------------------------------------------------- child form

TCustomForm* TCustomForm::MDIParentForm() const {
  auto isParent = [](TCustomForm* f) {
    return f && f->FormStyle() == fsMDIForm && f->ClientHandle() != nullptr;
  };
  if (Application && isParent(Application->MainForm())) return Application->MainForm();
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (isParent(Screen->Forms(i))) return Screen->Forms(i);
  return nullptr;
}

void TCustomForm::CreateMDIChildParams(TCreateParams& params) const {
  TCustomForm* parent = MDIParentForm();
  if (!parent) throw EInvalidOperation(L"Cannot create form. No MDI forms are currently active");
  params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | FrameStyle();
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  // A child made while the active one is maximized comes maximized too (the
  // client restores the active one before making the new child).
  BOOL activeMaximized = FALSE;
  ::SendMessageW(parent->ClientHandle(), WM_MDIGETACTIVE, 0,
                 reinterpret_cast<LPARAM>(&activeMaximized));
  if (windowState_ == wsMaximized || activeMaximized) params.Style |= WS_MAXIMIZE;
  params.ExStyle |= FrameExStyle() & ~static_cast<DWORD>(WS_EX_TOPMOST);
  params.WindowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  params.WndParent = parent->ClientHandle();
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params) {
  if (formStyle_ != fsMDIChild || Parent()) return TScrollingWinControl::CreateWindowHandle(params);
  MDICREATESTRUCTW mcs{};
  mcs.szClass = params.WinClassName.c_str();
  mcs.szTitle = params.Caption.c_str();
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = params.X;
  mcs.y = params.Y;
  mcs.cx = params.Width;
  mcs.cy = params.Height;
  mcs.style = params.Style;
  HWND client = params.WndParent;
  CreateWindowWith([client, &mcs] {
    return reinterpret_cast<HWND>(
        ::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  });
}

void TCustomForm::MergeMDIMenu(bool active) {
  if (formStyle_ != fsMDIChild || !menu_) return;
  if (!active) {
    if (TMainMenu* bar = menu_->MergedInto()) bar->Unmerge(menu_);
    return;
  }
  TCustomForm* parent = MDIParentForm();
  if (parent && parent->Menu()) parent->Menu()->Merge(menu_);
}

void TCustomForm::DestroyWnd() {
  MergeMDIMenu(false);
  TScrollingWinControl::DestroyWnd();
  HWND wnd = WindowHandle();
  // Through the client, which then drops the child from its window menu and
  // gives the frame's menu bar back when the child was maximized.
  if (formStyle_ == fsMDIChild && wnd && (::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
    ::SendMessageW(::GetParent(wnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
}

void TCustomForm::SetMDIChildState(TWindowState v) {
  HWND wnd = WindowHandle();
  HWND client = ::GetParent(wnd);
  switch (v) {
    case wsMaximized:
      ::SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(wnd), 0);
      break;
    case wsNormal:
      ::SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(wnd), 0);
      // An icon that was maximized comes back maximized first.
      if (::IsZoomed(wnd)) ::SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(wnd), 0);
      break;
    case wsMinimized:
      ::SendMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
  }
}

// ---------------------------------------------------------------- application

bool TApplication::IsMDIMsg(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  TCustomForm* frame = dynamic_cast<TCustomForm*>(FindControl(GetAncestor(msg.hwnd, GA_ROOT)));
  if (!frame || frame->FormStyle() != fsMDIForm || !frame->ClientHandle()) return false;
  return ::TranslateMDISysAccel(frame->ClientHandle(), &msg) != FALSE;
}
