// A change of skin repaints each control of a skinned form once: controls
// that hear the refresh while the form's drawing is off leave their cache
// stale for the one repaint that ends the change, and an adapted container
// waits for its own parent's paint before it redraws its children. After
// the change every control shows the new skin.
#include <gtest/gtest.h>

#include "skin/controls/Button.h"
#include "skin/controls/Memo.h"
#include "skin/controls/PageControl.h"
#include "skin/controls/Panel.h"
#include "skin/controls/TabSheet.h"
#include "skin/controls/ScrollBox.h"
#include "skin/engine/AnimEffects.h"
#include "skin/engine/SkinnedForms.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/ProvidedFormTestSupport.h"

using namespace skintest;

namespace {

// Counts the cache rebuilds a refresh command makes at once: a marker
// pixel in the cache survives a refresh that leaves the cache stale.
class RefreshWatchBox : public TsScrollBox {
 public:
  using TsScrollBox::TsScrollBox;
  int rebuiltOnRefresh = 0;
  void WndProc(TMessage& m) override {
    const bool refresh = m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_REFRESH &&
                         SkinData->CacheBmp && SkinData->CacheBmp->Width() > 0;
    if (refresh) SetPx(*SkinData->CacheBmp, 0, 0, kMarker);
    TsScrollBox::WndProc(m);
    if (refresh && Px(*SkinData->CacheBmp, 0, 0) != kMarker) ++rebuiltOnRefresh;
  }
  static constexpr TColor kMarker = 0x010203;
};

// Counts the WM_PAINT messages the control hears.
template <class Base>
class PaintCount : public Base {
 public:
  using Base::Base;
  int paints = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PAINT) ++paints;
    Base::WndProc(m);
  }
};
using PaintCountButton = PaintCount<TsButton>;
using PaintCountMemo = PaintCount<TsMemo>;

class SkinChangeRepaint : public adaptertest::ProvidedForm {
 protected:
  void SetUp() override {
    SetUpForm(420, 300);
    AnimationsOff();
    box = Place<RefreshWatchBox>(form, 10, 10, 150, 100);
    panel = Place<TsPanel>(form, 10, 120, 150, 120);
    pages = Place<TsPageControl>(form, 170, 10, 220, 200);
    sheet = Construct<TsTabSheet>(form);
    sheet->SetPageControl(pages);
    pages->SetActivePage(sheet);
    group = Place<TGroupBox>(sheet, 5, 5, 200, 150);
    button = Place<PaintCountButton>(group, 20, 30, 100, 30);
    memo = Place<PaintCountMemo>(group, 20, 70, 150, 60);
    button->SetCaption(L"Анализ");
    ShowAndPump(50);
  }
  // The other internal skin, with drawing off around it as the manager
  // brackets a change of the main form's skin; returns its name.
  std::wstring ChangeSkin() {
    const std::wstring to = manager->InternalSkins()->Items(
        manager->InternalSkins()->Items(0)->Name() == manager->SkinName() ? 1 : 0)->Name();
    box->rebuiltOnRefresh = 0;
    button->paints = 0;
    memo->paints = 0;
    LockForms();
    manager->SetSkinName(to);
    UnlockForms(manager.get(), true);
    adaptertest::PumpFor(20);
    return to;
  }

  RefreshWatchBox* box = nullptr;
  TsPanel* panel = nullptr;
  TsPageControl* pages = nullptr;
  TsTabSheet* sheet = nullptr;
  TGroupBox* group = nullptr;
  PaintCountButton* button = nullptr;
  PaintCountMemo* memo = nullptr;
};

}  // namespace

TEST_F(SkinChangeRepaint, EachControlIsRepaintedOnceAndShowsTheNewSkin) {
  for (int change = 0; change < 2; ++change) {
    SCOPED_TRACE(change);
    const std::wstring to = ChangeSkin();
    ASSERT_EQ(to, manager->SkinName());
    // The box hears the refresh while the form's drawing is off: it does
    // not rebuild then.
    EXPECT_EQ(box->rebuiltOnRefresh, 0);
    // The adapted group box redraws its children when the tab sheet under
    // it has painted, not also when the form before it has.
    EXPECT_EQ(button->paints, 1);
    EXPECT_EQ(memo->paints, 1);
    const TColor boxFace = ColorToRGB(Sec(L"PANEL_LOW").Color);
    EXPECT_EQ(Px(*PrintControl(box), 75, 50), boxFace);
    EXPECT_EQ(Px(*PrintControl(panel), 75, 60), ColorToRGB(Sec(L"PANEL").Color));
    EXPECT_EQ(Px(*PrintControl(button), 50, 15), Px(*button->SkinData->CacheBmp, 50, 15));
  }
}

TEST_F(SkinChangeRepaint, ARefreshOutsideASkinChangeRebuildsAtOnce) {
  box->rebuiltOnRefresh = 0;
  ::SendMessageW(box->Handle(), SM_ALPHACMD, SkinCmdWParam(AC_REFRESH),
                 reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(box->rebuiltOnRefresh, 1);
}
