// The skinned list view: column buttons painted from the skin in their
// normal, hot and pressed looks, the background behind the rows from the
// skin, one mouse-leave event per leave, and the columns' images.
#include <gtest/gtest.h>

#include "framework/ImageList.h"
#include "skin/controls/ListView.h"

#include <commctrl.h>

#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

constexpr TColor kCell[3] = {0x0000C0, 0x00C000, 0xC00000};  // normal, hot, pressed

class ListViewTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    // The column buttons' section gets a border image of three solid cells
    // in place of the skin's own, so each look is known.
    section = manager->GetSkinIndex(L"COLHEADER") >= 0 ? L"COLHEADER" : L"BUTTON";
    for (TsMaskData& md : manager->ma)
      if (md.SectionName == section && md.PropertyName == L"BORDERSMASK") md.PropertyName = L"UNUSED";
    AddMask(*manager, section, L"BORDERSMASK", 12, 12, 3, 4, [](int, int, int cell) { return kCell[cell]; });
    lv = Construct<TsListView>(form);
    lv->SetParent(form);
    lv->SetBounds(10, 10, 300, 200);
    lv->SetViewStyle(vsReport);
    for (const wchar_t* caption : {L"Тип ошибки", L"Параметр"}) {
      TListColumn* c = lv->Columns()->Add();
      c->SetCaption(caption);
      c->SetWidth(120);
    }
    for (const wchar_t* row : {L"первая", L"вторая"}) lv->Items()->Add()->SetCaption(row);
    form->Show();
    ::UpdateWindow(form->Handle());
  }
  // The header printed on its own; the cell colour shows in its border.
  TColor HeaderPixel(int column) {
    HWND header = lv->HeaderHandle();
    RECT hr, r;
    ::GetClientRect(header, &hr);
    Header_GetItemRect(header, column, &r);
    auto b = MakeBmp(hr.right, hr.bottom, 0x123456);
    ::SendMessageW(header, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), PRF_CLIENT);
    return Px(*b, r.left + 1, r.top + 1);
  }
  POINT Center(int column) {
    RECT r;
    Header_GetItemRect(lv->HeaderHandle(), column, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  LPARAM ScreenPoint(int column) {
    POINT p = Center(column);
    ::ClientToScreen(lv->HeaderHandle(), &p);
    return MAKELPARAM(p.x, p.y);
  }
  void Press(POINT p) {
    ::SendMessageW(lv->HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }
  void Release(POINT p) { ::SendMessageW(lv->HeaderHandle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }

  std::wstring section;
  TsListView* lv = nullptr;
};

}  // namespace

TEST_F(ListViewTest, ColumnButtonsShowNormalHotAndPressedLooks) {
  ASSERT_NE(nullptr, lv->HeaderHandle());
  EXPECT_EQ(kCell[0], HeaderPixel(0));
  EXPECT_EQ(kCell[0], HeaderPixel(1));
  // The mouse over the second button makes it hot, and only it.
  ::SendMessageW(lv->HeaderHandle(), WM_NCHITTEST, 0, ScreenPoint(1));
  EXPECT_EQ(1, lv->HotColumn());
  EXPECT_EQ(kCell[1], HeaderPixel(1));
  EXPECT_EQ(kCell[0], HeaderPixel(0));
  // Pressing the first shows it pressed until the button comes up.
  Press(Center(0));
  EXPECT_EQ(0, lv->PressedColumn());
  EXPECT_EQ(kCell[2], HeaderPixel(0));
  Release(Center(0));
  EXPECT_EQ(-1, lv->PressedColumn());
  EXPECT_EQ(kCell[0], HeaderPixel(0));
  // The mouse over the list leaves the header: no hot button.
  ::SendMessageW(lv->Handle(), WM_NCHITTEST, 0, MAKELPARAM(0, 0));
  EXPECT_EQ(kCell[0], HeaderPixel(1));
}

TEST_F(ListViewTest, NoPressedLookOnADividerOrWithoutColumnClick) {
  RECT r;
  Header_GetItemRect(lv->HeaderHandle(), 0, &r);
  const POINT divider{r.right - 1, (r.top + r.bottom) / 2};
  Press(divider);
  EXPECT_EQ(-1, lv->PressedColumn());
  Release(divider);
  lv->SetColumnClick(false);
  Press(Center(1));
  EXPECT_EQ(-1, lv->PressedColumn());
  EXPECT_NE(kCell[2], HeaderPixel(1));
  Release(Center(1));
}

TEST_F(ListViewTest, RowsLieOverTheSkinsBackground) {
  ASSERT_NE(nullptr, lv->ListAdapter());
  const TColor skin = ColorToRGB(Sec(L"EDIT").Color);
  ASSERT_NE(ColorToRGB(clWindow), skin) << "the skin's edit colour must differ from the window's";
  auto b = PrintControl(lv);
  // Below the last row, inside the frame.
  const int e = lv->ListAdapter()->LeftEdge;
  EXPECT_EQ(skin, Px(*b, 40, lv->Height() - e - 20));
  EXPECT_EQ(skin, ColorToRGB(lv->Color()));
  // The header is printed with the list.
  RECT hw, lw;
  ::GetWindowRect(lv->HeaderHandle(), &hw);
  ::GetWindowRect(lv->Handle(), &lw);
  EXPECT_EQ(kCell[0], Px(*b, hw.left - lw.left + 1, hw.top - lw.top + 1));
}

TEST_F(ListViewTest, MouseLeaveFiresOncePerLeave) {
  int leaves = 0;
  lv->OnMouseLeave = [&](TObject*) { ++leaves; };
  HWND wnd = lv->Handle();
  ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, 60));
  // The cursor is elsewhere when the platform says the mouse left.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  ::SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(1, leaves);
}

