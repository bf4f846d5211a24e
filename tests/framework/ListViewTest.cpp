// TListView: the framework's items mirrored to the system list view.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "framework/ImageList.h"
#include "framework/ListView.h"
#include "tests/framework/FormTestSupport.h"

namespace {

std::wstring WindowItemText(HWND w, int index, int sub) {
  wchar_t buf[256] = {};
  LVITEMW it{};
  it.iSubItem = sub;
  it.pszText = buf;
  it.cchTextMax = 256;
  SendMessageW(w, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&it));
  return buf;
}

bool WindowChecked(HWND w, int index) {
  return ((SendMessageW(w, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

class ListViewTest : public FormTest {
 protected:
  TListView* MakeReport() {
    TListView* lv = Make<TListView>();
    lv->SetViewStyle(vsReport);
    lv->SetCheckboxes(true);
    lv->SetRowSelect(true);
    for (const wchar_t* caption : {L"Имя файла", L"Размер", L"Тип"}) {
      TListColumn* c = lv->Columns()->Add();
      c->SetCaption(caption);
      c->SetWidth(80);
    }
    return lv;
  }
  static void AddRow(TListView* lv, const std::wstring& caption, const std::wstring& a,
                     const std::wstring& b, bool checked) {
    TListItem* item = lv->Items()->Add();
    item->SetCaption(caption);
    item->SubItems()->Add(a);
    item->SubItems()->Add(b);
    item->SetChecked(checked);
  }
};

TEST_F(ListViewTest, ItemsAppearInTheWindowWithTextsAndChecks) {
  TListView* lv = MakeReport();
  AddRow(lv, L"a.tmp", L"1 Кб", L"TMP", true);
  AddRow(lv, L"b.log", L"2 Кб", L"LOG", false);
  HWND w = lv->Handle();
  ASSERT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(WindowItemText(w, 0, 0), L"a.tmp");
  EXPECT_EQ(WindowItemText(w, 0, 1), L"1 Кб");
  EXPECT_EQ(WindowItemText(w, 1, 2), L"LOG");
  EXPECT_TRUE(WindowChecked(w, 0));
  EXPECT_FALSE(WindowChecked(w, 1));
  EXPECT_TRUE(lv->Items()->Item(0)->Checked());
  EXPECT_FALSE(lv->Items()->Item(1)->Checked());
}

TEST_F(ListViewTest, ItemsAddedBeforeTheWindowExistsAreInsertedWithIt) {
  TListView* lv = Construct<TListView>(form);
  lv->SetViewStyle(vsReport);
  lv->SetCheckboxes(true);
  lv->Columns()->Add()->SetCaption(L"A");
  lv->Columns()->Add()->SetCaption(L"B");
  AddRow(lv, L"x", L"y", L"", true);
  EXPECT_FALSE(lv->HandleAllocated());
  lv->SetParent(form);
  HWND w = lv->Handle();
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(WindowItemText(w, 0, 1), L"y");
  EXPECT_TRUE(WindowChecked(w, 0));
}

TEST_F(ListViewTest, ItemsAndStatesSurviveRecreateWnd) {
  TListView* lv = MakeReport();
  AddRow(lv, L"one", L"1", L"x", true);
  AddRow(lv, L"two", L"2", L"y", false);
  AddRow(lv, L"three", L"3", L"z", true);
  lv->Items()->Item(1)->SetSelected(true);
  // The user unticks row 0 in the window itself.
  LVITEMW st{};
  st.stateMask = LVIS_STATEIMAGEMASK;
  st.state = INDEXTOSTATEIMAGEMASK(1);
  SendMessageW(lv->Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
  HWND before = lv->Handle();
  lv->SetBorderStyle(bsNone);  // recreates the window
  HWND w = lv->Handle();
  ASSERT_NE(w, before);
  ASSERT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(WindowItemText(w, 2, 0), L"three");
  EXPECT_EQ(WindowItemText(w, 2, 2), L"z");
  EXPECT_FALSE(WindowChecked(w, 0));
  EXPECT_FALSE(WindowChecked(w, 1));
  EXPECT_TRUE(WindowChecked(w, 2));
  EXPECT_EQ(lv->Selected(), lv->Items()->Item(1));
  EXPECT_EQ(lv->SelCount(), 1);
}

TEST_F(ListViewTest, DeleteAndInsertKeepIndexesAndWindowInStep) {
  TListView* lv = MakeReport();
  for (const wchar_t* s : {L"a", L"b", L"c", L"d"}) AddRow(lv, s, L"", L"", false);
  lv->Items()->Item(1)->Delete();
  TListItem* inserted = lv->Items()->Insert(0);
  inserted->SetCaption(L"first");
  HWND w = lv->Handle();
  const wchar_t* expected[] = {L"first", L"a", L"c", L"d"};
  ASSERT_EQ(lv->Items()->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lv->Items()->Item(i)->Index(), i);
    EXPECT_EQ(WindowItemText(w, i, 0), expected[i]);
  }
  lv->Items()->Clear();
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(lv->Items()->Count(), 0);
}

TEST_F(ListViewTest, SubItemChangesShowInTheWindow) {
  TListView* lv = MakeReport();
  AddRow(lv, L"f", L"old", L"t", false);
  HWND w = lv->Handle();
  lv->Items()->Item(0)->SubItems()->SetStrings(0, L"new");
  lv->Items()->Item(0)->SetCaption(L"g");
  EXPECT_EQ(WindowItemText(w, 0, 1), L"new");
  EXPECT_EQ(WindowItemText(w, 0, 0), L"g");
  lv->Items()->Item(0)->SubItems()->Delete(0);
  EXPECT_EQ(WindowItemText(w, 0, 1), L"t");
  EXPECT_EQ(WindowItemText(w, 0, 2), L"");
}

TEST_F(ListViewTest, CheckedFollowsTheWindowAndEventsReportUserChanges) {
  TListView* lv = MakeReport();
  AddRow(lv, L"r", L"", L"", false);
  int changes = 0, selects = 0;
  lv->OnChange = [&](TObject*, TListItem*, TItemChange) { ++changes; };
  lv->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
    EXPECT_EQ(item, lv->Items()->Item(0));
    EXPECT_TRUE(selected);
    ++selects;
  };
  LVITEMW st{};
  st.stateMask = LVIS_SELECTED | LVIS_STATEIMAGEMASK;
  st.state = LVIS_SELECTED | INDEXTOSTATEIMAGEMASK(2);
  SendMessageW(lv->Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
  EXPECT_TRUE(lv->Items()->Item(0)->Checked());
  EXPECT_EQ(selects, 1);
  EXPECT_GE(changes, 1);
}

TEST_F(ListViewTest, SelectedAndSelCountWithAndWithoutWindow) {
  TListView* lv = Construct<TListView>(form);
  lv->SetMultiSelect(true);
  for (int i = 0; i < 3; ++i) lv->Items()->Add()->SetCaption(std::to_wstring(i));
  EXPECT_EQ(lv->Selected(), nullptr);
  lv->Items()->Item(2)->SetSelected(true);
  lv->Items()->Item(1)->SetSelected(true);
  EXPECT_EQ(lv->Selected(), lv->Items()->Item(1));
  EXPECT_EQ(lv->SelCount(), 2);
  lv->SetParent(form);
  lv->HandleNeeded();
  EXPECT_EQ(lv->Selected(), lv->Items()->Item(1));
  EXPECT_EQ(lv->SelCount(), 2);
  lv->SetSelected(nullptr);
  EXPECT_EQ(lv->SelCount(), 0);
}

TEST_F(ListViewTest, SharedImageListIsNotDestroyedWithTheList) {
  HIMAGELIST system = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  {
    TImageList* images = Construct<TImageList>(form);
    images->SetShareImages(true);
    images->SetHandle(system);
    TListView* lv = Make<TListView>();
    lv->SetViewStyle(vsReport);
    lv->SetSmallImages(images);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(lv->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              system);
    EXPECT_TRUE(GetWindowLongPtrW(lv->Handle(), GWL_STYLE) & LVS_SHAREIMAGELISTS);
    delete lv;
    delete images;
  }
  // Still a working list: the system's images were not ours to free.
  EXPECT_EQ(ImageList_GetImageCount(system), 0);
  EXPECT_TRUE(ImageList_SetImageCount(system, 2));
  EXPECT_EQ(ImageList_GetImageCount(system), 2);
  ImageList_Destroy(system);
}

TEST_F(ListViewTest, TheShellsSystemImageListSurvivesTheListAndItsImageList) {
  SHFILEINFOW sfi{};
  auto system = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!system) GTEST_SKIP() << "no system image list";
  int count = ImageList_GetImageCount(system);
  auto* images = Construct<TImageList>(form);
  images->SetShareImages(true);
  images->SetHandle(system);
  TListView* lv = Make<TListView>();
  lv->SetSmallImages(images);
  lv->Items()->Add()->SetImageIndex(0);
  lv->HandleNeeded();
  delete lv;
  delete images;
  EXPECT_EQ(ImageList_GetImageCount(system), count);
}

TEST_F(ListViewTest, ColumnClickAndDoubleClickReachTheEvents) {
  TListView* lv = MakeReport();
  AddRow(lv, L"r", L"", L"", false);
  TListColumn* clicked = nullptr;
  int dbl = 0;
  lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };
  lv->OnDblClick = [&](TObject*) { ++dbl; };
  NMLISTVIEW nm{};
  nm.hdr.hwndFrom = lv->Handle();
  nm.hdr.code = LVN_COLUMNCLICK;
  nm.iItem = -1;
  nm.iSubItem = 2;
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(clicked, lv->Columns()->Items(2));
  NMHDR dh{lv->Handle(), 0, static_cast<UINT>(NM_DBLCLK)};
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&dh));
  EXPECT_EQ(dbl, 1);
}

