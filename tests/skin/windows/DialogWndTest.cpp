// The dialog frame window on a modeless system dialog ("#32770") skinned by
// the dialog hook when it activates: hit testing, caption buttons that run
// only when released over themselves, caption double clicks, no system
// caption on a new text, and everything given back when the skin goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/FrameRegion.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/WindowPoints.h"

using namespace skintest;

namespace {

std::vector<UINT> g_commands;
int g_dlgCodeAsked = 0;

INT_PTR CALLBACK RecordingDlgProc(HWND dlg, UINT msg, WPARAM w, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_GETDLGCODE) {
    ++g_dlgCodeAsked;
    ::SetWindowLongPtrW(dlg, DWLP_MSGRESULT, DLGC_WANTALLKEYS);
    return TRUE;
  }
  if (msg == WM_COMMAND) {
    g_commands.push_back(LOWORD(w));
    return TRUE;
  }
  return FALSE;
}

HWND MakeDialog(DWORD style) {
  return adaptertest::MakeDialog(style, RecordingDlgProc, L"Dialog", 1001, L"Run");
}

class DialogWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallEngineHooks();
    manager = adaptertest::InternalSkinManager();
    g_commands.clear();
    g_dlgCodeAsked = 0;
  }
  void Open(DWORD style) {
    dlg = MakeDialog(style);
    ASSERT_NE(nullptr, dlg);
    ::ShowWindow(dlg, SW_SHOW);
    ::SetActiveWindow(dlg);
    adaptertest::Pump(30);
    adapter = dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg));
    ASSERT_NE(nullptr, adapter);
    ::SendMessageW(dlg, WM_NCPAINT, 1, 0);
  }
  void TearDown() override {
    ::ReleaseCapture();
    if (::IsWindow(dlg)) ::DestroyWindow(dlg);
    manager.reset();
  }
  int Band() const { return adapter->CaptionHeight() + adapter->BorderHeight(); }

  ManagerPtr manager;
  HWND dlg = nullptr;
  TacDialogWnd* adapter = nullptr;
};

constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kSizeable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                            WS_MINIMIZEBOX;

}  // namespace

TEST_F(DialogWndTest, ModalFrameDialogHasOnlyACloseButtonAndAnswersHitTests) {
  Open(kModal);
  EXPECT_FALSE(::GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
  EXPECT_GT(adapter->CloseButton.Rect.right, adapter->CloseButton.Rect.left);
  EXPECT_EQ(adapter->MaxButton.Rect.right, adapter->MaxButton.Rect.left);
  EXPECT_EQ(adapter->MinButton.Rect.right, adapter->MinButton.Rect.left);
  const TPoint close = Centre(adapter->CloseButton.Rect);
  const struct {
    int x, y;
    LRESULT hit;
  } cases[] = {{close.x, close.y, HTCLOSE},
               {adapter->DlgWidth / 2, Band() / 2, HTCAPTION},
               {adapter->DlgWidth / 2, adapter->DlgHeight / 2, HTCLIENT}};
  for (const auto& c : cases)
    EXPECT_EQ(c.hit, ::SendMessageW(dlg, WM_NCHITTEST, 0, ScreenPoint(dlg, c.x, c.y)))
        << c.x << "," << c.y;
}

TEST_F(DialogWndTest, CloseRunsOnlyWhenReleasedOverItself) {
  Open(kModal);
  const TPoint in = Centre(adapter->CloseButton.Rect);
  ::SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(dlg, in.x, in.y));
  EXPECT_EQ(2, adapter->CloseButton.State);
  EXPECT_EQ(dlg, ::GetCapture());
  ::SendMessageW(dlg, WM_LBUTTONUP, 0, ClientPoint(dlg, adapter->DlgWidth / 2, adapter->DlgHeight / 2));
  EXPECT_EQ(0, adapter->CloseButton.State);
  EXPECT_NE(dlg, ::GetCapture());
  adaptertest::Pump(50);
  EXPECT_TRUE(g_commands.empty());
  ::SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(dlg, in.x, in.y));
  ::SendMessageW(dlg, WM_LBUTTONUP, 0, ClientPoint(dlg, in.x, in.y));
  // The dialog posts its cancel command to itself.
  adaptertest::PumpUntil([] { return !g_commands.empty(); }, 2000);
  EXPECT_EQ(std::vector<UINT>{IDCANCEL}, g_commands);
}

TEST_F(DialogWndTest, SizeableDialogMaximizesAndRestoresByDoubleClickAndButton) {
  Open(kSizeable);
  const LPARAM p = ScreenPoint(dlg, adapter->DlgWidth / 2, Band() / 2);
  ::SendMessageW(dlg, WM_NCLBUTTONDBLCLK, HTCAPTION, p);
  EXPECT_TRUE(::IsZoomed(dlg));
  ::SendMessageW(dlg, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(dlg, adapter->DlgWidth / 2, Band() / 2));
  EXPECT_FALSE(::IsZoomed(dlg));
  ::SendMessageW(dlg, WM_NCPAINT, 1, 0);
  const TPoint max = Centre(adapter->MaxButton.Rect);
  ::SendMessageW(dlg, WM_NCLBUTTONDOWN, HTMAXBUTTON, ScreenPoint(dlg, max.x, max.y));
  ::SendMessageW(dlg, WM_LBUTTONUP, 0, ClientPoint(dlg, max.x, max.y));
  EXPECT_TRUE(::IsZoomed(dlg));
  ::ShowWindow(dlg, SW_RESTORE);
  EXPECT_FALSE(::IsZoomed(dlg));
}

