// The dialog hook on real windows: system message boxes and the open-file
// dialog skinned while a skin is active (frame, caption, buttons painted
// from the skin, answers passed through), framework forms without a
// provider given exactly one, and everything the hook made freed when its
// window goes or the skin does.
#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "framework/Handles.h"
#include "skin/engine/MessageBoxes.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinData.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/SkinProvider.h"
#include "tests/common/ModalDriver.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

std::unique_ptr<TBitmap> PrintWnd(HWND wnd, UINT flags) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  auto b = MakeBmp(r.right - r.left, r.bottom - r.top, 0x123456);
  ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), flags);
  return b;
}

// The skin's own image of a section over a W x H rectangle.
std::unique_ptr<TBitmap> SectionImage(TsSkinManager* m, const std::wstring& section, int w, int h,
                                      int state, int paintH = -1) {
  auto b = CreateBmp24(w, h);
  PaintItem(m->GetSkinIndex(section), section, EmptyCacheInfo, true, state,
            TRect{0, 0, w, paintH < 0 ? h : paintH}, TPoint{0, 0}, b.get(), m);
  return b;
}

TRect RectInWindow(HWND wnd, HWND child) {
  RECT w{}, c{};
  ::GetWindowRect(wnd, &w);
  ::GetWindowRect(child, &c);
  return TRect{c.left - w.left, c.top - w.top, c.right - w.left, c.bottom - w.top};
}

class DialogHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallEngineHooks();
    manager = adaptertest::InternalSkinManager();
    ASSERT_TRUE(manager->DialogHookInstalled());
    ASSERT_NE(nullptr, manager->HookedDialogs());
  }
  void TearDown() override { manager.reset(); }

  ManagerPtr manager;
};

// What a message box looked like while it was on screen.
struct BoxLook {
  bool adapted = false;
  bool sysMenuStripped = false;
  int providers = 0;
  int band = 0;
  int systemCaptionPixels = -1;
  TColor caption = clNone, captionExpected = clNone;
  TColor left = clNone, leftExpected = clNone;
  TColor bottom = clNone, bottomExpected = clNone;
  TColor facePrinted = clNone, faceOnScreen = clNone, faceAfterRepaint = clNone;
  bool faceFromSkin = false;
  int buttonAdapters = 0;
};

}  // namespace