TEST_F(ListViewTest, CustomDrawSeesTheListStagesWithACanvas) {
  TListView* lv = MakeReport();
  AddRow(lv, L"r", L"", L"", false);
  int pre = 0, post = 0;
  lv->OnAdvancedCustomDraw = [&](TObject*, TRect, TCustomDrawStage stage, bool& defaultDraw) {
    EXPECT_TRUE(lv->Canvas()->HandleAllocated());
    if (stage == cdPrePaint) ++pre;
    if (stage == cdPostPaint) ++post;
    defaultDraw = true;
  };
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 200);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(lv->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(pre, 1);
  EXPECT_EQ(post, 1);
}

TEST_F(ListViewTest, BulkAddInsideBeginUpdateReachesTheWindow) {
  TListView* lv = MakeReport();
  const int n = 5000;
  lv->Items()->BeginUpdate();
  lv->Items()->Reserve(n);
  for (int i = 0; i < n; ++i) AddRow(lv, L"file" + std::to_wstring(i), L"s", L"t", i % 2 == 0);
  lv->Items()->EndUpdate();
  HWND w = lv->Handle();
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), n);
  EXPECT_EQ(WindowItemText(w, n - 1, 0), L"file" + std::to_wstring(n - 1));
  EXPECT_TRUE(WindowChecked(w, n - 2));
  EXPECT_FALSE(WindowChecked(w, n - 1));
}

