#pragma once
// Drives the real tarnholt.exe from a test: starts it (with extra
// environment variables or arguments), finds its windows and their child
// controls by class and text, clicks and reads them, closes it.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/common/Pump.h"

namespace testenv {

constexpr wchar_t kMainCaption[] = L"Tarnholt. beta v 0.2";

class TarnholtProcess {
public:
  // Starts TarnholtExePath() with `args` and this process's environment
  // plus `env` (name, value) pairs.
  explicit TarnholtProcess(const std::wstring& args = L"",
                           const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
  // Ends the program if it still runs (WM_CLOSE, then TerminateProcess).
  ~TarnholtProcess();
  TarnholtProcess(const TarnholtProcess&) = delete;
  TarnholtProcess& operator=(const TarnholtProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Pid() const { return pid_; }
  // The visible top-level window with this caption, waiting up to timeoutMs.
  HWND WaitForWindow(const std::wstring& caption = kMainCaption, DWORD timeoutMs = 30000) const;
  bool WaitForExit(DWORD timeoutMs);
  DWORD ExitCode() const;
  // Waiting for the main window answers (OK) the "Ошибка" boxes the program
  // shows before it exists: start-up reports settings values that a fresh
  // Wine prefix lacks. Their texts, in order.
  const std::vector<std::wstring>& StartupBoxes() const { return startupBoxes_; }

private:
  void AnswerStartupBoxes() const;

  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  mutable std::vector<HWND> answered_;
  mutable std::vector<std::wstring> startupBoxes_;
};

// Depth-first search of parent's descendants for a window of `className`
// (any class when empty) whose text is `text` (any text when null).
HWND FindChild(HWND parent, const std::wstring& className, const wchar_t* text = nullptr,
               bool visibleOnly = false);
// All descendants of that class, in z-order, depth first.
std::vector<HWND> FindChildren(HWND parent, const std::wstring& className, bool visibleOnly = false);
std::wstring WindowText(HWND wnd);
std::wstring ClassOf(HWND wnd);
// Clicks a button-like window (BM_CLICK) and returns once its handler has
// returned (up to a minute). For a handler that opens a modal window use
// PostClick, which returns at once.
void ClickButton(HWND button);
void PostClick(HWND button);
// A left click at client point (x, y) of wnd: move, down and up, each
// handled before the next.
void ClickAt(HWND wnd, int x, int y);
// Waits until the window's thread has processed everything sent so far.
void Sync(HWND wnd);

}  // namespace testenv
