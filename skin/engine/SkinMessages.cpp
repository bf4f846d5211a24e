#include "skin/engine/SkinMessages.h"

#include <unordered_set>
#include <vector>

#include "framework/Controls.h"
#include "skin/engine/WindowSkinning.h"

TCacheInfo CacheInfoReply;
TColor BGFillColor = clFuchsia;

void RegisterSkinMessage() {
  // The registered number is not used; registering the name keeps it known
  // to the system for tools that look messages up by name.
  static const UINT registered = ::RegisterWindowMessageW(L"SM_ALPHACMD");
  (void)registered;
}

LRESULT SendSkinCmd(HWND wnd, WORD cmd, LPARAM lParam) {
  return ::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(cmd), lParam);
}

LRESULT SendSkinCmdToCtrl(TControl* control, WORD cmd, LPARAM lParam) {
  if (!control) return 0;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (win->HasState(csDestroying) || !win->HandleAllocated()) return 0;
    return ::SendMessageW(win->WindowHandle(), SM_ALPHACMD, SkinCmdWParam(cmd), lParam);
  }
  return control->Perform(SM_ALPHACMD, SkinCmdWParam(cmd), lParam);
}

bool QuerySkinCmd(TWinControl* control, WORD cmd) {
  if (!control) return false;
  // Once, through the control's own procedure chain: asking makes no window
  // and a receiver with side effects hears the question only once.
  TMessage m{SM_ALPHACMD, SkinCmdWParam(cmd), 0, 0};
  control->Dispatch(m);
  return m.LParam == 1 || m.Result == 1;
}

bool QuerySkinCmdWnd(HWND wnd, WORD cmd) {
  return ::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(cmd), 0) == 1;
}

// ---------------------------------------------------------------- once per control

struct TacDeliverOnce::Scope {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  std::unordered_set<const TControl*> reached;
  Scope* outer;
};

namespace {

TacDeliverOnce::Scope*& InnermostScope() {
  static TacDeliverOnce::Scope* innermost = nullptr;
  return innermost;
}

bool SameMessage(const TacDeliverOnce::Scope& s, const TMessage& m) {
  return s.msg == m.Msg && s.wParam == m.WParam && s.lParam == m.LParam;
}

}  // namespace

TacDeliverOnce::TacDeliverOnce(const TMessage& message) {
  for (Scope* s = InnermostScope(); s; s = s->outer)
    if (SameMessage(*s, message)) return;
  scope_ = std::make_unique<Scope>(Scope{message.Msg, message.WParam, message.LParam, {},
                                         InnermostScope()});
  InnermostScope() = scope_.get();
}

TacDeliverOnce::~TacDeliverOnce() {
  if (scope_) InnermostScope() = scope_->outer;
}

bool FirstDelivery(const TMessage& message, const TControl* receiver) {
  for (TacDeliverOnce::Scope* s = InnermostScope(); s; s = s->outer)
    if (SameMessage(*s, message)) return s->reached.insert(receiver).second;
  return true;
}

namespace {

// A receiver's exception must not stop the broadcast.
void SendSwallowing(HWND wnd, const TMessage& message) {
  try {
    ::SendMessageW(wnd, message.Msg, message.WParam, message.LParam);
  } catch (...) {
  }
}

void PerformSwallowing(TControl* control, const TMessage& message) {
  try {
    control->Perform(message.Msg, message.WParam, message.LParam);
  } catch (...) {
  }
}

}  // namespace

void BroadcastToChildren(TWinControl* control, TMessage& message) {
  if (!control) return;
  // The count is read again before every step: receivers may add or remove
  // controls while they handle the command.
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    if (!child || child->HasState(csDestroying)) return;
    auto* win = dynamic_cast<TWinControl*>(child);
    if (!win) {
      if (FirstDelivery(message, child))
        child->Perform(message.Msg, message.WParam, message.LParam);
    } else if (QuerySkinCmd(win, AC_CTRLHANDLED)) {
      if (!FirstDelivery(message, win)) continue;
      // A control whose window is not made yet (a page not shown so far)
      // hears the command directly: asking for its handle would make it.
      if (win->HandleAllocated()) SendSwallowing(win->WindowHandle(), message);
      else PerformSwallowing(win, message);
    } else {
      BroadcastToChildren(win, message);
    }
  }
}

void BroadcastToChildWindows(HWND parent, TMessage& message) {
  // A snapshot of the direct children, so a child destroyed by a receiver
  // neither breaks the walk nor is visited after its end.
  std::vector<HWND> children;
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    children.push_back(c);
  for (HWND child : children) {
    if (!::IsWindow(child) || ::GetParent(child) != parent) continue;
    if (QuerySkinCmdWnd(child, AC_CTRLHANDLED))
      SendSwallowing(child, message);
    else
      BroadcastToChildWindows(child, message);
  }
}


void SendToProvider(TComponent* form, TMessage& message) {
  // Only the window-skinning library makes providers: without it there is
  // none to reach.
  TacWindowSkinning* skinning = WindowSkinning();
  if (!form || !skinning) return;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    TComponent* c = form->Components(i);
    if (c && skinning->IsProvider(c) && !c->HasState(csDestroying)) {
      skinning->ProviderMessage(c, message);
      return;
    }
  }
}

namespace {

template <class T, class Send>
T Request(T& slot, const T& reset, Send send) {
  T saved = slot;
  slot = reset;
  T answer;
  try {
    send();
    answer = slot;
  } catch (...) {
    slot = saved;
    throw;
  }
  slot = saved;
  return answer;
}

TCacheInfo NotReady() {
  TCacheInfo ci = CacheInfoReply;
  ci.Ready = false;
  return ci;
}

}  // namespace

TCacheInfo RequestCacheInfo(HWND wnd) {
  if (!wnd) return TCacheInfo{};
  return Request(CacheInfoReply, NotReady(), [&] { SendSkinCmd(wnd, AC_GETCACHE, 0); });
}

TCacheInfo RequestCacheInfo(TControl* control) {
  if (!control) return TCacheInfo{};
  return Request(CacheInfoReply, NotReady(),
                 [&] { SendSkinCmdToCtrl(control, AC_GETCACHE, 0); });
}

TColor RequestBGColor(HWND wnd) {
  if (!wnd) return clFuchsia;
  return Request(BGFillColor, clFuchsia, [&] { SendSkinCmd(wnd, AC_GETBGCOLOR, 0); });
}

TColor RequestBGColor(TControl* control) {
  if (!control) return clFuchsia;
  return Request(BGFillColor, clFuchsia,
                 [&] { SendSkinCmdToCtrl(control, AC_GETBGCOLOR, 0); });
}
