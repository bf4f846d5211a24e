#include "Painters.h"

#include <cmath>
#include <cstdlib>

namespace skingen {

void DrawFrameCell(Canvas& c, int x, int y, int w, int h, const FrameLook& k) {
  if (!k.Visible) return;
  if (k.Fill) c.VGradient(x + 1, y + 1, w - 2, h - 2, k.FillTop, k.FillBottom);
  if (k.Top) c.HLine(x, y, w, k.Outer);
  if (k.Bottom) c.HLine(x, y + h - 1, w, k.Outer);
  if (k.Left) c.VLine(x, y, h, k.Outer);
  if (k.Right) c.VLine(x + w - 1, y, h, k.Outer);
  if (k.InnerLine) {
    if (k.Top) c.HLine(x + 1, y + 1, w - 2, k.Inner);
    if (k.Left) c.VLine(x + 1, y + 1, h - 2, k.Inner);
    if (k.Bottom) c.HLine(x + 1, y + h - 2, w - 2, k.InnerShade);
    if (k.Right) c.VLine(x + w - 2, y + 1, h - 2, k.InnerShade);
  }
  // Cut corners: transparent outside the rounding, outline on the diagonal.
  auto corner = [&](int cx, int cy, int dx, int dy, bool on) {
    if (!on || k.Radius <= 0) return;
    c.Set(cx, cy, kFuchsia);
    if (k.Radius >= 2) {
      c.Set(cx + dx, cy, kFuchsia);
      c.Set(cx, cy + dy, kFuchsia);
    }
    c.Set(cx + dx, cy + dy, k.Outer);
  };
  corner(x, y, 1, 1, k.Top && k.Left);
  corner(x + w - 1, y, -1, 1, k.Top && k.Right);
  corner(x, y + h - 1, 1, -1, k.Bottom && k.Left);
  corner(x + w - 1, y + h - 1, -1, -1, k.Bottom && k.Right);
}

void DrawArrow(Canvas& c, int x, int y, int w, int h, Arrow dir, Rgb color) {
  // A filled triangle of 4 rows centred in the cell.
  const int n = 4;
  for (int i = 0; i < n; ++i) {
    int len = 2 * (n - i) - 1;
    for (int j = 0; j < len; ++j) {
      int a = j - (len / 2), b = i;
      switch (dir) {
        case Arrow::Down: c.Set(x + w / 2 + a, y + (h - n) / 2 + b, color); break;
        case Arrow::Up: c.Set(x + w / 2 + a, y + (h - n) / 2 + n - 1 - b, color); break;
        case Arrow::Right: c.Set(x + (w - n) / 2 + b, y + h / 2 + a, color); break;
        case Arrow::Left: c.Set(x + (w - n) / 2 + n - 1 - b, y + h / 2 + a, color); break;
      }
    }
  }
}

void DrawGrip(Canvas& c, int x, int y, int w, int h, bool vertical, Rgb dark, Rgb light) {
  for (int i = 0; i < 3; ++i) {
    if (vertical) {
      int yy = y + h / 2 - 3 + i * 2;
      c.HLine(x + 1, yy, w - 2, dark);
      c.HLine(x + 2, yy + 1, w - 2, light);
    } else {
      int xx = x + w / 2 - 3 + i * 2;
      c.VLine(xx, y + 1, h - 2, dark);
      c.VLine(xx + 1, y + 2, h - 2, light);
    }
  }
}

namespace {

Rgb StateOutline(const Scheme& s, int state) {
  return state == 0 ? s.Border : state == 1 ? s.Accent : s.Accent2;
}

}  // namespace

void DrawCheckMark(Canvas& c, int x, int y, int w, int h, Rgb color) {
  // A tick: short stroke down-right, long stroke up-right, two pixels thick.
  int bx = x + w / 2 - 3, by = y + h / 2;
  for (int i = 0; i < 3; ++i) {
    c.Set(bx + i, by - 1 + i, color);
    c.Set(bx + i, by + i, color);
  }
  for (int i = 0; i < 5; ++i) {
    c.Set(bx + 3 + i, by + 1 - i, color);
    c.Set(bx + 3 + i, by + 2 - i, color);
  }
}

void DrawCheckBox(Canvas& c, int x, int y, int size, const Scheme& s, int state, int mark) {
  FrameLook k;
  k.Outer = StateOutline(s, state);
  k.Inner = state == 2 ? s.Face2 : s.Light;
  k.InnerShade = s.Face2;
  k.Radius = 1;
  k.Fill = true;
  k.FillTop = state == 1 ? s.Hot : s.EditBg;
  k.FillBottom = state == 2 ? s.Face2 : Mix(s.EditBg, s.Face2, 0.5);
  DrawFrameCell(c, x, y, size, size, k);
  if (mark == 1) DrawCheckMark(c, x, y, size, size, s.Accent2);
  if (mark == 2) c.Fill(x + 3, y + 3, size - 6, size - 6, Mix(s.Accent, s.EditBg, 0.45));
}

void DrawRadio(Canvas& c, int x, int y, int size, const Scheme& s, int state, int mark) {
  double r = size / 2.0 - 0.5, cx = x + size / 2.0 - 0.5, cy = y + size / 2.0 - 0.5;
  Rgb outline = StateOutline(s, state);
  Rgb fill = state == 1 ? s.Hot : state == 2 ? s.Face2 : s.EditBg;
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      double d = std::hypot(x + i - cx, y + j - cy);
      if (d <= r - 1.2) c.Set(x + i, y + j, Mix(fill, s.Face2, (j * 0.6) / size));
      else if (d <= r + 0.3) c.Set(x + i, y + j, outline);
      if (mark == 1 && d <= r * 0.42) c.Set(x + i, y + j, s.Accent2);
      if (mark == 2 && d <= r * 0.42) c.Set(x + i, y + j, Mix(s.Accent, s.EditBg, 0.45));
    }
}

