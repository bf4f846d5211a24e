// The control adapter over a form with one of each standard control: which
// adapter each control gets, the colours and pixels it then shows, and that
// everything goes back when the skin goes.
#include <gtest/gtest.h>

#include <typeinfo>

#include "framework/TreeView.h"
#include "framework/UpDown.h"
#include "skin/controls/Label.h"
#include "skin/engine/CommonData.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/ComboWnd.h"
#include "skin/windows/CtrlAdapter.h"
#include "skin/windows/EditWnd.h"
#include "skin/windows/GridWnd.h"
#include "skin/windows/GroupBoxWnd.h"
#include "tests/skin/windows/CtrlAdapterTestSupport.h"

using namespace adaptertest;
using skintest::Px;

namespace {

constexpr int kGdiMargin = 3;

// Controls of the framework's base classes that are none of the classes the
// forms place: the adapter goes by the base.
class TOwnListView : public TCustomListView {
 public:
  using TCustomListView::TCustomListView;
  const wchar_t* ClassName() const override { return L"TOwnListView"; }
};
class TOwnCheckBox : public TCustomCheckBox {
 public:
  using TCustomCheckBox::TCustomCheckBox;
  const wchar_t* ClassName() const override { return L"TOwnCheckBox"; }
};
class TOwnTreeView : public TCustomTreeView {
 public:
  using TCustomTreeView::TCustomTreeView;
  const wchar_t* ClassName() const override { return L"TOwnTreeView"; }
};

class CtrlAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    manager = InternalSkinManager();
    f = std::make_unique<StandardForm>();
    adapter = std::make_unique<TacCtrlAdapter>(f->form, manager.get());
  }
  void TearDown() override {
    adapter.reset();
    f.reset();
    manager.reset();
  }
  skintest::ManagerPtr manager;
  std::unique_ptr<StandardForm> f;
  std::unique_ptr<TacCtrlAdapter> adapter;
};

