#include "tests/app/registry/RegCleanPageTestSupport.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "app/registry/CleanThread.h"
#include "framework/Threads.h"

namespace regpage {
namespace {

thread_local BoxAnswerer* g_answerer = nullptr;

std::wstring WindowText(HWND wnd) {
  const int len = GetWindowTextLengthW(wnd);
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(wnd, s.data(), len + 1)));
  return s;
}

std::wstring ClassNameOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

struct BoxScan {
  std::wstring text;
  UINT icon = 0;
};

BOOL CALLBACK ScanBoxChild(HWND child, LPARAM lParam) {
  auto* scan = reinterpret_cast<BoxScan*>(lParam);
  if (_wcsicmp(ClassNameOf(child).c_str(), L"Static") != 0) return TRUE;
  // The icon is a static with SS_ICON; its image tells which one it is.
  if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    const HICON shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    struct {
      LPCWSTR id;
      UINT flag;
    } const icons[] = {{IDI_INFORMATION, MB_ICONINFORMATION},
                       {IDI_ERROR, MB_ICONERROR},
                       {IDI_WARNING, MB_ICONWARNING},
                       {IDI_QUESTION, MB_ICONQUESTION}};
    for (const auto& icon : icons)
      if (shown && shown == LoadIconW(nullptr, icon.id)) scan->icon = icon.flag;
    return TRUE;
  }
  std::wstring t = WindowText(child);
  if (!t.empty() && scan->text.empty()) scan->text = t;
  return TRUE;
}

// The window behind RunOnNextDispatch.
constexpr UINT kProbeMessage = WM_APP + 0x51;
std::vector<std::function<void()>> g_probes;

LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbeMessage) {
    std::vector<std::function<void()>> probes;
    probes.swap(g_probes);
    for (auto& fn : probes) fn();
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND ProbeWindow() {
  static HWND wnd = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarnholtRegPageProbe";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
  }();
  return wnd;
}

}  // namespace

BoxAnswerer::BoxAnswerer(std::deque<int> answers) : answers_(std::move(answers)) {
  g_answerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, &BoxAnswerer::CbtProc, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_answerer = nullptr;
}

void BoxAnswerer::Answer(HWND dialog) {
  if (std::find(answered_.begin(), answered_.end(), dialog) != answered_.end()) return;
  answered_.push_back(dialog);
  AnsweredBox box;
  box.Caption = WindowText(dialog);
  BoxScan scan;
  EnumChildWindows(dialog, &ScanBoxChild, reinterpret_cast<LPARAM>(&scan));
  box.Text = scan.text;
  box.Icon = scan.icon;
  box.HasOk = GetDlgItem(dialog, IDOK) != nullptr;
  box.HasCancel = GetDlgItem(dialog, IDCANCEL) != nullptr;
  boxes_.push_back(box);
  int answer = IDOK;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

LRESULT CALLBACK BoxAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  BoxAnswerer* self = g_answerer;
  HWND wnd = reinterpret_cast<HWND>(wParam);
  if (self) {
    // The dialog's children exist once it activates.
    if (code == HCBT_ACTIVATE && ClassNameOf(wnd) == L"#32770") self->Answer(wnd);
    if (code == HCBT_DESTROYWND)
      self->answered_.erase(std::remove(self->answered_.begin(), self->answered_.end(), wnd),
                            self->answered_.end());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool FakeSaveDialog::Execute() {
  ++Calls;
  if (OnExecute) OnExecute();
  if (!Choose) return false;
  FileName = Name;
  return true;
}

ScopedFakeSaveDialog::ScopedFakeSaveDialog(TMainForm* form)
    : form_(form), real_(form->SaveDialog1), fake_(Construct<FakeSaveDialog>(nullptr)) {
  fake_->DefaultExt = real_->DefaultExt;
  fake_->Filter = real_->Filter;
  form_->SaveDialog1 = fake_;
}

ScopedFakeSaveDialog::~ScopedFakeSaveDialog() {
  form_->SaveDialog1 = real_;
  std::unique_ptr<FakeSaveDialog> owned(fake_);
}

void RunOnNextDispatch(std::function<void()> fn) {
  g_probes.push_back(std::move(fn));
  PostMessageW(ProbeWindow(), kProbeMessage, 0, 0);
}

void WaitForScan(TMainForm* form) {
  // Only a guard against a hang; the scan of a test prefix takes seconds.
  const ULONGLONG deadline = GetTickCount64() + 10 * 60 * 1000;
  while (form->CleanThread && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Application->ProcessMessages();
    CheckSynchronize();
  }
  if (form->CleanThread) throw std::runtime_error("the registry scan did not finish");
}

}  // namespace regpage
