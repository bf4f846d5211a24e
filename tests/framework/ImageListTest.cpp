// TImageList: images added and drawn, handles owned or shared.
#include <gtest/gtest.h>

#include "framework/ComCtrls.h"
#include "framework/ImageList.h"

namespace {

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCommonControlsOnce(); }
  static std::unique_ptr<TBitmap> Solid(int w, int h, TColor color) {
    auto bmp = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
    bmp->Canvas()->Brush()->SetColor(color);
    bmp->Canvas()->FillRect(TRect{0, 0, w, h});
    return bmp;
  }
};

TEST_F(ImageListTest, AddsImagesOfItsSizeAndDrawsThem) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Count(), 0);
  auto red = Solid(16, 16, 0x0000FF);
  EXPECT_EQ(list.Add(red.get(), nullptr), 0);
  auto masked = Solid(16, 16, clFuchsia);
  masked->Canvas()->Brush()->SetColor(0x00FF00);
  masked->Canvas()->FillRect(TRect{4, 4, 12, 12});
  EXPECT_EQ(list.AddMasked(masked.get(), clFuchsia), 1);
  EXPECT_EQ(list.Count(), 2);

  TBitmap target(40, 20, TPixelFormat::pf24bit);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(TRect{0, 0, 40, 20});
  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 20, 0, 1);
  EXPECT_EQ(target.Canvas()->Pixels(8, 8), static_cast<TColor>(0x0000FF));
  EXPECT_EQ(target.Canvas()->Pixels(28, 8), static_cast<TColor>(0x00FF00));
  EXPECT_EQ(target.Canvas()->Pixels(21, 1), clWhite);  // the mask colour stays transparent
}

TEST_F(ImageListTest, AdoptedSharedHandleOutlivesTheComponent) {
  HIMAGELIST foreign = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  {
    TImageList list(nullptr);
    list.SetShareImages(true);
    list.SetHandle(foreign);
    EXPECT_EQ(list.Width(), 32);
    EXPECT_EQ(list.Height(), 32);
    EXPECT_EQ(list.Handle(), foreign);
  }
  EXPECT_TRUE(ImageList_SetImageCount(foreign, 1));
  EXPECT_EQ(ImageList_GetImageCount(foreign), 1);
  ImageList_Destroy(foreign);
}

TEST_F(ImageListTest, ListenersHearOfNewHandlesAndSizes) {
  TImageList list(nullptr);
  int heard = 0;
  list.AddChangeListener(this, [&] { ++heard; });
  list.Handle();
  list.SetSize(24, 24);
  EXPECT_EQ(heard, 1);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 24);
  list.RemoveChangeListener(this);
  list.Clear();
  EXPECT_EQ(heard, 1);
}

}  // namespace
