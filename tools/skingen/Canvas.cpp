#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

Rgb Mix(Rgb a, Rgb b, double t) {
  auto ch = [t](int x, int y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * t));
  };
  return Rgb{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height, kFuchsia) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  px_[static_cast<size_t>(y) * width_ + x] = c;
}

Rgb Canvas::Get(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

void Canvas::Fill(int x, int y, int w, int h, Rgb c) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) Set(x + i, y + j, c);
}

void Canvas::VGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int j = 0; j < h; ++j)
    HLine(x, y + j, w, Mix(top, bottom, h > 1 ? static_cast<double>(j) / (h - 1) : 0));
}

void Canvas::HGradient(int x, int y, int w, int h, Rgb left, Rgb right) {
  for (int i = 0; i < w; ++i)
    VLine(x + i, y, h, Mix(left, right, w > 1 ? static_cast<double>(i) / (w - 1) : 0));
}

void Canvas::Pattern(int x, int y, const std::vector<std::string>& rows, const std::string& keys,
                     const std::vector<Rgb>& colors) {
  for (size_t j = 0; j < rows.size(); ++j)
    for (size_t i = 0; i < rows[j].size(); ++i) {
      size_t k = keys.find(rows[j][i]);
      if (k != std::string::npos && k < colors.size())
        Set(x + static_cast<int>(i), y + static_cast<int>(j), colors[k]);
    }
}

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(x & 0xFF);
  v.push_back((x >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace

std::vector<uint8_t> Canvas::ToBmp() const {
  const uint32_t stride = (static_cast<uint32_t>(width_) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * height_;
  std::vector<uint8_t> v;
  v.reserve(54 + dataSize);
  v.push_back('B');
  v.push_back('M');
  Put32(v, 54 + dataSize);
  Put32(v, 0);
  Put32(v, 54);
  Put32(v, 40);
  Put32(v, width_);
  Put32(v, height_);
  Put16(v, 1);
  Put16(v, 24);
  Put32(v, 0);
  Put32(v, dataSize);
  Put32(v, 2835);
  Put32(v, 2835);
  Put32(v, 0);
  Put32(v, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    uint32_t n = 0;
    for (int x = 0; x < width_; ++x, n += 3) {
      Rgb c = Get(x, y);
      v.push_back(c.b);
      v.push_back(c.g);
      v.push_back(c.r);
    }
    for (; n < stride; ++n) v.push_back(0);
  }
  return v;
}

std::vector<uint8_t> Canvas::Packed() const {
  std::vector<uint8_t> out;
  const size_t n = px_.size();
  auto put = [&out](Rgb c) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
  };
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 129 && px_[i + run] == px_[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(run + 126));
      put(px_[i]);
      i += run;
      continue;
    }
    size_t lit = 1;
    while (i + lit < n && lit < 128 &&
           !(i + lit + 1 < n && px_[i + lit] == px_[i + lit + 1]))
      ++lit;
    out.push_back(static_cast<uint8_t>(lit - 1));
    for (size_t k = 0; k < lit; ++k) put(px_[i + k]);
    i += lit;
  }
  return out;
}

}  // namespace skingen