TEST_F(DialogWndTest, NewCaptionTextPaintsNoSystemCaption) {
  Open(kModal);
  ::SetWindowTextW(dlg, L"Новый заголовок");
  UniqueWindowDC dc = UniqueWindowDC::Window(dlg);
  const TColor sys[] = {ColorToRGB(clActiveCaption), ColorToRGB(clInactiveCaption),
                        static_cast<TColor>(::GetSysColor(COLOR_GRADIENTACTIVECAPTION))};
  int systemPixels = 0;
  for (int y = 0; y < Band(); ++y)
    for (int x = 0; x < adapter->DlgWidth; x += 2)
      for (TColor c : sys) systemPixels += static_cast<TColor>(::GetPixel(dc.get(), x, y)) == c;
  EXPECT_EQ(0, systemPixels);
  wchar_t text[64] = {};
  ::GetWindowTextW(dlg, text, 64);
  EXPECT_STREQ(L"Новый заголовок", text);
}

TEST_F(DialogWndTest, SkinRemovedGivesTheDialogItsStyleRegionAndProcedureBack) {
  Open(kModal);
  HWND button = ::GetDlgItem(dlg, 1001);
  ASSERT_NE(nullptr, GetScrollWnd(button));
  UniqueRgn probe(::CreateRectRgn(0, 0, 0, 0));
  manager->SetActive(false);
  EXPECT_TRUE(::GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(nullptr, ::GetPropW(dlg, kAdapterProp));
  EXPECT_EQ(nullptr, ::GetPropW(button, kAdapterProp));
  EXPECT_EQ(ERROR, ::GetWindowRgn(dlg, probe.get()));
  // Still a working dialog.
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(std::vector<UINT>{1001}, g_commands);
}

TEST_F(DialogWndTest, DestroyedDialogTakesItsProviderAlong) {
  Open(kModal);
  ASSERT_EQ(1u, DialogProviders().size());
  const int gdi = adaptertest::GdiObjectCount();
  ::DestroyWindow(dlg);
  EXPECT_TRUE(DialogProviders().empty());
  EXPECT_LE(adaptertest::GdiObjectCount(), gdi);
  // A new one gets a new provider and adapter.
  Open(kModal);
  EXPECT_EQ(1u, DialogProviders().size());
}

TEST_F(DialogWndTest, OpenDialogTakesANewSkinAndRepaintsFromIt) {
  Open(kModal);
  const int w = adapter->DlgWidth;
  auto captionPixel = [&] {
    UniqueWindowDC dc = UniqueWindowDC::Window(dlg);
    return static_cast<TColor>(::GetPixel(dc.get(), w / 2, 1));
  };
  auto expected = [&] {
    auto b = CreateBmp24(w, Band());
    PaintItem(manager->GetSkinIndex(L"FORMTITLE"), L"FORMTITLE", EmptyCacheInfo, true,
              adapter->Active ? 1 : 0, TRect{0, 0, w, Band()}, TPoint{0, 0}, b.get(), manager.get());
    return Px(*b, w / 2, 1);
  };
  ASSERT_EQ(expected(), captionPixel());
  const TColor before = captionPixel();
  manager->SetSkinName(L"Ember (internal)");
  adaptertest::Pump(30);
  EXPECT_EQ(expected(), captionPixel());
  EXPECT_NE(before, captionPixel());
  EXPECT_TRUE(manager->IsValidSkinIndex(adapter->SkinData->SkinIndex));
}

TEST_F(DialogWndTest, ModalAndCaptionlessFramesTakeTheSmallCaptionImages) {
  const struct {
    const char* name;
    DWORD style;
    bool small;
  } cases[] = {{"modal frame", kModal, true},
               {"sizeable", kSizeable, false},
               {"plain caption", WS_POPUP | WS_CAPTION | WS_SYSMENU, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.style);
    auto images = [&](bool small) {
      return CaptionButtonImages(manager.get(), adapter->SkinData->SkinIndex,
                                 adapter->SkinData->SkinSection(), small);
    };
    ASSERT_NE(images(true).Close, images(false).Close) << "the skin must have both sets";
    EXPECT_EQ(adapter->CloseButton.ImageIndex, images(c.small).Close);
    ::DestroyWindow(dlg);
  }
}

TEST_F(DialogWndTest, AsksForNoKeysOfItsOwn) {
  Open(kModal);
  EXPECT_EQ(0, ::SendMessageW(dlg, WM_GETDLGCODE, 0, 0));
  EXPECT_EQ(0, g_dlgCodeAsked);
}

TEST_F(DialogWndTest, ChildrenAddedLaterAreSkinnedOnRequest) {
  Open(kModal);
  HWND late = ::CreateWindowExW(0, L"BUTTON", L"Поздно", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                10, 80, 24, dlg, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(nullptr, GetScrollWnd(late));
  ::SendMessageW(dlg, 0x052E, 0, 0);
  EXPECT_NE(nullptr, GetScrollWnd(late));
  EXPECT_TRUE(::IsWindowVisible(dlg)) << "drawing is on again";
}
