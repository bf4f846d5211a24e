// The engine around the bars: hover, the window's own timers among the
// engine's, and a skinned control's adapter coming and going with its skin.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/ScrollWnd.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace adaptertest;

namespace {

class ScrollEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    manager = InternalSkinManager();
    wnd = MakeProbe(true, 300, 300, true);
    adapter = TacMainWnd::Create<TacScrollWnd>(wnd, nullptr, manager.get(), L"EDIT");
    Log().clear();
  }
  void TearDown() override {
    adapter.reset();
    if (::IsWindow(wnd)) ::DestroyWindow(wnd);
  }
  TPoint VBarPoint(int fromTop) {
    TRect v{};
    GetVScrollRect(adapter.get(), wnd, v);
    return TPoint{(v.left + v.right) / 2, v.top + fromTop};
  }

  skintest::ManagerPtr manager;
  HWND wnd = nullptr;
  TacScrollWndPtr adapter;
};

TEST_F(ScrollEngineTest, HoverFollowsTheMouseAndEndsWhenItLeaves) {
  const TPoint onThumb = VBarPoint(GetScrollMetric(adapter->VBar.get(), false, false) + 2);
  ::SetCursorPos(onThumb.x, onThumb.y);
  ::SendMessageW(wnd, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(onThumb.x, onThumb.y));
  EXPECT_EQ(ScrollEngine.HotWnd, wnd);
  EXPECT_EQ(ScrollEngine.HotBar, SB_VERT);
  EXPECT_NE(ScrollEngine.HoverTimer, 0u);
  PumpFor(120);
  EXPECT_EQ(ScrollEngine.HotPart, spThumb);
  ::SetCursorPos(onThumb.x - 200, onThumb.y);
  PumpFor(120);
  EXPECT_EQ(ScrollEngine.HotBar, -1);
  EXPECT_EQ(ScrollEngine.HoverTimer, 0u);
}

// Counts the window's WM_TIMER messages of one id as the queue hands them out.
int g_queuedTimers = 0;
LRESULT CALLBACK CountTimers(int code, WPARAM w, LPARAM l) {
  auto* msg = reinterpret_cast<MSG*>(l);
  if (code == HC_ACTION && w == PM_REMOVE && msg->message == WM_TIMER && msg->wParam == 7)
    ++g_queuedTimers;
  return ::CallNextHookEx(nullptr, code, w, l);
}

TEST_F(ScrollEngineTest, TheWindowsOwnTimerKeepsItsIdAndArrivesOnce) {
  const TPoint onBar = VBarPoint(60);
  ::SetCursorPos(onBar.x, onBar.y);
  ::SendMessageW(wnd, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(onBar.x, onBar.y));  // hover runs
  HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, CountTimers, nullptr, ::GetCurrentThreadId());
  g_queuedTimers = 0;
  ::SetTimer(wnd, 7, 15, nullptr);
  PumpFor(200);
  ::KillTimer(wnd, 7);
  ::UnhookWindowsHookEx(hook);
  int seen = 0;
  for (const Seen& s : Log()) seen += s.Msg == WM_TIMER && s.WParam == 7;
  EXPECT_GT(g_queuedTimers, 0);
  EXPECT_EQ(seen, g_queuedTimers);
  for (const Seen& s : Log())  // the engine's own ticks stay with the engine
    EXPECT_FALSE(s.Msg == WM_TIMER && s.WParam == kHoverTimer);
}

TEST(ScrollWndOfControl, ComesWithTheSkinAndGoesWithoutIt) {
  InitFramework();
  auto manager = InternalSkinManager();
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(10, 10, 300, 200);
  TMemo* memo = Construct<TMemo>(form);
  memo->SetParent(form);
  memo->SetBounds(5, 5, 200, 120);
  memo->SetScrollBars(ssBoth);
  memo->HandleNeeded();
  TsCommonData data(memo, true);
  data.OwnerControl = memo;
  data.SetSkinManager(manager.get());
  data.SetSkinSection(L"EDIT");
  ASSERT_TRUE(data.Skinned(false));

  TacScrollWndPtr adapter;
  RefreshScrollWnd(&data, adapter);
  ASSERT_NE(adapter, nullptr);
  EXPECT_TRUE(memo->HasHooks());
  EXPECT_EQ(GetScrollBar(memo->Handle(), SB_VERT), adapter->VBar.get());
  TacScrollWnd* first = adapter.get();
  RefreshScrollWnd(&data, adapter);  // still skinned: the same adapter stays
  EXPECT_EQ(adapter.get(), first);

  data.SetSkinSection(L"NO SUCH SECTION");
  RefreshScrollWnd(&data, adapter);
  EXPECT_EQ(adapter, nullptr);
  EXPECT_FALSE(memo->HasHooks());
  EXPECT_EQ(GetScrollBar(memo->Handle(), SB_VERT), nullptr);
  delete form;
}

}  // namespace
