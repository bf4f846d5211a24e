#include "skin/controls/UpDown.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/engine/CommonData.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"
#include "skin/controls/PageControl.h"
#include "skin/controls/SkinnedControl.h"

namespace {

bool ManagerActive() {
  return DefaultManager && DefaultManager->SkinData && DefaultManager->SkinData->Active &&
         DefaultManager->Active();
}

// The kept indexes of one scroll-button section.
struct ButtonIndexes {
  int skin, border, texture, hotTexture, glyph;
  const wchar_t* section;
};

ButtonIndexes CachedButton(const TsCachedIndexes& c, int button) {
  switch (button) {
    case 0:
      return {c.ScrollBtnTop, c.ScrollBtnTopMask, c.ScrollBtnTopTexture,
              c.ScrollBtnTopHotTexture, c.ScrollBtnTopGlyph, L"SCROLLBTNTOP"};
    case 1:
      return {c.ScrollBtnLeft, c.ScrollBtnLeftMask, c.ScrollBtnLeftTexture,
              c.ScrollBtnLeftHotTexture, c.ScrollBtnLeftGlyph, L"SCROLLBTNLEFT"};
    case 2:
      return {c.ScrollBtnBottom, c.ScrollBtnBottomMask, c.ScrollBtnBottomTexture,
              c.ScrollBtnBottomHotTexture, c.ScrollBtnBottomGlyph, L"SCROLLBTNBOTTOM"};
    default:
      return {c.ScrollBtnRight, c.ScrollBtnRightMask, c.ScrollBtnRightTexture,
              c.ScrollBtnRightHotTexture, c.ScrollBtnRightGlyph, L"SCROLLBTNRIGHT"};
  }
}

}  // namespace

TsUpDown::TsUpDown(TComponent* AOwner) : TCustomUpDown(AOwner) {}

void TsUpDown::SetShowInaccessibility(bool value) {
  if (showInaccessibility_ == value) return;
  showInaccessibility_ = value;
  Repaint();
}

void TsUpDown::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  Repaint();
}

void TsUpDown::SetButtonSkin(const std::wstring& value) {
  if (buttonSkin_ == value) return;
  buttonSkin_ = value;
  Invalidate();
}

void TsUpDown::SetButtonState(uint8_t value) {
  if (buttonState_ == value) return;
  buttonState_ = value;
  Repaint();
}

// Top and right buttons are limited by Max, left and bottom ones by Min.
bool TsUpDown::AtLimit(int button) const {
  return Position() == (button == 0 || button == 3 ? max_ : min_);
}

bool TsUpDown::FirstButtonAtLimit() const {
  return showInaccessibility_ && AtLimit(orientation_ == udVertical ? 0 : 1);
}

bool TsUpDown::SecondButtonAtLimit() const {
  return showInaccessibility_ && AtLimit(orientation_ == udVertical ? 2 : 3);
}

bool TsUpDown::SkinCanPaint() const {
  if (!ManagerActive()) return false;
  const TsCachedIndexes& c = DefaultManager->CachedIndexes;
  if (orientation_ == udVertical) return c.ScrollBtnTop >= 0 && c.ScrollBtnBottom >= 0;
  return c.ScrollBtnLeft >= 0 && c.ScrollBtnRight >= 0;
}

void TsUpDown::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD) {
    switch (SkinCmdOf(m)) {
      case AC_REMOVESKIN:
      case AC_REFRESH:
        if (reinterpret_cast<LPARAM>(DefaultManager) == m.LParam) {
          Repaint();
          return;
        }
        break;
      case AC_CTRLHANDLED:
        m.LParam = 1;
        m.Result = 1;
        return;
    }
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      if (ManagerActive()) {
        m.Result = 1;
        return;
      }
      break;
    case WM_PRINT:
      m.Result = ::SendMessageW(Handle(), WM_PAINT, m.WParam, m.LParam);
      return;
    case WM_PAINT:
      if (SkinCanPaint()) {
        WMPaint(m);
        return;
      }
      break;
  }
  // The new position is shown before OnClick hears of it.
  if ((m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) && !HasState(csDesigning)) Repaint();
  TCustomUpDown::WndProc(m);
  if (HasState(csDesigning)) return;
  switch (m.Msg) {
    case WM_NCHITTEST:
      WMNCHitTest();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
      WMLButtonDown();
      if (m.Msg == WM_LBUTTONDOWN) m.Result = 1;
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(m);
      break;
    case CM_MOUSELEAVE:
      mouseDown_ = false;
      SetButtonState(0);
      break;
  }
}

void TsUpDown::WMNCHitTest() {
  if (!HandleAllocated()) return;
  POINT p;
  ::GetCursorPos(&p);
  ::ScreenToClient(WindowHandle(), &p);
  const bool vertical = orientation_ == udVertical;
  const bool first = vertical ? p.y < Height() / 2 : p.x < Width() / 2;
  if (first) {
    if (FirstButtonAtLimit()) {
      buttonState_ = 0;
      return;
    }
    if (buttonState_ != 1 && !mouseDown_) SetButtonState(1);
  } else {
    if (SecondButtonAtLimit()) {
      buttonState_ = 0;
      return;
    }
    if (buttonState_ != 2 && !mouseDown_) SetButtonState(2);
  }
}

