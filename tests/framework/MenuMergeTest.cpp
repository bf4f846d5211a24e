// Merging one main menu's top-level items into another's bar by group
// index, in the item list and in the bar's menu handle, and an MDI child's
// menu shown in its main form's bar while the child is active.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/common/MenuBars.h"

namespace {

struct Top {
  const wchar_t* caption;
  int group;
};

// Each top-level item has one item under it, named after it with " 1".
TMainMenu* MakeMenu(TComponent* owner, std::initializer_list<Top> items) {
  std::vector<testenv::MenuTop> tops;
  for (const Top& t : items) tops.push_back({t.caption, std::wstring(t.caption) + L" 1", t.group});
  return testenv::MakeMenuBar(owner, tops);
}

std::wstring Captions(const std::vector<TMenuItem*>& items) {
  std::wstring s;
  for (TMenuItem* i : items) s += (s.empty() ? L"" : L",") + i->Caption();
  return s;
}

// The texts of a bar's items, the system's picture items left out.
std::wstring BarTexts(HMENU bar) {
  std::wstring s;
  for (int p = 0; p < ::GetMenuItemCount(bar); ++p) {
    wchar_t text[64] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING | MIIM_FTYPE;
    mii.dwTypeData = text;
    mii.cch = 64;
    ::GetMenuItemInfoW(bar, static_cast<UINT>(p), TRUE, &mii);
    if (mii.fType & MFT_BITMAP) continue;
    s += (s.empty() ? L"" : L",") + std::wstring(text);
  }
  return s;
}

class MenuMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    owner = Construct<TComponent>(nullptr);
  }
  void TearDown() override { delete owner; }
  TComponent* owner = nullptr;
};

}  // namespace

TEST_F(MenuMergeTest, MergedItemsReplaceTheirGroupAndGoAmongTheOthersByGroup) {
  struct Case {
    const char* name;
    std::initializer_list<Top> merged;
    const wchar_t* expected;
  };
  // The main menu: Файл (0), Правка (1), Окно (5), Справка (9).
  const Case cases[] = {
      {"nothing merged", {}, L"Файл,Правка,Окно,Справка"},
      {"replaces its group", {{L"Изменить", 1}}, L"Файл,Изменить,Окно,Справка"},
      {"goes between groups", {{L"Вид", 3}}, L"Файл,Правка,Вид,Окно,Справка"},
      {"goes last", {{L"Ещё", 10}}, L"Файл,Правка,Окно,Справка,Ещё"},
      {"two of one group replace one",
       {{L"Вид", 1}, {L"Формат", 1}},
       L"Файл,Вид,Формат,Окно,Справка"},
      {"several groups",
       {{L"Документ", 0}, {L"Вид", 3}, {L"Помощь", 9}},
       L"Документ,Правка,Вид,Окно,Помощь"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMainMenu* main =
        MakeMenu(owner, {{L"Файл", 0}, {L"Правка", 1}, {L"Окно", 5}, {L"Справка", 9}});
    TMainMenu* child = MakeMenu(owner, c.merged);
    HMENU bar = main->Handle();
    main->Merge(child);
    EXPECT_EQ(main->Merged(), child);
    EXPECT_EQ(child->MergedInto(), main);
    EXPECT_EQ(Captions(main->BarItems()), c.expected);
    EXPECT_EQ(BarTexts(bar), c.expected);
    // The merged menu keeps its own items.
    EXPECT_EQ(child->Items()->Count(), static_cast<int>(c.merged.size()));
    main->Unmerge(child);
    EXPECT_EQ(main->Merged(), nullptr);
    EXPECT_EQ(child->MergedInto(), nullptr);
    EXPECT_EQ(BarTexts(bar), L"Файл,Правка,Окно,Справка");
    delete child;
    delete main;
  }
}

TEST_F(MenuMergeTest, UnmergingAnotherMenuOrFreeingTheMergedOneLeavesNoTrace) {
  TMainMenu* main = MakeMenu(owner, {{L"Файл", 0}, {L"Окно", 5}});
  TMainMenu* a = MakeMenu(owner, {{L"Вид", 3}});
  TMainMenu* b = MakeMenu(owner, {{L"Формат", 3}});
  HMENU bar = main->Handle();
  main->Merge(a);
  main->Unmerge(b);  // not the merged one: nothing changes
  EXPECT_EQ(BarTexts(bar), L"Файл,Вид,Окно");
  main->Merge(b);  // one at a time
  EXPECT_EQ(a->MergedInto(), nullptr);
  EXPECT_EQ(BarTexts(bar), L"Файл,Формат,Окно");
  // A change of the merged menu reaches the bar.
  b->Items()->Items(0)->SetCaption(L"Формат2");
  EXPECT_EQ(BarTexts(bar), L"Файл,Формат2,Окно");
  delete b;
  EXPECT_EQ(main->Merged(), nullptr);
  EXPECT_EQ(BarTexts(bar), L"Файл,Окно");
  delete a;
  delete main;
}
