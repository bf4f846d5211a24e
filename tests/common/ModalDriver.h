// Drives a system dialog's modal loop in a test: a thread timer finds the
// dialog by its caption and, once it has been on screen for a few ticks,
// hands it to OnShown, which must end it. A dialog nobody ends is
// cancelled after a few seconds, so a failing test does not hang.
#pragma once

#include <windows.h>

#include <functional>

namespace testenv {

class ModalDriver {
 public:
  std::function<void(HWND)> OnShown;
  HWND Dialog = nullptr;
  bool Shown = false;

  // Caption null: the first dialog of the class, whatever its caption.
  // Drives nest: a dialog shown from OnShown may be driven too.
  template <class Run>
  auto Drive(const wchar_t* caption, Run run) {
    caption_ = caption;
    ModalDriver* outer = current_;
    current_ = this;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, Tick);
    auto result = run();
    ::KillTimer(nullptr, timer);
    current_ = outer;
    return result;
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* d = current_;
    if (!d) return;
    if (!d->Dialog) d->Dialog = ::FindWindowW(L"#32770", d->caption_);
    if (!d->Dialog || !::IsWindowVisible(d->Dialog)) return;
    ++d->ticks_;
    if (d->ticks_ == 4 && !d->Shown) {
      d->Shown = true;
      d->OnShown(d->Dialog);
    } else if (d->ticks_ > 200) {
      ::PostMessageW(d->Dialog, WM_COMMAND, IDCANCEL, 0);  // a failed test must not hang
    }
  }
  static inline ModalDriver* current_ = nullptr;
  const wchar_t* caption_ = nullptr;
  int ticks_ = 0;
};

}  // namespace testenv
