// The bound label of edit-like controls: its creation, its place for each
// layout, and what it leaves behind.
#include <gtest/gtest.h>

#include "framework/StdCtrls.h"
#include "skin/engine/BoundLabel.h"
#include "skin/engine/CommonData.h"
#include "tests/skin/engine/SkinnedTestControls.h"

using namespace skintest;

namespace {

class BoundLabel : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    edit = Construct<TEdit>(form);
    edit->SetName(L"Edit1");
    edit->SetParent(form);
    edit->SetBounds(120, 40, 100, 21);
    sd = std::make_unique<TsCommonData>(edit, true);
    sd->ControlKind = ckEdit;
    sd->Loaded();
    bound = std::make_unique<TsBoundLabel>(sd.get());
  }
  void TearDown() override {
    bound.reset();
    sd.reset();
    SkinnedForm::TearDown();
  }
  TEdit* edit = nullptr;
  std::unique_ptr<TsCommonData> sd;
  std::unique_ptr<TsBoundLabel> bound;
};

}  // namespace

TEST_F(BoundLabel, ActivatingMakesALabelNamedAfterTheControl) {
  EXPECT_FALSE(bound->Active());
  bound->SetActive(true);
  TLabel* label = bound->Label();
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(L"Edit1Label", label->Name());
  EXPECT_EQ(L"Edit1", label->Caption());
  EXPECT_EQ(L"Edit1", bound->Caption());
  EXPECT_EQ(form, label->Parent());
  EXPECT_EQ(edit, label->Owner());
  EXPECT_EQ(edit, label->FocusControl);
  EXPECT_TRUE(label->Visible());
  EXPECT_EQ(taRightJustify, label->Alignment());
  bound->SetCaption(L"Имя:");
  EXPECT_EQ(L"Имя:", label->Caption());
}

TEST_F(BoundLabel, EachLayoutHasItsPlace) {
  bound->SetActive(true);
  TLabel* label = bound->Label();
  struct Case { TsCaptionLayout layout; int indent; TAlignment alignment; };
  const Case cases[] = {
      {sclLeft, 0, taRightJustify},    {sclLeft, 3, taRightJustify},
      {sclTopLeft, 2, taLeftJustify},  {sclTopCenter, 2, taCenter},
      {sclTopRight, 1, taRightJustify},
  };
  for (const Case& k : cases) {
    bound->SetLayout(k.layout);
    bound->SetIndent(k.indent);
    bound->AlignLabel();
    const int w = label->Width(), h = label->Height();
    int left = 0, top = 40 - h - k.indent;
    switch (k.layout) {
      case sclLeft: left = 120 - w - 4 - k.indent; top = (21 - h) / 2 + 40 - 1; break;
      case sclTopLeft: left = 120; break;
      case sclTopCenter: left = (100 - w) / 2 + 120; break;
      case sclTopRight: left = 120 + 100 - w; break;
    }
    EXPECT_EQ(left, label->Left()) << k.layout;
    EXPECT_EQ(top, label->Top()) << k.layout;
    EXPECT_EQ(k.alignment, label->Alignment()) << k.layout;
  }
}

TEST_F(BoundLabel, MaxWidthFixesTheWidthAndWraps) {
  bound->SetActive(true);
  bound->SetMaxWidth(30);
  TLabel* label = bound->Label();
  EXPECT_EQ(30, label->Width());
  EXPECT_FALSE(label->AutoSize());
  EXPECT_TRUE(label->WordWrap());
  EXPECT_GE(label->Height(), 21);
}

TEST_F(BoundLabel, DeactivatingFreesTheLabelAndTheOwnFontReturns) {
  bound->SetActive(true);
  TFont* labelFont = bound->Font();
  EXPECT_EQ(bound->Label()->Font(), labelFont);
  bound->SetActive(false);
  EXPECT_EQ(nullptr, bound->Label());
  EXPECT_FALSE(bound->Active());
  EXPECT_NE(labelFont, bound->Font());
  EXPECT_TRUE(bound->UseSkinColor());
  // Without a label the own font keeps a written value.
  TFont big;
  big.SetHeight(-20);
  bound->SetFont(&big);
  EXPECT_EQ(-20, bound->Font()->Height());
}

TEST_F(BoundLabel, AFontWrittenToTheLabelStopsItFollowingItsParent) {
  bound->SetActive(true);
  TFont big;
  big.SetHeight(-20);
  bound->SetFont(&big);
  EXPECT_EQ(-20, bound->Label()->Font()->Height());
  EXPECT_FALSE(bound->Label()->ParentFont());
  bound->SetUseSkinColor(false);
  EXPECT_FALSE(bound->UseSkinColor());
}

TEST_F(BoundLabel, ALabelFreedWithItsControlIsForgotten) {
  bound->SetActive(true);
  delete bound->Label();
  EXPECT_EQ(nullptr, bound->Label());
}
