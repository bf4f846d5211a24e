// The real program under Xvfb: start-up state, navigation and closing.
#include <gtest/gtest.h>

#include "tests/common/AppDriver.h"

using namespace testenv;

namespace {

// The page of the main page control that is showing now.
std::wstring VisiblePage(HWND main) {
  HWND page = FindChild(main, L"TsTabSheet", nullptr, /*visibleOnly=*/true);
  return page ? WindowText(page) : L"";
}

bool IsPushed(HWND button) {
  return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

HWND Button(HWND main, const wchar_t* caption) {
  return FindChild(main, L"TsBitBtn", caption, /*visibleOnly=*/true);
}

// Clicks the title of the bar's bottom item (the closed one below the open
// frame) or its top item.
void ClickTitle(HWND bar, bool bottom) {
  RECT r;
  GetClientRect(bar, &r);
  ClickAt(bar, r.right / 2, bottom ? r.bottom - 18 : 15);
}

class StartupNavigation : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = app_.WaitForWindow();
    ASSERT_NE(main_, nullptr) << "main window did not appear";
    bar_ = FindChild(main_, L"TsFrameBar");
    ASSERT_NE(bar_, nullptr);
  }
  TarnholtProcess app_;
  HWND main_ = nullptr;
  HWND bar_ = nullptr;
};

TEST_F(StartupNavigation, OpensOnCleanupPageWithWindowsPressed) {
  RECT client;
  GetClientRect(main_, &client);
  EXPECT_EQ(client.right, 627);
  EXPECT_EQ(client.bottom, 460);
  EXPECT_EQ(VisiblePage(main_), L"sTabSheet1");
  HWND frame = FindChild(main_, L"TFrame1", nullptr, true);
  ASSERT_NE(frame, nullptr);
  HWND windows = Button(main_, L"Windows");
  ASSERT_NE(windows, nullptr);
  EXPECT_TRUE(IsPushed(windows));
  for (const wchar_t* other : {L"Реестр", L"Приложения", L" Parvik"}) {
    HWND b = Button(main_, other);
    ASSERT_NE(b, nullptr) << other;
    EXPECT_FALSE(IsPushed(b)) << other;
  }
  // Which frame-bar items are hidden is checked in process (their titles
  // are drawn, not windows); from outside, the bar's bottom title is item
  // 1's (OpeningItemsSwapsFramesAndPages).
}

TEST_F(StartupNavigation, FrameButtonsSelectTheirPages) {
  struct Case {
    const wchar_t* button;
    const wchar_t* page;
  };
  const Case cases[] = {
      {L"Реестр", L"sTabSheet2"},
      {L"Приложения", L"sTabSheet3"},
      {L" Parvik", L"AntiDouble"},
      {L"Windows", L"sTabSheet1"},
  };
  for (const Case& c : cases) {
    HWND b = Button(main_, c.button);
    ASSERT_NE(b, nullptr) << c.button;
    ClickButton(b);
    EXPECT_EQ(VisiblePage(main_), c.page) << c.button;
    for (const wchar_t* other : {L"Windows", L"Реестр", L"Приложения", L" Parvik"})
      EXPECT_EQ(IsPushed(Button(main_, other)), std::wstring(other) == c.button)
          << "after " << c.button;
  }
}

TEST_F(StartupNavigation, OpeningItemsSwapsFramesAndPages) {
  ClickButton(Button(main_, L"Реестр"));
  ClickTitle(bar_, /*bottom=*/true);
  EXPECT_EQ(VisiblePage(main_), L"sTabSheet16");
  EXPECT_EQ(FindChild(main_, L"TFrame1"), nullptr) << "item 0's frame is freed when it closes";
  EXPECT_NE(FindChild(main_, L"TFrame5", nullptr, true), nullptr);

  // Re-opening item 0 makes a new frame: cleanup page, "Windows" pressed.
  ClickTitle(bar_, /*bottom=*/false);
  EXPECT_EQ(VisiblePage(main_), L"sTabSheet1");
  EXPECT_EQ(FindChild(main_, L"TFrame5"), nullptr);
  HWND windows = Button(main_, L"Windows");
  ASSERT_NE(windows, nullptr);
  EXPECT_TRUE(IsPushed(windows));
  EXPECT_FALSE(IsPushed(Button(main_, L"Реестр")));
}

TEST_F(StartupNavigation, ClosingTheWindowEndsTheProcess) {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(app_.WaitForExit(20000));
  EXPECT_EQ(app_.ExitCode(), 0u);
}

}  // namespace
