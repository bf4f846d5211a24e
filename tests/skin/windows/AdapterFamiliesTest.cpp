// The adapter families on bare child windows of a probe parent: the
// notifications and focus the parent sees are those it sees without an
// adapter, the combo's list gets one adapter however often it opens, and
// the whole-face adapters print their skin image.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/ComboWnd.h"
#include "skin/windows/EditWnd.h"
#include "skin/windows/GroupBoxWnd.h"
#include "skin/windows/PanelWnd.h"
#include "skin/windows/SpinWnd.h"
#include "skin/windows/StaticWnd.h"
#include "skin/windows/ToolBarWnd.h"
#include "tests/skin/windows/CtrlAdapterTestSupport.h"

using namespace adaptertest;
using skintest::Px;

namespace {

// What the parent got: WM_COMMAND codes and WM_NOTIFY codes, read while
// the notification is still alive.
std::vector<std::pair<UINT, UINT>>& Heard() {
  static std::vector<std::pair<UINT, UINT>> heard;
  return heard;
}

LRESULT CALLBACK ListeningParent(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_COMMAND) Heard().emplace_back(WM_COMMAND, HIWORD(w));
  if (msg == WM_NOTIFY) Heard().emplace_back(WM_NOTIFY, reinterpret_cast<NMHDR*>(l)->code);
  return ::DefWindowProcW(wnd, msg, w, l);
}

const wchar_t* ListeningClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ListeningParent;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarnholtListeningParent";
    ::RegisterClassW(&wc);
    registered = true;
  }
  return L"TarnholtListeningParent";
}

class AdapterFamilies : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    manager = InternalSkinManager();
    parent = ::CreateWindowExW(0, ListeningClass(), L"", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    ::DestroyWindow(parent);
    manager.reset();
  }
  HWND Child(const wchar_t* cls, DWORD style, int w = 150, int h = 100, const wchar_t* text = L"") {
    return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)),
                             ::GetModuleHandleW(nullptr), nullptr);
  }
  static std::vector<std::pair<UINT, UINT>> Notifications() { return Heard(); }
  skintest::ManagerPtr manager;
  HWND parent = nullptr;
};

struct FamilyCase {
  const char* name;
  const wchar_t* cls;
  DWORD style;
  TacMainWndPtr (*adapt)(HWND, TsSkinManager*);
  std::function<void(HWND)> fill;
  std::function<void(HWND)> act;
};

template <class T>
TacMainWndPtr Adapt(HWND wnd, TsSkinManager* m, const wchar_t* section) {
  auto a = TacMainWnd::Create<T>(wnd, nullptr, m, section, true);
  return TacMainWndPtr(a.release());
}

