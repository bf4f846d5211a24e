// Records the messages sent to one window while alive, through a thread
// WH_CALLWNDPROC hook (sent messages only; posted ones pass it by).
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace skintest {

class SentMessages {
 public:
  struct Sent {
    UINT msg;
    WPARAM w;
    LPARAM l;
  };
  // `seen` runs as each message arrives, before the window handles it.
  explicit SentMessages(HWND wnd, std::function<void(const Sent&)> seen = {})
      : wnd_(wnd), seen_(std::move(seen)) {
    Current() = this;
    hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
  }
  ~SentMessages() {
    ::UnhookWindowsHookEx(hook_);
    Current() = nullptr;
  }
  SentMessages(const SentMessages&) = delete;
  SentMessages& operator=(const SentMessages&) = delete;

  const std::vector<Sent>& All() const { return sent_; }
  void Clear() { sent_.clear(); }
  // How many times `msg` came whose wParam matched `w` under `mask`.
  int Count(UINT msg, WPARAM w = 0, WPARAM mask = 0) const {
    return static_cast<int>(std::count_if(sent_.begin(), sent_.end(), [&](const Sent& s) {
      return s.msg == msg && (s.w & mask) == (w & mask);
    }));
  }

 private:
  static SentMessages*& Current() {
    static SentMessages* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(l);
    if (code == HC_ACTION && Current() && m->hwnd == Current()->wnd_) {
      Current()->sent_.push_back(Sent{m->message, m->wParam, m->lParam});
      if (Current()->seen_) Current()->seen_(Current()->sent_.back());
    }
    return ::CallNextHookEx(nullptr, code, w, l);
  }
  HWND wnd_;
  std::function<void(const Sent&)> seen_;
  HHOOK hook_ = nullptr;
  std::vector<Sent> sent_;
};

}  // namespace skintest
