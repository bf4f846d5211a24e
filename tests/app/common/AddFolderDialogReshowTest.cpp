// The folder chooser, kept between uses and skinned by the dialog hook,
// paints its whole client area every time it opens, also after its tree
// has expanded a drive, and its tree's skinned frame shows every time.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/common/AddFolderDialog.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/duplicates/DupPageTestSupport.h"
#include "tests/common/Pump.h"
#include "tests/common/ScreenPixels.h"

namespace {

struct Opening {
  double ScreenBlack = 1;
  double PrintedBlack = 1;
  double ExpandedBlack = 1;
  double TreeFrameBlack = 1;
};

// Share of pure black pixels in the outer ring of the window's frame on
// screen: a frame nobody painted reads back black under Xvfb.
double FrameRingBlack(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  const RECT rows[] = {{r.left, r.top, r.right, r.top + 1},
                       {r.left, r.bottom - 1, r.right, r.bottom},
                       {r.left, r.top, r.left + 1, r.bottom},
                       {r.right - 1, r.top, r.right, r.bottom}};
  long black = 0, all = 0;
  for (const RECT& row : rows)
    for (uint32_t px : testenv::ReadPixels(nullptr, row).Bits) {
      ++all;
      black += px == 0;
    }
  return all ? static_cast<double>(black) / all : 1;
}

// Opens the chooser modally, reads its client area from the screen and
// through WM_PRINT, expands the first drive, reads the screen again and
// cancels.
Opening OpenAndLook(TAddFolderDialog* dialog) {
  Opening seen;
  dupgui::ModalDriver driver([dialog] { return dialog->Visible() && dialog->Modal(); },
                             [&seen, dialog] {
                               HWND wnd = dialog->WindowHandle();
                               seen.ScreenBlack = testenv::SettledClientOnScreen(wnd).BlackShare();
                               seen.PrintedBlack = testenv::PrintedClient(wnd).BlackShare();
                               HWND tree = dialog->ShellTreeView->WindowHandle();
                               // The screen lags behind drawing on a busy
                               // machine: a frame is judged unpainted only
                               // when it stays black.
                               testenv::PumpUntil([tree] { return FrameRingBlack(tree) < 0.05; }, 2000);
                               seen.TreeFrameBlack = FrameRingBlack(tree);
                               if (HTREEITEM first = TreeView_GetRoot(tree)) {
                                 TreeView_Expand(tree, first, TVE_EXPAND);
                                 TreeView_SelectItem(tree, first);
                               }
                               seen.ExpandedBlack = testenv::SettledClientOnScreen(wnd).BlackShare();
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
    EXPECT_LT(seen.TreeFrameBlack, 0.05) << "opening " << opening << ": the tree's frame";
    cleanuptest::PumpFor(50);
  }
}

}  // namespace
