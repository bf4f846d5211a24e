// Lists, list views and grids whose rows change while they are on screen:
// the screen shows the new rows, and a scroll bar the new rows bring keeps
// the skin's look.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <ostream>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Handles.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/TreeView.h"
#include "skin/controls/AlphaListBox.h"
#include "skin/controls/ListView.h"
#include "skin/windows/ScrollWnd.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

constexpr int kRows = 3;

// One list of each kind, each on its own plain panel, and how to change it.
struct ListCase {
  const wchar_t* name;
  std::function<TWinControl*(TForm*, TWinControl*)> make;
  std::function<void(TWinControl*, int from, int count)> addRows;
  std::function<void(TWinControl*)> renameFirst;
};

template <class T>
TCustomListView* MakeView(TForm* form, TWinControl* parent) {
  auto* v = Construct<T>(form);
  v->SetBounds(4, 4, 220, 120);
  v->SetParent(parent);
  v->SetViewStyle(vsReport);
  v->Columns()->Add()->SetCaption(L"Имя");
  v->Columns()->Items(0)->SetWidth(180);
  return v;
}

void AddViewRows(TWinControl* c, int from, int count) {
  auto* v = static_cast<TCustomListView*>(c);
  for (int i = from; i < from + count; ++i) v->Items()->Add()->SetCaption(L"Строка " + std::to_wstring(i));
}

// Rows added in one batch, as a scan fills its list.
void AddViewRowsInBatch(TWinControl* c, int from, int count) {
  auto* v = static_cast<TCustomListView*>(c);
  v->Items()->BeginUpdate();
  AddViewRows(c, from, count);
  v->Items()->EndUpdate();
}

// A tree view works out its rows' metrics, and sets its bars, in its own
// paint.
TWinControl* MakeTree(TForm* form, TWinControl* parent) {
  auto* t = Construct<TCustomTreeView>(form);
  t->SetBounds(4, 4, 220, 120);
  t->SetParent(parent);
  return t;
}