TEST_F(ListViewTest, AHeaderMadeAfterTheWindowIsSkinnedToo) {
  auto* list = Construct<TsListView>(form);
  list->SetParent(form);
  list->SetBounds(10, 220, 200, 60);
  list->SetViewStyle(vsList);
  list->Columns()->Add()->SetCaption(L"Имя");
  list->Handle();
  list->SetViewStyle(vsReport);
  ASSERT_NE(nullptr, list->HeaderHandle());
  HWND header = list->HeaderHandle();
  RECT hr;
  ::GetClientRect(header, &hr);
  auto b = MakeBmp(hr.right, hr.bottom, 0x123456);
  ::SendMessageW(header, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), PRF_CLIENT);
  EXPECT_EQ(kCell[0], Px(*b, 1, 1));
}

TEST_F(ListViewTest, ATexturedBackgroundIsTheSkinsImageBehindTransparentRows) {
  TsGeneralData& edit = Sec(L"EDIT");
  edit.GradientPercent = 50;
  lv->SkinData->BGChanged = true;
  auto b = PrintControl(lv);
  EXPECT_EQ(CLR_NONE, ListView_GetBkColor(lv->Handle()));
  EXPECT_EQ(CLR_NONE, ListView_GetTextBkColor(lv->Handle()));
  const int x = 40, y = lv->Height() - lv->ListAdapter()->LeftEdge - 20;
  EXPECT_EQ(::GetPixel(lv->SkinData->CacheBmp->Canvas()->Handle(), x, y), Px(*b, x, y));
}

namespace {

void SetColumnImage(TsListView* lv, int column, int image) {
  LVCOLUMNW c{};
  c.mask = LVCF_IMAGE | LVCF_FMT;
  c.fmt = LVCFMT_LEFT;
  c.iImage = image;
  ::SendMessageW(lv->Handle(), LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
}

int HeaderItemImage(TsListView* lv, int column) {
  HDITEMW item{};
  item.mask = HDI_IMAGE;
  ::SendMessageW(lv->HeaderHandle(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

}  // namespace

// Image -1 never reaches the header (where it means "ask for it", and
// Wine's list view makes it image 0): the column keeps the image it had.
TEST_F(ListViewTest, ColumnImageMinusOneLeavesTheHeadersImage) {
  SetColumnImage(lv, 0, 2);
  ASSERT_EQ(2, HeaderItemImage(lv, 0));
  SetColumnImage(lv, 0, -1);
  EXPECT_EQ(2, HeaderItemImage(lv, 0));
}

// A column with an image shows it from SmallImages on its button; the
// other column shows none.
TEST_F(ListViewTest, ColumnButtonDrawsTheColumnsImage) {
  constexpr TColor kImage = 0x40A0E0;
  auto* images = Construct<TImageList>(form);
  images->SetSize(16, 16);
  auto picture = MakeBmp(16, 16, kImage);
  images->Add(picture.get(), nullptr);
  lv->SetSmallImages(images);
  // Wine's list view does not pass LVCFMT_IMAGE on to the header: the
  // header item is given its image directly.
  HWND header = lv->HeaderHandle();
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  item.fmt = HDF_STRING | HDF_LEFT | HDF_IMAGE;
  item.iImage = 0;
  ::SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  RECT hr, r0, r1;
  ::GetClientRect(header, &hr);
  Header_GetItemRect(header, 0, &r0);
  Header_GetItemRect(header, 1, &r1);
  auto b = MakeBmp(hr.right, hr.bottom, 0x123456);
  ::SendMessageW(header, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), PRF_CLIENT);
  auto count = [&](const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Px(*b, x, y) == kImage;
    return n;
  };
  EXPECT_GE(count(r0), 16 * std::min<int>(16, r0.bottom - r0.top - 2));
  EXPECT_EQ(0, count(r1));
  lv->SetSmallImages(nullptr);
}