TEST_F(AdapterFamilies, NotificationsAndFocusReachTheParentAsWithoutAdapter) {
  const FamilyCase cases[] = {
      {"edit", L"EDIT", WS_BORDER | ES_AUTOHSCROLL,
       [](HWND w, TsSkinManager* m) { return Adapt<TacEditWnd>(w, m, L"EDIT"); }, nullptr,
       [](HWND w) {
         ::SendMessageW(w, WM_CHAR, L'ж', 1);
         ::SendMessageW(w, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"абв"));
       }},
      {"list box", L"LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
       [](HWND w, TsSkinManager* m) { return Adapt<TacEditWnd>(w, m, L"EDIT"); },
       [](HWND w) {
         for (int i = 0; i < 20; ++i)
           ::SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Строка"));
       },
       [](HWND w) {
         ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
         ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
         ::SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
       }},
      {"combo box", L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL,
       [](HWND w, TsSkinManager* m) { return Adapt<TacComboBoxWnd>(w, m, L"EDIT"); },
       [](HWND w) {
         for (int i = 0; i < 5; ++i)
           ::SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Пункт"));
       },
       [](HWND w) {
         ::SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
         ::SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
       }},
      {"button", L"BUTTON", BS_PUSHBUTTON | BS_NOTIFY,
       [](HWND w, TsSkinManager* m) { return Adapt<TacBtnWnd>(w, m, L"BUTTON"); }, nullptr,
       [](HWND w) { ::SendMessageW(w, BM_CLICK, 0, 0); }},
      {"check box", L"BUTTON", BS_AUTOCHECKBOX | BS_NOTIFY,
       [](HWND w, TsSkinManager* m) { return Adapt<TacCheckBoxWnd>(w, m, L"CHECKBOX"); }, nullptr,
       [](HWND w) { ::SendMessageW(w, BM_CLICK, 0, 0); }},
      {"list view", WC_LISTVIEWW, WS_BORDER | LVS_REPORT,
       [](HWND w, TsSkinManager* m) { return Adapt<TacListViewWnd>(w, m, L"EDIT"); },
       [](HWND w) {
         LVCOLUMNW col{};
         col.mask = LVCF_WIDTH | LVCF_TEXT;
         col.cx = 100;
         col.pszText = const_cast<wchar_t*>(L"Имя");
         ::SendMessageW(w, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
         for (int i = 0; i < 3; ++i) {
           LVITEMW item{};
           item.mask = LVIF_TEXT;
           item.iItem = i;
           item.pszText = const_cast<wchar_t*>(L"Файл");
           ::SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
         }
       },
       [](HWND w) {
         LVITEMW state{};
         state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
         ::SendMessageW(w, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
       }},
      {"tree view", WC_TREEVIEWW, WS_BORDER | TVS_HASLINES,
       [](HWND w, TsSkinManager* m) { return Adapt<TacTreeViewWnd>(w, m, L"EDIT"); },
       [](HWND w) {
         TVINSERTSTRUCTW ins{};
         ins.hInsertAfter = TVI_LAST;
         ins.item.mask = TVIF_TEXT;
         ins.item.pszText = const_cast<wchar_t*>(L"Папка");
         ::SendMessageW(w, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
       },
       [](HWND w) {
         auto root = reinterpret_cast<HTREEITEM>(::SendMessageW(w, TVM_GETNEXTITEM, TVGN_ROOT, 0));
         ::SendMessageW(w, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
       }},
  };
  for (const FamilyCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::pair<UINT, UINT>> seen[2];
    bool focused[2] = {};
    for (int adapted = 0; adapted < 2; ++adapted) {
      HWND w = Child(c.cls, c.style);
      if (c.fill) c.fill(w);
      TacMainWndPtr a;
      if (adapted) {
        a = c.adapt(w, manager.get());
        ASSERT_EQ(GetScrollWnd(w), a.get());
      }
      Heard().clear();
      ::SetFocus(w);
      focused[adapted] = ::GetFocus() == w || ::IsChild(w, ::GetFocus());
      // Every notification is sent while the step runs; what comes later
      // (another process taking the activation) is no part of it.
      c.act(w);
      seen[adapted] = Notifications();
      a.reset();
      ::DestroyWindow(w);
    }
    EXPECT_FALSE(seen[0].empty());
    EXPECT_EQ(seen[1], seen[0]);
    EXPECT_TRUE(focused[0]);
    EXPECT_EQ(focused[1], focused[0]);
  }
}

TEST_F(AdapterFamilies, AFocusedAdaptedButtonKeepsItsFocusStateAndTellsTheParent) {
  HWND w = Child(L"BUTTON", BS_PUSHBUTTON | BS_NOTIFY, 90, 28, L"Очистить");
  TacMainWndPtr a = Adapt<TacBtnWnd>(w, manager.get(), L"BUTTON");
  Heard().clear();
  ::SetFocus(w);
  EXPECT_EQ(::GetFocus(), w);
  EXPECT_TRUE(::SendMessageW(w, BM_GETSTATE, 0, 0) & BST_FOCUS);
  const auto got = Notifications();
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(UINT(WM_COMMAND), UINT(BN_SETFOCUS))),
            got.end());
  a.reset();
  ::DestroyWindow(w);
}

TEST_F(AdapterFamilies, TwentyDropDownsMakeOneListAdapter) {
  HWND w = Child(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 150, 200);
  for (int i = 0; i < 30; ++i)
    ::SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Пункт"));
  auto a = TacMainWnd::Create<TacComboBoxWnd>(w, nullptr, manager.get(), L"EDIT", true);
  auto dropDown = [&] {
    ::SendMessageW(w, CB_SHOWDROPDOWN, TRUE, 0);
    ::UpdateWindow(a->ListWnd ? a->ListWnd : w);
    Pump(2);
    ::SendMessageW(w, CB_SHOWDROPDOWN, FALSE, 0);
  };
  dropDown();
  const int gdi = GdiObjectCount();  // the list's adapter, brush and image exist now
  for (int i = 1; i < 20; ++i) dropDown();
  ASSERT_NE(a->ListWnd, nullptr);
  ASSERT_NE(a->ListAdapter, nullptr);
  EXPECT_EQ(a->ListAdaptersMade(), 1);
  EXPECT_EQ(GetScrollWnd(a->ListWnd), a->ListAdapter.get());
  EXPECT_EQ(GdiObjectCount(), gdi);
  // The list's colours: the section's, with one brush the adapter keeps.
  UniqueMemDC dc = CreateMemDC();
  const LPARAM listParam = reinterpret_cast<LPARAM>(a->ListWnd);
  const WPARAM dcParam = reinterpret_cast<WPARAM>(dc.get());
  const LRESULT brush = ::SendMessageW(w, WM_CTLCOLORLISTBOX, dcParam, listParam);
  EXPECT_NE(brush, 0);
  EXPECT_EQ(::SendMessageW(w, WM_CTLCOLORLISTBOX, dcParam, listParam), brush);
  EXPECT_EQ(::GetBkColor(dc.get()), ColorToRGB(SectionOf(*manager, L"EDIT").Color));
  HWND list = a->ListWnd;
  a.reset();
  EXPECT_EQ(GetScrollWnd(list), nullptr);
  ::DestroyWindow(w);
}

TEST_F(AdapterFamilies, WholeFaceAdaptersPrintTheirSkinImage) {
  struct Case {
    const char* name;
    const wchar_t* cls;
    DWORD style;
    TacMainWndPtr (*adapt)(HWND, TsSkinManager*);
    int w, h;
  };
  const Case cases[] = {
      {"static", L"STATIC", SS_LEFT,
       [](HWND w, TsSkinManager* m) { return Adapt<TacStaticWnd>(w, m, L"CHECKBOX"); }, 120, 30},
      {"icon", L"STATIC", SS_ICON,
       [](HWND w, TsSkinManager* m) { return Adapt<TacIconWnd>(w, m, L"CHECKBOX"); }, 40, 40},
      {"radio", L"BUTTON", BS_AUTORADIOBUTTON,
       [](HWND w, TsSkinManager* m) { return Adapt<TacCheckBoxWnd>(w, m, L"CHECKBOX"); }, 120, 24},
      {"group box", L"BUTTON", BS_GROUPBOX,
       [](HWND w, TsSkinManager* m) { return Adapt<TacGroupBoxWnd>(w, m, L"GROUPBOX"); }, 150, 90},
      {"up-down", UPDOWN_CLASSW, 0,
       [](HWND w, TsSkinManager* m) { return Adapt<TacSpinWnd>(w, m, L"SPEEDBUTTON_SMALL"); }, 18,
       31},
      {"tool bar", TOOLBARCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN,
       [](HWND w, TsSkinManager* m) { return Adapt<TacToolBarWnd>(w, m, L"PANEL"); }, 200, 30},
      {"size grip", L"SCROLLBAR", SBS_SIZEGRIP,
       [](HWND w, TsSkinManager* m) { return Adapt<TacSizerWnd>(w, m, L"PANEL"); }, 16, 16},
      // A window that paints nothing itself, as a dialog page.
      {"panel", ProbeClass(), 0,
       [](HWND w, TsSkinManager* m) { return Adapt<TacTransPanelWnd>(w, m, L"PANEL"); }, 100, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Child(c.cls, c.style, c.w, c.h, L"Текст");
    TacMainWndPtr a = c.adapt(w, manager.get());
    auto image = Print(w);
    TBitmap* cache = a->SkinData->CacheBmp.get();
    ASSERT_NE(cache, nullptr);
    ASSERT_FALSE(cache->Empty());
    // A pixel of the lower right, away from text and glyphs (a tool bar
    // prints its client part only: its middle).
    const bool bar = std::string(c.name) == "tool bar";
    const int x = bar ? c.w / 2 : std::min(image->Width(), cache->Width()) - 2;
    const int y = bar ? c.h / 2 : std::min(image->Height(), cache->Height()) - 2;
    EXPECT_EQ(Px(*image, x, y), Px(*cache, x, y));
    EXPECT_NE(Px(*image, x, y), 0x123456);
    a.reset();
    ::DestroyWindow(w);
  }
}

TEST_F(AdapterFamilies, ASizeGripIsAlwaysTheBottomRightCorner) {
  HWND w = Child(L"SCROLLBAR", SBS_SIZEGRIP, 16, 16);
  TacMainWndPtr a = Adapt<TacSizerWnd>(w, manager.get(), L"PANEL");
  RECT r{};
  ::GetWindowRect(w, &r);
  const LPARAM inside = MAKELPARAM(r.left + 2, r.top + 2);
  EXPECT_EQ(::SendMessageW(w, WM_NCHITTEST, 0, inside), HTBOTTOMRIGHT);
  ::EnableWindow(w, FALSE);
  EXPECT_EQ(::SendMessageW(w, WM_NCHITTEST, 0, inside), HTBOTTOMRIGHT);
  a.reset();
  ::DestroyWindow(w);
}

// A parent whose image is one colour behind the child (window rows 10 to
// 38) and another everywhere else, with its client part 23 pixels down in
// the image, as under a caption: a fade that reads the image anywhere but
// where the child's background came from picks up the other colour.
constexpr TColor kParentImage = 0x00C000;
constexpr TColor kElsewhere = 0xC00000;
constexpr int kChildTop = 10, kChildHeight = 28;

LRESULT CALLBACK ImageParent(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  static std::unique_ptr<TBitmap> image = [] {
    auto b = skintest::MakeBmp(400, 300, kElsewhere);
    TacBmpView v(*b);
    for (int y = kChildTop; y < kChildTop + kChildHeight; ++y)
      for (int x = 0; x < 400; ++x) ColorToPixel(kParentImage, v.Pixel(x, y));
    return b;
  }();
  if (msg == SM_ALPHACMD && HIWORD(w) == AC_GETCACHE) {
    CacheInfoReply = MakeCacheInfo(image.get(), 0, 23);
    return 0;
  }
  return ::DefWindowProcW(wnd, msg, w, l);
}

TEST_F(AdapterFamilies, DisabledFacesAreBlendedWithTheParentsImage) {
  HWND host = MakeHost(L"TarnholtImageParent", ImageParent);
  struct Case {
    const char* name;
    DWORD style;
    TacMainWndPtr (*adapt)(HWND, TsSkinManager*);
  };
  for (Case c : {Case{"button", BS_PUSHBUTTON,
                      [](HWND w, TsSkinManager* m) { return Adapt<TacBtnWnd>(w, m, L"BUTTON"); }},
                 Case{"check box", BS_AUTOCHECKBOX, [](HWND w, TsSkinManager* m) {
                        return Adapt<TacCheckBoxWnd>(w, m, L"BUTTON");
                      }}}) {
    SCOPED_TRACE(c.name);
    HWND w = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | c.style, 10, kChildTop,
                               90, kChildHeight, host, nullptr, ::GetModuleHandleW(nullptr),
                               nullptr);
    TacMainWndPtr a = c.adapt(w, manager.get());
    auto enabled = Print(w);
    ::EnableWindow(w, FALSE);
    auto disabled = Print(w);
    for (int y : {2, 14, kChildHeight - 3}) {  // rows both near and far from the band's edge
      SCOPED_TRACE(y);
      const TColor face = Px(*enabled, 45, y), faded = Px(*disabled, 45, y);
      ASSERT_NE(face, kParentImage);
      EXPECT_NE(faded, face);
      for (int shift : {0, 8, 16}) {  // each channel between the face and the parent
        const int f = (face >> shift) & 255, p = (kParentImage >> shift) & 255;
        const int d = (faded >> shift) & 255;
        EXPECT_GE(d, std::min(f, p) - 1);
        EXPECT_LE(d, std::max(f, p) + 1);
      }
    }
    a.reset();
    ::DestroyWindow(w);
  }
  ::DestroyWindow(host);
}

TEST_F(AdapterFamilies, AToolButtonsLongTextIsReadWholeAndPaints) {
  HWND w = Child(TOOLBARCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_LIST, 300, 40);
  ::SendMessageW(w, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Far longer than any fixed buffer a painter might keep on its stack.
  std::wstring text;
  for (int i = 0; text.size() < 3000; ++i) text += L"Слово" + std::to_wstring(i) + L' ';
  text.pop_back();
  TBBUTTON button{};
  button.iBitmap = I_IMAGENONE;
  button.idCommand = 7;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = BTNS_BUTTON | BTNS_SHOWTEXT;
  button.iString = reinterpret_cast<INT_PTR>(text.c_str());
  ASSERT_TRUE(::SendMessageW(w, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)));
  EXPECT_EQ(ToolButtonText(w, 7), text);
  EXPECT_EQ(ToolButtonText(w, 8), L"");  // no such button
  TacMainWndPtr a = Adapt<TacToolBarWnd>(w, manager.get(), L"PANEL");
  auto image = Print(w);
  EXPECT_NE(Px(*image, 2, 2), 0x123456);  // painted, and the process lives on
  a.reset();
  ::DestroyWindow(w);
}

TEST(ToolButtonText, BreaksBeforeTheSecondToLastWordOfThreeOrMore) {
  struct Case {
    const wchar_t* text;
    const wchar_t* first;
    const wchar_t* second;
  };
  for (Case c : {Case{L"Очистить", L"", L""}, Case{L"Найти дубли", L"", L""},
                 Case{L"Найти все дубли", L"Найти", L"все дубли"},
                 Case{L"a b c d", L"a b", L"c d"}}) {
    std::wstring first, second;
    SplitToolButtonText(c.text, first, second);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(second, c.second);
  }
}

}  // namespace
