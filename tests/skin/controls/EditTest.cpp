// The skinned edit and memo: the border printed from the section, the text
// in the skin's colours, typing through the platform (Cyrillic included,
// past the system's default limit), the memo's adapter and events, and the
// bound label that follows its control.
#include <gtest/gtest.h>

#include "skin/controls/Edit.h"
#include "skin/controls/Memo.h"
#include "skin/engine/SkinData.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class EditTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  template <class T>
  T* New(int l, int t, int w, int h) {
    T* c = Construct<T>(form);
    c->SetParent(form);
    c->SetBounds(l, t, w, h);
    c->OnChange = [this](TObject*) { ++changes; };
    return c;
  }
  static void Type(TWinControl* c, const std::wstring& text) {
    for (wchar_t ch : text) ::SendMessageW(c->Handle(), WM_CHAR, ch, 1);
  }
  int changes = 0;
};

}  // namespace

TEST_F(EditTest, TypingChangesTextAndFiresOnChangeWithCyrillicIntact) {
  const std::wstring typed = L"Папка №1 ёЁ";
  auto* edit = New<TsEdit>(10, 10, 150, 21);
  auto* memo = New<TsMemo>(10, 40, 200, 100);
  for (TWinControl* c : std::vector<TWinControl*>{edit, memo}) {
    changes = 0;
    Type(c, typed);
    EXPECT_EQ(typed, c->Text()) << c->ClassName();
    EXPECT_EQ(static_cast<int>(typed.size()), changes) << c->ClassName();
  }
  edit->SetText(L"Корзина");
  EXPECT_EQ(L"Корзина", edit->Text());
}

// The framework lifts the system's limit of about 30,000 typed characters.
TEST_F(EditTest, TypingGoesOnPastThirtyThousandCharacters) {
  auto* memo = New<TsMemo>(10, 40, 200, 100);
  auto* edit = New<TsEdit>(10, 10, 150, 21);
  const std::wstring longText(40000, L'ж');
  for (TWinControl* c : std::vector<TWinControl*>{memo, edit}) {
    c->SetText(longText);
    ::SendMessageW(c->Handle(), EM_SETSEL, 40000, 40000);
    Type(c, L"Я");
    EXPECT_EQ(longText + L"Я", c->Text()) << c->ClassName();
  }
}

TEST_F(EditTest, PrintShowsTheSectionsBorderAndTheTextInTheSkinsColours) {
  auto* edit = New<TsEdit>(10, 10, 150, 21);
  edit->SetText(L"WWWWWW");
  ASSERT_TRUE(edit->SkinData->Skinned(true));
  const TsGeneralData& s = Sec(L"EDIT");
  auto img = PrintControl(edit);
  // The client area prints in the section's colours.
  EXPECT_EQ(s.Color, edit->Color());
  EXPECT_EQ(static_cast<TColor>(s.FontColor[0]), edit->Font()->Color());
  TBitmap& cache = *edit->SkinData->CacheBmp;
  ASSERT_EQ(150, cache.Width());
  // The two-pixel border is the skin's image on every side.
  for (int y = 0; y < 21; ++y)
    for (int x : {0, 1, 148, 149}) EXPECT_EQ(Px(cache, x, y), Px(*img, x, y)) << x << "," << y;
  for (int x = 0; x < 150; ++x)
    for (int y : {0, 1, 19, 20}) EXPECT_EQ(Px(cache, x, y), Px(*img, x, y)) << x << "," << y;
  // Inside, the section's face and the text in its font colour.
  EXPECT_EQ(ColorToRGB(s.Color), Px(*img, 140, 10));
  int text = 0;
  for (int y = 2; y < 19; ++y)
    for (int x = 2; x < 80; ++x) text += Px(*img, x, y) == ColorToRGB(s.FontColor[0]);
  EXPECT_GT(text, 20);
}

// A single border is Ctl3D + 1 wide: the system's frame and the skin's
// printed border both, the edit's own client area right inside it.
TEST_F(EditTest, SingleBorderIsCtl3DPlusOneWide) {
  const TsGeneralData& s = Sec(L"EDIT");
  for (bool ctl3D : {true, false}) {
    SCOPED_TRACE(ctl3D ? "3-D" : "flat");
    auto* edit = New<TsEdit>(10, 10, 150, 21);
    edit->SetCtl3D(ctl3D);
    const int d = ctl3D ? 2 : 1;
    EXPECT_EQ(d, edit->BorderWidth());
    RECT wr{};
    ::GetWindowRect(edit->Handle(), &wr);
    POINT client{0, 0};
    ::ClientToScreen(edit->Handle(), &client);
    EXPECT_EQ(d, client.x - wr.left) << "the system's frame";
    EXPECT_EQ(d, client.y - wr.top);
    auto img = PrintControl(edit);
    TBitmap& cache = *edit->SkinData->CacheBmp;
    for (int x = 0; x < d; ++x) {
      EXPECT_EQ(Px(cache, x, 10), Px(*img, x, 10)) << x;
      EXPECT_EQ(Px(cache, 149 - x, 10), Px(*img, 149 - x, 10)) << x;
    }
    EXPECT_EQ(ColorToRGB(s.Color), Px(*img, 149 - d, 10)) << "the client area starts inside";
    delete edit;
  }
}

