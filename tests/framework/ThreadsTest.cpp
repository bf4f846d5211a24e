// TThread and the calls workers hand to the main thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <vector>

#include "framework/SysUtils.h"
#include "framework/Threads.h"
#include "tests/common/Pump.h"

namespace {

// A thread whose Execute is a lambda.
class LambdaThread : public TThread {
 public:
  LambdaThread(bool suspended, std::function<void(LambdaThread*)> body)
      : TThread(suspended), body_(std::move(body)) {}
  ~LambdaThread() override {
    // Execute reads body_: stop and wait before it goes.
    Terminate();
    if (Started() && !Finished() && GetCurrentThreadId() != ThreadID()) WaitFor();
    if (onDestroy) onDestroy();
  }
  std::function<void()> onDestroy;
  using TThread::Terminated;

 protected:
  void Execute() override { body_(this); }

 private:
  std::function<void(LambdaThread*)> body_;
};

// Runs a plain GetMessage loop until WM_QUIT.
void PumpUntilQuit() {
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

TEST(Threads, SynchronizeAndQueueRunOnTheMainThreadInOrder) {
  InitMainThreadSync();
  const DWORD mainId = GetCurrentThreadId();
  std::vector<int> order;
  std::vector<DWORD> ranOn;
  auto record = [&](int n) {
    return [&, n] {
      order.push_back(n);
      ranOn.push_back(GetCurrentThreadId());
    };
  };
  std::unique_ptr<LambdaThread> t(TThread::Create<LambdaThread>(false, [&](LambdaThread* self) {
    self->Queue(record(1));
    self->Synchronize(record(2));
    self->Queue(record(3));
    self->Queue(record(4));
    self->Synchronize(record(5));
    // More calls than a thread's message queue holds (10000 messages).
    for (int i = 6; i <= 20000; ++i) self->Queue(record(i));
    self->Queue([] { PostQuitMessage(0); });
  }));
  PumpUntilQuit();
  t->WaitFor();
  ASSERT_EQ(order.size(), 20000u);
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(order[i], i + 1);
  for (DWORD id : ranOn) ASSERT_EQ(id, mainId);
}

std::atomic<bool> g_boxOpen{false};
const wchar_t kBoxTitle[] = L"TarnholtSyncTestBox";

// Failsafe: closes the box if nothing else does, so a broken build fails
// instead of hanging.
void CALLBACK CloseBoxTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND box = FindWindowW(nullptr, kBoxTitle)) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(Threads, SynchronizeIsServedInsideAModalMessageBox) {
  InitMainThreadSync();
  bool ranWhileBoxOpen = false;
  DWORD ranOn = 0;
  std::atomic<bool> closedByWorker{false};
  std::unique_ptr<LambdaThread> t(TThread::Create<LambdaThread>(true, [&](LambdaThread* self) {
    self->Synchronize([&] {
      ranWhileBoxOpen = g_boxOpen;
      ranOn = GetCurrentThreadId();
    });
    // The main thread is still inside MessageBoxW: close it.
    for (int i = 0; i < 500 && !self->Terminated(); ++i) {
      if (HWND box = FindWindowW(nullptr, kBoxTitle)) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        closedByWorker = true;
        return;
      }
      Sleep(20);
    }
  }));
  UINT_PTR timer = SetTimer(nullptr, 0, 20000, CloseBoxTimer);
  g_boxOpen = true;
  t->Start();
  MessageBoxW(nullptr, L"Synchronize test", kBoxTitle, MB_OK);
  g_boxOpen = false;
  KillTimer(nullptr, timer);
  t->WaitFor();
  EXPECT_TRUE(ranWhileBoxOpen);
  EXPECT_EQ(ranOn, GetCurrentThreadId());
  EXPECT_TRUE(closedByWorker);
}

