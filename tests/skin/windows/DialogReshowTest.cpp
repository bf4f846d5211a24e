// A system dialog skinned by the dialog hook keeps what it paints itself
// (a question drawn in its own WM_PAINT stays readable on the skin's
// background), and every showing of it, the first and the ones after
// hiding it, paints its whole client area.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/windows/DialogHook.h"
#include "skin/windows/DialogWnd.h"
#include "skin/windows/SkinProvider.h"
#include "tests/common/ScreenPixels.h"
#include "tests/skin/windows/AdapterTestSupport.h"

namespace {

constexpr RECT kTextRect{12, 12, 260, 60};

bool IsTextRed(uint32_t p) {
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return r > 200 && g < 60 && b < 60;
}

// The dialog draws its question itself, as the shell's confirmations do.
INT_PTR CALLBACK QuestionDlgProc(HWND wnd, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg != WM_PAINT) return FALSE;
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(wnd, &ps);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 0, 0));
  RECT r = kTextRect;
  ::DrawTextW(dc, L"Удалить этот файл? ████", -1, &r, DT_NOPREFIX | DT_WORDBREAK);
  ::EndPaint(wnd, &ps);
  return TRUE;
}

class DialogReshowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallEngineHooks();
    manager_ = adaptertest::InternalSkinManager();
    dlg_ = adaptertest::MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, QuestionDlgProc,
                                   L"Подтверждение", IDOK, L"Да");
    ASSERT_NE(nullptr, dlg_);
  }
  void TearDown() override {
    if (::IsWindow(dlg_)) ::DestroyWindow(dlg_);
    manager_.reset();
  }
  void Show() {
    ::ShowWindow(dlg_, SW_SHOW);
    ::SetActiveWindow(dlg_);
    adaptertest::PumpFor(30);
  }
  testenv::ScreenPixels Screen() const {
    return testenv::SettledClientOnScreen(dlg_);
  }
  static int RedIn(const testenv::ScreenPixels& s, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom && y < s.Height; ++y)
      for (int x = r.left; x < r.right && x < s.Width; ++x) n += IsTextRed(s.At(x, y));
    return n;
  }

  skintest::ManagerPtr manager_;
  HWND dlg_ = nullptr;
};

TEST_F(DialogReshowTest, OwnPaintedTextStaysOnTheSkinnedBackground) {
  Show();
  ASSERT_NE(nullptr, dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg_)));
  const testenv::ScreenPixels s = Screen();
  EXPECT_GT(RedIn(s, kTextRect), 20) << "the dialog's own text is gone";
  EXPECT_LT(s.BlackShare(), 0.05);
  // Below the text the skin's background shows, not the system's face.
  const uint32_t face = ::GetSysColor(COLOR_BTNFACE);
  const uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
  EXPECT_NE(s.At(5, s.Height / 2 + 10), faceRgb);
}

TEST_F(DialogReshowTest, EveryShowingPaintsTheClientArea) {
  for (int showing = 1; showing <= 3; ++showing) {
    Show();
    ASSERT_TRUE(::IsWindowVisible(dlg_));
    const testenv::ScreenPixels s = Screen();
    EXPECT_LT(s.BlackShare(), 0.05) << "showing " << showing;
    EXPECT_GT(RedIn(s, kTextRect), 20) << "showing " << showing;
    EXPECT_LT(testenv::PrintedClient(dlg_).BlackShare(), 0.05) << "showing " << showing;
    ::ShowWindow(dlg_, SW_HIDE);
    adaptertest::PumpFor(30);
  }
}

}  // namespace
