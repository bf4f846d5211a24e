// A bitmap file of a few bytes whose header claims any size: 8 bits per
// pixel, run-length encoded, with runs that end the picture at once. Tests
// of the readers' size limits build their input with it.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace testenv {

inline std::string TinyRle8Bitmap(LONG width, LONG height) {
  const std::string rle("\x00\x01", 2);  // end of bitmap
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  const DWORD off = sizeof fh + sizeof ih + 2 * sizeof(RGBQUAD);
  fh.bfType = 0x4D42;
  fh.bfOffBits = off;
  fh.bfSize = static_cast<DWORD>(off + rle.size());
  ih.biSize = sizeof ih;
  ih.biWidth = width;
  ih.biHeight = height;
  ih.biPlanes = 1;
  ih.biBitCount = 8;
  ih.biCompression = BI_RLE8;
  ih.biSizeImage = static_cast<DWORD>(rle.size());
  ih.biClrUsed = 2;
  std::string file(fh.bfSize, '\0');
  std::memcpy(file.data(), &fh, sizeof fh);
  std::memcpy(file.data() + sizeof fh, &ih, sizeof ih);
  std::memcpy(file.data() + off, rle.data(), rle.size());
  return file;
}

}  // namespace testenv