std::atomic<bool> g_menuOpen{false};

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST(Threads, SynchronizeIsServedInsideAPopupMenuLoop) {
  InitMainThreadSync();
  HWND owner = CreateWindowExW(0, L"STATIC", L"menu owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(owner);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"Пункт");
  bool ranInMenu = false;
  std::unique_ptr<LambdaThread> t(TThread::Create<LambdaThread>(true, [&](LambdaThread* self) {
    self->Synchronize([&] {
      ranInMenu = g_menuOpen;
      EndMenu();  // we are inside the menu's own loop: leave it
    });
  }));
  UINT_PTR timer = SetTimer(nullptr, 0, 20000, EndMenuTimer);  // failsafe only
  g_menuOpen = true;
  t->Start();
  TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
  g_menuOpen = false;
  KillTimer(nullptr, timer);
  t->WaitFor();
  EXPECT_TRUE(ranInMenu);
  DestroyMenu(menu);
  DestroyWindow(owner);
}

TEST(Threads, FreeOnTerminateDeletesAfterOnTerminateRanOnTheMainThread) {
  InitMainThreadSync();
  HANDLE destroyed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD terminateRanOn = 0;
  bool destroyedBeforeOnTerminate = false;
  std::atomic<bool> wasDestroyed{false};
  auto* t = TThread::Create<LambdaThread>(true, [](LambdaThread*) {});
  t->FreeOnTerminate = true;
  t->onDestroy = [&] {
    wasDestroyed = true;
    SetEvent(destroyed);
  };
  t->OnTerminate = [&](TObject* sender) {
    terminateRanOn = GetCurrentThreadId();
    destroyedBeforeOnTerminate = wasDestroyed;
    EXPECT_EQ(sender, static_cast<TObject*>(t));
  };
  t->Start();
  // Pump until the object is gone.
  testenv::PumpUntil([destroyed] { return WaitForSingleObject(destroyed, 0) == WAIT_OBJECT_0; }, 30000);
  EXPECT_EQ(WaitForSingleObject(destroyed, 0), WAIT_OBJECT_0);
  EXPECT_EQ(terminateRanOn, GetCurrentThreadId());
  EXPECT_FALSE(destroyedBeforeOnTerminate);
  CloseHandle(destroyed);
}

TEST(Threads, WaitForServesSynchronizeAndCheckSynchronizeDrainsQueue) {
  InitMainThreadSync();
  std::vector<int> order;
  std::unique_ptr<LambdaThread> t(TThread::Create<LambdaThread>(false, [&](LambdaThread* self) {
    self->Queue([&] { order.push_back(1); });
    self->Synchronize([&] { order.push_back(2); });
    self->Queue([&] { order.push_back(3); });
    self->ReturnValue = 7;
  }));
  EXPECT_EQ(t->WaitFor(), 7);
  CheckSynchronize();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(Threads, ExceptionsInSynchronizedCallsReachTheWorker) {
  InitMainThreadSync();
  std::wstring caught;
  std::unique_ptr<LambdaThread> t(TThread::Create<LambdaThread>(false, [&](LambdaThread* self) {
    try {
      self->Synchronize([] { throw EConvertError(L"bad value"); });
    } catch (const EConvertError& e) {
      caught = e.Message();
    }
  }));
  t->WaitFor();
  EXPECT_EQ(caught, L"bad value");
}

TEST(Threads, DestroyingARunningThreadTerminatesAndWaits) {
  InitMainThreadSync();
  std::atomic<bool> sawTerminated{false}, running{false};
  auto* t = TThread::Create<LambdaThread>(false, [&](LambdaThread* self) {
    running = true;
    while (!self->Terminated()) Sleep(1);
    sawTerminated = true;
  });
  while (!running) Sleep(1);
  delete t;
  EXPECT_TRUE(sawTerminated);
}

TEST(Threads, SuspendedThreadNeverStartedIsDestroyedCleanly) {
  bool ran = false;
  auto* t = TThread::Create<LambdaThread>(true, [&](LambdaThread*) { ran = true; });
  delete t;
  EXPECT_FALSE(ran);
}

TEST(Threads, SynchronizeOnTheMainThreadRunsDirectly) {
  bool ran = false;
  TThread::Synchronize(nullptr, [&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(IsMainThread());
  auto* t = TThread::Create<LambdaThread>(true, [](LambdaThread*) {});
  EXPECT_THROW({ t->Start(); t->Start(); }, EThread);
  delete t;
}

}  // namespace
