#include <windowsx.h>

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {
TControl* g_mouseControl = nullptr;
TControl* g_captureControl = nullptr;
}  // namespace

TControl* MouseControl() { return g_mouseControl; }
TControl* GetCaptureControl() { return g_captureControl; }

void SetCaptureControl(TControl* control) {
  g_captureControl = nullptr;
  if (!control) {
    ReleaseCapture();
    return;
  }
  TWinControl* owner = dynamic_cast<TWinControl*>(control);
  if (!owner) owner = control->Parent();
  if (!owner) return;
  SetCapture(owner->Handle());
  if (owner != control) g_captureControl = control;
}

// Tells the old control and its parents that the mouse left, then the new
// one and its parents that it arrived. lParam 0 goes to the control itself,
// its parents get the control in lParam.
void SetMouseControl(TControl* control) {
  if (control == g_mouseControl) return;
  TControl* old = g_mouseControl;
  g_mouseControl = control;
  if (old) {
    old->Perform(CM_MOUSELEAVE, 0, 0);
    for (TWinControl* p = old->Parent(); p; p = p->Parent())
      p->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  }
  if (control && g_mouseControl == control) {
    control->Perform(CM_MOUSEENTER, 0, 0);
    for (TWinControl* p = control->Parent(); p; p = p->Parent())
      p->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
  }
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (keyData & 0x20000000) s |= ssAlt;
  return s;
}

// ---------------------------------------------------------------- hooks

TWndProcHook::TWndProcHook(TControl* control, TWndProcHookFn fn)
    : control_(control), link_(std::make_shared<Link>()) {
  link_->fn = std::move(fn);
  auto hooks = control_->hooks_ ? std::make_shared<TControl::THookChain>(*control_->hooks_)
                                : std::make_shared<TControl::THookChain>();
  hooks->push_back(link_);
  control_->hooks_ = std::move(hooks);
}

TWndProcHook::~TWndProcHook() { Detach(); }

void TWndProcHook::Detach() {
  if (!link_) return;
  // A link the control already switched off belongs to a control that is
  // gone (~TControl): there is no list left to unlink from.
  bool controlAlive = link_->active;
  link_->active = false;  // a dispatch in progress skips it from now on
  if (controlAlive && control_->hooks_) {
    auto hooks = std::make_shared<TControl::THookChain>(*control_->hooks_);
    hooks->erase(std::remove(hooks->begin(), hooks->end(), link_), hooks->end());
    if (hooks->empty())
      control_->hooks_.reset();
    else
      control_->hooks_ = std::move(hooks);
  }
  link_.reset();
}

void TWndProcHook::CallNext(TMessage& message) {
  if (!link_ || !link_->active || !control_->hooks_) return;
  std::shared_ptr<const TControl::THookChain> chain = control_->hooks_;
  auto self = std::find(chain->begin(), chain->end(), link_);
  if (self == chain->end()) return;
  control_->DispatchLink(static_cast<size_t>(self - chain->begin()), message, *chain);
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
  font_->OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (g_mouseControl == this) g_mouseControl = nullptr;
  if (g_captureControl == this) g_captureControl = nullptr;
  if (parent_) parent_->RemoveControl(this);
  // Hooks still installed by others stay owned by them; they only lose us.
  if (hooks_)
    for (auto& link : *hooks_) link->active = false;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  Dispatch(m);
  return m.Result;
}

void TControl::Dispatch(TMessage& message) {
  if (!hooks_) {
    WndProc(message);
    return;
  }
  // Holding the list keeps the walk valid when a link removes itself or
  // others: they replace the control's list, not this one.
  std::shared_ptr<const THookChain> chain = hooks_;
  DispatchLink(chain->size(), message, *chain);
}

void TControl::DispatchLink(size_t index, TMessage& message, const THookChain& chain) {
  while (index > 0 && !chain[index - 1]->active) --index;
  if (index == 0) {
    WndProc(message);
    return;
  }
  // The next link is reached through one pointer to this frame, which the
  // std::function keeps in place instead of on the heap.
  struct Next {
    TControl* control;
    size_t index;
    const THookChain* chain;
  } next{this, index - 1, &chain};
  const TWndMethod callNext = [n = &next](TMessage& m) {
    n->control->DispatchLink(n->index, m, *n->chain);
  };
  chain[index - 1]->fn(message, callNext);
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MOUSEMOVE:
      HandleMouse(message);
      break;
    case CM_MOUSEENTER:
      if (message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
      break;
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        auto saved = std::move(font_->OnChange);
        font_->Assign(parent_->Font());
        font_->OnChange = std::move(saved);
        FontChanged();
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
      }
      return;
  }
  DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) {
  // Graphic controls have nothing behind them; text questions are answered
  // from the stored caption so Perform(WM_GETTEXT) works for any control.
  switch (message.Msg) {
    case WM_GETTEXTLENGTH:
      message.Result = static_cast<LRESULT>(text_.size());
      break;
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<wchar_t*>(message.LParam);
      size_t cap = message.WParam;
      if (!buf || cap == 0) break;
      size_t n = std::min(cap - 1, text_.size());
      std::copy_n(text_.data(), n, buf);
      buf[n] = 0;
      message.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_SETTEXT:
      text_ = message.LParam ? reinterpret_cast<const wchar_t*>(message.LParam) : L"";
      message.Result = TRUE;
      break;
  }
}

