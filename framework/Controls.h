// Controls: TControl (anything with bounds on a parent), TGraphicControl
// (painted by its parent), TWinControl (a real window) and TCustomControl
// (a window with a canvas). Every control dispatches messages through a
// chain of window-procedure hooks that outside code can add in front of the
// control's own WndProc and remove again in any order.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/PendingPaints.h"

class TWinControl;
class TControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TShiftFlag : uint32_t {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = uint32_t;
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

enum TControlStyleFlag : uint32_t {
  csAcceptsControls = 1u << 0,
  csCaptureMouse = 1u << 1,
  csClickEvents = 1u << 2,
  csFramed = 1u << 3,
  csSetCaption = 1u << 4,
  csOpaque = 1u << 5,
  csDoubleClicks = 1u << 6,
  csFixedWidth = 1u << 7,
  csFixedHeight = 1u << 8,
  csNoStdEvents = 1u << 9,
  csReplicatable = 1u << 10,
  csReflector = 1u << 11,
  csNeedsBorderPaint = 1u << 12,
  csParentBackground = 1u << 13,
};
using TControlStyle = uint32_t;

// Edges a control keeps its distance to when its parent resizes. The layout
// does not follow them yet; the skin engine reads them to decide which
// children a parent's gradient change reaches.
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = uint8_t;  // bit n = TAnchorKind n
inline constexpr TAnchors AnchorBit(TAnchorKind k) { return static_cast<TAnchors>(1u << k); }

enum TControlStateFlag : uint32_t {
  csLButtonDown = 1u << 0,
  csClicked = 1u << 1,
  csPalette = 1u << 2,
  csReadingState = 1u << 3,
  csAlignmentNeeded = 1u << 4,
  csFocusing = 1u << 5,
  csCreating = 1u << 6,
  csPaintCopy = 1u << 7,
  csCustomPaint = 1u << 8,
  csDestroyingHandle = 1u << 9,
  csCreatingChildHandles = 1u << 10,  // the control is making its children's windows
};
using TControlState = uint32_t;

using TWndMethod = std::function<void(TMessage&)>;
using TMouseEvent = std::function<void(TObject*, TMouseButton, TShiftState, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject*, TShiftState, int X, int Y)>;
using TKeyEvent = std::function<void(TObject*, WORD& Key, TShiftState)>;
using TKeyPressEvent = std::function<void(TObject*, wchar_t& Key)>;
// MousePos is in client coordinates, (-1, -1) when the keyboard asked.
using TContextPopupEvent = std::function<void(TObject*, TPoint MousePos, bool& Handled)>;

// One link of a control's window-procedure chain. `next` passes the message
// on to the link behind this one (and finally to the control's WndProc).
using TWndProcHookFn = std::function<void(TMessage& message, const TWndMethod& next)>;

// RAII: while alive, `fn` sees every message of `control` before the links
// installed earlier. Destroying it unlinks exactly this link, whatever the
// order; a link removed while it is running finishes its call safely.
class TWndProcHook {
 public:
  TWndProcHook(TControl* control, TWndProcHookFn fn);
  ~TWndProcHook();
  TWndProcHook(const TWndProcHook&) = delete;
  TWndProcHook& operator=(const TWndProcHook&) = delete;
  void Detach();  // unlink now (also done by the destructor)
  // Hands any message to the links installed before this one and then the
  // control's WndProc, also outside a call of this link; a detached link
  // passes nothing.
  void CallNext(TMessage& message);

  struct Link {
    TWndProcHookFn fn;
    bool active = true;
  };

 private:
  TControl* control_;
  std::shared_ptr<Link> link_;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  const wchar_t* ClassName() const override { return L"TControl"; }

  // --- Messages
  // Sends a message through the hook chain to WndProc; returns the result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void Dispatch(TMessage& message);  // through the hook chain
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  bool HasHooks() const { return hooks_ != nullptr; }

