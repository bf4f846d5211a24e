// TsSkinProvider: life, preparation, the skin commands and the message
// switch that decides what the framework still sees of a skinned form.
#include "skin/windows/SkinProvider.h"

#include <commctrl.h>

#include "skin/engine/AnimShow.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinnedForms.h"
#include "skin/engine/WindowSkinning.h"
#include "skin/windows/CtrlAdapter.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/RedrawOff.h"
#include "skin/windows/SkinableMenus.h"

namespace {

// What the engine asks of the form providers and the menu skinner,
// registered with the engine when the first provider is made.
class TacProviderSkinning final : public TacWindowSkinning {
 public:
  void ProviderMessage(TComponent* provider, TMessage& message) override {
    if (auto* p = dynamic_cast<TsSkinProvider*>(provider)) p->SkinMessage(message);
  }
  bool IsProvider(const TComponent* component) override {
    return dynamic_cast<const TsSkinProvider*>(component) != nullptr;
  }
  TsSkinManager* ManagerOf(TsSkinProvider* provider) override { return provider->Manager(); }
  void UpdateRgn(TsSkinProvider* provider) override { provider->UpdateRgn(true); }
  HRGN FormRegion(TsSkinProvider* provider) override {
    provider->CollectRegionRects();
    return provider->CreateFormRgn(0, 0);
  }
  // A changed skin fades in over the old look, which the screen still shows
  // while the form's drawing is locked.
  void AnimShow(TCustomForm* form, int time, const std::function<void()>& showUnder) override {
    AnimShowControl(form, static_cast<uint16_t>(time), TacAnimClock::System(), showUnder);
  }
  HOOKPROC DialogHookProcedure() override { return DialogHookProc; }
  void DialogsMessage(TMessage& message) override { SendToHookedDialogs(message); }
  TacMenusPtr CreateMenus(TsSkinManager* manager) override {
    return TacMenusPtr(new TsSkinableMenus(manager), [](TsSkinableMenus* menus) { delete menus; });
  }
  void UpdateMenus(TsSkinableMenus& menus) override { menus.UpdateMenus(); }
  void ForgetMenuSkin(TsSkinableMenus& menus) override {
    menus.SetSkinBorderWidth(-1);
    menus.FreeMenuCache();
  }
  bool MenuMessage(TsSkinableMenus& menus, TMessage& message) override {
    return menus.HookMessage(message);
  }
};

TCustomForm* OwnerForm(TComponent* c) {
  for (TComponent* o = c ? c->Owner() : nullptr; o; o = o->Owner())
    if (auto* f = dynamic_cast<TCustomForm*>(o)) return f;
  return nullptr;
}

}  // namespace

void InstallEngineHooks() {
  static TacProviderSkinning skinning;
  if (WindowSkinning() != &skinning) RegisterWindowSkinning(&skinning);
}

// ---------------------------------------------------------------- helpers

int WndWidth(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return r.right - r.left;
}
int WndHeight(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return r.bottom - r.top;
}
int WndClientWidth(HWND wnd) {
  RECT r{};
  ::GetClientRect(wnd, &r);
  return r.right;
}
int WndClientHeight(HWND wnd) {
  RECT r{};
  ::GetClientRect(wnd, &r);
  return r.bottom;
}

TsSkinProvider* GetSkinProvider(TControl* control) {
  TCustomForm* form = dynamic_cast<TCustomForm*>(control);
  if (!form) form = OwnerForm(control);
  if (!form || !form->HandleAllocated()) return nullptr;
  return ProviderOfReply(form->Perform(SM_ALPHACMD, SkinCmdWParam(AC_GETPROVIDER), 0));
}

// ---------------------------------------------------------------- life

TsSkinProvider::TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) {
  InstallEngineHooks();
  SkinData = std::make_unique<TsCommonData>(this, true);
  SkinData->ControlKind = ckSkinProvider;
  SkinData->SetSkinSection(L"FORM");
  Form = OwnerForm(this);
  if (Form)
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (Form->Components(i) != this && dynamic_cast<TsSkinProvider*>(Form->Components(i)))
        inert_ = true;
  if (inert_) Form = nullptr;
  if (!Form || HasState(csDesigning)) return;
  TempBmp = std::make_unique<TBitmap>();
  FirstPrepare = true;
  MenuLineCount = -1;
  hook_ = std::make_unique<TWndProcHook>(Form, [this](TMessage& m, const TWndMethod& next) {
    const TWndMethod* outer = next_;
    next_ = &next;
    NewWndProc(m);
    next_ = outer;
  });
  AddSkinnedForm(Form);
  FormActive = true;
}

