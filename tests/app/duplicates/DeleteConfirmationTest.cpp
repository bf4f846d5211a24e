// The shell's confirmation before "Удалить с диска" wears the skin and
// still shows its question, which it draws itself.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/duplicates/DupRecycle.h"
#include "skin/windows/DialogWnd.h"
#include "skin/windows/ScrollWnd.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/ScreenPixels.h"
#include "tests/common/TestEnv.h"

namespace {

bool Dark(uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 200; }

TEST(DeleteConfirmation, QuestionShowsOnTheSkinnedDialog) {
  TMainForm* main = testenv::EnsureMainForm();
  testenv::ScopedTempDir tmp;
  const std::wstring file = tmp.WriteFile(L"дубликат.txt", "x");
  testenv::ModalDriver driver;
  bool skinned = false;
  int darkInQuestion = -1;
  driver.OnShown = [&](HWND box) {
    skinned = dynamic_cast<TacDialogWnd*>(GetScrollWnd(box)) != nullptr;
    const testenv::ScreenPixels s = testenv::SettledClientOnScreen(box, cleanuptest::PumpFor);
    // The question sits in the upper part, right of the icon.
    darkInQuestion = 0;
    for (int y = 4; y < s.Height / 2; ++y)
      for (int x = 48; x < s.Width - 8; ++x) darkInQuestion += Dark(s.At(x, y));
    ::PostMessageW(box, WM_COMMAND, IDNO, 0);
  };
  driver.Drive(nullptr, [&] {
    DupShellDeleteToRecycle(main->WindowHandle(), file + L'\0');
    return 0;
  });
  ASSERT_TRUE(driver.Shown) << "no confirmation came";
  EXPECT_TRUE(skinned);
  EXPECT_GT(darkInQuestion, 30) << "the question is not on the dialog";
  EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "answered no, yet deleted";
}

}  // namespace
