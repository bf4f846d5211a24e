// Scoped subclassing of bare windows: chaining with foreign subclasses in
// any removal order, removal and destruction while running, WM_NCDESTROY,
// and passing messages on from inside and outside a call.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/WindowSubclass.h"

namespace {

constexpr UINT kProbe = WM_USER + 7;
std::vector<std::wstring>* g_log = nullptr;

void Log(const std::wstring& s) {
  if (g_log) g_log->push_back(s);
}

LRESULT CALLBACK OriginalProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe) {
    Log(L"orig" + std::to_wstring(wParam));
    return 100 + static_cast<LRESULT>(wParam);
  }
  return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
  if (msg == kProbe) Log(L"foreign" + std::to_wstring(wParam));
  return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

class WindowSubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log = &log;
    WNDCLASSW wc{};
    wc.lpfnWndProc = OriginalProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarnholtSubclassProbe";
    ::RegisterClassW(&wc);
    wnd = ::CreateWindowExW(0, L"TarnholtSubclassProbe", L"", WS_POPUP, 0, 0, 50, 50, nullptr,
                            nullptr, wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr);
    original = ::GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (::IsWindow(wnd)) ::DestroyWindow(wnd);
    g_log = nullptr;
  }
  std::unique_ptr<TWindowSubclass> Ours(const std::wstring& name) {
    return std::make_unique<TWindowSubclass>(wnd, [this, name](UINT m, WPARAM w, LPARAM l) {
      if (m == kProbe) Log(name + std::to_wstring(w));
      return current->CallPrevious(m, w, l);
    });
  }
  LRESULT Probe(WPARAM n = 1) { return ::SendMessageW(wnd, kProbe, n, 0); }

  HWND wnd = nullptr;
  LONG_PTR original = 0;
  std::vector<std::wstring> log;
  TWindowSubclass* current = nullptr;
};

TEST_F(WindowSubclassTest, ChainsWithForeignSubclassAndRestoresInEitherOrder) {
  for (bool oursFirstOff : {true, false}) {
    SCOPED_TRACE(oursFirstOff ? "ours removed first" : "foreign removed first");
    log.clear();
    auto ours = Ours(L"ours");
    current = ours.get();
    ASSERT_TRUE(ours->Installed());
    ASSERT_TRUE(::SetWindowSubclass(wnd, ForeignProc, 1, 0));
    EXPECT_EQ(Probe(1), 101);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"foreign1", L"ours1", L"orig1"}));
    if (oursFirstOff) {
      ours.reset();
      log.clear();
      Probe(2);
      EXPECT_EQ(log, (std::vector<std::wstring>{L"foreign2", L"orig2"}));
      ::RemoveWindowSubclass(wnd, ForeignProc, 1);
      // The foreign one handed the window back to our empty pass-through,
      // which steps aside at the next message.
      log.clear();
      Probe(3);
      EXPECT_EQ(log, (std::vector<std::wstring>{L"orig3"}));
    } else {
      ::RemoveWindowSubclass(wnd, ForeignProc, 1);
      log.clear();
      Probe(2);
      EXPECT_EQ(log, (std::vector<std::wstring>{L"ours2", L"orig2"}));
      ours.reset();
    }
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWLP_WNDPROC), original);
  }
}

TEST_F(WindowSubclassTest, PassesOnTwiceInOneCall) {
  ASSERT_TRUE(::SetWindowSubclass(wnd, ForeignProc, 1, 0));
  TWindowSubclass* self = nullptr;
  TWindowSubclass ours(wnd, [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m != kProbe) return self->CallPrevious(m, w, l);
    self->CallPrevious(m, 7, l);
    return self->CallPrevious(m, 8, l);
  });
  self = &ours;
  EXPECT_EQ(Probe(), 108);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"foreign7", L"orig7", L"foreign8", L"orig8"}));
  ours.Remove();
  ::RemoveWindowSubclass(wnd, ForeignProc, 1);
}

