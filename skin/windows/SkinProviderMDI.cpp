// TsSkinProvider: MDI main forms and their children. The main form's
// provider paints the client's background ("MDIAREA") into its cache, and
// while a child is maximized it draws the child's icon and its minimize,
// restore and close buttons in its own menu bar and runs them; the
// children's providers keep the main form's frame up to date as they are
// made, activated, maximized, restored and closed.
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinnedForms.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/SkinProvider.h"

namespace {

bool IsMDIChild(const TCustomForm* f) { return f && f->FormStyle() == fsMDIChild; }
bool IsMDIMain(const TCustomForm* f) { return f && f->FormStyle() == fsMDIForm; }

constexpr UINT kRedrawChild = RDW_FRAME | RDW_UPDATENOW | RDW_INTERNALPAINT | RDW_INVALIDATE;

// The strip of the menu bar a menu loop would let the system paint over:
// covered by a window showing the provider's cache there.
class TacMenuCover : public TForm {
 public:
  TacMenuCover(TComponent* owner, TsSkinProvider* provider) : TForm(owner), provider_(provider) {
    SetBorderStyle(bsNone);
  }
  const wchar_t* ClassName() const override { return L"TacMenuCover"; }
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_PAINT && HandleAllocated()) {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(WindowHandle(), &ps);
      provider_->PaintMenuCover(dc);
      ::EndPaint(WindowHandle(), &ps);
      message.Result = 0;
      return;
    }
    if (message.Msg == WM_ERASEBKGND) {
      message.Result = 1;
      return;
    }
    TForm::WndProc(message);
  }

 private:
  TsSkinProvider* provider_;
};

constexpr int kCoverWidth = 60;

}  // namespace

// ---------------------------------------------------------------- companion

void TsSkinProvider::SetMDIForm(bool value) {
  if (!value) {
    MDIForm.reset();
    return;
  }
  if (MDIForm || !IsMDIMain(Form) || HasState(csDesigning)) return;
  MDISkinProvider = this;
  MDIForm = std::make_unique<TsMDIForm>(this);
}

void TsSkinProvider::ConnectMDIClient() {
  if (MDIForm) MDIForm->ConnectToClient();
}

void TsSkinProvider::ForgetMDI() {
  if (IsMDIChild(Form) && Form->Menu() && MDISkinProvider && MDISkinProvider != this &&
      MDISkinProvider->Form && !MDISkinProvider->Form->HasState(csDestroying)) {
    MDISkinProvider->SkinData->BGChanged = true;
    MDISkinProvider->MenuLineCount = -1;
    if (HWND main = MDISkinProvider->FormHandle()) ::SendMessageW(main, WM_NCPAINT, 1, 0);
  }
  if (MDISkinProvider == this) {
    MDIForm.reset();
    MDISkinProvider = nullptr;
  }
  if (MDIChildProvider == this) MDIChildProvider = nullptr;
  menuCover_.reset();
}

bool TsSkinProvider::ShowsChildButtons() const {
  return MDIChildProvider && IsMDIMain(Form) && Form->Menu() && MaximizedChildOf(Form);
}

int TsSkinProvider::SmallButtonWidth() const {
  TsSkinManager* m = Manager();
  if (!m || !m->IsValidImgIndex(MDICloseButton.ImageIndex)) return 16;
  return MaskCellWidth(m->ma[MDICloseButton.ImageIndex]);
}

int TsSkinProvider::SmallButtonHeight() const {
  TsSkinManager* m = Manager();
  if (!m || !m->IsValidImgIndex(MDICloseButton.ImageIndex)) return 16;
  return MaskCellHeight(m->ma[MDICloseButton.ImageIndex]);
}

void TsSkinProvider::UpdateMDIButtonIndexes() {
  TsSkinManager* m = Manager();
  MDIMinButton.ImageIndex = MDIMaxButton.ImageIndex = MDICloseButton.ImageIndex = -1;
  if (!m || !IsMDIMain(Form) || HasState(csDesigning)) return;
  const int global = m->GetSkinIndex(L"GLOBALINFO");
  MDIMinButton.ImageIndex = m->GetMaskIndex(global, L"GLOBALINFO", L"SICONMIN");
  MDIMaxButton.ImageIndex = m->GetMaskIndex(global, L"GLOBALINFO", L"SICONMAX");
  MDICloseButton.ImageIndex = m->GetMaskIndex(global, L"GLOBALINFO", L"SICONCLOSE");
  if (!m->IsValidImgIndex(MDIMinButton.ImageIndex)) {
    MDIMinButton.ImageIndex = MinButton.ImageIndex;
    MDIMaxButton.ImageIndex = MaxButton.ImageIndex;
    MDICloseButton.ImageIndex = CloseButton.ImageIndex;
  }
}

