#include "skin/windows/CaptionButtons.h"

#include "skin/engine/BmpView.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"

TacCaptionImages CaptionButtonImages(TsSkinManager* m, int skinIndex, const std::wstring& section,
                                     bool smallSet) {
  TacCaptionImages out;
  if (!m) return out;
  const int global = m->GetSkinIndex(L"GLOBALINFO");
  auto g = [&](const wchar_t* name) { return m->GetMaskIndex(global, L"GLOBALINFO", name); };
  auto big = [&] { out = {g(L"BICONMIN"), g(L"BICONMAX"), g(L"BICONCLOSE"), g(L"BICONHELP")}; };
  if (!m->IsValidSkinIndex(global) || g(L"BICONCLOSE") < 0) {
    auto own = [&](const wchar_t* name) { return m->GetMaskIndex(skinIndex, section, name); };
    return {own(L"BICONMIN"), own(L"BICONMAX"), own(L"BICONCLOSE"), own(L"BICONHELP")};
  }
  if (smallSet) {
    out = {g(L"SICONMIN"), g(L"SICONMAX"), g(L"SICONCLOSE"), g(L"SICONHELP")};
    if (out.Help < 0) out.Help = g(L"BICONHELP");
  } else {
    big();
  }
  if (!m->IsValidImgIndex(out.Close)) big();
  return out;
}

int RestoreButtonImage(TsSkinManager* m, int skinIndex, const std::wstring& section) {
  if (!m) return -1;
  const int i = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"BICONNORM");
  return m->IsValidImgIndex(i) ? i : m->GetMaskIndex(skinIndex, section, L"BICONNORM");
}

int MaxButtonShows(int maxImage, int restoreImage, bool zoomed) {
  return zoomed ? restoreImage : maxImage;
}

int MinButtonShows(int minImage, int restoreImage, bool iconic) {
  return iconic ? restoreImage : minImage;
}

int CaptionButtonCellWidth(TsSkinManager* m, int image) {
  return m && m->IsValidImgIndex(image) ? MaskCellWidth(m->ma[image]) : 21;
}

int CaptionButtonCellHeight(TsSkinManager* m, int image) {
  return m && m->IsValidImgIndex(image) ? MaskCellHeight(m->ma[image]) : 21;
}

void TacCaptionRow::Place(TRect& r, int width, int height) {
  int top = (captionHeight_ - height + borderHeight_) / 2;
  if (height < 16) top += 2;
  r = TRect{x_ - width, top, x_, top + height};
  x_ = r.left;
}

void DrawCaptionButton(TBitmap* cache, TsSkinManager* m, const TsCaptionButton& button, int image,
                       bool dim) {
  if (!cache || !m || !m->IsValidImgIndex(image)) return;
  const TacBmpView master = m->MasterBitmap ? TacBmpView(*m->MasterBitmap) : TacBmpView();
  DrawSkinGlyph(TacBmpView(*cache), TPoint{button.R.left, button.R.top}, button.State,
                dim ? 2 : 1, m->ma[image], master);
}
