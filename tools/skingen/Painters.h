// Drawing of skin image cells: nine-part frames and small glyphs. Every cell
// starts transparent (fuchsia); painters only set the pixels they own.
#pragma once

#include "Canvas.h"
#include "Schemes.h"

namespace skingen {

// One state of a nine-part frame.
struct FrameLook {
  bool Visible = true;      // false: the whole cell stays transparent
  Rgb Outer;                // outline
  Rgb Inner;                // line just inside the outline (top and left)
  Rgb InnerShade;           // the same line at bottom and right
  bool InnerLine = true;
  int Radius = 1;           // 0 square, 1 or 2 cut corners
  bool Top = true, Bottom = true, Left = true, Right = true;
  bool Fill = false;        // paint the centre too
  Rgb FillTop, FillBottom;  // vertical gradient of the centre
};

void DrawFrameCell(Canvas& c, int x, int y, int w, int h, const FrameLook& look);

// Glyph shapes.
enum class Arrow { Up, Down, Left, Right };
void DrawArrow(Canvas& c, int x, int y, int w, int h, Arrow dir, Rgb color);
void DrawGrip(Canvas& c, int x, int y, int w, int h, bool vertical, Rgb dark, Rgb light);
// Check and radio boxes: state 0 normal, 1 hot, 2 pressed.
void DrawCheckBox(Canvas& c, int x, int y, int size, const Scheme& s, int state, int mark);
void DrawRadio(Canvas& c, int x, int y, int size, const Scheme& s, int state, int mark);
void DrawCheckMark(Canvas& c, int x, int y, int w, int h, Rgb color);
// Caption buttons: background of a state, then the icon.
enum class CaptionIcon { None, Close, Min, Max, Norm, Help };
void DrawCaptionButton(Canvas& c, int x, int y, int w, int h, const Scheme& s, int state,
                       CaptionIcon icon);
void DrawSizeGrip(Canvas& c, int x, int y, int size, Rgb dark, Rgb light);
void DrawThumb(Canvas& c, int x, int y, int w, int h, const Scheme& s, int state, bool vertical);

}  // namespace skingen