void TsSkinProvider::BeginFormUpdate(bool withParent) {
  SkinData->BeginUpdate();
  Form->Perform(WM_SETREDRAW, 0, 0);
  if (withParent && IsMDIChild(Form) && MDISkinProvider && MDISkinProvider != this) {
    MDISkinProvider->SkinData->BeginUpdate();
    MDISkinProvider->Form->Perform(WM_SETREDRAW, 0, 0);
  }
}

void TsSkinProvider::EndFormUpdate(bool withParent) {
  SkinData->EndUpdate();
  Form->Perform(WM_SETREDRAW, 1, 0);
  if (withParent && IsMDIChild(Form) && MDISkinProvider && MDISkinProvider != this) {
    MDISkinProvider->SkinData->EndUpdate();
    MDISkinProvider->Form->Perform(WM_SETREDRAW, 1, 0);
  }
}

// ---------------------------------------------------------------- painting

void TsSkinProvider::PaintMDIParts(TBitmap* cache) {
  if (!IsMDIMain(Form)) return;
  PaintMDIArea(cache);
  PaintMDIChildIcon(cache);
  PaintMDIChildButtons();
}

void TsSkinProvider::PaintMDIArea(TBitmap* cache) {
  TsSkinManager* m = Manager();
  if (!MDIForm || !m || !SkinnedMDIArea) return;
  const int index = m->GetSkinIndex(L"MDIAREA");
  if (!m->IsValidSkinIndex(index)) return;
  TRect r;
  r.left = SumAlignedChildSizes(Form, alLeft, true) + BorderHeight();
  r.top = 2 * SysBorderHeight() + SysCaptionHeight() +
          (MenuPresent() ? MenuLines() * MenuHeight() : 0) + BorderWidth() - 2;
  r.right = FormWidth() - BorderHeight() - SumAlignedChildSizes(Form, alRight, true);
  r.bottom = FormHeight() - BorderHeight() - SumAlignedChildSizes(Form, alBottom, true);
  if (r.right <= r.left || r.bottom <= r.top) return;
  PaintItemToDC(index, L"MDIAREA", MakeCacheInfo(cache, 0, 0), true, 0, r, TPoint{r.left, r.top},
                cache->Canvas()->Handle(), m);
}

int TsSkinProvider::MDIIconItemWidth() const {
  if (MDISkinProvider != this || !Form || !Form->Menu() || !MaximizedChildOf(Form)) return 0;
  HWND wnd = FormHandle();
  HMENU bar = ::GetMenu(wnd);
  TMenuItem* items = Form->Menu()->Items();
  if (!bar || items->Count() == 0) return 0;
  // The system puts the child's window menu before the form's own items.
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_SUBMENU | MIIM_ID;
  if (!::GetMenuItemInfoW(bar, 0, TRUE, &mii)) return 0;
  TMenuItem* first = items->Items(0);
  if (first->HandleAllocated() ? mii.hSubMenu == first->Handle() : mii.wID == first->Command())
    return 0;
  RECT r{};
  return ::GetMenuItemRect(wnd, bar, 0, &r) ? r.right - r.left : 0;
}

