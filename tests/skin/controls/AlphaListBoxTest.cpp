// The skinned list box: its item facade over the window's LB_ messages,
// the virtual styles served from events, multiple selection, the count
// rules, the incremental search with its pause, columns, and the
// background behind the items from the skin.
#include <gtest/gtest.h>

#include "skin/controls/AlphaListBox.h"
#include "skin/controls/ListView.h"

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/SysUtils.h"
#include "skin/engine/FastPixels.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class AlphaListBoxTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    lb = Construct<TsAlphaListBox>(form);
    lb->SetName(L"LB");
    lb->SetParent(form);
    lb->SetBounds(10, 10, 121, 97);
    lb->OnClick = [this](TObject*) { ++clicks; };
    form->Show();
  }
  // The texts as the window holds them.
  std::vector<std::wstring> WindowTexts() {
    std::vector<std::wstring> v;
    HWND wnd = lb->Handle();
    const int n = static_cast<int>(::SendMessageW(wnd, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      wchar_t buf[64] = {};
      ::SendMessageW(wnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
      v.emplace_back(buf);
    }
    return v;
  }
  void Type(wchar_t ch) { ::SendMessageW(lb->Handle(), WM_CHAR, ch, 0); }
  void Fill(std::initializer_list<const wchar_t*> texts) {
    for (const wchar_t* t : texts) lb->Items()->Add(t);
  }

  TsAlphaListBox* lb = nullptr;
  int clicks = 0;
};

using Texts = std::vector<std::wstring>;

}  // namespace

TEST_F(AlphaListBoxTest, ItemsAreTheWindowsStringsAndObjects) {
  TObject a, b;
  TStrings* items = lb->Items();
  struct Step {
    const char* what;
    std::function<void()> op;
    Texts expect;
  } steps[] = {
      {"add", [&] { items->Add(L"б"); items->AddObject(L"а", &a); }, {L"б", L"а"}},
      {"insert", [&] { items->InsertObject(1, L"в", &b); }, {L"б", L"в", L"а"}},
      {"delete", [&] { items->Delete(0); }, {L"в", L"а"}},
      {"move", [&] { items->Move(0, 1); }, {L"а", L"в"}},
      {"exchange", [&] { items->Exchange(0, 1); }, {L"в", L"а"}},
      {"put", [&] { items->SetStrings(1, L"я"); }, {L"в", L"я"}},
      {"text", [&] { items->SetText(L"x\r\ny\r\nz"); }, {L"x", L"y", L"z"}},
  };
  for (const Step& s : steps) {
    s.op();
    EXPECT_EQ(s.expect, WindowTexts()) << s.what;
    EXPECT_EQ(s.expect, items->ToVector()) << s.what;
    if (std::string(s.what) == "exchange") {
      // Objects travel with their items through insert, move and exchange.
      EXPECT_EQ(&b, items->Objects(0));
      EXPECT_EQ(&a, items->Objects(1));
      EXPECT_EQ(1, items->IndexOf(L"а"));
    }
    if (std::string(s.what) == "put") {
      EXPECT_EQ(&a, items->Objects(1)) << "a new text keeps the object";
    }
  }
  EXPECT_THROW(items->Strings(7), EListError);
  EXPECT_THROW(items->Objects(7), EListError);
  items->Clear();
  EXPECT_EQ(0, lb->Count());
}

TEST_F(AlphaListBoxTest, VirtualListsAreServedFromEvents) {
  TObject obj;
  int drawn = 0;
  lb->OnData = [](TWinControl*, int i, std::wstring& s) { s = L"строка " + std::to_wstring(i); };
  lb->OnDataObject = [&](TWinControl*, int i, TObject*& o) { o = i == 3 ? &obj : nullptr; };
  lb->OnDataFind = [](TWinControl*, const std::wstring& s) { return s == L"строка 7" ? 7 : -1; };
  lb->OnDrawItem = [&](TWinControl*, int, RECT, TOwnerDrawState) { ++drawn; };
  for (TListBoxStyle style : {lbVirtual, lbVirtualOwnerDraw}) {
    drawn = 0;
    lb->SetStyle(style);
    lb->SetCount(1000);
    EXPECT_EQ(1000, lb->Count());
    EXPECT_EQ(1000, lb->Items()->Count());
    EXPECT_EQ(L"строка 5", lb->Items()->Strings(5));
    EXPECT_EQ(&obj, lb->Items()->Objects(3));
    EXPECT_EQ(7, lb->Items()->IndexOf(L"строка 7"));
    // The window's text requests are answered from OnData too.
    wchar_t buf[32] = {};
    EXPECT_EQ(9, ::SendMessageW(lb->Handle(), LB_GETTEXT, 12, reinterpret_cast<LPARAM>(buf)));
    EXPECT_STREQ(L"строка 12", buf);
    EXPECT_EQ(LB_ERR, ::SendMessageW(lb->Handle(), LB_GETTEXTLEN, 1000, 0));
    // Nothing changes the items of a list without data.
    EXPECT_EQ(-1, lb->Items()->Add(L"x"));
    lb->Items()->SetStrings(5, L"x");
    lb->Items()->Move(1, 2);
    EXPECT_EQ(1000, lb->Items()->Count());
    EXPECT_EQ(L"строка 5", lb->Items()->Strings(5));
    PrintControl(lb);
    EXPECT_GT(drawn, 0) << style;
  }
  // Assigning items makes the list plain again.
  TStringList plain;
  plain.Add(L"один");
  lb->SetItems(&plain);
  EXPECT_EQ(lbOwnerDrawFixed, lb->Style());
  EXPECT_EQ(Texts{L"один"}, lb->Items()->ToVector());
}

