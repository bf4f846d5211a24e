// The real program under Xvfb wears its skin: the left navigation frame, a
// panel, a button and a check box show the skin's colours, not the system's
// button face.
#include <gtest/gtest.h>

#include <memory>

#include "tests/common/AppDriver.h"

using namespace testenv;

namespace {

// The window's pixels copied from the screen into a memory bitmap: another
// process's window can neither print into our DC nor lend its own.
class WindowImage {
 public:
  explicit WindowImage(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bmp_);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HDC desktop = GetDC(nullptr);
    BitBlt(dc_, 0, 0, width_, height_, desktop, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
  }
  ~WindowImage() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

class SkinnedLook : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = app_.WaitForWindow();
    ASSERT_NE(main_, nullptr) << "main window did not appear";
    Sync(main_);
    face_ = GetSysColor(COLOR_BTNFACE);
  }
  // The screen shows what was drawn a little later than the drawing, and
  // later still on a loaded machine: read it again until the share is met
  // or ten seconds have passed, and give the last share read.
  double SkinnedShareReaching(double wanted, HWND wnd, int width = 0) {
    double share = 0;
    for (int tries = 0; tries < 100; ++tries) {
      share = SkinnedShare(wnd, width);
      if (share > wanted) break;
      PumpFor(100);
    }
    return share;
  }
  // The share of pixels of the window (within its left `width` pixels when
  // given) that are neither the system's button face nor black (nothing
  // drawn).
  double SkinnedShare(HWND wnd, int width = 0) {
    WindowImage img(wnd);
    const int right = width > 0 ? width : img.Width() - 2;
    int skinned = 0, n = 0;
    for (int y = 2; y < img.Height() - 2; ++y)
      for (int x = 2; x < right; ++x) {
        const COLORREF c = img.At(x, y);
        ++n;
        skinned += c != face_ && c != RGB(0, 0, 0);
      }
    return n ? static_cast<double>(skinned) / n : 0;
  }
  TarnholtProcess app_;
  HWND main_ = nullptr;
  COLORREF face_ = 0;
};

}  // namespace

TEST_F(SkinnedLook, NavigationPanelButtonAndCheckBoxShowTheSkin) {
  HWND frame = FindChild(main_, L"TFrame1", nullptr, true);
  HWND button = FindChild(main_, L"TsButton", L"Анализ", true);
  HWND check = FindChild(main_, L"TsCheckBox", L"Internet Explorer", true);
  HWND bitBtn = FindChild(main_, L"TsBitBtn", L"Реестр", true);
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(button, nullptr);
  ASSERT_NE(check, nullptr);
  ASSERT_NE(bitBtn, nullptr);
  for (HWND w : {frame, button, bitBtn})
    EXPECT_GT(SkinnedShareReaching(0.9, w), 0.9) << WindowText(w);
  // The check box's section lets its parent show; its box is the skin's.
  RECT r;
  GetClientRect(check, &r);
  EXPECT_GT(SkinnedShareReaching(0.5, check, r.bottom - 2), 0.5);
  // A panel: the settings links' panel shows once its item opens; the
  // navigation frame's own face is the "BAR" section.
  WindowImage frameImg(frame);
  EXPECT_NE(face_, frameImg.At(5, frameImg.Height() - 5));
}
