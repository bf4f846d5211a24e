#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/ComCtrls.h"
#include "framework/ComboBox.h"
#include "skin/engine/SkinManager.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/ScreenPixels.h"

namespace {

void ReleaseMouseOn(TTrackBar* bar) {
  ::SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

}  // namespace

TEST(OptionsPage, StartUpActivatesTheSelectedInternalSkin) {
  TMainForm* form = testenv::EnsureMainForm();
  TsSkinManager* m = form->sSkinManager1;
  ASSERT_NE(nullptr, m);
  EXPECT_TRUE(m->Active());
  EXPECT_TRUE(m->SkinData->Active);
  EXPECT_EQ(L"WLM (internal)", m->SkinName());
  EXPECT_EQ(L"c:\\Skins", m->SkinDirectory());
  EXPECT_EQ(40, m->Saturation());
  EXPECT_EQ(100, m->AnimEffects->FormShow()->Time);
  EXPECT_EQ(100, m->AnimEffects->PageChange()->Time);
  EXPECT_EQ(5, m->InternalSkins()->Count());
  EXPECT_EQ(m, DefaultManager);
}

TEST(OptionsPage, ComboListsEverySkinAndShowsTheSelectedOne) {
  TMainForm* form = testenv::EnsureMainForm();
  EXPECT_EQ(L"WLM (internal)", form->ComboSkin->Text());
  TStrings& items = *form->ComboSkin->Items();
  EXPECT_GE(items.Count(), 5);
  EXPECT_GE(items.IndexOf(L"WLM (internal)"), 0);
  for (int i = 1; i < items.Count(); ++i) EXPECT_LE(items.CompareStrings(items[i - 1], items[i]), 0);
}

TEST(OptionsPage, TrackBarsApplyOnMouseUpOnly) {
  TMainForm* form = testenv::EnsureMainForm();
  TsSkinManager* m = form->sSkinManager1;
  form->sTrackBar1->SetPosition(25);
  EXPECT_EQ(0, m->HueOffset());  // moving alone changes nothing
  ReleaseMouseOn(form->sTrackBar1);
  EXPECT_EQ(25, m->HueOffset());
  form->sTrackBar2->SetPosition(70);
  EXPECT_EQ(40, m->Saturation());
  ReleaseMouseOn(form->sTrackBar2);
  EXPECT_EQ(70, m->Saturation());
  EXPECT_TRUE(m->SkinData->Active);
  // Put the colours back for the other tests.
  form->sTrackBar1->SetPosition(0);
  ReleaseMouseOn(form->sTrackBar1);
  form->sTrackBar2->SetPosition(40);
  ReleaseMouseOn(form->sTrackBar2);
  EXPECT_EQ(0, m->HueOffset());
  EXPECT_EQ(40, m->Saturation());
}

// The skin combo box sits on a page that first shows long after start: it
// paints there, and the screen shows it, not the page that was there before.
TEST(OptionsPage, SkinComboPaintsWhenItsPageShows) {
  TMainForm* form = testenv::EnsureMainForm();
  form->SelectPage(0);
  cleanuptest::PumpFor(100);
  form->SelectPage(13);
  HWND combo = form->ComboSkin->Handle();
  ASSERT_TRUE(::IsWindowVisible(combo));
  const testenv::ScreenPixels screen = testenv::SettledClientOnScreen(combo, cleanuptest::PumpFor);
  const testenv::ScreenPixels printed = testenv::PrintedClient(combo);
  ASSERT_EQ(screen.Width, printed.Width);
  ASSERT_EQ(screen.Height, printed.Height);
  // The edit inside draws the text on screen, a pixel or two from where
  // the print puts it and in its own shades: most pixels, not all, agree.
  auto alike = [](uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
      if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8)
        return false;
    return true;
  };
  int differing = 0;
  for (int y = 0; y < screen.Height; ++y)
    for (int x = 0; x < screen.Width; ++x) differing += !alike(screen.At(x, y), printed.At(x, y));
  EXPECT_LT(differing, screen.Width * screen.Height / 7) << "the screen does not show the combo box";
  EXPECT_LT(screen.BlackShare(), 0.05);
  form->SelectPage(0);
}