// The printed image of a password edit holding "WWW" is the image of a
// plain edit holding "***".
TEST_F(EditTest, PasswordEditPrintsItsCharacterNeverTheText) {
  auto* plain = New<TsEdit>(10, 10, 150, 21);
  plain->SetText(L"***");
  auto* secret = New<TsEdit>(10, 10, 150, 21);
  ::SendMessageW(secret->Handle(), EM_SETPASSWORDCHAR, L'*', 0);
  secret->SetText(L"WWW");
  PrintControl(plain);
  PrintControl(secret);
  TBitmap& cache = *secret->SkinData->CacheBmp;
  int differ = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 150; ++x) differ += Px(cache, x, y) != Px(*plain->SkinData->CacheBmp, x, y);
  EXPECT_EQ(0, differ);
}

TEST_F(EditTest, WithoutASkinTheEditHasTheSystemColoursAndLook) {
  auto* edit = New<TsEdit>(10, 10, 150, 21);
  edit->SetText(L"Ab");
  manager->SetActive(false);
  EXPECT_FALSE(edit->SkinData->Skinned(true));
  EXPECT_EQ(clWindow, edit->Color());
  EXPECT_EQ(clWindowText, edit->Font()->Color());
  auto img = PrintControl(edit);
  EXPECT_EQ(ColorToRGB(clWindow), Px(*img, 140, 10));
}

TEST_F(EditTest, FocusSwitchesToTheHotColoursAndLeavingSwitchesBack) {
  auto* edit = New<TsEdit>(10, 10, 150, 21);
  auto* other = New<TsEdit>(10, 40, 150, 21);
  const TsGeneralData& s = Sec(L"EDIT");
  ::SetForegroundWindow(form->Handle());
  edit->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == edit->Handle(); }, 2000));
  ::RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(s.HotColor, edit->Color());
  EXPECT_EQ(static_cast<TColor>(s.HotFontColor[0]), edit->Font()->Color());
  other->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == other->Handle(); }, 2000));
  ::RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(s.Color, edit->Color());
}

TEST_F(EditTest, MemoHasItsEditAdapterAndFiresVScrollButNotHScroll) {
  auto* memo = New<TsMemo>(10, 40, 200, 100);
  memo->SetScrollBars(ssBoth);
  memo->SetWordWrap(false);
  ASSERT_NE(nullptr, memo->EditWnd());
  EXPECT_EQ(memo->Handle(), memo->EditWnd()->CtrlHandle);
  for (int i = 0; i < 40; ++i) memo->Lines()->Add(L"Строка " + std::to_wstring(i));
  ::SendMessageW(memo->Handle(), EM_SETSEL, 0, 0);
  ::SendMessageW(memo->Handle(), EM_SCROLLCARET, 0, 0);
  const LRESULT top = ::SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
  int v = 0;
  memo->OnVScroll = [&](TObject*) { ++v; };
  ::SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  ::SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  ::SendMessageW(memo->Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(2, v);
  EXPECT_EQ(top + 2, ::SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

TEST_F(EditTest, BoundLabelFollowsVisibilityEnablingAndPlace) {
  auto* edit = New<TsEdit>(120, 40, 100, 21);
  edit->SetName(L"sEdit3");
  edit->BoundLabel->SetActive(true);
  auto* label = dynamic_cast<TsEditLabel*>(edit->BoundLabel->Label());
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(L"sEdit3", label->Caption());
  const int gap = edit->Left() - (label->Left() + label->Width());
  EXPECT_EQ(4, gap);
  edit->SetLeft(200);
  EXPECT_EQ(4, edit->Left() - (label->Left() + label->Width()));
  edit->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  edit->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  edit->SetVisible(true);
  EXPECT_TRUE(label->Visible());
}

// A memo that comes into view with its parent paints its skinned scroll
// bars on the screen, not only the client area.
TEST_F(EditTest, MemoComingIntoViewPaintsItsScrollBarsOnTheScreen) {
  auto* holder = Construct<TGroupBox>(form);
  holder->SetParent(form);
  holder->SetBounds(0, 0, 300, 220);
  holder->SetVisible(false);
  auto* memo = Construct<TsMemo>(form);
  memo->SetParent(holder);
  memo->SetBounds(10, 20, 200, 150);
  memo->SetScrollBars(ssBoth);
  memo->HandleNeeded();
  holder->SetVisible(true);
  ::UpdateWindow(form->Handle());
  PumpFor(100);
  ASSERT_TRUE(memo->EditWnd());
  ASSERT_TRUE(memo->EditWnd()->VBar->Visible);
  auto screenAt = [&](int x, int y) {
    HDC dc = ::GetWindowDC(memo->Handle());
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(memo->Handle(), dc);
    return static_cast<TColor>(c);
  };
  auto printed = PrintControl(memo);
  for (const POINT p : {POINT{200 - 8, 75}, POINT{100, 150 - 8}}) {
    PumpUntil([&] { return screenAt(p.x, p.y) == Px(*printed, p.x, p.y); }, 2000);
    EXPECT_EQ(Px(*printed, p.x, p.y), screenAt(p.x, p.y)) << p.x << "," << p.y;
  }
}