TEST_F(WindowSubclassTest, CallPreviousOutsideACallSkipsOnlyThisSubclass) {
  auto inner = Ours(L"inner");
  current = inner.get();
  TWindowSubclass* outerPtr = nullptr;
  TWindowSubclass outer(wnd, [&](UINT m, WPARAM w, LPARAM l) {
    if (m == kProbe) Log(L"outer" + std::to_wstring(w));
    return outerPtr->CallPrevious(m, w, l);
  });
  outerPtr = &outer;
  EXPECT_EQ(inner->CallPrevious(kProbe, 3, 0), 103);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"outer3", L"orig3"}));
  log.clear();
  Probe(4);  // the bypass was for one message only
  EXPECT_EQ(log, (std::vector<std::wstring>{L"outer4", L"inner4", L"orig4"}));
}

TEST_F(WindowSubclassTest, DestroyedInsideItsHandlerFinishesTheCall) {
  std::unique_ptr<TWindowSubclass> ours;
  TWindowSubclass* raw = nullptr;
  std::wstring captured = L"captured state";
  ours = std::make_unique<TWindowSubclass>(wnd, [&, captured](UINT m, WPARAM w, LPARAM l) {
    if (m != kProbe) return raw->CallPrevious(m, w, l);
    ours.reset();     // the object goes while this call still runs
    Log(captured);    // the handler's own state is still there
    return LRESULT{55};
  });
  raw = ours.get();
  EXPECT_EQ(Probe(5), 55);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"captured state"}));
  EXPECT_EQ(::GetWindowLongPtrW(wnd, GWLP_WNDPROC), original);
  log.clear();
  Probe(6);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"orig6"}));
}

TEST_F(WindowSubclassTest, RemovesItselfAtNcDestroyAfterTheHandlerSawIt) {
  bool sawNcDestroy = false;
  TWindowSubclass* self = nullptr;
  TWindowSubclass ours(wnd, [&](UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCDESTROY) sawNcDestroy = true;
    return self->CallPrevious(m, w, l);
  });
  self = &ours;
  ::DestroyWindow(wnd);
  EXPECT_TRUE(sawNcDestroy);
  EXPECT_FALSE(ours.Installed());
  EXPECT_EQ(ours.CallPrevious(kProbe, 1, 0), 0);  // no window: nothing to call
}

TEST_F(WindowSubclassTest, CyrillicTextRoundTripsThroughASubclassedEdit) {
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  TWindowSubclass* self = nullptr;
  TWindowSubclass ours(edit, [&](UINT m, WPARAM w, LPARAM l) { return self->CallPrevious(m, w, l); });
  self = &ours;
  const std::wstring text = L"Очистка диска";
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  wchar_t buf[64] = {};
  ::SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf));
  EXPECT_EQ(std::wstring(buf), text);
  ::DestroyWindow(edit);
}

// ---- the framework's own hook chain

class HookProbe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe) {
      Log(L"self" + std::to_wstring(m.WParam));
      m.Result = 200;
      return;
    }
    TCustomControl::WndProc(m);
  }
};

TEST(WndProcHookCallNext, ReachesTheLinksBehindAndTheControlOutsideACall) {
  InitFramework();
  std::vector<std::wstring> log;
  g_log = &log;
  auto probe = std::unique_ptr<HookProbe>(Construct<HookProbe>(nullptr));
  auto record = [](const wchar_t* name) {
    return [name](TMessage& m, const TWndMethod& next) {
      if (m.Msg == kProbe) Log(name + std::to_wstring(m.WParam));
      next(m);
    };
  };
  TWndProcHook inner(probe.get(), record(L"inner"));
  TWndProcHook middle(probe.get(), record(L"middle"));
  TWndProcHook outer(probe.get(), record(L"outer"));
  TMessage m{kProbe, 1, 0, 0};
  middle.CallNext(m);
  EXPECT_EQ(m.Result, 200);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"inner1", L"self1"}));
  log.clear();
  middle.Detach();
  TMessage m2{kProbe, 2, 0, 0};
  middle.CallNext(m2);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(m2.Result, 0);
  g_log = nullptr;
}

}  // namespace