void DrawCaptionButton(Canvas& c, int x, int y, int w, int h, const Scheme& s, int state,
                       CaptionIcon icon) {
  bool close = icon == CaptionIcon::Close;
  FrameLook k;
  k.Outer = Darker(s.Accent2, 0.25);
  k.Inner = Lighter(s.Accent, 0.45);
  k.InnerShade = s.Accent2;
  k.Radius = 2;
  k.Fill = true;
  Rgb base = close ? Rgb{196, 72, 54} : s.Accent;
  if (state == 0) {
    k.FillTop = Lighter(base, 0.25);
    k.FillBottom = close ? Darker(base, 0.15) : s.Accent2;
  } else if (state == 1) {
    k.FillTop = Lighter(base, 0.5);
    k.FillBottom = base;
  } else {
    k.FillTop = Darker(base, 0.3);
    k.FillBottom = Darker(base, 0.1);
  }
  DrawFrameCell(c, x, y, w, h, k);
  Rgb ink = s.TitleText;
  int cx = x + w / 2, cy = y + h / 2;
  switch (icon) {
    case CaptionIcon::Close:
      for (int i = -3; i <= 3; ++i) {
        c.Set(cx + i, cy + i, ink);
        c.Set(cx + i + 1, cy + i, ink);
        c.Set(cx + i, cy - i, ink);
        c.Set(cx + i + 1, cy - i, ink);
      }
      break;
    case CaptionIcon::Min:
      c.Fill(cx - 3, cy + 2, 7, 2, ink);
      break;
    case CaptionIcon::Max:
      c.Fill(cx - 4, cy - 4, 9, 2, ink);
      c.VLine(cx - 4, cy - 4, 8, ink);
      c.VLine(cx + 4, cy - 4, 8, ink);
      c.HLine(cx - 4, cy + 3, 9, ink);
      break;
    case CaptionIcon::Norm:
      c.Fill(cx - 2, cy - 5, 7, 2, ink);
      c.VLine(cx + 4, cy - 5, 6, ink);
      c.Fill(cx - 4, cy - 2, 7, 2, ink);
      c.VLine(cx - 4, cy - 2, 6, ink);
      c.VLine(cx + 2, cy - 2, 6, ink);
      c.HLine(cx - 4, cy + 3, 7, ink);
      break;
    case CaptionIcon::Help:
      c.Pattern(cx - 3, cy - 5,
                {".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#.."},
                "#", {ink});
      break;
    case CaptionIcon::None:
      break;
  }
}

void DrawSizeGrip(Canvas& c, int x, int y, int size, Rgb dark, Rgb light) {
  for (int j = 0; j < size; j += 3)
    for (int i = 0; i < size; i += 3)
      if (i + j >= size - 3) {
        c.Set(x + i, y + j, dark);
        c.Set(x + i + 1, y + j + 1, light);
      }
}

void DrawThumb(Canvas& c, int x, int y, int w, int h, const Scheme& s, int state, bool vertical) {
  FrameLook k;
  k.Outer = StateOutline(s, state);
  k.Inner = s.Light;
  k.InnerShade = s.Face2;
  k.Radius = 2;
  k.Fill = true;
  k.FillTop = state == 1 ? s.Hot : s.Face;
  k.FillBottom = state == 2 ? s.Accent : s.Face2;
  DrawFrameCell(c, x, y, w, h, k);
  DrawGrip(c, x + 2, y + 2, w - 4, h - 4, !vertical, Mix(s.Border, s.Face2, 0.3), s.Light);
}

}  // namespace skingen
