#include "skin/windows/MainWnd.h"

#include <vector>

#include "framework/WindowSubclass.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/WndCache.h"

namespace {

// The form behind a skin provider (its owner), or null for other owners.
TControl* ProviderForm(TObject* ownerObject) {
  auto* provider = dynamic_cast<TComponent*>(ownerObject);
  if (!provider || std::wstring(provider->ClassName()) != L"TsSkinProvider") return nullptr;
  return dynamic_cast<TControl*>(provider->Owner());
}

}  // namespace

// ---------------------------------------------------------------- life

TacMainWnd::TacMainWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                       const std::wstring& SkinSection) {
  if (SetWindowThemeFunc && SkinSection != L"DIALOG") {
    SetWindowThemeFunc(AHandle, L" ", L" ");
    themeOff_ = true;
  }
  CtrlHandle = AHandle;
  SkinManager = ASkinManager;
  if (ASkinData) {
    SkinData = ASkinData;
    if (!SkinManager) SkinManager = SkinData->GetSkinManager();
  } else {
    OwnSkinData = true;
    ownSkinData_ = std::make_unique<TsCommonData>(nullptr, true);
    SkinData = ownSkinData_.get();
    // The adapter's own state follows the manager it was given.
    if (SkinManager) SkinData->SetSkinManager(SkinManager);
  }
  if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(SkinSection);
}

void TacMainWnd::Attach(bool) {
  SaveStdProps();
  HookWindow(this, CtrlHandle);
}

TacMainWnd::~TacMainWnd() {
  if (!Destroyed) {
    if (themeOff_ && SetWindowThemeFunc && ::IsWindow(CtrlHandle))
      SetWindowThemeFunc(CtrlHandle, nullptr, nullptr);
    if (subclass_) subclass_->Remove();
    if (hook_) hook_->Detach();
    ::RemovePropW(CtrlHandle, kAdapterProp);
    RestoreStdProps();
    Destroyed = true;
  }
  ownSkinData_.reset();
  SkinData = nullptr;
  SkinManager = nullptr;
}

void TacMainWnd::Deleter::operator()(TacMainWnd* adapter) const {
  if (!adapter) return;
  if (adapter->nesting_ > 0) {
    // Freed by a handler of one of its own messages: stop seeing the
    // window now, go when the outermost call has returned.
    adapter->Unhook(false);
    adapter->freePending_ = true;
    return;
  }
  // The destructor no longer reaches a descendant's restore: the standard
  // colours go back here, while the adapter is whole.
  if (!adapter->Destroyed) adapter->RestoreStdProps();
  delete adapter;
}

TsSkinManager* TacMainWnd::Manager() const {
  if (SkinManager) return SkinManager;
  return SkinData ? SkinData->GetSkinManager() : nullptr;
}

// ---------------------------------------------------------------- hooking

void HookWindow(TacMainWnd* adapter, HWND wnd) {
  adapter->Scrolling = false;
  adapter->CtrlHandle = wnd;
  ::SetPropW(wnd, kAdapterProp, adapter);
  TControl* target = adapter->SkinData->OwnerControl;
  if (TControl* form = ProviderForm(adapter->SkinData->OwnerObject)) target = form;
  auto run = [adapter](TMessage& m, const TWndMethod* next) { adapter->Run(m, next); };
  if (target) {
    adapter->hook_ = std::make_unique<TWndProcHook>(
        target, [run](TMessage& m, const TWndMethod& next) { run(m, &next); });
  } else {
    adapter->subclass_ =
        std::make_unique<TWindowSubclass>(wnd, [run](UINT msg, WPARAM w, LPARAM l) {
          TMessage m{msg, w, l, 0};
          run(m, nullptr);
          return m.Result;
        });
  }
}

void TacMainWnd::Unhook(bool repaint) {
  if (Destroyed) return;
  if (subclass_) subclass_->Remove();
  if (hook_) hook_->Detach();
  ::RemovePropW(CtrlHandle, kAdapterProp);
  RestoreStdProps();
  if (::IsWindowVisible(CtrlHandle)) RefreshFrame(CtrlHandle, repaint);
  Destroyed = true;
}

void UnhookWindow(HWND, bool freeAdapter, bool repaint, TacMainWndPtr& adapter) {
  if (adapter) adapter->Unhook(repaint);
  if (freeAdapter) adapter.reset();
}

TacMainWnd* GetScrollWnd(HWND wnd) {
  return wnd ? static_cast<TacMainWnd*>(::GetPropW(wnd, kAdapterProp)) : nullptr;
}

void RefreshFrame(HWND wnd, bool useSetWindowPos) {
  if (useSetWindowPos)
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  else
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
}

// ---------------------------------------------------------------- messages

void TacMainWnd::Run(TMessage& message, const TWndMethod* next) {
  const TWndMethod* outerNext = next_;
  next_ = next;
  ++nesting_;
  WndProc(message);
  --nesting_;
  next_ = outerNext;
  // An adapter its window owns has no reason to outlive the hook.
  if (Destroyed && freeWithWindow_) freePending_ = true;
  if (nesting_ == 0 && freePending_) delete this;
}

