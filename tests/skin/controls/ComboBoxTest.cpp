// The skinned combo box: the button from "COMBOBTN" with its arrow, the
// selected text in the cache, dropping down and choosing by keyboard and
// mouse through the platform, one list adapter for a long list however
// often it opens, and the read-only mode.
#include <gtest/gtest.h>

#include "skin/controls/ComboBox.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class ComboBoxTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  TsComboBox* New(int items, TComboBoxStyle style = csDropDownList) {
    auto* c = Construct<TsComboBox>(form);
    c->SetParent(form);
    c->SetStyle(style);
    c->SetBounds(10, 10, 200, 21);
    for (int i = 0; i < items; ++i) c->Items()->Add(L"Скин " + std::to_wstring(i));
    c->OnChange = [this](TObject*) { ++changes; };
    return c;
  }
  void Focus(TWinControl* c) {
    ::SetForegroundWindow(form->Handle());
    c->SetFocus();
    PumpUntil([&] { return ::GetFocus() == c->Handle(); }, 2000);
  }
  // Opens the list and lets it paint (the list asks for its colours then).
  void DropAndPaint(TsComboBox* c) {
    ::SendMessageW(c->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    ::UpdateWindow(c->ListHandle());
    ::RedrawWindow(c->ListHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  }
  int changes = 0;
};

}  // namespace

// The arrow sits in the button; without the glyph only the button face is
// drawn, and without the button item the field shows under the arrow.
TEST_F(ComboBoxTest, PrintShowsTheButtonWithItsArrow) {
  TsComboBox* c = New(3);
  ASSERT_TRUE(c->SkinData->Skinned(true));
  TsCachedIndexes& ci = manager->CachedIndexes;
  // The internal skins draw no button of their own: give this one a
  // plain button section in a colour of its own.
  ASSERT_EQ(-1, ci.ComboBtnIndex);
  TsGeneralData button;
  button.SectionName = L"COMBOBTN";
  button.Color = button.HotColor = 0x2060C0;
  manager->gd.push_back(button);
  ci.ComboBtnIndex = static_cast<int>(manager->gd.size()) - 1;
  ASSERT_GE(ci.ComboGlyph, 0);
  const TRect b = c->ButtonRect();
  EXPECT_EQ(200 - ::GetSystemMetrics(SM_CXVSCROLL) - 3, b.left);
  EXPECT_EQ(197, b.right);
  EXPECT_EQ(3, b.top);
  EXPECT_EQ(18, b.bottom);
  auto full = PrintControl(c);
  const int glyph = ci.ComboGlyph;
  ci.ComboGlyph = -1;
  c->SkinData->BGChanged = true;
  auto noArrow = PrintControl(c);
  const int btn = ci.ComboBtnIndex;
  ci.ComboBtnIndex = -1;
  c->SkinData->BGChanged = true;
  auto noButton = PrintControl(c);
  ci.ComboGlyph = glyph;
  c->SkinData->BGChanged = true;
  auto arrowOnly = PrintControl(c);
  ci.ComboBtnIndex = btn;

  const TRect left{0, 0, b.left, 21};
  EXPECT_GT(CountDiffering(*full, *noArrow, b), 3) << "the arrow";
  EXPECT_EQ(0, CountDiffering(*full, *noArrow, left));
  EXPECT_GT(CountDiffering(*noArrow, *noButton, b), 3) << "the button face";
  EXPECT_EQ(0, CountDiffering(*noArrow, *noButton, left));
  EXPECT_GT(CountDiffering(*noButton, *arrowOnly, b), 3) << "the arrow over the field";
  // The button's face is the button section's; without it the field's.
  EXPECT_EQ(0x2060C0, Px(*noArrow, b.left + 2, 10));
  EXPECT_EQ(0x2060C0, Px(*full, b.left + 2, 10));
  EXPECT_NE(0x2060C0, Px(*noButton, b.left + 2, 10));
}

TEST_F(ComboBoxTest, SelectedTextIsDrawnIntoTheCacheWithTheAlignment) {
  TsComboBox* c = New(3);
  c->SetItemIndex(1);
  auto none = PrintControl(c);
  const TRect field{3, 3, c->ButtonRect().left, 18};
  const TColor font = ColorToRGB(c->Font()->Color());
  auto columnsWithText = [&](TBitmap& img) {
    int first = -1, last = -1;
    for (int x = field.left; x < field.right; ++x)
      for (int y = field.top; y < field.bottom; ++y)
        if (Px(img, x, y) == font) {
          if (first < 0) first = x;
          last = x;
        }
    return std::pair<int, int>{first, last};
  };
  const auto leftText = columnsWithText(*none);
  ASSERT_GE(leftText.first, 0) << "text in the font colour";
  EXPECT_LT(leftText.first, field.left + 4);
  c->SetAlignment(taRightJustify);
  auto right = PrintControl(c);
  const auto rightText = columnsWithText(*right);
  const int room = WidthOf(field) - (leftText.second - leftText.first);
  EXPECT_GT(rightText.first - leftText.first, room - 10);
  EXPECT_EQ(leftText.second - leftText.first, rightText.second - rightText.first);
  c->SetItemIndex(-1);
  auto empty = PrintControl(c);
  EXPECT_EQ(-1, columnsWithText(*empty).first);
}

