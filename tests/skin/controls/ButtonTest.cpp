// The skinned push buttons: the three looks from the border image's cells as
// the mouse moves over, presses and releases outside, clicks by mouse and
// space key, the disabled blend, the window region from the border image,
// the Down state, the layout arithmetic and GDI objects over many fades.
#include <gtest/gtest.h>

#include "skin/controls/BitBtn.h"
#include "skin/controls/Button.h"
#include "skin/engine/PaintPrimitives.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

constexpr TColor kCell[3] = {0x0000C0, 0x00C000, 0xC00000};  // normal, hot, pressed

class ButtonTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    Sec(L"BUTTON").FadingEnabled = false;
    // A border image of three solid cells whose top-left pixel is
    // transparent, so each look and the region are known.
    mask_ = AddMask(*manager, L"BUTTON", L"BORDERSMASK", 12, 12, 3, 4,
                    [](int x, int y, int cell) { return x == 0 && y == 0 ? clFuchsia : kCell[cell]; });
  }
  template <class T = TsButton>
  T* NewButton() {
    auto* b = Construct<T>(form);
    b->SetParent(form);
    b->SetBounds(20, 20, 80, 30);
    b->SetCaption(L"Ок");
    b->SkinData->BorderIndex = mask_;
    b->SkinData->BGChanged = true;
    b->OnClick = [this](TObject*) { ++clicks; };
    return b;
  }
  static TColor Corner(TWinControl* b) { return Px(*PrintControl(b), 2, 1); }
  static void Send(TWinControl* b, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    ::SendMessageW(b->Handle(), msg, wp, lp);
  }
  int mask_ = -1;
  int clicks = 0;
};

}  // namespace

TEST_F(ButtonTest, OverPressedAndReleasedOutsideShowTheThreeCells) {
  TsButton* b = NewButton();
  EXPECT_EQ(kCell[0], Corner(b));
  b->Perform(CM_MOUSEENTER);
  EXPECT_EQ(1, b->CurrentState());
  EXPECT_EQ(kCell[1], Corner(b));
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(2, b->CurrentState());
  EXPECT_EQ(kCell[2], Corner(b));
  Send(b, WM_LBUTTONUP, 0, MAKELPARAM(-20, 50));
  EXPECT_EQ(0, clicks);
  EXPECT_NE(2, b->CurrentState());
  EXPECT_NE(kCell[2], Corner(b));
}

