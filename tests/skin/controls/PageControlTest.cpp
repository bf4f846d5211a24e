// The skinned page control: tab places and the skinned scroller when tabs
// overflow, the hot tab under the mouse, page changes by mouse, keyboard
// and program with their events, tabs painted from the skin, skin changes
// and GDI objects.
#include <gtest/gtest.h>

#include "skin/controls/PageControl.h"

#include <commctrl.h>

#include "skin/controls/UpDown.h"
#include "skin/engine/PaintPrimitives.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class PageControlTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    pc = Construct<TsPageControl>(form);
    pc->SetParent(form);
    pc->SetBounds(10, 10, 300, 200);
    for (const wchar_t* caption : {L"Удаление", L"Автозагрузка", L"Ещё"}) AddPage(caption);
    pc->SetActivePageIndex(0);
    pc->OnChanging = [this](TObject*, bool& allow) {
      ++changing;
      allow = allowChange;
    };
    pc->OnChange = [this](TObject*) { ++changed; };
    form->Show();
  }
  TsTabSheet* AddPage(const std::wstring& caption) {
    auto* sheet = Construct<TsTabSheet>(form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pc);
    return sheet;
  }
  TPoint CenterOf(int tab) {
    const TRect r = pc->TabRect(tab);
    return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Send(UINT msg, WPARAM w, TPoint p) {
    ::SendMessageW(pc->Handle(), msg, w, MAKELPARAM(p.x, p.y));
  }
  void Click(int tab) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CenterOf(tab));
    Send(WM_LBUTTONUP, 0, CenterOf(tab));
  }

  TsPageControl* pc = nullptr;
  int changing = 0, changed = 0;
  bool allowChange = true;
};

}  // namespace

TEST_F(PageControlTest, PaintedTabsOverlapTheirNeighboursAndReachUnderTheBody) {
  struct Case {
    TTabPosition pos;
    bool active;
    TRect delta;  // painted rectangle less the platform's
  } cases[] = {
      {tpTop, true, {-2, -1, 2, 2}},      {tpTop, false, {0, 0, -1, 5}},
      {tpBottom, true, {-2, -3, 2, 1}},   {tpBottom, false, {0, -2, -1, 0}},
      {tpLeft, true, {-1, -2, 3, 1}},     {tpLeft, false, {0, -1, 3, 0}},
      {tpRight, true, {-3, -2, 1, 2}},    {tpRight, false, {-2, -1, -1, 0}},
  };
  for (const Case& c : cases) {
    pc->SetTabPosition(c.pos);
    const TRect plain = pc->TabRect(1);
    ASSERT_FALSE(::IsRectEmpty(&plain)) << c.pos;
    const TRect r = pc->TabRectEx(1, c.active);
    EXPECT_EQ(c.delta.left, r.left - plain.left) << c.pos << c.active;
    EXPECT_EQ(c.delta.top, r.top - plain.top) << c.pos << c.active;
    EXPECT_EQ(c.delta.right, r.right - plain.right) << c.pos << c.active;
    EXPECT_EQ(c.delta.bottom, r.bottom - plain.bottom) << c.pos << c.active;
    // The tabs and the body share the control between them.
    const TRect tabs = pc->TabsRect(), body = pc->BodyRect();
    TRect both{};
    ::UnionRect(&both, &tabs, &body);
    const TRect all{0, 0, pc->Width(), pc->Height()};
    EXPECT_TRUE(::EqualRect(&all, &both)) << c.pos;
  }
}

TEST_F(PageControlTest, SkinnedScrollerAppearsOnlyWhenTabsOverflow) {
  PrintControl(pc);
  EXPECT_EQ(nullptr, pc->TabScroller);
  for (int i = 0; i < 12; ++i) AddPage(L"Длинная закладка " + std::to_wstring(i));
  PrintControl(pc);
  ASSERT_NE(nullptr, pc->TabScroller);
  EXPECT_GT(pc->HiddenTabCount(), 0);
  EXPECT_EQ(pc->HiddenTabCount(), pc->TabScroller->Max());
  EXPECT_EQ(pc->Width(), pc->TabScroller->Left() + pc->TabScroller->Width());
  EXPECT_EQ(0, pc->TabScroller->Top());
  EXPECT_EQ(nullptr, ::FindWindowExW(pc->Handle(), nullptr, UPDOWN_CLASSW, nullptr))
      << "the platform's arrows are gone";
  // Scrolling by the skinned arrows moves the tab row.
  const int firstLeft = pc->TabRect(0).left;
  pc->TabScroller->SetPosition(2);
  pc->TabScroller->OnClick(pc->TabScroller.get(), btNext);
  EXPECT_LT(pc->TabRect(0).left, firstLeft);
  // The scroller's window takes the shape of its skinned buttons (the
  // internal skin's corners are filled from the tab row, so both buttons
  // stay whole).
  TsSkinManager* m = manager.get();
  const std::wstring section = pc->TabScroller->ButtonSkin();
  ASSERT_TRUE(m->IsValidImgIndex(m->GetMaskIndex(m->GetSkinIndex(section), section, L"BORDERSMASK")))
      << section;
  {
    const int sw = pc->TabScroller->Width(), sh = pc->TabScroller->Height();
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(pc->TabScroller->Handle(), rgn));
    EXPECT_TRUE(::PtInRegion(rgn, sw / 4, sh / 2));
    EXPECT_TRUE(::PtInRegion(rgn, sw * 3 / 4, sh / 2));
    ::DeleteObject(rgn);
  }
  // A multi-line control never needs it.
  pc->SetMultiLine(true);
  PrintControl(pc);
  EXPECT_EQ(nullptr, pc->TabScroller);
}