void TControl::HandleMouse(TMessage& message) {
  POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TShiftState shift = KeysToShiftState(message.WParam);
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(shift, p.x, p.y);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
      if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
      controlState_ |= csLButtonDown;
      if (message.Msg == WM_LBUTTONDBLCLK && (controlStyle_ & csDoubleClicks)) DblClick();
      MouseDown(mbLeft, shift | (message.Msg == WM_LBUTTONDBLCLK ? TShiftState(ssDouble) : 0u), p.x, p.y);
      break;
    case WM_LBUTTONUP: {
      bool wasDown = controlState_ & csLButtonDown;
      bool clicked = controlState_ & csClicked;
      controlState_ &= ~(csLButtonDown | csClicked);
      if (wasDown && (controlStyle_ & csCaptureMouse)) SetMouseCapture(false);
      MouseUp(mbLeft, shift, p.x, p.y);
      if (clicked && p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_) Click();
      break;
    }
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
      MouseDown(mbRight, shift, p.x, p.y);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, p.x, p.y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, shift, p.x, p.y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, p.x, p.y);
      break;
  }
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) RemoveFreeNotification(popupMenu_);
  popupMenu_ = menu;
  if (menu) FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && popupMenu_ && component == popupMenu_) popupMenu_ = nullptr;
}

bool TControl::DoContextPopup(POINT screenPos) {
  bool keyboard = screenPos.x == -1 && screenPos.y == -1;
  if (keyboard) screenPos = ClientToScreen(POINT{Width() / 2, Height() / 2});
  TPoint mousePos = keyboard ? TPoint{-1, -1} : ScreenToClient(screenPos);
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
  if (handled) return true;
  if (popupMenu_ && popupMenu_->AutoPopup) {
    popupMenu_->PopupComponent = this;
    popupMenu_->Popup(screenPos.x, screenPos.y);
    return true;
  }
  return false;
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

bool TControl::MouseCapture() const {
  return g_captureControl == this ||
         (dynamic_cast<const TWinControl*>(this) &&
          GetCapture() == static_cast<const TWinControl*>(this)->WindowHandle());
}

void TControl::SetMouseCapture(bool value) {
  if (MouseCapture() == value) return;
  SetCaptureControl(value ? this : nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent == this) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (parent_ && visible_) parent_->InvalidateRectOf(this);
  bool sized = width != width_ || height != height_;
  left_ = left; top_ = top; width_ = width; height_ = height;
  if (parent_ && visible_) parent_->InvalidateRectOf(this);
  RequestAlign();
  if (sized) Resize();
}

void TControl::UpdateBoundsRect(const RECT& r) {
  bool sized = (r.right - r.left) != width_ || (r.bottom - r.top) != height_;
  left_ = r.left; top_ = r.top;
  width_ = r.right - r.left; height_ = r.bottom - r.top;
  if (sized) Resize();
}

RECT TControl::ClientRect() const { return RECT{0, 0, width_, height_}; }
int TControl::ClientWidth() const { RECT r = ClientRect(); return r.right - r.left; }
int TControl::ClientHeight() const { RECT r = ClientRect(); return r.bottom - r.top; }
void TControl::SetClientWidth(int v) { SetWidth(width_ - ClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(height_ - ClientHeight() + v); }

POINT TControl::ClientOrigin() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->WindowHandle()) {
    POINT p{0, 0};
    ::ClientToScreen(w->WindowHandle(), &p);
    return p;
  }
  if (!parent_) return POINT{left_, top_};
  POINT p = parent_->ClientOrigin();
  return POINT{p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const {
  POINT o = ClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT o = ClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign value) {
  if (align_ == value) return;
  align_ = value;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool value) {
  if (visible_ == value) return;
  VisibleChanging();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  RequestAlign();
}

void TControl::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::wstring& value) {
  if (GetText() == value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged() { Perform(CM_FONTCHANGED); }

void TControl::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::Invalidate() {
  if (parent_) parent_->InvalidateRectOf(this);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (parent_) parent_->MoveControlZ(this, true);
}

void TControl::SendToBack() {
  if (parent_) parent_->MoveControlZ(this, false);
}

bool TControl::IsShowing() const { return visible_ && parent_ && parent_->IsShowing(); }

TWinControl* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->Parent()) c = c->Parent();
  auto* f = dynamic_cast<const TCustomForm*>(c);
  return f ? const_cast<TCustomForm*>(f) : nullptr;
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& message) {
  // Printing into a given DC paints the same way as a paint with a DC.
  if ((message.Msg == WM_PAINT || message.Msg == WM_PRINT) && message.WParam) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    canvas_->SetHandle(dc);
    canvas_->Font()->Assign(Font());
    Paint();
    canvas_->SetHandle(nullptr);
    return;
  }
  TControl::WndProc(message);
}

bool IsAccel(WORD ch, const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {  // "&&" is a plain ampersand
      ++i;
      continue;
    }
    wchar_t marked = caption[i + 1], typed = static_cast<wchar_t>(ch);
    CharUpperBuffW(&marked, 1);
    CharUpperBuffW(&typed, 1);
    return marked == typed;
  }
  return false;
}
