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

TEST(Jpeg, PicturesClaimingTooManyPixelsAreRefused) {
  std::string bytes = testenv::ReadFileBytes(testenv::FixturePath(L"jpeg_red_blue_16x8.jpg"));
  // The frame header (SOF0 or SOF2): marker, length, precision, then the
  // height and width as big-endian 16-bit numbers.
  size_t sof = std::string::npos;
  for (size_t i = 2; i + 9 < bytes.size(); ++i)
    if (bytes[i] == '\xFF' && (bytes[i + 1] == '\xC0' || bytes[i + 1] == '\xC2')) {
      sof = i;
      break;
    }
  ASSERT_NE(std::string::npos, sof);
  auto withSize = [&](int w, int h) {
    std::string b = bytes;
    b[sof + 5] = static_cast<char>(h >> 8);
    b[sof + 6] = static_cast<char>(h & 0xFF);
    b[sof + 7] = static_cast<char>(w >> 8);
    b[sof + 8] = static_cast<char>(w & 0xFF);
    return b;
  };
  for (int side : {60000, 8193}) {
    const std::string huge = withSize(side, side);
    TJPEGImage jpg;
    jpg.LoadFromFile(testenv::FixturePath(L"jpeg_gray_6x5.jpg"));
    EXPECT_THROW(jpg.LoadFromMemory(huge.data(), huge.size()), EJPEG) << side;
    EXPECT_EQ(6, jpg.Width()) << side;
  }
}

}  // namespace
