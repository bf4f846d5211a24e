// The form hears once of each window subtree made into its standing window
// tree (a page first shown, a control added or recreated at run time), when
// the subtree is complete; windows made with the form's own are not named.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {

class WindowsMadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 300, 200);
    pages = Construct<TPageControl>(form);
    pages->SetBounds(0, 0, 280, 180);
    pages->SetParent(form);
    shown = AddPage();
    later = AddPage();
    panel = Construct<TPanel>(form);
    panel->SetParent(later);
    edit = Construct<TEdit>(form);
    edit->SetParent(panel);
    pages->SetActivePage(shown);
    watch = std::make_unique<TWndProcHook>(form, [this](TMessage& m, const TWndMethod& next) {
      if (m.Msg == CM_WINDOWSMADE) {
        auto* made = reinterpret_cast<TWinControl*>(m.LParam);
        // The whole subtree stands when the form hears of it.
        edits.push_back(made == later && edit->HandleAllocated());
        named.push_back(made);
      }
      next(m);
    });
    form->HandleNeeded();
  }
  void TearDown() override {
    watch.reset();
    delete form;
  }
  TTabSheet* AddPage() {
    auto* page = Construct<TTabSheet>(form);
    page->SetPageControl(pages);
    return page;
  }

  TForm* form = nullptr;
  TPageControl* pages = nullptr;
  TTabSheet* shown = nullptr;
  TTabSheet* later = nullptr;
  TPanel* panel = nullptr;
  TEdit* edit = nullptr;
  std::unique_ptr<TWndProcHook> watch;
  std::vector<TWinControl*> named;
  std::vector<bool> edits;
};

}  // namespace

TEST_F(WindowsMadeTest, TheFormsOwnWindowsAreNotNamed) {
  EXPECT_TRUE(pages->HandleAllocated());
  EXPECT_TRUE(named.empty());
}

TEST_F(WindowsMadeTest, APageFirstShownIsNamedOnceWithItsChildrenMade) {
  pages->SetActivePage(later);
  ASSERT_EQ(named, std::vector<TWinControl*>{later});
  EXPECT_TRUE(edits.front());
  // Shown again: nothing new is made.
  pages->SetActivePage(shown);
  pages->SetActivePage(later);
  EXPECT_EQ(named.size(), 1u);
}

TEST_F(WindowsMadeTest, AControlAddedOrRecreatedAtRunTimeIsNamed) {
  auto* button = Construct<TButton>(form);
  button->SetParent(shown);
  ASSERT_EQ(named, std::vector<TWinControl*>{button});
  button->RecreateWnd();
  EXPECT_EQ(named, (std::vector<TWinControl*>{button, button}));
}
