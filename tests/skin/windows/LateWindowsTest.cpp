// Windows made after their form is on screen (a page's controls made at
// its first visit, at any depth, or made again after the skin came back
// while their page was hidden) wear the skin at once, as those made before
// the form showed do.
#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "skin/controls/ListView.h"
#include "skin/controls/PageControl.h"
#include "skin/controls/TabSheet.h"
#include "skin/engine/CommonData.h"
#include "skin/windows/CtrlAdapter.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/CtrlAdapterTestSupport.h"
#include "tests/skin/windows/ProvidedFormTestSupport.h"

using namespace skintest;

namespace {

// The frame or face the control prints comes from its adapter's skin image,
// not from the system's drawing: a left-edge point at X and the bottom edge.
void ExpectPrintsTheSkinsImage(TWinControl* control, int x) {
  HWND wnd = control->WindowHandle();
  auto image = adaptertest::Print(wnd);
  TacMainWnd* a = GetScrollWnd(wnd);
  ASSERT_NE(a, nullptr);
  TBitmap* cache = a->SkinData->CacheBmp.get();
  ASSERT_NE(cache, nullptr);
  ASSERT_EQ(cache->Width(), image->Width());
  const int w = image->Width(), h = image->Height();
  for (TPoint p : {TPoint{x, h / 2}, TPoint{w / 2, h - 1}})
    EXPECT_EQ(Px(*image, p.x, p.y), Px(*cache, p.x, p.y)) << p.x << "," << p.y;
}

class LateWindows : public adaptertest::ProvidedForm {
 protected:
  void SetUp() override {
    SetUpForm(520, 420);
    pages = Construct<TPageControl>(form);
    pages->SetBounds(4, 4, 500, 380);
    pages->SetParent(form);
    first = AddPage<TTabSheet>(pages, L"Первая");
    second = AddPage<TTabSheet>(pages, L"Вторая");
    // Depth 1 a panel, depth 2 a group box, depth 3 the lists and a button.
    panel = Put(Construct<TPanel>(form), second, 4, 4, 480, 330);
    group = Put(Construct<TGroupBox>(form), panel, 4, 4, 470, 320);
    group->SetCaption(L"Группа");
    checks = Put(Construct<TCheckListBox>(form), group, 8, 20, 140, 120);
    for (int i = 0; i < 3; ++i) checks->Items()->Add(L"Путь " + std::to_wstring(i));
    view = Put(Construct<TListView>(form), group, 156, 20, 150, 120);
    grid = Put(Construct<TStringGrid>(form), group, 8, 150, 300, 110);
    button = Put(Construct<TButton>(form), group, 320, 20, 100, 28);
    button->SetCaption(L"Исправить");
    button->SetEnabled(false);
    skinnedView = Put(Construct<TsListView>(form), group, 320, 60, 140, 100);
    pages->SetActivePage(first);
    ShowAndPump(50);
  }
  template <class T>
  T* Put(T* c, TWinControl* parent, int l, int t, int w, int h) {
    c->SetBounds(l, t, w, h);
    c->SetParent(parent);
    return c;
  }

  TPageControl* pages = nullptr;
  TTabSheet* first = nullptr;
  TTabSheet* second = nullptr;
  TPanel* panel = nullptr;
  TGroupBox* group = nullptr;
  TCheckListBox* checks = nullptr;
  TListView* view = nullptr;
  TStringGrid* grid = nullptr;
  TButton* button = nullptr;
  TsListView* skinnedView = nullptr;
};

}  // namespace

TEST_F(LateWindows, ControlsOfAPageFirstShownLaterGetTheirAdaptersAtOnce) {
  ASSERT_NE(provider->Adapter, nullptr);
  // The hidden page made no windows while the form showed.
  ASSERT_FALSE(checks->HandleAllocated());

  pages->SetActivePage(second);
  adaptertest::PumpFor(30);

  for (TWinControl* c : std::vector<TWinControl*>{panel, group, checks, view, grid, button}) {
    SCOPED_TRACE(c->ClassName());
    ASSERT_TRUE(c->HandleAllocated());
    HWND wnd = c->WindowHandle();
    EXPECT_NE(::GetPropW(wnd, kAdapterProp), nullptr);
    const TacAdapterItem* item = provider->Adapter->ItemOf(c);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->ScrollWnd, nullptr);
    EXPECT_EQ(GetScrollWnd(wnd), item->ScrollWnd.get());
  }
  // A skinned control takes no item: it puts its own adapter on.
  ASSERT_TRUE(skinnedView->HandleAllocated());
  EXPECT_EQ(provider->Adapter->ItemOf(skinnedView), nullptr);
  EXPECT_NE(GetScrollWnd(skinnedView->WindowHandle()), nullptr);
  // The frame or face each prints comes from the skin's image, not from
  // the system's drawing.
  // Framed controls show the image's frame strips, the others its face.
  struct Case {
    TWinControl* control;
    int x;
  };
  for (Case c : {Case{group, 2}, Case{checks, 0}, Case{view, 0}, Case{grid, 0}, Case{button, 2}}) {
    SCOPED_TRACE(c.control->ClassName());
    ExpectPrintsTheSkinsImage(c.control, c.x);
  }
}

