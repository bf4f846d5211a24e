#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "framework/Forms.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinnedForms.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

// A top-level window that records the skin commands it receives.
struct CommandLog {
  CommandLog() {
    static const wchar_t* cls = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"SkinManagerTestWnd";
      ::RegisterClassW(&wc);
      return L"SkinManagerTestWnd";
    }();
    wnd = ::CreateWindowExW(0, cls, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~CommandLog() { ::DestroyWindow(wnd); }
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CommandLog*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    if (msg == SM_ALPHACMD && self) {
      self->commands.push_back(HIWORD(wp));
      self->senders.push_back(lp);
      return 0;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
  }
  HWND wnd = nullptr;
  std::vector<WORD> commands;
  std::vector<LPARAM> senders;
};

}  // namespace

TEST(SkinManager, FirstManagerIsTheDefault) {
  ManagerPtr first = NewManager();
  ManagerPtr second = NewManager();
  EXPECT_EQ(first.get(), DefaultManager);
  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());
  second->SetIsDefault(true);
  EXPECT_EQ(second.get(), DefaultManager);
  first.reset();
  EXPECT_EQ(second.get(), DefaultManager);
  second.reset();
  EXPECT_EQ(nullptr, DefaultManager);
}

TEST(SkinManager, PublishedDefaults) {
  ManagerPtr m(Construct<TsSkinManager>(nullptr));
  EXPECT_TRUE(m->Active());
  EXPECT_EQ(L"c:\\Skins", m->SkinDirectory());
  EXPECT_EQ(L"5.15", m->Version());
  EXPECT_EQ(L"N/A", m->SkinInfo());
  EXPECT_TRUE(m->SkinnedPopups());
  EXPECT_EQ(AllSkinningRules, m->SkinningRules);
  EXPECT_EQ(0, m->HueOffset());
  EXPECT_EQ(0, m->Saturation());
  m->Loaded();
  EXPECT_EQ(L"ICOLINE", m->MenuSupport->IcoLineSkin);
}

TEST(SkinManager, TurningOffRemovesTheSkinAndEveryCachedIndex) {
  ManagerPtr m = LoadedManager(L"WLM (internal)", FixtureSkinDir(), true);
  EXPECT_GE(m->CachedIndexes.GlobalInfo, 0);
  EXPECT_GE(m->CachedIndexes.ScrollBtnTopGlyph, 0);
  m->SetActive(false);
  EXPECT_EQ(L"N/A", m->SkinInfo());
  EXPECT_TRUE(m->gd.empty());
  EXPECT_TRUE(m->ma.empty());
  EXPECT_EQ(nullptr, m->MasterBitmap);
  const TsCachedIndexes& c = m->CachedIndexes;
  const int16_t* first = &c.GlobalInfo;
  for (int i = 0; i < 64; ++i) EXPECT_EQ(-1, first[i]) << i;
  EXPECT_EQ(-1, c.ComboBtnIndex);
  EXPECT_EQ(-1, c.ComboGlyph);
}

TEST(SkinManager, SkinDirectoryChangeDoesNotReload) {
  ManagerPtr m = LoadedManager(L"Basic");
  size_t sections = m->gd.size();
  m->SetSkinDirectory(L"c:\\Elsewhere");
  EXPECT_EQ(sections, m->gd.size());
  EXPECT_EQ(L"c:\\Elsewhere\\", m->SkinData->SkinPath);
  EXPECT_TRUE(m->SkinData->Active);
}

TEST(SkinManager, GlobalColoursFallBackWithoutGlobalInfo) {
  ManagerPtr m = NewManager();
  EXPECT_EQ(ColorToRGB(clBtnFace), m->GetGlobalColor());
  EXPECT_EQ(ColorToRGB(clWindow), m->GetGlobalHotColor());
  EXPECT_EQ(clFuchsia, m->GetGlobalFontColor());
  EXPECT_EQ(-1, m->CachedIndexes.CheckBoxChecked);
  ManagerPtr basic = LoadedManager(L"Basic");
  EXPECT_EQ(0xEEDDCCu, basic->GetGlobalColor());
  EXPECT_EQ(0xFFEEDDu, basic->GetGlobalHotColor());
  EXPECT_EQ(0xFFu, basic->GetGlobalFontColor());
  EXPECT_EQ(basic->FindMaskIndex(L"GLOBALINFO", L"BOXCHECKED"), basic->CachedIndexes.CheckBoxChecked);
  EXPECT_EQ(-1, basic->CachedIndexes.RadioButtonChecked);
}

