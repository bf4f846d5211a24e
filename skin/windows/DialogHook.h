// The dialog hook: a thread-local CBT hook, installed by the default skin
// manager while its skin is active, that skins windows the application did
// not make skinned as they activate: the framework's forms without a skin
// provider get one, system dialogs ("#32770") get a TacDialogWnd and window
// adapters for their children, chosen by class and style. A TacProvider
// keeps what was made for one window; the manager's list of hooked dialogs
// owns the providers. A provider goes when its window does (WM_NCDESTROY)
// or when the hook is removed, unhooking everything it made.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Component.h"
#include "framework/Forms.h"
#include "skin/windows/DialogWnd.h"

class TsSkinProvider;
class TWindowSubclass;

class TacProvider : public TComponent {
 public:
  explicit TacProvider(TComponent* AOwner);
  ~TacProvider() override;
  const wchar_t* ClassName() const override { return L"TacProvider"; }
  void Notification(TComponent* component, TOperation operation) override;

  // A TsSkinProvider owned by the form, for a form of the application.
  void CreateSkinProvider(TCustomForm* form);
  // Skins a system dialog; false when its child walk refuses it.
  bool InitDialog(HWND wnd);

  uint8_t Kind = 0;
  bool LeftScrollBar = false;
  HWND Wnd = nullptr;
  TsSkinProvider* SkinProvider = nullptr;
  TacDialogWndPtr DlgAdapter;
  std::vector<TacMainWndPtr> Adapters;
  TRect Kind1Rect{};  // kind 1: the client area the system paints

 private:
  void WatchWindow();
  void WindowGone();
  std::unique_ptr<TWindowSubclass> watch_;
};

// The CBT procedure the manager installs.
LRESULT CALLBACK DialogHookProc(int code, WPARAM wParam, LPARAM lParam);
// True when the window was taken on.
bool SkinWindowOnActivate(HWND wnd);
// The child walk (also used by the dialog adapter to pick up late children).
bool WalkDialogChildren(TacProvider* provider, HWND parent);
bool HookDialogChild(TacProvider* provider, HWND child);
// A descendant of Wnd of the (lower-case) class.
bool HasChildOfClass(HWND wnd, const std::wstring& className);
// Providers whose dialog window is visible.
int VisibleDialogCount();
// Sends a skin command to every dialog the hook skinned and to its adapted
// children.
void SendToHookedDialogs(TMessage& message);
// The providers the hook made and that are still alive (null entries left
// out); empty while no hook is installed.
std::vector<TacProvider*> DialogProviders();
