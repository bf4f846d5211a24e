#include <windowsx.h>

#include <algorithm>
#include <map>
#include <optional>

#include "framework/ControlTable.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace {

// The control whose window CreateWindowExW is making right now; its first
// message attaches the window to it.
thread_local TWinControl* t_creating = nullptr;

// Window classes registered by this process: our class name -> the window
// procedure of the system class it is based on.
std::map<std::wstring, WNDPROC>& RegisteredClasses() {
  static std::map<std::wstring, WNDPROC> classes;
  return classes;
}

}  // namespace

TWinControl* FindControl(HWND wnd) { return control_table::Find(wnd); }

TControl* FindDragTarget(POINT screenPos, bool allowDisabled) {
  TWinControl* w = FindControl(WindowFromPoint(screenPos));
  if (!w) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(screenPos), allowDisabled);
  return c ? c : w;
}

// ---------------------------------------------------------------- window procedure

LRESULT CALLBACK TWinControl::InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(wnd);
  if (!control && t_creating) {
    control = t_creating;
    t_creating = nullptr;
    control->AttachHandle(wnd);
  }
  if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  control->MainWndProc(m);
  return m.Result;
}

void TWinControl::MainWndProc(TMessage& message) {
  // No exception may cross the system's frames: report it and go on.
  try {
    Dispatch(message);
  } catch (...) {
    if (Application) Application->HandleException(this, std::current_exception());
  }
  if (message.Msg == WM_NCDESTROY) DetachHandle();
}

void TWinControl::AttachHandle(HWND wnd) {
  handle_ = wnd;
  control_table::Add(wnd, this);
}

void TWinControl::DetachHandle() {
  if (!handle_) return;
  control_table::Remove(handle_, this);
  handle_ = nullptr;
  showing_ = false;
  trackingLeave_ = false;
}

LRESULT TWinControl::CallDefWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(defWndProc_, handle_, msg, wParam, lParam);
}

// ---------------------------------------------------------------- life cycle

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner), brush_(std::make_unique<TBrush>()) {
  brush_->SetColor(color_);
}

void TWinControl::BeforeDestruction() {
  TControl::BeforeDestruction();
  Destroying();
  DestroyHandle();
}

TWinControl::~TWinControl() {
  Destroying();
  // Children go first (those we own are freed by TComponent; the others
  // just lose their parent).
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  if (handle_) {
    HWND wnd = handle_;
    DestroyWnd();
    if (IsWindow(wnd)) DestroyWindow(wnd);
    DetachHandle();
  }
}

void TWinControl::CreateParams(TCreateParams& params) {
  params = TCreateParams{};
  params.Caption = text_;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle() & csAcceptsControls) params.Style |= WS_CLIPCHILDREN;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = height_;
  if (Parent()) params.WndParent = Parent()->Handle();
  params.WinClassName = ClassName();
  params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClass) {
  params.SubClassOf = systemClass;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (Parent() && !Parent()->HandleAllocated()) {
    Parent()->HandleNeeded();
    if (handle_) return;  // the parent made ours with its children
  }
  CreateHandle();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::CreateHandle() {
  if (handle_ || HasState(csDestroying)) return;
  // Made into a standing parent window, not as part of the parent's own
  // children: the form hears of it once the whole subtree exists.
  TWinControl* parent = Parent();
  const bool intoStandingTree =
      parent && parent->HandleAllocated() && !(parent->ControlState() & csCreatingChildHandles);
  CreateWnd();
  if (!handle_) return;
  // Keep the children's windows in our list order (bottom first).
  CreateChildHandles();
  UpdateShowing();
  if (!intoStandingTree || !handle_) return;
  TWinControl* form = GetParentForm();
  if (form && form != this && form->HandleAllocated())
    form->Perform(CM_WINDOWSMADE, 0, reinterpret_cast<LPARAM>(this));
}

void TWinControl::CreateChildHandles() {
  // Cleared again however the loop ends: a window that failed must not
  // keep later children from being announced.
  struct Making {
    TWinControl* self;
    bool outer;
    ~Making() {
      if (outer) self->SetControlState(self->ControlState() & ~csCreatingChildHandles);
    }
  } making{this, !(ControlState() & csCreatingChildHandles)};
  SetControlState(ControlState() | csCreatingChildHandles);
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->HandleAllocated() && !w->WindowDeferred())
      w->CreateHandle();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (params.WndParent == nullptr && (params.Style & WS_CHILD))
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");

  auto& classes = RegisteredClasses();
  auto it = classes.find(params.WinClassName);
  if (it == classes.end()) {
    WNDCLASSEXW wc = params.WindowClass;
    wc.cbSize = sizeof(wc);
    WNDPROC original = DefWindowProcW;
    if (!params.SubClassOf.empty()) {
      WNDCLASSEXW sys{};
      sys.cbSize = sizeof(sys);
      if (!GetClassInfoExW(nullptr, params.SubClassOf.c_str(), &sys))
        throw EOutOfResources(L"Unknown window class " + params.SubClassOf);
      original = sys.lpfnWndProc;
      wc = sys;
      wc.cbSize = sizeof(wc);
      wc.style &= ~CS_GLOBALCLASS;
    }
    wc.lpfnWndProc = InitWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      RaiseLastOSError();
    it = classes.emplace(params.WinClassName, original).first;
  }
  defWndProc_ = it->second;
  CreateWindowHandle(params);
  if (!handle_) RaiseLastOSError();
  // Window state the system keeps: font and anything the subclass restores.
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  if (!savedText_.empty()) {
    SetWindowTextW(handle_, savedText_.c_str());
    savedText_.clear();
  }
  CreateWindowState();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  CreateWindowWith([&params] {
    return CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                           params.Style, params.X, params.Y, params.Width, params.Height,
                           params.WndParent, params.Menu, GetModuleHandleW(nullptr), nullptr);
  });
}

