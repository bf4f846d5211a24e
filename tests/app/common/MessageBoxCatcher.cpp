#include "tests/app/common/MessageBoxCatcher.h"

#include <algorithm>

namespace testenv {

namespace {

thread_local MessageBoxCatcher* g_current = nullptr;

std::wstring WindowText(HWND wnd) {
  int len = GetWindowTextLengthW(wnd);
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(wnd, s.data(), len + 1)));
  return s;
}

std::wstring ClassNameOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

BOOL CALLBACK FindText(HWND child, LPARAM lParam) {
  auto* text = reinterpret_cast<std::wstring*>(lParam);
  if (_wcsicmp(ClassNameOf(child).c_str(), L"Static") == 0) {
    std::wstring t = WindowText(child);
    if (!t.empty()) {
      *text = t;
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher() : previous_(g_current) {
  g_current = this;
  hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxCatcher::CbtProc, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_current = previous_;
}

std::vector<std::wstring> MessageBoxCatcher::Texts() const {
  std::vector<std::wstring> r;
  for (const auto& b : boxes_) r.push_back(b.Text);
  return r;
}

void MessageBoxCatcher::Catch(HWND dialog) {
  if (std::find(answered_.begin(), answered_.end(), dialog) != answered_.end()) return;
  answered_.push_back(dialog);
  CaughtMessageBox box;
  box.Caption = WindowText(dialog);
  EnumChildWindows(dialog, &FindText, reinterpret_cast<LPARAM>(&box.Text));
  boxes_.push_back(box);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

LRESULT CALLBACK MessageBoxCatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  MessageBoxCatcher* self = g_current;
  if (self) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && ClassNameOf(wnd) == L"#32770") self->Catch(wnd);
    if (code == HCBT_DESTROYWND)
      self->answered_.erase(std::remove(self->answered_.begin(), self->answered_.end(), wnd),
                            self->answered_.end());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace testenv
