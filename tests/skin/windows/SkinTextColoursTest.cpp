// Controls the adapters skin draw their text in the skin's colours on the
// skin's faces: under the dark internal skin nothing is left in the
// system's black text or white background.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>

#include "skin/engine/ColorContrast.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "framework/Grids.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/CtrlAdapter.h"
#include "skin/windows/EditWnd.h"
#include "skin/windows/GroupBoxWnd.h"
#include "tests/skin/windows/CtrlAdapterTestSupport.h"

using namespace adaptertest;
using skintest::Px;

namespace {

// The dark one of the internal skins, where the system's colours show most.
skintest::ManagerPtr DarkSkinManager() {
  return skintest::LoadedManager(L"Ember (internal)", skintest::FixtureSkinDir(), true);
}

int CountIn(TBitmap& b, const RECT& r, TColor c) {
  int n = 0;
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, b.Height()); ++y)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, b.Width()); ++x)
      n += Px(b, x, y) == c;
  return n;
}

class SkinTextColours : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    // As at the program's start: adapters turn the visual style of the
    // windows they skin off, so the system draws with the colours given.
    InitVisualStyles();
    manager = DarkSkinManager();
    ASSERT_EQ(L"Ember (internal)", manager->SkinName());
    parent = ::CreateWindowExW(0, ProbeClass(), L"", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    ::DestroyWindow(parent);
    manager.reset();
    DoneVisualStyles();
  }
  skintest::ManagerPtr manager;
  HWND parent = nullptr;
};

HTREEITEM AddNode(HWND tree, HTREEITEM under, const wchar_t* text) {
  TVINSERTSTRUCTW ins{};
  ins.hParent = under;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = const_cast<wchar_t*>(text);
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

// The item's rectangle: its text alone, or its whole row.
RECT ItemRect(HWND tree, HTREEITEM item, bool textOnly) {
  RECT r{};
  std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
  ::SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r));
  return r;
}

TEST_F(SkinTextColours, AnAdaptedTreeDrawsNamesAndBoxesInTheSkinsTextColourOnItsFace) {
  HWND tree = ::CreateWindowExW(
      0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
      10, 10, 220, 120, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HTREEITEM root = AddNode(tree, TVI_ROOT, L"Папка");
  AddNode(tree, root, L"Документы");
  TacMainWndPtr a(TacMainWnd::Create<TacTreeViewWnd>(tree, nullptr, manager.get(), L"EDIT").release());
  const TsGeneralData& edit = SectionOf(*manager, L"EDIT");
  const TColor text = ColorToRGB(static_cast<TColor>(edit.HotFontColor[0]));
  const TColor face = ColorToRGB(edit.HotColor);
  ASSERT_GE(ContrastRatio(text, face), 4.5);
  auto image = Print(tree);
  ::GdiFlush();
  const RECT name = ItemRect(tree, root, true), row = ItemRect(tree, root, false);
  ASSERT_LT(name.left, name.right);
  // The name: the skin's text colour, nothing black.
  EXPECT_GT(CountIn(*image, name, text), 5);
  EXPECT_EQ(0, CountIn(*image, name, clBlack));
  // The row beyond the name and the +/- box before it: the skin's face
  // around marks of the text colour (or the lines' shade of it), no black.
  const RECT after{name.right + 2, row.top, row.right, row.bottom};
  EXPECT_EQ(CountIn(*image, after, face), (after.right - after.left) * (after.bottom - after.top));
  const RECT box{row.left, row.top, name.left, row.bottom};
  const TColor line = MixColors(text, face, kDisabledTextFade);
  EXPECT_GT(CountIn(*image, box, text) + CountIn(*image, box, line), 0);
  EXPECT_EQ(0, CountIn(*image, box, clBlack));
  // The skin goes: the tree's own colours come back.
  a.reset();
  EXPECT_NE(static_cast<COLORREF>(face), static_cast<COLORREF>(::SendMessageW(tree, TVM_GETBKCOLOR, 0, 0)));
  EXPECT_NE(static_cast<COLORREF>(text), static_cast<COLORREF>(::SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0)));
  ::DestroyWindow(tree);
}

// A parent whose image is the skin's form face all over, as a skinned
// form or page lends its children.
TColor& ParentFace() {
  static TColor face = 0;
  return face;
}

LRESULT CALLBACK FaceParent(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  static std::unique_ptr<TBitmap> image;
  if (msg == SM_ALPHACMD && HIWORD(w) == AC_GETCACHE) {
    // Kept while the face stays: a paint holds the image it was lent.
    if (!image || Px(*image, 0, 0) != ParentFace()) image = skintest::MakeBmp(400, 300, ParentFace());
    CacheInfoReply = MakeCacheInfo(image.get(), 0, 0);
    return 0;
  }
  if (msg == SM_ALPHACMD && HIWORD(w) == AC_GETBGCOLOR) return static_cast<LRESULT>(ParentFace());
  return ::DefWindowProcW(wnd, msg, w, l);
}

