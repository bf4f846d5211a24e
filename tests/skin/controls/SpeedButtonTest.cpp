// The skinned speed button: group behaviour through the parent's mouse
// messages, the drop-down menu (opened, shown pressed, one at a time, marks
// cleared however it ends, hints given back, a button freed by its menu left
// alone), the drop-down part's width, the caption moved by TextOffset, and a
// new text alignment shown at once.
#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "framework/Menus.h"
#include "skin/controls/SpeedButton.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class SpeedButtonTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    Sec(L"SPEEDBUTTON").FadingEnabled = false;
  }
  TsSpeedButton* NewButton(int left, int group = 0) {
    auto* b = Construct<TsSpeedButton>(form);
    b->SetParent(form);
    b->SetBounds(left, 10, 60, 24);
    b->SetGroupIndex(group);
    return b;
  }
  void ClickAt(int x, int y) {
    HWND w = form->Handle();
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  // A new drop-down button at x 100 opens its menu on a click.
  bool AnotherButtonOpensItsMenu();
  TPopupMenu* NewMenu(bool withItem) {
    auto* popup = Construct<TPopupMenu>(form);
    if (withItem) {
      auto* item = Construct<TMenuItem>(popup);
      item->SetCaption(L"Открыть");
      popup->Items()->Add(item);
    }
    return popup;
  }
};

// What a menu timer saw while the drop-down menu was open.
struct MenuSeen {
  bool opened = false;
  bool buttonMarked = false;
  bool pressed = false;
};
MenuSeen* seen = nullptr;
TsSpeedButton* watched = nullptr;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  seen->opened = true;
  seen->buttonMarked = DropDownButton == watched && watched->MenuShown();
  seen->pressed = watched->CurrentState() == 2;
  ::EndMenu();
}

bool SpeedButtonTest::AnotherButtonOpensItsMenu() {
  TsSpeedButton* other = NewButton(100);
  other->SetButtonStyle(tbsDropDown);
  other->SetDropdownMenu(NewMenu(true));
  MenuSeen s;
  seen = &s;
  watched = other;
  ::SetTimer(nullptr, 0, 30, CloseMenu);
  ClickAt(105, 20);
  return s.opened;
}

// A speed button whose memory stays reserved and filled with a pattern once
// it is freed, so writes to it after its destruction show.
class WatchedMemoryButton : public TsSpeedButton {
 public:
  using TsSpeedButton::TsSpeedButton;
  static constexpr unsigned char kFreed = 0xAB;
  alignas(std::max_align_t) static inline unsigned char storage[4096];
  static inline size_t size = 0;
  static void* operator new(size_t n) {
    if (n > sizeof(storage)) throw std::bad_alloc();
    size = n;
    return storage;
  }
  static void operator delete(void* p, size_t n) { std::memset(p, kFreed, n); }
  static bool StillFreed() {
    for (size_t i = 0; i < size; ++i)
      if (storage[i] != kFreed) return false;
    return true;
  }
};

}  // namespace

TEST_F(SpeedButtonTest, GroupKeepsOneButtonDown) {
  TsSpeedButton* a = NewButton(10, 1);
  TsSpeedButton* b = NewButton(80, 1);
  ClickAt(20, 20);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(2, a->CurrentState());
  ClickAt(90, 20);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_NE(2, a->CurrentState());
}

TEST_F(SpeedButtonTest, DropDownOpensItsMenuShowingPressedAndClearsTheMarksAfter) {
  TsSpeedButton* b = NewButton(10);
  b->SetButtonStyle(tbsDropDown);
  b->SetDropdownMenu(NewMenu(true));
  MenuSeen s;
  seen = &s;
  watched = b;
  ::SetTimer(nullptr, 0, 30, CloseMenu);
  ClickAt(15, 20);  // without OnClick a press anywhere opens the menu
  EXPECT_TRUE(s.opened);
  EXPECT_TRUE(s.buttonMarked);
  EXPECT_TRUE(s.pressed);
  EXPECT_FALSE(b->MenuShown());
  EXPECT_EQ(nullptr, DropDownButton);
  EXPECT_NE(2, b->CurrentState());
}

