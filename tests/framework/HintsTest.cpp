// The application's hints: a control's Hint shows after the hint pause when
// the mouse moves onto it and hides when the mouse leaves; CM_HINTSHOW and
// OnShowHint see and may change or stop it; suspensions nest and end on
// every exit path; HintWindowClass chooses the window.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Hints.h"
#include "tests/common/HintDriver.h"
#include "tests/framework/FormTestSupport.h"

namespace {

using namespace hinttest;

class HintsTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Application->HintPause = 1;
    Application->HintShortPause = 1;
    Application->HintHidePause = 60000;
    Application->SetShowHint(true);
    hinted = Make<TPanel>(8, 8, 120, 60);
    hinted->SetHint(L"Подсказка панели");
    hinted->SetShowHint(true);
    plain = Make<TPanel>(8, 100, 120, 60);
    plain->SetShowHint(true);
  }
  void TearDown() override {
    Application->Hints()->CancelHint();
    Application->OnShowHint = nullptr;
    HintWindowClass = HintWindowClassOf<THintWindow>();
    FormTest::TearDown();
  }

  TPanel* hinted = nullptr;
  TPanel* plain = nullptr;
};

std::wstring WindowText(HWND w) {
  wchar_t buf[256] = {};
  GetWindowTextW(w, buf, 256);
  return buf;
}

TEST_F(HintsTest, HoveringShowsTheControlsHintAndLeavingHidesIt) {
  POINT asked{};
  Application->OnShowHint = [&](std::wstring&, bool&, THintInfo& info) { asked = info.HintPos; };
  MoveOnto(hinted);
  THintWindow* w = WaitForHint();
  ASSERT_NE(w, nullptr);
  HWND wnd = w->WindowHandle();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(WindowText(wnd), L"Подсказка панели");
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r;
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r.left, asked.x);
  EXPECT_EQ(r.top, asked.y);

  Leave(hinted);
  EXPECT_EQ(Application->Hints()->ShownWindow(), nullptr);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(HintsTest, ControlWithoutHintShowsNone) {
  MoveOnto(plain);
  EXPECT_EQ(WaitForHint(), nullptr);
  // The machinery itself works: the hinted neighbour shows its hint.
  MoveOnto(hinted);
  EXPECT_NE(WaitForHint(), nullptr);
}

TEST_F(HintsTest, ShowHintOffOnTheControlShowsNone) {
  hinted->SetShowHint(false);
  MoveOnto(hinted);
  EXPECT_EQ(WaitForHint(), nullptr);
}

TEST_F(HintsTest, AControlWithoutAHintOfItsOwnCanGiveOneThroughCmHintShow) {
  // As a page control gives the hint of the tab under the mouse.
  TWndProcHook hook(plain, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == CM_HINTSHOW) reinterpret_cast<THintInfo*>(m.LParam)->HintStr = L"Закладка";
    next(m);
  });
  MoveOnto(plain);
  THintWindow* w = WaitForHint();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w->WindowHandle()), L"Закладка");
  Leave(plain);
  plain->SetShowHint(false);
  MoveOnto(plain);
  EXPECT_EQ(WaitForHint(), nullptr) << "not with ShowHint off";
}

TEST_F(HintsTest, CmHintShowSeesTheRecordAndCanStopTheHint) {
  THintInfo seen;
  LRESULT answer = 0;
  TWndProcHook hook(hinted, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == CM_HINTSHOW) {
      seen = *reinterpret_cast<THintInfo*>(m.LParam);
      m.Result = answer;
      return;
    }
    next(m);
  });
  MoveOnto(hinted);
  ASSERT_NE(WaitForHint(), nullptr);
  EXPECT_EQ(seen.HintControl, hinted);
  EXPECT_EQ(seen.HintStr, L"Подсказка панели");
  EXPECT_EQ(seen.HideTimeout, 60000);
  EXPECT_EQ(seen.CursorRect.right, 120);
  EXPECT_EQ(seen.CursorRect.bottom, 60);

  Leave(hinted);
  answer = 1;
  MoveOnto(hinted);
  EXPECT_EQ(WaitForHint(), nullptr) << "a non-zero answer stops the hint";
}

TEST_F(HintsTest, OnShowHintChangesTheTextOrStopsTheHint) {
  bool allow = true;
  Application->OnShowHint = [&](std::wstring& s, bool& canShow, THintInfo& info) {
    EXPECT_EQ(info.HintControl, hinted);
    s = L"другой текст";
    canShow = allow;
  };
  MoveOnto(hinted);
  THintWindow* w = WaitForHint();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w->WindowHandle()), L"другой текст");

  Leave(hinted);
  allow = false;
  MoveOnto(hinted);
  EXPECT_EQ(WaitForHint(), nullptr);
}

TEST_F(HintsTest, SuspensionsNestAndEndOnEveryExitPath) {
  {
    THintSuspension outer;
    try {
      THintSuspension inner;
      throw std::runtime_error("popup failed");
    } catch (const std::exception&) {
    }
    EXPECT_TRUE(Application->HintsSuspended()) << "the outer suspension still holds";
    MoveOnto(hinted);
    EXPECT_EQ(WaitForHint(), nullptr);
    Leave(hinted);
  }
  EXPECT_FALSE(Application->HintsSuspended());
  EXPECT_TRUE(Application->ShowHint());
  MoveOnto(hinted);
  EXPECT_NE(WaitForHint(), nullptr);
}

TEST_F(HintsTest, SuspendingHidesAShownHint) {
  MoveOnto(hinted);
  ASSERT_NE(WaitForHint(), nullptr);
  THintSuspension s;
  EXPECT_EQ(Application->Hints()->ShownWindow(), nullptr);
}

TEST_F(HintsTest, ButtonPressHidesTheHint) {
  MoveOnto(hinted);
  ASSERT_NE(WaitForHint(), nullptr);
  SendMessageW(hinted->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(hinted->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Application->Hints()->ShownWindow(), nullptr);
}

class TTestHintWindow : public THintWindow {
 public:
  using THintWindow::THintWindow;
  const wchar_t* ClassName() const override { return L"TTestHintWindow"; }
};

TEST_F(HintsTest, HintWindowClassChoosesTheWindow) {
  HintWindowClass = HintWindowClassOf<TTestHintWindow>();
  MoveOnto(hinted);
  THintWindow* w = WaitForHint();
  ASSERT_NE(w, nullptr);
  EXPECT_NE(dynamic_cast<TTestHintWindow*>(w), nullptr);
  wchar_t cls[64] = {};
  GetClassNameW(w->WindowHandle(), cls, 64);
  EXPECT_STREQ(cls, L"TTestHintWindow");
}

}  // namespace
