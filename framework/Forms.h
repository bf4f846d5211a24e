// Forms, frames, scroll boxes, the application object and the screen.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ControlCanvas.h"
#include "framework/Controls.h"
#include "framework/Hints.h"

class TMainMenu;
class TMenuItem;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                 poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TBorderIcon : uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint32_t;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = std::function<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = std::function<void(TObject*, bool& CanClose)>;

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

// One scroll bar of a scrolling container. Range is the extent of the
// contents along the bar; the bar is on screen while it is Visible and the
// range exceeds the client extent. Position is how far the contents are
// scrolled: the children stand that far back from their unscrolled places.
class TControlScrollBar : public TPersistent {
 public:
  TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
      : control_(control), kind_(kind) {}
  TScrollBarKind Kind() const { return kind_; }
  int Range() const { return range_; }
  // A range set here holds: the container's AutoScroll no longer measures it.
  void SetRange(int value);
  int Position() const { return position_; }
  // Clamped to the scrollable part; moves the children.
  void SetPosition(int value);
  int Increment() const { return increment_; }
  void SetIncrement(int value) { increment_ = value < 1 ? 1 : value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool IsScrollBarVisible() const;
  // The client extent the bar pages by.
  int PageSize() const;

 private:
  friend class TScrollingWinControl;
  int Bar() const { return kind_ == sbVertical ? SB_VERT : SB_HORZ; }
  int LastPosition() const;
  // Hands range, page and position to the window's bar (`sent` set when
  // anything was sent); true when the bar appeared or went.
  bool Apply(bool& sent);
  void Scroll(int code, int thumb);
  void Forget() { applied_ = false; }

  TScrollingWinControl* control_;
  TScrollBarKind kind_;
  int range_ = 0;
  int position_ = 0;
  int increment_ = 8;
  bool visible_ = true;
  bool measured_ = true;  // AutoScroll measures the range
  // What the window's bar was last given, so unchanged values are not sent
  // again (each call is a server round trip under Wine).
  bool applied_ = false;
  bool shown_ = false;
  int appliedRange_ = 0, appliedPage_ = 0, appliedPos_ = 0;
};

// A container whose client area scrolls over its children. With AutoScroll
// each bar's range follows the extent of the children.
class TScrollingWinControl : public TWinControl {
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TScrollingWinControl"; }
  bool AutoScroll() const { return autoScroll_; }
  // Off: both ranges drop to 0, so no bar shows and the contents go home;
  // on again, the ranges AutoScroll measures are measured.
  void SetAutoScroll(bool v);
  TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
  TControlScrollBar* VertScrollBar() const { return vert_.get(); }
  void WndProc(TMessage& message) override;

 protected:
  void AlignControls(TControl* control, RECT& rect) override;
  void CreateWnd() override;
  // Brings both bars up to date: measures ranges (AutoScroll), shows or
  // hides the bars and keeps the positions inside them.
  void AdjustScrollBars();
  // Told after the window's bars changed range, page, position or showing;
  // a skinned container redraws its own bars here.
  virtual void ScrollBarsChanged() {}

 private:
  friend class TControlScrollBar;
  void CalcAutoRange();
  // Moves every child by (dx, dy) with alignment held until all have moved.
  void ScrollChildren(int dx, int dy);

  bool autoScroll_ = false;
  bool updating_ = false;
  std::unique_ptr<TControlScrollBar> horz_ = std::make_unique<TControlScrollBar>(this, sbHorizontal);
  std::unique_ptr<TControlScrollBar> vert_ = std::make_unique<TControlScrollBar>(this, sbVertical);
};

class TScrollBox : public TScrollingWinControl {
 public:
  explicit TScrollBox(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TScrollBox"; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TBorderStyle borderStyle_ = bsSingle;
};

class TCustomForm : public TScrollingWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  const wchar_t* ClassName() const override { return L"TCustomForm"; }

