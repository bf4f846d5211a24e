// The skinned up-down buttons: position changes through the platform's
// control, the button at an end of the range drawn disabled, hot and
// pressed looks, and the framework's painting without an active skin.
#include <gtest/gtest.h>

#include "skin/controls/PageControl.h"
#include "skin/controls/UpDown.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class UpDownTest : public SkinnedForm {
 protected:
  TsUpDown* NewUpDown(TUDOrientation o) {
    auto* u = Construct<TsUpDown>(form);
    u->SetParent(form);
    u->SetOrientation(o);
    if (o == udVertical) u->SetBounds(10, 10, 17, 30);
    else u->SetBounds(10, 10, 34, 17);
    u->SetMin(0);
    u->SetMax(3);
    u->SetPosition(1);
    return u;
  }
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  static bool HalfDiffers(TBitmap& a, TBitmap& b, bool firstHalf, bool vertical) {
    const int w = a.Width(), h = a.Height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool inFirst = vertical ? y < h / 2 : x < w / 2;
        if (inFirst == firstHalf && Px(a, x, y) != Px(b, x, y)) return true;
      }
    return false;
  }
  void Click(TsUpDown* u, int x, int y) {
    ::SendMessageW(u->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(u->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
};

}  // namespace

TEST_F(UpDownTest, ClicksMoveThePositionWithinTheRange) {
  TsUpDown* u = NewUpDown(udVertical);
  int clicks = 0;
  u->OnClick = [&](TObject*, TUDBtnType) { ++clicks; };
  Click(u, 8, 3);  // top: up
  EXPECT_EQ(2, u->Position());
  Click(u, 8, 26);  // bottom: down
  Click(u, 8, 26);
  Click(u, 8, 26);
  EXPECT_EQ(0, u->Position());
  EXPECT_GE(clicks, 3);
}

// Vertical: the top button is at its end at Max, the bottom one at Min;
// horizontal: the left one at Min, the right one at Max.
TEST_F(UpDownTest, TheButtonAtAnEndOfTheRangeLooksDisabled) {
  struct Case {
    TUDOrientation o;
    int end;
    bool firstHalf;
  } cases[] = {{udVertical, 3, true}, {udVertical, 0, false},
               {udHorizontal, 0, true}, {udHorizontal, 3, false}};
  for (const Case& c : cases) {
    TsUpDown* u = NewUpDown(c.o);
    ASSERT_TRUE(u->SkinCanPaint());
    const bool vertical = c.o == udVertical;
    u->SetPosition(1 + (c.end == 3 ? 1 : 0));
    auto inside = PrintControl(u);
    u->SetPosition(c.end);
    auto atEnd = PrintControl(u);
    EXPECT_TRUE(HalfDiffers(*inside, *atEnd, c.firstHalf, vertical)) << c.o << c.end;
    EXPECT_FALSE(HalfDiffers(*inside, *atEnd, !c.firstHalf, vertical)) << c.o << c.end;
    // Without the rule the end looks like any other position.
    u->SetShowInaccessibility(false);
    auto plain = PrintControl(u);
    EXPECT_FALSE(HalfDiffers(*inside, *plain, c.firstHalf, vertical)) << c.o << c.end;
    delete u;
  }
}

TEST_F(UpDownTest, HotAndPressedStatesChangeOnlyTheirButton) {
  TsUpDown* u = NewUpDown(udVertical);
  auto normal = PrintControl(u);
  u->SetButtonState(1);
  auto hot = PrintControl(u);
  EXPECT_TRUE(HalfDiffers(*normal, *hot, true, true));
  EXPECT_FALSE(HalfDiffers(*normal, *hot, false, true));
  u->SetButtonState(4);
  auto pressed = PrintControl(u);
  EXPECT_FALSE(HalfDiffers(*normal, *pressed, true, true));
  EXPECT_TRUE(HalfDiffers(*normal, *pressed, false, true));
}

TEST_F(UpDownTest, WithoutAnActiveSkinLeavesPaintingToTheFrameworkAndStillAnswers) {
  TsUpDown* u = NewUpDown(udVertical);
  manager->SetActive(false);
  EXPECT_FALSE(u->SkinCanPaint());
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0, 0};
  u->Dispatch(m);
  EXPECT_EQ(1, m.LParam);
}

// On a page control the buttons take that control's manager: a second
// manager whose top-button section has another colour paints the top
// button differently from the default manager.
TEST_F(UpDownTest, OnAPageControlPaintsWithThatControlsManager) {
  ManagerPtr second = LoadedManager(L"WLM (internal)", FixtureSkinDir(), true);
  ASSERT_NE(second.get(), DefaultManager);
  TsGeneralData& top = second->gd[second->CachedIndexes.ScrollBtnTop];
  top.Color = top.HotColor = 0x3366CC;
  top.GradientPercent = top.ImagePercent = 0;
  auto* pages = Construct<TsPageControl>(form);
  pages->SetParent(form);
  pages->SetBounds(60, 10, 200, 100);
  TsUpDown* u = NewUpDown(udVertical);
  u->SetParent(pages);
  u->SetBounds(10, 10, 17, 30);
  auto byDefault = PrintControl(u);
  pages->SkinData->SetSkinManager(second.get());
  auto bySecond = PrintControl(u);
  EXPECT_TRUE(HalfDiffers(*byDefault, *bySecond, true, true)) << "the top button";
  EXPECT_FALSE(HalfDiffers(*byDefault, *bySecond, false, true)) << "the bottom button";
  delete u;
  delete pages;
}
