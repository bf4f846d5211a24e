// Handle owners: selections put back, DCs and kernel handles freed once.
#include <gtest/gtest.h>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace {

TEST(Handles, SelectObjectScopeRestoresThePreviousObject) {
  UniqueMemDC dc = CreateMemDC();
  ASSERT_TRUE(dc);
  HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
  UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  {
    SelectObjectScope outer(dc.get(), red.get());
    EXPECT_TRUE(outer);
    EXPECT_EQ(outer.dc(), dc.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
    {
      SelectObjectScope inner(dc.get(), blue.get());
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), blue.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
    SelectObjectScope moved = std::move(outer);
    EXPECT_FALSE(outer);  // NOLINT(bugprone-use-after-move): the moved-from scope is empty
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
  // The brushes were never deleted while selected: they are still valid.
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectW(red.get(), sizeof lb, &lb), static_cast<int>(sizeof lb));
}

TEST(Handles, GdiOwnerDeletesOnceAndMoves) {
  HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
  {
    UniqueBrush a(raw);
    UniqueBrush b(std::move(a));
    EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(b.get(), raw);
  }
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectW(raw, sizeof lb, &lb), 0);  // deleted
}

TEST(Handles, KernelHandleTreatsNullAndInvalidAsEmpty) {
  UniqueKernelHandle a(INVALID_HANDLE_VALUE);
  UniqueKernelHandle b(nullptr);
  EXPECT_FALSE(a);
  EXPECT_FALSE(b);
  HANDLE ev = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    UniqueKernelHandle c(ev);
    EXPECT_TRUE(c);
  }
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(ev, &flags));  // closed
  UniqueFindHandle f;
  EXPECT_FALSE(f);
}

TEST(Handles, WindowDCIsReleasedToItsWindow) {
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen.window(), nullptr);
  EXPECT_GT(GetDeviceCaps(screen.get(), BITSPIXEL), 0);
  screen.reset();
  EXPECT_FALSE(screen);
}

TEST(Handles, RegKeyOwnerNeverClosesPredefinedRoots) {
  {
    UniqueRegKey root(HKEY_CURRENT_USER);
  }
  HKEY k = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &k), ERROR_SUCCESS);
  UniqueRegKey owned(k);
  EXPECT_TRUE(owned);
}

TEST(Canvas, ReleasingTheDCPutsItsOriginalObjectsBack) {
  UniqueMemDC dc = CreateMemDC();
  HGDIOBJ font0 = GetCurrentObject(dc.get(), OBJ_FONT);
  HGDIOBJ brush0 = GetCurrentObject(dc.get(), OBJ_BRUSH);
  HGDIOBJ pen0 = GetCurrentObject(dc.get(), OBJ_PEN);
  {
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Handle();
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), canvas.Font()->Handle());
    // A font change while selected: the DC never holds a deleted font.
    canvas.Font()->SetHeight(-20);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font0);
    canvas.TextWidth(L"x");
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), canvas.Font()->Handle());
    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font0);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush0);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen0);
    canvas.SetHandle(dc.get());
    canvas.Handle();
  }  // destroying the canvas lets go of the DC the same way
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font0);
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush0);
}

TEST(Canvas, BitmapHandleFreesTheCanvasSelection) {
  TBitmap b(4, 4, pf24bit);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  HBITMAP h = b.Handle();  // deselected from the canvas DC: usable in our own DC
  UniqueMemDC dc = CreateMemDC();
  SelectObjectScope sel(dc.get(), h);
  EXPECT_TRUE(sel);
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), h);
}

TEST(Canvas, WithoutADeviceContextDrawingRaises) {
  TCanvas canvas;
  EXPECT_THROW(canvas.Handle(), EInvalidOperation);
}

}  // namespace
