// The skinned check box: the box cell from the skin for each state, toggling
// by mouse, space and BM_CLICK with OnClick, BM_SETCHECK / BM_GETCHECK from
// another thread, read-only, auto size, the state the system button shows
// once the skin goes, and own box pictures from bitmaps or an image list.
#include <gtest/gtest.h>

#include <thread>

#include "framework/ImageList.h"
#include "skin/controls/CheckBox.h"
#include "skin/engine/SkinText.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

constexpr TColor kUnchecked = 0x102030, kChecked = 0x20A040, kGrayed = 0x808080;

class CheckBoxTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    Sec(L"CHECKBOX").FadingEnabled = false;
    // Box images of three solid 13 x 13 cells (normal, hot, pressed), one
    // colour per box state.
    for (auto [name, colour] : {std::pair{L"BOXUNCHECKED", kUnchecked},
                                std::pair{L"BOXCHECKED", kChecked},
                                std::pair{L"BOXGRAYED", kGrayed}}) {
      const TColor c = colour;
      const int i = AddMask(*manager, L"GLOBALINFO", name, 13, 13, 3, 0,
                            [c](int, int, int) { return c; });
      manager->ma[i].ImgType = itisaGlyph;
      // The new image must win the lookup by name: move it in front.
      std::rotate(manager->ma.begin(), manager->ma.begin() + i, manager->ma.begin() + i + 1);
    }
  }
  TsCheckBox* NewBox(const std::wstring& caption = L"Система") {
    auto* b = Construct<TsCheckBox>(form);
    b->SetParent(form);
    b->SetBounds(10, 10, 150, 20);
    b->SetCaption(caption);
    b->OnClick = [this](TObject*) { ++clicks; };
    return b;
  }
  TColor BoxPixel(TsCheckBox* b) {
    const TRect r = b->CheckRect();
    return Px(*PrintControl(b), r.left + 6, r.top + 6);
  }
  int clicks = 0;
};

// An own box picture: three 12 x 12 state cells of the colours given
// (normal, hot, pressed) over a mask half that lets through only the inner
// square 3..8 of each cell.
constexpr int kCell = 12;
std::unique_ptr<TBitmap> BoxPicture(const TColor (&cells)[3]) {
  auto b = MakeBmp(3 * kCell, 2 * kCell, clWhite);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < 3 * kCell; ++x) {
      SetPx(*b, x, y, cells[x / kCell]);
      const bool inner = x % kCell >= 3 && x % kCell < 9 && y >= 3 && y < 9;
      SetPx(*b, x, y + kCell, inner ? clBlack : clWhite);
    }
  return b;
}

constexpr TColor kOwnUnchecked[3] = {0x0000C0, 0x0000D0, 0x0000E0};
constexpr TColor kOwnChecked[3] = {0x00C000, 0x00D000, 0x00E000};

}  // namespace

TEST_F(CheckBoxTest, BoxShowsTheSkinCellOfEachState) {
  TsCheckBox* b = NewBox();
  b->AllowGrayed = true;
  ASSERT_EQ(13, b->CheckRect().right - b->CheckRect().left);
  EXPECT_EQ(kUnchecked, BoxPixel(b));
  b->SetState(cbChecked);
  EXPECT_EQ(kChecked, BoxPixel(b));
  b->SetState(cbGrayed);
  EXPECT_EQ(kGrayed, BoxPixel(b));
}

TEST_F(CheckBoxTest, MouseSpaceAndBmClickToggleOnceEach) {
  TsCheckBox* b = NewBox();
  HWND w = b->Handle();
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(1, clicks);
  ::SendMessageW(w, WM_KEYDOWN, VK_SPACE, 1);
  ::SendMessageW(w, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(2, clicks);
  ::SendMessageW(w, BM_CLICK, 0, 0);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(3, clicks);
  EXPECT_EQ(BST_CHECKED, ::SendMessageW(w, BM_GETCHECK, 0, 0));
}

TEST_F(CheckBoxTest, LeavingWhileHeldTogglesNothing) {
  TsCheckBox* b = NewBox();
  ::SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE);
  ::SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(0, clicks);
}

