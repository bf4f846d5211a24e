// TControlCanvas: a control's device context taken on demand outside
// WM_PAINT, placed on a control without a window, and given back.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/ControlCanvas.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {

class ControlCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 300, 200);
    form->Show();
  }
  void TearDown() override {
    FreeDeviceContexts();
    delete form;
  }
  TForm* form = nullptr;
};

TEST_F(ControlCanvasTest, TakesTheWindowsContextOnDemandAndGivesItBack) {
  auto* panel = Construct<TPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 100, 50);
  TControlCanvas canvas(panel);
  EXPECT_FALSE(canvas.HandleAllocated());
  HDC dc = canvas.Handle();
  ASSERT_NE(nullptr, dc);
  EXPECT_EQ(panel->Handle(), canvas.HeldWindow());
  EXPECT_EQ(panel->Handle(), ::WindowFromDC(dc));
  EXPECT_EQ(1, HeldDeviceContexts());
  canvas.FreeHandle();
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_EQ(0, HeldDeviceContexts());
}

TEST_F(ControlCanvasTest, AGraphicControlDrawsAtItsPlaceOnTheParent) {
  auto* label = Construct<TLabel>(form);
  label->SetParent(form);
  label->SetBounds(30, 20, 40, 15);
  TControlCanvas canvas(label);
  HDC dc = canvas.Handle();
  ASSERT_NE(nullptr, dc);
  EXPECT_EQ(form->Handle(), canvas.HeldWindow());
  POINT org{};
  ::GetViewportOrgEx(dc, &org);
  EXPECT_EQ(30, org.x);
  EXPECT_EQ(20, org.y);
  RECT clip{};
  ::GetClipBox(dc, &clip);
  EXPECT_LE(clip.right - clip.left, 40);
  EXPECT_LE(clip.bottom - clip.top, 15);
}

TEST_F(ControlCanvasTest, HoldsOnlyAFewContextsAndKeepsThoseOfLockedCanvases) {
  std::vector<std::unique_ptr<TControlCanvas>> canvases;
  for (int i = 0; i < 6; ++i) {
    auto* p = Construct<TPanel>(form);
    p->SetParent(form);
    p->SetBounds(i * 20, 0, 20, 20);
    canvases.push_back(std::make_unique<TControlCanvas>(p));
  }
  canvases[0]->Lock();
  for (auto& c : canvases) c->Handle();
  EXPECT_LE(HeldDeviceContexts(), 4);
  EXPECT_TRUE(canvases[0]->HandleAllocated());  // a painter holds it
  EXPECT_TRUE(canvases[5]->HandleAllocated());
  FreeDeviceContexts();
  EXPECT_EQ(1, HeldDeviceContexts());
  canvases[0]->Unlock();
  canvases.clear();
  EXPECT_EQ(0, HeldDeviceContexts());
}

TEST_F(ControlCanvasTest, ChangingTheControlGivesBackTheOldContext) {
  auto* a = Construct<TPanel>(form);
  a->SetParent(form);
  auto* b = Construct<TPanel>(form);
  b->SetParent(form);
  TControlCanvas canvas(a);
  canvas.Handle();
  canvas.SetControl(b);
  EXPECT_EQ(0, HeldDeviceContexts());
  canvas.Handle();
  EXPECT_EQ(b->Handle(), canvas.HeldWindow());
}

}  // namespace
