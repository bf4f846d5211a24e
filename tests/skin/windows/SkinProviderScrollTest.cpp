// A skinned form that scrolls (AutoScroll): its bars are drawn from the
// skin by the provider's own scroll adapter, scroll messages move the
// children, the square between the bars is a size grip, the frame metrics
// leave the bars out, and the adapter goes with the skin and the provider.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/ExtCtrls.h"
#include "framework/Handles.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/WindowPoints.h"

using namespace skintest;

namespace {

// Within two steps per channel: a section's image may shade its colour.
bool NearColor(TColor a, TColor b) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
      return false;
  return true;
}

class SkinProviderScroll : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(60, 60, 400, 300);
    form->SetAutoScroll(true);
    child = Construct<TPanel>(form);
    child->SetBounds(450, 400, 60, 60);  // beyond the client area both ways
    child->SetParent(form);
    procBefore = ::GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC);
    provider = Construct<TsSkinProvider>(form);
    form->Show();
    wnd = form->WindowHandle();
    adaptertest::PumpFor(50);
  }
  TacScrollWnd* Bars() const { return provider->FormScrollWnd.get(); }
  TRect Bar(WORD type) const {
    TRect r{};
    if (type == SB_VERT)
      GetVScrollRect(Bars(), wnd, r);
    else
      GetHScrollRect(Bars(), wnd, r);
    return r;
  }
  TPoint Client() const { return skintest::ClientOrigin(wnd); }
  // The screen shows the bars exactly as the engine paints them now.
  void ExpectScreenShowsTheEnginesBars() {
    RECT w{};
    ::GetWindowRect(wnd, &w);
    auto bmp = MakeBmp(w.right - w.left, w.bottom - w.top, clBlack);
    PaintScrollBars(Bars(), wnd, bmp->Canvas()->Handle(), -1);
    UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
    const TRect v = Bar(SB_VERT);
    const int x = (v.left + v.right) / 2 - w.left;
    int differ = 0;
    for (int y = v.top - w.top; y < v.bottom - w.top; ++y)
      differ += static_cast<TColor>(::GetPixel(dc.get(), x, y)) != Px(*bmp, x, y);
    EXPECT_EQ(0, differ);
  }
  HWND Prop() const { return static_cast<HWND>(::GetPropW(wnd, L"ACSBSC")); }

  TsSkinProvider* provider = nullptr;
  TPanel* child = nullptr;
  HWND wnd = nullptr;
  LONG_PTR procBefore = 0;
};

TEST_F(SkinProviderScroll, BarsAreDrawnFromTheSkinsScrollSections) {
  ASSERT_TRUE(provider->SkinData->Skinned(true));
  ASSERT_NE(Bars(), nullptr);
  EXPECT_EQ(static_cast<void*>(Prop()), static_cast<void*>(Bars()));
  EXPECT_TRUE(Bars()->HBar->Visible);
  EXPECT_TRUE(Bars()->VBar->Visible);

  const TColor track = Section(*manager, L"SCROLLBAR2V").Color;
  for (int sys : {COLOR_SCROLLBAR, COLOR_BTNFACE, COLOR_3DLIGHT})
    ASSERT_FALSE(NearColor(track, ::GetSysColor(sys)));
  ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  RECT w{};
  ::GetWindowRect(wnd, &w);
  const TRect v = Bar(SB_VERT);
  // Just above the lower arrow: the track after the thumb at the top.
  const int arrow = GetScrollMetric(Bars()->VBar.get(), false, false);
  const TPoint p{(v.left + v.right) / 2 - w.left, v.bottom - arrow - 3 - w.top};
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  EXPECT_PRED2(NearColor, static_cast<TColor>(::GetPixel(dc.get(), p.x, p.y)), track);
  ExpectScreenShowsTheEnginesBars();
}

TEST_F(SkinProviderScroll, FrameMetricsLeaveTheShownBarsOut) {
  const TPoint c = Client();
  EXPECT_EQ(c.x, provider->OffsetX());
  EXPECT_EQ(c.y, provider->OffsetY());
  EXPECT_EQ(c.y, provider->HeaderHeight());
  // The client background is the cache's client part, from its real place.
  ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  TBitmap& cache = *provider->SkinData->CacheBmp;
  for (TPoint p : {TPoint{5, 5}, TPoint{150, 100}})
    EXPECT_EQ(Px(cache, c.x + p.x, c.y + p.y),
              static_cast<TColor>(::GetPixel(dc.get(), c.x + p.x, c.y + p.y)));
}

TEST_F(SkinProviderScroll, ScrollMessagesMoveTheChildAndKeepTheSkinnedBars) {
  const int top = child->Top();
  ::SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  ::SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(16, form->VertScrollBar()->Position());
  EXPECT_EQ(top - 16, child->Top());
  SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(wnd, SB_VERT, &si);
  EXPECT_EQ(16, si.nPos);
  ExpectScreenShowsTheEnginesBars();
}

TEST_F(SkinProviderScroll, SquareBetweenTheBarsIsASizeGrip) {
  const TRect v = Bar(SB_VERT), h = Bar(SB_HORZ);
  auto hit = [&](int x, int y) { return ::SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(HTBOTTOMRIGHT, hit((h.right + v.right) / 2, (h.top + h.bottom) / 2));
  EXPECT_EQ(HTVSCROLL, hit((v.left + v.right) / 2, (v.top + v.bottom) / 2));
  EXPECT_EQ(HTHSCROLL, hit((h.left + h.right) / 2, (h.top + h.bottom) / 2));
  // The provider's own answer for a point in the square, asked directly.
  RECT w{};
  ::GetWindowRect(wnd, &w);
  const TPoint corner{(h.right + v.right) / 2 - w.left, (h.top + h.bottom) / 2 - w.top};
  EXPECT_TRUE(provider->InScrollCorner(corner));
  EXPECT_FALSE(provider->InScrollCorner(TPoint{corner.x, corner.y - (h.bottom - h.top)}));
}

TEST_F(SkinProviderScroll, SkinRemovalAndProviderFreeTheAdapterAndLeaveTheWindowProcedure) {
  ASSERT_NE(Bars(), nullptr);
  manager->SetActive(false);
  EXPECT_EQ(Bars(), nullptr);
  EXPECT_EQ(Prop(), nullptr);
  EXPECT_EQ(procBefore, ::GetWindowLongPtrW(wnd, GWLP_WNDPROC));
  // The plain form still scrolls.
  ::SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(8, form->VertScrollBar()->Position());

  manager->SetActive(true);
  ASSERT_NE(Bars(), nullptr);
  EXPECT_EQ(static_cast<void*>(Prop()), static_cast<void*>(Bars()));
  EXPECT_TRUE(Bars()->VBar->Visible);

  delete provider;
  EXPECT_EQ(Prop(), nullptr);
  EXPECT_EQ(procBefore, ::GetWindowLongPtrW(wnd, GWLP_WNDPROC));
  ::SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(16, form->VertScrollBar()->Position());
}

TEST_F(SkinProviderScroll, SkinOffAndOnKeepsTheGdiCount) {
  for (int i = 0; i < 3; ++i) {  // settle caches
    manager->SetActive(false);
    manager->SetActive(true);
  }
  const int before = adaptertest::GdiObjectCount();
  for (int i = 0; i < 30; ++i) {
    manager->SetActive(false);
    manager->SetActive(true);
    ASSERT_NE(Bars(), nullptr);
  }
  EXPECT_EQ(before, adaptertest::GdiObjectCount());
}

}  // namespace
