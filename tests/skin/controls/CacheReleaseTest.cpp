// Cache bitmaps of skinned containers on a page not shown: their pixels go
// when the page is hidden and come back exactly as they were, whether the
// next paint rebuilds them or a child asks for the image first; page
// switches leave no GDI objects behind.
#include <gtest/gtest.h>

#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/GroupBox.h"
#include "skin/controls/ListView.h"
#include "skin/controls/PageControl.h"
#include "skin/controls/Panel.h"
#include "skin/controls/TrackBar.h"
#include "skin/engine/CacheCopy.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

// Two pages; the first holds a group box with a group box inside it (whose
// caption strip is copied from the outer box's image) holding a check box,
// a panel, a list view, a button, a track bar and a page control of its
// own.
class CacheReleaseTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    pc = Place<TsPageControl>(form, 5, 5, 390, 290);
    first = AddPage<TsTabSheet>(pc, L"Первая");
    second = AddPage<TsTabSheet>(pc, L"Вторая");
    pc->SetActivePageIndex(0);
    outer = Box(first, 5, 5, 200, 150, L"Внешняя");
    inner = Box(outer, 10, 30, 150, 90, L"Внутренняя");
    panel = Place<TsPanel>(first, 210, 5, 140, 60);
    panel->SetCaption(L"Панель");
    check = Place<TsCheckBox>(inner, 10, 25, 120, 20);
    check->SetCaption(L"Флажок");
    list = Place<TsListView>(first, 210, 70, 140, 80);
    button = Place<TsButton>(first, 310, 160, 60, 25);
    button->SetCaption(L"Кнопка");
    track = Place<TsTrackBar>(first, 310, 190, 60, 30);
    nested = Place<TsPageControl>(first, 5, 160, 300, 90);
    AddPage<TsTabSheet>(nested, L"Вложенная");
    nested->SetActivePageIndex(0);
    Box(second, 5, 5, 200, 100, L"Другая");
    form->Show();
    RepaintAll();
  }
  TsGroupBox* Box(TWinControl* parent, int l, int t, int w, int h, const std::wstring& caption) {
    auto* g = Place<TsGroupBox>(parent, l, t, w, h);
    g->SetCaption(caption);
    return g;
  }
  std::vector<TWinControl*> Holders() { return {outer, inner, panel, nested, check, list, button, track}; }
  static int CacheArea(TWinControl* c) {
    const TBitmap* b = SkinDataOf(c)->CacheBmp.get();
    return b ? b->Width() * b->Height() : 0;
  }
  static std::vector<COLORREF> Pixels(TBitmap& b) {
    std::vector<COLORREF> px;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) px.push_back(Px(b, x, y));
    return px;
  }

  TsPageControl* pc = nullptr;
  TsPageControl* nested = nullptr;
  TsTabSheet* first = nullptr;
  TsTabSheet* second = nullptr;
  TsGroupBox* outer = nullptr;
  TsGroupBox* inner = nullptr;
  TsPanel* panel = nullptr;
  TsCheckBox* check = nullptr;
  TsListView* list = nullptr;
  TsButton* button = nullptr;
  TsTrackBar* track = nullptr;
};

}  // namespace

TEST_F(CacheReleaseTest, HiddenPageGivesItsCachesBackAndPaintsAsBeforeWhenShownAgain) {
  std::vector<std::vector<COLORREF>> before;
  for (TWinControl* c : Holders()) {
    ASSERT_TRUE(SkinDataOf(c)->Skinned(true)) << c->ClassName();
    ASSERT_GT(CacheArea(c), 0) << c->ClassName();
    before.push_back(Pixels(*PrintControl(c)));
  }
  pc->SetActivePageIndex(1);
  RepaintAll();
  for (TWinControl* c : Holders()) EXPECT_EQ(0, CacheArea(c)) << c->ClassName();
  // The page shown keeps its image.
  EXPECT_GT(CacheArea(pc), 0);

  pc->SetActivePageIndex(0);
  RepaintAll();
  for (size_t i = 0; i < Holders().size(); ++i) {
    TWinControl* c = Holders()[i];
    EXPECT_EQ(c->Width() * c->Height(), CacheArea(c)) << c->ClassName();
    EXPECT_TRUE(before[i] == Pixels(*PrintControl(c))) << c->ClassName();
  }
}

// The inner box rebuilds its image from the outer box's while that one's
// pixels are released: its page switched away, or the box itself hidden and
// shown again before any paint.
TEST_F(CacheReleaseTest, ChildAskingAReleasedParentGetsItsImageRebuilt) {
  struct Case {
    const char* name;
    std::function<void()> hide;
  } cases[] = {
      {"page not shown", [&] { pc->SetActivePageIndex(1); }},
      {"hidden and shown again",
       [&] {
         outer->SetVisible(false);
         ASSERT_EQ(0, CacheArea(outer));
         outer->SetVisible(true);
       }},
  };
  for (const Case& c : cases) {
    pc->SetActivePageIndex(0);
    RepaintAll();
    const std::vector<COLORREF> innerBefore = Pixels(*PrintControl(inner));
    const std::vector<COLORREF> outerBefore = Pixels(*SkinDataOf(outer)->CacheBmp);
    c.hide();
    ASSERT_EQ(0, CacheArea(outer)) << c.name;
    const TCacheInfo ci = GetParentCache(SkinDataOf(inner));
    ASSERT_TRUE(ci.Ready) << c.name;
    ASSERT_EQ(outer->Width(), ci.Bmp->Width()) << c.name;
    ASSERT_EQ(outer->Height(), ci.Bmp->Height()) << c.name;
    EXPECT_TRUE(outerBefore == Pixels(*ci.Bmp)) << c.name;
    // Built from it, the inner box's image is what it was.
    SkinDataOf(inner)->BGChanged = true;
    EXPECT_TRUE(innerBefore == Pixels(*PrintControl(inner))) << c.name;
  }
}

TEST_F(CacheReleaseTest, PageSwitchesLeaveTheGdiObjectCountFlat) {
  auto switches = [&](int n) {
    for (int i = 0; i < n; ++i) {
      pc->SetActivePageIndex(i % 2);
      RepaintAll();
    }
  };
  switches(6);
  const int settled = GdiObjectCount();
  switches(40);
  EXPECT_EQ(settled, GdiObjectCount());
}
