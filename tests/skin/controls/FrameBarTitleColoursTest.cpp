// The navigation bar's titles under the dark internal skin: the open item's
// title and a closed one draw their captions in the title section's text
// colours, readable on the faces they stand on.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/controls/FrameBar.h"
#include "skin/engine/ColorContrast.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

TEST(FrameBarTitleColours, OpenAndClosedTitlesReadOnTheDarkSkin) {
  InitFramework();
  ManagerPtr manager = LoadedManager(L"Ember (internal)", FixtureSkinDir(), true);
  ASSERT_EQ(L"Ember (internal)", manager->SkinName());
  TForm* form = Construct<TForm>(Application);
  form->SetClientWidth(400);
  form->SetClientHeight(300);
  TsFrameBar* bar = Construct<TsFrameBar>(form);
  bar->SetWidth(195);
  bar->SetParent(form);
  form->Show();
  for (const wchar_t* caption : {L"Очистка", L"Параметры"}) bar->Items()->Add()->SetCaption(caption);
  bar->OpenItem(0, false);
  const TsGeneralData& title = manager->gd[manager->GetSkinIndex(L"BARTITLE")];
  struct Case {
    int item;
    TColor text;
  };
  for (Case c : {Case{0, ColorToRGB(static_cast<TColor>(title.HotFontColor[0]))},
                 Case{1, ColorToRGB(static_cast<TColor>(title.FontColor[0]))}}) {
    SCOPED_TRACE(c.item);
    TsTitleButton* b = bar->Items()->Items(c.item)->TitleButton();
    ASSERT_EQ(c.item == 0, b->Selected());
    auto image = PaintGraphic(b);
    ::GdiFlush();
    EXPECT_GT(CountColor(*image, c.text), 10) << "the caption in the section's text colour";
    // The face below the caption, inside the title's frame.
    const TColor face = Px(*image, b->Width() / 2, b->Height() - 5);
    EXPECT_GE(ContrastRatio(c.text, face), 4.5);
  }
  delete form;
}

}  // namespace