// An owner-data window asks for its rows itself: a changed row is redrawn
// while the window holds it, and not before the window learns of it (the
// new rows then need no repaint of the rest), as rows come and go in and
// outside updates.
TEST_F(ListViewTest, OwnerDataRowsAreRedrawnOnceTheWindowHoldsThem) {
  TListView* lv = MakeReport();
  lv->SetOwnerData(true);
  HWND w = lv->Handle();
  std::vector<WPARAM> redrawn;
  LPARAM countFlags = 0;
  TWndProcHook spy(lv, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == LVM_REDRAWITEMS) redrawn.push_back(m.WParam);
    if (m.Msg == LVM_SETITEMCOUNT) countFlags = m.LParam;
    next(m);
  });
  auto changed = [&](int index, const wchar_t* text) {
    redrawn.clear();
    lv->Items()->Item(index)->SetCaption(text);
    return redrawn == std::vector<WPARAM>{static_cast<WPARAM>(index)};
  };
  for (int i = 0; i < 3; ++i) AddRow(lv, L"row" + std::to_wstring(i), L"s", L"t", true);
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_TRUE(changed(2, L"last"));

  lv->Items()->Delete(0);
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(changed(1, L"now last"));
  EXPECT_EQ(WindowItemText(w, 1, 0), L"now last");

  lv->Items()->BeginUpdate();
  AddRow(lv, L"held", L"s", L"t", false);
  EXPECT_FALSE(changed(2, L"held, changed"));  // the window has no such row yet
  lv->Items()->EndUpdate();
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_TRUE(countFlags & LVSICF_NOINVALIDATEALL);
  EXPECT_EQ(WindowItemText(w, 2, 0), L"held, changed");
  EXPECT_TRUE(changed(2, L"shown"));

  lv->Items()->Clear();
  EXPECT_EQ(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0), 0);
  AddRow(lv, L"again", L"s", L"t", true);
  EXPECT_TRUE(changed(0, L"again, changed"));
  EXPECT_EQ(WindowItemText(w, 0, 0), L"again, changed");
}

}  // namespace
