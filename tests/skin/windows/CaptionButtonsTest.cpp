// Caption buttons of forms and dialogs: which image each button shows by
// border style, window state and skin, and what a maximized window's
// maximize button draws when the skin has no restore image (nothing, on a
// form and on a dialog alike).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "skin/engine/SkinManager.h"
#include "skin/windows/CaptionButtons.h"
#include "skin/windows/DialogWnd.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

INT_PTR CALLBACK PlainDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

enum class Shown { Normal, Maximized, Minimized };

const char* Name(Shown s) {
  return s == Shown::Normal ? "normal" : s == Shown::Maximized ? "maximized" : "minimized";
}

// The skin's restore images go under another name, as in a skin made
// without them.
void DropRestoreImages(TsSkinManager& m) {
  for (auto& md : m.ma)
    if (md.PropertyName == L"BICONNORM") md.PropertyName = L"BICONNORM-GONE";
}

// True when R of the cache shows exactly what the clean background copy
// (taken from the cache at X0, 0) holds there: no button drawn.
bool Blank(TBitmap& cache, TBitmap& background, int x0, const TRect& r) {
  const TacBmpView c(cache), b(background);
  const size_t row = static_cast<size_t>(r.right - r.left) * c.BytesPerPixel;
  for (int y = r.top; y < r.bottom; ++y)
    if (std::memcmp(c.Pixel(r.left, y), b.Pixel(r.left - x0, y), row) != 0) return false;
  return true;
}

class CaptionButtonsTest : public SkinnedForm {
 protected:
  void SetUp() override {
    InstallEngineHooks();
    SkinnedForm::SetUp();
  }
  void TearDown() override {
    if (dlg && ::IsWindow(dlg)) ::DestroyWindow(dlg);
    SkinnedForm::TearDown();
  }
  HWND dlg = nullptr;
};

}  // namespace

TEST_F(CaptionButtonsTest, MaximizeAndMinimizeShowTheRestoreImageOnlyWhileTheyWouldRestore) {
  const TBorderStyle styles[] = {bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin};
  const int section = manager->GetSkinIndex(L"FORM");
  for (bool withRestore : {true, false}) {
    if (!withRestore) DropRestoreImages(*manager);
    const int restore = RestoreButtonImage(manager.get(), section, L"FORM");
    ASSERT_EQ(withRestore, manager->IsValidImgIndex(restore));
    for (TBorderStyle bs : styles) {
      const bool small = bs != bsSingle && bs != bsSizeable;
      const TacCaptionImages own = CaptionButtonImages(manager.get(), section, L"FORM", small);
      for (Shown s : {Shown::Normal, Shown::Maximized, Shown::Minimized}) {
        SCOPED_TRACE(std::string(withRestore ? "with" : "without") + " restore, style " +
                     std::to_string(bs) + ", " + Name(s));
        const int max = MaxButtonShows(own.Max, restore, s == Shown::Maximized);
        const int min = MinButtonShows(own.Min, restore, s == Shown::Minimized);
        EXPECT_EQ(s == Shown::Maximized ? restore : own.Max, max);
        EXPECT_EQ(s == Shown::Minimized ? restore : own.Min, min);
        // Without a restore image the button stays blank: never the glyph
        // of the command it does not run.
        if (!withRestore && s == Shown::Maximized) {
          EXPECT_FALSE(manager->IsValidImgIndex(max));
        }
        if (!withRestore && s == Shown::Minimized) {
          EXPECT_FALSE(manager->IsValidImgIndex(min));
        }
      }
    }
  }
}

// A maximized window's maximize button restores: it shows the restore image
// or, in a skin without one, nothing; a normal window's shows its own image.
TEST_F(CaptionButtonsTest, FormAndDialogDrawTheSameMaximizeButtonByStateAndSkin) {
  struct Case {
    const char* owner;
    TBorderStyle style;  // of the form; the dialog is sizeable
    bool hasMax;
  };
  const Case cases[] = {{"form", bsSizeable, true},
                        {"form", bsSingle, true},
                        {"form", bsDialog, false},
                        {"dialog", bsSizeable, true}};
  for (bool withRestore : {true, false}) {
    for (const Case& c : cases) {
      for (Shown s : {Shown::Normal, Shown::Maximized}) {
        SCOPED_TRACE(std::string(c.owner) + " style " + std::to_string(c.style) + ", " + Name(s) +
                     (withRestore ? ", with restore" : ", without restore"));
        manager.reset();  // the default manager goes with it; a new one takes its place
        manager = LoadedManager(L"WLM (internal)", FixtureSkinDir(), true);
        if (!withRestore) DropRestoreImages(*manager);
        const int flag = s == Shown::Maximized ? SW_MAXIMIZE : SW_SHOWNORMAL;
        TsCaptionButton max;
        TBitmap* cache = nullptr;
        TBitmap* background = nullptr;
        TForm* owner = nullptr;
        if (std::strcmp(c.owner, "form") == 0) {
          owner = Construct<TForm>(Application);
          owner->SetBounds(40, 40, 360, 240);
          owner->SetBorderStyle(c.style);
          auto* provider = Construct<TsSkinProvider>(owner);
          owner->Show();
          ::ShowWindow(owner->WindowHandle(), flag);
          adaptertest::PumpFor(30);
          provider->FormActive = true;
          provider->SkinData->BGChanged = true;
          provider->PaintAll();
          max = provider->MaxButton;
          cache = provider->SkinData->CacheBmp.get();
          background = provider->TempBmp.get();
        } else {
          dlg = adaptertest::MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                            WS_MAXIMIZEBOX | WS_MINIMIZEBOX,
                                        PlainDlgProc, L"Dialog", 1001, L"Run");
          ASSERT_NE(nullptr, dlg);
          ::ShowWindow(dlg, SW_SHOW);
          ::SetActiveWindow(dlg);
          adaptertest::PumpFor(30);
          ::ShowWindow(dlg, flag);
          adaptertest::PumpFor(30);
          auto* adapter = dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg));
          ASSERT_NE(nullptr, adapter);
          adapter->SkinData->BGChanged = true;
          adapter->PaintAll();
          max = adapter->MaxButton;
          cache = adapter->SkinData->CacheBmp.get();
          background = adapter->ButtonsBmp.get();
        }
        ASSERT_EQ(s == Shown::Maximized,
                  ::IsZoomed(owner ? owner->WindowHandle() : dlg) != FALSE);
        if (!c.hasMax) {
          EXPECT_EQ(max.R.right, max.R.left);
        } else {
          ASSERT_GT(max.R.right, max.R.left);
          ASSERT_NE(nullptr, background);
          const int x0 = cache->Width() - background->Width() - 1;
          const bool blank = Blank(*cache, *background, x0, max.R);
          EXPECT_EQ(s == Shown::Maximized && !withRestore, blank);
        }
        delete owner;
        if (dlg) ::DestroyWindow(dlg);
        dlg = nullptr;
      }
    }
  }
}
