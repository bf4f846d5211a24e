// Text in a section's colours (with its one-pixel contour), cut captions,
// three-dimensional frames and soft rounded shadows. The dotted focus frame
// is FocusFrame.h's.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Graphics.h"

class TsCommonData;
class TsSkinManager;

// Draws a control's text with its font and skin colours, clipped to R.
// Without DT_WORDBREAK and DT_END_ELLIPSIS the text is placed on one line
// and R comes back as the text's own rectangle grown by 1 on every side.
// Returns 0.
int DrawSkinText(TCanvas* canvas, const std::wstring& text, bool enabled, TRect& r, UINT flags,
                 TsCommonData* skinData, bool hot);
// The same for a section index with the canvas's font and no clipping;
// nothing is drawn (and R stays) unless the index is valid.
int DrawSkinTextEx(TCanvas* canvas, const std::wstring& text, bool enabled, TRect& r, UINT flags,
                   int skinIndex, bool hot, TsSkinManager* skinManager);
// Text shortened from its end to fit MaxWidth pixels with "..." appended.
std::wstring CutText(TCanvas* canvas, const std::wstring& text, int maxWidth);
// The text's size in the font on a screen device context; (0, 0) on failure.
void GetFontTextExtent(TFont* font, const std::wstring& text, TSize& size);
// Width rings of a three-dimensional frame; R comes back shrunk by the
// rings and Width as 0.
void Frame3DOnDC(HDC dc, TRect& r, TColor topLeftColor, TColor bottomRightColor, int& width);
// A soft rounded shadow inside R of Dst: Blur rings fading toward Color.
void PaintShadow(TBitmap* dst, const TRect& r, int transparency, TColor color, int blur,
                 int radius);
