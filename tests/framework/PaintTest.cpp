// Painting: a control's image through PaintTo, and a paint that throws.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/ExtCtrls.h"
#include "framework/Handles.h"
#include "tests/framework/FormTestSupport.h"

namespace {

using PaintTest = FormTest;

// A 24-bit bitmap selected into a memory DC, to paint into and read back.
struct Canvas24 {
  Canvas24(int w, int h) : dc(CreateMemDC()) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    select = SelectObjectScope(dc.get(), bitmap.get());
    PatBlt(dc.get(), 0, 0, w, h, BLACKNESS);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc.get(), x, y); }
  UniqueMemDC dc;
  UniqueBitmap bitmap;
  SelectObjectScope select;
};

TEST_F(PaintTest, PaintToPutsTheChildrenInsideTheFrameOnce) {
  auto* box = Make<TScrollBox>(8, 8, 100, 80);  // a sunken frame around the client
  box->SetColor(RGB(0, 255, 0));
  auto* child = Construct<TPanel>(form);
  child->SetBevelOuter(bvNone);
  child->SetParentColor(false);
  child->SetColor(RGB(255, 0, 0));
  child->SetBounds(10, 10, 20, 20);
  child->SetParent(box);
  box->HandleNeeded();
  int prints = 0;
  TWndProcHook counter(child, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == WM_PRINT) ++prints;
    next(m);
  });
  POINT client = box->ClientOffset();
  ASSERT_GT(client.x, 0) << "the box has no frame";

  Canvas24 image(box->Width(), box->Height());
  box->PaintTo(image.dc.get(), 0, 0);
  GdiFlush();
  EXPECT_EQ(prints, 2) << "frame and client, once each";
  EXPECT_EQ(image.At(client.x + 20, client.y + 20), RGB(255, 0, 0)) << "child's middle";
  EXPECT_EQ(image.At(client.x + 5, client.y + 5), RGB(0, 255, 0)) << "parent's client left of the child";
  EXPECT_EQ(image.At(client.x + 35, client.y + 35), RGB(0, 255, 0)) << "past the child's corner";
  EXPECT_NE(image.At(0, 0), RGB(0, 255, 0)) << "the frame was painted over";
}

class TThrowingPaint : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    throw std::runtime_error("paint failed");
  }
};

TEST_F(PaintTest, APaintThatThrowsStillValidatesTheWindow) {
  TExceptionEvent saved = Application->OnException;
  int errors = 0;
  Application->OnException = [&](TObject*, std::exception_ptr) { ++errors; };
  auto* c = Make<TThrowingPaint>();
  form->Show();  // only a shown window has an update region
  HWND wnd = c->Handle();
  UpdateWindow(form->Handle());
  c->Paints = 0;
  errors = 0;
  InvalidateRect(wnd, nullptr, FALSE);
  UpdateWindow(wnd);
  Application->OnException = saved;
  EXPECT_EQ(c->Paints, 1);
  EXPECT_EQ(errors, 1);
  EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << "the failed paint left the region invalid";
}

}  // namespace
