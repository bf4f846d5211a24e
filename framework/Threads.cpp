#include "framework/Threads.h"

#include <process.h>

#include <deque>

#include "framework/SysUtils.h"

namespace {

constexpr UINT WM_RUNSYNC = WM_APP + 0x3A1;
constexpr wchar_t kSyncWindowClass[] = L"TarnholtSyncWindow";

struct SyncItem {
  TThreadMethod method;
  HANDLE done = nullptr;  // set for Synchronize; null for Queue (heap item)
  std::exception_ptr error;
};

// Process-wide state of the synchronisation queue. The lock and the event
// are created on first use, so a call from any thread finds them ready.
struct SyncState {
  CRITICAL_SECTION lock;
  HANDLE pending;  // manual reset: set while the queue holds items
  std::deque<SyncItem*> queue;
  // A wake-up message is on its way: one message serves any number of
  // calls, so a busy worker never fills the main thread's message queue.
  bool posted = false;
  HWND window = nullptr;
  DWORD mainThread = 0;
  SyncState() {
    ::InitializeCriticalSection(&lock);
    pending = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
};

SyncState& State() {
  static SyncState s;
  return s;
}

// Taken during start-up of the program, i.e. on its main thread.
const bool g_mainRecorded = [] {
  State().mainThread = ::GetCurrentThreadId();
  return true;
}();

class Locker {
 public:
  explicit Locker(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
  ~Locker() { ::LeaveCriticalSection(&cs_); }
  Locker(const Locker&) = delete;
  Locker& operator=(const Locker&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

LRESULT CALLBACK SyncWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_RUNSYNC) {
    CheckSynchronize();
    return 0;
  }
  return ::DefWindowProcW(wnd, msg, wp, lp);
}

void Push(SyncItem* item) {
  SyncState& s = State();
  HWND wnd;
  {
    Locker l(s.lock);
    s.queue.push_back(item);
    ::SetEvent(s.pending);
    if (s.posted) return;
    s.posted = true;
    wnd = s.window;
  }
  BOOL ok = wnd ? ::PostMessageW(wnd, WM_RUNSYNC, 0, 0)
                : ::PostThreadMessageW(s.mainThread, WM_RUNSYNC, 0, 0);
  if (!ok) {
    Locker l(s.lock);
    s.posted = false;  // let the next call try again
  }
}

void DefaultSyncExceptionHandler(std::exception_ptr e) {
  std::wstring text = L"Unhandled exception in a queued call";
  try {
    std::rethrow_exception(e);
  } catch (const Exception& ex) {
    text += L": " + ex.Message();
  } catch (const std::exception& ex) {
    text += L": " + AnsiToWide(ex.what());
  } catch (...) {
  }
  ::OutputDebugStringW(text.c_str());
}

}  // namespace

std::function<void(std::exception_ptr)> SyncExceptionHandler = DefaultSyncExceptionHandler;

DWORD MainThreadID() { return State().mainThread; }

bool IsMainThread() { return ::GetCurrentThreadId() == State().mainThread; }

void InitMainThreadSync() {
  SyncState& s = State();
  {
    Locker l(s.lock);
    if (s.window && s.mainThread == ::GetCurrentThreadId()) return;
  }
  s.mainThread = ::GetCurrentThreadId();
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(inst, kSyncWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SyncWndProc;
    wc.hInstance = inst;
    wc.lpszClassName = kSyncWindowClass;
    ::RegisterClassExW(&wc);
  }
  HWND wnd = ::CreateWindowExW(0, kSyncWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst,
                               nullptr);
  bool pending;
  {
    Locker l(s.lock);
    s.window = wnd;
    pending = !s.queue.empty();
  }
  if (pending && wnd) ::PostMessageW(wnd, WM_RUNSYNC, 0, 0);
}

void DoneMainThreadSync() {
  if (!IsMainThread()) return;
  CheckSynchronize();
  SyncState& s = State();
  HWND wnd;
  {
    Locker l(s.lock);
    wnd = std::exchange(s.window, nullptr);
  }
  if (wnd) ::DestroyWindow(wnd);
}

bool CheckSynchronize() {
  if (!IsMainThread()) return false;
  SyncState& s = State();
  bool ran = false;
  {
    Locker l(s.lock);
    s.posted = false;  // calls made from now on post a new wake-up
  }
  for (;;) {
    SyncItem* item;
    {
      Locker l(s.lock);
      if (s.queue.empty()) {
        ::ResetEvent(s.pending);
        break;
      }
      item = s.queue.front();
      s.queue.pop_front();
    }
    ran = true;
    if (item->done) {
      try {
        item->method();
      } catch (...) {
        item->error = std::current_exception();
      }
      ::SetEvent(item->done);  // the waiting worker owns the item
    } else {
      try {
        item->method();
      } catch (...) {
        if (SyncExceptionHandler) SyncExceptionHandler(std::current_exception());
      }
      delete item;
    }
  }
  return ran;
}

// ---------------------------------------------------------------------------
// TThread
// ---------------------------------------------------------------------------

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) {
  if (IsMainThread()) {
    bool haveWindow;
    {
      Locker l(State().lock);
      haveWindow = State().window != nullptr;
    }
    if (!haveWindow) InitMainThreadSync();
  }
  unsigned id = 0;
  uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
  if (!h) throw EThread(L"Thread creation error: " + SysErrorMessage(::GetLastError()));
  handle_.reset(reinterpret_cast<HANDLE>(h));
  threadId_ = id;
}

TThread::~TThread() {
  if (handle_ && ::GetCurrentThreadId() != threadId_) {
    if (!started_) {
      // Never ran: let the OS thread end without running anything.
      neverRun_ = true;
      ::ResumeThread(handle_.get());
      ::WaitForSingleObject(handle_.get(), INFINITE);
    } else if (!finished_) {
      Terminate();
      WaitFor();
    } else {
      ::WaitForSingleObject(handle_.get(), INFINITE);  // ThreadProc may still be unwinding
    }
  }
}

void TThread::AfterConstruction() {
  if (!createSuspended_ && !started_) Start();
}

void TThread::Start() {
  if (started_) throw EThread(L"Cannot call Start on a running or terminated thread");
  started_ = true;
  ::ResumeThread(handle_.get());
}

unsigned __stdcall TThread::ThreadProc(void* param) {
  auto* t = static_cast<TThread*>(param);
  if (t->neverRun_) return 0;
  try {
    if (!t->terminated_) t->Execute();
  } catch (...) {
    t->FatalException = std::current_exception();
  }
  bool freeIt = t->FreeOnTerminate;
  unsigned result = static_cast<unsigned>(t->ReturnValue);
  try {
    t->DoTerminate();
  } catch (...) {
    if (!t->FatalException) t->FatalException = std::current_exception();
  }
  t->finished_ = true;
  if (freeIt) delete t;
  return result;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor() {
  HANDLE h = handle_.get();
  if (!h) return ReturnValue;
  if (::GetCurrentThreadId() == threadId_) throw EThread(L"A thread cannot wait for itself");
  if (IsMainThread()) {
    HANDLE pending = State().pending;
    for (;;) {
      HANDLE hs[2] = {h, pending};
      DWORD r = ::MsgWaitForMultipleObjects(2, hs, FALSE, INFINITE, QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) break;
      if (r == WAIT_OBJECT_0 + 1) {
        CheckSynchronize();
      } else if (r == WAIT_OBJECT_0 + 2) {
        MSG m;
        ::PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // delivers sent messages
      } else {
        break;
      }
    }
  } else {
    ::WaitForSingleObject(h, INFINITE);
  }
  DWORD code = 0;
  if (::GetExitCodeThread(h, &code)) ReturnValue = static_cast<int>(code);
  return ReturnValue;
}

void TThread::Synchronize(TThread*, const TThreadMethod& method) {
  if (IsMainThread()) {
    method();
    return;
  }
  SyncItem item;
  item.method = method;
  UniqueKernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) throw EThread(L"Synchronize: " + SysErrorMessage(::GetLastError()));
  item.done = done.get();
  Push(&item);
  ::WaitForSingleObject(done.get(), INFINITE);
  if (item.error) std::rethrow_exception(item.error);
}

void TThread::Queue(TThread*, const TThreadMethod& method) {
  if (IsMainThread()) {
    method();
    return;
  }
  auto* item = new SyncItem;
  item->method = method;
  Push(item);
}
