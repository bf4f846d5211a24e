// TacMainWnd: the base of the window adapters. An adapter skins one existing
// window without changing its class: it puts itself in front of the
// window's procedure (an owner control's or provider form's hook chain, or
// the platform's subclass chain for a bare window of any class), answers
// the skin commands for it and passes everything else on. The window
// property "ACSBSC" finds the adapter again from the window handle.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Messages.h"

class TsCommonData;
class TsSkinManager;
class TWindowSubclass;

class TacMainWnd : public TObject {
 public:
  // Frees an adapter, or, while one of its own messages is still running,
  // unhooks it now and frees it when the outermost call returns.
  struct Deleter {
    void operator()(TacMainWnd* adapter) const;
  };

  // Makes an adapter of class T for AHandle and hooks the window (scroll
  // adapters also measure and take over the scroll bars).
  template <class T, class... Extra>
  static std::unique_ptr<T, Deleter> Create(HWND AHandle, TsCommonData* ASkinData,
                                            TsSkinManager* ASkinManager,
                                            const std::wstring& SkinSection, bool Repaint = true,
                                            Extra&&... extra) {
    std::unique_ptr<T, Deleter> a(
        new T(AHandle, ASkinData, ASkinManager, SkinSection, std::forward<Extra>(extra)...));
    a->Attach(Repaint);
    return a;
  }

  ~TacMainWnd() override;
  TacMainWnd(const TacMainWnd&) = delete;
  TacMainWnd& operator=(const TacMainWnd&) = delete;

  virtual void SaveStdProps() {}
  virtual void RestoreStdProps() {}
  virtual void SetSkinParams() { ParamsSet = true; }
  // The adapter's window procedure; descendants handle what they add and
  // call the inherited one for the rest.
  virtual void WndProc(TMessage& message);

  // Passes any message to what the adapter replaced; LParam comes back as
  // the previous procedure left it.
  LRESULT CallPrevWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM& lParam);
  // The same for a message at hand (its LParam and Result are updated).
  void PassOn(TMessage& message);

  // Hands the adapter to its window: it frees itself when the window goes
  // (for adapters nobody else keeps, such as those of foreign dialogs).
  void FreeWithWindow() { freeWithWindow_ = true; }
  // Unhooks (once): window procedure back, property removed, standard
  // colours back; the frame is refreshed when the window is visible.
  virtual void Unhook(bool repaint);
  bool Hooked() const { return !Destroyed; }
  TsSkinManager* Manager() const;

  bool DialogChild = false;
  std::wstring Caption;
  TRect WndRect{};
  TPoint WndSize{};
  TPoint WndPos{};
  TRect ParentRect{};
  HWND ParentWnd = nullptr;
  HWND CtrlHandle = nullptr;
  TsSkinManager* SkinManager = nullptr;
  TsCommonData* SkinData = nullptr;
  bool Scrolling = false;
  bool ParamsSet = false;
  TColor StdColor = clNone;
  TColor StdFontColor = clNone;
  bool Destroyed = false;
  bool OwnSkinData = false;

 protected:
  TacMainWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
             const std::wstring& SkinSection);
  // Completes creation once the object is whole (virtual calls work).
  virtual void Attach(bool repaint);
  // A message of the window reaches the adapter through here.
  void Run(TMessage& message, const TWndMethod* next);
  bool Running() const { return nesting_ > 0; }
  // Replies every adapter gives the same way.
  void ReplyCache();
  // A skin-change command to the skinned controls inside the window.
  void PassToChildControls(TMessage& message);
  void EndParentUpdate(UINT redrawFlags);
  static void AnswerHandled(TMessage& message);

 private:
  friend void HookWindow(TacMainWnd* adapter, HWND wnd);
  friend struct Deleter;
  void AnswerSkinCmd(TMessage& message);
  void TrackHotControl();
  // The mouse left the window: it is no longer the manager's hot control.
  void ReleaseHotControl();

  std::unique_ptr<TsCommonData> ownSkinData_;
  std::unique_ptr<TWindowSubclass> subclass_;  // a bare window
  std::unique_ptr<TWndProcHook> hook_;         // a control or a provider's form
  const TWndMethod* next_ = nullptr;           // the chain behind us in a call
  int nesting_ = 0;
  bool freePending_ = false;
  bool freeWithWindow_ = false;
  bool themeOff_ = false;
};

using TacMainWndPtr = std::unique_ptr<TacMainWnd, TacMainWnd::Deleter>;

// Name of the window property that holds a window's adapter.
inline constexpr const wchar_t* kAdapterProp = L"ACSBSC";

// Puts the adapter in front of the window's procedure and sets "ACSBSC".
void HookWindow(TacMainWnd* adapter, HWND wnd);
// Unhooks an adapter that is still hooked; with FreeAdapter also frees it
// (deferred while it runs) and clears the variable.
void UnhookWindow(HWND wnd, bool freeAdapter, bool repaint, TacMainWndPtr& adapter);
// The adapter of a window, or null.
TacMainWnd* GetScrollWnd(HWND wnd);
// Recomputes (SetWindowPos with SWP_FRAMECHANGED) or repaints the frame.
void RefreshFrame(HWND wnd, bool useSetWindowPos);
void GetWndRectInParent(HWND wnd, HWND& parent, TRect& wndRect, std::wstring& text,
                        TPoint& offset, TPoint& size, TRect& parentRect);
void GetWndText(HWND wnd, std::wstring& text);
