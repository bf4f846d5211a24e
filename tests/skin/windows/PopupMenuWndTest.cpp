// Skinned popup menus opened for real with TrackPopupMenu: items and frame
// read back from the popup window while it shows, its region, the state
// released when it closes, and GDI objects over many popups.
#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "skin/engine/SkinData.h"
#include "tests/skin/windows/MenuTestSupport.h"

using namespace menutest;

namespace {

// The item's rectangle in its popup window's coordinates.
RECT ItemRect(TPopupMenu* menu, HWND popup, int index) {
  RECT r{}, wr{};
  ::GetMenuItemRect(nullptr, menu->Handle(), static_cast<UINT>(index), &r);
  ::GetWindowRect(popup, &wr);
  ::OffsetRect(&r, -wr.left, -wr.top);
  return r;
}

int CentreY(const RECT& r) { return (r.top + r.bottom) / 2; }

// Gives the skin's popup frame one transparent pixel in its top-left corner,
// or none at all.
void SetFrameCorners(TsSkinManager& m, bool transparent) {
  const int mask = m.GetMaskIndex(m.GetSkinIndex(L"MAINMENU"), L"MAINMENU", L"BORDERSMASK");
  ASSERT_GE(mask, 0);
  const TsMaskData& md = m.ma[mask];
  ASSERT_FALSE(md.Bmp);
  TBitmap& master = *m.MasterBitmap;
  for (int y = md.R.top; y < md.R.bottom; ++y)
    for (int x = md.R.left; x < md.R.right; ++x)
      if (Px(master, x, y) == clFuchsia) SetPx(master, x, y, clGray);
  if (transparent) SetPx(master, md.R.left, md.R.top, clFuchsia);
}

}  // namespace

using SkinnedPopup = MenuSkin;

TEST_F(SkinnedPopup, ItemsShowTheSkinsColoursAndTheSelectedItemItsHotColour) {
  SetFrameCorners(*manager, false);
  TPopupMenu* menu = NewPopup(4);
  menu->Items()->Items(2)->SetChecked(true);
  menu->Items()->Items(3)->SetEnabled(false);
  menu->Items()->Items(3)->SetShortCut(ShortCut('D', ssCtrl));
  bool hooked = false, hasRegion = true;
  RECT first{}, second{}, disabled{};
  std::unique_ptr<TBitmap> shot;
  HWND popupWnd = nullptr;
  PopupDriver run(menu, 2, [&](HWND popup) {
    popupWnd = popup;
    hooked = IsPopupWndHooked(popup);
    UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
    hasRegion = ::GetWindowRgn(popup, rgn.get()) != ERROR;
    first = ItemRect(menu, popup, 0);
    second = ItemRect(menu, popup, 1);
    disabled = ItemRect(menu, popup, 3);
    shot = ReadWindow(popup);
  });
  ASSERT_TRUE(run.Ran());
  ASSERT_TRUE(shot);
  EXPECT_TRUE(hooked);
  EXPECT_FALSE(hasRegion);  // the skin's frame has no transparent corners
  EXPECT_COLOR_NEAR(kItemColor, Px(*shot, first.left + 10, CentreY(first)));
  EXPECT_COLOR_NEAR(kHotColor, Px(*shot, second.left + 10, CentreY(second)));
  // A disabled item is 40 % of itself over the frame.
  EXPECT_COLOR_NEAR(BlendColors(kItemColor, kFrameColor, 0.4),
                    Px(*shot, disabled.left + 10, CentreY(disabled)));
  // The popup's state went with its window.
  EXPECT_FALSE(::IsWindow(popupWnd) && ::IsWindowVisible(popupWnd));
  EXPECT_FALSE(PopupState().MenuFrameBmp);
}

TEST_F(SkinnedPopup, ExtraLineBandRunsDownTheLeftEdgeBesideTheItems) {
  manager->MenuSupport->UseExtraLine = true;
  manager->OnGetMenuExtraLineData = [](TMenuItem*, std::wstring&, std::wstring& caption,
                                       std::unique_ptr<TBitmap>&, bool&) { caption.clear(); };
  TPopupMenu* menu = NewPopup(3);
  RECT item{};
  std::unique_ptr<TBitmap> shot;
  PopupDriver run(menu, 0, [&](HWND popup) {
    item = ItemRect(menu, popup, 1);
    shot = ReadWindow(popup);
  });
  ASSERT_TRUE(run.Ran());
  const int sbw = Menus().SkinBorderWidth();
  const int band = manager->MenuSupport->ExtraLineWidth;
  EXPECT_COLOR_NEAR(kExtraLineColor, Px(*shot, sbw + band / 2, CentreY(item)));
  EXPECT_COLOR_NEAR(kExtraLineColor, Px(*shot, sbw + band / 2, shot->Height() / 2));
  // The item is painted to the right of the band.
  EXPECT_COLOR_NEAR(kItemColor, Px(*shot, item.left + band + 10, CentreY(item)));
}

TEST_F(SkinnedPopup, FrameWithTransparentCornersGivesThePopupARegion) {
  SetFrameCorners(*manager, true);
  TPopupMenu* menu = NewPopup(3);
  bool hasRegion = false, cornerIn = true, centreIn = false;
  PopupDriver run(menu, 0, [&](HWND popup) {
    UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
    hasRegion = ::GetWindowRgn(popup, rgn.get()) != ERROR;
    RECT wr;
    ::GetWindowRect(popup, &wr);
    cornerIn = ::PtInRegion(rgn.get(), 0, 0) != FALSE;
    centreIn = ::PtInRegion(rgn.get(), (wr.right - wr.left) / 2, (wr.bottom - wr.top) / 2) != FALSE;
  });
  ASSERT_TRUE(run.Ran());
  EXPECT_TRUE(hasRegion);
  EXPECT_FALSE(cornerIn);
  EXPECT_TRUE(centreIn);
}

TEST_F(SkinnedPopup, HundredPopupsLeaveNoGdiObjectsBehind) {
  manager->MenuSupport->UseExtraLine = true;
  TPopupMenu* menu = NewPopup(6);
  menu->Items()->Items(1)->SetChecked(true);
  menu->Items()->Items(2)->SetEnabled(false);
  auto* line = Construct<TMenuItem>(form);
  line->SetCaption(L"-");
  menu->Items()->Insert(3, line);
  for (int i = 0; i < 3; ++i) PopupDriver warm(menu, 1, nullptr);
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  int ran = 0;
  for (int i = 0; i < 100; ++i) {
    PopupDriver run(menu, i % 3, nullptr);
    ran += run.Ran();
  }
  EXPECT_EQ(100, ran);
  EXPECT_EQ(before, GdiObjectCount());
}

TEST_F(SkinnedPopup, FirstPaintedItemReleasesTheDropDownButtonAndItsHints) {
  Application->SetShowHint(false);
  MenuDropDownOwner().Button = form;
  MenuDropDownOwner().StoredShowHint = true;
  PopupDriver run(NewPopup(2), 0, nullptr);
  ASSERT_TRUE(run.Ran());
  EXPECT_EQ(nullptr, MenuDropDownOwner().Button);
  EXPECT_TRUE(Application->ShowHint());
}