void TWinControl::CreateWindowWith(const std::function<HWND()>& make) {
  TWinControl* outer = t_creating;
  t_creating = this;
  HWND wnd = make();
  t_creating = outer;
  if (wnd && !handle_) AttachHandle(wnd);
}

void TWinControl::DestroyWnd() {
  text_ = GetText();
  SaveWindowState();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
  HWND wnd = handle_;
  SetControlState(ControlState() | csDestroyingHandle);
  DestroyWindow(wnd);
  SetControlState(ControlState() & ~csDestroyingHandle);
  DetachHandle();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  savedText_ = GetText();
  bool hadFocus = Focused();
  DestroyHandle();
  HandleNeeded();
  if (hadFocus && handle_) ::SetFocus(handle_);
}

// ---------------------------------------------------------------- children

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->parent_ == this) return;
  control->parent_ = this;
  controls_.push_back(control);
  if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED);
  if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (handle_) {
      if (w->handle_) ::SetParent(w->handle_, handle_);
      else if (!w->WindowDeferred()) w->CreateHandle();
      w->UpdateShowing();
    }
  } else if (control->Visible()) {
    InvalidateRectOf(control);
  }
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
  Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  if (!HasState(csDestroying)) Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
  if (GetCaptureControl() == control) SetCaptureControl(nullptr);
  if (MouseControl() == control) SetMouseControl(nullptr);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (w->handle_) w->DestroyHandle();
  } else if (control->Visible()) {
    InvalidateRectOf(control);
  }
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  control->parent_ = nullptr;
  if (!HasState(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
  // Topmost first: the list runs from bottom to top.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
    if (windowed && !allowWinControls) continue;
    if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    if (p.x >= c->Left() && p.y >= c->Top() && p.x < c->Left() + c->Width() &&
        p.y < c->Top() + c->Height())
      return c;
  }
  return nullptr;
}

void TWinControl::MoveControlZ(TControl* control, bool front) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (front) controls_.push_back(control);
  else controls_.insert(controls_.begin(), control);
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->handle_)
    SetWindowPos(w->handle_, front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  else
    InvalidateRectOf(control);
}

// ---------------------------------------------------------------- geometry

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (handle_) {
    // WM_WINDOWPOSCHANGED stores the new bounds and realigns.
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (left_ != left || top_ != top || width_ != width || height_ != height)
      UpdateBoundsRect(RECT{left, top, left + width, top + height});
  } else {
    bool sized = width != width_ || height != height_;
    left_ = left; top_ = top; width_ = width; height_ = height;
    if (sized) {
      Realign();
      Resize();
    }
  }
  RequestAlign();
}

RECT TWinControl::ClientRect() const {
  if (handle_) {
    RECT r;
    GetClientRect(handle_, &r);
    return r;
  }
  return RECT{0, 0, width_, height_};
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
  auto* wp = reinterpret_cast<WINDOWPOS*>(message.LParam);
  if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) {
    RECT r;
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    bool sized = (r.right - r.left) != width_ || (r.bottom - r.top) != height_;
    UpdateBoundsRect(r);
    if (sized) Realign();
  }
  DefaultHandler(message);
}

void TWinControl::AdjustClientRect(RECT& rect) const {
  InflateRect(&rect, -borderWidth_, -borderWidth_);
}

void TWinControl::SetBorderWidth(int value) {
  if (value == borderWidth_) return;
  borderWidth_ = value;
  Realign();
  Invalidate();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || aligning_ || HasState(csDestroying)) return;
  RECT r = ClientRect();
  AdjustClientRect(r);
  aligning_ = true;
  AlignControls(nullptr, r);
  aligning_ = false;
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::AlignControls(TControl*, RECT& rect) {
  auto place = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == align && c->Visible()) list.push_back(c);
    // Same alignment: ordered by position, then by list order.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      int w = std::max(0L, rect.right - rect.left), h = std::max(0L, rect.bottom - rect.top);
      switch (align) {
        case alTop:
          c->SetBounds(rect.left, rect.top, w, c->Height());
          rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
          rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.left, rect.top, c->Width(), h);
          rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
          rect.right -= c->Width();
          break;
        case alClient:
          c->SetBounds(rect.left, rect.top, w, h);
          break;
        default:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
}

