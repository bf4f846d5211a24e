// Switching a form's drawing off and on again (as around a caption change)
// keeps what its windows still had to paint: the platform validates them
// all when drawing goes off.
#include <gtest/gtest.h>

#include <memory>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "tests/common/AppDriver.h"
#include "tests/common/GdiCount.h"

namespace {

class SetRedrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    form = Construct<TForm>(Application);
    form->SetBounds(20, 20, 300, 200);
    changed = AddPanel(8);
    untouched = AddPanel(150);
    form->Show();
    testenv::PumpFor(50);
    paints[0] = paints[1] = 0;
  }
  void TearDown() override {
    hooks[0].reset();
    hooks[1].reset();
    delete form;
  }
  TPanel* AddPanel(int left) {
    auto* p = Construct<TPanel>(form);
    p->SetBounds(left, 8, 120, 100);
    p->SetParent(form);
    const int i = hooks[0] ? 1 : 0;
    hooks[i] = std::make_unique<TWndProcHook>(p, [this, i](TMessage& m, const TWndMethod& next) {
      if (m.Msg == WM_PAINT && m.WParam == 0) ++paints[i];
      if (m.Msg == WM_NCPAINT) ++ncpaints[i];
      next(m);
    });
    return p;
  }
  void Redraw(bool on) { ::SendMessageW(form->Handle(), WM_SETREDRAW, on ? TRUE : FALSE, 0); }

  TForm* form = nullptr;
  TPanel* changed = nullptr;
  TPanel* untouched = nullptr;
  std::unique_ptr<TWndProcHook> hooks[2];
  int paints[2] = {0, 0};
  int ncpaints[2] = {0, 0};
};

}  // namespace

TEST_F(SetRedrawTest, APaintPendingWhenDrawingGoesOffComesWhenItComesBack) {
  ::InvalidateRect(changed->Handle(), nullptr, TRUE);
  Redraw(false);
  Redraw(true);
  testenv::PumpFor(50);
  EXPECT_EQ(paints[0], 1);
  EXPECT_EQ(paints[1], 0);  // nothing to paint there: nothing painted
}

TEST_F(SetRedrawTest, AFramePendingWhenDrawingGoesOffIsPaintedWhenItComesBack) {
  HWND w = changed->Handle();
  ::SetWindowLongPtrW(w, GWL_EXSTYLE, ::GetWindowLongPtrW(w, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  testenv::PumpFor(50);
  ncpaints[0] = 0;
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  Redraw(false);
  Redraw(true);
  testenv::PumpFor(50);
  EXPECT_GE(ncpaints[0], 1);
}

TEST_F(SetRedrawTest, OnlyThePendingPartIsPaintedAgain) {
  RECT part{0, 0, 10, 10};
  ::InvalidateRect(changed->Handle(), &part, TRUE);
  Redraw(false);
  Redraw(true);
  RECT update{};
  ASSERT_TRUE(::GetUpdateRect(changed->Handle(), &update, FALSE));
  EXPECT_TRUE(::EqualRect(&update, &part));
  EXPECT_FALSE(::GetUpdateRect(untouched->Handle(), nullptr, FALSE));
}

TEST_F(SetRedrawTest, KeptPaintsCostNoGdiObjects) {
  const int before = testenv::GdiObjectCount();
  for (int i = 0; i < 50; ++i) {
    ::InvalidateRect(changed->Handle(), nullptr, TRUE);
    Redraw(false);
    Redraw(true);
  }
  // Drawing switched off for good: the window goes with its kept paints.
  ::InvalidateRect(changed->Handle(), nullptr, TRUE);
  Redraw(false);
  delete form;
  form = nullptr;
  hooks[0].reset();
  hooks[1].reset();
  EXPECT_LE(testenv::GdiObjectCount(), before + 3);
}
