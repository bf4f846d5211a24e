// The main and result windows wear their skin provider, and through it the
// standard controls on them wear window adapters while a skin is active.
#include <gtest/gtest.h>

#include "app/duplicates/ResultForm.h"
#include "app/mainwindow/MainForm.h"
#include "framework/ListBox.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/CtrlAdapter.h"
#include "skin/windows/MainWnd.h"
#include "tests/app/common/MainFormHarness.h"

namespace {

bool Adapted(TWinControl* control) {
  return ::GetPropW(control->Handle(), kAdapterProp) != nullptr;
}

void Pump() {
  for (int i = 0; i < 20; ++i) Application->ProcessMessages();
}

}  // namespace

TEST(AppSkinnedForms, StandardControlsOfTheProgramsFormsWearAdaptersWithTheSkin) {
  TMainForm* main = testenv::EnsureMainForm();
  ASSERT_TRUE(DefaultManager && DefaultManager->SkinData->Active);
  ASSERT_NE(main->sSkinProvider1, nullptr);
  ASSERT_NE(main->sSkinProvider1->Adapter, nullptr);
  for (TWinControl* c : {static_cast<TWinControl*>(main->FoldersListBox),
                         static_cast<TWinControl*>(main->ListBox2)})
    EXPECT_TRUE(Adapted(c)) << c->Name();

  ResultForm->Show();
  Pump();
  ASSERT_NE(ResultForm->sSkinProvider1->Adapter, nullptr);
  EXPECT_TRUE(Adapted(ResultForm->DoublesList));

  // Plain labels take the skin's font colour while it lasts.
  EXPECT_EQ(ResultForm->DoubleKeys->Font()->Color(), DefaultManager->GetGlobalFontColor());
  EXPECT_TRUE(ResultForm->DoubleKeys->Transparent());

  // Without a skin the controls are plain again, labels in their own
  // colours; with it back, adapted.
  DefaultManager->SetActive(false);
  Pump();
  EXPECT_EQ(main->sSkinProvider1->Adapter, nullptr);
  EXPECT_FALSE(Adapted(main->FoldersListBox));
  EXPECT_FALSE(Adapted(ResultForm->DoublesList));
  EXPECT_EQ(ResultForm->DoubleKeys->Font()->Color(), clBlue);
  EXPECT_FALSE(ResultForm->DoubleKeys->Transparent());
  DefaultManager->SetActive(true);
  Pump();
  EXPECT_TRUE(Adapted(main->FoldersListBox));
  EXPECT_TRUE(Adapted(ResultForm->DoublesList));
  ResultForm->Hide();
}

TEST(AppSkinnedForms, ASkinSetAgainWhileTheAppsPageIsHiddenReachesItsListWhenShown) {
  TMainForm* main = testenv::EnsureMainForm();
  ASSERT_TRUE(DefaultManager && DefaultManager->SkinData->Active);
  // The user has seen the installed-applications page and left it.
  main->SelectPage(2);
  main->sPageControl2->SetActivePage(main->sTabSheet13);
  Pump();
  main->SelectPage(0);
  Pump();
  DefaultManager->SetActive(false);
  Pump();
  DefaultManager->SetActive(true);
  Pump();
  main->SelectPage(2);
  Pump();
  EXPECT_TRUE(::IsWindowVisible(main->ListBox2->Handle()));
  EXPECT_TRUE(Adapted(main->ListBox2));
  main->SelectPage(0);
}