// ---------------------------------------------------------------- showing

void TWinControl::UpdateShowing() {
  bool showing = Visible() && handle_ && (!Parent() || Parent()->IsShowing());
  auto updateChildren = [this] {
    for (TControl* c : controls_)
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
  };
  if (showing != showing_) {
    // Handlers of CM_SHOWINGCHANGED see the change before the window does:
    // passing the message on is what shows or hides it. A control that
    // appears has its children showing already, so whatever paints while
    // it shows (a fade-in, the first WM_PAINT) finds them showing too.
    showing_ = showing;
    if (showing) updateChildren();
    Perform(CM_SHOWINGCHANGED);
    if (!showing) updateChildren();
  } else {
    // A child whose parent is hidden still keeps its window's visibility.
    SyncWindowVisibility();
    updateChildren();
  }
}

void TWinControl::SyncWindowVisibility() {
  if (!handle_) return;
  bool isVisible = (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (isVisible == Visible()) return;
  if (!Visible()) ShowWindow(handle_, SW_HIDE);
  else ShowWindow(handle_, Parent() ? SW_SHOWNOACTIVATE : SW_SHOW);
}

void TWinControl::UpdateControlState() { UpdateShowing(); }

// ---------------------------------------------------------------- text, colour, focus

void TWinControl::SetText(const std::wstring& value) {
  if (GetText() == value) return;
  text_ = value;
  if (handle_) SetWindowTextW(handle_, value.c_str());
  Perform(CM_TEXTCHANGED);
}

std::wstring TWinControl::GetText() const {
  if (!handle_) return text_;
  int n = GetWindowTextLengthW(handle_);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(handle_, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(n, 0)));
  return s;
}

void TWinControl::SetColor(TColor value) {
  TControl::SetColor(value);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (HWND h = Handle()) ::SetFocus(h);
}

void TWinControl::SetTabStop(bool value) {
  if (tabStop_ == value) return;
  tabStop_ = value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
  }
}

// ---------------------------------------------------------------- painting

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::InvalidateRectOf(const TControl* control) {
  if (!handle_ || !control) return;
  RECT r = control->BoundsRect();
  InvalidateRect(handle_, &r, !(control->ControlStyle() & csOpaque));
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  std::optional<PaintScope> paint;
  if (!dc) dc = paint.emplace(handle_).dc();
  {
    SaveDCScope saved(dc);
    // Opaque graphic children are clipped out of our own painting.
    for (TControl* c : controls_) {
      if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
      if (c->ControlStyle() & csOpaque)
        ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
    }
    PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  if (!dc || !handle_) return;
  SaveDCScope saved(dc);
  OffsetViewportOrgEx(dc, x, y, nullptr);
  IntersectClipRect(dc, 0, 0, width_, height_);
  PaintWindowOnly(dc);
  // Children sit in our client area, which the frame moves in.
  POINT client = ClientOffset();
  for (TControl* c : controls_) {
    auto* child = dynamic_cast<TWinControl*>(c);
    if (!child || !child->Visible() || !child->HandleAllocated()) continue;
    child->PaintTo(dc, client.x + child->Left(), client.y + child->Top());
  }
}

void TWinControl::PaintWindowOnly(HDC dc) {
  if (!dc || !handle_) return;
  // Frame and client in two requests: asked for both at once, Wine prints
  // the client at the DC's origin, over the frame.
  SendMessageW(handle_, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
  SaveDCScope saved(dc);
  POINT client = ClientOffset();
  OffsetViewportOrgEx(dc, client.x, client.y, nullptr);
  RECT cr;
  GetClientRect(handle_, &cr);
  IntersectClipRect(dc, 0, 0, cr.right, cr.bottom);
  SendMessageW(handle_, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
}

POINT TWinControl::ClientOffset() const {
  if (!handle_) return POINT{0, 0};
  POINT origin{0, 0};
  ::ClientToScreen(handle_, &origin);
  RECT wr;
  GetWindowRect(handle_, &wr);
  return POINT{origin.x - wr.left, origin.y - wr.top};
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) it = std::find(controls_.begin(), controls_.end(), first);
  for (; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
  if (defWndProc_ != DefWindowProcW) {
    DefaultHandler(message);
    return;
  }
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  RECT r;
  GetClientRect(handle_, &r);
  brush_->SetColor(Color());
  FillRect(dc, &r, brush_->Handle());
  message.Result = 1;
}