TEST_F(DialogHookTest, MessageBoxWearsTheSkinAndAnswersWithTheClickedButton) {
  testenv::ModalDriver driver;
  BoxLook look;
  driver.OnShown = [&](HWND box) {
    auto* adapter = dynamic_cast<TacDialogWnd*>(GetScrollWnd(box));
    look.adapted = adapter != nullptr && ::GetPropW(box, kAdapterProp) == adapter;
    look.sysMenuStripped = !(::GetWindowLongPtrW(box, GWL_STYLE) & WS_SYSMENU);
    look.providers = static_cast<int>(DialogProviders().size());
    HWND no = ::GetDlgItem(box, IDNO);
    for (HWND c = ::GetTopWindow(box); c; c = ::GetWindow(c, GW_HWNDNEXT))
      look.buttonAdapters += dynamic_cast<TacBtnWnd*>(GetScrollWnd(c)) != nullptr;
    if (adapter && no) {
      const int w = adapter->DlgWidth, h = adapter->DlgHeight;
      const int state = adapter->Active ? 1 : 0;
      look.band = adapter->CaptionHeight() + adapter->BorderHeight();
      auto img = PrintWnd(box, PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
      auto title = SectionImage(manager.get(), L"FORMTITLE", w, h, state, look.band);
      auto frame = SectionImage(manager.get(), L"DIALOG", w, h, state);
      look.caption = Px(*img, w / 2, 1);
      look.captionExpected = Px(*title, w / 2, 1);
      look.left = Px(*img, 0, h / 2);
      look.leftExpected = Px(*frame, 0, h / 2);
      look.bottom = Px(*img, w / 2, h - 1);
      look.bottomExpected = Px(*frame, w / 2, h - 1);
      const TColor sys[] = {ColorToRGB(clActiveCaption), ColorToRGB(clInactiveCaption),
                            static_cast<TColor>(::GetSysColor(COLOR_GRADIENTACTIVECAPTION))};
      look.systemCaptionPixels = 0;
      for (int y = 0; y < look.band; ++y)
        for (int x = 0; x < w; ++x)
          for (TColor c : sys) look.systemCaptionPixels += Px(*img, x, y) == c;
      // The button's face: a point left of its text, inside its border.
      const TRect br = RectInWindow(box, no);
      const int fx = 4, fy = (br.bottom - br.top) / 2;
      look.facePrinted = Px(*img, br.left + fx, br.top + fy);
      UniqueWindowDC dc = UniqueWindowDC::Window(box);
      look.faceOnScreen = static_cast<TColor>(::GetPixel(dc.get(), br.left + fx, br.top + fy));
      // Repainted whole, the face shows again.
      ::RedrawWindow(box, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      look.faceAfterRepaint = static_cast<TColor>(::GetPixel(dc.get(), br.left + fx, br.top + fy));
      for (int s = 0; s < 3; ++s) {
        auto face = SectionImage(manager.get(), L"BUTTON", br.right - br.left, br.bottom - br.top, s);
        look.faceFromSkin |= Px(*face, fx, fy) == look.facePrinted;
      }
    }
    ::PostMessageW(no ? no : box, no ? BM_CLICK : WM_CLOSE, 0, 0);
  };
  const int answer = driver.Drive(L"Skinned box", [] {
    return ::MessageBoxW(nullptr, L"Удалить ключ из реестра?", L"Skinned box",
                         MB_YESNO | MB_ICONQUESTION);
  });
  ASSERT_TRUE(driver.Shown);
  EXPECT_EQ(IDNO, answer);
  EXPECT_TRUE(look.adapted);
  EXPECT_TRUE(look.sysMenuStripped);
  EXPECT_EQ(1, look.providers);
  EXPECT_EQ(2, look.buttonAdapters);
  EXPECT_GT(look.band, 10);
  EXPECT_EQ(look.captionExpected, look.caption);
  EXPECT_EQ(look.leftExpected, look.left);
  EXPECT_EQ(look.bottomExpected, look.bottom);
  EXPECT_EQ(0, look.systemCaptionPixels);
  // The push button is painted from the skin, in print and on screen.
  EXPECT_TRUE(look.faceFromSkin) << std::hex << look.facePrinted;
  EXPECT_NE(static_cast<TColor>(0), look.faceOnScreen);
  EXPECT_NE(static_cast<TColor>(::GetSysColor(COLOR_BTNFACE)), look.faceOnScreen);
  EXPECT_EQ(look.facePrinted, look.faceOnScreen);
  EXPECT_EQ(look.facePrinted, look.faceAfterRepaint);
  // The box is gone, and with it what the hook made for it.
  EXPECT_TRUE(DialogProviders().empty());
}

TEST_F(DialogHookTest, MessageBoxUnskinnedWithoutStdDialogsAndMovedToTheTarget) {
  struct Case {
    TacSkinningRules rules;
    bool skinned;
  } cases[] = {{AllSkinningRules, true}, {SkinningRuleBit(srStdForms), false}};
  for (const Case& c : cases) {
    manager->SkinningRules = c.rules;
    testenv::ModalDriver driver;
    bool adapted = false;
    RECT at{};
    driver.OnShown = [&](HWND box) {
      adapted = GetScrollWnd(box) != nullptr;
      ::GetWindowRect(box, &at);
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    DlgTargetPos = POINT{37, 41};
    const int answer = driver.Drive(L"Target box", [] {
      return ::MessageBoxW(nullptr, L"x", L"Target box", MB_OK);
    });
    DlgTargetPos = POINT{-1, -1};
    ASSERT_TRUE(driver.Shown);
    EXPECT_EQ(IDOK, answer);
    EXPECT_EQ(c.skinned, adapted) << int(c.rules);
    if (c.skinned) {
      EXPECT_EQ(37, at.left);
      EXPECT_EQ(41, at.top);
    }
  }
  manager->SkinningRules = AllSkinningRules;
}

TEST_F(DialogHookTest, FormWithoutProviderGetsExactlyOneAndAFormWithOneNone) {
  const size_t before = DialogProviders().size();
  auto providersOf = [](TForm* f) {
    int n = 0;
    for (int i = 0; i < f->ComponentCount(); ++i)
      n += dynamic_cast<TsSkinProvider*>(f->Components(i)) != nullptr;
    return n;
  };
  TForm* bare = Construct<TForm>(Application);
  bare->SetBounds(50, 50, 300, 200);
  bare->Show();
  adaptertest::PumpFor(30);
  EXPECT_EQ(1, providersOf(bare));
  EXPECT_EQ(before + 1, DialogProviders().size());
  EXPECT_FALSE(::GetWindowLongPtrW(bare->WindowHandle(), GWL_STYLE) & WS_SYSMENU);
  // Activated again (hidden and shown, then another window in between).
  bare->Hide();
  bare->Show();
  HWND other = adaptertest::MakeProbe(false, 100, 100, false);
  ::ShowWindow(other, SW_SHOW);
  ::SetActiveWindow(other);
  ::SetActiveWindow(bare->WindowHandle());
  adaptertest::PumpFor(30);
  EXPECT_EQ(1, providersOf(bare));

  TForm* own = Construct<TForm>(Application);
  own->SetBounds(80, 80, 300, 200);
  Construct<TsSkinProvider>(own);
  own->Show();
  adaptertest::PumpFor(30);
  EXPECT_EQ(1, providersOf(own));
  for (TacProvider* p : DialogProviders()) EXPECT_NE(p->Wnd, own->WindowHandle());

  // The hook's provider goes with its form's window.
  const size_t withBare = DialogProviders().size();
  delete bare;
  EXPECT_EQ(withBare - 1, DialogProviders().size());
  delete own;
  ::DestroyWindow(other);
  EXPECT_EQ(before, DialogProviders().size());
}

TEST_F(DialogHookTest, WithoutStdFormsAFormStaysUnskinned) {
  manager->SkinningRules = SkinningRuleBit(srStdDialogs);
  TForm* bare = Construct<TForm>(Application);
  bare->SetBounds(50, 50, 300, 200);
  bare->Show();
  adaptertest::PumpFor(30);
  int providers = 0;
  for (int i = 0; i < bare->ComponentCount(); ++i)
    providers += dynamic_cast<TsSkinProvider*>(bare->Components(i)) != nullptr;
  EXPECT_EQ(0, providers);
  delete bare;
  manager->SkinningRules = AllSkinningRules;
}

TEST_F(DialogHookTest, SkinRemovedWhileAFormIsHookedGivesItsFrameBack) {
  TForm* bare = Construct<TForm>(Application);
  bare->SetBounds(50, 50, 300, 200);
  bare->SetBorderIcons(biSystemMenu);
  bare->Show();
  adaptertest::PumpFor(30);
  HWND wnd = bare->WindowHandle();
  ASSERT_EQ(1u, DialogProviders().size());
  ASSERT_FALSE(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  manager->SetActive(false);
  EXPECT_EQ(nullptr, manager->HookedDialogs());
  EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  for (int i = 0; i < bare->ComponentCount(); ++i)
    EXPECT_EQ(nullptr, dynamic_cast<TsSkinProvider*>(bare->Components(i)));
  delete bare;
}

TEST_F(DialogHookTest, OpenFileDialogIsAdaptedAndLeavesNothingBehind) {
  wchar_t dir[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, dir);
  std::wstring folder = std::wstring(dir) + L"tarnholt-dialoghook";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  testenv::ModalDriver driver;
  bool adapted = false, toolbarAdapted = false, stripped = false;
  driver.OnShown = [&](HWND dlg) {
    adapted = dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg)) != nullptr;
    stripped = !(::GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
    std::function<void(HWND)> walk = [&](HWND parent) {
      for (HWND c = ::GetTopWindow(parent); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(c, cls, 64);
        if (std::wstring(cls) == L"ToolbarWindow32" && GetScrollWnd(c)) toolbarAdapted = true;
        walk(c);
      }
    };
    walk(dlg);
    ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
  };
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = L"Open skinned";
  ofn.lpstrInitialDir = folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
  const BOOL ok = driver.Drive(L"Open skinned", [&] { return ::GetOpenFileNameW(&ofn); });
  ASSERT_TRUE(driver.Shown);
  EXPECT_FALSE(ok);
  EXPECT_EQ(0u, ::CommDlgExtendedError());
  EXPECT_TRUE(adapted);
  EXPECT_TRUE(stripped);
  EXPECT_TRUE(toolbarAdapted);
  EXPECT_TRUE(DialogProviders().empty());
  ::RemoveDirectoryW(folder.c_str());
}

TEST_F(DialogHookTest, HundredSkinChangesWithBoxesKeepProvidersAndGdiCount) {
  const wchar_t* skins[] = {L"WLM (internal)", L"Ember (internal)"};
  auto box = [] {
    testenv::ModalDriver driver;
    driver.OnShown = [](HWND b) { ::PostMessageW(b, WM_COMMAND, IDOK, 0); };
    const int r = driver.Drive(L"Round box", [] {
      return ::MessageBoxW(nullptr, L"x", L"Round box", MB_OK);
    });
    EXPECT_TRUE(driver.Shown);
    return r;
  };
  // One round first: caches, fonts and the system's own objects settle.
  manager->SetSkinName(skins[1]);
  EXPECT_EQ(IDOK, box());
  manager->SetSkinName(skins[0]);
  const int gdi = adaptertest::GdiObjectCount();
  for (int i = 0; i < 100; ++i) {
    manager->SetSkinName(skins[(i + 1) % 2]);
    if (i % 10 == 9) {
      EXPECT_EQ(IDOK, box());
      EXPECT_TRUE(DialogProviders().empty()) << i;
    }
  }
  EXPECT_TRUE(DialogProviders().empty());
  EXPECT_NEAR(gdi, adaptertest::GdiObjectCount(), 8);
}

TEST_F(DialogHookTest, SecondMessageBoxOverASkinnedOneStaysUnskinned) {
  testenv::ModalDriver outer;
  bool outerAdapted = false, innerAdapted = true;
  int innerAnswer = 0;
  outer.OnShown = [&](HWND box) {
    outerAdapted = GetScrollWnd(box) != nullptr;
    testenv::ModalDriver inner;
    inner.OnShown = [&](HWND second) {
      innerAdapted = GetScrollWnd(second) != nullptr;
      ::PostMessageW(second, WM_COMMAND, IDOK, 0);
    };
    innerAnswer = inner.Drive(L"Inner box", [&] {
      return ::MessageBoxW(box, L"y", L"Inner box", MB_OK);
    });
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  outer.Drive(L"Outer box", [] { return ::MessageBoxW(nullptr, L"x", L"Outer box", MB_OK); });
  ASSERT_TRUE(outer.Shown);
  EXPECT_TRUE(outerAdapted);
  EXPECT_FALSE(innerAdapted);
  EXPECT_EQ(IDOK, innerAnswer);
  EXPECT_TRUE(DialogProviders().empty());
}

// The colour dialog paints its spectrum and colour boxes itself: it gets the
// skin's frame ("FORM") while the system keeps its client.
TEST_F(DialogHookTest, ColourDialogKeepsItsOwnClientPainting) {
  testenv::ModalDriver driver;
  int kind = -1, distinct = 0;
  std::wstring section;
  driver.OnShown = [&](HWND dlg) {
    if (auto* a = dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg)); a && a->Provider) {
      kind = a->Provider->Kind;
      section = a->SkinData->SkinSection();
    }
    if (HWND rainbow = ::GetDlgItem(dlg, 710)) {
      RECT r{};
      ::GetWindowRect(rainbow, &r);
      ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
      UniqueWindowDC dc = UniqueWindowDC::Client(dlg);
      std::vector<COLORREF> seen;
      for (int x = r.left + 2; x < r.right - 2; x += 4) {
        const COLORREF c = ::GetPixel(dc.get(), x, (r.top + r.bottom) / 2);
        if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
      }
      distinct = static_cast<int>(seen.size());
    }
    ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
  };
  COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.lpCustColors = custom;
  cc.Flags = CC_FULLOPEN;
  const BOOL ok = driver.Drive(nullptr, [&] { return ::ChooseColorW(&cc); });
  ASSERT_TRUE(driver.Shown);
  EXPECT_FALSE(ok);
  EXPECT_EQ(3, kind);
  EXPECT_EQ(L"FORM", section);
  EXPECT_GT(distinct, 5);
  EXPECT_TRUE(DialogProviders().empty());
}

TEST_F(DialogHookTest, FontDialogIsSkinnedAroundItsSystemPaintedParts) {
  testenv::ModalDriver driver;
  int kind = -1;
  driver.OnShown = [&](HWND dlg) {
    if (auto* a = dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg)); a && a->Provider)
      kind = a->Provider->Kind;
    ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
  };
  LOGFONTW lf{};
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof(cf);
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS;
  const BOOL ok = driver.Drive(nullptr, [&] { return ::ChooseFontW(&cf); });
  ASSERT_TRUE(driver.Shown);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(kind == 1 || kind == 3) << kind;
  EXPECT_TRUE(DialogProviders().empty());
}