TEST_F(LateWindows, AControlAddedToAShownPageAtDepthGetsItsAdapter) {
  auto* inner = Put(Construct<TPanel>(form), first, 8, 8, 300, 200);
  auto* list = Put(Construct<TListBox>(form), inner, 8, 8, 120, 100);
  adaptertest::PumpFor(20);
  EXPECT_NE(::GetPropW(list->WindowHandle(), kAdapterProp), nullptr);
  EXPECT_NE(provider->Adapter->ItemOf(inner), nullptr);
  // A window made again (a recreated control) is adapted again.
  list->RecreateWnd();
  EXPECT_NE(::GetPropW(list->WindowHandle(), kAdapterProp), nullptr);
}

TEST_F(LateWindows, NothingIsAdaptedWhileTheFormIsHidden) {
  form->Hide();
  pages->SetActivePage(second);
  EXPECT_EQ(provider->Adapter->ItemOf(checks), nullptr);
  // Showing the form again walks everything that has a window by then.
  form->Show();
  adaptertest::PumpFor(20);
  EXPECT_NE(provider->Adapter->ItemOf(checks), nullptr);
}

namespace {

// A list on the second page of a skinned page control, adapted when the
// form showed with that page, and the user gone to the first page since.
class HiddenPageSkinChange : public adaptertest::ProvidedForm {
 protected:
  void SetUp() override {
    SetUpForm(420, 320);
    pages = Construct<TsPageControl>(form);
    pages->SetBounds(4, 4, 400, 280);
    pages->SetParent(form);
    TsTabSheet* first = AddPage<TsTabSheet>(pages, L"Папки");
    second = AddPage<TsTabSheet>(pages, L"Программы");
    list = Construct<TListBox>(form);
    list->SetBounds(8, 8, 200, 150);
    list->SetParent(second);
    for (int i = 0; i < 40; ++i) list->Items()->Add(L"Программа " + std::to_wstring(i));
    pages->SetActivePage(second);
    ShowAndPump(30);
    pages->SetActivePage(first);
    adaptertest::PumpFor(10);
  }

  TsPageControl* pages = nullptr;
  TsTabSheet* second = nullptr;
  TListBox* list = nullptr;
};

}  // namespace

// The skinned page control makes its window again when the skin goes; the
// hidden page's list gets its window back only when the page next shows.
TEST_F(HiddenPageSkinChange, AListOnAHiddenPageWearsItsAdapterWhenShownAfterTheSkinCameBack) {
  ASSERT_TRUE(list->HandleAllocated());
  ASSERT_FALSE(::IsWindowVisible(list->WindowHandle()));
  ASSERT_NE(::GetPropW(list->WindowHandle(), kAdapterProp), nullptr);

  manager->SetActive(false);
  adaptertest::PumpFor(10);
  manager->SetActive(true);
  adaptertest::PumpFor(20);
  pages->SetActivePage(second);
  adaptertest::PumpFor(20);

  ASSERT_TRUE(list->HandleAllocated());
  HWND wnd = list->WindowHandle();
  ASSERT_TRUE(::IsWindowVisible(wnd));
  EXPECT_NE(::GetPropW(wnd, kAdapterProp), nullptr);
  ASSERT_NE(provider->Adapter, nullptr);
  const TacAdapterItem* item = provider->Adapter->ItemOf(list);
  ASSERT_NE(item, nullptr);
  ASSERT_NE(item->ScrollWnd, nullptr);
  EXPECT_EQ(GetScrollWnd(wnd), item->ScrollWnd.get());
  ExpectPrintsTheSkinsImage(list, 0);
}
