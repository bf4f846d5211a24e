// TComboBox: items bound to the window, selection, text and events.
#include <gtest/gtest.h>

#include "framework/ComboBox.h"
#include "tests/framework/FormTestSupport.h"

namespace {

class ComboBoxTest : public FormTest {
 protected:
  void Notify(TWinControl* c, WORD code) {
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(c->Handle()));
  }
};

TEST_F(ComboBoxTest, ItemsAndSelectionReachTheWindow) {
  TComboBox* cb = Make<TComboBox>(8, 8, 200, 21);
  cb->Items()->Add(L"WLM (internal)");
  cb->Items()->Add(L"Office 2007");
  cb->SetItemIndex(1);
  HWND w = cb->Handle();
  EXPECT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(w, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(cb->Text(), L"Office 2007");
  cb->Items()->Delete(0);
  EXPECT_EQ(cb->Items()->Count(), 1);
  EXPECT_EQ(cb->Items()->Strings(0), L"Office 2007");
}

TEST_F(ComboBoxTest, TextSetBeforeTheWindowShowsInIt) {
  TComboBox* cb = Construct<TComboBox>(form);
  cb->SetText(L"WLM (internal)");
  cb->Items()->Add(L"Other");
  EXPECT_EQ(cb->ItemIndex(), -1);
  cb->SetParent(form);
  cb->HandleNeeded();
  EXPECT_EQ(cb->Text(), L"WLM (internal)");
  EXPECT_EQ(cb->Items()->Count(), 1);
}

TEST_F(ComboBoxTest, DropDownListTextSelectsTheMatchingItem) {
  TComboBox* cb = Make<TComboBox>(8, 8, 200, 21);
  cb->SetStyle(csDropDownList);
  for (const wchar_t* s : {L"Русский", L"English"}) cb->Items()->Add(s);
  cb->SetText(L"english");
  EXPECT_EQ(cb->ItemIndex(), 1);
  cb->SetText(L"missing");
  EXPECT_EQ(cb->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, ItemsAndSelectionSurviveRecreateWnd) {
  TComboBox* cb = Make<TComboBox>(8, 8, 200, 21);
  for (const wchar_t* s : {L"b", L"a", L"c"}) cb->Items()->Add(s);
  cb->SetItemIndex(0);
  cb->SetSorted(true);
  EXPECT_EQ(cb->Items()->Text(), L"a\r\nb\r\nc\r\n");
  EXPECT_EQ(cb->Text(), L"b");
}

TEST_F(ComboBoxTest, SelectionChangeFiresSelectAndChangeWithTheNewText) {
  TComboBox* cb = Make<TComboBox>(8, 8, 200, 21);
  cb->Items()->Add(L"one");
  cb->Items()->Add(L"two");
  std::wstring seen;
  int selects = 0, changes = 0;
  cb->OnSelect = [&](TObject*) { ++selects; seen = cb->Text(); };
  cb->OnChange = [&](TObject*) { ++changes; };
  SendMessageW(cb->Handle(), CB_SETCURSEL, 1, 0);
  Notify(cb, CBN_SELCHANGE);
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(seen, L"two");
  Notify(cb, CBN_EDITCHANGE);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(selects, 1);
}

TEST_F(ComboBoxTest, ClosedHeightStaysTheSystemsAndTheListCanOpen) {
  TComboBox* cb = Make<TComboBox>(8, 8, 200, 21);
  for (int i = 0; i < 20; ++i) cb->Items()->Add(std::to_wstring(i));
  RECT r;
  GetWindowRect(cb->Handle(), &r);
  EXPECT_LT(r.bottom - r.top, 40);
  RECT dropped{};
  SendMessageW(cb->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GT(dropped.bottom - dropped.top, 60);
  cb->SetBounds(8, 40, 180, 21);
  SendMessageW(cb->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GT(dropped.bottom - dropped.top, 60);
  EXPECT_EQ(cb->Width(), 180);
  EXPECT_EQ(cb->Top(), 40);
}

TEST_F(ComboBoxTest, OwnerDrawnComboPaintsTheSelectedItemThroughItsEvent) {
  TComboBox* cb = Make<TComboBox>(8, 8, 200, 21);
  cb->SetStyle(csOwnerDrawFixed);
  cb->SetItemHeight(18);
  cb->Items()->Add(L"Русский");
  cb->Items()->Add(L"English");
  cb->SetItemIndex(1);
  int drawn = -1;
  cb->OnDrawItem = [&](TWinControl*, int index, RECT, TOwnerDrawState state) {
    if (state & odComboBoxEdit) drawn = index;
  };
  // The combo's own request to paint its edit part, as the parent gets it.
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 100);
  HGDIOBJ old = SelectObject(mem, bmp);
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_COMBOBOX;
  d.itemID = 1;
  d.itemAction = ODA_DRAWENTIRE;
  d.itemState = ODS_COMBOBOXEDIT | ODS_SELECTED;
  d.hwndItem = cb->Handle();
  d.hDC = mem;
  d.rcItem = RECT{0, 0, 180, 18};
  EXPECT_TRUE(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d)));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(SendMessageW(cb->Handle(), CB_GETITEMHEIGHT, 0, 0), 18);
}

}  // namespace
