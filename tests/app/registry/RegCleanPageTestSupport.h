#pragma once
// Helpers of the registry cleaner page's tests: a message-box answerer with
// chosen buttons, a save dialog that answers without a window, a probe that
// runs code when the page next lets the window process its messages, and
// waiting for a scan while serving the worker's updates.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/mainwindow/MainForm.h"
#include "framework/Dialogs.h"

namespace regpage {

struct AnsweredBox {
  std::wstring Caption;
  std::wstring Text;
  bool HasOk = false;
  bool HasCancel = false;
  UINT Icon = 0;  // the MB_ICON... the box shows, 0 when none is recognised
};

// While alive, answers the message boxes of this thread in turn with the
// given button ids (IDOK once the list runs out) and records each box.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::deque<int> answers);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  const std::vector<AnsweredBox>& Boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void Answer(HWND dialog);

  HHOOK hook_ = nullptr;
  std::deque<int> answers_;
  std::vector<HWND> answered_;
  std::vector<AnsweredBox> boxes_;
};

// Stands in for the save dialog: returns `Choose` and, when true, sets
// FileName to `Name`; OnExecute runs inside Execute.
class FakeSaveDialog : public TSaveDialog {
 public:
  explicit FakeSaveDialog(TComponent* owner) : TSaveDialog(owner) {}
  bool Execute() override;
  bool Choose = true;
  std::wstring Name;
  int Calls = 0;
  std::function<void()> OnExecute;
};

// Puts a FakeSaveDialog in place of the page's SaveDialog1 for its lifetime.
class ScopedFakeSaveDialog {
 public:
  explicit ScopedFakeSaveDialog(TMainForm* form);
  ~ScopedFakeSaveDialog();
  ScopedFakeSaveDialog(const ScopedFakeSaveDialog&) = delete;
  ScopedFakeSaveDialog& operator=(const ScopedFakeSaveDialog&) = delete;
  FakeSaveDialog* operator->() const { return fake_; }

 private:
  TMainForm* form_;
  TSaveDialog* real_;
  FakeSaveDialog* fake_;
};

// Runs `fn` once, the next time this thread dispatches its messages.
void RunOnNextDispatch(std::function<void()> fn);

// Pumps messages and the worker's updates until the page has no scan.
void WaitForScan(TMainForm* form);

}  // namespace regpage
