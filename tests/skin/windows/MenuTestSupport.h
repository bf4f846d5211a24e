// Helpers for the menu skinning tests: an internal skin with known menu
// colours, a popup menu driven open and shut through WM_ENTERIDLE and
// EndMenu, the popup window read back through its window DC, and the
// process's GDI object count.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "tests/common/GdiCount.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/FastPixels.h"
#include "skin/windows/PopupMenuWnd.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/SkinableMenus.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinTestSupport.h"

namespace menutest {

using namespace skintest;

constexpr TColor kItemColor = 0x00C08040;
constexpr TColor kHotColor = 0x004080C0;
constexpr TColor kExtraLineColor = 0x00208020;
constexpr TColor kFrameColor = 0x00E0E0E0;

using testenv::GdiObjectCount;

// Section colours pass the engine's blends, which may round a channel by one.
inline ::testing::AssertionResult ColorNear(const char*, const char*, TColor expected,
                                            TColor actual) {
  for (int shift = 0; shift < 24; shift += 8) {
    int d =
        static_cast<int>((expected >> shift) & 0xFF) - static_cast<int>((actual >> shift) & 0xFF);
    if (d < -2 || d > 2)
      return ::testing::AssertionFailure()
             << std::hex << "expected " << expected << ", got " << actual;
  }
  return ::testing::AssertionSuccess();
}

// Makes a section a flat colour: no gradient, texture or transparency.
inline void FlattenSection(TsSkinManager& m, const std::wstring& name, TColor color, TColor hot) {
  int i = m.GetSkinIndex(name);
  if (i < 0) return;
  TsGeneralData& g = m.gd[i];
  g.Color = color;
  g.HotColor = hot;
  g.Transparency = g.HotTransparency = 0;
  g.GradientPercent = g.HotGradientPercent = 0;
  g.ImagePercent = g.HotImagePercent = 0;
}

// Drives one popup menu: opens it at (x, y), presses Down `downs` times,
// then hands the open popup window to `whileOpen` and closes the menu.
class PopupDriver {
 public:
  PopupDriver(TPopupMenu* menu, int downs, std::function<void(HWND)> whileOpen)
      : downs_(downs), whileOpen_(std::move(whileOpen)) {
    HWND owner = TPopupMenu::WindowHandle();
    ::SetWindowSubclass(owner, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    menu->Popup(40, 40);
    ::RemoveWindowSubclass(owner, Proc, 1);
    Application->ProcessMessages();
  }
  bool Ran() const { return ran_; }
  HWND Popup() const { return popup_; }

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR ref) {
    auto* self = reinterpret_cast<PopupDriver*>(ref);
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !self->ran_)
      self->Idle(reinterpret_cast<HWND>(lParam));
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
  }
  void Idle(HWND popup) {
    popup_ = popup;
    if (pressed_ < downs_) {
      ++pressed_;
      ::PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
      return;
    }
    ran_ = true;
    ::UpdateWindow(popup);
    if (whileOpen_) whileOpen_(popup);
    ::EndMenu();
  }

  int downs_;
  int pressed_ = 0;
  bool ran_ = false;
  HWND popup_ = nullptr;
  std::function<void(HWND)> whileOpen_;
};

// The popup window as it shows, read through its window DC.
inline std::unique_ptr<TBitmap> ReadWindow(HWND wnd) {
  RECT wr;
  ::GetWindowRect(wnd, &wr);
  auto bmp = MakeBmp(wr.right - wr.left, wr.bottom - wr.top, clBlack);
  HDC src = ::GetWindowDC(wnd);
  ::BitBlt(bmp->Canvas()->Handle(), 0, 0, bmp->Width(), bmp->Height(), src, 0, 0, SRCCOPY);
  ::ReleaseDC(wnd, src);
  return bmp;
}

// The popup's client area starts here in its window.
inline POINT ClientOrigin(HWND wnd) {
  RECT wr;
  ::GetWindowRect(wnd, &wr);
  POINT p{0, 0};
  ::ClientToScreen(wnd, &p);
  return POINT{p.x - wr.left, p.y - wr.top};
}

// An internal skin loaded by the default manager, with flat menu colours.
class MenuSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallEngineHooks();  // the manager's menu skinner comes from this library
    manager = LoadedManager(L"WLM (internal)", FixtureSkinDir(), true);
    ASSERT_TRUE(manager->SkinData->Active);
    FlattenSection(*manager, L"MENUITEM", kItemColor, kHotColor);
    FlattenSection(*manager, L"EXTRALINE", kExtraLineColor, kExtraLineColor);
    FlattenSection(*manager, L"MAINMENU", kFrameColor, kFrameColor);
    form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 300, 200);
  }
  void TearDown() override {
    delete form;
    manager.reset();
    ResetPopupState();
  }
  TsSkinableMenus& Menus() { return *manager->SkinableMenus; }
  // A popup menu of `count` items owned by the form.
  TPopupMenu* NewPopup(int count) {
    auto* menu = Construct<TPopupMenu>(form);
    for (int i = 0; i < count; ++i) {
      auto* item = Construct<TMenuItem>(form);
      item->SetCaption(L"Item " + std::to_wstring(i + 1));
      menu->Items()->Add(item);
    }
    return menu;
  }

  ManagerPtr manager;
  TForm* form = nullptr;
};

}  // namespace menutest

#define EXPECT_COLOR_NEAR(e, a) EXPECT_PRED_FORMAT2(menutest::ColorNear, e, a)