void AddTreeRows(TWinControl* c, int from, int count) {
  for (int i = from; i < from + count; ++i) {
    std::wstring text = L"Строка " + std::to_wstring(i);
    TVINSERTSTRUCTW ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = text.data();
    ::SendMessageW(c->Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
  }
}

void RenameTreeRow(TWinControl* c) {
  std::wstring text = L"Исправлено";
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(c->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
  item.pszText = text.data();
  ::SendMessageW(c->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// A list whose window asks for its rows (owner data), as search results.
TCustomListView* MakeOwnerDataView(TForm* form, TWinControl* parent) {
  TCustomListView* v = MakeView<TListView>(form, parent);
  v->SetOwnerData(true);
  return v;
}

void RenameViewRow(TWinControl* c) {
  static_cast<TCustomListView*>(c)->Items()->Item(0)->SetCaption(L"Исправлено");
}

template <class T>
TWinControl* MakeList(TForm* form, TWinControl* parent) {
  auto* l = Construct<T>(form);
  l->SetBounds(4, 4, 220, 120);
  l->SetParent(parent);
  return l;
}

template <class T>
void AddListRows(TWinControl* c, int from, int count) {
  for (int i = from; i < from + count; ++i) static_cast<T*>(c)->Items()->Add(L"Строка " + std::to_wstring(i));
}

template <class T>
void RenameListRow(TWinControl* c) {
  TStrings* items = static_cast<T*>(c)->Items();
  items->Delete(0);
  items->Insert(0, L"Исправлено");
}

const ListCase kCases[] = {
    {L"ListView", MakeView<TListView>, AddViewRows, RenameViewRow},
    {L"SkinnedListView", MakeView<TsListView>, AddViewRows, RenameViewRow},
    {L"SkinnedListViewBatch", MakeView<TsListView>, AddViewRowsInBatch, RenameViewRow},
    {L"OwnerDataListView", MakeOwnerDataView, AddViewRowsInBatch, RenameViewRow},
    {L"ListBox", MakeList<TListBox>, AddListRows<TListBox>, RenameListRow<TListBox>},
    {L"SkinnedListBox", MakeList<TsListBox>, AddListRows<TsListBox>, RenameListRow<TsListBox>},
    {L"StringGrid",
     [](TForm* form, TWinControl* parent) -> TWinControl* {
       auto* g = Construct<TStringGrid>(form);
       g->SetBounds(4, 4, 220, 120);
       g->SetParent(parent);
       g->SetColCount(2);
       g->SetRowCount(2);
       return g;
     },
     [](TWinControl* c, int from, int count) {
       auto* g = static_cast<TStringGrid*>(c);
       g->SetRowCount(from + count + 1);
       for (int i = from; i < from + count; ++i) g->SetCells(0, i + 1, L"Строка " + std::to_wstring(i));
     },
     [](TWinControl* c) { static_cast<TStringGrid*>(c)->SetCells(0, 1, L"Исправлено"); }},
};

class ListChanges : public SkinnedForm, public ::testing::WithParamInterface<ListCase> {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(30, 30, 300, 220);
    provider = Construct<TsSkinProvider>(form);
    auto* panel = Construct<TPanel>(form);
    panel->SetBounds(8, 8, 240, 140);
    panel->SetParent(form);
    list = GetParam().make(form, panel);
    GetParam().addRows(list, 0, kRows);
    form->Show();
    // Above the windows of other tests that share the display.
    ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    wnd = list->WindowHandle();
    adaptertest::PumpFor(50);
  }

  // What the window's client area shows on screen, and what the window
  // paints there now when asked to print itself.
  std::unique_ptr<TBitmap> Screen() const {
    RECT c{};
    ::GetClientRect(wnd, &c);
    auto b = MakeBmp(c.right, c.bottom, clBlack);
    UniqueWindowDC dc = UniqueWindowDC::Client(wnd);
    ::BitBlt(b->Canvas()->Handle(), 0, 0, c.right, c.bottom, dc.get(), 0, 0, SRCCOPY);
    return b;
  }
  std::unique_ptr<TBitmap> Printed() const {
    RECT w{}, c{};
    ::GetWindowRect(wnd, &w);
    ::GetClientRect(wnd, &c);
    POINT origin{0, 0};
    ::ClientToScreen(wnd, &origin);
    auto whole = MakeBmp(w.right - w.left, w.bottom - w.top, clBlack);
    ::PrintWindow(wnd, whole->Canvas()->Handle(), 0);
    auto b = MakeBmp(c.right, c.bottom, clBlack);
    ::BitBlt(b->Canvas()->Handle(), 0, 0, c.right, c.bottom, whole->Canvas()->Handle(),
             origin.x - w.left, origin.y - w.top, SRCCOPY);
    return b;
  }
  // Below a list view's header: the header is a window of its own, which
  // a plain list view does not print with its rows.
  int RowsTop() const {
    HWND header = ::FindWindowExW(wnd, nullptr, WC_HEADERW, nullptr);
    if (!header || !::IsWindowVisible(header)) return 0;
    RECT r{};
    ::GetWindowRect(header, &r);
    return r.bottom - r.top;
  }
  int Differing(TBitmap& a, TBitmap& b) const {
    int n = 0;
    for (int y = RowsTop(); y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += Px(a, x, y) != Px(b, x, y);
    return n;
  }
  // Pumps until the screen shows what the window prints (about a second).
  int ScreenDiffersFromPrint() {
    int differ = -1;
    for (int i = 0; i < 40 && differ != 0; ++i) {
      adaptertest::PumpFor(25);
      auto screen = Screen();  // before the print: printing renews state
      auto printed = Printed();
      differ = Differing(*screen, *printed);
    }
    return differ;
  }

  TacScrollWnd* Bars() const { return dynamic_cast<TacScrollWnd*>(GetScrollWnd(wnd)); }
  // Pixels of the vertical bar on screen that differ from the adapter's
  // own painting of it, polled until they settle.
  int BarDiffersFromSkin() {
    int differ = -1;
    for (int i = 0; i < 40 && differ != 0; ++i) {
      adaptertest::PumpFor(25);
      TacScrollWnd* a = Bars();
      if (!a) return -1;
      RECT w{};
      ::GetWindowRect(wnd, &w);
      TRect v{};
      GetVScrollRect(a, wnd, v);
      if (v.right <= v.left) return -2;
      auto engine = MakeBmp(w.right - w.left, w.bottom - w.top, clBlack);
      PaintScrollBars(a, wnd, engine->Canvas()->Handle(), -1);
      UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
      differ = 0;
      for (int y = v.top - w.top; y < v.bottom - w.top; ++y)
        for (int x = v.left - w.left; x < v.right - w.left; ++x)
          differ += static_cast<TColor>(::GetPixel(dc.get(), x, y)) != Px(*engine, x, y);
    }
    return differ;
  }

  TsSkinProvider* provider = nullptr;
  TWinControl* list = nullptr;
  HWND wnd = nullptr;
};

void PrintTo(const ListCase& c, std::ostream* os) {
  for (const wchar_t* p = c.name; *p; ++p) *os << static_cast<char>(*p);
}

std::string CaseName(const ::testing::TestParamInfo<ListCase>& info) {
  std::string s;
  for (const wchar_t* p = info.param.name; *p; ++p) s += static_cast<char>(*p);
  return s;
}

}  // namespace

TEST_P(ListChanges, ChangedRowsReachTheScreen) {
  ASSERT_EQ(ScreenDiffersFromPrint(), 0) << "the first paint";
  GetParam().renameFirst(list);
  EXPECT_EQ(ScreenDiffersFromPrint(), 0) << "a renamed row";
  GetParam().addRows(list, kRows, 1);
  EXPECT_EQ(ScreenDiffersFromPrint(), 0) << "an added row";
}

// The form's caption changes right after the rows did (the provider keeps
// the platform from drawing its own caption by switching drawing off).
TEST_P(ListChanges, RowsChangedBeforeTheCaptionChangesReachTheScreen) {
  ASSERT_EQ(ScreenDiffersFromPrint(), 0) << "the first paint";
  GetParam().renameFirst(list);
  form->SetCaption(L"Другой заголовок");
  EXPECT_EQ(ScreenDiffersFromPrint(), 0) << "a renamed row";
  GetParam().addRows(list, kRows, 1);
  form->SetCaption(L"Заголовок");
  EXPECT_EQ(ScreenDiffersFromPrint(), 0) << "an added row";
}

// The bars also of a tree view, which sets them inside its own paint. Its
// screen and print are not compared: the system's tree leaves the stub of
// a line below the last row unpainted on screen that its print draws.
class ListBars : public ListChanges {};

TEST_P(ListBars, AScrollBarThatRowsBringKeepsTheSkinsLook) {
  ASSERT_NE(Bars(), nullptr);
  GetParam().addRows(list, kRows, 40);
  EXPECT_EQ(BarDiffersFromSkin(), 0) << "after the rows came";
  GetParam().addRows(list, kRows + 40, 5);
  EXPECT_EQ(BarDiffersFromSkin(), 0) << "after more rows came";
}

INSTANTIATE_TEST_SUITE_P(Lists, ListChanges, ::testing::ValuesIn(kCases), CaseName);

std::vector<ListCase> BarCases() {
  std::vector<ListCase> cases(std::begin(kCases), std::end(kCases));
  cases.push_back({L"TreeView", MakeTree, AddTreeRows, RenameTreeRow});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Lists, ListBars, ::testing::ValuesIn(BarCases()), CaseName);
