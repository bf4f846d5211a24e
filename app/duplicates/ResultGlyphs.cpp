#include "app/duplicates/ResultGlyphs.h"

#include "framework/Graphics.h"

namespace {

constexpr TColor kFolderYellow = 0x4CD8F8;  // RGB(248, 216, 76)
constexpr TColor kFolderEdge = 0x0C80B0;    // RGB(176, 128, 12)
constexpr TColor kDarkGray = 0x606060;

void Box(TCanvas* c, TColor fill, TColor edge, int x1, int y1, int x2, int y2) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(fill);
  c->Pen()->SetColor(edge);
  c->Pen()->SetWidth(1);
  c->Rectangle(x1, y1, x2, y2);
}

void Line(TCanvas* c, TColor color, int width, int x1, int y1, int x2, int y2) {
  c->Pen()->SetColor(color);
  c->Pen()->SetWidth(width);
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

void Folder(TCanvas* c) {
  Box(c, kFolderYellow, kFolderEdge, 1, 3, 7, 6);
  Box(c, kFolderYellow, kFolderEdge, 1, 5, 15, 14);
}

void Page(TCanvas* c) {
  c->Brush()->SetColor(clWhite);
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(1);
  c->Polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}});
  for (int y = 6; y <= 12; y += 2) Line(c, clGray, 1, 5, y, 11, y);
}

}  // namespace

void DrawResultGlyph(TBitmap* glyph, TResultGlyph kind) {
  glyph->SetSize(16, 16);
  TCanvas* c = glyph->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect{0, 0, 16, 16});
  switch (kind) {
    case TResultGlyph::Load:
      Folder(c);
      Line(c, clGreen, 2, 8, 12, 8, 3);
      Line(c, clGreen, 2, 5, 6, 8, 3);
      Line(c, clGreen, 2, 11, 6, 8, 3);
      break;
    case TResultGlyph::Save:
      Box(c, clNavy, clBlack, 1, 1, 15, 15);
      Box(c, clWhite, clWhite, 4, 2, 12, 7);
      Box(c, clSilver, clSilver, 5, 10, 11, 15);
      break;
    case TResultGlyph::Open:
      Page(c);
      break;
    case TResultGlyph::OpenFolder:
      Folder(c);
      break;
    case TResultGlyph::DeleteFromList:
      Page(c);
      Line(c, clRed, 2, 4, 5, 12, 13);
      Line(c, clRed, 2, 12, 5, 4, 13);
      break;
    case TResultGlyph::DeleteToRecycle:
      Box(c, clSilver, kDarkGray, 3, 4, 13, 15);
      Box(c, clSilver, kDarkGray, 2, 2, 14, 4);
      for (int x = 5; x <= 10; x += 3) Line(c, kDarkGray, 1, x, 6, x, 13);
      break;
  }
  glyph->SetTransparentColor(clFuchsia);
}
