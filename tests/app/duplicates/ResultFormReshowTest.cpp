// The result window opened from the duplicate finder's page, closed and
// opened again keeps wearing its skin: every opening paints its client
// area and the controls on it, on screen and through WM_PRINT.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/duplicates/ResultForm.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/duplicates/DupPageTestSupport.h"
#include "tests/common/ScreenPixels.h"

namespace {

struct Opening {
  double ScreenBlack = 1;
  double PrintedBlack = 1;
};

// "Смотреть результат" on the page, a look at the window, and its close
// button's command.
Opening OpenAndLook(TMainForm* main) {
  Opening seen;
  dupgui::ModalDriver driver([] { return ResultForm && ResultForm->Visible() && ResultForm->Modal(); },
                             [&seen] {
                               HWND wnd = ResultForm->WindowHandle();
                               seen.ScreenBlack = testenv::SettledClientOnScreen(wnd).BlackShare();
                               seen.PrintedBlack = testenv::PrintedClient(wnd).BlackShare();
                               ::SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
                             });
  main->ResultButton->Click();
  EXPECT_TRUE(driver.Done());
  return seen;
}

TEST(ResultFormReshow, EveryOpeningPaintsTheClientArea) {
  TMainForm* main = testenv::EnsureMainForm();
  ASSERT_NE(ResultForm, nullptr);
  main->SelectPage(12);
  for (int opening = 1; opening <= 3; ++opening) {
    const Opening seen = OpenAndLook(main);
    EXPECT_LT(seen.ScreenBlack, 0.05) << "opening " << opening << ": screen";
    EXPECT_LT(seen.PrintedBlack, 0.05) << "opening " << opening << ": WM_PRINT";
    cleanuptest::PumpFor(50);
  }
}

}  // namespace