TEST_F(PageControlTest, HotTabFollowsTheMouseAndNeverIsTheActiveTab) {
  pc->SetHotTrack(true);
  PrintControl(pc);
  Send(WM_MOUSEMOVE, 0, CenterOf(1));
  EXPECT_EQ(1, pc->HotTab);
  Send(WM_MOUSEMOVE, 0, CenterOf(2));
  EXPECT_EQ(2, pc->HotTab);
  Send(WM_MOUSEMOVE, 0, CenterOf(0));
  EXPECT_EQ(-1, pc->HotTab) << "the active tab";
  Send(WM_MOUSEMOVE, 0, CenterOf(1));
  Send(WM_MOUSEMOVE, 0, TPoint{150, 150});
  EXPECT_EQ(-1, pc->HotTab) << "over the body";
  Send(WM_MOUSEMOVE, 0, CenterOf(2));
  pc->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, pc->HotTab) << "mouse left";
}

TEST_F(PageControlTest, TheTabUnderTheMouseGivesTheHint) {
  pc->Pages(1)->SetHint(L"Программы, что запускаются с Windows");
  PrintControl(pc);
  THintInfo info;
  info.HintStr = L"своя подсказка";
  info.CursorPos = CenterOf(1);
  EXPECT_EQ(0, pc->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.HintStr, L"Программы, что запускаются с Windows");
  const TRect tab = pc->TabRectEx(1, false);
  EXPECT_TRUE(::EqualRect(&info.CursorRect, &tab)) << "the next tab shows its own hint";
  POINT cursor{};
  ::GetCursorPos(&cursor);
  EXPECT_EQ(info.HintPos.x, cursor.x + ::GetSystemMetrics(SM_CXCURSOR) / 2);

  info.CursorPos = CenterOf(2);
  pc->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, L"") << "a tab without a hint shows none";

  info.HintStr = L"своя подсказка";
  info.CursorPos = TPoint{150, 150};
  EXPECT_EQ(0, pc->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.HintStr, L"своя подсказка") << "over the body the control's own hint";
}

