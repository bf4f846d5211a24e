// TacDialogWnd's life, its system menu and its message switch.
#include "skin/windows/DialogWnd.h"

#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/FrameRegion.h"
#include "skin/windows/RedrawOff.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/SkinableMenus.h"
#include "skin/windows/UncoveredRepaint.h"

namespace {

// Asks a skinned dialog to adapt the children it has gained since.
constexpr UINT kRewalkChildren = 0x052E;

}  // namespace

bool ButtonPressed = false;
bool InRgnUpdate = false;

// ---------------------------------------------------------------- system menu

TacSystemMenu::TacSystemMenu(TComponent* AOwner) : TPopupMenu(AOwner) {
  const TacSystemMenuItems items = AddSystemMenuItems(this, L"mi", [this](UINT command) {
    if (!Dialog || Dialog->Destroyed) return;
    ::SendMessageW(Dialog->CtrlHandle, WM_SYSCOMMAND, command, 0);
    if (command == SC_RESTORE || command == SC_MAXIMIZE) Dialog->UpdateSystemMenu();
  });
  miRestore = items.Restore;
  miMove = items.Move;
  miSize = items.Size;
  miMinimize = items.Minimize;
  miMaximize = items.Maximize;
  miClose = items.Close;
}

// ---------------------------------------------------------------- life

TacDialogWnd::TacDialogWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                           const std::wstring& SkinSection)
    : TacScrollWnd(AHandle, ASkinData, ASkinManager, SkinSection) {}

void TacDialogWnd::Attach(bool repaint) {
  TacScrollWnd::Attach(repaint);
  ChildrenWalked = false;
  RegionChanged = true;
  BorderKind = 1;
  ButtonsBmp = std::make_unique<TBitmap>();
  Active = true;
  SystemMenu = std::make_unique<TacSystemMenu>(nullptr);
  SystemMenu->Dialog = this;
  UpdateSystemMenu();
  if (DefaultManager && DefaultManager->SkinableMenus)
    DefaultManager->SkinableMenus->HookMenu(SystemMenu.get(), true);
}

TacDialogWnd::~TacDialogWnd() {
  if (!Destroyed) TacDialogWnd::Unhook(false);
  if (SystemMenu && DefaultManager && DefaultManager->SkinableMenus)
    DefaultManager->SkinableMenus->HookMenu(SystemMenu.get(), false);
  SystemMenu.reset();
  ButtonsBmp.reset();
  CaptionFont.reset();
}

void TacDialogWnd::Unhook(bool repaint) {
  if (Destroyed) return;
  if (captured_ && ::GetCapture() == CtrlHandle) ::ReleaseCapture();
  captured_ = false;
  if (HotButton) ButtonPressed = false;
  const bool alive = ::IsWindow(CtrlHandle) != FALSE;
  if (alive && styleStripped_) {
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style | WS_SYSMENU);
  }
  styleStripped_ = false;
  if (alive && hasRgn_) ::SetWindowRgn(CtrlHandle, nullptr, FALSE);
  hasRgn_ = false;
  TacScrollWnd::Unhook(false);
  if (alive && repaint && ::IsWindowVisible(CtrlHandle))
    ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TacDialogWnd::InitDialogFrame() {
  HWND wnd = CtrlHandle;
  Style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
  ExStyle = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION)
    BorderKind = 2;
  else if (Style & WS_THICKFRAME)
    BorderKind = 3;
  else if (Style & DS_MODALFRAME)
    BorderKind = 0;
  Icon = reinterpret_cast<HICON>(::SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0));
  if (!Icon) Icon = reinterpret_cast<HICON>(::SendMessageW(wnd, WM_GETICON, ICON_BIG, 0));
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  CaptionFont = std::make_unique<TFont>();
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
    CaptionFont->SetHandle(UniqueFont(::CreateFontIndirectW(&ncm.lfCaptionFont)).get());
  if (Style & WS_SYSMENU) {
    ::SetWindowLongPtrW(wnd, GWL_STYLE, Style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    styleStripped_ = true;
  }
  UpdateSystemMenu();
}

int TacDialogWnd::Kind() const { return Provider ? Provider->Kind : 0; }

