// The hint manager: presets, the hint-window class by style, the opacity of
// transparency percents, window sizes, shapes and placement, the layered
// image and its fade-in, the skin's "HINT" section, and that the manager
// leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "skin/controls/HintManager.h"
#include "skin/controls/HintWindows.h"
#include "skin/engine/BmpView.h"
#include "tests/skin/controls/HintTestSupport.h"

namespace {

using skintest::HintManagerFixture;
using skintest::LayeredRecord;

class HintManagerTest : public HintManagerFixture {
 protected:
  // The text's size in the hint font as the window measures it.
  SIZE TextSize(const std::wstring& text) {
    TBitmap bmp(1, 1, pf24bit);
    bmp.Canvas()->Font()->Assign(manager->HintKind()->Font());
    TRect r{0, 0, manager->HintKind()->MaxWidth, 0};
    bmp.Canvas()->TextRect(r, text, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
    return SIZE{r.right, r.bottom};
  }
  SIZE WindowSize() {
    RECT r;
    GetWindowRect(window->WindowHandle(), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  uint8_t AlphaAt(int x, int y) { return LayeredRecord::Alpha(record.Pixel(x, y)); }
};

TEST(HintAlpha, RoundsHalfToEvenInIntegers) {
  EXPECT_EQ(HintAlpha(20), 204);
  EXPECT_EQ(HintAlpha(0), 255);
  EXPECT_EQ(HintAlpha(100), 0);
  EXPECT_EQ(HintAlpha(10), 230) << "229.5 rounds to the even 230";
  EXPECT_EQ(HintAlpha(5), 242);
  EXPECT_EQ(HintAlpha(-5), 255);
  EXPECT_EQ(FadeFrameAlpha(204, 31, 31), 204);
  EXPECT_EQ(FadeFrameAlpha(204, 1, 31), 7);  // 6.58
}

TEST_F(HintManagerTest, StyleChoosesTheHintWindowClass) {
  struct Case {
    TsHintStyle style;
    THintWindowClass cls;
    bool active;
  };
  const Case cases[] = {
      {hsSimply, HintWindowClassOf<TsSimplyHintWindow>(), true},
      {hsComics, HintWindowClassOf<TsComicsHintWindow>(), true},
      {hsEllipse, HintWindowClassOf<TsEllipseHintWindow>(), true},
      {hsBalloon, HintWindowClassOf<TsBalloonHintWindow>(), true},
      {hsStandard, HintWindowClassOf<THintWindow>(), false},
      {hsNone, HintWindowClassOf<TsSimplyHintWindow>(), false},
  };
  for (const Case& c : cases) {
    manager->HintKind()->SetStyle(c.style);
    EXPECT_EQ(HintWindowClass, c.cls) << int(c.style);
    EXPECT_EQ(HintManager, c.active ? manager.get() : nullptr) << int(c.style);
  }
}

TEST_F(HintManagerTest, PresetsSetTheirFields) {
  TsHintKind* k = manager->HintKind();
  k->Font()->SetStyle(fsBold);
  manager->SetPredefinitions(shComicsGradient);
  manager->ApplyPreset();
  EXPECT_EQ(k->Style(), hsComics);
  EXPECT_EQ(k->ExOffset, 24);
  EXPECT_EQ(k->MarginH, 15);
  EXPECT_EQ(k->MaxWidth, 180);
  EXPECT_EQ(k->Radius, 21);
  EXPECT_EQ(k->Color, 0xFFB44Fu);
  EXPECT_EQ(k->Transparency, 8);
  EXPECT_EQ(k->GradientPercent, 100);
  EXPECT_EQ(k->ShadowBlur, 10);
  EXPECT_EQ(k->ShadowTransparency, 28);
  EXPECT_EQ(k->Font()->Style(), 0);
  EXPECT_EQ(HintWindowClass, HintWindowClassOf<TsComicsHintWindow>());

  // shSimply leaves ExOffset and Radius as they are.
  manager->SetPredefinitions(shSimply);
  manager->ApplyPreset();
  EXPECT_EQ(k->Style(), hsSimply);
  EXPECT_EQ(k->ExOffset, 24);
  EXPECT_EQ(k->Radius, 21);
  EXPECT_EQ(k->Color, clInfoBk);

  manager->SetPredefinitions(shCustom);
  k->MarginH = 77;
  manager->ApplyPreset();
  EXPECT_EQ(k->MarginH, 77);

  manager->SetPredefinitions(shStandard);
  manager->ApplyPreset();
  EXPECT_EQ(HintManager, nullptr);
  EXPECT_EQ(HintWindowClass, HintWindowClassOf<THintWindow>());
}

TEST_F(HintManagerTest, LoadingAppliesThePresetAndTheHidePause) {
  manager->SetPauseHide(3000);
  EXPECT_EQ(Application->HintHidePause, 3000);
  manager->SetPredefinitions(shBalloon);
  manager->Loaded();
  EXPECT_EQ(manager->HintKind()->Style(), hsBalloon);
  EXPECT_EQ(manager->HintKind()->BevelWidth, 6);
  EXPECT_EQ(manager->SkinSection, L"HINT");
  EXPECT_EQ(Application->HintPause, 500);
}

struct SizeCase {
  TsHintStyle style;
  const wchar_t* text;
};

class HintSizeTest : public HintManagerTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(HintSizeTest, WindowFitsTextMarginsShadowAndShape) {
  const SizeCase& c = GetParam();
  TsHintKind* k = manager->HintKind();
  k->SetStyle(c.style);
  SIZE t = TextSize(c.text);
  TsCustomHintWindow* w = Show(c.text);
  ASSERT_NE(w, nullptr);
  int width = t.cx, height = t.cy;
  bool round = c.style == hsEllipse || c.style == hsBalloon;
  if (round && width < 50) width = 50;
  width += 2 * (10 + 1) + 4;
  height += 2 * (5 + 1) + 4;
  if (c.style != hsSimply) height += 12;
  if (round) {
    double d = std::sqrt(double(width) * width + double(height) * height) - width;
    int ew = static_cast<int>(std::nearbyint(width * d / height));
    int eh = static_cast<int>(std::nearbyint(height * d / width));
    EXPECT_EQ(w->ExtraWidth(), ew);
    EXPECT_EQ(w->ExtraHeight(), eh);
    width += ew;
    height += eh;
  }
  SIZE s = WindowSize();
  EXPECT_EQ(s.cx, width);
  EXPECT_EQ(s.cy, height);
}

INSTANTIATE_TEST_SUITE_P(Styles, HintSizeTest,
                         ::testing::Values(SizeCase{hsSimply, L"Поиск дублированных файлов"},
                                           SizeCase{hsComics, L"Поиск дублированных файлов"},
                                           SizeCase{hsEllipse, L"Поиск дублированных файлов"},
                                           SizeCase{hsBalloon, L"Поиск дублированных файлов"},
                                           // One short word: at least 50 wide.
                                           SizeCase{hsEllipse, L"a"},
                                           SizeCase{hsBalloon, L"a"}));

TEST_F(HintManagerTest, BodyIsOpaqueInItsColourAndShowsAtTheTransparency) {
  manager->HintKind()->SetStyle(hsSimply);
  manager->HintKind()->BevelWidth = 0;
  TsCustomHintWindow* w = Show(L"текст");
  ASSERT_EQ(record.alphas.size(), 1u);
  EXPECT_EQ(record.alphas[0], 204) << "transparency 20";
  TRect b = w->BodyRect();
  // A corner of the body, away from the text.
  uint32_t p = record.Pixel(b.left + 2, b.top + 2);
  EXPECT_EQ(LayeredRecord::Alpha(p), 255);
  EXPECT_EQ(LayeredRecord::Rgb(p), 0x40C0F0u);
  EXPECT_EQ(LayeredRecord::Alpha(p) * record.alphas[0] / 255, 204);
  EXPECT_TRUE(GetWindowLongPtrW(w->WindowHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(IsWindowVisible(w->WindowHandle()));

  manager->HintKind()->Transparency = 0;
  Show(L"текст");
  EXPECT_EQ(record.alphas.back(), 255);
}

TEST_F(HintManagerTest, WrappedTextKeepsTheLinesItWasMeasuredWith) {
  // Measured at the maximum width, this wraps into lines whose widest is
  // the text rectangle's width; laid out again in that width alone, the
  // system may wrap it once more and drop the last line.
  const wchar_t* text = L"Позваляет просканировать и очистить систему и Windows приложения";
  manager->HintKind()->SetStyle(hsSimply);
  manager->HintKind()->BevelWidth = 0;
  SIZE measured = TextSize(text);
  TsCustomHintWindow* w = Show(text);
  TRect b = w->BodyRect();
  // The drawn text spans nearly the measured width: its widest line is
  // still on one line (a word wrapped again would take a fifth of it away;
  // the glyphs' side bearings take a few pixels).
  int left = b.right, right = b.left;
  for (int y = b.top; y < b.bottom; ++y)
    for (int x = b.left; x < b.right; ++x)
      if (LayeredRecord::Rgb(record.Pixel(x, y)) != 0x40C0F0u) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
      }
  EXPECT_GE(right - left, measured.cx * 9 / 10);
}

TEST_F(HintManagerTest, ShadowIsBlackWhateverShadowColourSays) {
  manager->HintKind()->SetStyle(hsSimply);
  manager->HintKind()->ShadowColor = clRed;
  TsCustomHintWindow* w = Show(L"текст");
  TRect b = w->BodyRect();
  // The first row below the body, half way along: the shadow's core (its
  // blurred rim lies further out).
  uint32_t p = record.Pixel((b.left + b.right) / 2, b.bottom);
  EXPECT_GT(LayeredRecord::Alpha(p), 1);
  EXPECT_EQ(LayeredRecord::Rgb(p), 0u);
}

TEST_F(HintManagerTest, FadeInRisesInThirtyOneStepsToTheTarget) {
  manager->Animated = true;
  manager->HintKind()->SetStyle(hsComics);
  Show(L"текст");
  ASSERT_EQ(record.alphas.size(), 32u);
  EXPECT_EQ(record.alphas[0], 0);
  for (int k = 1; k <= 31; ++k) EXPECT_EQ(record.alphas[k], FadeFrameAlpha(204, k, 31)) << k;
  EXPECT_EQ(record.alphas.back(), 204);
}

TEST_F(HintManagerTest, ShapesCutTheirOutlineAndTail) {
  struct Case {
    TsHintStyle style;
    bool cornerInside;  // the body rectangle's top-left pixel
    bool tailInside;    // a point on the way from the tip to the body (checked if so)
  };
  const Case cases[] = {
      {hsSimply, true, false},
      {hsComics, false, true},
      {hsEllipse, false, true},
      {hsBalloon, false, false},
  };
  for (const Case& c : cases) {
    manager->HintKind()->SetStyle(c.style);
    TsCustomHintWindow* w = Show(L"Поиск дублированных файлов");
    ASSERT_FALSE(record.pixels.empty());
    EXPECT_EQ(w->PointerCorner(), mpLeftTop);
    TRect b = w->BodyRect();
    int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    EXPECT_EQ(AlphaAt(cx, cy), 255) << "body centre, style " << int(c.style);
    EXPECT_EQ(AlphaAt(b.left, b.top) == 255, c.cornerInside) << "style " << int(c.style);
    // A quarter of the way from the tip (3, 3) to the tail's base middle.
    int bx = b.left + (b.right - b.left) / 2, by = b.top + (b.bottom - b.top) / 2;
    int tx = 3 + (bx - 3) / 4, ty = 3 + (by - 3) / 4;
    if (c.tailInside) {
      EXPECT_EQ(AlphaAt(tx, ty) == 255, c.tailInside) << "tail, style " << int(c.style);
    }
    if (c.style == hsBalloon) {
      auto* balloon = static_cast<TsBalloonHintWindow*>(w);
      TRect e = balloon->Bubbles(b).front();
      EXPECT_EQ(AlphaAt((e.left + e.right) / 2, (e.top + e.bottom) / 2), 255)
          << "first bubble";
      EXPECT_LT(AlphaAt(3, 3), 255) << "no triangle reaches the corner";
    }
  }
}

TEST_F(HintManagerTest, HintNearTheRightEdgeOpensToTheLeftWithItsTailRight) {
  manager->HintKind()->SetStyle(hsComics);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
  TPoint at{mi.rcWork.right - 5, 200};
  TsCustomHintWindow* w = Show(L"текст", at);
  RECT r;
  GetWindowRect(w->WindowHandle(), &r);
  EXPECT_EQ(r.right, at.x);
  EXPECT_EQ(r.top, at.y);
  EXPECT_EQ(w->PointerCorner(), mpRightTop);
  TRect b = w->BodyRect();
  int tipX = (r.right - r.left) - 3;
  int bx = b.left + (b.right - b.left) / 2, by = b.top + (b.bottom - b.top) / 2;
  EXPECT_EQ(AlphaAt(tipX + (bx - tipX) / 4, 3 + (by - 3) / 4), 255)
      << "the tail runs to the right-hand corner";

  TPoint low{300, mi.rcWork.bottom - 3};
  w = Show(L"текст", low);
  GetWindowRect(w->WindowHandle(), &r);
  EXPECT_EQ(r.bottom, low.y);
  EXPECT_EQ(w->PointerCorner(), mpLeftBottom);
}

TEST_F(HintManagerTest, NoneShowsNothingAndStandardIsTheFrameworksWindow) {
  manager->HintKind()->SetStyle(hsNone);
  std::unique_ptr<THintWindow> w(HintWindowClass(nullptr));
  w->ActivateHint(TRect{200, 200, 300, 240}, L"текст");
  EXPECT_FALSE(w->HandleAllocated() && IsWindowVisible(w->WindowHandle()));
  EXPECT_TRUE(record.alphas.empty());

  manager->HintKind()->SetStyle(hsStandard);
  std::unique_ptr<THintWindow> s(HintWindowClass(nullptr));
  EXPECT_EQ(dynamic_cast<TsCustomHintWindow*>(s.get()), nullptr);
}

TEST_F(HintManagerTest, WithoutLayeredWindowsTheBodyIsPaintedOverTheScreen) {
  UpdateLayeredWindowProc = nullptr;
  manager->HintKind()->SetStyle(hsComics);
  TsCustomHintWindow* w = Show(L"текст");
  HWND wnd = w->WindowHandle();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(record.alphas.empty());
  RECT r;
  GetClientRect(wnd, &r);
  TBitmap shot(r.right, r.bottom, pf24bit);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), PRF_CLIENT);
  GdiFlush();
  TRect b = w->BodyRect();
  // Above the text, inside the outline: the mask's grey for transparency
  // 20 is black, so the body covers the screen fully there.
  int x = (b.left + b.right) / 2, y = b.top + 2;
  EXPECT_EQ(PixelToColor(TacBmpView(shot).Pixel(x, y)), 0x40C0F0u);
}

TEST_F(HintManagerTest, FreeingTheActiveManagerGivesHintsBackToTheFramework) {
  manager->HintKind()->SetStyle(hsComics);
  manager.reset();
  EXPECT_EQ(HintManager, nullptr);
  EXPECT_EQ(HintWindowClass, HintWindowClassOf<THintWindow>());
  EXPECT_FALSE(Application->OnShowHint);
}

TEST_F(HintManagerTest, OnShowHintMayMoveTheHint) {
  manager->OnShowHint = [](std::wstring& s, bool&, THintInfo& info, TFrame*&) {
    s = L"changed";
    info.HintPos = TPoint{info.HintPos.x + 10, info.HintPos.y + 20};
  };
  THintInfo info;
  info.HintPos = TPoint{100, 100};
  std::wstring s = L"x";
  bool can = true;
  Application->OnShowHint(s, can, info);
  EXPECT_EQ(s, L"changed");
  EXPECT_EQ(manager->LastHintPos().x, 110);
  EXPECT_EQ(manager->LastHintPos().y, 120);
}

}  // namespace