  // --- Parent and bounds
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const;
  int ClientWidth() const;
  int ClientHeight() const;
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  POINT ClientOrigin() const;
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  // --- Appearance and state
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  std::wstring Caption() const { return GetText(); }
  void SetCaption(const std::wstring& value) { SetText(value); }
  std::wstring Text() const { return GetText(); }
  virtual std::wstring GetText() const { return text_; }
  virtual void SetText(const std::wstring& value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value) { font_->Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  virtual void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; parentShowHint_ = false; }
  bool ParentShowHint() const { return parentShowHint_; }
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle s) { controlStyle_ = s; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState s) { controlState_ = s; }
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value) { anchors_ = value; }
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  virtual void BringToFront();
  virtual void SendToBack();

  // Visible here and on every parent up to a form (for graphic controls:
  // their parent is showing).
  virtual bool IsShowing() const;
  // The top-level form (or frame's form) this control sits on, or null.
  TWinControl* GetParentForm() const;

  // --- Events
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

  virtual void Click();

  // The context menu shown on WM_CONTEXTMENU (not owned; cleared when the
  // menu is freed).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  // OnContextPopup, then the PopupMenu at `screenPos` ((-1, -1): from the
  // keyboard, shown at the control's centre). True when either took it.
  bool DoContextPopup(POINT screenPos);

 protected:
  friend class TWndProcHook;
  friend class TWinControl;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void DblClick();
  virtual void Resize();
  // Bounds changed by the framework (window moved by the system or by
  // alignment): stores them and tells the parent.
  void UpdateBoundsRect(const RECT& r);
  virtual void VisibleChanging() {}
  void FontChanged();
  virtual void RequestAlign();
  void Notification(TComponent* component, TOperation operation) override;

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::wstring text_;
  TColor color_ = clBtnFace;

 private:
  using THookChain = std::vector<std::shared_ptr<TWndProcHook::Link>>;
  void DispatchLink(size_t index, TMessage& message, const THookChain& chain);
  void HandleMouse(TMessage& message);

  TWinControl* parent_ = nullptr;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool parentColor_ = true;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  std::wstring hint_;
  std::unique_ptr<TFont> font_;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState controlState_ = 0;
  TAnchors anchors_ = AnchorBit(akLeft) | AnchorBit(akTop);
  // Innermost first; null when empty. A new list replaces it on every change
  // and none is changed in place, so a dispatch walks the list it began with
  // without copying it.
  std::shared_ptr<const THookChain> hooks_;
  TPopupMenu* popupMenu_ = nullptr;
};

// A control without a window: its parent paints it and forwards its mouse.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  const wchar_t* ClassName() const override { return L"TGraphicControl"; }
  TCanvas* Canvas() const { return canvas_.get(); }
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> canvas_;
};

