// A 24-bit picture in memory for the skin generator: plain pixel drawing,
// a BMP writer and a run-length packer for embedding. Host code only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline constexpr Rgb kFuchsia{255, 0, 255};

// Colour value with red in the low byte, as skin files write colours.
inline int ColorValue(Rgb c) { return c.r | (c.g << 8) | (c.b << 16); }
// Linear mix: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);
inline Rgb Lighter(Rgb c, double t) { return Mix(c, Rgb{255, 255, 255}, t); }
inline Rgb Darker(Rgb c, double t) { return Mix(c, Rgb{0, 0, 0}, t); }

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Set(int x, int y, Rgb c);
  Rgb Get(int x, int y) const;
  void Fill(int x, int y, int w, int h, Rgb c);
  void HLine(int x, int y, int w, Rgb c) { Fill(x, y, w, 1, c); }
  void VLine(int x, int y, int h, Rgb c) { Fill(x, y, 1, h, c); }
  // Top-to-bottom gradient.
  void VGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  void HGradient(int x, int y, int w, int h, Rgb left, Rgb right);
  // Draws rows of text: '.' transparent (left alone), other characters
  // looked up in `colors` by position in `keys`.
  void Pattern(int x, int y, const std::vector<std::string>& rows, const std::string& keys,
               const std::vector<Rgb>& colors);
  // Uncompressed bottom-up 24-bit BMP file.
  std::vector<uint8_t> ToBmp() const;
  // Pixel runs: a byte n < 128 is followed by n + 1 literal pixels, a byte
  // n >= 128 by one pixel repeated n - 126 times (pixels are blue, green,
  // red; rows top to bottom).
  std::vector<uint8_t> Packed() const;

 private:
  int width_, height_;
  std::vector<Rgb> px_;
};

}  // namespace skingen