  // Finishes the form once the derived constructor has built every
  // component: Loaded on all of them, the window, then OnCreate.
  void AfterConstruction() override;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  RECT ClientRect() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  bool Modal() const { return modal_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  void FocusChanged(TWinControl* control);
  bool Active() const;

  void Show();
  void Hide();
  virtual TModalResult ShowModal();
  void Close();
  void Release();  // frees the form once the current message is done
  bool CloseQuery();
  void BringToFront() override;
  // The form's menu bar (not owned; Menus.cpp attaches it to the window).
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // The surface OnPaint draws on: the paint DC in WM_PAINT, or whatever DC
  // a painter lends it through PaintOn.
  TCanvas* Canvas() const { return canvas_.get(); }
  // The window's big and small icon; empty leaves the class icon.
  TIcon* Icon() const { return icon_.get(); }
  void SetIcon(TIcon* icon) { icon_->Assign(icon); }
  // Runs OnPaint with the canvas drawing on `dc`; the canvas gets back the
  // DC it had before.
  void PaintOn(HDC dc);

  // ---- MDI (MDIForms.cpp) ----
  // An fsMDIForm's client window (class "MDICLIENT"), which holds the
  // fsMDIChild forms; null for other forms.
  HWND ClientHandle() const { return clientHandle_; }
  // The sub-menu the client lists its children in (set before the window
  // is made; not owned).
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item) { windowMenu_ = item; }
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  // Children in the client's z-order, the active one first.
  TCustomForm* MDIChildren(int index) const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  void DefaultHandler(TMessage& message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnPaint;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CreateWindowState() override;
  void PaintWindow(HDC dc) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWnd() override;
  void AlignControls(TControl* control, RECT& rect) override;
  virtual void DoCreate();
  virtual void DoClose(TCloseAction& action);
  void SetPositionOnShow();

 private:
  void WMClose(TMessage& message);
  DWORD FrameStyle() const;
  DWORD FrameExStyle() const;
  // Hands the icon's handle to the window.
  void IconChanged();
  // MDI (MDIForms.cpp).
  void CreateMDIClient();
  void CreateMDIChildParams(TCreateParams& params) const;
  TCustomForm* MDIParentForm() const;
  void SetMDIChildState(TWindowState v);
  // An MDI child's menu is shown merged into its main form's bar while the
  // child is active; it never has a bar of its own.
  void MergeMDIMenu(bool active);

  std::unique_ptr<TControlCanvas> canvas_;
  std::unique_ptr<TIcon> icon_;
  TBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  // Made by the application besides its main form: a hidden form's window
  // is made when it first shows or its handle is first asked for.
  bool windowOnDemand_ = false;
  friend class TApplication;
  bool positioned_ = false;
  TWinControl* activeControl_ = nullptr;
  friend class TMainMenu;
  TMainMenu* menu_ = nullptr;
  HWND clientHandle_ = nullptr;
  TMenuItem* windowMenu_ = nullptr;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  const wchar_t* ClassName() const override { return L"TForm"; }
};

// A reusable child panel of controls (no owner needed); shown inside
// another control through SetParent.
class TCustomFrame : public TScrollingWinControl {
 public:
  explicit TCustomFrame(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TCustomFrame"; }
  void AfterConstruction() override;
};

class TFrame : public TCustomFrame {
 public:
  explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
  const wchar_t* ClassName() const override { return L"TFrame"; }
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(index); }
  TCustomForm* ActiveForm() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int PixelsPerInch() const { return ScreenPixelsPerInch(); }
  RECT WorkAreaRect() const;

 private:
  friend class TCustomForm;
  std::vector<TCustomForm*> forms_;
};

using TExceptionEvent = std::function<void(TObject*, std::exception_ptr)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;
  const wchar_t* ClassName() const override { return L"TApplication"; }

  void Initialize();
  // Creates a form owned by the application; `ref` is set before the
  // form's OnCreate runs. The first form created becomes MainForm.
  template <class T>
  void CreateForm(T*& ref) {
    T* form = new T(this);
    ref = form;
    if (!mainForm_) mainForm_ = form;
    else form->windowOnDemand_ = true;
    form->AfterConstruction();
  }
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Dispatches every pending message. A WM_QUIT it meets ends the
  // application's loop (it is not lost).
  void ProcessMessages();
  // Waits for and dispatches one message (idle work when the queue is empty).
  void HandleMessage();

  TCustomForm* MainForm() const { return mainForm_; }
  HWND Handle() const { return handle_; }
  bool MainFormOnTaskBar = false;
  bool ShowMainForm = true;
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  // Hints (Hints.h): pauses in milliseconds and the handler that may change
  // or stop a hint. Popups and drags suspend hints through THintSuspension,
  // a count, so every suspension ends on its own exit path.
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  TShowHintEvent OnShowHint;
  void SuspendHints();
  void ResumeHints();
  bool HintsSuspended() const { return hintsSuspended_ > 0; }
  TApplicationHints* Hints() const { return hints_.get(); }
  std::wstring Title;
  std::wstring ExeName() const;

  int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
  void HandleException(TObject* sender, std::exception_ptr error);
  void ShowException(std::exception_ptr error);
  TExceptionEvent OnException;
  TNotifyEvent OnIdle;

  // Deferred freeing of a form (TCustomForm::Release).
  void ReleaseLater(TCustomForm* form);
  void FormDestroyed(TCustomForm* form);

 private:
  void FreeReleasedForms();
  std::vector<TCustomForm*> released_;
  bool ProcessMessage(MSG& msg);
  bool IsDialogKey(MSG& msg);
  bool IsMDIMsg(MSG& msg);
  void Idle();
  static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool showHint_ = true;
  bool running_ = false;
  int hintsSuspended_ = 0;
  std::unique_ptr<TApplicationHints> hints_;
};

// The program's application object and screen (made by InitFramework).
extern TApplication* Application;
extern TScreen* Screen;

// Creates Application and Screen; DoneFramework frees them again.
void InitFramework();
void DoneFramework();

// The exception's message text (Exception::Message, what() of others).
std::wstring ExceptionMessage(std::exception_ptr error);
