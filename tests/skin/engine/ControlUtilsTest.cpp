// Control utilities: readiness, aligned sizes, the cache copy to a DC with
// children cut out, graphic children painted from the cache, end-update
// notifications, capture and the animated show.
#include <gtest/gtest.h>

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/engine/AnimShow.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinnedTestControls.h"

using namespace skintest;

namespace {

// A graphic control that paints itself in one colour.
class TSolid : public TGraphicControl {
 public:
  TSolid(TComponent* owner, TColor c) : TGraphicControl(owner), color(c) {}
  TColor color;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    FillDC(Canvas()->Handle(), MakeRect(0, 0, Width(), Height()), color);
  }
};

}  // namespace

TEST_F(SkinnedForm, ReadinessNeedsAWindowAParentAndNoLoading) {
  EXPECT_FALSE(ControlIsReady(nullptr));
  auto* loose = Construct<TTestSkinned>(form, ckPanel);
  EXPECT_FALSE(ControlIsReady(loose));  // no parent, no window
  TTestSkinned* placed = Add(ckPanel, 0, 0, 10, 10);
  placed->HandleNeeded();
  EXPECT_TRUE(ControlIsReady(placed));
  placed->SetControlState(placed->ControlState() | csCreating);
  EXPECT_FALSE(ControlIsReady(placed));
}

TEST_F(SkinnedForm, AlignedChildSizesAddUp) {
  auto* panel = Construct<TPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 300, 200);
  auto add = [&](TControl* c, int h) {
    c->SetParent(panel);
    c->SetAlign(alTop);
    c->SetHeight(h);
  };
  add(Construct<TPanel>(form), 20);
  add(Construct<TPanel>(form), 30);
  auto* label = Construct<TLabel>(form);
  label->SetAutoSize(false);
  add(label, 13);
  EXPECT_EQ(50, SumAlignedChildSizes(panel, alTop, false));
  EXPECT_EQ(63, SumAlignedChildSizes(panel, alTop, true));
  EXPECT_EQ(0, SumAlignedChildSizes(panel, alLeft, true));
}

TEST(ControlUtils, AlignFlagsAndOwnerForm) {
  EXPECT_EQ(UINT(DT_CENTER | DT_EXPANDTABS | DT_VCENTER), TextAlignFlags(nullptr, taCenter));
  EXPECT_EQ(UINT(DT_RIGHT | DT_EXPANDTABS | DT_VCENTER), TextAlignFlags(nullptr, taRightJustify));
  EXPECT_EQ(nullptr, GetOwnerForm(nullptr));
  TRect r{};
  GetWorkArea(r);
  EXPECT_GT(r.right - r.left, 0);
}

TEST_F(SkinnedForm, CacheCopyLeavesOutGraphicAndOpaqueChildren) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 60, 40);
  c->SkinData->InitCacheBmp();
  FillRect(*c->SkinData->CacheBmp, 0, 0, 60, 40, clRed);
  auto* graphic = Construct<TSolid>(form, clBlue);
  graphic->SetParent(c);
  graphic->SetBounds(5, 5, 10, 10);
  TTestSkinned* plainChild = Add(ckButton, 30, 5, 10, 10, c);
  TTestSkinned* opaqueChild = Add(ckButton, 45, 5, 10, 10, c);
  opaqueChild->SetControlStyle(opaqueChild->ControlStyle() | csOpaque);
  (void)plainChild;
  auto dst = MakeBmp(60, 40, clBlack);
  CopyWinControlCache(c, c->SkinData.get(), MakeRect(0, 0, 0, 0), MakeRect(0, 0, 60, 40),
                      dst->Canvas()->Handle(), false, 0, 0);
  ::GdiFlush();
  EXPECT_EQ(clRed, Px(*dst, 2, 2));
  EXPECT_EQ(clBlack, Px(*dst, 7, 7));    // graphic child cut out
  EXPECT_EQ(clRed, Px(*dst, 32, 7));     // a windowed child paints over it later
  EXPECT_EQ(clBlack, Px(*dst, 47, 7));   // opaque child cut out
  // The copy reads no further than the cache holds.
  auto wide = MakeBmp(80, 40, clBlack);
  CopyWinControlCache(c, c->SkinData.get(), MakeRect(10, 0, 0, 0), MakeRect(0, 0, 80, 40),
                      wide->Canvas()->Handle(), false, 0, 0);
  ::GdiFlush();
  EXPECT_EQ(clRed, Px(*wide, 49, 30));
  EXPECT_EQ(clBlack, Px(*wide, 50, 30));
}

