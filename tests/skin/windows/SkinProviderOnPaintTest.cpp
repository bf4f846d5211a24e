// A skinned form's own painting: the form's OnPaint draws into the
// provider's cache at the client area, so printing and the screen show it
// over the skin's background; without the handler the form adds nothing.
// The form's own icon is the caption's icon.
#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "skin/controls/Panel.h"
#include "skin/engine/AnimShow.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/WindowPoints.h"

using namespace skintest;

namespace {

constexpr TColor kInk = 0x0000FF;  // pure red
const TRect kSpot{10, 10, 40, 30};  // where the handler paints, client coordinates

class SkinProviderOnPaint : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(60, 60, 400, 300);
    provider = Construct<TsSkinProvider>(form);
    Handler(true);
    form->Show();
    wnd = form->WindowHandle();
    adaptertest::PumpFor(50);
  }
  void Handler(bool on) {
    form->OnPaint = nullptr;
    if (on)
      form->OnPaint = [this](TObject*) {
        ++paints;
        form->Canvas()->Brush()->SetColor(kInk);
        form->Canvas()->FillRect(kSpot);
      };
  }
  TPoint Client() const { return skintest::ClientOrigin(wnd); }
  std::unique_ptr<TBitmap> Print() {
    auto b = MakeBmp(WndWidth(wnd), WndHeight(wnd), 0x123456);
    ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
                   PRF_CLIENT | PRF_NONCLIENT);
    return b;
  }

  TsSkinProvider* provider = nullptr;
  HWND wnd = nullptr;
  int paints = 0;
};

TEST_F(SkinProviderOnPaint, HandlersDrawingIsPartOfTheCachePrintAndScreen) {
  ASSERT_TRUE(provider->SkinData->Skinned(true));
  const TPoint c = Client();
  ASSERT_EQ(c.x, provider->OffsetX());
  ASSERT_EQ(c.y, provider->OffsetY());
  // The spot's corners and the pixels just outside it, client coordinates.
  const struct {
    int x, y;
    bool inside;
  } probes[] = {{10, 10, true}, {39, 29, true}, {25, 20, true},
                {9, 10, false}, {40, 29, false}, {39, 30, false}, {10, 9, false}};
  for (bool handler : {true, false}) {
    SCOPED_TRACE(handler ? "with OnPaint" : "without OnPaint");
    Handler(handler);
    provider->SkinData->BGChanged = true;
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    TBitmap& cache = *provider->SkinData->CacheBmp;
    auto img = Print();
    UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
    for (const auto& p : probes) {
      SCOPED_TRACE(testing::Message() << "client point " << p.x << "," << p.y);
      const bool ink = handler && p.inside;
      EXPECT_EQ(ink, Px(cache, c.x + p.x, c.y + p.y) == kInk);
      EXPECT_EQ(ink, Px(*img, c.x + p.x, c.y + p.y) == kInk);
      EXPECT_EQ(ink, static_cast<TColor>(::GetPixel(dc.get(), c.x + p.x, c.y + p.y)) == kInk);
    }
  }
}

TEST_F(SkinProviderOnPaint, PrintRunsTheHandlerOnTheGivenDC) {
  // With the cache valid, printing still runs the handler once, on the
  // printer's DC with its origin at the client area.
  ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  ASSERT_FALSE(provider->SkinData->BGChanged);
  paints = 0;
  HDC seen = nullptr;
  POINT origin{-1, -1};
  form->OnPaint = [&](TObject*) {
    ++paints;
    seen = form->Canvas()->Handle();
    ::GetViewportOrgEx(seen, &origin);
  };
  auto img = Print();
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(seen, img->Canvas()->Handle());
  EXPECT_EQ(origin.x, Client().x);
  EXPECT_EQ(origin.y, Client().y);
  EXPECT_FALSE(form->Canvas()->HandleAllocated());
}

// A square icon of one opaque colour.
HICON SolidIcon(TColor color) {
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  UniqueBitmap image(::CreateCompatibleBitmap(screen.get(), 32, 32));
  UniqueBitmap mask(::CreateBitmap(32, 32, 1, 1, nullptr));
  {
    UniqueMemDC dc = CreateMemDC();
    SelectObjectScope select(dc.get(), image.get());
    UniqueBrush brush(::CreateSolidBrush(color));
    RECT r{0, 0, 32, 32};
    ::FillRect(dc.get(), &r, brush.get());
    SelectObjectScope selectMask(dc.get(), mask.get());
    ::PatBlt(dc.get(), 0, 0, 32, 32, BLACKNESS);  // all opaque
  }
  ICONINFO ii{TRUE, 0, 0, mask.get(), image.get()};
  return ::CreateIconIndirect(&ii);
}

TEST_F(SkinProviderOnPaint, AFormCapturedForItsFadeInPaintsAsOnScreenThoughItsWindowIsHidden) {
  TsPanel* panel = Construct<TsPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(60, 60, 120, 80);
  adaptertest::PumpFor(50);
  const TPoint c = Client();
  auto blank = [&] { return MakeBmp(WndWidth(wnd), WndHeight(wnd), 0x123456); };
  const std::unique_ptr<TBitmap> shown = blank();
  PaintCtrlToBitmap(shown.get(), form);

  // The fade turns the form's drawing off, which hides its window, and then
  // captures it.
  ::SendMessageW(wnd, WM_SETREDRAW, 0, 0);
  ASSERT_FALSE(::IsWindowVisible(wnd));
  const std::unique_ptr<TBitmap> captured = blank(), hidden = blank();
  AnimCaptureDC = captured->Canvas()->Handle();
  PaintCtrlToBitmap(captured.get(), form);
  AnimCaptureDC = nullptr;
  PaintCtrlToBitmap(hidden.get(), form);  // not captured: the hidden form prints nothing
  ::SendMessageW(wnd, WM_SETREDRAW, 1, 0);

  const struct {
    const char* what;
    int x, y;
    bool formsOwn;  // painted by the form, not by a child window
  } probes[] = {{"caption", WndWidth(wnd) / 2, c.y / 2, true},
                {"left frame", 1, c.y + 100, true},
                {"client", c.x + 250, c.y + 150, true},
                {"handler's spot", c.x + 20, c.y + 20, true},
                {"panel", c.x + 120, c.y + 100, false}};
  for (const auto& p : probes) {
    SCOPED_TRACE(p.what);
    EXPECT_NE(0x123456, Px(*shown, p.x, p.y));
    EXPECT_EQ(Px(*shown, p.x, p.y), Px(*captured, p.x, p.y));
    if (p.formsOwn) {
      EXPECT_EQ(0x123456, Px(*hidden, p.x, p.y));
    }
  }
}

TEST_F(SkinProviderOnPaint, FormsOwnIconIsTheCaptionIcon) {
  constexpr TColor kGreen = 0x00FF00;
  const TRect r = provider->TitleIconRect();
  ASSERT_GT(r.right - r.left, 0);
  const TPoint mid{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  for (bool own : {true, false}) {
    SCOPED_TRACE(own ? "own icon" : "no icon");
    form->Icon()->SetHandle(own ? SolidIcon(kGreen) : nullptr);
    provider->SkinData->BGChanged = true;
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
    EXPECT_EQ(own, Px(*provider->SkinData->CacheBmp, mid.x, mid.y) == kGreen);
  }
}

}  // namespace