void TsSkinProvider::PaintMDIChildIcon(TBitmap* cache) {
  if (MDISkinProvider != this || !Form->Menu() || !MenuPresent()) return;
  TCustomForm* child = MaximizedChildOf(Form);
  if (!child) return;
  // The form's own icon first: the window's may still be the one its class
  // was registered with.
  HICON icon = child->Icon() && !child->Icon()->Empty() ? child->Icon()->Handle() : nullptr;
  if (!icon)
    icon =
        reinterpret_cast<HICON>(::SendMessageW(child->WindowHandle(), WM_GETICON, ICON_SMALL, 0));
  if (!icon)
    icon = reinterpret_cast<HICON>(::GetClassLongPtrW(child->WindowHandle(), GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(child->WindowHandle(), GCLP_HICON));
  if (!icon) {
    TIcon* app = AppSmallIcon();
    if (app && app->Handle()) icon = app->Handle();
  }
  if (!icon) icon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  const int size = MenuHeight() - 2;
  if (size > 0)
    ::DrawIconEx(cache->Canvas()->Handle(), SysBorderWidth() + 1,
                 SysCaptionHeight() + SysBorderHeight() + 1, icon, size, size, 0, nullptr,
                 DI_NORMAL);
}

void TsSkinProvider::PaintMDIChildButtons() {
  for (TsCaptionButton* b : {&MDIMinButton, &MDIMaxButton, &MDICloseButton}) b->R = TRect{};
  if (!ShowsChildButtons() || !MenuPresent()) return;
  const int w = SmallButtonWidth(), h = SmallButtonHeight();
  const int top = HeaderHeight() - (MenuHeight() - h) / 2 - h - 1;
  const int right = FormWidth() - SysBorderWidth();
  MDIMinButton.R = TRect{right - 3 * (w + 1), top, right - 3 * (w + 1) + w, top + h};
  MDIMaxButton.R = TRect{right - 2 * (w + 1), top, right - 2 * (w + 1) + w, top + h};
  MDICloseButton.R = TRect{right - (w + 1), top, right - (w + 1) + w, top + h};
  for (int code : {kMDIMinCode, kMDIRestoreCode, kMDICloseCode})
    DrawButton(*ButtonOf(code), ButtonImage(code), ButtonEnabled(code));
}

int TsSkinProvider::MDIButtonImage(int code) const {
  TsSkinManager* m = Manager();
  switch (code) {
    case kMDICloseCode:
      return MDICloseButton.ImageIndex;
    case kMDIMinCode:
      return MDIMinButton.ImageIndex;
    case kMDIRestoreCode: {
      if (!MaximizedChildOf(Form)) return MDIMaxButton.ImageIndex;
      const int global = m->GetSkinIndex(L"GLOBALINFO");
      int i = m->GetMaskIndex(global, L"GLOBALINFO", L"SICONNORM");
      if (!m->IsValidImgIndex(i)) i = m->GetMaskIndex(global, L"GLOBALINFO", L"BICONNORM");
      return i;
    }
  }
  return -1;
}

bool TsSkinProvider::MDIButtonEnabled(int code) const {
  const TsSystemMenu* sm = MDIChildProvider ? MDIChildProvider->SystemMenu : nullptr;
  if (!sm) return true;
  if (code == kMDIMinCode) return sm->EnabledMin();
  if (code == kMDIRestoreCode) return sm->EnabledRestore();
  return true;
}

int TsSkinProvider::MDIButtonAt(const TPoint& p) const {
  if (!ShowsChildButtons()) return 0;
  auto in = [&p](const TRect& r) {
    return r.right > r.left && p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
  };
  if (in(MDICloseButton.R)) return kMDICloseCode;
  if (in(MDIMaxButton.R)) return kMDIRestoreCode;
  if (in(MDIMinButton.R)) return kMDIMinCode;
  return 0;
}

void TsSkinProvider::RunMDIButton(int code) {
  TCustomForm* child = Form->ActiveMDIChild();
  if (!child || !child->HandleAllocated()) return;
  HWND wnd = child->WindowHandle();
  switch (code) {
    case kMDICloseCode:
      ::SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case kMDIRestoreCode:
      ::SendMessageW(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case kMDIMinCode:
      SkinData->BeginUpdate();
      ::SendMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      if (SkinData->Updating) SkinData->EndUpdate();
      break;
  }
}

void TsSkinProvider::PaintMenuCover(HDC dc) {
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  ::BitBlt(dc, 0, 0, kCoverWidth, ::GetSystemMetrics(SM_CYMENU) + 3, cache->Canvas()->Handle(),
           FormWidth() - kCoverWidth, SysCaptionHeight(), SRCCOPY);
}

void TsSkinProvider::ShowMenuCover() {
  menuCover_.reset(Construct<TacMenuCover>(Application, this));
  menuCover_->HandleNeeded();
  RECT r{};
  ::GetWindowRect(FormHandle(), &r);
  ::SetWindowPos(menuCover_->WindowHandle(), HWND_TOP, r.right - kCoverWidth,
                 r.top + SysCaptionHeight(), kCoverWidth, ::GetSystemMetrics(SM_CYMENU) + 3,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// ---------------------------------------------------------------- main form

void TsSkinProvider::MDIMainWndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SYSCOMMAND: {
      SkinnedWndProcStd(message);
      const WPARAM cmd = message.WParam & 0xFFF0;
      if ((cmd == SC_MINIMIZE || cmd == SC_MAXIMIZE || cmd == SC_RESTORE) && MDISkinProvider) {
        MDISkinProvider->SkinData->BGChanged = true;
        MDISkinProvider->MenuLineCount = -1;
        if (HWND wnd = MDISkinProvider->FormHandle()) ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
      }
      return;
    }
    case WM_ENTERMENULOOP:
      if (!RgnLocked && MaximizedChildOf(Form)) {
        RgnLocked = true;
        ShowMenuCover();
      }
      return CallOld(message);
    case WM_EXITMENULOOP:
      RgnLocked = false;
      menuCover_.reset();
      return CallOld(message);
    case WM_NCPAINT:
      SkinnedWndProcStd(message);
      ConnectMDIClient();
      return;
    case WM_PRINT: {
      SkinnedWndProcStd(message);
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      HWND client = Form->ClientHandle();
      if (!dc || !client || !::IsWindowVisible(client)) return;
      RECT c{}, f{};
      ::GetWindowRect(client, &c);
      ::GetWindowRect(FormHandle(), &f);
      SaveDCScope saved(dc);
      ::OffsetViewportOrgEx(dc, c.left - f.left, c.top - f.top, nullptr);
      ::SendMessageW(client, WM_PRINT, message.WParam, PRF_CLIENT | PRF_NONCLIENT);
      return;
    }
  }
  SkinnedWndProcStd(message);
}

void TsSkinProvider::MDISkinCmd() {
  if (!IsMDIMain(Form)) return;
  SetMDIForm(true);
  ConnectMDIClient();
}

void TsSkinProvider::RefreshMDIClient() {
  if (!IsMDIMain(Form)) return;
  if (HWND client = Form->ClientHandle()) {
    ::SendMessageW(client, WM_SIZE, 0, 0);
    ::SendMessageW(client, WM_NCPAINT, 1, 0);
  }
}

bool TsSkinProvider::RepaintMaximizedMDIChild() {
  TCustomForm* child = IsMDIMain(Form) ? MaximizedChildOf(Form) : nullptr;
  if (!child || !child->HandleAllocated()) return false;
  ::InvalidateRect(child->WindowHandle(), nullptr, FALSE);
  ::UpdateWindow(child->WindowHandle());
  return true;
}

// ---------------------------------------------------------------- children

void TsSkinProvider::MDIChildWndProc(TMessage& message) {
  TsSkinProvider* main = MDISkinProvider != this ? MDISkinProvider : nullptr;
  TCustomForm* maximized = main ? MaximizedChildOf(main->Form) : nullptr;
  HWND wnd = FormHandle();
  switch (message.Msg) {
    case WM_CREATE:
      MaximizeNewChild = main && MaximizedChildOf(main->Form) != nullptr;
      return SkinnedWndProcStd(message);
    case WM_PAINT:
      if (maximized && maximized != Form && !MaximizeNewChild) {
        // Hidden behind the maximized child: nothing to show.
        PAINTSTRUCT ps;
        ::BeginPaint(wnd, &ps);
        ::EndPaint(wnd, &ps);
        message.Result = 0;
        return;
      }
      SkinnedWndProcStd(message);
      if (MaximizeNewChild) {
        MaximizeNewChild = false;
        MDIChildProvider = this;
        Form->SetWindowState(wsMaximized);
      }
      return;
    case WM_NCPAINT:
    case WM_PRINT:
      if (maximized && maximized != Form) {
        message.Result = 0;
        return;
      }
      return SkinnedWndProcStd(message);
    case WM_SIZE:
      CallOld(message);
      // The main form's cache is stale when the maximized child's size changed.
      if (main && ::IsWindowVisible(wnd) && ::IsZoomed(wnd)) {
        if (FormSizeChanged()) main->SkinData->BGChanged = true;
        if (HWND m = main->FormHandle()) ::SendMessageW(m, WM_NCPAINT, 1, 0);
      }
      return;
    case WM_SHOWWINDOW:
    case CM_SHOWINGCHANGED:
      SkinnedWndProcStd(message);
      if (main && ::IsZoomed(wnd)) main->InvalidateFrame();
      return;
    case WM_CHILDACTIVATE:
      CallOld(message);
      RefreshMenuBar();
      if (main && MaximizedChildOf(main->Form)) main->RepaintFrame();
      return;
    case WM_ACTIVATE:
      SkinnedWndProcStd(message);
      for (int i = 0; main && i < main->Form->MDIChildCount(); ++i) {
        TCustomForm* other = main->Form->MDIChildren(i);
        if (other != Form && ::IsWindowVisible(other->WindowHandle()))
          ::SendMessageW(other->WindowHandle(), WM_NCPAINT, 1, 0);
      }
      if (main) main->SkinData->BGChanged = true;
      return;
    case WM_NCACTIVATE:
      if (main && main->MDIForm && !FirstPaintDone && ::IsWindowVisible(wnd)) {
        main->SkinData->BGChanged = true;
        main->MenuLineCount = -1;
        main->MDIForm->RefreshFrame();
        if (HWND client = main->Form->ClientHandle()) ::SendMessageW(client, WM_NCPAINT, 1, 0);
      }
      return SkinnedWndProcStd(message);
    case WM_MDIACTIVATE:
    case WM_MDIDESTROY:
      CallOld(message);
      if (main && !main->Form->HasState(csDestroying)) {
        MenuBarReady = false;
        main->MenuChanged = true;
        main->SkinData->BGChanged = true;
        main->MenuLineCount = -1;
        if (HWND m = main->FormHandle()) ::SendMessageW(m, WM_NCPAINT, 1, 0);
        MDIChildProvider = this;
      }
      return;
    case WM_SYSCOMMAND:
      return OnMDIChildSysCommand(message);
    case WM_NCDESTROY:
      SkinnedWndProcStd(message);
      AfterMDIChildDestroyed();
      return;
  }
  SkinnedWndProcStd(message);
}

void TsSkinProvider::AfterMDIChildDestroyed() {
  TsSkinProvider* main = MDISkinProvider;
  if (!IsMDIChild(Form) || !main || main == this || !main->MDIForm ||
      main->HasState(csDestroying) || main->Form->HasState(csDestroying) ||
      !main->SkinData->Skinned(false))
    return;
  main->InvalidateFrame();
  if (!main->Form->ActiveMDIChild())
    if (HWND client = main->Form->ClientHandle())
      ::RedrawWindow(client, nullptr, nullptr,
                     RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

void TsSkinProvider::OnMDIChildSysCommand(TMessage& message) {
  if (OnBorderSysCommand(message)) return;
  HWND wnd = FormHandle();
  const WPARAM cmd = message.WParam & 0xFFF0;
  TsSkinProvider* main = MDISkinProvider != this ? MDISkinProvider : nullptr;
  bool wrap = ::IsZoomed(wnd) && cmd != SC_MAXIMIZE;
  // An update of the main form begun here always ends here.
  const bool began = wrap && main;
  if (began) main->SkinData->BeginUpdate();
  struct EndMainUpdate {
    bool began;
    ~EndMainUpdate() {
      if (began && MDISkinProvider && MDISkinProvider->SkinData->Updating)
        MDISkinProvider->SkinData->EndUpdate();
    }
  } endUpdate{began};
  auto refreshMain = [&] {
    if (MDISkinProvider && MDISkinProvider != this && MDISkinProvider->MDIForm)
      RefreshMDIParentFrame();
  };
  switch (cmd) {
    case SC_CLOSE:
      if (wrap) refreshMain();
      if (main) main->RgnLocked = true;
      CallOld(message);
      SetHotItem(0, false);
      if (MDISkinProvider) MDISkinProvider->RgnLocked = false;
      if (wrap) refreshMain();
      return;
    case SC_RESTORE: {
      wrap = wrap || ::IsIconic(wnd);
      MDIChildProvider = nullptr;
      if (MaximizeNewChild) return;
      BeginFormUpdate(true);
      CallOld(message);
      SkinData->BGChanged = true;
      const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
      if (style & WS_SYSMENU)
        ::SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
      EndFormUpdate(true);
      ::RedrawWindow(wnd, nullptr, nullptr, kRedrawChild);
      if (main) {
        TCustomForm* mainForm = main->Form;
        for (int i = 0; i < mainForm->MDIChildCount(); ++i) {
          TCustomForm* other = mainForm->MDIChildren(i);
          if (other == Form) continue;
          if (other->WindowState() == wsMaximized) other->SetWindowState(wsNormal);
          ::RedrawWindow(other->WindowHandle(), nullptr, nullptr, kRedrawChild);
        }
      }
      if (wrap) refreshMain();
      if (SystemMenu) SystemMenu->UpdateItems();
      return;
    }
    case SC_MINIMIZE:
      MDIChildProvider = nullptr;
      CallOld(message);
      if (wrap) refreshMain();
      if (SystemMenu) SystemMenu->UpdateItems();
      TitleStripBmp.reset();
      SkinData->BGChanged = true;
      refreshMain();
      return;
    case SC_MAXIMIZE:
      MDIChildProvider = this;
      BeginFormUpdate(true);
      CallOld(message);
      EndFormUpdate(true);
      ::RedrawWindow(wnd, nullptr, nullptr, kRedrawChild);
      if (main) main->MenuLineCount = -1;
      refreshMain();
      if (SystemMenu) SystemMenu->UpdateItems();
      return;
    case SC_KEYMENU:
      // The child has no menu bar of its own: passed on, Alt reaches the
      // main form's menu.
      CallOld(message);
      if (main) main->SkinData->EndUpdate();
      return;
  }
  CallOld(message);
  if (main) main->SkinData->EndUpdate();
}
