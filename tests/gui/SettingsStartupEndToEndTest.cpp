// The real program in this run's Wine prefix: the settings steps of start-up
// let the window open, reporting only the start-menu values they miss, and
// leave the values they make exist behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/AppDriver.h"

using namespace testenv;

TEST(SettingsStartupEndToEnd, OpensWithOnlyStartMenuReportsAndMakesTheValuesExist) {
  TarnholtProcess app;
  HWND main = app.WaitForWindow();
  ASSERT_NE(main, nullptr) << "main window did not appear";
  // Start-up makes the start-menu values of Policies\Explorer exist, but
  // cannot make "Start_AutoCascade" exist in Explorer's "Advanced" key,
  // which a fresh prefix lacks: that one is reported, and nothing else.
  const std::vector<std::wstring> expected = {
      L"Следующий ключ не найден \"Start_AutoCascade\"",
  };
  EXPECT_EQ(app.StartupBoxes(), expected);
  // The settings pages are built and filled though never shown; their
  // windows are made only when a page is first shown, so none is on the
  // first screen.
  EXPECT_EQ(FindChild(main, L"TsCheckBox", L"Отключить Dr.Watson"), nullptr);
  EXPECT_EQ(FindChild(main, L"TButton", L"Сделать бекап"), nullptr);

  DWORD value = 5, size = sizeof value;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER,
                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                         L"NoDesktop", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
}