// What the window shows: its own DC copied into a bitmap.
std::unique_ptr<TBitmap> Shown(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  auto b = skintest::MakeBmp(r.right - r.left, r.bottom - r.top, 0x123456);
  HDC dc = ::GetWindowDC(wnd);
  ::BitBlt(b->Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
  ::ReleaseDC(wnd, dc);
  return b;
}

TEST_F(SkinTextColours, AnAdaptedGroupBoxCaptionIsTheSkinsTextOnItsParentsFace) {
  ParentFace() = ColorToRGB(SectionOf(*manager, L"FORM").Color);
  const TColor text = ColorToRGB(static_cast<TColor>(SectionOf(*manager, L"GROUPBOX").FontColor[0]));
  EXPECT_GE(ContrastRatio(text, ParentFace()), 4.5);
  // On a skinned form, and in a dialog, where the window paints itself
  // first.
  for (bool dialogChild : {false, true}) {
    SCOPED_TRACE(dialogChild ? "dialog child" : "form child");
    HWND host = MakeHost(L"TarnholtFaceParent", FaceParent);
    HWND box = ::CreateWindowExW(0, L"BUTTON", L"Информация", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                 10, 10, 200, 100, host, nullptr, ::GetModuleHandleW(nullptr),
                                 nullptr);
    TacMainWndPtr a(
        TacMainWnd::Create<TacGroupBoxWnd>(box, nullptr, manager.get(), L"GROUPBOX").release());
    a->DialogChild = dialogChild;
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    auto shown = Shown(box);
    auto printed = Print(box);
    ::GdiFlush();
    // The caption strip; below it a dialog's group box shows its own inside.
    const LONG strip = static_cast<LONG>(SendSkinCmd(box, AC_GETCAPTIONHEIGHT, 0));
    ASSERT_GT(strip, 8);
    const RECT caption{6, 0, 120, strip};
    for (TBitmap* image : {shown.get(), printed.get()}) {
      EXPECT_GT(CountIn(*image, caption, text), 10);
      EXPECT_EQ(0, CountIn(*image, caption, clBlack)) << (image == shown.get() ? "shown" : "printed");
      // Around the text the strip is the parent's face.
      EXPECT_EQ(ParentFace(), Px(*image, 7, 1));
    }
    a.reset();
    ::DestroyWindow(host);
  }
}

TEST_F(SkinTextColours, ADisabledAdaptedButtonKeepsItsCaptionInTheSkinsDisabledColour) {
  ParentFace() = ColorToRGB(SectionOf(*manager, L"FORM").Color);
  HWND host = MakeHost(L"TarnholtFaceParent", FaceParent);
  HWND button = ::CreateWindowExW(0, L"BUTTON", L"Очистить", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  10, 10, 100, 28, host, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr);
  TacMainWndPtr a(TacMainWnd::Create<TacBtnWnd>(button, nullptr, manager.get(), L"BUTTON").release());
  ::EnableWindow(button, FALSE);
  const TColor disabled = DisabledFontColor(SectionOf(*manager, L"BUTTON"));
  auto image = Print(button);
  ::GdiFlush();
  const RECT all{0, 0, image->Width(), image->Height()};
  EXPECT_GT(CountIn(*image, all, disabled), 10);
  EXPECT_EQ(0, CountIn(*image, all, clWhite));
  // It reads on the faded face as on the parent it fades into.
  EXPECT_GE(ContrastRatio(disabled, Px(*image, 4, image->Height() / 2)), 4.5);
  a.reset();
  ::DestroyWindow(host);
}

TEST_F(SkinTextColours, AnAdaptedGridShowsItsCellsAndSelectionInTheSkinsColours) {
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 400, 240);
  TStringGrid* grid = Construct<TStringGrid>(form);
  grid->SetParent(form);
  grid->SetBounds(10, 10, 320, 150);
  grid->SetColCount(2);
  grid->SetFixedCols(0);
  grid->SetRowCount(4);
  grid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect);
  for (int row = 1; row < 4; ++row) grid->SetCells(0, row, L"Запись");
  form->HandleNeeded();
  grid->HandleNeeded();
  ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
  auto adapter = std::make_unique<TacCtrlAdapter>(form, manager.get());
  adapter->AddAllItems();
  grid->SetRow(2);
  const TsGeneralData& edit = SectionOf(*manager, L"EDIT");
  const TsGeneralData& global = SectionOf(*manager, L"GLOBALINFO");
  const TColor cell = ColorToRGB(edit.Color), cellText = ColorToRGB(edit.HotFontColor[0]);
  const TColor selected = manager->GetGlobalHotColor();
  const TColor selectedText = ColorToRGB(static_cast<TColor>(global.HotFontColor[0]));
  EXPECT_GE(ContrastRatio(selectedText, selected), 4.5);
  auto image = Print(grid->WindowHandle());
  ::GdiFlush();
  // Client rectangles of the cells in the printed window image.
  RECT window{};
  ::GetWindowRect(grid->WindowHandle(), &window);
  POINT origin{0, 0};
  ::ClientToScreen(grid->WindowHandle(), &origin);
  auto inImage = [&](int col, int row) {
    TRect r = grid->CellRect(col, row);
    ::OffsetRect(&r, origin.x - window.left, origin.y - window.top);
    return RECT{r.left, r.top, r.right, r.bottom};
  };
  const RECT plain = inImage(0, 3), chosen = inImage(0, 2);
  EXPECT_EQ(cell, Px(*image, plain.right - 3, plain.top + 2));
  EXPECT_GT(CountIn(*image, plain, cellText), 5);
  EXPECT_EQ(selected, Px(*image, chosen.right - 3, chosen.top + 2));
  EXPECT_GT(CountIn(*image, chosen, selectedText), 5);
  // Nothing of the system's highlight or a white cell is left.
  const RECT all{0, 0, image->Width(), image->Height()};
  EXPECT_EQ(0, CountIn(*image, all, ColorToRGB(clHighlight)));
  EXPECT_EQ(0, CountIn(*image, all, clWhite));
  // The skin goes: the grid's own selection colours come back.
  adapter.reset();
  EXPECT_EQ(clHighlight, grid->SelectionColor());
  EXPECT_EQ(clHighlightText, grid->SelectionFontColor());
  delete form;
}

}  // namespace
