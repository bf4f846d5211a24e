// A form holding one group box, status bar, up-down, progress bar and track
// bar through skin changes: every internal skin and no skin, each image
// rebuilt after a change, the framework look without a skin, and no GDI
// objects left behind.
#include <gtest/gtest.h>

#include "skin/controls/GroupBox.h"
#include "skin/controls/ProgressBar.h"
#include "skin/controls/StatusBar.h"
#include "skin/controls/TrackBar.h"
#include "skin/controls/UpDown.h"
#include "skin/engine/StoredSkins.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class BarsAndBoxesSkinChange : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    group = Place<TsGroupBox>(form, 5, 5, 200, 100);
    group->SetCaption(L"Оформление");
    status = Construct<TsStatusBar>(form);
    status->SetParent(form);
    status->AddPanel(120, L"Готово");
    status->AddPanel(100, L"");
    upDown = Place<TsUpDown>(form, 220, 10, 17, 30);
    progress = Place<TsProgressBar>(form, 220, 60, 150, 17);
    progress->SetPosition(40);
    track = Construct<TsTrackBar>(group);
    track->SetParent(group);
    track->SetBounds(10, 30, 170, 45);
    form->Show();
  }
  std::vector<TWinControl*> Skinned() { return {group, status, progress, track}; }
  void PrintAll() {
    for (TWinControl* c : std::vector<TWinControl*>{group, status, upDown, progress, track})
      PrintControl(c);
  }

  TsGroupBox* group = nullptr;
  TsStatusBar* status = nullptr;
  TsUpDown* upDown = nullptr;
  TsProgressBar* progress = nullptr;
  TsTrackBar* track = nullptr;
};

TsCommonData* DataOf(TWinControl* c) { return SkinDataOf(c); }

}  // namespace

TEST_F(BarsAndBoxesSkinChange, EveryInternalSkinRebuildsEachImageAndNoSkinGivesTheFrameworkLook) {
  for (const std::wstring& name : InternalSkinNames(*manager)) {
    manager->SetSkinName(name);
    for (TWinControl* c : Skinned()) {
      ASSERT_NE(nullptr, DataOf(c)) << c->ClassName();
      EXPECT_TRUE(DataOf(c)->Skinned(true)) << c->ClassName();
    }
    EXPECT_TRUE(upDown->SkinCanPaint());
    PrintAll();
    // The group box's image was rebuilt for the new skin; a mark put into
    // it survives the next paint (it is kept) and goes with the next change.
    EXPECT_FALSE(group->SkinData->BGChanged);
    EXPECT_NE(0x010203, Px(*PrintControl(group), 100, 60)) << "rebuilt after the change";
    SetPx(*group->SkinData->CacheBmp, 100, 60, 0x010203);
    EXPECT_EQ(0x010203, Px(*PrintControl(group), 100, 60)) << "kept between changes";
  }
  manager->SetActive(false);
  for (TWinControl* c : Skinned()) EXPECT_FALSE(DataOf(c)->Skinned(true)) << c->ClassName();
  EXPECT_FALSE(upDown->SkinCanPaint());
  // The framework's group box: its own colour inside, not the skin's.
  auto plain = PrintControl(group);
  EXPECT_EQ(ColorToRGB(group->Color()), Px(*plain, 100, 60));
}

TEST_F(BarsAndBoxesSkinChange, GdiObjectCountStaysOverFiftyChanges) {
  const TGdiCounts counts = GdiCountsOverFiftySkinChanges(*manager, [&] {
    PrintAll();
    ::UpdateWindow(form->Handle());
  });
  ASSERT_GT(counts.settled, 0);
  EXPECT_EQ(counts.settled, counts.after);
}
