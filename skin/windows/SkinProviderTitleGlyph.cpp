// TsSkinProvider: the picture of a user title button, drawn into the frame
// cache over the button's skin image.
#include "skin/windows/SkinProvider.h"

void TsSkinProvider::DrawTitleGlyph(const TsTitleButton& button) {
  TBitmap* glyph = button.Glyph();
  if (!glyph || glyph->Empty() || !SkinData->CacheBmp) return;
  // A 24-bit copy: palette and 32-bit glyphs blit alike, and the bottom-left
  // pixel read from it is the colour that TransparentBlt keys out.
  TBitmap copy;
  copy.Assign(glyph);
  copy.SetPixelFormat(pf24bit);
  const int gw = copy.Width();
  const int gh = copy.Height();
  const TRect& r = button.R;
  // A pressed button's picture sinks by one pixel.
  const int shift = button.State == 2 ? 1 : 0;
  const int x = r.left + (r.right - r.left - gw) / 2 + shift;
  const int y = r.top + (CaptionButtonHeight() - gh) / 2 + shift;
  HDC src = copy.Canvas()->Handle();
  const COLORREF key = ::GetPixel(src, 0, gh - 1);
  ::TransparentBlt(SkinData->CacheBmp->Canvas()->Handle(), x, y, gw, gh, src, 0, 0, gw, gh, key);
}