TEST_F(SpeedButtonTest, WithOnClickOnlyTheArrowPartOpensTheMenu) {
  TsSpeedButton* b = NewButton(10);
  b->SetButtonStyle(tbsDropDown);
  b->SetDropdownMenu(NewMenu(true));
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  MenuSeen s;
  seen = &s;
  watched = b;
  ClickAt(15, 20);
  EXPECT_EQ(1, clicks);
  ::SetTimer(nullptr, 0, 30, CloseMenu);
  ClickAt(10 + b->Width() - 5, 20);
  EXPECT_TRUE(s.opened);
  EXPECT_EQ(1, clicks);
}

TEST_F(SpeedButtonTest, AMenuThatCannotShowLeavesNoMarks) {
  TsSpeedButton* b = NewButton(10);
  b->SetButtonStyle(tbsDropDown);
  b->SetDropdownMenu(NewMenu(false));  // an empty menu does not open
  ClickAt(15, 20);
  EXPECT_FALSE(b->MenuShown());
  EXPECT_EQ(nullptr, DropDownButton);
  // A second button can open its menu afterwards.
  EXPECT_TRUE(AnotherButtonOpensItsMenu());
}

// The menu takes the button's release, so no MouseUp gives the hints back:
// the drop-down path does it itself, also when the menu cannot show or
// another one is showing.
TEST_F(SpeedButtonTest, DropDownPressGivesTheHintsBack) {
  struct Case {
    const wchar_t* what;
    bool menuItem;
  } cases[] = {{L"menu shown", true}, {L"empty menu", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TsSpeedButton* b = NewButton(10);
    b->SetButtonStyle(tbsDropDown);
    b->SetDropdownMenu(NewMenu(c.menuItem));
    Application->SetShowHint(true);
    for (int press = 0; press < 2; ++press) {
      MenuSeen s;
      seen = &s;
      watched = b;
      if (c.menuItem) ::SetTimer(nullptr, 0, 30, CloseMenu);
      // Only the press: the menu's loop eats the release.
      ::SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 20));
      EXPECT_EQ(c.menuItem, s.opened);
      EXPECT_TRUE(Application->ShowHint()) << "after press " << press + 1;
    }
    delete b;
  }
}

// The menu's OnPopup may free the button; the drop-down's clean-up must not
// write to it afterwards, yet still clear the shared marks and the hints.
TEST_F(SpeedButtonTest, ButtonFreedByItsMenuIsNotTouchedAfterwards) {
  auto* b = Construct<WatchedMemoryButton>(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 60, 24);
  b->SetButtonStyle(tbsDropDown);
  TPopupMenu* menu = NewMenu(false);
  b->SetDropdownMenu(menu);
  bool freed = false;
  menu->OnPopup = [&](TObject*) {
    delete b;
    freed = true;
  };
  Application->SetShowHint(true);
  ::SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 20));
  ASSERT_TRUE(freed);
  EXPECT_TRUE(WatchedMemoryButton::StillFreed()) << "the freed button was written to";
  EXPECT_EQ(nullptr, DropDownButton);
  EXPECT_TRUE(Application->ShowHint());
  // The showing mark is off: another button opens its menu.
  EXPECT_TRUE(AnotherButtonOpensItsMenu());
}

TEST_F(SpeedButtonTest, DropDownPartWidensAndNarrowsByItsWidth) {
  TsSpeedButton* b = NewButton(10);
  b->SetButtonStyle(tbsDropDown);
  EXPECT_EQ(60 + 16, b->Width());
  b->SetButtonStyle(tbsButton);
  EXPECT_EQ(60, b->Width());
}

TEST_F(SpeedButtonTest, TextOffsetMovesTheCaptionOnly) {
  TsSpeedButton* b = NewButton(10);
  b->SetCaption(L"Пуск");
  const TRect before = b->CaptionRect();
  b->SetTextOffset(5);
  const TRect after = b->CaptionRect();
  EXPECT_EQ(before.left + 5, after.left);
  EXPECT_EQ(before.right + 5, after.right);
}

TEST_F(SpeedButtonTest, ANewTextAlignmentShowsAtOnce) {
  TsSpeedButton* b = NewButton(10);
  b->SetBounds(10, 10, 120, 50);
  b->SetCaption(L"A\nWWWWWW");  // lines of different widths
  auto centred = PaintGraphic(b);
  b->SetTextAlignment(taLeftJustify);
  auto left = PaintGraphic(b);
  int differ = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 120; ++x) differ += Px(*centred, x, y) != Px(*left, x, y);
  EXPECT_GT(differ, 0);
}
