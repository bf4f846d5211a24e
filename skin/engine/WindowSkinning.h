// What the engine needs of the window-skinning library (the form providers,
// their region and show animation, the dialog hook): one interface that
// library registers at start-up. Until then the engine takes the plain paths;
// a standing request (the dialog hook) is kept and honoured at registration.
#pragma once

#include <windows.h>

#include "framework/Messages.h"

class TComponent;
class TCustomForm;
class TsSkinManager;
class TsSkinProvider;

class TacWindowSkinning {
 public:
  virtual ~TacWindowSkinning() = default;
  // A message for a form's skin provider (a component of the form).
  virtual void ProviderMessage(TComponent* provider, TMessage& message) = 0;
  // The manager the provider uses.
  virtual TsSkinManager* ManagerOf(TsSkinProvider* provider) = 0;
  // Rebuilds the provider's window region.
  virtual void UpdateRgn(TsSkinProvider* provider) = 0;
  // A new region of the provider's form shape (the caller owns it), or null.
  virtual HRGN FormRegion(TsSkinProvider* provider) = 0;
  // Fades the form's new look in over its old one in `time` ms.
  virtual void AnimShow(TCustomForm* form, int time) = 0;
  // The CBT procedure that skins dialogs as they are made.
  virtual HOOKPROC DialogHookProcedure() = 0;
  // A skin command for the dialogs the hook skinned (they are no forms, so
  // the broadcasts to forms miss them).
  virtual void DialogsMessage(TMessage& message) = 0;
};

// Registers the library's interface (not owned; null takes it away again)
// and honours the requests made before.
void RegisterWindowSkinning(TacWindowSkinning* skinning);
// The registered interface, or null.
TacWindowSkinning* WindowSkinning();

// The provider a form's window names in its AC_GETPROVIDER reply.
inline TsSkinProvider* ProviderOfReply(LRESULT reply) {
  return reinterpret_cast<TsSkinProvider*>(reply);
}