TEST(SkinManager, MaskSizesFollowTheirRecord) {
  ManagerPtr m = LoadedManager(L"Basic");
  int g = m->FindMaskIndex(L"IMAGES", L"G");  // 30 x 10, three states
  ASSERT_GE(g, 0);
  EXPECT_EQ(10, m->GetMaskCellSize(g).cx);
  EXPECT_EQ(10, m->GetMaskCellSize(g).cy);
  int own = m->FindMaskIndex(L"IMAGES", L"OWNW");  // own 12 x 8 bitmap
  EXPECT_EQ(4, m->GetMaskCellSize(own).cx);
  EXPECT_EQ(4, m->GetMaskCellSize(own).cy);
  EXPECT_EQ(1, m->MaskBorderLeft(own));
  EXPECT_EQ(4, m->MaskBorderBottom(own));
  EXPECT_EQ(0, m->GetMaskCellSize(-1).cx);
  EXPECT_FALSE(m->IsValidImgIndex(static_cast<int>(m->ma.size())));
  EXPECT_FALSE(m->IsValidSkinIndex(-1));
}

TEST(SkinManager, HotWindowGetsEnterAndThePreviousOneLeave) {
  ManagerPtr m = NewManager();
  CommandLog a, b;
  m->SetActiveControl(a.wnd);
  m->SetActiveControl(a.wnd);  // already hot: nothing
  m->SetActiveControl(b.wnd);
  EXPECT_EQ((std::vector<WORD>{AC_MOUSEENTER, AC_MOUSELEAVE}), a.commands);
  EXPECT_EQ((std::vector<WORD>{AC_MOUSEENTER}), b.commands);
  EXPECT_EQ(reinterpret_cast<LPARAM>(m.get()), b.senders[0]);
  EXPECT_EQ(b.wnd, m->ActiveControl);
}

TEST(SkinManager, ThemeChangesAreSwallowed) {
  ManagerPtr m = NewManager();
  TMessage theme{WM_THEMECHANGED, 0, 0, 0};
  EXPECT_TRUE(m->MainWindowHook(theme));
  TMessage other{WM_USER + 5, 0, 0, 0};
  EXPECT_FALSE(m->MainWindowHook(other));
  TMessage menu{0xBCB3, 0, 0, 0};
  EXPECT_FALSE(m->MainWindowHook(menu));
}

TEST(SkinManager, LoadingTheSameSkinTwiceGivesTheSameTables) {
  ManagerPtr m = LoadedManager(L"Basic");
  size_t masks = m->ma.size(), sections = m->gd.size();
  m->SetSkinName(L"Basic");
  EXPECT_EQ(masks, m->ma.size());
  EXPECT_EQ(sections, m->gd.size());
}

TEST(SkinManager, ChangeEventsSurroundALoad) {
  ManagerPtr m = NewManager();
  std::vector<std::wstring> events;
  m->OnBeforeChange = [&](TObject*) { events.push_back(SkinLoading ? L"before+" : L"before"); };
  m->OnAfterChange = [&](TObject*) {
    events.push_back(m->SkinData->Active && !SkinLoading ? L"after" : L"after?");
  };
  m->SetSkinName(L"Basic");  // inactive: only stored
  EXPECT_TRUE(events.empty());
  m->SetActive(true);
  m->SetSkinName(L"Basic");
  EXPECT_EQ((std::vector<std::wstring>{L"before", L"after", L"before", L"after"}), events);
}

namespace {

// Counts the WM_THEMECHANGED that get past every subclass above this one.
LRESULT CALLBACK CountThemeChanges(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_THEMECHANGED) ++*reinterpret_cast<int*>(ref);
  return ::DefSubclassProc(wnd, msg, wp, lp);
}

}  // namespace

TEST(SkinManager, MainWindowHookSitsOnTheApplicationWindowUntilItsManagerGoes) {
  InitFramework();
  ASSERT_EQ(DefaultManager, nullptr);
  HWND app = Application->Handle();
  int reached = 0;
  // Below any manager's subclass: it sees what the manager's hook lets by.
  ASSERT_TRUE(::SetWindowSubclass(app, CountThemeChanges, 1, reinterpret_cast<DWORD_PTR>(&reached)));
  auto themeGetsThrough = [&] {
    int before = reached;
    ::SendMessageW(app, WM_THEMECHANGED, 0, 0);
    return reached > before;
  };
  {
    ManagerPtr first = NewManager();
    ASSERT_TRUE(first->IsDefault());
    EXPECT_FALSE(themeGetsThrough()) << "the default manager's hook swallows theme changes";
    first.reset();
    EXPECT_TRUE(themeGetsThrough()) << "the hook outlived its manager";
  }
  {
    // The default changes hands before the first manager goes.
    ManagerPtr first = NewManager();
    ManagerPtr second = NewManager();
    second->SetIsDefault(true);
    EXPECT_FALSE(themeGetsThrough());
    first.reset();
    EXPECT_TRUE(themeGetsThrough()) << "the first manager's hook stayed behind it";
    second.reset();
    EXPECT_TRUE(themeGetsThrough());
  }
  ::RemoveWindowSubclass(app, CountThemeChanges, 1);
}
