// Grid and virtual-tree adapters on controls of other libraries, stood in
// for by test controls that publish the same properties by name.
#include <gtest/gtest.h>

#include <typeinfo>

#include "skin/engine/CommonData.h"
#include "skin/engine/PublishedProps.h"
#include "skin/windows/CtrlAdapter.h"
#include "skin/windows/GridWnd.h"
#include "tests/common/Place.h"
#include "tests/skin/windows/CtrlAdapterTestSupport.h"

using namespace adaptertest;

namespace {

// A grid with the colour properties of the data-aware grids.
class TTestEhGrid : public TStringGrid {
 public:
  using TStringGrid::TStringGrid;
  const wchar_t* ClassName() const override { return L"TDBGridEh"; }
  TFont TitleFont;
  TColor FooterColor = clBtnFace, FooterCellColor = clWindow, TitleColor = clBtnFace;
  TColor IndicatorIconColor = clWindowText;
};

// A control publishing "OptionsEh" that is no framework grid.
class TTestEhControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  const wchar_t* ClassName() const override { return L"TTestEhControl"; }
};

class TTestVetColors : public TPersistent {
 public:
  TColor Compressed = clBlue, File = clWindowText, Folder = clWindowText;
};
class TTestHeader : public TPersistent {
 public:
  long long Options = 2;  // hoVisible
};
class TTestVirtualTree : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  const wchar_t* ClassName() const override { return L"TVirtualStringTree"; }
  TTestVetColors Colors;
  TTestHeader Header;
};

void PublishTestControls() {
  static const bool done = [] {
    auto colour = [](const wchar_t* name, TColor TTestEhGrid::*field) {
      PublishOrdinal<TTestEhGrid>(
          name, [field](TTestEhGrid* g) { return static_cast<long long>(g->*field); },
          [field](TTestEhGrid* g, long long v) { g->*field = static_cast<TColor>(v); });
    };
    colour(L"FooterColor", &TTestEhGrid::FooterColor);
    colour(L"FooterCellColor", &TTestEhGrid::FooterCellColor);
    colour(L"TitleColor", &TTestEhGrid::TitleColor);
    colour(L"IndicatorIconColor", &TTestEhGrid::IndicatorIconColor);
    PublishObject<TTestEhGrid>(L"TitleFont", [](TTestEhGrid* g) -> TObject* { return &g->TitleFont; });
    PublishOrdinal<TTestEhControl>(L"OptionsEh", [](TTestEhControl*) { return 0LL; });
    auto vet = [](const wchar_t* name, TColor TTestVetColors::*field) {
      PublishOrdinal<TTestVetColors>(
          name, [field](TTestVetColors* c) { return static_cast<long long>(c->*field); },
          [field](TTestVetColors* c, long long v) { c->*field = static_cast<TColor>(v); });
    };
    vet(L"CompressedTextColor", &TTestVetColors::Compressed);
    vet(L"FileTextColor", &TTestVetColors::File);
    vet(L"FolderTextColor", &TTestVetColors::Folder);
    PublishObject<TTestVirtualTree>(L"VETColors",
                                    [](TTestVirtualTree* t) -> TObject* { return &t->Colors; });
    PublishObject<TTestVirtualTree>(L"Header",
                                    [](TTestVirtualTree* t) -> TObject* { return &t->Header; });
    PublishSet<TTestHeader>(
        L"Options", {L"hoOwnerDraw", L"hoVisible"}, [](TTestHeader* h) { return h->Options; },
        [](TTestHeader* h, long long v) { h->Options = v; });
    return true;
  }();
  (void)done;
}

class GridAdapters : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    PublishTestControls();
    manager = InternalSkinManager();
    form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 500, 300);
    grid = testenv::Place<TTestEhGrid>(form, form, 10, 10, 200, 120);
    eh = testenv::Place<TTestEhControl>(form, form, 220, 10, 100, 100);
    tree = testenv::Place<TTestVirtualTree>(form, form, 330, 10, 150, 150);
    form->HandleNeeded();
    for (TWinControl* c : std::initializer_list<TWinControl*>{grid, eh, tree}) c->HandleNeeded();
    ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    adapter = std::make_unique<TacCtrlAdapter>(form, manager.get());
  }
  void TearDown() override {
    adapter.reset();
    delete form;
    manager.reset();
  }
  skintest::ManagerPtr manager;
  TForm* form = nullptr;
  TTestEhGrid* grid = nullptr;
  TTestEhControl* eh = nullptr;
  TTestVirtualTree* tree = nullptr;
  std::unique_ptr<TacCtrlAdapter> adapter;
};

TEST_F(GridAdapters, ForeignClassesGetTheirAdaptersByClassAndPublishedName) {
  adapter->AddAllItems();
  TacMainWnd* g = GetScrollWnd(grid->WindowHandle());
  TacMainWnd* e = GetScrollWnd(eh->WindowHandle());
  TacMainWnd* t = GetScrollWnd(tree->WindowHandle());
  ASSERT_TRUE(g && e && t);
  EXPECT_EQ(typeid(*g), typeid(TacGridWnd));  // a framework grid first of all
  EXPECT_EQ(typeid(*e), typeid(TacGridEhWnd));
  EXPECT_EQ(typeid(*t), typeid(TacVirtualTreeViewWnd));
}

TEST_F(GridAdapters, GridColoursAreSetFromTheSkinAndPutBack) {
  grid->TitleFont.SetColor(clRed);
  const TColor fixed = grid->FixedColor();
  adapter->AddAllItems();
  ::RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const TsGeneralData& global = SectionOf(*manager, L"GLOBALINFO");
  EXPECT_EQ(grid->FixedColor(), manager->GetGlobalColor());
  EXPECT_EQ(grid->TitleFont.Color(), manager->GetGlobalFontColor());
  EXPECT_EQ(grid->FooterColor, global.Color);
  EXPECT_EQ(grid->FooterCellColor, global.Color);
  EXPECT_EQ(grid->TitleColor, global.Color);
  EXPECT_EQ(grid->IndicatorIconColor,
            static_cast<TColor>(SectionOf(*manager, L"EDIT").FontColor[0]));
  adapter->RemoveAllItems();
  EXPECT_EQ(grid->FixedColor(), fixed);
  EXPECT_EQ(grid->TitleFont.Color(), clRed);
  EXPECT_EQ(grid->FooterColor, clBtnFace);
  EXPECT_EQ(grid->FooterCellColor, clWindow);
  EXPECT_EQ(grid->TitleColor, clBtnFace);
  EXPECT_EQ(grid->IndicatorIconColor, clWindowText);
}

TEST_F(GridAdapters, TreeTextColoursAndOwnerDrawnHeaderComeAndGoWithTheSkin) {
  adapter->AddAllItems();
  ::RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const auto hot = static_cast<TColor>(SectionOf(*manager, L"EDIT").HotFontColor[0]);
  EXPECT_EQ(tree->Colors.Compressed, hot);
  EXPECT_EQ(tree->Colors.File, hot);
  EXPECT_EQ(tree->Colors.Folder, hot);
  EXPECT_EQ(tree->Header.Options, 3);  // hoOwnerDraw added, hoVisible kept
  adapter->RemoveAllItems();
  EXPECT_EQ(tree->Colors.Compressed, clBlue);
  EXPECT_EQ(tree->Colors.File, clWindowText);
  EXPECT_EQ(tree->Header.Options, 2);
}

}  // namespace