TEST_F(CtrlAdapterTest, EachStandardControlGetsTheAdapterOfItsClass) {
  adapter->AddAllItems();
  struct Case {
    TWinControl* control;
    const std::type_info& type;
    const wchar_t* section;
  };
  const Case cases[] = {
      {f->edit, typeid(TacEditWnd), L"EDIT"},         {f->memo, typeid(TacEditWnd), L"EDIT"},
      {f->list, typeid(TacEditWnd), L"EDIT"},         {f->view, typeid(TacListViewWnd), L"EDIT"},
      {f->drop, typeid(TacComboBoxWnd), L"EDIT"},     {f->dropList, typeid(TacComboBoxWnd), L"EDIT"},
      {f->button, typeid(TacBtnWnd), L"BUTTON"},      {f->bitBtn, typeid(TacBitBtnWnd), L"BUTTON"},
      {f->check, typeid(TacCheckBoxWnd), L"CHECKBOX"}, {f->group, typeid(TacGroupBoxWnd), L"GROUPBOX"},
      {f->grid, typeid(TacGridWnd), L"EDIT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control->ClassName());
    TacMainWnd* a = GetScrollWnd(c.control->WindowHandle());  // through "ACSBSC"
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(typeid(*a), c.type);
    EXPECT_EQ(a->SkinData->SkinSection(), c.section);
    ASSERT_NE(adapter->ItemOf(c.control), nullptr);
    EXPECT_EQ(adapter->ItemOf(c.control)->ScrollWnd.get(), a);
  }
  // Radio buttons and panels are not among the classes the walk adapts.
  EXPECT_EQ(GetScrollWnd(f->radio->WindowHandle()), nullptr);
  EXPECT_EQ(GetScrollWnd(f->panel->WindowHandle()), nullptr);
  EXPECT_EQ(adapter->Count(), 11);
  EXPECT_TRUE(f->label->Transparent());
  EXPECT_EQ(f->label->Font()->Color(), manager->GetGlobalFontColor());

  // A second walk keeps what is there.
  TacMainWnd* first = GetScrollWnd(f->edit->WindowHandle());
  adapter->AddAllItems();
  EXPECT_EQ(adapter->Count(), 11);
  EXPECT_EQ(GetScrollWnd(f->edit->WindowHandle()), first);
}

// A skinned label colours itself from the skin; the walk that makes plain
// labels transparent leaves it as it is, and gives it nothing back later.
TEST_F(CtrlAdapterTest, TheLabelRuleLeavesSkinnedLabelsAlone) {
  auto* skinned = Construct<TsLabel>(f->form);
  skinned->SetParent(f->form);
  skinned->SetTransparent(false);
  const TColor ownColour = skinned->Font()->Color();
  adapter->AddAllItems();
  EXPECT_TRUE(f->label->Transparent());
  EXPECT_FALSE(skinned->Transparent());
  EXPECT_EQ(skinned->Font()->Color(), ownColour);
  adapter.reset();
  EXPECT_FALSE(skinned->Transparent());
  EXPECT_EQ(skinned->Font()->Color(), ownColour);
}

TEST_F(CtrlAdapterTest, DescendantsOfTheCustomBasesGetTheAdapterOfTheirBase) {
  auto put = [&](TWinControl* c, int top) {
    c->SetParent(f->form);
    c->SetBounds(10, top, 150, 60);
    c->HandleNeeded();
    return c;
  };
  struct Case {
    TWinControl* control;
    const std::type_info& type;
    const wchar_t* section;
  };
  const Case cases[] = {
      {put(Construct<TOwnListView>(f->form), 340), typeid(TacListViewWnd), L"EDIT"},
      {put(Construct<TOwnCheckBox>(f->form), 340), typeid(TacCheckBoxWnd), L"CHECKBOX"},
      {put(Construct<TOwnTreeView>(f->form), 340), typeid(TacTreeViewWnd), L"EDIT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control->ClassName());
    EXPECT_TRUE(adapter->IsControlSupported(c.control));
    adapter->Add(c.control);
    TacMainWnd* a = GetScrollWnd(c.control->WindowHandle());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(typeid(*a), c.type);
    EXPECT_EQ(a->SkinData->SkinSection(), c.section);
  }
  // An up-down is not among the classes the adapter takes.
  TWinControl* spin = put(Construct<TUpDown>(f->form), 340);
  EXPECT_FALSE(adapter->IsControlSupported(spin));
}

TEST_F(CtrlAdapterTest, ColoursComeFromTheSectionAndGoBackWithTheSkin) {
  const TColor editColor = f->edit->Color(), editFont = f->edit->Font()->Color();
  const LRESULT viewBk = ::SendMessageW(f->view->WindowHandle(), LVM_GETBKCOLOR, 0, 0);
  const TColor fixed = f->grid->FixedColor();
  adapter->AddAllItems();
  ::RedrawWindow(f->form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const TsGeneralData& edit = SectionOf(*manager, L"EDIT");
  EXPECT_EQ(f->edit->Color(), edit.Color);
  EXPECT_EQ(f->edit->Font()->Color(), edit.HotFontColor[0]);
  EXPECT_EQ(f->list->Color(), edit.Color);
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(f->view->WindowHandle(), LVM_GETBKCOLOR, 0, 0)),
            ColorToRGB(edit.Color));
  EXPECT_EQ(f->grid->FixedColor(), manager->GetGlobalColor());

  const std::vector<TWinControl*> all = f->Windowed();
  adapter->RemoveAllItems();
  EXPECT_EQ(adapter->Count(), 0);
  for (TWinControl* c : all) {
    SCOPED_TRACE(c->ClassName());
    EXPECT_FALSE(c->HasHooks());
    EXPECT_EQ(::GetPropW(c->WindowHandle(), kAdapterProp), nullptr);
  }
  EXPECT_EQ(f->edit->Color(), editColor);
  EXPECT_EQ(f->edit->Font()->Color(), editFont);
  EXPECT_EQ(::SendMessageW(f->view->WindowHandle(), LVM_GETBKCOLOR, 0, 0), viewBk);
  EXPECT_EQ(f->grid->FixedColor(), fixed);
}

TEST_F(CtrlAdapterTest, FramesAndFacesPrintFromTheSkinImage) {
  adapter->AddAllItems();
  // Framed controls: the frame strips of the cache image; whole-face
  // controls: the whole image.
  struct Case {
    TWinControl* control;
    bool wholeFace;
  };
  for (Case c : {Case{f->edit, false}, Case{f->memo, false}, Case{f->list, false},
                 Case{f->view, false}, Case{f->grid, false}, Case{f->button, true},
                 Case{f->bitBtn, true}, Case{f->check, true}, Case{f->group, true}}) {
    SCOPED_TRACE(c.control->ClassName());
    HWND wnd = c.control->WindowHandle();
    auto image = Print(wnd);
    TacMainWnd* a = GetScrollWnd(wnd);
    ASSERT_NE(a, nullptr);
    TBitmap* cache = a->SkinData->CacheBmp.get();
    ASSERT_NE(cache, nullptr);
    ASSERT_EQ(cache->Width(), image->Width());
    const int h = image->Height(), w = image->Width();
    for (TPoint p : {TPoint{0, h / 2}, TPoint{w / 2, h - 1}}) {
      if (c.wholeFace && p.x == 0) p.x = 2;
      EXPECT_EQ(Px(*image, p.x, p.y), Px(*cache, p.x, p.y)) << p.x << "," << p.y;
      EXPECT_NE(Px(*image, p.x, p.y), 0x123456);
    }
  }
}

TEST_F(CtrlAdapterTest, AnItemWhoseWindowIsDestroyedLeavesTheList) {
  adapter->AddAllItems();
  const int before = adapter->Count();
  delete f->memo;
  f->memo = nullptr;
  EXPECT_EQ(adapter->Count(), before - 1);
  ::DestroyWindow(f->edit->WindowHandle());  // the window alone (the control stays)
  EXPECT_EQ(adapter->Count(), before - 2);
  EXPECT_EQ(adapter->ItemOf(f->edit), nullptr);
  // A skin change reaches only the items that are left.
  manager->SetSkinName(manager->InternalSkins()->Items(1)->Name());
  ::UpdateWindow(f->form->Handle());
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), reinterpret_cast<LPARAM>(manager.get()), 0};
  adapter->BroadcastMessage(m);
  EXPECT_EQ(adapter->Count(), before - 2);
}

