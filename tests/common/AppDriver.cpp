#include "tests/common/AppDriver.h"

#include <algorithm>

#include "tests/common/TestEnv.h"

namespace testenv {

namespace {

std::vector<wchar_t> BuildEnvironment(const std::vector<std::pair<std::wstring, std::wstring>>& extra) {
  std::vector<wchar_t> block;
  LPWCH current = GetEnvironmentStringsW();
  for (LPWCH p = current; *p;) {
    std::wstring entry = p;
    p += entry.size() + 1;
    bool overridden = false;
    for (auto& [name, value] : extra)
      if (_wcsnicmp(entry.c_str(), (name + L"=").c_str(), name.size() + 1) == 0) overridden = true;
    if (!overridden) {
      block.insert(block.end(), entry.begin(), entry.end());
      block.push_back(0);
    }
  }
  FreeEnvironmentStringsW(current);
  for (auto& [name, value] : extra) {
    std::wstring entry = name + L"=" + value;
    block.insert(block.end(), entry.begin(), entry.end());
    block.push_back(0);
  }
  block.push_back(0);
  return block;
}

struct FindTop {
  DWORD pid;
  const std::wstring* caption;
  HWND found;
};

BOOL CALLBACK FindTopProc(HWND wnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindTop*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid == f->pid && IsWindowVisible(wnd) && WindowText(wnd) == *f->caption) {
    f->found = wnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

TarnholtProcess::TarnholtProcess(const std::wstring& args,
                                 const std::vector<std::pair<std::wstring, std::wstring>>& env) {
  std::wstring exe = TarnholtExePath();
  if (exe.empty()) return;
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!args.empty()) cmd += L" " + args;
  std::vector<wchar_t> block = BuildEnvironment(env);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                     block.data(), nullptr, &si, &pi)) {
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    CloseHandle(pi.hThread);
    WaitForInputIdle(process_, 10000);
  }
}

TarnholtProcess::~TarnholtProcess() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    HWND main = WaitForWindow(kMainCaption, 0);
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

namespace {
struct FindBoxes {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK FindBoxesProc(HWND wnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindBoxes*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid == f->pid && IsWindowVisible(wnd) && ClassOf(wnd) == L"#32770" &&
      WindowText(wnd) == L"Ошибка")
    f->found.push_back(wnd);
  return TRUE;
}
}  // namespace

void TarnholtProcess::AnswerStartupBoxes() const {
  // A box stays listed while its OK is on its way; a gone one frees its handle.
  answered_.erase(std::remove_if(answered_.begin(), answered_.end(), [](HWND w) { return !IsWindow(w); }),
                  answered_.end());
  FindBoxes f{pid_, {}};
  EnumWindows(FindBoxesProc, reinterpret_cast<LPARAM>(&f));
  for (HWND box : f.found) {
    if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
    answered_.push_back(box);
    std::wstring text;
    for (HWND s : FindChildren(box, L"Static"))
      if (text.empty()) text = WindowText(s);
    startupBoxes_.push_back(text);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
}

HWND TarnholtProcess::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  for (;;) {
    if (caption == kMainCaption) AnswerStartupBoxes();
    FindTop f{pid_, &caption, nullptr};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return nullptr;
    PumpFor(50);
  }
}

bool TarnholtProcess::WaitForExit(DWORD timeoutMs) {
  return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD TarnholtProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

std::wstring WindowText(HWND wnd) {
  // WM_GETTEXT through a timeout so a hung window cannot hang the test.
  wchar_t buf[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, &got);
  return buf;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t buf[256] = {};
  GetClassNameW(wnd, buf, 256);
  return buf;
}

namespace {
struct FindChildState {
  const std::wstring* cls;
  const wchar_t* text;
  bool visibleOnly;
  std::vector<HWND> found;
  bool firstOnly;
};

BOOL CALLBACK FindChildProc(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<FindChildState*>(lp);
  if (s->visibleOnly && !IsWindowVisible(wnd)) return TRUE;
  if ((s->cls->empty() || ClassOf(wnd) == *s->cls) && (!s->text || WindowText(wnd) == s->text)) {
    s->found.push_back(wnd);
    if (s->firstOnly) return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindChild(HWND parent, const std::wstring& className, const wchar_t* text, bool visibleOnly) {
  FindChildState s{&className, text, visibleOnly, {}, true};
  EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found.empty() ? nullptr : s.found.front();
}

std::vector<HWND> FindChildren(HWND parent, const std::wstring& className, bool visibleOnly) {
  FindChildState s{&className, nullptr, visibleOnly, {}, false};
  EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void Sync(HWND wnd) {
  DWORD_PTR r;
  SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &r);
}

namespace {
void SendAndWait(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR r;
  SendMessageTimeoutW(wnd, msg, wParam, lParam, SMTO_NORMAL, 60000, &r);
}
}  // namespace

void ClickButton(HWND button) { SendAndWait(button, BM_CLICK, 0, 0); }

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ClickAt(HWND wnd, int x, int y) {
  LPARAM pos = MAKELPARAM(x, y);
  SendAndWait(wnd, WM_MOUSEMOVE, 0, pos);
  SendAndWait(wnd, WM_LBUTTONDOWN, MK_LBUTTON, pos);
  SendAndWait(wnd, WM_LBUTTONUP, 0, pos);
}

}  // namespace testenv
