// Forms made by the application: the first is the main form and gets its
// window at once; a hidden form made after it gets its window when it first
// shows or its handle is first asked for.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {

class ApplicationFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    if (!Application->MainForm()) Application->CreateForm(ownMain_);
    ASSERT_NE(Application->MainForm(), nullptr);
  }
  void TearDown() override {
    delete ownMain_;  // the application forgets it as its main form
    Application->ProcessMessages();
  }
  TForm* ownMain_ = nullptr;
};

TEST_F(ApplicationFormsTest, TheMainFormHasItsWindowAtOnce) {
  if (!ownMain_) GTEST_SKIP() << "another test's main form is in place";
  EXPECT_TRUE(ownMain_->HandleAllocated());
}

TEST_F(ApplicationFormsTest, AHiddenLaterFormGetsItsWindowWhenItFirstShows) {
  TForm* form = nullptr;
  Application->CreateForm(form);
  TButton* button = Construct<TButton>(form);
  button->SetParent(form);
  int shown = 0;
  form->OnShow = [&](TObject*) { ++shown; };
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(button->HandleAllocated());

  form->Show();
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  EXPECT_EQ(1, shown);
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_EQ(form->WindowHandle(), GetParent(button->WindowHandle()));
  EXPECT_TRUE(IsWindowVisible(button->WindowHandle()));

  form->Hide();
  EXPECT_FALSE(IsWindowVisible(form->WindowHandle()));
  form->Show();
  EXPECT_EQ(2, shown);
  delete form;
}

TEST_F(ApplicationFormsTest, AskingForTheHandleMakesTheWindowHidden) {
  TForm* form = nullptr;
  Application->CreateForm(form);
  HWND wnd = form->Handle();
  ASSERT_TRUE(IsWindow(wnd));
  EXPECT_FALSE(IsWindowVisible(wnd));
  delete form;
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(ApplicationFormsTest, AVisibleLaterFormAndFormsMadeDirectlyHaveTheirWindowAtOnce) {
  class ShownForm : public TForm {
   public:
    explicit ShownForm(TComponent* owner) : TForm(owner) { SetVisible(true); }
  };
  ShownForm* shown = nullptr;
  Application->CreateForm(shown);
  ASSERT_TRUE(shown->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(shown->WindowHandle()));
  delete shown;

  TForm* direct = Construct<TForm>(Application);
  EXPECT_TRUE(direct->HandleAllocated());
  delete direct;
}

}  // namespace
