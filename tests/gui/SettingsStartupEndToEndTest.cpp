// The real program in this run's Wine prefix: the settings steps of start-up
// let the window open, reporting only the start-menu values they miss, and
// leave the values they make exist behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/common/AppDriver.h"

using namespace testenv;

TEST(SettingsStartupEndToEnd, OpensWithOnlyStartMenuReportsAndMakesTheValuesExist) {
  TarnholtProcess app;
  HWND main = app.WaitForWindow();
  ASSERT_NE(main, nullptr) << "main window did not appear";
  const std::wstring allowed[] = {
      L"Следующий ключ не найден \"StartMenuLogoff\"",
      L"Следующий ключ не найден \"NoStartMenuMFUprogramsList\"",
      L"Следующий ключ не найден \"NoRecentDocsHistory\"",
      L"Следующий ключ не найден \"ClearRecentDocsOnExit\"",
      L"Следующий ключ не найден \"Start_AutoCascade\"",
  };
  for (const std::wstring& text : app.StartupBoxes())
    EXPECT_NE(std::find(std::begin(allowed), std::end(allowed), text), std::end(allowed)) << text;
  // The settings pages are built though never shown.
  EXPECT_NE(FindChild(main, L"TCheckBox", L"Отключить Dr.Watson"), nullptr);
  EXPECT_NE(FindChild(main, L"TButton", L"Сделать бекап"), nullptr);

  DWORD value = 5, size = sizeof value;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER,
                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                         L"NoDesktop", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
}
