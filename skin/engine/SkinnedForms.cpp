#include "skin/engine/WindowSkinning.h"
#include "skin/engine/SkinnedForms.h"

#include <shellapi.h>

#include <objbase.h>

#include <memory>
#include <optional>
#include <thread>

#include "framework/SysUtils.h"
#include "skin/engine/AnimEffects.h"
#include "skin/engine/ModuleIcon.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"

std::vector<TCustomForm*> SkinnedForms;

int AddSkinnedForm(TCustomForm* form) {
  SkinnedForms.push_back(form);
  return static_cast<int>(SkinnedForms.size());
}

void RemoveSkinnedForm(TCustomForm* form) {
  // Called from destructors, also of forms that were never added: an empty
  // list has nothing to remove.
  size_t i = 0;
  while (i < SkinnedForms.size()) {
    if (SkinnedForms[i] != form) {
      ++i;
      continue;
    }
    SkinnedForms[i] = SkinnedForms.back();
    SkinnedForms.back() = nullptr;
    if (SkinnedForms.back() == nullptr) SkinnedForms.pop_back();
    // The entry moved into slot i is looked at again.
  }
}

namespace {

HWND MDIClientOf(TCustomForm* form) {
  if (form->FormStyle() != fsMDIForm || !form->HandleAllocated()) return nullptr;
  return ::FindWindowExW(form->WindowHandle(), nullptr, L"MDICLIENT", nullptr);
}

void SendToForm(TCustomForm* form, TMessage& message) {
  ::SendMessageW(form->Handle(), message.Msg, message.WParam, message.LParam);
  BroadcastToChildren(form, message);
  if (HWND client = MDIClientOf(form))
    ::SendMessageW(client, message.Msg, message.WParam, message.LParam);
}

bool IsTopLevelShownForm(TCustomForm* form) {
  // The form's own flag, not the window style: switching drawing off clears
  // WS_VISIBLE until it is switched on again.
  return form && form->FormStyle() != fsMDIChild && form->Parent() == nullptr &&
         form->HandleAllocated() && form->Visible();
}

// A new skin and its refresh reach a skinned form's children on two paths:
// the form's provider passes them on, and so does the broadcast after it.
// Each control takes them once.
bool OncePerControl(const TMessage& message) {
  return message.Msg == SM_ALPHACMD &&
         (SkinCmdOf(message) == AC_SETNEWSKIN || SkinCmdOf(message) == AC_REFRESH);
}

}  // namespace

void AppBroadcast(TMessage& message) {
  if (!Application) return;
  std::optional<TacDeliverOnce> once;
  if (OncePerControl(message)) once.emplace(message);
  for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
    // Receivers may free forms while they handle the command.
    if (i >= Application->ComponentCount()) return;
    auto* form = dynamic_cast<TCustomForm*>(Application->Components(i));
    if (!form || form->FormStyle() == fsMDIChild) continue;
    if (form->HasState(csDestroying | csLoading)) continue;
    if (QuerySkinCmd(form, AC_CTRLHANDLED)) continue;  // has a provider: reached below
    SendToForm(form, message);
  }
  SkinnedFormsBroadcast(message);
}

void SkinnedFormsBroadcast(TMessage& message) {
  std::optional<TacDeliverOnce> once;
  if (OncePerControl(message)) once.emplace(message);
  for (size_t i = 0; i < SkinnedForms.size(); ++i) {
    TCustomForm* form = SkinnedForms[i];
    if (!form || form->HasState(csDestroying)) continue;
    SendToForm(form, message);
  }
}

void LockForms() {
  for (TCustomForm* form : SkinnedForms)
    if (IsTopLevelShownForm(form)) ::SendMessageW(form->WindowHandle(), WM_SETREDRAW, 0, 0);
}

void UnlockForms(TsSkinManager* skinManager, bool repaint) {
  for (size_t i = 0; i < SkinnedForms.size(); ++i) {
    TCustomForm* form = SkinnedForms[i];
    if (!IsTopLevelShownForm(form)) continue;
    HWND wnd = form->WindowHandle();
    TsSkinProvider* provider = ProviderOfReply(SendSkinCmd(wnd, AC_GETPROVIDER, 0));
    TacWindowSkinning* skinning = WindowSkinning();
    bool ownManager = provider && skinning && skinning->ManagerOf(provider) == skinManager;
    if (repaint && ownManager) {
      auto showForm = [&] {
        ::SendMessageW(wnd, WM_SETREDRAW, 1, 0);
        ::SetWindowRgn(wnd, nullptr, FALSE);
        skinning->UpdateRgn(provider);
        ::RedrawWindow(wnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      };
      TacSkinChanging* anim = skinManager ? skinManager->AnimEffects->SkinChanging() : nullptr;
      if (anim && anim->Active)
        skinning->AnimShow(form, anim->Time, showForm);
      else
        showForm();
    } else {
      ::SendMessageW(wnd, WM_SETREDRAW, 1, 0);
      if (repaint)
        ::RedrawWindow(wnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
  }
}

namespace {

struct AppIcons {
  bool fetched = false;
  std::unique_ptr<TIcon> small, large;
  // The fetch started by StartFetchingAppIcons, joined when first needed.
  std::thread fetching;
  ~AppIcons() {
    if (fetching.joinable()) fetching.join();
  }
};

void FetchAppIcons(AppIcons& icons) {
  // The program's own icon resource is its application icon, as on
  // Windows; the shell's answer is only for a program without one (under
  // Wine it is a generic icon even for an executable that has its own).
  HMODULE exe = ::GetModuleHandleW(nullptr);
  icons.small = LoadModuleIcon(exe, ::GetSystemMetrics(SM_CXSMICON));
  icons.large = LoadModuleIcon(exe, ::GetSystemMetrics(SM_CXICON));
  if (!icons.small) icons.small = GetIconForFile(ApplicationExeName(), SHGFI_SMALLICON);
  if (!icons.large) icons.large = GetIconForFile(ApplicationExeName(), 0);
}

AppIcons& StoredIcons() {
  static AppIcons icons;
  return icons;
}

AppIcons& Icons() {
  AppIcons& icons = StoredIcons();
  if (icons.fetching.joinable()) {
    icons.fetching.join();
  } else if (!icons.fetched) {
    icons.fetched = true;
    FetchAppIcons(icons);
  }
  return icons;
}

}  // namespace

void StartFetchingAppIcons() {
  AppIcons& icons = StoredIcons();
  if (icons.fetched) return;
  icons.fetched = true;
  icons.fetching = std::thread([&icons] {
    // The shell wants COM on the calling thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FetchAppIcons(icons);
    if (SUCCEEDED(com)) ::CoUninitialize();
  });
}

TIcon* AppSmallIcon() { return Icons().small.get(); }
TIcon* AppLargeIcon() { return Icons().large.get(); }

void DoneStyleSimply() {
  AppIcons& icons = StoredIcons();
  if (icons.fetching.joinable()) icons.fetching.join();
  icons.small.reset();
  icons.large.reset();
  SkinnedForms.clear();
}