void TsUpDown::WMLButtonDown() {
  mouseDown_ = true;
  if (buttonState_ == 1 && Position() < max_) SetButtonState(3);
  else if (buttonState_ == 2 && Position() > min_) SetButtonState(4);
}

void TsUpDown::WMLButtonUp(TMessage& m) {
  if (!mouseDown_) return;
  mouseDown_ = false;
  m.Result = 1;
  if (buttonState_ == 3) {
    if (!(showInaccessibility_ && Position() == max_)) SetButtonState(1);
  } else if (!(showInaccessibility_ && Position() == min_)) {
    SetButtonState(2);
  }
}

void TsUpDown::WMPaint(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  const bool begun = dc == nullptr;
  if (begun) dc = ::BeginPaint(Handle(), &ps);
  const int saved = ::SaveDC(dc);
  const bool vertical = orientation_ == udVertical;
  auto bmp = CreateBmp24(vertical ? Width() : Width() / 2, vertical ? Height() / 2 : Height());
  PaintButtons(bmp.get(), vertical ? 0 : 1);
  ::BitBlt(dc, 0, 0, bmp->Width(), bmp->Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  const int firstSize = vertical ? bmp->Height() : bmp->Width();
  PaintButtons(bmp.get(), vertical ? 2 : 3);
  ::BitBlt(dc, vertical ? 0 : firstSize, vertical ? firstSize : 0, bmp->Width(), bmp->Height(),
           bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  ::RestoreDC(dc, saved);
  if (begun) ::EndPaint(Handle(), &ps);
  m.Result = 0;
}

TsSkinManager* TsUpDown::PaintManager() const {
  if (auto* pages = dynamic_cast<TsPageControl*>(Parent()))
    if (TsSkinManager* m = pages->SkinData->GetSkinManager()) return m;
  return DefaultManager;
}

void TsUpDown::PaintButtons(TBitmap* bmp, int button) {
  TsSkinManager* manager = PaintManager();
  if (!manager || !bmp) return;
  TCacheInfo ci = HandleAllocated() ? GetParentCacheHwnd(WindowHandle()) : TCacheInfo{};
  ButtonIndexes b = CachedButton(manager->CachedIndexes, button);
  std::wstring section = b.section;
  if (!buttonSkin_.empty()) {
    const int index = manager->GetSkinIndex(buttonSkin_);
    if (manager->IsValidSkinIndex(index)) {
      section = buttonSkin_;
      b.skin = index;
      b.border = manager->GetMaskIndex(index, section, L"BORDERSMASK");
      b.texture = manager->GetTextureIndex(index, section, L"PATTERN");
      b.hotTexture = manager->GetTextureIndex(index, section, L"HOTPATTERN");
    }
  }
  const bool first = button < 2;
  int state = 0;
  if (first) state = buttonState_ == 1 ? 1 : buttonState_ == 3 ? 2 : 0;
  else state = buttonState_ == 2 ? 1 : buttonState_ == 4 ? 2 : 0;
  int x = 0, y = 0;
  if (!first) {
    if (button == 2) {
      y = bmp->Height();
      bmp->SetSize(bmp->Width(), Height() - y);
    } else {
      x = bmp->Width();
      bmp->SetSize(Width() - x, bmp->Height());
    }
  }
  const int w = bmp->Width(), h = bmp->Height();
  if (w <= 0 || h <= 0) return;
  const TPoint offset{Left() + x, Top() + y};
  PaintBGWithIndexes(b.skin, b.texture, b.hotTexture, section, ci, state, TRect{0, 0, w, h}, offset,
                     bmp, manager);
  TCacheInfo moved = ci;
  moved.X += offset.x;
  moved.Y += offset.y;
  if (manager->IsValidImgIndex(b.border))
    DrawMaskRect(TacBmpView(bmp), TRect{0, 0, w, h}, true, moved, manager->ma[b.border],
                 MasterView(manager), state, true);
  if (!manager->IsValidImgIndex(b.glyph)) return;
  const TsMaskData& glyph = manager->ma[b.glyph];
  int cw, ch;
  if (glyph.Bmp && glyph.Bmp->Height() / 2 < h) {
    cw = glyph.Bmp->Width() / 3;
    ch = glyph.Bmp->Height() / 2;
  } else {
    cw = glyph.ImageCount > 0 ? WidthOf(glyph.R) / glyph.ImageCount : 0;
    ch = HeightOf(glyph.R) / (glyph.MaskType + 1);
  }
  const TPoint p{(w - cw) / 2, (h - ch) / 2};
  // An arrow that does not fit is left out.
  if (p.x < 0 || p.y < 0) return;
  DrawSkinGlyph(TacBmpView(bmp), p, state, 1, glyph, MasterView(manager));
  if (!Enabled() || (showInaccessibility_ && AtLimit(button))) {
    if (ci.Ready)
      ApplyDisabledKind(TacBmpView(bmp), disabledKind_, Parent(), ci, offset);
    else
      PaintShadow(bmp, TRect{0, 0, w + 1, h + 1}, 60, Parent() ? Parent()->Color() : clBtnFace,
                  0, 0);
  }
}