TEST_F(CtrlAdapterTest, TheSkinItemEventCanRefuseAControlOrChangeItsSection) {
  adapter->OnSkinItem = [&](TControl* c, bool& canBeAdded, std::wstring& section) {
    if (c == f->edit) canBeAdded = false;
    if (c == f->memo) section = L"PANEL";
  };
  adapter->AddAllItems();
  EXPECT_EQ(GetScrollWnd(f->edit->WindowHandle()), nullptr);
  EXPECT_EQ(adapter->ItemOf(f->edit), nullptr);
  ASSERT_NE(adapter->ItemOf(f->memo), nullptr);
  EXPECT_EQ(adapter->ItemOf(f->memo)->SkinData->SkinSection(), L"PANEL");
  // A button gets its own section whatever the walk offered.
  EXPECT_EQ(adapter->ItemOf(f->button)->SkinData->SkinSection(), L"BUTTON");
}

TEST_F(CtrlAdapterTest, AControlWithoutParentGetsNoItemAndAPanelOnlyThroughAdd) {
  TEdit* loose = Construct<TEdit>(f->form);
  adapter->Add(loose);
  EXPECT_EQ(adapter->ItemOf(loose), nullptr);
  EXPECT_FALSE(adapter->IsControlSupported(loose));
  EXPECT_FALSE(adapter->IsControlSupported(f->panel));
  adapter->Add(f->panel);
  ASSERT_NE(adapter->ItemOf(f->panel), nullptr);
  EXPECT_EQ(adapter->ItemOf(f->panel)->SkinData->SkinSection(), L"PANEL");
}

TEST_F(CtrlAdapterTest, GdiObjectsStayOverFiftySkinChangesAndFiftyForms) {
  adapter->AddAllItems();
  std::vector<std::wstring> names;
  for (int i = 0; i < manager->InternalSkins()->Count(); ++i)
    names.push_back(manager->InternalSkins()->Items(i)->Name());
  auto change = [&](int i) {
    manager->SetSkinName(names[static_cast<size_t>(i) % names.size()]);
    ::RedrawWindow(f->form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The open list paints (and asks for its colours) every time.
    HWND combo = f->dropList->WindowHandle();
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (::GetComboBoxInfo(combo, &info)) ::UpdateWindow(info.hwndList);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    PumpFor(2);
  };
  for (int i = 0; i < 5; ++i) change(i);
  int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 50; ++i) change(i);
  // A leak of one object per change would show as 50. A busy machine can
  // leave one object of the platform's own (a caret, a pending paint) in
  // the count at either end, so a small margin stays.
  EXPECT_LE(GdiObjectCount(), before + kGdiMargin);

  adapter.reset();
  f.reset();
  auto cycle = [&] {
    StandardForm form(700);
    TacCtrlAdapter a(form.form, manager.get());
    a.AddAllItems();
    ::RedrawWindow(form.form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    delete form.edit;  // a control going while the skin is on
    form.edit = nullptr;
    EXPECT_EQ(a.ItemOf(nullptr), nullptr);
  };
  for (int i = 0; i < 3; ++i) cycle();
  before = GdiObjectCount();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_LE(GdiObjectCount(), before + kGdiMargin);
}

}  // namespace
