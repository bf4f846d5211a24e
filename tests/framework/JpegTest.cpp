// TJPEGImage decoding of small fixture pictures, and corrupt input.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/Jpeg.h"
#include "framework/SysUtils.h"
#include "tests/common/TestEnv.h"

namespace {

// Within `tol` on every channel.
void ExpectNear(TBitmap& b, int x, int y, int r, int g, int bl, int tol = 24) {
  const BYTE* p = static_cast<const BYTE*>(b.ScanLine(y)) + x * 3;
  EXPECT_LE(std::abs(p[2] - r), tol) << "red at " << x << "," << y;
  EXPECT_LE(std::abs(p[1] - g), tol) << "green at " << x << "," << y;
  EXPECT_LE(std::abs(p[0] - bl), tol) << "blue at " << x << "," << y;
}

TEST(Jpeg, DecodesColourPictureInto24BitRowsTopDown) {
  TJPEGImage jpg;
  jpg.LoadFromFile(testenv::FixturePath(L"jpeg_red_blue_16x8.jpg"));
  EXPECT_EQ(jpg.Width(), 16);
  EXPECT_EQ(jpg.Height(), 8);
  EXPECT_FALSE(jpg.Empty());
  std::unique_ptr<TBitmap> bmp = jpg.ToBitmap();
  ASSERT_EQ(bmp->PixelFormat(), pf24bit);
  for (int y : {0, 7}) {
    ExpectNear(*bmp, 1, y, 255, 0, 0);   // left half red
    ExpectNear(*bmp, 14, y, 0, 0, 255);  // right half blue
  }
}

TEST(Jpeg, DecodesGreyscalePictures) {
  TJPEGImage jpg;
  jpg.LoadFromFile(testenv::FixturePath(L"jpeg_gray_6x5.jpg"));
  TBitmap bmp;
  bmp.Assign(&jpg);  // a JPEG assigns itself to a bitmap as 24-bit pixels
  EXPECT_EQ(bmp.Width(), 6);
  EXPECT_EQ(bmp.Height(), 5);
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  ExpectNear(bmp, 3, 2, 128, 128, 128, 6);
}

TEST(Jpeg, DrawsStretchedIntoACanvas) {
  TJPEGImage jpg;
  jpg.LoadFromFile(testenv::FixturePath(L"jpeg_red_blue_16x8.jpg"));
  TBitmap target(32, 16, pf24bit);
  target.Canvas()->StretchDraw(Rect(0, 0, 32, 16), &jpg);
  ExpectNear(target, 2, 8, 255, 0, 0);
  ExpectNear(target, 29, 8, 0, 0, 255);
}

TEST(Jpeg, CorruptDataRaisesInsteadOfEndingTheProcess) {
  testenv::ScopedTempDir dir;
  const std::vector<std::string> cases = {
      std::string("not a jpeg at all"),
      std::string("\xFF\xD8\xFF\xE0garbage", 11),  // header cut short
      std::string("\xFF\xD8", 2) + std::string(64, '\x17'),
  };
  for (const auto& bytes : cases) {
    TJPEGImage jpg;
    EXPECT_THROW(jpg.LoadFromMemory(bytes.data(), bytes.size()), EJPEG);
    EXPECT_TRUE(jpg.Empty());
    const std::wstring file = dir.WriteFile(L"bad.jpg", bytes);
    EXPECT_THROW(jpg.LoadFromFile(file), EInvalidGraphic);
  }
  TJPEGImage jpg;
  EXPECT_THROW(jpg.LoadFromFile(dir / L"missing.jpg"), EFOpenError);
}

TEST(Jpeg, FailedLoadKeepsThePreviousPicture) {
  TJPEGImage jpg;
  jpg.LoadFromFile(testenv::FixturePath(L"jpeg_gray_6x5.jpg"));
  const char junk[] = "junk";
  EXPECT_THROW(jpg.LoadFromMemory(junk, 4), EJPEG);
  EXPECT_EQ(jpg.Width(), 6);
}

}  // namespace
