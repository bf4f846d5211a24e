// The real program under Xvfb: the main window's caption band and frame
// come from its skin, with the caption text on them and no system caption.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "tests/common/AppDriver.h"

using namespace testenv;

namespace {

TColor Pixel(const TBitmap& b, int x, int y) {
  return static_cast<TColor>(::GetPixel(const_cast<TBitmap&>(b).Canvas()->Handle(), x, y));
}

// The program's skin painted by a manager set up as the program sets its own.
struct SkinImages {
  SkinImages(int w, int h, int band) {
    InitFramework();
    manager.reset(Construct<TsSkinManager>(nullptr));
    manager->SetActive(false);
    manager->SetSkinDirectory(L"c:\\Skins");
    manager->SetSaturation(40);
    AddInternalSkins(*manager->InternalSkins());
    manager->SetSkinName(L"WLM (internal)");
    manager->SetActive(true);
    for (int state = 0; state < 2; ++state) {
      title[state] = Paint(L"FORMTITLE", w, h, band, state);
      frame[state] = Paint(L"FORM", w, h, h, state);
    }
  }
  std::unique_ptr<TBitmap> Paint(const std::wstring& section, int w, int h, int height, int state) {
    auto b = CreateBmp24(w, h);
    PaintItem(manager->GetSkinIndex(section), section, EmptyCacheInfo, true, state,
              TRect{0, 0, w, height}, TPoint{0, 0}, b.get(), manager.get());
    return b;
  }
  std::unique_ptr<TsSkinManager> manager;
  std::unique_ptr<TBitmap> title[2], frame[2];
};

}  // namespace

TEST(SkinnedFrameEndToEnd, MainWindowCaptionAndFrameCarryTheSkin) {
  TarnholtProcess app;
  HWND main = app.WaitForWindow();
  ASSERT_NE(main, nullptr) << "main window did not appear";
  RECT wr{}, cr{};
  ::GetWindowRect(main, &wr);
  ::GetClientRect(main, &cr);
  POINT origin{0, 0};
  ::ClientToScreen(main, &origin);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const int top = origin.y - wr.top;  // frame and caption above the client area
  const int band = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYDLGFRAME);
  ASSERT_GE(top, band);
  SkinImages skin(w, h, band);

  auto shot = CreateBmp24(w, h);
  // Wait until the program has painted its frame (a loaded machine may
  // take a while), then keep that image.
  for (int i = 0; i < 200; ++i) {
    UniqueWindowDC dc = UniqueWindowDC::Window(main);
    ASSERT_TRUE(dc);
    ::BitBlt(shot->Canvas()->Handle(), 0, 0, w, h, dc.get(), 0, 0, SRCCOPY);
    if (Pixel(*shot, 0, h / 2) != 0 && Pixel(*shot, w / 2, band / 2) != 0) break;
    ::Sleep(50);
  }
  // The window is drawn either active or inactive; all its pixels agree
  // with one of the two looks.
  const int y = band / 2;
  const int x = w / 2;  // right of the caption text, left of the buttons
  const bool active = Pixel(*shot, 0, h / 2) == Pixel(*skin.frame[1], 0, h / 2);
  const int s = active ? 1 : 0;
  EXPECT_EQ(Pixel(*skin.title[s], x, y), Pixel(*shot, x, y));
  EXPECT_EQ(Pixel(*skin.frame[s], 0, h / 2), Pixel(*shot, 0, h / 2));
  EXPECT_EQ(Pixel(*skin.frame[s], w - 1, h / 2), Pixel(*shot, w - 1, h / 2));
  EXPECT_EQ(Pixel(*skin.frame[s], w / 2, h - 1), Pixel(*shot, w / 2, h - 1));

  // No system caption colour anywhere in the band.
  const TColor sys[] = {ColorToRGB(clActiveCaption), ColorToRGB(clInactiveCaption),
                        static_cast<TColor>(::GetSysColor(COLOR_GRADIENTACTIVECAPTION))};
  int systemPixels = 0;
  for (int yy = 0; yy < band; ++yy)
    for (int xx = 0; xx < w; ++xx)
      for (TColor c : sys) systemPixels += Pixel(*shot, xx, yy) == c;
  EXPECT_EQ(0, systemPixels);

  // The caption text is drawn on the band: left of the middle, pixels
  // differ from the skin's clean band.
  int text = 0;
  for (int xx = 30; xx < w / 3; ++xx)
    for (int yy = 4; yy < band - 2; ++yy) text += Pixel(*shot, xx, yy) != Pixel(*skin.title[s], xx, yy);
  EXPECT_GT(text, 20);
}