TEST_F(SkinnedForm, GraphicChildrenArePaintedOverTheCache) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 60, 40);
  c->Show();
  form->Show();
  auto* solid = Construct<TSolid>(form, clBlue);
  solid->SetParent(c);
  solid->SetBounds(5, 5, 10, 10);
  auto dst = MakeBmp(60, 40, clBlack);
  // Without a cache nothing is painted.
  c->SkinData->CacheBmp.reset();
  PaintControls(dst->Canvas()->Handle(), c, 0, TPoint{0, 0});
  EXPECT_EQ(0, solid->paints);
  EXPECT_EQ(60 * 40, CountColor(*dst, clBlack));
  c->SkinData->InitCacheBmp();
  FillRect(*c->SkinData->CacheBmp, 0, 0, 60, 40, clRed);
  PaintControls(dst->Canvas()->Handle(), c, 0, TPoint{3, 2});
  ::GdiFlush();
  EXPECT_EQ(1, solid->paints);
  EXPECT_EQ(clBlue, Px(*dst, 8, 7));
  EXPECT_EQ(clBlue, Px(*dst, 17, 16));
  EXPECT_EQ(clBlack, Px(*dst, 7, 6));
  form->Hide();
}

TEST_F(SkinnedForm, EndUpdateReachesWindowedChildren) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 60, 40);
  TTestSkinned* a = Add(ckButton, 0, 0, 10, 10, c);
  TTestSkinned* b = Add(ckButton, 20, 0, 10, 10, c);
  a->HandleNeeded();
  b->HandleNeeded();
  NotifyChildrenEndUpdate(c);
  EXPECT_EQ(1, a->CountOf(AC_ENDPARENTUPDATE));
  EXPECT_EQ(1, b->CountOf(AC_ENDPARENTUPDATE));
  NotifyChildWndsEndUpdate(c->Handle());
  EXPECT_EQ(2, a->CountOf(AC_ENDPARENTUPDATE));
}

TEST_F(SkinnedForm, BackgroundColourFallsBackToTheControlColour) {
  auto* plain = Construct<TPanel>(form);
  plain->SetParent(form);
  plain->SetColor(clBtnFace);
  UpdateBGFillColor(plain);
  EXPECT_EQ(ColorToRGB(clBtnFace), BGFillColor);
  BGFillColor = clFuchsia;
}

TEST(AnimShow, FrameWeights) {
  const std::vector<int> a = AnimShowAlphas(100);
  ASSERT_EQ(13u, a.size());
  EXPECT_EQ(255, a.front());
  EXPECT_EQ(234, a[1]);
  EXPECT_EQ(3, a.back());
  for (size_t i = 1; i < a.size(); ++i) EXPECT_EQ(21, a[i - 1] - a[i]);
  EXPECT_TRUE(AnimShowAlphas(5).empty());
  EXPECT_TRUE(AnimShowAlphas(0).empty());
}

TEST_F(SkinnedForm, AnimatedShowEndsWithTheControlsImageAndCleansUp) {
  form->Show();
  TTestSkinned* c = Add(ckPanel, 20, 20, 60, 40);
  c->HandleNeeded();
  AnimShowControl(c, 24);
  EXPECT_EQ(nullptr, OutputWindow);
  EXPECT_EQ(nullptr, AnimScreenBmp.get());
  EXPECT_EQ(nullptr, AnimCaptureDC);
  // Drawing is on again.
  EXPECT_TRUE(::IsWindowVisible(c->Handle()));
  form->Hide();
}

TEST_F(SkinnedForm, CaptureAsksSkinnedControlsToPrintThemselves) {
  form->Show();
  TTestSkinned* c = Add(ckPanel, 0, 0, 60, 40);
  TTestSkinned* child = Add(ckButton, 10, 10, 20, 10, c);
  c->HandleNeeded();
  child->HandleNeeded();
  auto bmp = CreateBmp24(60, 40);
  PaintCtrlToBitmap(bmp.get(), c);
  // Both answered AC_CTRLHANDLED, so both were asked for WM_PRINT (which the
  // test control passes to the framework).
  EXPECT_GE(c->CountOf(AC_CTRLHANDLED), 1);
  EXPECT_GE(child->CountOf(AC_CTRLHANDLED), 1);
  form->Hide();
}

TEST_F(SkinnedForm, BareWindowCacheCopyCutsOnlyAGroupBoxsFrame) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 120, 80);
  c->SkinData->InitCacheBmp();
  FillRect(*c->SkinData->CacheBmp, 0, 0, 120, 80, clRed);
  HWND parent = c->Handle();
  HWND group = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10,
                                 60, 50, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 80, 10, 30, 20, parent,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
  const int gi = manager->GetSkinIndex(L"GROUPBOX");
  const int bl = manager->MaskBorderLeft(manager->GetMaskIndex(gi, L"GROUPBOX", L"BORDERSMASK"));
  auto dst = MakeBmp(120, 80, clBlack);
  CopyHwndCache(parent, c->SkinData.get(), MakeRect(0, 0, 0, 0), MakeRect(0, 0, 120, 80),
                dst->Canvas()->Handle(), false, 0, 0);
  ::GdiFlush();
  EXPECT_EQ(clRed, Px(*dst, 5, 5));      // no child there
  EXPECT_EQ(clRed, Px(*dst, 40, 35));    // the group box's inside shows the cache
  EXPECT_EQ(clBlack, Px(*dst, 90, 15));  // any other child is cut out whole
  if (bl > 0) {
    EXPECT_EQ(clBlack, Px(*dst, 10, 35));  // its frame is its own
  }
  ::DestroyWindow(edit);
  ::DestroyWindow(group);
}
