// The application's hints: the hint window (THintWindow) and the class the
// application makes its hint windows of (HintWindowClass), the record that
// CM_HINTSHOW and Application's OnShowHint receive (THintInfo), and the
// machinery that shows the Hint of the control under the mouse after the
// hint pause and hides it after the hide pause or when the mouse leaves.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Controls.h"

class THintWindow;

// Makes a hint window of one class. Two class values are the same class
// exactly when the pointers are equal.
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);

template <class T>
THintWindow* NewHintWindow(TComponent* AOwner) {
  return Construct<T>(AOwner);
}
template <class T>
constexpr THintWindowClass HintWindowClassOf() {
  return &NewHintWindow<T>;
}

// What is about to be shown. CM_HINTSHOW carries a pointer to it in lParam;
// a control that answers non-zero stops the hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass = nullptr;
  TPoint HintPos{};       // screen point of the hint's top-left corner
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect{};     // in HintControl's client coordinates
  TPoint CursorPos{};     // in HintControl's client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;    // milliseconds until the hint hides
  std::wstring HintStr;
  void* HintData = nullptr;
};

using TShowHintEvent =
    std::function<void(std::wstring& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// A borderless top-most popup that shows one hint text on the info colour.
class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"THintWindow"; }

  // The window's size for the text at most MaxWidth wide, at (0, 0).
  virtual TRect CalcHintRect(int maxWidth, const std::wstring& hint, void* data);
  // Shows the text at Rect (screen coordinates) without taking the focus.
  virtual void ActivateHint(const TRect& rect, const std::wstring& hint);
  virtual void ActivateHintData(const TRect& rect, const std::wstring& hint, void* data);
  // Hides the hint by giving up the window; the next hint makes a new one.
  virtual void ReleaseHandle();

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
};

// The class the application makes its hint windows of (THintWindow unless a
// hint manager chose another).
extern THintWindowClass HintWindowClass;

// The system's status-bar font, the font hints are written in.
void AssignHintFont(TFont* font);

// Keeps the application's hints off while it lives (popups, drags, button
// presses); nested suspensions end in any order and on every exit path.
class THintSuspension {
 public:
  THintSuspension();
  ~THintSuspension();
  THintSuspension(const THintSuspension&) = delete;
  THintSuspension& operator=(const THintSuspension&) = delete;
};

// The running hint of the application: timers, the control it belongs to
// and the hint window. TApplication owns one.
class TApplicationHints {
 public:
  TApplicationHints();
  ~TApplicationHints();
  TApplicationHints(const TApplicationHints&) = delete;
  TApplicationHints& operator=(const TApplicationHints&) = delete;

  // A mouse message of a windowed control, after the framework updated the
  // control under the mouse.
  void MouseMessage(const TMessage& message);
  // Hides the hint and forgets its control; the next move starts anew.
  void CancelHint();
  // Hides the hint window; the control stays, so it does not reappear
  // before the mouse moves to another control.
  void HideHint();
  // The window of the hint on screen, or null.
  THintWindow* ShownWindow() const;

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void StartPause(int ms);
  void StartHide(int ms);
  void StopTimers();
  void PauseElapsed();
  void ShowFor(TControl* control);
  bool CursorInCursorRect() const;

  TControl* hintControl_ = nullptr;  // compared with MouseControl() before use
  std::unique_ptr<THintWindow> window_;
  THintWindowClass windowClass_ = nullptr;
  UINT_PTR pauseTimer_ = 0;
  UINT_PTR hideTimer_ = 0;
  bool shown_ = false;
  bool recentlyShown_ = false;  // a hint showed since the mouse left one
  TRect cursorRect_{};           // screen rectangle the hint belongs to
};

// Hands a mouse message of a windowed control to the application's hints.
void HintMouseMessage(const TMessage& message);
