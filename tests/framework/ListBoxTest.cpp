// TListBox and TCheckListBox: items bound to the window, selection, sorting,
// check states and the user's toggles.
#include <gtest/gtest.h>

#include "framework/ListBox.h"
#include "framework/SysUtils.h"
#include "tests/framework/FormTestSupport.h"

namespace {

class ListBoxTest : public FormTest {
 protected:
  // The parent's WM_COMMAND as the list box sends it.
  void Notify(TWinControl* c, WORD code) {
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(c->Handle()));
  }
  static void Click(TWinControl* c, POINT p) {
    SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }
};

TObject* Tag(intptr_t n) { return reinterpret_cast<TObject*>(n); }

TEST_F(ListBoxTest, ItemsGoToTheWindowAndBack) {
  TListBox* lb = Make<TListBox>();
  lb->Items()->AddObject(L"Первый", Tag(1));
  lb->Items()->Add(L"second");
  lb->Items()->Insert(0, L"zero");
  HWND w = lb->Handle();
  ASSERT_EQ(SendMessageW(w, LB_GETCOUNT, 0, 0), 3);
  wchar_t buf[64] = {};
  SendMessageW(w, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, L"Первый");
  EXPECT_EQ(lb->Items()->Objects(1), Tag(1));
  lb->Items()->SetStrings(1, L"first");
  EXPECT_EQ(lb->Items()->Strings(1), L"first");
  EXPECT_EQ(lb->Items()->Objects(1), Tag(1));
  lb->Items()->Delete(0);
  EXPECT_EQ(lb->Items()->Text(), L"first\r\nsecond\r\n");
  EXPECT_THROW(lb->Items()->Strings(5), EListError);
}

TEST_F(ListBoxTest, ItemsBeforeTheWindowAndAcrossRecreateKeepOrderAndSelection) {
  TListBox* lb = Construct<TListBox>(form);
  for (const wchar_t* s : {L"c", L"a", L"b"}) lb->Items()->Add(s);
  lb->SetItemIndex(2);
  lb->SetParent(form);
  EXPECT_EQ(SendMessageW(lb->Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(lb->ItemIndex(), 2);
  lb->SetBorderStyle(bsNone);  // recreates the window
  EXPECT_EQ(lb->Items()->Text(), L"c\r\na\r\nb\r\n");
  EXPECT_EQ(lb->ItemIndex(), 2);
}

TEST_F(ListBoxTest, SortedListKeepsItsOwnOrderForLaterAdditions) {
  TListBox* lb = Make<TListBox>();
  lb->Items()->AddObject(L"C:\\B\\", Tag(2));
  lb->Items()->AddObject(L"C:\\A\\", Tag(1));
  lb->SetSorted(true);
  EXPECT_EQ(lb->Items()->Strings(0), L"C:\\A\\");
  EXPECT_EQ(lb->Items()->Objects(0), Tag(1));
  int at = lb->Items()->Add(L"C:\\AB\\");
  EXPECT_EQ(at, 1);
  EXPECT_EQ(lb->Items()->Text(), L"C:\\A\\\r\nC:\\AB\\\r\nC:\\B\\\r\n");
}

TEST_F(ListBoxTest, SelectionChangeAndDoubleClickFireEventsButSettingItemIndexDoesNot) {
  TListBox* lb = Make<TListBox>();
  lb->Items()->Add(L"x");
  lb->Items()->Add(L"y");
  int clicks = 0, dbl = 0;
  lb->OnClick = [&](TObject*) { ++clicks; };
  lb->OnDblClick = [&](TObject*) { ++dbl; };
  lb->SetItemIndex(1);
  EXPECT_EQ(clicks, 0);
  Notify(lb, LBN_SELCHANGE);
  Notify(lb, LBN_DBLCLK);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dbl, 1);
}

TEST_F(ListBoxTest, MultiSelectReportsEverySelectedItem) {
  TListBox* lb = Make<TListBox>();
  lb->SetMultiSelect(true);
  for (const wchar_t* s : {L"a", L"b", L"c"}) lb->Items()->Add(s);
  lb->SetSelected(0, true);
  lb->SetSelected(2, true);
  EXPECT_EQ(lb->SelCount(), 2);
  EXPECT_TRUE(lb->Selected(2));
  EXPECT_FALSE(lb->Selected(1));
}

TEST_F(ListBoxTest, CheckListBoxTogglesOnAClickOnTheBoxOnly) {
  TCheckListBox* cl = Make<TCheckListBox>();
  cl->Items()->Add(L"C:\\");
  cl->Items()->Add(L"D:\\");
  int checks = 0;
  cl->OnClickCheck = [&](TObject*) { ++checks; };
  RECT r = cl->ItemRect(1);
  Click(cl, POINT{r.left + 4, r.top + 2});
  EXPECT_TRUE(cl->Checked(1));
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(cl->ItemIndex(), 1);
  // On the text: selects, does not toggle.
  r = cl->ItemRect(0);
  Click(cl, POINT{r.left + TCheckListBox::CheckWidth() + 10, r.top + 2});
  EXPECT_FALSE(cl->Checked(0));
  EXPECT_EQ(cl->ItemIndex(), 0);
  EXPECT_EQ(checks, 1);
}

TEST_F(ListBoxTest, CheckListBoxTogglesTheCurrentItemWithTheSpaceBar) {
  TCheckListBox* cl = Make<TCheckListBox>();
  cl->Items()->Add(L"a");
  cl->SetItemIndex(0);
  SendMessageW(cl->Handle(), WM_CHAR, L' ', 0);
  EXPECT_TRUE(cl->Checked(0));
  SendMessageW(cl->Handle(), WM_CHAR, L' ', 0);
  EXPECT_FALSE(cl->Checked(0));
  cl->AllowGrayed = true;
  cl->SetChecked(0, true);
  SendMessageW(cl->Handle(), WM_CHAR, L' ', 0);
  EXPECT_EQ(cl->State(0), cbGrayed);
}

TEST_F(ListBoxTest, CheckStatesAndObjectsStayWithTheirItems) {
  TCheckListBox* cl = Construct<TCheckListBox>(form);
  cl->Items()->AddObject(L"b", Tag(2));
  cl->Items()->AddObject(L"a", Tag(1));
  cl->SetChecked(0, true);  // "b", before any window exists
  cl->SetParent(form);
  cl->HandleNeeded();
  EXPECT_TRUE(cl->Checked(0));
  cl->SetSorted(true);  // recreates the window in sorted order
  ASSERT_EQ(cl->Items()->Strings(1), L"b");
  EXPECT_TRUE(cl->Checked(1));
  EXPECT_FALSE(cl->Checked(0));
  EXPECT_EQ(cl->Items()->Objects(1), Tag(2));
  cl->Items()->Delete(0);
  EXPECT_TRUE(cl->Checked(0));
  cl->Items()->Clear();
  EXPECT_EQ(cl->Count(), 0);
}

TEST_F(ListBoxTest, CheckListBoxPaintsItsItemsThroughTheParent) {
  TCheckListBox* cl = Make<TCheckListBox>();
  cl->Items()->Add(L"item");
  cl->SetChecked(0, true);
  int drawn = 0;
  cl->OnDrawItem = [&](TWinControl*, int index, TRect rect, TOwnerDrawState) {
    EXPECT_EQ(index, 0);
    EXPECT_GE(rect.left, TCheckListBox::CheckWidth());
    ++drawn;
  };
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 200);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(cl->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  EXPECT_GE(drawn, 1);
}

}  // namespace