TEST_F(CheckBoxTest, SetAndGetCheckWorkFromAnotherThread) {
  TsCheckBox* b = NewBox();
  HWND w = b->Handle();
  LRESULT seen = -1;
  std::thread other([&] {
    ::SendMessageW(w, BM_SETCHECK, BST_CHECKED, 0);
    seen = ::SendMessageW(w, BM_GETCHECK, 0, 0);
  });
  // The sends are served while this thread waits in the message loop.
  ASSERT_TRUE(PumpUntil([&] { return seen != -1; }, 2000));
  other.join();
  EXPECT_EQ(BST_CHECKED, seen);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(kChecked, BoxPixel(b));
}

TEST_F(CheckBoxTest, ReadOnlyIgnoresClicksAndTheSpaceKey) {
  TsCheckBox* b = NewBox();
  b->SetReadOnly(true);
  HWND w = b->Handle();
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ::SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(w, WM_KEYDOWN, VK_SPACE, 1);
  ::SendMessageW(w, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(0, clicks);
}

TEST_F(CheckBoxTest, AutoSizeFitsTheBoxAndTheCaption) {
  TsCheckBox* empty = NewBox(L"");
  empty->AdjustSize();
  EXPECT_EQ(13 + 2 * 2, empty->Width());
  EXPECT_EQ(std::max(13, 2 * 2) + 2, empty->Height());
  TsCheckBox* b = NewBox(L"Корзина");
  b->AdjustSize();
  TSize t{};
  GetFontTextExtent(b->Font(), L"Корзина", t);
  EXPECT_EQ(13 + 2 * 2 + t.cx + 8, b->Width());
}

TEST_F(CheckBoxTest, AfterTheSkinGoesTheSystemButtonShowsTheSameState) {
  TsCheckBox* b = NewBox();
  b->SetChecked(true);
  manager->SetActive(false);
  EXPECT_FALSE(b->SkinData->Skinned());
  EXPECT_EQ(BST_CHECKED, ::SendMessageW(b->Handle(), BM_GETCHECK, 0, 0));
  EXPECT_TRUE(b->Checked());
  // Unskinned, the system button toggles it.
  ::SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  PumpFor(20);
  EXPECT_FALSE(b->Checked());
}

// Own pictures from bitmaps or from an image list take the skin's place: the
// box takes their cell size, shows the cell of the button state through the
// mask, and the picture of the check state.
TEST_F(CheckBoxTest, OwnBoxPicturesShowTheirStateCellThroughTheMask) {
  enum Source { kBitmaps, kImageList };
  for (Source source : {kBitmaps, kImageList}) {
    SCOPED_TRACE(source == kBitmaps ? "bitmaps" : "image list");
    TsCheckBox* b = NewBox(L"");
    auto checked = BoxPicture(kOwnChecked), unchecked = BoxPicture(kOwnUnchecked);
    TImageList* list = nullptr;
    if (source == kBitmaps) {
      b->SetGlyphChecked(checked.get());
      b->SetGlyphUnChecked(unchecked.get());
    } else {
      list = Construct<TImageList>(form);
      list->SetSize(3 * kCell, 2 * kCell);
      list->Add(unchecked.get(), nullptr);
      list->Add(checked.get(), nullptr);
      b->SetImgUnchecked(0);
      b->SetImgChecked(1);
      b->SetImages(list);
    }
    const TRect r = b->CheckRect();
    EXPECT_EQ(kCell, r.right - r.left);
    EXPECT_EQ(kCell, r.bottom - r.top);
    EXPECT_EQ(kCell + 2 * 2, b->Width()) << "auto size measures the own cell";
    const int cx = r.left + 5, cy = r.top + 5;
    EXPECT_EQ(kOwnUnchecked[0], Px(*PrintControl(b), cx, cy));
    b->SetChecked(true);
    auto shown = PrintControl(b);
    EXPECT_EQ(kOwnChecked[0], Px(*shown, cx, cy));
    // Outside the mask's square the picture does not show.
    EXPECT_NE(kOwnChecked[0], Px(*shown, r.left + 1, r.top + 1));
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(kOwnChecked[1], Px(*PrintControl(b), cx, cy)) << "hot cell";
    ::SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
    EXPECT_EQ(kOwnChecked[2], Px(*PrintControl(b), cx, cy)) << "pressed cell";
    ::SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(cx, cy));
    b->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(b->Checked());
    // Normal, or hot when the click gave it the focus.
    const TColor after = Px(*PrintControl(b), cx, cy);
    EXPECT_TRUE(after == kOwnUnchecked[0] || after == kOwnUnchecked[1]) << std::hex << after;
    delete b;
    delete list;
  }
}