TEST_F(AlphaListBoxTest, CountIsForVirtualListsOnly) {
  Fill({L"а", L"б"});
  try {
    lb->SetCount(5);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(L"Listbox (LB) style must be virtual in order to set Count", e.Message());
  }
  EXPECT_EQ(2, lb->Count());
  EXPECT_EQ((Texts{L"а", L"б"}), WindowTexts());
  // Switching to a virtual style empties the list and ends sorting.
  lb->SetSorted(true);
  lb->SetStyle(lbVirtual);
  EXPECT_EQ(0, lb->Items()->Count());
  EXPECT_FALSE(lb->Sorted());
}

TEST_F(AlphaListBoxTest, MultipleSelectionSurvivesTheNewWindow) {
  Fill({L"а", L"б", L"в", L"г", L"д", L"е", L"ж", L"з", L"и", L"к"});
  lb->SetTopIndex(2);
  lb->SetItemIndex(4);
  lb->SetMultiSelect(true);
  ASSERT_NE(nullptr, lb->EditWnd());
  EXPECT_TRUE(lb->EditWnd()->Hooked()) << "the new window has its frame adapter";
  EXPECT_EQ(10, lb->Items()->Count());
  EXPECT_EQ(2, lb->TopIndex());
  EXPECT_EQ(4, lb->ItemIndex());
  EXPECT_NE(0, ::GetWindowLongW(lb->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);
  lb->SetSelected(1, true);
  lb->SetSelected(3, true);
  EXPECT_EQ(2, lb->SelCount());
  EXPECT_TRUE(lb->Selected(3));
  EXPECT_FALSE(lb->Selected(2));
  EXPECT_THROW(lb->SetSelected(99, true), EListError);
  lb->ClearSelection();
  EXPECT_EQ(0, lb->SelCount());
}

TEST_F(AlphaListBoxTest, TypedKeysSearchUntilAPause) {
  Fill({L"ab1", L"ab2", L"abc", L"b"});
  DWORD now = 100000;
  lb->TickSource = [&] { return now; };
  lb->AutoCompleteDelay = 500;
  Type(L'a');
  EXPECT_EQ(0, lb->ItemIndex());
  EXPECT_EQ(1, clicks);
  now += 499;
  Type(L'b');
  Type(L'c');
  EXPECT_EQ(L"abc", lb->Filter());
  EXPECT_EQ(2, lb->ItemIndex());
  // The pause starts a new search text.
  now += 500;
  Type(L'b');
  EXPECT_EQ(L"b", lb->Filter());
  EXPECT_EQ(3, lb->ItemIndex());
  // Backspace to an empty text makes the first item current.
  Type(L'\b');
  EXPECT_EQ(0, lb->ItemIndex());
  EXPECT_EQ(5, clicks);
  // The window's own search would move on to the next "a" item.
  now += 1000;
  Type(L'a');
  EXPECT_EQ(0, lb->ItemIndex());
  lb->AutoComplete = false;
  Type(L'b');
  EXPECT_EQ(3, lb->ItemIndex());
}

TEST_F(AlphaListBoxTest, ColumnsShareTheWidth) {
  Fill({L"а", L"б", L"в"});
  lb->SetColumns(3);
  HWND wnd = lb->Handle();
  const LONG style = ::GetWindowLongW(wnd, GWL_STYLE);
  EXPECT_NE(0, style & LBS_MULTICOLUMN);
  RECT r{};
  ::SendMessageW(wnd, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(40, r.right - r.left);
  lb->SetColumns(0);
  EXPECT_EQ(0, ::GetWindowLongW(lb->Handle(), GWL_STYLE) & (LBS_MULTICOLUMN | WS_HSCROLL));
  EXPECT_EQ((Texts{L"а", L"б", L"в"}), WindowTexts());
}

TEST_F(AlphaListBoxTest, ItemsLieOverTheSkinsBackground) {
  Fill({L"а"});
  ::UpdateWindow(form->Handle());
  ASSERT_NE(nullptr, lb->EditWnd());
  ASSERT_FALSE(lb->SkinData->CacheBmp->Empty());
  // A mark in the skin's image of the control shows below the items on
  // the next paint of the window.
  const int e = lb->EditWnd()->LeftEdge;
  const int x = 30, y = lb->Height() - e - 10;
  HDC cache = lb->SkinData->CacheBmp->Canvas()->Handle();
  UniqueBrush mark(::CreateSolidBrush(0x40A060));
  RECT r{x - 2, y - 2, x + 2, y + 2};
  ::FillRect(cache, &r, mark.get());
  ::InvalidateRect(lb->Handle(), nullptr, TRUE);
  ::UpdateWindow(lb->Handle());
  UniqueWindowDC dc = UniqueWindowDC::Client(lb->Handle());
  EXPECT_EQ(COLORREF(0x40A060), ::GetPixel(dc.get(), x - e, y - e));
  manager->SetActive(false);
  EXPECT_EQ(nullptr, lb->EditWnd());
  EXPECT_EQ(ColorToRGB(clWindow), Px(*PrintControl(lb), 30, lb->Height() - 10));
}

TEST_F(AlphaListBoxTest, SkinChangesAndNoSkinKeepGdiObjects) {
  Fill({L"а", L"б", L"в"});
  auto* lv = Construct<TsListView>(form);
  lv->SetParent(form);
  lv->SetBounds(150, 10, 200, 120);
  lv->SetViewStyle(vsReport);
  lv->Columns()->Add()->SetCaption(L"Имя");
  lv->Items()->Add()->SetCaption(L"строка");
  std::vector<std::wstring> names;
  for (int i = 0; i < manager->InternalSkins()->Count(); ++i)
    names.push_back(manager->InternalSkins()->Items(i)->Name());
  auto change = [&](int i) {
    if (i % 4 == 3) {
      manager->SetActive(false);
    } else {
      manager->SetSkinName(names[i % names.size()]);
      manager->SetActive(true);
    }
    PrintControl(lb);
    PrintControl(lv);
    Type(L'б');
    ::UpdateWindow(form->Handle());
    PumpFor(5);
  };
  int afterStep[4] = {};
  for (int i = 0; i < 8; ++i) {
    change(i);
    afterStep[i % 4] = GdiObjectCount();
  }
  ASSERT_GT(afterStep[0], 0);
  for (int i = 0; i < 40; ++i) change(i);
  EXPECT_EQ(afterStep[39 % 4], GdiObjectCount());
  EXPECT_EQ((Texts{L"а", L"б", L"в"}), WindowTexts());
  EXPECT_EQ(1, lv->Items()->Count());
}

TEST_F(AlphaListBoxTest, PropertiesGiveTheWindowItsStyle) {
  struct Case {
    const char* what;
    std::function<void()> set;
    DWORD bits;  // expected set
  } cases[] = {
      {"owner-drawn", [&] { lb->SetStyle(lbOwnerDrawFixed); }, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS},
      {"variable", [&] { lb->SetStyle(lbOwnerDrawVariable); }, LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS},
      {"virtual", [&] { lb->SetStyle(lbVirtual); }, LBS_OWNERDRAWFIXED | LBS_NODATA},
      {"sorted", [&] { lb->SetStyle(lbStandard); lb->SetSorted(true); }, LBS_SORT | LBS_HASSTRINGS},
      {"multi", [&] { lb->SetMultiSelect(true); }, LBS_EXTENDEDSEL},
      {"tabs", [&] { lb->SetTabWidth(8); }, LBS_USETABSTOPS},
      {"no hiding", [&] { lb->SetAutoHideScroll(false); }, LBS_DISABLENOSCROLL},
      {"always", [] {}, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
  };
  for (const Case& c : cases) {
    c.set();
    EXPECT_EQ(c.bits, ::GetWindowLongW(lb->Handle(), GWL_STYLE) & c.bits) << c.what;
  }
  lb->SetIntegralHeight(true);
  EXPECT_EQ(0, ::GetWindowLongW(lb->Handle(), GWL_STYLE) & LBS_NOINTEGRALHEIGHT);
  EXPECT_NE(0, ::GetWindowLongW(lb->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  lb->SetBorderStyle(bsNone);
  EXPECT_EQ(0, ::GetWindowLongW(lb->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // Sorting is no property of a list without data.
  lb->SetStyle(lbVirtual);
  lb->SetSorted(true);
  EXPECT_FALSE(lb->Sorted());
}

TEST_F(AlphaListBoxTest, ItemsDrawnByTheControlShowTheCurrentItemAndTheDisabledText) {
  Fill({L"а", L"б"});
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemIndex(1);
  ASSERT_FALSE(lb->Focused());
  // An unfocused single-select list box shows its current item highlighted.
  RECT r = lb->ItemRect(1);
  auto b = PrintControl(lb);
  const int e = lb->EditWnd() ? lb->EditWnd()->LeftEdge : 2;
  EXPECT_EQ(ColorToRGB(clHighlight), Px(*b, r.right - 3 + e, r.top + 1 + e));
  // Disabled text is the mix of the font colour and the control's colour.
  std::vector<TColor> textColours;
  lb->OnDrawItem = [&](TWinControl*, int, RECT, TOwnerDrawState) {
    textColours.push_back(lb->Canvas()->Font()->Color());
  };
  lb->SetItemIndex(-1);
  lb->SetEnabled(false);
  PrintControl(lb);
  ASSERT_FALSE(textColours.empty());
  EXPECT_EQ(MidColor(lb->Font()->Color(), lb->Color()), textColours.back());
}
