// The real program and Config.ini beside it: the lists it reads at start
// appear on the finder's page (frame-bar item 1), and closing the window
// writes them back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/common/AppDriver.h"
#include "tests/common/TestEnv.h"

using namespace testenv;

namespace {

std::string Cp1251(const std::wstring& s) {
  std::string out(s.size() * 2 + 1, '\0');
  const int n = WideCharToMultiByte(1251, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

// Config.ini beside tarnholt.exe, put back as it was when the test ends.
class FinderEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = TarnholtExePath();
    ASSERT_FALSE(exe.empty());
    config_ = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"Config.ini";
    existed_ = GetFileAttributesW(config_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (existed_) saved_ = testenv::ReadFileBytes(config_);
  }
  void TearDown() override {
    if (existed_) testenv::WriteFileBytes(config_, saved_);
    else DeleteFileW(config_.c_str());
  }
  std::wstring config_;
  bool existed_ = false;
  std::string saved_;
};

TEST_F(FinderEndToEnd, ListsFromConfigIniShowOnThePageAndAreSavedOnClose) {
  const std::string text = Cp1251(
      L"[Filters]\r\nCount=1\r\nF0=*.tmp\r\nD0=Временные\r\n"
      L"[Exclusion]\r\nCount=1\r\nE0=Windows\r\nD0=Система\r\n"
      L"[Path]\r\nCount=1\r\nP0=C:\\Мои документы\\\r\n");
  ASSERT_TRUE(testenv::WriteFileBytes(config_, text));
  {
    TarnholtProcess app;
    HWND main = app.WaitForWindow();
    ASSERT_NE(main, nullptr);
    HWND bar = FindChild(main, L"TsFrameBar");
    ASSERT_NE(bar, nullptr);
    RECT r;
    GetClientRect(bar, &r);
    ClickAt(bar, r.right / 2, r.bottom - 18);  // item 1, below the open frame
    Sync(main);
    HWND page = FindChild(main, L"TsTabSheet", nullptr, true);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(WindowText(page), L"sTabSheet16");
    ASSERT_NE(FindChild(main, L"TFrame5", nullptr, true), nullptr);
    for (const wchar_t* caption : {L"Добавить", L"Редактировать", L"Удалить", L"Удалить все", L"Исключить все",
                                   L"Выбрать все"})
      EXPECT_NE(FindChild(main, L"TsButton", caption, true), nullptr) << caption;
    EXPECT_NE(FindChild(main, L"TTabbedNotebook", nullptr, true), nullptr);

    // The drives first, then the path from the file, every entry ticked.
    HWND paths = FindChild(main, L"TCheckListBox", nullptr, true);
    ASSERT_NE(paths, nullptr);
    const int count = static_cast<int>(SendMessageW(paths, LB_GETCOUNT, 0, 0));
    ASSERT_GE(count, 2);
    wchar_t last[MAX_PATH] = {};
    SendMessageW(paths, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(last));
    EXPECT_STREQ(last, L"C:\\Мои документы\\");
    wchar_t first[MAX_PATH] = {};
    SendMessageW(paths, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::wstring(first).size(), 3u) << "a drive root first";

    DeleteFileW(config_.c_str());
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(20000));
  }
  // Written again on close: the same lists, the drives left out.
  EXPECT_EQ(testenv::ReadFileBytes(config_), text);
}

}  // namespace
