#include <algorithm>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "framework/Threads.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void InitFramework() {
  if (!Application) Application = new TApplication(nullptr);
  if (!Screen) Screen = new TScreen(nullptr);
}

void DoneFramework() {
  FreeAndNil(Application);
  FreeAndNil(Screen);
  DoneMainThreadSync();
}

std::wstring ExceptionMessage(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    const char* what = e.what();
    int n = MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
    std::wstring s(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, what, -1, s.data(), n);
    return s;
  } catch (...) {
    return L"Unknown error";
  }
  return L"";
}

namespace {
const wchar_t kAppWindowClass[] = L"TApplication";
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  InitMainThreadSync();
  SyncExceptionHandler = [this](std::exception_ptr e) { HandleException(this, e); };
  std::wstring exe = ExeName();
  Title = ChangeFileExt(ExtractFileName(exe), L"");

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kAppWindowClass;
  RegisterClassExW(&wc);
  // Hidden owner of the forms that do not sit on the taskbar themselves.
  handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, kAppWindowClass, Title.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                            0, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  hints_ = std::make_unique<TApplicationHints>();
}

TApplication::~TApplication() {
  Destroying();
  // Forms go before the application window they may be owned by.
  while (ComponentCount() > 0) {
    TComponent* c = Components(ComponentCount() - 1);
    delete c;
  }
  hints_.reset();  // its window is owned by ours
  if (handle_) DestroyWindow(handle_);
  if (SyncExceptionHandler) SyncExceptionHandler = nullptr;
}

std::wstring TApplication::ExeName() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void TApplication::Initialize() {}

void TApplication::SuspendHints() {
  if (hintsSuspended_++ == 0 && hints_) hints_->CancelHint();
}

void TApplication::ResumeHints() {
  if (hintsSuspended_ > 0) --hintsSuspended_;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  switch (msg) {
    case WM_CLOSE:
      if (app && app->mainForm_) app->mainForm_->Close();
      return 0;
    case CM_RELEASE:
      if (app) app->FreeReleasedForms();
      return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TApplication::ReleaseLater(TCustomForm* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end())
    released_.push_back(form);
  PostMessageW(handle_, CM_RELEASE, 0, 0);
}

void TApplication::FormDestroyed(TCustomForm* form) {
  released_.erase(std::remove(released_.begin(), released_.end(), form), released_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::FreeReleasedForms() {
  while (!released_.empty()) {
    TCustomForm* form = released_.back();
    released_.pop_back();
    delete form;
  }
}

void TApplication::Run() {
  running_ = true;
  if (mainForm_ && ShowMainForm) mainForm_->Show();
  while (!terminated_) HandleMessage();
  running_ = false;
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::IsDialogKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  auto* form = dynamic_cast<TCustomForm*>(FindControl(root));
  if (!form) return false;
  // Multi-line edits and controls that want every key keep them.
  LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!IsMDIMsg(msg) && !IsDialogKey(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Idle() {
  if (OnIdle) OnIdle(this);
  CheckSynchronize();
  if (!terminated_) WaitMessage();
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->WindowHandle();
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
  if (OnException) {
    OnException(sender, error);
    return;
  }
  ShowException(error);
}

void TApplication::ShowException(std::exception_ptr error) {
  std::wstring text = ExceptionMessage(error);
  if (!text.empty() && text.back() > L'.') text += L'.';
  MessageBox(text, Title, MB_OK | MB_ICONSTOP);
}
