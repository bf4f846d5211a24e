// The real program's caption shows its own icon (the executable's icon
// resource), not the generic icon the shell answers for it under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/engine/ModuleIcon.h"
#include "tests/common/AppDriver.h"
#include "tests/common/TestEnv.h"

using namespace testenv;

namespace {

// The top-left corner of a window as the screen shows it.
std::vector<COLORREF> ScreenCorner(HWND wnd, int w, int h) {
  RECT r;
  GetWindowRect(wnd, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(dc, bmp);
  BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  std::vector<COLORREF> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return px;
}

// An icon drawn over one background colour.
std::vector<COLORREF> IconOver(HICON icon, int size, COLORREF back) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  HBRUSH brush = CreateSolidBrush(back);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  std::vector<COLORREF> px(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) px[static_cast<size_t>(y) * size + x] = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return px;
}

// The share of the icon's opaque pixels (the same over black and white)
// that the corner shows at the best placement.
double BestMatch(const std::vector<COLORREF>& corner, int cw, int ch, HICON icon, int size) {
  const auto black = IconOver(icon, size, RGB(0, 0, 0));
  const auto white = IconOver(icon, size, RGB(255, 255, 255));
  double best = 0;
  for (int oy = 0; oy + size <= ch; ++oy)
    for (int ox = 0; ox + size <= cw; ++ox) {
      int opaque = 0, same = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const size_t i = static_cast<size_t>(y) * size + x;
          if (black[i] != white[i]) continue;
          ++opaque;
          same += corner[static_cast<size_t>(oy + y) * cw + ox + x] == black[i];
        }
      if (opaque) best = std::max(best, static_cast<double>(same) / opaque);
    }
  return best;
}

TEST(CaptionIcon, TheMainWindowsCaptionShowsTheProgramsOwnIcon) {
  HMODULE program = LoadLibraryExW(TarnholtExePath().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const int size = GetSystemMetrics(SM_CXSMICON);
  std::unique_ptr<TIcon> own = LoadModuleIcon(program, size);
  ASSERT_NE(own, nullptr);
  TarnholtProcess app;
  HWND main = app.WaitForWindow();
  ASSERT_NE(main, nullptr) << "main window did not appear";
  Sync(main);
  constexpr int kCorner = 48;
  // The screen lags behind drawing: look again until the icon shows or ten
  // seconds have passed.
  double share = 0;
  for (int tries = 0; tries < 100 && share < 0.95; ++tries) {
    share = BestMatch(ScreenCorner(main, kCorner, kCorner), kCorner, kCorner, own->Handle(), size);
    if (share < 0.95) PumpFor(100);
  }
  EXPECT_GE(share, 0.95);
  FreeLibrary(program);
}

}  // namespace