TsSkinProvider::~TsSkinProvider() {
  StopBorderDrag(false);
  ForgetMDI();
  // The controls' adapters and the form's scroll bars hooked after us:
  // they go first.
  Adapter.reset();
  FormScrollWnd.reset();
  if (Form) {
    RemoveSkinnedForm(Form);
    // The hook chain splices us out wherever we are in it; adapters that
    // hooked the form after us keep their own place.
    if (hook_) hook_->Detach();
    if (hasRgn_ && Form->HandleAllocated() && !Form->HasState(csDestroying))
      ::SetWindowRgn(FormHandle(), nullptr, TRUE);
  }
  hook_.reset();
}

void TsSkinProvider::AfterConstruction() {
  TComponent::AfterConstruction();
  if (!Form || !Manager() || HasState(csDesigning)) return;
  if (SkinData->Skinned(false)) CreateAdapter();
  PrepareForm();
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  if (!Form || !Manager() || HasState(csDesigning) || !SkinData->Skinned(true)) return;
  CreateAdapter();
  PrepareForm();
  if (SystemMenu) SystemMenu->UpdateItems();
  TsSkinManager* m = Manager();
  int global = m->GetSkinIndex(L"GLOBALINFO");
  int mask = m->GetMaskIndex(global, L"GLOBALINFO", L"TITLEBUTTON");
  if (!m->IsValidImgIndex(mask))
    mask = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(), L"TITLEBUTTON");
  for (auto& b : TitleButtons) b->ImageIndex = b->UseSkinData ? mask : -1;
  ConnectMDIClient();
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (!SkinData) return;
  auto* manager = dynamic_cast<TsSkinManager*>(component);
  if (!manager) return;
  if (operation == TOperation::opInsert && !SkinData->GetSkinManager()) SkinData->SetSkinManager(manager);
  if (operation == TOperation::opRemove && SkinData->StoredSkinManager() == manager)
    SkinData->ForgetSkinManager();
}

HWND TsSkinProvider::FormHandle() const {
  return Form && Form->HandleAllocated() ? Form->WindowHandle() : nullptr;
}

// ---------------------------------------------------------------- preparation

void TsSkinProvider::StyleSysMenu(bool skinned) {
  HWND wnd = FormHandle();
  if (!wnd || Form->BorderIcons() == 0) return;
  LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
  LONG_PTR wanted = skinned ? (style & ~static_cast<LONG_PTR>(WS_SYSMENU)) : (style | WS_SYSMENU);
  if (wanted != style) ::SetWindowLongPtrW(wnd, GWL_STYLE, wanted);
}

void TsSkinProvider::PrepareForm() {
  TsSkinManager* m = Manager();
  if (!m || !Form) return;
  SkinData->Loaded();
  if (!SystemMenu) {
    SystemMenu = new TsSystemMenu(this);
    SystemMenu->UpdateItems();
  }
  const bool active = m->SkinData && m->SkinData->Active;
  // The provider draws and runs the caption buttons itself.
  if (active && Form->FormStyle() != fsMDIChild) StyleSysMenu(true);
  if (FirstPrepare && active) {
    FirstPrepare = false;
    SetMDIForm(true);
  }
  SkinData->UpdateIndexes();
  UpdateButtonIndexes();
  if (Form->FormStyle() == fsMDIChild && MDISkinProvider && MDISkinProvider != this &&
      MDISkinProvider->SkinData->Skinned(false)) {
    MDISkinProvider->SkinData->BGChanged = true;
    MDISkinProvider->MenuLineCount = -1;
  }
  if (!Form->HasState(csLoading | csReading) && useGlobalColor_ && !SkinData->CustomColor() &&
      SkinData->Skinned(false))
    Form->SetColor(m->GetGlobalColor());
}

