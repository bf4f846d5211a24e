// Controls the adapters skin draw their text in the skin's colours on the
// skin's faces: under the dark internal skin nothing is left in the
// system's black text or white background.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "skin/engine/ColorContrast.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/windows/EditWnd.h"
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

}  // namespace