// Parameters of the window a TWinControl creates.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;
  WNDCLASSEXW WindowClass{};
  std::wstring WinClassName;
  // System class this control's window class is based on ("BUTTON",
  // "msctls_progress32", ...); empty for the framework's own windows.
  std::wstring SubClassOf;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  const wchar_t* ClassName() const override { return L"TWinControl"; }
  // The window goes before any destructor runs: its last messages
  // (WM_KILLFOCUS, WM_DESTROY) reach the hooks and overrides of a whole
  // object.
  void BeforeDestruction() override;

  HWND Handle();  // creates the window when needed
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();  // makes no window for a control being destroyed
  void RecreateWnd();
  void DestroyHandle();

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(index); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  TControl* ControlAtPos(POINT p, bool allowDisabled = false, bool allowWinControls = false) const;

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetText(const std::wstring& value) override;
  std::wstring GetText() const override;
  void SetColor(TColor value) override;
  TBrush* Brush() const { return brush_.get(); }

  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  bool IsShowing() const override { return showing_; }
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  // Paints the graphic children into dc (from `first` on when given).
  void PaintControls(HDC dc, TControl* first);
  // Paints the window (frame, background, client) and its windowed
  // children into dc with our top-left corner at (x, y), through WM_PRINT.
  // Paints the control with its frame and every windowed child into `dc`,
  // its top-left corner at (x, y).
  void PaintTo(HDC dc, int x, int y);
  // Paints the frame, and the client area inside it, at the DC's origin;
  // the children are left to the caller.
  void PaintWindowOnly(HDC dc);
  // Where the client area starts inside the window (the frame's width).
  POINT ClientOffset() const;
  // Invalidates the part of our window that `control` covers.
  void InvalidateRectOf(const TControl* control);
  // Moves a child to the top (front) or bottom of the z-order.
  void MoveControlZ(TControl* control, bool front);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // The framework window procedure all our window classes use.
  static LRESULT CALLBACK InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void CreateParams(TCreateParams& params);
  void CreateSubClass(TCreateParams& params, const wchar_t* systemClass);
  virtual void CreateHandle();
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  // Runs `make`, which creates our window by a call other than
  // CreateWindowExW (WM_MDICREATE, say); its first message attaches it to us.
  void CreateWindowWith(const std::function<HWND()>& make);
  virtual void DestroyWnd();
  // Called once the window exists (fonts, text and state pushed into it).
  virtual void CreateWindowState() {}
  // True while the control makes no window along with its parent's: it and
  // its children get theirs once it is shown or one is asked for.
  virtual bool WindowDeferred() const { return false; }
  // Called before the window goes away on RecreateWnd, to keep window state.
  virtual void SaveWindowState() {}
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& message);
  virtual void AlignControls(TControl* control, RECT& rect);
  virtual void AdjustClientRect(RECT& rect) const;
  void UpdateShowing();
  // Shows or hides the window to match Visible.
  void SyncWindowVisibility();
  void UpdateControlState();
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);
  LRESULT CallDefWndProc(UINT msg, WPARAM wParam, LPARAM lParam);

  WNDPROC defWndProc_ = DefWindowProcW;

 private:
  friend class TControl;
  void AttachHandle(HWND wnd);
  void DetachHandle();
  void MainWndProc(TMessage& message);
  bool ForwardMouseToGraphicChild(TMessage& message);
  bool ReflectToChild(TMessage& message);
  void TrackMouse(TMessage& message);
  void WMWindowPosChanged(TMessage& message);
  void WMEraseBkgnd(TMessage& message);
  void WMSetRedraw(TMessage& message);
  bool WMContextMenu(TMessage& message);
  void OfferToControls(TMessage& message);
  bool OfferDialogKey(WORD key, LPARAM keyData);
  void CreateChildHandles();

  HWND handle_ = nullptr;
  std::vector<TControl*> controls_;
  std::unique_ptr<TBrush> brush_;
  bool showing_ = false;
  bool tabStop_ = false;
  int borderWidth_ = 0;
  int alignDisabled_ = 0;
  bool aligning_ = false;
  bool trackingLeave_ = false;
  std::wstring savedText_;  // text while the window is recreated
  // What this window and its children still had to paint when drawing was
  // switched off; given back when it is switched on again.
  TPendingPaints pendingPaints_;
};

// A window that paints itself through a canvas.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  const wchar_t* ClassName() const override { return L"TCustomControl"; }
  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> canvas_;
};

// True when `caption` marks `ch` as its accelerator ("&Да" for Д or д).
bool IsAccel(WORD ch, const std::wstring& caption);

// The control that owns a window of this process, or null.
TWinControl* FindControl(HWND wnd);
// The control (windowed or graphic) under a screen point, or null.
TControl* FindDragTarget(POINT screenPos, bool allowDisabled);

// The control the mouse is over, as the framework tracks it for
// CM_MOUSEENTER / CM_MOUSELEAVE; and the control that holds the mouse.
TControl* MouseControl();
void SetMouseControl(TControl* control);
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
