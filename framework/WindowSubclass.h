// TWindowSubclass: a scoped subclass of one window of any class (a system
// control, a dialog, a window of another module), installed from the
// window's own thread. The subclasses of a window share one procedure of
// ours; other subclasses (comctl32's chain, a replaced window procedure)
// installed before or after it stay intact and any of them may go first:
// ours gives the window its procedure back only while it is the head, and
// passes everything through until then. It removes itself at WM_NCDESTROY,
// and may be removed or destroyed at any time, also from inside its own
// handler: a running call finishes on state that outlives the object.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

class TWindowSubclass {
 public:
  // Sees every message of the window while installed; passes a message on
  // with CallPrevious (or not at all) and returns the result.
  using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  // Installs at once; Installed() tells whether the platform accepted it.
  TWindowSubclass(HWND wnd, THandler handler);
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  HWND Handle() const;
  bool Installed() const;
  // Takes the subclass off the window; nothing happens when it is off.
  void Remove();

  // Hands any message to the procedure behind this subclass. Inside a call
  // of the handler it goes straight down the chain; outside a call it is
  // sent to the window and passes this subclass untouched (subclasses
  // installed after this one see it too). After removal it is sent to the
  // window.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

  struct Node;

 private:
  std::shared_ptr<Node> node_;
};
