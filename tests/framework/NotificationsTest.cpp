// The notifications the framework sends forms and controls: focus changes,
// accelerators, menu changes, the mouse wheel, and the control list.
#include <gtest/gtest.h>

#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/framework/FormTestSupport.h"
#include "tests/common/MenuBars.h"

namespace {

class NotificationsTest : public FormTest {
 protected:
  // Counts `msg` reaching `control`, keeping the last LParam.
  struct Counter {
    Counter(TControl* control, UINT msg)
        : hook(control, [this, msg](TMessage& m, const TWndMethod& next) {
            if (m.Msg == msg) {
              ++count;
              lParam = m.LParam;
              wParam = m.WParam;
            }
            next(m);
          }) {}
    int count = 0;
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    TWndProcHook hook;
  };
};

TEST_F(NotificationsTest, TheFormHearsOfEveryFocusChange) {
  auto* panel = Make<TPanel>(8, 8, 300, 100);
  auto* first = Construct<TEdit>(form);
  first->SetParent(panel);
  auto* second = Make<TEdit>(8, 150, 100, 21);
  form->Show();
  Counter focus(form, CM_FOCUSCHANGED);
  ::SetFocus(first->Handle());
  EXPECT_EQ(focus.count, 1);
  EXPECT_EQ(focus.lParam, reinterpret_cast<LPARAM>(first)) << "nested in a panel";
  ::SetFocus(second->Handle());
  EXPECT_EQ(focus.count, 2);
  EXPECT_EQ(focus.lParam, reinterpret_cast<LPARAM>(second));
}

TEST_F(NotificationsTest, AltAndALetterClicksTheButtonOrFocusesTheLabelsControl) {
  auto* panel = Make<TPanel>(8, 8, 300, 200);
  auto* button = Construct<TButton>(form);
  button->SetCaption(L"&Да");
  button->SetParent(panel);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  auto* edit = Make<TEdit>(8, 250, 100, 21);
  auto* label = Make<TLabel>(8, 220, 100, 16);
  label->SetCaption(L"&Имя");
  label->FocusControl = edit;
  form->Show();
  ::SetFocus(form->Handle());

  SendMessageW(form->Handle(), WM_SYSCHAR, L'д', 0x20000000);
  EXPECT_EQ(clicks, 1) << "the accelerator is found in any case, inside a panel";
  SendMessageW(form->Handle(), WM_SYSCHAR, L'И', 0x20000000);
  EXPECT_EQ(GetFocus(), edit->Handle());
  SendMessageW(edit->Handle(), WM_SYSCHAR, L'Д', 0x20000000);
  EXPECT_EQ(clicks, 2) << "from the focused control too";
  SendMessageW(form->Handle(), WM_SYSCHAR, L'ж', 0x20000000);
  EXPECT_EQ(clicks, 2);

  struct Case {
    const wchar_t* caption;
    wchar_t ch;
    bool accel;
  } cases[] = {{L"&Да", L'д', true}, {L"Д&а", L'а', true}, {L"&&Да", L'д', false},
               {L"Да", L'д', false},  {L"&", L'&', false}};
  for (const Case& c : cases) EXPECT_EQ(IsAccel(c.ch, c.caption), c.accel) << c.caption;
}

// As in a dialog, a bare letter typed on a control that takes no text (a
// button, a check box) reaches the accelerators; an edit keeps its letters.
TEST_F(NotificationsTest, ABareLetterReachesTheAcceleratorsUnlessTheFocusedControlTakesText) {
  auto* yes = Make<TButton>(8, 8, 75, 25);
  yes->SetCaption(L"&Да");
  auto* no = Make<TButton>(90, 8, 75, 25);
  no->SetCaption(L"&Нет");
  auto* check = Make<TCheckBox>(8, 40, 120, 17);
  check->SetCaption(L"Флажок");
  auto* edit = Make<TEdit>(8, 70, 100, 21);
  auto* label = Make<TLabel>(8, 100, 100, 16);
  label->SetCaption(L"&Имя");
  label->FocusControl = edit;
  int yesClicks = 0, noClicks = 0;
  yes->OnClick = [&](TObject*) { ++yesClicks; };
  no->OnClick = [&](TObject*) { ++noClicks; };
  form->Show();

  struct Case {
    const char* what;
    TWinControl* focused;
    UINT msg;
    wchar_t ch;
    int yes, no;          // clicks the letter gives
    const wchar_t* text;  // the edit's text afterwards
    TWinControl* focusAfter;
  };
  const Case cases[] = {
      {"button, letter of another button", no, WM_CHAR, L'д', 1, 0, L"", no},
      {"button, its own letter", no, WM_CHAR, L'Н', 0, 1, L"", no},
      {"check box, letter of a button", check, WM_CHAR, L'Д', 1, 0, L"", check},
      {"check box, no accelerator", check, WM_CHAR, L'ж', 0, 0, L"", check},
      {"check box, letter of a label", check, WM_CHAR, L'и', 0, 0, L"", edit},
      {"edit, letter of a button", edit, WM_CHAR, L'д', 0, 0, L"д", edit},
      {"edit, Alt and the letter", edit, WM_SYSCHAR, L'д', 1, 0, L"", edit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    edit->SetText(L"");
    ::SetFocus(c.focused->Handle());
    yesClicks = noClicks = 0;
    SendMessageW(c.focused->Handle(), c.msg, c.ch, c.msg == WM_SYSCHAR ? 0x20000000 : 0);
    EXPECT_EQ(yesClicks, c.yes);
    EXPECT_EQ(noClicks, c.no);
    EXPECT_EQ(edit->Text(), c.text);
    EXPECT_EQ(GetFocus(), c.focusAfter->Handle());
    EXPECT_FALSE(check->Checked()) << "a letter never toggles a check box without accelerator";
  }

  // Through the message loop (and its dialog-key handling) a letter clicks
  // once.
  ::SetFocus(check->Handle());
  yesClicks = 0;
  PostMessageW(check->Handle(), WM_CHAR, L'д', 0);
  Application->ProcessMessages();
  EXPECT_EQ(yesClicks, 1);
}

TEST_F(NotificationsTest, EnterClicksTheDefaultOrFocusedButtonAndEscTheCancelButton) {
  auto* panel = Make<TPanel>(8, 8, 300, 200);
  auto* edit = Construct<TEdit>(form);
  edit->SetParent(panel);
  edit->SetBounds(8, 8, 100, 21);
  auto* memo = Make<TMemo>(8, 220, 200, 60);
  auto* ok = Make<TButton>(320, 8, 75, 25);
  ok->SetDefault(true);
  auto* cancel = Make<TButton>(320, 40, 75, 25);
  cancel->Cancel = true;
  auto* other = Make<TButton>(320, 72, 75, 25);
  int oks = 0, cancels = 0, others = 0;
  ok->OnClick = [&](TObject*) { ++oks; };
  cancel->OnClick = [&](TObject*) { ++cancels; };
  other->OnClick = [&](TObject*) { ++others; };
  form->Show();
  auto press = [](TWinControl* c, WORD key) {
    ::SetFocus(c->Handle());
    ::SendMessageW(c->Handle(), WM_KEYDOWN, key, 1);
  };

  press(edit, VK_RETURN);
  EXPECT_EQ(oks, 1) << "Enter in an edit inside a panel";
  press(edit, VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
  press(other, VK_RETURN);
  EXPECT_EQ(others, 1) << "a focused button takes Enter itself";
  EXPECT_EQ(oks, 1);
  press(memo, VK_RETURN);
  EXPECT_EQ(oks, 1) << "a multi-line edit keeps its Enter";
  edit->OnKeyDown = [](TObject*, WORD& key, TShiftState) { key = 0; };
  press(edit, VK_RETURN);
  EXPECT_EQ(oks, 1) << "a key the control's handler took goes no further";
  edit->OnKeyDown = nullptr;
  ok->SetEnabled(false);
  press(edit, VK_RETURN);
  EXPECT_EQ(oks, 1) << "a disabled default button";
  EXPECT_EQ(cancels, 1);
}

TEST_F(NotificationsTest, TheFormHearsOfItsMenuChanging) {
  Counter menuChanged(form, CM_MENUCHANGED);
  TMainMenu* bar = testenv::MakeMenuBar(form, {{L"Файл", L"Открыть"}});
  TMenuItem* file = bar->Items()->Items(0);
  TMenuItem* open = file->Items(0);
  form->SetMenu(bar);
  int attached = menuChanged.count;
  EXPECT_GE(attached, 1);
  file->SetCaption(L"Документ");
  EXPECT_GT(menuChanged.count, attached) << "a top-level item";
  int before = menuChanged.count;
  open->SetCaption(L"Открыть...");
  EXPECT_GT(menuChanged.count, before) << "an item of a sub-menu";
}

TEST_F(NotificationsTest, TheWheelIsOfferedToTheControlFirst) {
  auto* panel = Make<TPanel>();
  Counter wheel(panel, CM_MOUSEWHEEL);
  Counter formWheel(form, WM_MOUSEWHEEL);
  SendMessageW(panel->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(20, 20));
  EXPECT_EQ(wheel.count, 1);
  EXPECT_EQ(HIWORD(wheel.wParam), WHEEL_DELTA);
  EXPECT_EQ(formWheel.count, 1) << "not taken: the parent gets it";

  TWndProcHook taker(panel, [](TMessage& m, const TWndMethod& next) {
    if (m.Msg == CM_MOUSEWHEEL) {
      m.Result = 1;
      return;
    }
    next(m);
  });
  SendMessageW(panel->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(20, 20));
  EXPECT_EQ(formWheel.count, 1) << "taken: the parent does not";
}

TEST_F(NotificationsTest, ControlListChangesReachTheForm) {
  auto* outer = Make<TPanel>();
  auto* inner = Construct<TPanel>(form);
  inner->SetParent(outer);
  Counter onForm(form, CM_CONTROLLISTCHANGE);
  auto* edit = Construct<TEdit>(form);
  edit->SetParent(inner);
  ASSERT_EQ(onForm.count, 1);
  EXPECT_EQ(onForm.wParam, reinterpret_cast<WPARAM>(edit));
  EXPECT_EQ(onForm.lParam, TRUE);
  edit->SetParent(nullptr);
  EXPECT_EQ(onForm.count, 2);
  EXPECT_EQ(onForm.lParam, FALSE);
  delete edit;
}

}  // namespace