TEST_F(ButtonTest, ClickComesOnceFromTheMouseAndFromBmClick) {
  TsButton* b = NewButton();
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  Send(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(1, clicks);
  Send(b, BM_CLICK);
  EXPECT_EQ(2, clicks);
  // The system button never reached its own pushed state.
  EXPECT_EQ(0u, b->Perform(BM_GETSTATE) & BST_PUSHED);
}

TEST_F(ButtonTest, SpaceHoldsTheButtonAndClicksOnRelease) {
  TsButton* b = NewButton();
  b->SetFocus();
  Send(b, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(kCell[2], Corner(b));
  Send(b, WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));  // a repeat
  Send(b, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(1, clicks);
  EXPECT_FALSE(b->Down());
}

TEST_F(ButtonTest, DownKeepsThePressedCellAndHotTextUntilCleared) {
  TsBitBtn* b = NewButton<TsBitBtn>();
  b->SetDown(true);
  EXPECT_EQ(2, b->CurrentState());
  // A driver from outside the process reads the held state as usual.
  EXPECT_NE(0, ::SendMessageW(b->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(kCell[2], Corner(b));
  // Held with the mouse outside, it does not look held.
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_NE(2, b->CurrentState());
  Send(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  b->SetDown(false);
  EXPECT_EQ(kCell[1], Corner(b));  // the press gave it the focus
  ::SetFocus(form->Handle());
  EXPECT_EQ(kCell[0], Corner(b));
}

TEST_F(ButtonTest, DisabledButtonIsBlendedWithWhatLiesBehindIt) {
  TsButton* b = NewButton();
  const TColor enabled = Px(*PrintControl(b), 6, 6);
  const TColor behind = ColorToRGB(form->Color());
  ASSERT_NE(enabled, behind);
  b->SetEnabled(false);
  b->SkinData->BGChanged = true;
  const TColor disabled = Px(*PrintControl(b), 6, 6);
  EXPECT_NE(enabled, disabled);
  for (int shift : {0, 8, 16}) {
    const int e = (enabled >> shift) & 0xFF, p = (behind >> shift) & 0xFF;
    const int d = (disabled >> shift) & 0xFF;
    EXPECT_GE(d, std::min(e, p)) << shift;
    EXPECT_LE(d, std::max(e, p)) << shift;
  }
}

// OnPaint draws on the finished image: what it draws is not blended by the
// disabled look.
TEST_F(ButtonTest, BitButtonOnPaintDrawsOverTheDisabledLook) {
  constexpr TColor kMark = 0x00FF00;
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled ? "enabled" : "disabled");
    auto* b = NewButton<TsBitBtn>();
    b->OnPaint = [](TObject*, TBitmap* bmp) {
      FillDC(bmp->Canvas()->Handle(), TRect{10, 10, 20, 20}, kMark);
    };
    b->SetEnabled(enabled);
    b->SkinData->BGChanged = true;
    auto img = PrintControl(b);
    EXPECT_EQ(kMark, Px(*img, 15, 15));
    EXPECT_NE(kMark, Px(*img, 30, 15));
    delete b;
  }
}

TEST_F(ButtonTest, RegionLeavesOutTheTransparentCornerPixelsUntilTheSkinGoes) {
  TsButton* b = NewButton();
  ::RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, ::GetWindowRgn(b->Handle(), rgn.get()));
  EXPECT_FALSE(::PtInRegion(rgn.get(), 0, 0));
  EXPECT_TRUE(::PtInRegion(rgn.get(), 1, 0));
  EXPECT_TRUE(::PtInRegion(rgn.get(), 40, 15));
  // A print that rebuilds nothing keeps the cut corners.
  PrintControl(b);
  ASSERT_NE(ERROR, ::GetWindowRgn(b->Handle(), rgn.get()));
  EXPECT_FALSE(::PtInRegion(rgn.get(), 0, 0));
  ::SendMessageW(b->Handle(), SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN),
                 reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(ERROR, ::GetWindowRgn(b->Handle(), rgn.get()));
}

TEST_F(ButtonTest, BlendIsKeptWithinNoneAndAll) {
  TsBitBtn* b = NewButton<TsBitBtn>();
  b->SetBlend(150);
  EXPECT_EQ(100, b->Blend());
  b->SetBlend(-5);
  EXPECT_EQ(0, b->Blend());
}

TEST_F(ButtonTest, WithoutASkinTheSystemButtonClicks) {
  TsButton* b = NewButton();
  manager->SetActive(false);
  EXPECT_FALSE(b->SkinData->Skinned());
  Send(b, BM_CLICK);
  PumpFor(20);
  EXPECT_EQ(1, clicks);
}

TEST_F(ButtonTest, GdiObjectsStayAfterManyFadedHoverAndPressCycles) {
  Sec(L"BUTTON").FadingEnabled = true;
  TsButton* b = NewButton();
  auto cycle = [&] {
    b->Perform(CM_MOUSEENTER);
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PumpFor(1);
    Send(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    b->Perform(CM_MOUSELEAVE);
  };
  for (int i = 0; i < 10; ++i) cycle();
  PumpFor(300);
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 500; ++i) cycle();
  PumpFor(300);
  EXPECT_EQ(before, GdiObjectCount());
  EXPECT_EQ(500 + 10, clicks);
}

TEST(ButtonLayout, GlyphLeftCentredPutsTextAfterGlyphAndSpacing) {
  // Client 100 x 30, glyph 16 x 16, text 40 x 13, spacing 4, centred.
  const TacButtonLayout l = CalcButtonLayout(TRect{0, 0, 100, 30}, TSize{16, 16}, TSize{40, 13},
                                             0, 4, -1, taCenter, blGlyphLeft);
  EXPECT_EQ((100 - 40 - 4 - 16) / 2, l.Glyph.x);
  EXPECT_EQ((30 - 16 + 1) / 2, l.Glyph.y);
  EXPECT_EQ(l.Glyph.x + 16 + 4, l.Text.left);
  EXPECT_EQ((30 - 13 + 1) / 2, l.Text.top);
  // Right to left swaps the sides.
  const TacButtonLayout r = CalcButtonLayout(TRect{0, 0, 100, 30}, TSize{16, 16}, TSize{40, 13},
                                             DT_RIGHT, 4, -1, taCenter, blGlyphLeft);
  EXPECT_EQ(r.Text.left + 40 + 4, r.Glyph.x);
}
