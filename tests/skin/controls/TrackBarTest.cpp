// The skinned track bar: automatic and manual tick places, the bar with too
// few positions, its channel and thumb through WM_PRINT, and the keyboard,
// mouse and events through the platform's track bar.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/Forms.h"
#include "skin/controls/TrackBar.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

TEST(TrackTicks, ElevenAutomaticTicksOnA150PixelChannelWithAnElevenPixelThumb) {
  const TRect channel{8, 10, 158, 14};
  const TRect thumb{8, 2, 19, 25};
  // Step 13.9 from 8 + 5; 82.5 goes to the even 82.
  const std::vector<int> expected{13, 27, 41, 55, 69, 82, 96, 110, 124, 138, 152};
  EXPECT_EQ(expected, TrackTickPositions(channel, thumb, 11, false, tsAuto, {}));
  // The same along a vertical bar.
  const TRect vchannel{10, 8, 14, 158};
  const TRect vthumb{2, 8, 25, 19};
  EXPECT_EQ(expected, TrackTickPositions(vchannel, vthumb, 11, true, tsAuto, {}));
}

TEST(TrackTicks, ManualNoneAndFewerThanTwoPositions) {
  const TRect channel{8, 10, 158, 14};
  const TRect thumb{8, 2, 19, 25};
  EXPECT_EQ((std::vector<int>{13, 40, 90, 153}),
            TrackTickPositions(channel, thumb, 4, false, tsManual, {40, 90}));
  EXPECT_TRUE(TrackTickPositions(channel, thumb, 11, false, tsNone, {}).empty());
  EXPECT_EQ(std::vector<int>{13}, TrackTickPositions(channel, thumb, 1, false, tsAuto, {}));
  EXPECT_TRUE(TrackTickPositions(channel, thumb, 0, false, tsAuto, {}).empty());
}

namespace {

class TrackBarTest : public SkinnedForm {
 protected:
  TsTrackBar* NewBar(int w, int h) {
    auto* t = Construct<TsTrackBar>(form);
    t->SetParent(form);
    t->SetBounds(10, 10, w, h);
    t->SetMin(0);
    t->SetMax(10);
    t->OnUserChange = [this](TObject*) { ++userChanges; };
    t->OnChange = [this](TObject*) { ++changes; };
    return t;
  }
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  int userChanges = 0;
  int changes = 0;
};

}  // namespace

TEST_F(TrackBarTest, PlatformReportsElevenTicksAndTheTicksFallInsideTheBar) {
  TsTrackBar* t = NewBar(170, 45);
  EXPECT_EQ(11, ::SendMessageW(t->Handle(), TBM_GETNUMTICS, 0, 0));
  const std::vector<int> ticks = t->TickPositions();
  ASSERT_EQ(11u, ticks.size());
  EXPECT_EQ(t->ChannelRect().left + (t->ThumbRect().right - t->ThumbRect().left) / 2, ticks[0]);
  for (int x : ticks) {
    EXPECT_GE(x, 0);
    EXPECT_LT(x, 170);
  }
}

TEST_F(TrackBarTest, BarWithoutARangeNeitherFailsNorPaintsOutside) {
  TsTrackBar* t = NewBar(150, 45);
  t->SetMax(0);
  auto img = PrintControl(t);
  EXPECT_EQ(0, CountColor(*img, 0x123456));
  for (int x : t->TickPositions()) {
    EXPECT_GE(x, 0);
    EXPECT_LT(x, 150);
  }
}

TEST_F(TrackBarTest, PrintShowsChannelAndThumbWhereThePlatformPutsThem) {
  TsTrackBar* t = NewBar(170, 45);
  ASSERT_TRUE(t->SkinData->Skinned(true));
  auto at0 = PrintControl(t);
  const TRect cr = t->ChannelRect();
  const TRect tr0 = t->ThumbRect();
  // The body above the channel, away from the thumb (the section shows the
  // form through it).
  const TColor body = Px(*at0, 85, 2);
  EXPECT_EQ(body, Px(*at0, 120, 3));
  // The channel differs from the body somewhere along its middle line.
  int channel = 0;
  for (int x = tr0.right + 2; x < cr.right - 2; ++x) channel += Px(*at0, x, (cr.top + cr.bottom) / 2) != body;
  EXPECT_GT(channel, 0);
  // The thumb moves with the position.
  const POINT c0{(tr0.left + tr0.right) / 2, (tr0.top + tr0.bottom) / 2};
  t->SetPosition(10);
  auto at10 = PrintControl(t);
  const TRect tr10 = t->ThumbRect();
  EXPECT_GT(tr10.left, tr0.right);
  const POINT c10{(tr10.left + tr10.right) / 2, (tr10.top + tr10.bottom) / 2};
  EXPECT_NE(Px(*at0, c0.x, c0.y), Px(*at10, c0.x, c0.y));
  EXPECT_EQ(Px(*at0, c0.x, c0.y), Px(*at10, c10.x, c10.y));
}

TEST_F(TrackBarTest, KeyboardMovesThePositionAndFiresBothEventsCodeFiresOnlyOnChange) {
  TsTrackBar* t = NewBar(170, 45);
  t->SetPosition(3);
  EXPECT_EQ(0, userChanges);
  EXPECT_EQ(1, changes);
  t->SetFocus();
  ::SendMessageW(t->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  ::SendMessageW(t->Handle(), WM_KEYUP, VK_RIGHT, 0);
  EXPECT_EQ(4, t->Position());
  EXPECT_GE(userChanges, 1);
  EXPECT_EQ(2, changes);
  ::SendMessageW(t->Handle(), WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(0, t->Position());
}

TEST_F(TrackBarTest, MouseOnTheThumbPressesItAndSwitchesHintsOffUntilRelease) {
  TsTrackBar* t = NewBar(170, 45);
  Application->SetShowHint(true);
  const TRect tr = t->ThumbRect();
  const LPARAM onThumb = MAKELPARAM((tr.left + tr.right) / 2, (tr.top + tr.bottom) / 2);
  ::SendMessageW(t->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onThumb);
  EXPECT_EQ(2, t->ThumbState());
  EXPECT_FALSE(Application->ShowHint());
  // Released away from the thumb: the framework's release still ends the
  // pressed look.
  ::SendMessageW(t->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_NE(2, t->ThumbState());
  EXPECT_TRUE(Application->ShowHint());
}

TEST_F(TrackBarTest, ClickOnTheChannelPagesTowardsThePointAndFiresOnUserChange) {
  TsTrackBar* t = NewBar(170, 45);
  const TRect cr = t->ChannelRect();
  const LPARAM nearEnd = MAKELPARAM(cr.right - 3, (cr.top + cr.bottom) / 2);
  ::SendMessageW(t->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, nearEnd);
  ::SendMessageW(t->Handle(), WM_LBUTTONUP, 0, nearEnd);
  EXPECT_GT(t->Position(), 0);
  EXPECT_GE(userChanges, 1);
  EXPECT_NE(2, t->ThumbState());  // a press off the thumb never looks pressed
}

TEST_F(TrackBarTest, UnskinnedBarStillFiresOnUserChange) {
  TsTrackBar* t = NewBar(170, 45);
  manager->SetActive(false);
  t->SetFocus();
  ::SendMessageW(t->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(1, t->Position());
  EXPECT_GE(userChanges, 1);
}
