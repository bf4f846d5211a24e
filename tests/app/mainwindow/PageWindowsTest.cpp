// Pages not on the first screen make their windows when first shown, with
// the state start-up gave their controls while they had none.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/mainwindow/MainForm.h"
#include "framework/ListBox.h"
#include "framework/StdCtrls.h"
#include "tests/app/common/MainFormHarness.h"

namespace {

struct PageCase {
  int page;
  TWinControl* (*control)(TMainForm*);
};

class PageWindowsTest : public ::testing::TestWithParam<PageCase> {
 protected:
  void TearDown() override {
    testenv::EnsureMainForm()->SelectPage(0);
    Application->ProcessMessages();
  }
};

TEST_P(PageWindowsTest, AShownPageHasItsControlsOnScreen) {
  TMainForm* form = testenv::EnsureMainForm();
  TWinControl* control = GetParam().control(form);
  form->SelectPage(GetParam().page);
  Application->ProcessMessages();
  ASSERT_TRUE(control->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(form->Pages[GetParam().page]->WindowHandle()));
  EXPECT_TRUE(IsWindowVisible(control->WindowHandle()));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageWindowsTest,
    ::testing::Values(PageCase{3, [](TMainForm* f) -> TWinControl* { return f->DWATSON; }},
                      PageCase{14, [](TMainForm* f) -> TWinControl* { return f->MakeBackup; }},
                      PageCase{12, [](TMainForm* f) -> TWinControl* { return f->Pages[12]; }},
                      PageCase{15, [](TMainForm* f) -> TWinControl* { return f->CheckListBox1; }}));

// Start-up ticks and unticks the settings boxes while their page has no
// windows; the boxes show those ticks once the page is shown.
TEST(PageWindows, SettingsBoxesShowTheTicksStartUpRead) {
  TMainForm* form = testenv::EnsureMainForm();
  const bool dwatson = form->DWATSON->Checked(), nowrite = form->NOWRITELASTNTFS->Checked();
  form->SelectPage(3);
  Application->ProcessMessages();
  ASSERT_TRUE(form->DWATSON->HandleAllocated());
  EXPECT_EQ(SendMessageW(form->DWATSON->WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED, dwatson);
  EXPECT_EQ(SendMessageW(form->NOWRITELASTNTFS->WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED, nowrite);
  EXPECT_EQ(form->DWATSON->Checked(), dwatson);
  form->SelectPage(0);
  Application->ProcessMessages();
}

}  // namespace
