// What the engine needs of the window-skinning library (the form providers,
// their region and show animation, the dialog hook, the menu skinner): one
// interface that library registers at start-up. Until then the engine takes
// the plain paths; standing requests (the dialog hook, the default manager's
// menu skinner) are honoured at registration.
#pragma once

#include <windows.h>

#include <functional>

#include <memory>

#include "framework/Messages.h"

class TComponent;
class TCustomForm;
class TsSkinManager;
class TsSkinProvider;
class TsSkinableMenus;

// Private messages to the application window, for the menu skinner: a menu
// item is being drawn without a popup window to hook (lParam = the item), or
// a popup window appeared (lParam = the window).
inline constexpr UINT WM_MENUITEMHOOK = 0xBCB3;
inline constexpr UINT WM_MENUWNDHOOK = 0xBCB4;

// A manager's menu skinner; the library that made it also frees it, so the
// engine never needs its type.
using TacMenusPtr = std::unique_ptr<TsSkinableMenus, void (*)(TsSkinableMenus*)>;

class TacWindowSkinning {
 public:
  virtual ~TacWindowSkinning() = default;
  // A message for a form's skin provider (a component of the form).
  virtual void ProviderMessage(TComponent* provider, TMessage& message) = 0;
  // Whether a component of a form is its skin provider.
  virtual bool IsProvider(const TComponent* component) = 0;
  // The manager the provider uses.
  virtual TsSkinManager* ManagerOf(TsSkinProvider* provider) = 0;
  // Rebuilds the provider's window region.
  virtual void UpdateRgn(TsSkinProvider* provider) = 0;
  // A new region of the provider's form shape (the caller owns it), or null.
  virtual HRGN FormRegion(TsSkinProvider* provider) = 0;
  // Fades the form's new look in over its old one in `time` ms; `showUnder`
  // paints the form, drawing on again, before the last frame goes.
  virtual void AnimShow(TCustomForm* form, int time, const std::function<void()>& showUnder) = 0;
  // The CBT procedure that skins dialogs as they are made.
  virtual HOOKPROC DialogHookProcedure() = 0;
  // A skin command for the dialogs the hook skinned (they are no forms, so
  // the broadcasts to forms miss them).
  virtual void DialogsMessage(TMessage& message) = 0;

  // A new menu skinner for the manager (null when the library has none).
  virtual TacMenusPtr CreateMenus(TsSkinManager* manager) = 0;
  // Hooks the menus of every form while the manager's skin is active, and
  // unhooks them when it is not.
  virtual void UpdateMenus(TsSkinableMenus& menus) = 0;
  // The skin is about to change: what was measured and cached of the old
  // one goes.
  virtual void ForgetMenuSkin(TsSkinableMenus& menus) = 0;
  // The application window's private menu messages; true = handled.
  virtual bool MenuMessage(TsSkinableMenus& menus, TMessage& message) = 0;
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
