// The skinned group box: where its caption plate lies for each layout and
// offset, the frame that starts halfway down the caption, the strip above
// the frame that shows the parent, and the framework look without a skin.
#include <gtest/gtest.h>

#include "skin/controls/GroupBox.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class GroupBoxTest : public SkinnedForm {
 protected:
  TsGroupBox* NewBox(int w, int h, const std::wstring& caption) {
    auto* g = Construct<TsGroupBox>(form);
    g->SetParent(form);
    g->SetBounds(10, 10, w, h);
    g->SetCaption(caption);
    return g;
  }
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  int TextWidth(TsGroupBox* g) {
    TCanvas* c = g->SkinData->CacheBmp->Canvas();
    c->SetFont(g->Font());
    return c->TextWidth(g->Caption());
  }
};

}  // namespace

TEST_F(GroupBoxTest, CaptionPlateFollowsLayoutOffsetAndWidth) {
  TsGroupBox* g = NewBox(200, 100, L"Параметры");
  const int tw = TextWidth(g);
  const int h = g->CaptionHeight();
  ASSERT_GT(tw, 20);
  ASSERT_LT(tw + 14, 200);
  struct Case {
    TsGroupBox::TsCaptionLayout layout;
    int offset;
    int left, top, bottom;
  } cases[] = {
      {TsGroupBox::clTopLeft, 0, 6, 0, h},
      {TsGroupBox::clTopCenter, 0, (200 - tw - 10) / 2, 0, h},
      {TsGroupBox::clTopRight, 0, 200 - tw - 14, 0, h},
      {TsGroupBox::clTopLeft, 5, 6, 0, h + 5},
      {TsGroupBox::clTopLeft, -3, 6, -3, h - 3},
  };
  for (const Case& c : cases) {
    g->SetCaptionLayout(c.layout);
    g->SetCaptionYOffset(c.offset);
    const TRect r = g->CaptionRect();
    EXPECT_EQ(c.left, r.left) << c.layout << " " << c.offset;
    EXPECT_EQ(c.left + tw + 8, r.right) << c.layout;
    EXPECT_EQ(c.top, r.top) << c.offset;
    EXPECT_EQ(c.bottom, r.bottom) << c.offset;
  }
}

TEST_F(GroupBoxTest, CaptionWiderThanTheBoxIsClippedAndRightLayoutStartsAtZero) {
  TsGroupBox* g = NewBox(40, 60, L"Очень длинный заголовок рамки");
  g->SetCaptionLayout(TsGroupBox::clTopRight);
  const TRect r = g->CaptionRect();
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(40, r.right);
  g->SetCaptionLayout(TsGroupBox::clTopLeft);
  EXPECT_EQ(6, g->CaptionRect().left);
  EXPECT_EQ(40, g->CaptionRect().right);
}

// A plate narrower than two bevels grows by a bevel on each side, within
// the box.
TEST_F(GroupBoxTest, PlateNarrowerThanTwoBevelsIsWidened) {
  TsGroupBox* g = NewBox(200, 100, L"");
  struct Case {
    int bevel;
    int left, right;
  } cases[] = {{1, 6, 14}, {4, 6, 14}, {5, 1, 19}, {10, 0, 24}, {120, 0, 134}};
  for (const Case& c : cases) {
    g->SetBevelWidth(c.bevel);
    const TRect r = g->CaptionRect();
    EXPECT_EQ(c.left, r.left) << "bevel " << c.bevel;
    EXPECT_EQ(c.right, r.right) << "bevel " << c.bevel;
  }
  // Printed: a plate section of its own colour shows over the widened plate,
  // left of where the narrow one would begin.
  TsGeneralData plate;
  plate.SectionName = L"TESTPLATE";
  plate.Color = plate.HotColor = 0x2060C0;
  manager->gd.push_back(plate);
  g->SetCaption(L".");
  g->SetCaptionSkin(L"TESTPLATE");
  g->SetBevelWidth(12);
  const TRect r = g->CaptionRect();
  ASSERT_EQ(0, r.left);
  auto img = PrintControl(g);
  int widened = 0;
  for (int x = 0; x < 6; ++x) widened += Px(*img, x, 2) == 0x2060C0;
  EXPECT_EQ(6, widened);
}