void TacDialogWnd::UpdateButtonIndexes() {
  TsSkinManager* m = Manager();
  // Modal frames and captionless popups take the small caption images.
  const bool small = BorderKind == 0 || BorderKind == 2;
  const TacCaptionImages images =
      CaptionButtonImages(m, SkinData->SkinIndex, SkinData->SkinSection(), small);
  MinButton.ImageIndex = images.Min;
  MaxButton.ImageIndex = images.Max;
  CloseButton.ImageIndex = images.Close;
  HelpButton.ImageIndex = images.Help;
}

// Only a dialog that can change its size can be maximized: a sizeable frame
// or a dialog whose client the system paints (kinds 1 and 3).
bool TacDialogWnd::Sizeable() const {
  return (Style & WS_THICKFRAME) || Kind() == 1 || Kind() == 3;
}

bool TacDialogWnd::CanMaximize() const {
  return (Style & WS_MAXIMIZEBOX) && !::IsZoomed(CtrlHandle) && Sizeable();
}
bool TacDialogWnd::CanRestore() const {
  return (Style & WS_MAXIMIZEBOX) && (::IsIconic(CtrlHandle) || ::IsZoomed(CtrlHandle));
}
bool TacDialogWnd::CanMinimize() const {
  return (Style & WS_MINIMIZEBOX) && !::IsIconic(CtrlHandle);
}

void TacDialogWnd::UpdateSystemMenu() {
  if (!SystemMenu) return;
  const bool sys = (Style & WS_SYSMENU) != 0;
  const bool wide = Sizeable();
  SystemMenu->miRestore->SetVisible(wide && sys);
  SystemMenu->miMove->SetVisible(true);
  SystemMenu->miSize->SetVisible(wide);
  SystemMenu->miMinimize->SetVisible((Style & WS_MINIMIZEBOX) != 0);
  SystemMenu->miMaximize->SetVisible((Style & WS_MAXIMIZEBOX) != 0);
  SystemMenu->miClose->SetVisible(sys);
  SystemMenu->miRestore->SetEnabled(CanRestore());
  SystemMenu->miMove->SetEnabled(!::IsZoomed(CtrlHandle));
  SystemMenu->miSize->SetEnabled(Kind() != 1 && !::IsIconic(CtrlHandle));
  SystemMenu->miMinimize->SetEnabled(CanMinimize());
  SystemMenu->miMaximize->SetEnabled(CanMaximize());
  SystemMenu->miClose->SetEnabled(true);
}

void TacDialogWnd::RewalkChildren() {
  if (Provider && !Destroyed) WalkDialogChildren(Provider, CtrlHandle);
}

HBRUSH TacDialogWnd::StaticBrush() {
  TsSkinManager* m = Manager();
  const TColor color = m ? ColorToRGB(m->GetGlobalColor()) : ColorToRGB(clBtnFace);
  if (!staticBrush_ || color != staticBrushColor_) {
    staticBrush_.reset(::CreateSolidBrush(color));
    staticBrushColor_ = color;
  }
  return staticBrush_.get();
}

// ---------------------------------------------------------------- messages

// The system paints its caption directly on some messages; the replaced
// procedure runs with drawing off, then the frame is ours again.
void TacDialogWnd::WithoutRedraw(TMessage& message) {
  TRedrawOff off(CtrlHandle);
  PassOn(message);
}

bool TacDialogWnd::AlphaCmd(TMessage& message) {
  TsSkinManager* m = Manager();
  switch (SkinCmdOf(message)) {
    case AC_SETNEWSKIN:
      if (message.LParam == reinterpret_cast<LPARAM>(m)) {
        SkinData->UpdateIndexes();
        UpdateButtonIndexes();
        SkinData->BGChanged = true;
        RegionChanged = true;
      }
      return true;
    case AC_GETCACHE:
      ReplyCache();
      return true;
    case AC_SETUPDATING:
      SkinData->Updating = LOWORD(message.WParam) == 1;
      if (SkinData->Updating) SkinData->BGChanged = true;
      return false;
    case AC_ISUPDATING:
      message.Result = (SkinData->BGChanged || SkinData->Updating) ? 1 : 0;
      message.LParam = message.Result;
      return true;
    case AC_ISTEXTURED: {
      const TsGeneralData* s = SkinData->Section();
      message.Result = s && s->GradientPercent + s->ImagePercent > 0 ? 1 : 0;
      return true;
    }
    case AC_GETBGCOLOR:
      if (const TsGeneralData* s = SkinData->Section()) BGFillColor = s->HotColor;
      return true;
    case AC_HOOKDIALOGCHILDREN:
      RewalkChildren();
      return false;
  }
  return false;
}

void TacDialogWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacScrollWnd::WndProc(message);
  const bool visible = ::IsWindowVisible(CtrlHandle) != FALSE;
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (AlphaCmd(message)) return;
      break;
    case WM_SIZE:
      SkinData->BGChanged = true;
      RegionChanged = true;
      break;
    case WM_ACTIVATE:
      if (!visible) break;
      WithoutRedraw(message);
      Active = LOWORD(message.WParam) != WA_INACTIVE;
      SkinData->BGChanged = true;
      ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      UpdateSystemMenu();
      return;
    case WM_ENABLE:
    case WM_SETTEXT:
      if (!visible) break;
      WithoutRedraw(message);
      SkinData->BGChanged = true;
      ::SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
      return;
    case WM_NCACTIVATE:
      if (!visible) break;
      WithoutRedraw(message);
      Active = LOWORD(message.WParam) != 0;
      SkinData->BGChanged = true;
      ::SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
      return;
    case WM_PAINT:
      if (visible) return OnPaint(message);
      break;
    case WM_PRINTCLIENT:
      PaintClientToDC(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_PRINT:
      return OnPrint(message);
    case WM_ERASEBKGND:
      return OnEraseBkgnd(message);
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (dis && dis->CtlType == ODT_STATIC) ::SetBkMode(dis->hDC, TRANSPARENT);
      break;
    }
    case WM_WINDOWPOSCHANGED:
      SkinData->BGChanged = true;
      RegionChanged = true;
      if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
          pos && (pos->flags & SWP_HIDEWINDOW))
        RepaintUncovered(CtrlHandle);
      break;
    case WM_NCHITTEST:
      return OnNcHitTest(message);
    case WM_NCPAINT:
      if (visible) return OnNcPaint(message);
      break;
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(message);
    case WM_NCLBUTTONUP:
      return OnButtonUp(message);
    case WM_LBUTTONUP:
      if (captured_) return OnButtonUp(message);
      break;
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDblClk(message);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      return OnNcRButton(message);
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
      SetHotButton(0, true);
      break;
    case WM_MOUSEMOVE:
      if (captured_) return;  // a pressed caption button owns the mouse
      if (::IsWindowEnabled(CtrlHandle) && DefaultManager) DefaultManager->SetActiveControl(nullptr);
      break;
    case WM_CTLCOLORSTATIC:
      if (Kind() == 3) break;
      ::SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
      if (TsSkinManager* m = Manager())
        ::SetTextColor(reinterpret_cast<HDC>(message.WParam),
                       ColorToRGB(m->GetGlobalFontColor()));
      message.Result = reinterpret_cast<LRESULT>(StaticBrush());
      return;
    case WM_GETDLGCODE:
      message.Result = 0;
      return;
    case kRewalkChildren:
      return OnRewalkChildren(message);
    case WM_CAPTURECHANGED:
      if (captured_ && reinterpret_cast<HWND>(message.LParam) != CtrlHandle) {
        captured_ = false;
        ButtonPressed = false;
        SetHotButton(0, true);
      }
      break;
  }
  TacScrollWnd::WndProc(message);
  if (!Destroyed && message.Msg == WM_SYSCOMMAND) AfterSysCommand(message);
}

// Children added after the dialog was skinned get their adapters here.
void TacDialogWnd::OnRewalkChildren(TMessage& message) {
  ::SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
  TacScrollWnd::WndProc(message);
  RewalkChildren();
  ::SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
  ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void TacDialogWnd::AfterSysCommand(const TMessage& message) {
  const UINT command = message.WParam & 0xFFF0;
  if (command == SC_MOVE || (message.WParam & 0xFFFF) == 0xF012)
    ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (command == SC_MAXIMIZE || command == SC_RESTORE) {
    if (Style & WS_MAXIMIZEBOX) HotButton = HTMAXBUTTON;
    SetHotButton(0, true);
  }
}
