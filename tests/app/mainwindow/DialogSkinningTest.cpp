// The program's windows without a skin provider and its message boxes wear
// the skin through the dialog hook of the main window's skin manager.
#include <gtest/gtest.h>

#include "app/duplicates/HelpForm.h"
#include "app/mainwindow/MainForm.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/SkinProvider.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/ModalDriver.h"

namespace {

int ProvidersOf(TCustomForm* form) {
  int n = 0;
  for (int i = 0; i < form->ComponentCount(); ++i)
    n += dynamic_cast<TsSkinProvider*>(form->Components(i)) != nullptr;
  return n;
}

void Pump() {
  for (int i = 0; i < 20; ++i) Application->ProcessMessages();
}

}  // namespace

TEST(AppDialogSkinning, HelpWindowGetsOneProviderWhenItShows) {
  testenv::EnsureMainForm();
  ASSERT_TRUE(DefaultManager && DefaultManager->DialogHookInstalled());
  HelpForm->Show();
  Pump();
  EXPECT_EQ(1, ProvidersOf(HelpForm));
  HelpForm->Hide();
  HelpForm->Show();
  Pump();
  EXPECT_EQ(1, ProvidersOf(HelpForm));
  HelpForm->Hide();
  Pump();
}

TEST(AppDialogSkinning, ProgramsMessageBoxWearsTheSkinWithItsButtons) {
  testenv::EnsureMainForm();
  testenv::ModalDriver driver;
  bool skinned = false;
  int buttons = 0;
  driver.OnShown = [&](HWND box) {
    skinned = dynamic_cast<TacDialogWnd*>(GetScrollWnd(box)) != nullptr;
    for (HWND c = ::GetTopWindow(box); c; c = ::GetWindow(c, GW_HWNDNEXT))
      buttons += dynamic_cast<TacBtnWnd*>(GetScrollWnd(c)) != nullptr;
    ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  };
  const int answer = driver.Drive(L"Удаление", [] {
    return Application->MessageBox(L"Удалить?", L"Удаление", MB_OKCANCEL | MB_ICONQUESTION);
  });
  ASSERT_TRUE(driver.Shown);
  EXPECT_EQ(IDCANCEL, answer);
  EXPECT_TRUE(skinned);
  EXPECT_EQ(2, buttons);
}