TEST_F(PageControlTest, UserPageChangesAskFirstAndARefusalKeepsThePageAndFreesTheMouse) {
  PrintControl(pc);
  Click(1);
  EXPECT_EQ(pc->Pages(1), pc->ActivePage());
  EXPECT_EQ(1, changing);
  EXPECT_EQ(1, changed);
  ::SetFocus(pc->Handle());
  ::SendMessageW(pc->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(pc->Pages(2), pc->ActivePage());
  EXPECT_EQ(2, changing);
  EXPECT_EQ(2, changed);

  allowChange = false;
  ::SetCapture(pc->Handle());
  Click(0);
  EXPECT_EQ(pc->Pages(2), pc->ActivePage());
  EXPECT_EQ(3, changing);
  EXPECT_EQ(2, changed);
  EXPECT_NE(pc->Handle(), ::GetCapture());
  ::SendMessageW(pc->Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(pc->Pages(2), pc->ActivePage());
  EXPECT_EQ(2, changed);
}

TEST_F(PageControlTest, AnimatedPageChangeEndsOnTheNewPage) {
  TacPageChange* anim = manager->AnimEffects->PageChange();
  anim->Active = true;
  anim->Time = 16;
  PrintControl(pc);
  Click(2);
  EXPECT_EQ(pc->Pages(2), pc->ActivePage());
  EXPECT_TRUE(pc->Pages(2)->Visible());
  EXPECT_EQ(1, changed);
}

TEST_F(PageControlTest, HiddenTabPagesAreSwitchedByTheProgramOverABareBody) {
  for (int i = 0; i < pc->PageCount(); ++i) pc->Pages(i)->SetTabVisible(false);
  EXPECT_FALSE(pc->HasTabs());
  const TRect all{0, 0, pc->Width(), pc->Height()}, body = pc->BodyRect();
  EXPECT_TRUE(::EqualRect(&all, &body));
  for (int i : {2, 0, 1}) {
    pc->SetActivePageIndex(i);
    for (int j = 0; j < pc->PageCount(); ++j) EXPECT_EQ(i == j, pc->Pages(j)->Visible()) << i;
    const TTabSheet* a = pc->ActivePage();
    EXPECT_EQ(0, a->Left());
    EXPECT_EQ(0, a->Top());
  }
  EXPECT_EQ(0, changing) << "program changes are not asked";
  // Without tabs the whole control is body: the top row shows the skin,
  // not the untouched fill.
  auto img = PrintControl(pc);
  EXPECT_NE(TColor(0x123456), Px(*img, pc->Width() / 2, 1));
}

TEST_F(PageControlTest, TabBackgroundsComeFromTheTabSection) {
  auto skinned = PrintControl(pc);
  const TRect r = pc->TabRect(1);
  const int x = r.left + 3, y = r.top + 3;
  // A skin without "TABTOP" leaves the tab over the parent's background.
  const int16_t keep = manager->CachedIndexes.TabTop;
  ASSERT_GT(keep, 0);
  manager->CachedIndexes.TabTop = 0;
  pc->SkinData->BGChanged = true;
  auto bare = PrintControl(pc);
  manager->CachedIndexes.TabTop = keep;
  EXPECT_EQ(ColorToRGB(form->Color()), Px(*bare, x, y));
  // The captions are drawn either way; the rest of the tab differs.
  int differing = 0;
  for (int py = r.top; py < r.bottom; ++py)
    for (int px = r.left; px < r.right - 1; ++px) differing += Px(*bare, px, py) != Px(*skinned, px, py);
  EXPECT_GT(differing, 0);
  // The active tab is painted over the body's frame below it.
  const TRect a = pc->TabRectEx(0, true);
  EXPECT_NE(TColor(0x123456), Px(*skinned, (a.left + a.right) / 2, a.bottom - 1));
}

TEST_F(PageControlTest, TabsShowTheirPictureBesideTheCaption) {
  auto* images = Construct<TImageList>(form);
  images->SetSize(16, 16);
  auto red = CreateBmp24(16, 16);
  FillDC(red->Canvas()->Handle(), TRect{0, 0, 16, 16}, clRed);
  ASSERT_EQ(0, images->AddMasked(red.get(), clFuchsia));
  const int plainWidth = pc->TabRect(1).right - pc->TabRect(1).left;
  pc->SetImages(images);
  pc->Pages(1)->SetImageIndex(0);
  pc->Pages(2)->SetImageIndex(5);  // not in the list: no picture
  const TRect withPicture = pc->TabRect(1);
  EXPECT_GT(withPicture.right - withPicture.left, plainWidth) << "the tab makes room";
  auto img = PrintControl(pc);
  auto reds = [&](const TRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Px(*img, x, y) == clRed;
    return n;
  };
  EXPECT_EQ(16 * 16, reds(pc->TabRect(1))) << "whole, on the tab's visible part";
  EXPECT_EQ(0, reds(pc->TabRectEx(2, false)));
  EXPECT_EQ(0, reds(pc->TabRectEx(0, true)));
  // A freed list takes the pictures away.
  delete images;
  EXPECT_EQ(nullptr, pc->Images());
  img = PrintControl(pc);
  EXPECT_EQ(0, reds(pc->TabRectEx(1, false)));
}

TEST_F(PageControlTest, SkinChangesAndNoSkinKeepGdiObjects) {
  std::vector<std::wstring> names;
  for (int i = 0; i < manager->InternalSkins()->Count(); ++i)
    names.push_back(manager->InternalSkins()->Items(i)->Name());
  pc->SetHotTrack(true);
  auto change = [&](int i) {
    if (i % 4 == 3) {
      manager->SetActive(false);
    } else {
      manager->SetSkinName(names[i % names.size()]);
      manager->SetActive(true);
    }
    PrintControl(pc);
    Click(i % 3);
    Send(WM_MOUSEMOVE, 0, CenterOf((i + 1) % 3));
    ::UpdateWindow(form->Handle());
    PumpFor(5);
  };
  int afterStep[4] = {};
  for (int i = 0; i < 8; ++i) {
    change(i);
    afterStep[i % 4] = GdiObjectCount();
  }
  ASSERT_GT(afterStep[0], 0);
  for (int i = 0; i < 40; ++i) change(i);
  EXPECT_EQ(afterStep[39 % 4], GdiObjectCount());
  manager->SetActive(false);
  EXPECT_FALSE(pc->SkinData->Skinned(true));
  EXPECT_EQ(nullptr, pc->TabScroller);
}

// Side tabs draw their captions with a rotated font made for each paint,
// and the frame is painted through a window DC: neither stays behind.
TEST_F(PageControlTest, SideTabsAndFramePaintingLeaveNoGdiObjects) {
  for (TTabPosition side : {tpLeft, tpRight}) {
    pc->SetTabPosition(side);
    auto paint = [&] {
      pc->SkinData->BGChanged = true;
      PrintControl(pc);
      ::SendMessageW(pc->Handle(), WM_NCPAINT, 1, 0);
    };
    for (int i = 0; i < 3; ++i) paint();
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 30; ++i) paint();
    EXPECT_EQ(before, GdiObjectCount()) << side;
  }
}
