// The folder chooser, kept between uses and skinned by the dialog hook,
// paints its whole client area every time it opens, also after its tree
// has expanded a drive.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/common/AddFolderDialog.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/duplicates/DupPageTestSupport.h"
#include "tests/common/ScreenPixels.h"

namespace {

void Pump(DWORD ms) { cleanuptest::PumpFor(ms); }

struct Opening {
  double ScreenBlack = 1;
  double PrintedBlack = 1;
  double ExpandedBlack = 1;
};

// Opens the chooser modally, reads its client area from the screen and
// through WM_PRINT, expands the first drive, reads the screen again and
// cancels.
Opening OpenAndLook(TAddFolderDialog* dialog) {
  Opening seen;
  dupgui::ModalDriver driver([dialog] { return dialog->Visible() && dialog->Modal(); },
                             [&seen, dialog] {
                               HWND wnd = dialog->WindowHandle();
                               seen.ScreenBlack = testenv::SettledClientOnScreen(wnd, Pump).BlackShare();
                               seen.PrintedBlack = testenv::PrintedClient(wnd).BlackShare();
                               HWND tree = dialog->ShellTreeView->WindowHandle();
                               if (HTREEITEM first = TreeView_GetRoot(tree)) {
                                 TreeView_Expand(tree, first, TVE_EXPAND);
                                 TreeView_SelectItem(tree, first);
                               }
                               seen.ExpandedBlack = testenv::SettledClientOnScreen(wnd, Pump).BlackShare();
                               dialog->CancelButton->Click();
                             });
  dialog->ShowModal();
  EXPECT_TRUE(driver.Done());
  return seen;
}

TEST(AddFolderDialogReshow, EveryOpeningPaintsTheWholeDialog) {
  TMainForm* main = testenv::EnsureMainForm();
  TAddFolderDialog* dialog = EnsureAddFolderDialog(main);
  for (int opening = 1; opening <= 3; ++opening) {
    const Opening seen = OpenAndLook(dialog);
    EXPECT_LT(seen.ScreenBlack, 0.05) << "opening " << opening << ": screen";
    EXPECT_LT(seen.PrintedBlack, 0.05) << "opening " << opening << ": WM_PRINT";
    EXPECT_LT(seen.ExpandedBlack, 0.05) << "opening " << opening << ": screen after expanding";
    Pump(50);
  }
}

}  // namespace
