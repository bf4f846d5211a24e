// TShellTreeView over a fixture folder: folders listed when opened, in
// order, hidden ones and files only when asked for, paths of nodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ShellCtrls.h"
#include "tests/common/TestEnv.h"
#include "tests/framework/FormTestSupport.h"

namespace {

class ShellTreeTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    dir_.MakeDir(L"b");
    dir_.MakeDir(L"a\\a1");
    dir_.MakeDir(L"Скрытая");
    SetFileAttributesW((dir_ / L"Скрытая").c_str(), FILE_ATTRIBUTE_HIDDEN);
    dir_.WriteFile(L"file.txt", "x");
  }
  TShellTreeView* MakeTree() {
    auto* t = Make<TShellTreeView>();
    t->SetUseShellImages(false);
    t->SetRoot(dir_.Path());
    return t;
  }
  std::vector<std::wstring> Names(TShellTreeView* t, HTREEITEM node) {
    std::vector<std::wstring> out;
    for (HTREEITEM i : t->ChildNodes(node)) out.push_back(t->NodeText(i));
    return out;
  }
  HTREEITEM Top(TShellTreeView* t) { return t->ChildNodes(nullptr).at(0); }
  HTREEITEM Child(TShellTreeView* t, HTREEITEM node, const std::wstring& name) {
    for (HTREEITEM i : t->ChildNodes(node))
      if (t->NodeText(i) == name) return i;
    return nullptr;
  }
  testenv::ScopedTempDir dir_;
};

TEST_F(ShellTreeTest, RootListsItsVisibleFoldersInOrder) {
  TShellTreeView* t = MakeTree();
  ASSERT_EQ(t->ChildNodes(nullptr).size(), 1u);
  EXPECT_EQ(t->NodePath(Top(t)), dir_.Path());
  EXPECT_EQ(Names(t, Top(t)), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST_F(ShellTreeTest, SubfoldersAreListedOnlyWhenOpened) {
  TShellTreeView* t = MakeTree();
  HTREEITEM a = Child(t, Top(t), L"a");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(t->ChildNodes(a).empty());
  // The system's own expansion (a click on the button) lists them too.
  SendMessageW(t->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
  EXPECT_EQ(Names(t, a), (std::vector<std::wstring>{L"a1"}));
  HTREEITEM b = Child(t, Top(t), L"b");
  t->Expand(b);
  EXPECT_TRUE(t->ChildNodes(b).empty());
}

TEST_F(ShellTreeTest, HiddenFoldersAndFilesOnlyWhenAskedFor) {
  TShellTreeView* t = MakeTree();
  t->SetObjectTypes(otFolders | otNonFolders | otHidden);
  EXPECT_EQ(Names(t, Top(t)), (std::vector<std::wstring>{L"a", L"b", L"Скрытая", L"file.txt"}));
}

TEST_F(ShellTreeTest, PathOfTheSelectionAndSettingItOpensTheWay) {
  TShellTreeView* t = MakeTree();
  EXPECT_EQ(t->Path(), L"");
  int changes = 0;
  t->OnChange = [&](TObject*) { ++changes; };
  std::wstring target = dir_ / L"a\\a1";
  ASSERT_TRUE(t->SetPath(target + L"\\"));
  EXPECT_EQ(t->Path(), target);
  EXPECT_GE(changes, 1);
  EXPECT_FALSE(t->SetPath(dir_ / L"missing"));
  t->RecreateWnd();
  EXPECT_EQ(t->Path(), target);
}

TEST_F(ShellTreeTest, WithoutARootTheDrivesShowUnopened) {
  auto* t = Make<TShellTreeView>();
  t->SetUseShellImages(false);
  HTREEITEM c = nullptr;
  for (HTREEITEM i : t->ChildNodes(nullptr))
    if (t->NodePath(i) == L"C:\\") c = i;
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(t->ChildNodes(c).empty());
}

}  // namespace
