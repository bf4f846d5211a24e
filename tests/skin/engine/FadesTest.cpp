// Hover fades: frame alphas, a fade that runs its frames and frees its
// timer, and the ways a fade ends early.
#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/Fades.h"
#include "skin/engine/PaintPrimitives.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinnedTestControls.h"

using namespace skintest;

namespace {

// Hears when a component it watches is freed.
class FreeWatch : public TComponent {
 public:
  explicit FreeWatch(TComponent* watched) : TComponent(nullptr) { FreeNotification(watched); }
  bool freed = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove) freed = true;
  }
};

std::vector<int> Alphas(int n) {
  std::vector<int> a;
  for (int k = 1; k <= n; ++k) a.push_back(FadeFrameAlpha(k, n));
  return a;
}

class Fading : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    Sec(L"BUTTON").FadingEnabled = true;
    Sec(L"BUTTON").FadingIterations = 5;
    button = Add(ckButton, 10, 10, 40, 20);
    form->Show();
    // The cache holds the old look (black); preparing gives the new (white).
    button->SkinData->InitCacheBmp();
    FillRect(*button->SkinData->CacheBmp, 0, 0, 40, 20, clBlack);
    button->SkinData->BGChanged = false;
    button->OnPrepareCache = [this] {
      FillRect(*button->SkinData->CacheBmp, 0, 0, 40, 20, clWhite);
      button->SkinData->BGChanged = false;
    };
    button->OnFadeFrame = [this](TBitmap* frame) { frames.push_back(GetRValue32(Px(*frame, 5, 5))); };
  }
  void TearDown() override {
    form->Hide();
    SkinnedForm::TearDown();
  }
  TTestSkinned* button = nullptr;
  std::vector<int> frames;  // red byte of each frame: 255 - the new image's share
};

}  // namespace

TEST(FadeAlpha, FramesOfFiveAndOfHalvedFive) {
  EXPECT_EQ((std::vector<int>{204, 153, 102, 51, 0}), Alphas(5));
  EXPECT_EQ((std::vector<int>{127, 0}), Alphas(5 / 2));
  EXPECT_EQ(0, FadeFrameAlpha(1, 0));
}

TEST(FadeAlpha, AnimatEventsFollowTheGlobalDefault) {
  const TacAnimatEvents saved = DefaultAnimatEvents;
  DefaultAnimatEvents = AnimatEventBit(aeMouseEnter);
  EXPECT_TRUE(IsAnimatEvent(aeMouseLeave, AnimatEventBit(aeMouseLeave)));
  EXPECT_FALSE(IsAnimatEvent(aeMouseLeave, AnimatEventBit(aeMouseDown)));
  EXPECT_TRUE(IsAnimatEvent(aeMouseEnter, AnimatEventBit(aeGlobalDef)));
  EXPECT_FALSE(IsAnimatEvent(aeMouseUp, AnimatEventBit(aeGlobalDef)));
  DefaultAnimatEvents = saved;
}

TEST_F(Fading, AFadeRunsItsFramesThenFreesItsTimer) {
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  ASSERT_NE(nullptr, button->FadeTimer);
  FreeWatch watch(button->FadeTimer);
  EXPECT_EQ(1, button->CountOf(AC_PREPARECACHE));
  ASSERT_TRUE(PumpUntil([&] { return button->FadeTimer == nullptr; }, 2000));
  EXPECT_TRUE(watch.freed);
  EXPECT_EQ(1, button->Stops);
  // Black start, white end: each frame's red byte is (0 * A + 255 * (255 - A) + 127) >> 8.
  std::vector<int> expected;
  for (int a : Alphas(5)) expected.push_back((255 * (255 - a) + 127) >> 8);
  EXPECT_EQ(expected, frames);
}

TEST_F(Fading, AHalvedFadeHasHalfTheFrames) {
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), true, 1, true);
  ASSERT_TRUE(PumpUntil([&] { return button->FadeTimer == nullptr; }, 2000));
  EXPECT_EQ(2u, frames.size());
}

TEST_F(Fading, ATimerWhoseControlIsDestroyedMidFadeGoesWithIt) {
  Sec(L"BUTTON").FadingIterations = 50;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  FreeWatch watch(button->FadeTimer);
  PumpUntil([&] { return frames.size() >= 2; }, 2000);
  ASSERT_FALSE(watch.freed);
  delete button;
  EXPECT_TRUE(watch.freed);
  // The message loop goes on without the timer.
  PumpUntil([] { return false; }, 2000);
}

TEST_F(Fading, ATimerLeftByItsControlIsFreedWithIt) {
  // A control whose destructor does not stop its fade: the timer is owned
  // by the control and goes when the control goes.
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  FreeWatch watch(button->FadeTimer);
  button->FadeTimer = nullptr;  // forgotten by the control
  delete button;
  EXPECT_TRUE(watch.freed);
}

TEST_F(Fading, RemovingTheSkinStopsTheFade) {
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  Sec(L"BUTTON").FadingIterations = 50;
  ASSERT_NE(nullptr, button->FadeTimer);
  FreeWatch watch(button->FadeTimer);
  manager->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return watch.freed; }, 2000));
  EXPECT_EQ(nullptr, button->FadeTimer);
}

TEST_F(Fading, ASectionWithoutFadingRepaintsAtOnce) {
  Sec(L"BUTTON").FadingEnabled = false;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  EXPECT_EQ(nullptr, button->FadeTimer);
  EXPECT_TRUE(button->SkinData->BGChanged);
  EXPECT_EQ(0, button->CountOf(AC_PREPARECACHE));
  // Not animated, or with a stale cache: no fade either.
  Sec(L"BUTTON").FadingEnabled = true;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, false);
  EXPECT_EQ(nullptr, button->FadeTimer);
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  EXPECT_EQ(nullptr, button->FadeTimer);  // BGChanged was still set
}

TEST_F(Fading, AControlDisabledMidFadeStopsItsTimer) {
  Sec(L"BUTTON").FadingIterations = 50;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  PumpUntil([&] { return !frames.empty(); }, 2000);
  button->SetEnabled(false);
  const size_t seen = frames.size();
  PumpUntil([] { return false; }, 2000);
  ASSERT_NE(nullptr, button->FadeTimer);
  EXPECT_FALSE(button->FadeTimer->Enabled());
  EXPECT_LE(frames.size(), seen + 1);
}

TEST_F(Fading, AControlThatPaintsFramesItselfGetsThem) {
  button->PaintFramesSelf = true;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  ASSERT_TRUE(PumpUntil([&] { return button->FadeTimer == nullptr; }, 2000));
  EXPECT_EQ(5u, frames.size());
}

TEST_F(Fading, ASecondChangeMidFadeShowsTheFramesAlreadyShown) {
  Sec(L"BUTTON").FadingIterations = 10;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  TsFadeTimer* t = button->FadeTimer;
  // Three frames shown: the counter stands at 4.
  t->SetEnabled(false);
  t->Iteration = 4;
  button->SkinData->BGChanged = false;
  ChangePaintFaded(button->FadeTimer, button->SkinData.get(), false, 1, true);
  EXPECT_EQ(t, button->FadeTimer);
  EXPECT_EQ(4, t->Iterations);
  EXPECT_EQ(1, t->Iteration);
  frames.clear();
  ASSERT_TRUE(PumpUntil([&] { return button->FadeTimer == nullptr; }, 2000));
  EXPECT_EQ(4u, frames.size());
}