// Above the frame only the plate differs from the parent's colour; the
// frame's top line starts at half the plate's height, outside the plate.
TEST_F(GroupBoxTest, PrintShowsThePlateOverTheStripAndTheFrameFromTheCaptionsMiddle) {
  TsGroupBox* g = NewBox(200, 100, L"Параметры");
  ASSERT_TRUE(g->SkinData->Skinned(true));
  auto img = PrintControl(g);
  const TRect cr = g->CaptionRect();
  const int t = HeightOf(cr) / 2;
  const TColor parent = ColorToRGB(form->Color());
  int outsidePlate = 0, insidePlate = 0;
  for (int y = 0; y < t; ++y)
    for (int x = 0; x < 200; ++x) {
      const bool differs = Px(*img, x, y) != parent;
      if (x >= cr.left && x < cr.right) insidePlate += differs;
      else outsidePlate += differs;
    }
  EXPECT_EQ(0, outsidePlate);
  EXPECT_GT(insidePlate, 0);
  // The frame's top border: the section's border image at row T, right of
  // the plate, and the face colour inside.
  int border = 0;
  for (int x = cr.right + 2; x < 190; ++x) border += Px(*img, x, t) != parent;
  EXPECT_GT(border, 0);
  EXPECT_EQ(ColorToRGB(Sec(L"GROUPBOX").Color), Px(*img, 100, 60));
}

TEST_F(GroupBoxTest, EmptyCaptionLeavesTheStripToTheParentAndNegativeOffsetStartsTheFrameOnTop) {
  TsGroupBox* g = NewBox(120, 80, L"");
  const TColor parent = ColorToRGB(form->Color());
  auto img = PrintControl(g);
  const int t = g->CaptionHeight() / 2;
  for (int y = 0; y < t; ++y) EXPECT_EQ(parent, Px(*img, 60, y)) << y;

  g->SetCaption(L"Ab");
  g->SetCaptionYOffset(-2);
  img = PrintControl(g);
  int topRow = 0;
  for (int x = 0; x < 120; ++x) topRow += Px(*img, x, 0) != parent;
  EXPECT_GT(topRow, 60);  // the frame's top line, not just the plate
}

TEST_F(GroupBoxTest, WithoutAnActiveSkinPaintsAsTheFrameworkGroupBox) {
  TsGroupBox* g = NewBox(120, 80, L"Ab");
  auto skinned = PrintControl(g);
  manager->SetActive(false);
  EXPECT_FALSE(g->SkinData->Skinned(true));
  auto plain = PrintControl(g);
  // The framework fills with the box's colour and draws an etched edge.
  EXPECT_EQ(ColorToRGB(g->Color()), Px(*plain, 60, 40));
  int etched = 0;
  for (int y = 0; y < 80; ++y) etched += Px(*plain, 1, y) == ColorToRGB(clBtnShadow) ||
                                          Px(*plain, 0, y) == ColorToRGB(clBtnShadow);
  EXPECT_GT(etched, 40);
}

TEST_F(GroupBoxTest, CaptionFontAndOffsetChangesMarkTheImageStale) {
  TsGroupBox* g = NewBox(120, 80, L"Ab");
  PrintControl(g);
  ASSERT_FALSE(g->SkinData->BGChanged);
  g->SetCaption(L"Cd");
  EXPECT_TRUE(g->SkinData->BGChanged);
  PrintControl(g);
  g->Font()->SetSize(14);
  g->Perform(CM_FONTCHANGED);
  EXPECT_TRUE(g->SkinData->BGChanged);
  PrintControl(g);
  g->SetCaptionYOffset(4);
  EXPECT_TRUE(g->SkinData->BGChanged);
}

TEST_F(GroupBoxTest, ChildrenHearANewSkinAndTheBoxAnswersCtrlHandledUnskinned) {
  TsGroupBox* g = NewBox(200, 100, L"Ab");
  auto* child = Add(ckButton, 10, 30, 40, 20, g);
  child->Commands.clear();
  ::SendMessageW(g->Handle(), SM_ALPHACMD, SkinCmdWParam(AC_SETNEWSKIN),
                 reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(1, child->CountOf(AC_SETNEWSKIN));
  manager->SetActive(false);
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0, 0};
  g->Dispatch(m);
  EXPECT_EQ(1, m.LParam);
}
