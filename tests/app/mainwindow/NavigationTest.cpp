// The main window's frame bar as start-up leaves it: which items the user
// can open.
#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "tests/app/common/MainFormHarness.h"

namespace {

TEST(Navigation, OnlyTheTwoCleanupItemsCanBeOpened) {
  TMainForm* form = testenv::EnsureMainForm();
  TsFrameBar* bar = form->sFrameBar1;
  ASSERT_EQ(bar->Items()->Count(), 5);
  // Windows settings, defragmentation and options stay hidden, and their
  // title buttons, the only way to open them, are not on the bar.
  const bool expected[5] = {true, true, false, false, false};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(bar->Items()->Items(i)->Visible(), expected[i]) << "item " << i;
    ASSERT_NE(bar->Items()->Items(i)->TitleButton(), nullptr) << "item " << i;
    const TControl* title = bar->Items()->Items(i)->TitleButton();
    EXPECT_EQ(title->Parent() == bar && title->Visible(), expected[i]) << "item " << i;
  }
}

}  // namespace
