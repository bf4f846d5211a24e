// The main window's hint manager: every hint of the program shows in its
// comics bubble with the main window's own settings.
#include <gtest/gtest.h>

#include "skin/controls/HintManager.h"
#include "skin/controls/HintWindows.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/HintDriver.h"

namespace {

TEST(MainFormHints, TheMainWindowsManagerDrawsEveryHint) {
  TMainForm* form = testenv::EnsureMainForm();
  ASSERT_NE(form->sHintManager1, nullptr);
  EXPECT_EQ(HintManager, form->sHintManager1);
  EXPECT_EQ(HintWindowClass, HintWindowClassOf<TsComicsHintWindow>());
  TsHintKind* k = form->sHintManager1->HintKind();
  EXPECT_EQ(k->Color, 1388541u);
  EXPECT_EQ(k->Transparency, 20);
  EXPECT_EQ(k->ShadowOffset, 13);
  EXPECT_EQ(k->MarginH, 13);
  EXPECT_EQ(k->MaxWidth, 240);
  EXPECT_EQ(form->sHintManager1->SkinSection, L"HINT");
  EXPECT_EQ(Application->HintHidePause, 5000);
}

TEST(MainFormHints, HoveringAHintedControlShowsItsHintInTheBubble) {
  TMainForm* form = testenv::EnsureMainForm();
  int pause = Application->HintPause;
  bool animated = form->sHintManager1->Animated;
  Application->HintPause = 1;
  form->sHintManager1->Animated = false;
  hinttest::MoveOnto(form->sCheckBox1);
  THintWindow* w = hinttest::WaitForHint();
  ASSERT_NE(w, nullptr) << "show " << Application->ShowHint() << " suspended "
                        << Application->HintsSuspended() << " mouse on box "
                        << (MouseControl() == form->sCheckBox1) << " manager "
                        << (HintManager == form->sHintManager1) << " class "
                        << (HintWindowClass == HintWindowClassOf<TsComicsHintWindow>());
  EXPECT_NE(dynamic_cast<TsComicsHintWindow*>(w), nullptr);
  wchar_t text[128] = {};
  GetWindowTextW(w->WindowHandle(), text, 128);
  EXPECT_STREQ(text, L"Сканирует и удаляет все временные файлы любой версии IE");
  hinttest::Leave(form->sCheckBox1);
  EXPECT_EQ(Application->Hints()->ShownWindow(), nullptr);
  Application->HintPause = pause;
  form->sHintManager1->Animated = animated;
}

}  // namespace
