// The skinned status bar: panel places with the last panel to the edge,
// panel texts shortened to their panels, dividers from the "DIVIDER"
// section only without a panel image, and the size grip.
#include <gtest/gtest.h>

#include "skin/controls/StatusBar.h"
#include "skin/engine/SkinText.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class StatusBarTest : public SkinnedForm {
 protected:
  TsStatusBar* NewBar() {
    auto* s = Construct<TsStatusBar>(form);
    s->SetParent(form);
    s->AddPanel(100, L"Готово");
    s->AddPanel(80, L"Очень длинный текст второй панели");
    s->AddPanel(50, L"");
    return s;
  }
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  // A copy of an existing border image under another section and name,
  // standing in for a skin that has it.
  void AddBorderImage(const std::wstring& from, const std::wstring& section,
                      const std::wstring& name) {
    const int src = manager->GetMaskIndex(manager->GetSkinIndex(from), from, L"BORDERSMASK");
    ASSERT_GE(src, 0);
    const TsMaskData& s = manager->ma[src];
    ASSERT_EQ(nullptr, s.Bmp);
    TsMaskData d;
    d.SectionName = section;
    d.PropertyName = name;
    d.R = s.R;
    d.ImageCount = s.ImageCount;
    d.MaskType = s.MaskType;
    d.BorderWidth = s.BorderWidth;
    d.ImgType = s.ImgType;
    d.Manager = s.Manager;
    d.WL = s.WL, d.WT = s.WT, d.WR = s.WR, d.WB = s.WB;
    manager->ma.push_back(std::move(d));
  }
  // Columns where two images differ.
  static std::vector<int> DifferingColumns(TBitmap& a, TBitmap& b) {
    std::vector<int> cols;
    for (int x = 0; x < a.Width(); ++x)
      for (int y = 0; y < a.Height(); ++y)
        if (Px(a, x, y) != Px(b, x, y)) {
          cols.push_back(x);
          break;
        }
    return cols;
  }
};

}  // namespace

TEST_F(StatusBarTest, PanelsSpanTheirWidthsPlusOneAndTheLastReachesTheEdge) {
  TsStatusBar* s = NewBar();
  const int w = s->Width();
  ASSERT_EQ(form->ClientWidth(), w);
  struct Case {
    int index, left, right;
  } cases[] = {{0, 0, 101}, {1, 101, 182}, {2, 182, w}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.left, s->PanelRect(c.index).left) << c.index;
    EXPECT_EQ(c.right, s->PanelRect(c.index).right) << c.index;
  }
}

TEST_F(StatusBarTest, TextStaysInItsPanelAndTheGripSitsInTheCorner) {
  TsStatusBar* s = NewBar();
  s->SetPanelText(2, L"");
  auto withText = PrintControl(s);
  s->SetPanelText(0, L"");
  s->SetPanelText(1, L"");
  auto empty = PrintControl(s);
  const std::vector<int> cols = DifferingColumns(*withText, *empty);
  ASSERT_FALSE(cols.empty());
  // The long second text is cut before the panel's right edge less 4.
  const TRect p1 = s->PanelRect(1);
  for (int x : cols) EXPECT_TRUE(x < p1.right - 1 - 4) << x;
  EXPECT_GE(cols.front(), 1 + 2);
  bool second = false;
  for (int x : cols) second = second || x > p1.left + 2;
  EXPECT_TRUE(second);
  // The grip image's cell in the bottom-right corner differs from the face
  // beside it.
  int grip = 0;
  for (int x = s->Width() - 12; x < s->Width(); ++x)
    for (int y = s->Height() - 12; y < s->Height(); ++y)
      grip += Px(*empty, x, y) != Px(*empty, s->Width() - 30, y);
  EXPECT_GT(grip, 0);
}

TEST_F(StatusBarTest, DividersFromTheDividerSectionOnlyWithoutAPanelImage) {
  TsStatusBar* s = NewBar();
  s->SetPanelText(0, L"");
  s->SetPanelText(1, L"");
  auto plain = PrintControl(s);
  AddBorderImage(L"PANEL", L"DIVIDER", L"BORDERSMASK");
  auto divided = PrintControl(s);
  const std::vector<int> cols = DifferingColumns(*plain, *divided);
  ASSERT_FALSE(cols.empty());
  // Only just inside the right edges of the first two panels.
  for (int x : cols) {
    const bool first = x >= 100 - 12 && x < 100;
    const bool second = x >= 181 - 12 && x < 181;
    EXPECT_TRUE(first || second) << x;
  }
  // A panel image replaces the dividers.
  AddBorderImage(L"PANEL", L"STATUSBAR", L"STATUSPANELMASK");
  auto panelled = PrintControl(s);
  EXPECT_NE(Px(*panelled, 50, 1), Px(*divided, 50, 1));
  int dividers = 0;
  for (int y = 2; y < s->Height() - 2; ++y) dividers += Px(*panelled, 97, y) != Px(*panelled, 60, y);
  EXPECT_EQ(0, dividers);
}