LRESULT TacMainWnd::CallPrevWndProc(HWND, UINT msg, WPARAM wParam, LPARAM& lParam) {
  if (hook_) {
    TMessage m{msg, wParam, lParam, 0};
    if (next_)
      (*next_)(m);  // the chain behind us as this call saw it (also once unhooked)
    else
      hook_->CallNext(m);
    lParam = m.LParam;
    return m.Result;
  }
  if (subclass_) return subclass_->CallPrevious(msg, wParam, lParam);
  return 0;
}

void TacMainWnd::PassOn(TMessage& message) {
  message.Result = CallPrevWndProc(CtrlHandle, message.Msg, message.WParam, message.LParam);
}

void TacMainWnd::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      Unhook(false);
      PassOn(message);
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_PRINT:
      message.Result = ::SendMessageW(CtrlHandle, WM_PAINT, message.WParam, message.LParam);
      return;
    case WM_MOUSEMOVE:
      TrackHotControl();
      break;
    case WM_MOUSELEAVE:
      ReleaseHotControl();
      break;
    case CM_MOUSELEAVE:
      if (message.LParam == 0) ReleaseHotControl();
      break;
    case SM_ALPHACMD:
      AnswerSkinCmd(message);
      return;
  }
  PassOn(message);
}

void TacMainWnd::TrackHotControl() {
  if (DefaultManager && !DefaultManager->HasState(csDesigning) && ::IsWindowEnabled(CtrlHandle) &&
      DefaultManager->ActiveControl != CtrlHandle) {
    DefaultManager->SetActiveControl(CtrlHandle);
    // The hot look must go when the mouse does, wherever it goes: over
    // nothing skinned no other control takes it over.
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, CtrlHandle, 0};
    ::TrackMouseEvent(&tme);
  }
}

void TacMainWnd::ReleaseHotControl() {
  if (DefaultManager && DefaultManager->ActiveControl == CtrlHandle) DefaultManager->SetActiveControl(nullptr);
}

void TacMainWnd::AnswerSkinCmd(TMessage& message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active()) {
    PassOn(message);
    return;
  }
  const bool ours = message.LParam == reinterpret_cast<LPARAM>(manager);
  switch (SkinCmdOf(message)) {
    case AC_SETNEWSKIN:
      if (ours) {
        SkinData->UpdateIndexes();
        SkinData->BGChanged = true;
        PassToChildControls(message);
      }
      break;
    case AC_REMOVESKIN:
      if (ours) RestoreStdProps();
      break;
    case AC_REFRESH:
      if (!ours) break;
      SkinData->UpdateIndexes();
      SkinData->BGChanged = true;
      ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
      PassToChildControls(message);
      return;
    case AC_GETCACHE:
      ReplyCache();
      return;
    case AC_ENDPARENTUPDATE:
      EndParentUpdate(RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return;
    case AC_CTRLHANDLED:
      AnswerHandled(message);
      return;
    case AC_ISUPDATING:
      message.LParam = (SkinData->BGChanged || SkinData->Updating) ? 1 : 0;
      break;
    case AC_ISTEXTURED:
    case AC_GETBGCOLOR:
      if (SkinData->OwnerControl) {
        CommonAlphaCmd(message, SkinData);
        return;
      }
      break;
    case AC_PREPARECACHE:
      PrepareWndCache(SkinData, CtrlHandle, false);
      break;
  }
  PassOn(message);
}

// The skin commands stop at an adapted window, whose own procedure (a
// standard container's) passes nothing on: the skinned controls inside it
// hear them from here.
void TacMainWnd::PassToChildControls(TMessage& message) {
  auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl);
  if (owner && owner->HandleAllocated() && owner->WindowHandle() == CtrlHandle)
    BroadcastToChildren(owner, message);
}

void TacMainWnd::ReplyCache() {
  CacheInfoReply = MakeCacheInfo(SkinData->CacheBmp.get(), 0, 0);
}

void TacMainWnd::EndParentUpdate(UINT redrawFlags) {
  if (!SkinData->Updating) return;
  SkinData->SetUpdating(false);
  // A notice from further up (the form's, to all its adapted windows) can
  // come while the parent in between still waits for its own paint; that
  // paint notifies again, and redrawing now would paint the window and all
  // its children twice.
  if (SkinData->GetUpdating()) return SkinData->SetUpdating(true);
  ::RedrawWindow(CtrlHandle, nullptr, nullptr, redrawFlags);
}

// Yes in both LParam and Result: for direct callers and for SendMessage.
void TacMainWnd::AnswerHandled(TMessage& message) {
  message.LParam = 1;
  message.Result = 1;
}

// ---------------------------------------------------------------- geometry

void GetWndText(HWND wnd, std::wstring& text) {
  int n = ::GetWindowTextLengthW(wnd);
  std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
  int got = ::GetWindowTextW(wnd, buf.data(), n + 1);
  text.assign(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void GetWndRectInParent(HWND wnd, HWND& parent, TRect& wndRect, std::wstring& text,
                        TPoint& offset, TPoint& size, TRect& parentRect) {
  parent = ::GetParent(wnd);
  ::GetWindowRect(wnd, &wndRect);
  parentRect = TRect{};
  if (parent) ::GetWindowRect(parent, &parentRect);
  size = TPoint{wndRect.right - wndRect.left, wndRect.bottom - wndRect.top};
  offset = TPoint{wndRect.left - parentRect.left, wndRect.top - parentRect.top};
  GetWndText(wnd, text);
}