// Standard controls of the form get their window adapters from the control
// adapter. The walk runs when the form first shows and for controls made
// while it is on screen, not for each child the form's window creates.
void TsSkinProvider::CreateAdapter() {
  if (Adapter || !Form || !SkinData->Skinned(false)) return;
  Adapter = std::make_unique<TacCtrlAdapter>(Form, Manager(), this);
  if (Form->HandleAllocated() && Form->IsShowing()) Adapter->AddAllItems(nullptr);
}

void TsSkinProvider::UpdateFormScrollWnd() {
  HWND wnd = FormHandle();
  if (HasState(csLoading | csDestroying) || !wnd || !Form->AutoScroll()) return;
  if (SkinData->Skinned(false)) {
    ::UninitializeFlatSB(wnd);
    if (FormScrollWnd && FormScrollWnd->Destroyed) FormScrollWnd.reset();
    if (!FormScrollWnd)
      FormScrollWnd = TacMainWnd::Create<TacScrollWnd>(wnd, SkinData.get(), Manager(), L"", false);
  } else {
    FormScrollWnd.reset();
    ::InitializeFlatSB(wnd);
  }
}

void TsSkinProvider::RemoveAdapter() {
  if (!Adapter) return;
  TMessage remove{SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN), reinterpret_cast<LPARAM>(Manager()), 0};
  SendToAdapter(remove);
  Adapter.reset();
}

void TsSkinProvider::SendToAdapter(TMessage& message) {
  if (!Adapter) return;
  // A receiver may drop its own item: walk a copy of the controls.
  std::vector<TWinControl*> controls;
  for (auto& item : Adapter->Items)
    if (item->ScrollWnd && item->Ctrl && item->Ctrl->Parent() && item->Ctrl->HandleAllocated())
      controls.push_back(item->Ctrl);
  for (TWinControl* c : controls) {
    if (!Adapter || !Adapter->ItemOf(c) || !c->HandleAllocated()) continue;
    if (!FirstDelivery(message, c)) continue;
    try {
      ::SendMessageW(c->WindowHandle(), message.Msg, message.WParam, message.LParam);
    } catch (...) {
      // One control's failure must not keep the others from hearing.
    }
  }
}

void TsSkinProvider::InvalidateFrame() {
  SkinData->BGChanged = true;
  MenuChanged = true;
  MenuLineCount = -1;
  if (HWND wnd = FormHandle()) ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value) {
  if (captionAlignment_ == value) return;
  captionAlignment_ = value;
  InvalidateFrame();
}

void TsSkinProvider::SetShowAppIcon(bool value) {
  if (showAppIcon_ == value) return;
  showAppIcon_ = value;
  InvalidateFrame();
}

void TsSkinProvider::SetTitleSkin(const std::wstring& value) {
  if (titleSkin_ == value) return;
  titleSkin_ = value;
  InvalidateFrame();
}

void TsSkinProvider::SetUseGlobalColor(bool value) {
  if (useGlobalColor_ == value) return;
  useGlobalColor_ = value;
  if (!Form) return;
  if (SkinData->Skinned(false) && value && !SkinData->CustomColor())
    Form->SetColor(Manager()->GetGlobalColor());
  else
    Form->SetColor(clBtnFace);
}

// ---------------------------------------------------------------- messages

void TsSkinProvider::CallOld(TMessage& message) {
  if (next_)
    (*next_)(message);
  else if (hook_)
    hook_->CallNext(message);
}

void TsSkinProvider::NewWndProc(TMessage& message) {
  if (HasState(csDesigning) || !Form) return CallOld(message);
  if (message.Msg == SM_ALPHACMD) {
    switch (HIWORD(message.WParam)) {
      case AC_REMOVESKIN:
        return OnRemoveSkin(message);
      case AC_SETNEWSKIN:
        if (!SystemMenu) PrepareForm();
        break;
      case AC_CTRLHANDLED:
        message.LParam = 1;
        message.Result = 1;
        return;
    }
  }
  if (Form->HasState(csDestroying) || !SkinData->Skinned(true)) {
    if (message.Msg == SM_ALPHACMD) return AlphaCmdUnskinned(message);
    CallOld(message);
    if (message.Msg == WM_NCDESTROY) AfterMDIChildDestroyed();
    return;
  }
  if (message.Msg == SM_ALPHACMD) return AlphaCmdSkinned(message);
  SkinnedWndProc(message);
}

