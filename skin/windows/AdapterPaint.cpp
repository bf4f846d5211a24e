#include "skin/windows/AdapterPaint.h"

#include "skin/engine/BmpView.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/FastPixels.h"

TPoint MaskCellSize(TsSkinManager* manager, int maskIndex) {
  if (!manager || !manager->IsValidImgIndex(maskIndex)) return TPoint{0, 0};
  TsMaskData& md = manager->ma[maskIndex];
  if (md.Bmp) return TPoint{md.Bmp->Width() / 3, md.Bmp->Height() / 2};
  if (md.ImageCount == 0) md.ImageCount = 1;
  return TPoint{(md.R.right - md.R.left) / md.ImageCount,
                (md.R.bottom - md.R.top) / (md.MaskType + 1)};
}

void DrawMaskCell(TBitmap* dst, TsSkinManager* manager, int maskIndex, TPoint p, int state) {
  if (!dst || !manager || !manager->IsValidImgIndex(maskIndex)) return;
  TacBmpView master = manager->MasterBitmap ? TacBmpView(*manager->MasterBitmap) : TacBmpView();
  DrawSkinGlyph(TacBmpView(dst), p, state, 1, manager->ma[maskIndex], master);
}

void DrawMaskCellCentred(TBitmap* dst, TsSkinManager* manager, int maskIndex, const TRect& room,
                         int state) {
  const TPoint cell = MaskCellSize(manager, maskIndex);
  if (cell.x <= 0 || cell.y <= 0) return;
  DrawMaskCell(dst, manager, maskIndex,
               TPoint{room.left + (room.right - room.left - cell.x) / 2,
                      room.top + (room.bottom - room.top - cell.y) / 2},
               state);
}

void UseWindowFont(TCanvas* canvas, HWND wnd) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(wnd, WM_GETFONT, 0, 0));
  if (canvas && font) canvas->Font()->SetHandle(font);
}

void FadeIntoParent(TBitmap* cache, const TCacheInfo& parent, TPoint pos) {
  if (!cache || cache->Empty() || !parent.Ready || !parent.Bmp) return;
  const TRect src{pos.x, pos.y, pos.x + cache->Width() - 1, pos.y + cache->Height() - 1};
  BlendTransBmp(TacBmpView(cache), 0, 0, TacBmpView(parent.Bmp), src, 0.4, 0xFF000000);
}

void TrackHotByCursor(HWND wnd) {
  if (!DefaultManager || DefaultManager->HasState(csDesigning) || !::IsWindowEnabled(wnd)) return;
  POINT p{};
  RECT r{};
  ::GetCursorPos(&p);
  ::GetWindowRect(wnd, &r);
  if (::PtInRect(&r, p)) {
    if (DefaultManager->ActiveControl != wnd) DefaultManager->SetActiveControl(wnd);
  } else if (DefaultManager->ActiveControl == wnd) {
    DefaultManager->SetActiveControl(nullptr);
  }
}
