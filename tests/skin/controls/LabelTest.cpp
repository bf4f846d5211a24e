// The skinned labels: the skin's font colour, the disabled blend, the web
// label's shell call, the sticky label following its control both ways, and
// the shadowed label's size and text shift.
#include <gtest/gtest.h>

#include "skin/controls/Label.h"
#include "skin/controls/LabelFX.h"
#include "skin/controls/StickyLabel.h"
#include "skin/controls/WebLabel.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/FastPixels.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class LabelTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  template <class T>
  T* NewLabel(const std::wstring& caption) {
    auto* l = Construct<T>(form);
    l->SetParent(form);
    l->SetBounds(10, 10, 10, 10);
    l->SetCaption(caption);
    l->Font()->SetColor(clRed);
    return l;
  }
  // Paints a label over its parent's colour.
  static std::unique_ptr<TBitmap> Paint(TControl* l) {
    return PaintGraphic(l, ColorToRGB(l->Parent()->Color()));
  }
};

}  // namespace

TEST_F(LabelTest, TextTakesTheSkinsFontColourUnlessTheLabelKeepsItsOwn) {
  const TColor skin = manager->GetGlobalFontColor();
  ASSERT_NE(clFuchsia, skin);
  ASSERT_NE(clRed, skin);
  auto* l = NewLabel<TsLabel>(L"WWW");
  auto img = Paint(l);
  EXPECT_EQ(skin, l->Font()->Color());
  EXPECT_GT(CountColor(*img, skin), 0);
  auto* own = NewLabel<TsLabel>(L"WWW");
  own->UseSkinColor = false;
  own->Font()->SetColor(clRed);
  Paint(own);
  EXPECT_EQ(clRed, own->Font()->Color());
}

TEST_F(LabelTest, DisabledTextIsFortyPercentFontAndSixtyPercentBackground) {
  auto* l = NewLabel<TsLabel>(L"WWW");
  l->SetEnabled(false);
  auto img = Paint(l);
  const TColor back = ColorToRGB(form->Color());
  const TColor expected = BlendColors(ColorToRGB(l->Font()->Color()), back, 0.4);
  EXPECT_GT(CountColor(*img, expected), 0);
}

TEST_F(LabelTest, RemovedSkinGivesTheLabelTheWindowTextColour) {
  auto* l = NewLabel<TsLabel>(L"WWW");
  Paint(l);
  manager->SetActive(false);
  EXPECT_EQ(clWindowText, l->Font()->Color());
}

TEST_F(LabelTest, WebLabelOpensItsUrlThroughTheShellOnAClick) {
  std::vector<std::wstring> opened;
  auto saved = TsWebLabel::ShellOpen;
  TsWebLabel::ShellOpen = [&](HWND, const std::wstring& url, int) { opened.push_back(url); };
  auto* link = NewLabel<TsWebLabel>(L"Сайт");
  link->URL = L"http://example.invalid/tweaks";
  int clicks = 0;
  link->OnClick = [&](TObject*) { ++clicks; };
  HWND w = form->Handle();
  const LPARAM at = MAKELPARAM(link->Left() + 2, link->Top() + 2);
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(w, WM_LBUTTONUP, 0, at);
  link->URL.clear();
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(w, WM_LBUTTONUP, 0, at);
  TsWebLabel::ShellOpen = saved;
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ(L"http://example.invalid/tweaks", opened[0]);
  EXPECT_EQ(2, clicks);
}

TEST_F(LabelTest, WebLabelTakesItsHoverFontUnderTheMouse) {
  auto* link = NewLabel<TsWebLabel>(L"Сайт");
  link->HoverFont()->SetColor(clBlue);
  link->Loaded();
  link->Perform(CM_MOUSEENTER);
  EXPECT_EQ(clBlue, link->Font()->Color());
  link->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(clRed, link->Font()->Color());
}

TEST_F(LabelTest, StickyLabelAndItsControlFollowEachOther) {
  auto* box = Construct<TPanel>(form);
  box->SetParent(form);
  box->SetBounds(100, 50, 80, 20);
  auto* l = NewLabel<TsStickyLabel>(L"Имя");
  l->SetBounds(0, 0, 30, 14);
  l->SetAttachTo(box);
  EXPECT_EQ(100 - 30 - 2, l->Left());
  EXPECT_EQ(50 + (20 - 14) / 2, l->Top());
  box->SetBounds(150, 80, 80, 20);
  EXPECT_EQ(150 - 30 - 2, l->Left());
  EXPECT_EQ(80 + 3, l->Top());
  // Moving the label puts the control on its right.
  l->SetBounds(10, 10, 30, 14);
  EXPECT_EQ(10 + 30 + 2, box->Left());
  EXPECT_EQ(10 + (14 - 20) / 2, box->Top());
  l->SetAttachTo(nullptr);
  box->SetBounds(0, 0, 80, 20);
  EXPECT_EQ(10, l->Left());
}

TEST_F(LabelTest, ShadowedLabelGrowsByTheShadowAndShiftsItsText) {
  auto* plain = NewLabel<TsLabelFX>(L"Анализ");
  plain->Shadow()->SetColor(clNone);
  plain->SetAutoSize(true);
  auto* fx = NewLabel<TsLabelFX>(L"Анализ");
  fx->SetAutoSize(true);  // blur 4, distance 1
  EXPECT_EQ(plain->Width() + 8, fx->Width());
  EXPECT_EQ(plain->Height() + 8, fx->Height());
  fx->Kind()->SetKindType(ktCustom);
  fx->Kind()->SetColor(clLime);
  fx->Shadow()->SetColor(clBlack);
  auto img = Paint(fx);
  // The text starts 3 pixels right of where the plain label's does.
  auto firstColumnOf = [](TBitmap& b, TColor c) {
    for (int x = 0; x < b.Width(); ++x)
      for (int y = 0; y < b.Height(); ++y)
        if (Px(b, x, y) == c) return x;
    return -1;
  };
  plain->Kind()->SetKindType(ktCustom);
  plain->Kind()->SetColor(clLime);
  auto plainImg = Paint(plain);
  const int px = firstColumnOf(*plainImg, clLime);
  ASSERT_GE(px, 0);
  EXPECT_EQ(px + 3, firstColumnOf(*img, clLime));
}

TEST_F(LabelTest, ShadowColourNoneDrawsPlainText) {
  auto* fx = NewLabel<TsLabelFX>(L"WWW");
  fx->Kind()->SetKindType(ktCustom);
  fx->Kind()->SetColor(clLime);
  fx->Shadow()->SetColor(clNone);
  fx->SetAutoSize(true);
  auto img = Paint(fx);
  EXPECT_GT(CountColor(*img, clLime), 0);
  // Plain text needs no room for a shadow: the label is as big as its text.
  TSize t{};
  GetFontTextExtent(fx->Font(), L"WWW", t);
  EXPECT_EQ(t.cx, fx->Width());
}
