// Caption buttons, whoever owns the caption (a form's provider, a dialog's
// adapter, the menu bar of an MDI main form): the button record, the
// images of a skin's button set and the one each button shows in the
// window's state, their row from the right edge of the caption, and their
// drawing into the window's cache image.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Graphics.h"

class TsSkinManager;

// One caption button: 0 normal, 1 hot, 2 pressed; its image; its place in
// window coordinates, written by each caption paint and read by hit tests.
struct TsCaptionButton {
  int State = 0;
  int ImageIndex = -1;
  TRect R{0, 0, 0, 0};
};

// Mask indexes of the four caption buttons.
struct TacCaptionImages {
  int Min = -1, Max = -1, Close = -1, Help = -1;
};
// From "GLOBALINFO" (the small set when SmallSet and the skin has it), or
// from the frame's own section when "GLOBALINFO" has no close button.
TacCaptionImages CaptionButtonImages(TsSkinManager* manager, int skinIndex,
                                     const std::wstring& section, bool smallSet);

// "BICONNORM" of "GLOBALINFO", else of the frame's own section; -1 when
// the skin has neither.
int RestoreButtonImage(TsSkinManager* manager, int skinIndex, const std::wstring& section);

// What the maximize and minimize buttons show: the restore image while a
// press would restore the window, their own otherwise. A skin without a
// restore image leaves the button blank rather than showing a glyph that
// promises the wrong command.
int MaxButtonShows(int maxImage, int restoreImage, bool zoomed);
int MinButtonShows(int minImage, int restoreImage, bool iconic);

// Cell size of a button's image; 21 when the image is not valid.
int CaptionButtonCellWidth(TsSkinManager* manager, int image);
int CaptionButtonCellHeight(TsSkinManager* manager, int image);

// Lays buttons out right to left from Right, each vertically centred in the
// caption band (two pixels lower when shorter than 16).
class TacCaptionRow {
 public:
  TacCaptionRow(int right, int captionHeight, int borderHeight)
      : x_(right), captionHeight_(captionHeight), borderHeight_(borderHeight) {}
  void Place(TRect& r, int width, int height);

 private:
  int x_;
  int captionHeight_;
  int borderHeight_;
};

// Draws the cell of the button's State of Image at the button's place, in
// the half-transparent look when Dim; nothing when Image is not valid.
void DrawCaptionButton(TBitmap* cache, TsSkinManager* manager, const TsCaptionButton& button,
                       int image, bool dim);
