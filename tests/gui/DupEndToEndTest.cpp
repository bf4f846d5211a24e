// The real program's duplicate finder: " Parvik" opens its page, the folder
// chooser adds a folder picked in the shell tree, the scan runs and the
// result window opens on its result.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/AppDriver.h"
#include "tests/common/RemoteTree.h"
#include "tests/common/TestEnv.h"

using namespace testenv;

namespace {

// The main window; message boxes the program shows while it starts (a
// fresh prefix lacks settings that start-up reports) are answered with OK.
HWND WaitForMain(const TarnholtProcess& app, DWORD timeoutMs = 60000) {
  struct Boxes {
    DWORD pid;
    static BOOL CALLBACK Answer(HWND wnd, LPARAM lp) {
      DWORD pid = 0;
      GetWindowThreadProcessId(wnd, &pid);
      if (pid == reinterpret_cast<Boxes*>(lp)->pid && ClassOf(wnd) == L"#32770" && IsWindowVisible(wnd))
        PostMessageW(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return TRUE;
    }
  } boxes{app.Pid()};
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    if (HWND main = app.WaitForWindow(kMainCaption, 200)) return main;
    EnumWindows(&Boxes::Answer, reinterpret_cast<LPARAM>(&boxes));
  }
  return nullptr;
}

bool WaitForText(HWND wnd, const std::wstring& text, DWORD timeoutMs = 60000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (WindowText(wnd) != text) {
    if (GetTickCount64() > end) return false;
    PumpFor(20);
  }
  return true;
}

TEST(DupEndToEnd, ChooseAFolderScanItAndOpenTheResult) {
  ScopedTempDir tmp;
  tmp.WriteFile(L"a\\копия.txt", "одинаковое содержимое");
  tmp.WriteFile(L"b\\копия.txt", "одинаковое содержимое");
  tmp.WriteFile(L"c\\другой.txt", "x");

  TarnholtProcess app;
  HWND main = WaitForMain(app);
  ASSERT_NE(main, nullptr) << "main window did not appear";
  HWND parvik = FindChild(main, L"TsBitBtn", L" Parvik", true);
  ASSERT_NE(parvik, nullptr);
  ClickButton(parvik);
  HWND page = FindChild(main, L"TsTabSheet", nullptr, true);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(WindowText(page), L"AntiDouble");

  HWND add = FindChild(page, L"TButton", L"Добавить");
  HWND start = FindChild(page, L"TsButton", L"Начать сканирование");
  ASSERT_TRUE(add && start && FindChild(page, L"TListBox"));
  EXPECT_FALSE(IsWindowEnabled(start));

  // The chooser: open the tree down to the fixture folder and take it.
  PostClick(add);
  HWND dialog = app.WaitForWindow(L"Выбор папки");
  ASSERT_NE(dialog, nullptr);
  HWND treeWnd = FindChild(dialog, L"TShellTreeView");
  ASSERT_NE(treeWnd, nullptr);
  {
    RemoteTree tree(treeWnd, app.Pid());
    ASSERT_TRUE(tree.Ready());
    std::wstring missing;
    ASSERT_TRUE(tree.SelectPath(tmp.Path(), &missing))
        << "no tree node for " << std::string(missing.begin(), missing.end());
  }
  ClickButton(FindChild(dialog, L"TButton", L"Добавить"));
  HWND list = nullptr;
  // The folder is taken once the chooser's modal loop has returned, which
  // may be after the click's own reply: wait for it.
  for (int i = 0; i < 100 && !IsWindowEnabled(start); ++i) {
    Sync(main);
    PumpFor(50);
  }
  ASSERT_TRUE(IsWindowEnabled(start));
  list = FindChild(page, L"TListBox");  // made again once the list sorts itself
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  wchar_t item[1024] = {};
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_TRUE(SameName(item, tmp.Path() + L"\\"));

  ClickButton(FindChild(page, L"TCheckBox", L"Одинаковое содержимое"));
  ClickButton(start);
  ASSERT_TRUE(WaitForText(start, L"Начать сканирование"));

  PostClick(FindChild(page, L"TsButton", L"Смотреть результат"));
  HWND result = app.WaitForWindow(L"Результат");
  ASSERT_NE(result, nullptr);
  EXPECT_NE(FindChild(result, L"TStringGrid"), nullptr);
  EXPECT_FALSE(IsWindowEnabled(main));  // shown modally
  PostMessageW(result, WM_CLOSE, 0, 0);
  const ULONGLONG end = GetTickCount64() + 10000;
  while (IsWindowVisible(result) && GetTickCount64() < end) PumpFor(20);
  EXPECT_FALSE(IsWindowVisible(result));
  EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace
