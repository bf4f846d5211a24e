// Turning a window handle into its control: recreated windows, destroyed
// windows, and windows the framework did not make.
#include <gtest/gtest.h>

#include <thread>

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/framework/FormTestSupport.h"

namespace {

using FindControlTest = FormTest;

TEST_F(FindControlTest, FollowsTheControlToItsNewWindowAndForgetsTheOldOne) {
  auto* button = Make<TButton>();
  HWND first = button->Handle();
  ASSERT_EQ(FindControl(first), button);
  EXPECT_EQ(FindControl(form->Handle()), form);

  button->RecreateWnd();
  HWND second = button->Handle();
  ASSERT_NE(second, first);
  EXPECT_EQ(FindControl(second), button);
  EXPECT_EQ(FindControl(first), nullptr) << "the destroyed window still names the control";
}

TEST_F(FindControlTest, DestroyedWindowsAndFreedControlsAreNotFound) {
  auto* panel = Make<TPanel>();
  auto* edit = Construct<TEdit>(form);
  edit->SetParent(panel);
  HWND panelWnd = panel->Handle();
  HWND editWnd = edit->Handle();
  ASSERT_EQ(FindControl(editWnd), edit);

  panel->DestroyHandle();  // takes the child's window with it
  EXPECT_FALSE(IsWindow(editWnd));
  EXPECT_EQ(FindControl(panelWnd), nullptr);
  EXPECT_EQ(FindControl(editWnd), nullptr);

  HWND again = edit->Handle();
  EXPECT_EQ(FindControl(again), edit);
  delete edit;
  EXPECT_EQ(FindControl(again), nullptr);
  EXPECT_EQ(FindControl(nullptr), nullptr);
}

TEST_F(FindControlTest, WindowsOfOtherClassesHaveNoControl) {
  HWND bare = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr,
                              nullptr, nullptr);
  ASSERT_TRUE(bare);
  EXPECT_EQ(FindControl(bare), nullptr);
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  DestroyWindow(bare);
}

TEST_F(FindControlTest, AnyThreadCanAskWhoseAWindowIs) {
  HWND wnd = form->Handle();
  TWinControl* seen = nullptr;
  std::thread([&] { seen = FindControl(wnd); }).join();
  EXPECT_EQ(seen, form);
}

}  // namespace
