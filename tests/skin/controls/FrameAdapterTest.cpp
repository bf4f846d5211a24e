// The frame adapter: the frame painted from its section, background erasing
// swallowed, the background colour mix answered for children, moves told to
// the children, and the frame's own procedure back when the adapter goes.
#include <gtest/gtest.h>

#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Panel.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class FrameAdapterTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    frame = Construct<TFrame>(form);
    frame->SetParent(form);
    frame->SetBounds(10, 10, 200, 120);
    adapter = Construct<TsFrameAdapter>(frame);
    adapter->Loaded();
  }
  TFrame* frame = nullptr;
  TsFrameAdapter* adapter = nullptr;
};

}  // namespace

TEST_F(FrameAdapterTest, PaintsTheFrameFromItsSectionAndSwallowsErasing) {
  ASSERT_EQ(L"GROUPBOX", adapter->SkinData->SkinSection());
  ASSERT_TRUE(adapter->SkinData->Skinned());
  auto img = PrintControl(frame);
  EXPECT_EQ(ColorToRGB(Sec(L"GROUPBOX").Color), Px(*img, 100, 60));
  auto untouched = MakeBmp(20, 20, 0x123456);
  ::SendMessageW(frame->Handle(), WM_ERASEBKGND,
                 reinterpret_cast<WPARAM>(untouched->Canvas()->Handle()), 0);
  EXPECT_EQ(20 * 20, CountColor(*untouched, 0x123456));
}

TEST_F(FrameAdapterTest, BackgroundColourMixesOverTwoHundredFiftySix) {
  TsGeneralData& s = Sec(L"GROUPBOX");
  s.Transparency = 50;
  s.Color = 0x000000;
  form->SetColor(0xFFFFFF);
  EXPECT_EQ(static_cast<TColor>(0x313131), RequestBGColor(frame));
  s.Transparency = 100;
  EXPECT_EQ(static_cast<TColor>(0xFFFFFF), RequestBGColor(frame));
}

TEST_F(FrameAdapterTest, MovingTheFrameMarksItsChildrensImagesStale) {
  auto* panel = Construct<TsPanel>(form);
  panel->SetParent(frame);
  panel->SetBounds(5, 5, 50, 30);
  PrintControl(panel);
  ASSERT_FALSE(panel->SkinData->BGChanged);
  frame->SetBounds(20, 20, 200, 120);
  EXPECT_TRUE(panel->SkinData->BGChanged);
}

TEST_F(FrameAdapterTest, TheFrameGetsItsOwnProcedureBackWhenTheAdapterGoes) {
  EXPECT_TRUE(frame->HasHooks());
  EXPECT_EQ(1, frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0));
  delete adapter;
  EXPECT_FALSE(frame->HasHooks());
  EXPECT_EQ(0, frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0));
  // Unskinned again, the frame erases its background itself.
  auto bmp = MakeBmp(20, 20, 0x123456);
  ::SendMessageW(frame->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(bmp->Canvas()->Handle()),
                 0);
  EXPECT_LT(CountColor(*bmp, 0x123456), 20 * 20);
}