void TsSkinProvider::OnRemoveSkin(TMessage& message) {
  TsSkinManager* m = Manager();
  if (reinterpret_cast<TsSkinManager*>(message.LParam) == m) {
    FormScrollWnd.reset();
    RemoveAdapter();
    CommonAlphaCmd(message, SkinData.get());
    MenuLineCount = -1;
    BroadcastToChildren(Form, message);
    if (useGlobalColor_ && !SkinData->CustomColor()) Form->SetColor(clBtnFace);
    if (m) {
      HookMenus(false);
      StyleSysMenu(false);
      SetMDIForm(false);
      if (HasFrame() && !RgnLocked) RemoveRgn();
    }
    HotItem = 0;
    if (HWND wnd = FormHandle(); wnd && ::IsWindowVisible(wnd))
      ::RedrawWindow(wnd, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    BroadcastToChildren(Form, message);
  }
}

void TsSkinProvider::OnSetNewSkinUnskinned(TMessage& message) {
  TsSkinManager* m = Manager();
  if (reinterpret_cast<TsSkinManager*>(message.LParam) == m && !Form->HasState(csDestroying)) {
    SkinData->UpdateIndexes();
    if (m) {
      UpdateButtonIndexes();
      try {
        StyleSysMenu(true);
      } catch (...) {
      }
      HookMenus(true);
      SkinData->BGChanged = true;
      MenuLineCount = -1;
      RgnRectsDirty = true;
      if (useGlobalColor_ && !SkinData->CustomColor()) Form->SetColor(m->GetGlobalColor());
      CreateAdapter();
      MDISkinCmd();
    }
  }
  BroadcastToChildren(Form, message);
}

void TsSkinProvider::AlphaCmdUnskinned(TMessage& message) {
  if (HIWORD(message.WParam) == AC_SETNEWSKIN) return OnSetNewSkinUnskinned(message);
  CallOld(message);
}

void TsSkinProvider::OnSetNewSkinSkinned() {
  TsSkinManager* m = Manager();
  SkinData->UpdateIndexes();
  if (!m) return;
  UpdateButtonIndexes();
  StyleSysMenu(true);
  if (m->SkinableMenus) m->SkinableMenus->UpdateMenus();
  SkinData->BGChanged = true;
  TitleStripBmp.reset();
  MenuLineCount = -1;
  RgnRectsDirty = true;
  if (HWND wnd = FormHandle()) ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  MDISkinCmd();
}

void TsSkinProvider::OnRefresh(TMessage& message) {
  CreateAdapter();
  UpdateFormScrollWnd();
  SkinData->BGChanged = true;
  MenuLineCount = -1;
  SkinData->Updating = false;
  TitleStripBmp.reset();
  HookMenus(SkinData->Skinned(false));
  if (HasFrame()) RgnRectsDirty = true;
  bool refreshClient = false;
  if (HWND wnd = FormHandle(); wnd && ::IsWindowVisible(wnd)) {
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
    // A maximized MDI child covers the whole client: it is what shows.
    if (!RepaintMaximizedMDIChild()) {
      ::InvalidateRect(wnd, nullptr, FALSE);
      ::UpdateWindow(wnd);
      refreshClient = true;
    }
  }
  if (useGlobalColor_ && !SkinData->CustomColor()) Form->SetColor(Manager()->GetGlobalColor());
  MDISkinCmd();
  // After the client has its adapter, which paints its frame.
  if (refreshClient) RefreshMDIClient();
  SendToAdapter(message);
}

void TsSkinProvider::AlphaCmdSkinned(TMessage& message) {
  const bool own = reinterpret_cast<TsSkinManager*>(message.LParam) == Manager();
  switch (HIWORD(message.WParam)) {
    case AC_SETNEWSKIN:
      if (own) OnSetNewSkinSkinned();
      BroadcastToChildren(Form, message);
      return;
    case AC_REFRESH:
      if (own) OnRefresh(message);
      BroadcastToChildren(Form, message);
      return;
    case AC_GETPROVIDER:
      message.Result = reinterpret_cast<LRESULT>(this);
      return;
    case AC_ADAPTCHILDREN:
      if (Adapter) Adapter->AddAllItems(reinterpret_cast<TWinControl*>(message.LParam));
      return;
    case AC_GETCACHE:
      if (!HasState(csLoading)) CacheInfoReply = MakeCacheInfo(SkinData->CacheBmp.get(), OffsetX(), OffsetY());
      return;
    case AC_SETUPDATING:
      SkinData->Updating = LOWORD(message.WParam) == 1;
      if (SkinData->GetUpdating()) SkinData->BGChanged = true;
      return;
    case AC_SETBGDEPENDENT:
      CommonWndProc(message, SkinData.get());
      if (SkinData->BGDependent) PaintAll();
      return;
    case AC_ISUPDATING:
      message.LParam = (SkinData->BGChanged || SkinData->GetUpdating()) ? 1 : 0;
      return;
    case AC_SETPAINTINGCHILD:
      SkinData->PaintingChild = reinterpret_cast<TControl*>(message.LParam);
      return;
    case AC_ISTEXTURED: {
      const TsGeneralData* s = SkinData->Section();
      message.LParam = s && s->GradientPercent + s->ImagePercent > 0 ? 1 : 0;
      return;
    }
    case AC_GETBGCOLOR: {
      const TsGeneralData* s = SkinData->Section();
      BGFillColor = s && SkinData->Skinned(false) && !SkinData->CustomColor()
                        ? s->HotColor
                        : static_cast<TColor>(ColorToRGB(Form->Color()));
      return;
    }
    case AC_BEFORESCROLL:
      if (SkinData->DependsOnParentBg()) ::SendMessageW(FormHandle(), WM_SETREDRAW, 0, 0);
      return;
    case AC_AFTERSCROLL:
      if (SkinData->DependsOnParentBg()) {
        ::SendMessageW(FormHandle(), WM_SETREDRAW, 1, 0);
        const UINT flags =
            RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE | RDW_INVALIDATE;
        ::RedrawWindow(FormHandle(), nullptr, nullptr, flags);
        if (MDISkinProvider == this && Form->ClientHandle())
          ::RedrawWindow(Form->ClientHandle(), nullptr, nullptr, flags);
      }
      return;
  }
  // Any other command stops here.
}

void TsSkinProvider::SkinnedWndProc(TMessage& message) {
  switch (Form->FormStyle()) {
    case fsMDIChild: return MDIChildWndProc(message);
    case fsMDIForm: return MDIMainWndProc(message);
    default: return SkinnedWndProcStd(message);
  }
}

void TsSkinProvider::SkinnedWndProcStd(TMessage& message) {
  switch (message.Msg) {
    case WM_CREATE:
      CallOld(message);
      PrepareForm();
      return;
    case WM_ACTIVATE:
      return OnActivate(message);
    case WM_SETTEXT:
      return OnSetText(message);
    case WM_PAINT:
      if (::IsWindowVisible(FormHandle()) && !(Form->ControlState() & csCreating)) WMPaint();
      message.Result = 0;
      return;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(message);
    case WM_SETTINGCHANGE:
      SkinData->BGChanged = true;
      TitleStripBmp.reset();
      return CallOld(message);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(message);
    case WM_MEASUREITEM:
      return OnMeasureItem(message);
    case WM_WINDOWPOSCHANGING:
      return OnWindowPosChanging(message);
    case WM_WINDOWPOSCHANGED:
    case WM_EXITSIZEMOVE:
      return OnWindowPosChanged(message);
    case WM_NCHITTEST:
      return OnNcHitTest(message);
    case WM_NCPAINT:
      return OnNcPaint(message);
    case WM_NCACTIVATE:
      return OnNcActivate(message);
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(message);
    case WM_NCLBUTTONUP:
      return OnButtonUp(message, false);
    case WM_LBUTTONUP:
      return OnButtonUp(message, true);
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDblClk(message);
    case WM_NCRBUTTONDOWN:
      return OnNcRButtonDown(message);
    case WM_NCRBUTTONUP:
      return OnNcRButtonUp(message);
    case WM_NCMOUSEMOVE:
      return OnNcMouseMove(message);
    case WM_MOUSEMOVE:
      return OnMouseMove(message);
    case WM_SYSCOMMAND:
      return OnSysCommand(message);
    case WM_SIZING:
      CallOld(message);
      if (FormSizeChanged()) {
        SkinData->BGChanged = true;
        MenuLineCount = -1;
      }
      return;
    case WM_MENUSELECT:
    case WM_ENTERIDLE:
      message.Result = 0;
      return;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case CM_MOUSELEAVE:
      trackingLeave_ = false;
      if (!captured_) SetHotItem(0, true);
      return CallOld(message);
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: a pressed item is let go without acting
      // and an outline drag ends where the form is.
      if (reinterpret_cast<HWND>(message.LParam) != FormHandle()) {
        if (captured_) {
          captured_ = false;
          SetHotItem(0, true);
        }
        StopBorderDrag(false);
      }
      return CallOld(message);
    case WM_PRINT:
      return OnPrint(message);
    case WM_PRINTCLIENT:
      return;
    case CM_ENABLEDCHANGED:
      CallOld(message);
      SkinData->BGChanged = true;
      ::SendMessageW(FormHandle(), WM_NCPAINT, 1, 0);
      return;
    case CM_COLORCHANGED:
      if (!SkinData->CustomColor()) return;
      if (!(Form->ControlState() & csCreating)) SkinData->BGChanged = true;
      return CallOld(message);
    case CM_MENUCHANGED:
      CallOld(message);
      // New or changed bar items get the skinner's handlers and the line is
      // painted again; the hooking itself changes items, which lands here.
      if (::IsWindowVisible(FormHandle()) && !(Form->ControlState() & csCreating) &&
          !hookingMenus_) {
        HookMenus(SkinData->Skinned(false));
        InvalidateFrame();
      }
      return;
    case CM_SHOWINGCHANGED:
      if (Adapter && Form->IsShowing()) Adapter->AddAllItems(nullptr);
      return OnShowingChanged(message);
    case WM_PARENTNOTIFY:
      CallOld(message);
      // A control made while the form is on screen gets its adapter.
      if (Adapter && LOWORD(message.WParam) == WM_CREATE && ::IsWindowVisible(FormHandle()))
        Adapter->AddAllItems(nullptr);
      if (LOWORD(message.WParam) == WM_CREATE || LOWORD(message.WParam) == WM_DESTROY)
        UpdateScrolls(FormScrollWnd.get(), true);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      CallOld(message);
      // Setting the new position lets the system draw its own bar over ours.
      if (message.LParam == 0 && FormScrollWnd && !FormScrollWnd->Scrolling)
        UpdateScrolls(FormScrollWnd.get(), true);
      return;
    case WM_SYSCOLORCHANGE:
      CallOld(message);
      RefreshMenuBar();
      return;
  }
  CallOld(message);
}

void TsSkinProvider::OnActivate(TMessage& message) {
  CallOld(message);
  if ((Form->ControlState() & csCreating)) return;
  const bool active = LOWORD(message.WParam) != WA_INACTIVE;
  // WM_NCACTIVATE has normally repainted the frame already; a second frame
  // paint follows only when the look really changes here.
  if (active != FormActive) {
    FormActive = active;
    SkinData->BGChanged = true;
    MenuLineCount = -1;
    ::SendMessageW(FormHandle(), WM_NCPAINT, 1, 0);
  }
  HookMenus(true);
  RepaintMaximizedMDIChild();
  if (SystemMenu) SystemMenu->UpdateItems();
}

void TsSkinProvider::OnSetText(TMessage& message) {
  HWND wnd = FormHandle();
  if (!wnd || !::IsWindowVisible(wnd)) return CallOld(message);
  // The platform paints its own caption right inside WM_SETTEXT; with
  // drawing off it cannot, and the skinned caption follows below.
  {
    TRedrawOff off(wnd);
    CallOld(message);
  }
  if (HasFrame() && !SkinData->GetUpdating()) {
    SkinData->BGChanged = true;
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  }
}

void TsSkinProvider::OnEraseBkgnd(TMessage& message) {
  // The client paint copies the cache; erasing first would only flicker.
  message.Result = 0;
}
