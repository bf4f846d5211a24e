// The caption label of a bound label: a skinned label made through the
// engine's factory, with the skin's text colour, the blended disabled text
// and the plain colour back when the skin goes; and the plain framework
// label the engine makes while no factory is registered.
#include <gtest/gtest.h>

#include "skin/controls/Edit.h"
#include "skin/controls/EditLabel.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/FastPixels.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class EditLabelTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    edit = Construct<TsEdit>(form);
    edit->SetName(L"sEdit1");
    edit->SetParent(form);
    edit->SetBounds(120, 40, 100, 21);
  }
  // The label's image over its parent's colour.
  static std::unique_ptr<TBitmap> Paint(TControl* l) {
    return PaintGraphic(l, ColorToRGB(l->Parent()->Color()));
  }
  TsEdit* edit = nullptr;
};

}  // namespace

TEST_F(EditLabelTest, ABoundLabelMakesAnEditLabelThatItForgetsWhenFreed) {
  edit->BoundLabel->SetActive(true);
  TLabel* label = edit->BoundLabel->Label();
  ASSERT_NE(nullptr, label);
  EXPECT_TRUE(label->InheritsFrom(L"TsEditLabel"));
  EXPECT_TRUE(label->InheritsFrom(L"TsLabel"));
  auto* own = dynamic_cast<TsEditLabel*>(label);
  ASSERT_NE(nullptr, own);
  EXPECT_EQ(edit->BoundLabel.get(), own->BoundLabel());
  EXPECT_EQ(L"sEdit1Label", label->Name());
  int entered = 0, left = 0;
  label->OnMouseEnter = [&](TObject*) { ++entered; };
  label->OnMouseLeave = [&](TObject*) { ++left; };
  label->Perform(CM_MOUSEENTER);
  label->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(1, entered);
  EXPECT_EQ(1, left);
  delete label;
  EXPECT_EQ(nullptr, edit->BoundLabel->Label());
}

TEST_F(EditLabelTest, TheLabelsTextColourFollowsTheSkinTheEnabledStateAndTheFlag) {
  const TColor skin = manager->GetGlobalFontColor();
  const TColor back = ColorToRGB(form->Color());
  ASSERT_NE(clFuchsia, skin);
  ASSERT_NE(clRed, skin);
  ASSERT_NE(ColorToRGB(clWindowText), skin);
  struct Case {
    const char* what;
    bool useSkinColor, enabled, skinActive;
    TColor font;   // the label's font colour after painting
    TColor drawn;  // a colour its text shows
  };
  const Case cases[] = {
      {"skin colour", true, true, true, skin, skin},
      {"disabled", true, false, true, skin, BlendColors(skin, back, 0.4)},
      {"own colour", false, true, true, clRed, ColorToRGB(clRed)},
      {"skin removed", true, true, false, clWindowText, ColorToRGB(clWindowText)},
      {"skin removed, own colour", false, true, false, clRed, ColorToRGB(clRed)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    manager->SetActive(true);
    edit->BoundLabel->SetActive(false);
    edit->BoundLabel->SetActive(true);
    TLabel* label = edit->BoundLabel->Label();
    ASSERT_NE(nullptr, label);
    edit->BoundLabel->SetCaption(L"WWW");
    // The flag first: a label that follows the skin takes its colour at
    // the next paint, which a font change brings.
    edit->BoundLabel->SetUseSkinColor(c.useSkinColor);
    EXPECT_EQ(c.useSkinColor, edit->BoundLabel->UseSkinColor());
    label->Font()->SetColor(clRed);
    edit->SetEnabled(c.enabled);
    Paint(label);
    if (!c.skinActive) manager->SetActive(false);
    auto img = Paint(label);
    EXPECT_EQ(c.font, label->Font()->Color());
    EXPECT_GT(CountColor(*img, c.drawn), 0);
    edit->SetEnabled(true);
  }
  manager->SetActive(true);
}

TEST_F(EditLabelTest, WithoutTheFactoryTheEngineMakesAPlainLabel) {
  RegisterEditLabels(nullptr);
  auto* plainEdit = Construct<TEdit>(form);
  plainEdit->SetName(L"Edit1");
  plainEdit->SetParent(form);
  plainEdit->SetBounds(120, 100, 100, 21);
  TsCommonData sd(plainEdit, true);
  TsBoundLabel bound(&sd);
  bound.SetActive(true);
  TLabel* label = bound.Label();
  ASSERT_NE(nullptr, label);
  EXPECT_FALSE(label->InheritsFrom(L"TsLabel"));
  EXPECT_EQ(L"Edit1Label", label->Name());
  label->Font()->SetColor(clRed);
  Paint(label);
  EXPECT_EQ(clRed, label->Font()->Color()) << "a plain label keeps its colour under a skin";
  bound.SetUseSkinColor(false);
  EXPECT_FALSE(bound.UseSkinColor());
  delete label;
  EXPECT_EQ(nullptr, bound.Label());

  // Registered again, the next label is the skinned one.
  InstallEditLabels();
  bound.SetActive(false);
  bound.SetActive(true);
  ASSERT_NE(nullptr, bound.Label());
  EXPECT_TRUE(bound.Label()->InheritsFrom(L"TsEditLabel"));
}