// An owner-drawn combo box shows the skin's border and button, and in the
// field what the program draws for the selected item.
TEST_F(ComboBoxTest, OwnerDrawnFieldShowsTheProgramsDrawingOnTheSkinnedFace) {
  for (TComboBoxStyle style : {csOwnerDrawFixed, csOwnerDrawVariable}) {
    SCOPED_TRACE(style == csOwnerDrawFixed ? "fixed" : "variable");
    TsComboBox* c = New(3, style);
    constexpr TColor kDrawn = 0x00FF00;
    int drawnIndex = -2;
    TOwnerDrawState drawnState = 0;
    RECT drawnRect{};
    c->OnDrawItem = [&](TWinControl*, int index, RECT r, TOwnerDrawState state) {
      drawnIndex = index;
      drawnState = state;
      drawnRect = r;
      c->Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
      c->Canvas()->Brush()->SetColor(kDrawn);
      c->Canvas()->FillRect(r);
    };
    c->SetItemIndex(1);
    c->SkinData->BGChanged = true;
    auto shown = PrintControl(c);
    EXPECT_EQ(1, drawnIndex);
    EXPECT_TRUE(drawnState & odComboBoxEdit);
    const TRect b = c->ButtonRect();
    EXPECT_EQ(3, drawnRect.left);
    EXPECT_EQ(3, drawnRect.top);
    EXPECT_EQ(b.left, drawnRect.right);
    EXPECT_EQ(kDrawn, Px(*shown, 10, c->Height() / 2)) << "the program's drawing in the field";
    EXPECT_EQ(kDrawn, Px(*shown, b.left - 1, c->Height() / 2));
    // Border and button come from the skinned face, not from the drawing.
    TBitmap* cache = c->SkinData->CacheBmp.get();
    for (const POINT p : {POINT{1, 1}, POINT{c->Width() - 2, c->Height() - 2},
                          POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2}}) {
      EXPECT_NE(kDrawn, Px(*shown, p.x, p.y)) << p.x << "," << p.y;
      EXPECT_EQ(Px(*cache, p.x, p.y), Px(*shown, p.x, p.y)) << p.x << "," << p.y;
    }
    delete c;
  }
}

TEST_F(ComboBoxTest, DropsDownAndSelectsByKeyboardAndMouseFiringOnChange) {
  TsComboBox* c = New(5);
  c->SetItemIndex(0);
  Focus(c);
  ::SendMessageW(c->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(1, c->ItemIndex());
  EXPECT_EQ(1, changes);
  EXPECT_EQ(L"Скин 1", c->Text());

  ::SendMessageW(c->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(c->DroppedDown());
  EXPECT_TRUE(c->DroppedState());
  HWND list = c->ListHandle();
  ASSERT_TRUE(::IsWindowVisible(list));
  RECT item{};
  ::SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::SendMessageW(list, WM_MOUSEMOVE, 0, at);
  ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(list, WM_LBUTTONUP, 0, at);
  PumpUntil([&] { return !c->DroppedDown(); }, 2000);
  EXPECT_EQ(3, c->ItemIndex());
  EXPECT_EQ(2, changes);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_FALSE(c->DroppedState());
}

TEST_F(ComboBoxTest, TwentyDropDownsOfALongListMakeOneListAdapter) {
  TsComboBox* c = New(30);
  for (int i = 0; i < 20; ++i) {
    DropAndPaint(c);
    ::SendMessageW(c->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  }
  EXPECT_EQ(1, c->ListAdaptersMade());
  ASSERT_NE(nullptr, c->ListAdapter());
  EXPECT_EQ(c->ListHandle(), c->AdoptedList());
  EXPECT_EQ(c->ListAdapter(), GetScrollWnd(c->ListHandle()));
}

TEST_F(ComboBoxTest, AListThatFitsGetsNoAdapter) {
  TsComboBox* c = New(16);
  DropAndPaint(c);
  ::SendMessageW(c->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(0, c->ListAdaptersMade());
  EXPECT_EQ(nullptr, GetScrollWnd(c->ListHandle()));
  c->Items()->Add(L"Ещё один");
  DropAndPaint(c);
  ::SendMessageW(c->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(1, c->ListAdaptersMade());
}

TEST_F(ComboBoxTest, ReadOnlyIgnoresArrowKeysTypingAndClicks) {
  for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
    TsComboBox* c = New(5, style);
    c->SetItemIndex(2);
    c->SetReadOnly(true);
    changes = 0;
    Focus(c);
    HWND target = ::GetFocus();
    ::SendMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageW(target, WM_KEYDOWN, VK_UP, 0);
    ::SendMessageW(target, WM_CHAR, L'ж', 1);
    ::SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 10));
    ::SendMessageW(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(190, 10));
    EXPECT_FALSE(c->DroppedDown()) << style;
    EXPECT_EQ(2, c->ItemIndex()) << style;
    EXPECT_EQ(L"Скин 2", c->Text()) << style;
    EXPECT_EQ(0, changes) << style;
    int dbl = 0;
    c->OnDblClick = [&](TObject*) { ++dbl; };
    ::SendMessageW(c->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(190, 10));
    EXPECT_EQ(1, dbl);
    EXPECT_FALSE(c->DroppedDown()) << style;
    delete c;
  }
}

// A combo box that held back its painting while its parent was updating
// paints again when the parent says it has painted; that notice names no
// skin manager.
TEST_F(ComboBoxTest, PaintsWhenTheParentEndsItsUpdate) {
  TsComboBox* c = New(3);
  ::UpdateWindow(c->Handle());
  c->SkinData->Updating = true;  // as a paint while the parent updated left it
  ::ValidateRect(c->Handle(), nullptr);
  SendSkinCmd(c->Handle(), AC_ENDPARENTUPDATE, 0);
  EXPECT_FALSE(c->SkinData->Updating);
}
