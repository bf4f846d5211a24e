// A form's own painting (OnPaint on its canvas) and its window icon.
#include <gtest/gtest.h>

#include "framework/Graphics.h"
#include "tests/common/GdiCount.h"
#include "tests/framework/FormTestSupport.h"

namespace {

using FormPaintTest = FormTest;

constexpr TColor kInk = RGB(255, 0, 0);
constexpr TColor kPaper = RGB(0, 0, 255);

// The form's client area as WM_PRINT gives it, in a 24-bit bitmap.
std::unique_ptr<TBitmap> PrintClient(TForm* form) {
  auto b = std::make_unique<TBitmap>(form->ClientWidth(), form->ClientHeight(), pf24bit);
  SendMessageW(form->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
               PRF_CLIENT | PRF_ERASEBKGND);
  return b;
}

TColor At(TBitmap& b, int x, int y) { return GetPixel(b.Canvas()->Handle(), x, y); }

// A copy of the system's application icon: a new handle each call.
HICON NewIcon() { return CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))); }

TEST_F(FormPaintTest, OnPaintDrawsOnTheClientAndNothingWithoutIt) {
  form->SetColor(kPaper);
  int paints = 0;
  struct Case {
    bool handler;
    TColor inside;
  } cases[] = {{true, kInk}, {false, kPaper}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.handler ? "with OnPaint" : "without OnPaint");
    form->OnPaint = nullptr;
    if (c.handler)
      form->OnPaint = [&](TObject* sender) {
        ++paints;
        ASSERT_EQ(sender, form);
        form->Canvas()->Brush()->SetColor(kInk);
        form->Canvas()->FillRect(TRect{10, 10, 40, 30});
      };
    auto img = PrintClient(form);
    EXPECT_EQ(At(*img, 10, 10), c.inside);
    EXPECT_EQ(At(*img, 39, 29), c.inside);
    EXPECT_EQ(At(*img, 9, 10), kPaper);
    EXPECT_EQ(At(*img, 40, 29), kPaper);
    EXPECT_EQ(At(*img, 39, 30), kPaper);
    // The paint DC was only lent: the canvas holds none afterwards.
    EXPECT_FALSE(form->Canvas()->HandleAllocated());
  }
  EXPECT_EQ(paints, 1);
}

TEST_F(FormPaintTest, PaintOnLendsTheCanvasAndGivesBackItsOwnContext) {
  form->OnPaint = [&](TObject*) { form->Canvas()->SetPixels(3, 4, kInk); };
  // A context the canvas took for drawing outside a paint.
  HDC own = form->Canvas()->Handle();
  ASSERT_NE(own, nullptr);
  TBitmap target(8, 8, pf24bit);
  HDC dc = target.Canvas()->Handle();
  form->PaintOn(dc);
  EXPECT_EQ(At(target, 3, 4), kInk);
  EXPECT_EQ(form->Canvas()->Handle(), own);
}

TEST_F(FormPaintTest, IconReachesTheWindowAsBigAndSmallIconAndSurvivesANewWindow) {
  auto icons = [&] {
    return std::pair{SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0),
                     SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0)};
  };
  form->Icon()->SetHandle(NewIcon());
  const auto mine = reinterpret_cast<LRESULT>(form->Icon()->Handle());
  ASSERT_NE(mine, 0);
  EXPECT_EQ(icons(), std::pair(mine, mine));

  // Assigned from another icon: the form keeps a copy of its own.
  TIcon other;
  other.SetHandle(NewIcon());
  form->SetIcon(&other);
  const auto copy = reinterpret_cast<LRESULT>(form->Icon()->Handle());
  EXPECT_NE(copy, reinterpret_cast<LRESULT>(other.Handle()));
  EXPECT_EQ(icons(), std::pair(copy, copy));

  form->SetBorderStyle(bsSingle);  // a new window
  EXPECT_EQ(icons(), std::pair(copy, copy));

  form->Icon()->SetHandle(nullptr);
  EXPECT_EQ(icons(), std::pair(LRESULT{0}, LRESULT{0}));
}

TEST_F(FormPaintTest, ReplacingTheIconManyTimesLeaksNoGdiObjects) {
  TIcon other;
  form->Icon()->SetHandle(NewIcon());
  other.SetHandle(NewIcon());
  const int before = testenv::GdiObjectCount();
  for (int i = 0; i < 40; ++i) {
    form->Icon()->SetHandle(NewIcon());
    other.SetHandle(NewIcon());
    form->SetIcon(&other);
  }
  EXPECT_EQ(before, testenv::GdiObjectCount());
  EXPECT_EQ(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0),
            reinterpret_cast<LRESULT>(form->Icon()->Handle()));
}

}  // namespace
