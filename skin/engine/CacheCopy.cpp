#include "skin/engine/CacheCopy.h"

#include <cstring>
#include <vector>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/Corners.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"

namespace {

bool Meets(const TRect& b, const TRect& r) {
  return b.left < r.right && b.top < r.bottom && b.right > r.left && b.bottom > r.top;
}

// BitBlt of R's size from the cache, limited to what the cache holds.
void BlitCache(HDC dc, const TRect& r, TBitmap& cache, const TRect& srcPos) {
  const int w = MinOf(WidthOf(r), cache.Width() - srcPos.left);
  const int h = MinOf(HeightOf(r), cache.Height() - srcPos.top);
  if (w <= 0 || h <= 0 || srcPos.left < 0 || srcPos.top < 0) return;
  ::BitBlt(dc, r.left, r.top, w, h, cache.Canvas()->Handle(), srcPos.left, srcPos.top, SRCCOPY);
}

// Pixels of the cache under a child, clipped to both bitmaps.
void CopyClipped(const TacBmpView& dst, const TacBmpView& src, TacCopyArea a) {
  if (dst.Empty() || src.Empty() || dst.BytesPerPixel != src.BytesPerPixel) return;
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height)) return;
  for (int row = 0; row < a.H; ++row)
    std::memcpy(dst.Pixel(a.DX, a.DY + row), src.Pixel(a.SX, a.SY + row),
                static_cast<size_t>(a.W) * dst.BytesPerPixel);
}

}  // namespace

void CopyWinControlCache(TWinControl* control, TsCommonData* sd, const TRect& srcPos,
                         const TRect& r, HDC dc, bool doUpdateCorners, int offsetX, int offsetY) {
  if (!control || !sd || !dc || !sd->CacheBmp) return;
  if (doUpdateCorners) UpdateCorners(sd, 0);
  SaveDCScope saved(dc);
  ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  const bool designing = control->HasState(csDesigning);
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    const bool graphic = dynamic_cast<TWinControl*>(child) == nullptr;
    if (graphic && SkipGraphicCtrlClip) continue;
    if (!child->Visible()) continue;
    const RECT b = child->BoundsRect();
    if (!Meets(b, r)) continue;
    if (graphic || (child->ControlStyle() & csOpaque) || designing)
      ::ExcludeClipRect(dc, b.left + offsetX, b.top + offsetY, b.right + offsetX,
                        b.bottom + offsetY);
  }
  BlitCache(dc, r, *sd->CacheBmp, srcPos);
}

void CopyHwndCache(HWND wnd, TsCommonData* sd, const TRect& srcPos, const TRect& r, HDC dc,
                   bool doUpdateCorners, int offsetX, int offsetY) {
  if (!wnd || !sd || !dc || !sd->CacheBmp) return;
  if (doUpdateCorners) UpdateCorners(sd, 0);
  SaveDCScope saved(dc);
  ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  RECT parentRect;
  ::GetWindowRect(wnd, &parentRect);
  for (HWND child = ::GetTopWindow(wnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    // The child's own visibility: the copy may go to an off-screen image of
    // a window that is itself hidden.
    if (!(::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT cr;
    ::GetWindowRect(child, &cr);
    const int l = cr.left - parentRect.left - offsetX, t = cr.top - parentRect.top - offsetY;
    const int w = cr.right - cr.left, h = cr.bottom - cr.top;
    const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & 7) == 7) {
      // A group box shows the cache through its inside: only its frame and
      // caption strip are its own.
      int bl = 0, br = 0, bb = 0;
      if (DefaultManager) {
        TsSkinManager* m = DefaultManager;
        int gi = m->GetSkinIndex(L"GROUPBOX");
        int mi = m->GetMaskIndex(gi, L"GROUPBOX", L"BORDERSMASK");
        bl = m->MaskBorderLeft(mi);
        br = m->MaskBorderRight(mi);
        bb = m->MaskBorderBottom(mi);
      }
      const int caption = static_cast<int>(SendSkinCmd(child, AC_GETCAPTIONHEIGHT, 0));
      ::ExcludeClipRect(dc, l, t, l + w, t + caption);
      ::ExcludeClipRect(dc, l, t + caption, l + bl, t + h);
      ::ExcludeClipRect(dc, l + w - br, t + caption, l + w, t + h);
      ::ExcludeClipRect(dc, l, t + h - bb, l + w, t + h);
      continue;
    }
    ::ExcludeClipRect(dc, l, t, l + w, t + h);
  }
  BlitCache(dc, r, *sd->CacheBmp, srcPos);
}

bool GraphicCtrlVisible(const TControl* c, HDC dc) {
  if (!c || c->HasState(csDestroying)) return false;
  if (!c->Visible() && !c->HasState(csDesigning)) return false;
  if (c->Width() <= 0 || c->Height() <= 0) return false;
  const RECT b = c->BoundsRect();
  return ::RectVisible(dc, &b) != FALSE;
}

void PaintControls(HDC dc, TWinControl* owner, int /*unused*/, const TPoint& offset) {
  if (!dc || !owner) return;
  if (!owner->Visible() && !owner->HasState(csDesigning)) return;
  if (owner->ControlCount() == 0) return;
  RECT clip;
  if (::GetClipBox(dc, &clip) == NULLREGION || clip.right <= clip.left ||
      clip.bottom <= clip.top) {
    SendSkinCmdToCtrl(owner, AC_SETHALFVISIBLE, 0);
    return;
  }
  const TCacheInfo ci = RequestCacheInfo(owner);
  if (!ci.Ready || !ci.Bmp) return;
  auto* form = dynamic_cast<TCustomForm*>(owner);
  const bool mdiParent = form && form->FormStyle() == fsMDIForm;

  std::unique_ptr<TacScratchBmp> off;
  HDC offDC = nullptr;
  std::vector<TControl*> painted;
  const TacBmpView cache(*ci.Bmp);
  for (int i = 0; i < owner->ControlCount(); ++i) {
    TControl* child = owner->Controls(i);
    if (dynamic_cast<TWinControl*>(child)) continue;
    if (!GraphicCtrlVisible(child, dc)) continue;
    if (mdiParent && child->Align() != alNone) {
      SendSkinCmdToCtrl(owner, AC_SETPAINTINGCHILD, reinterpret_cast<LPARAM>(child));
      child->Repaint();
      SendSkinCmdToCtrl(owner, AC_SETPAINTINGCHILD, 0);
      continue;
    }
    if (!off) {
      off = std::make_unique<TacScratchBmp>(owner->Width(), owner->Height());
      offDC = off->Bmp().Canvas()->Handle();
      // The background under every shown graphic child: its colour when it
      // paints opaquely, else the owner's cached pixels.
      for (int k = 0; k < owner->ControlCount(); ++k) {
        TControl* c = owner->Controls(k);
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || c->HasState(csDestroying)) continue;
        const RECT b = c->BoundsRect();
        if (c->ControlStyle() & csOpaque) {
          FillBmpRect(off->View(), b, c->Color());
          continue;
        }
        CopyClipped(off->View(), cache,
                    TacCopyArea{static_cast<int>(b.left), static_cast<int>(b.top),
                                static_cast<int>(b.left) + ci.X, static_cast<int>(b.top) + ci.Y,
                                static_cast<int>(b.right - b.left),
                                static_cast<int>(b.bottom - b.top)});
      }
    }
    const RECT b = child->BoundsRect();
    RECT shown;
    if (!::IntersectRect(&shown, &b, &clip) || !::EqualRect(&shown, &b))
      SendSkinCmdToCtrl(child, AC_SETHALFVISIBLE, 0);
    {
      SaveDCScope state(offDC);
      ::SetViewportOrgEx(offDC, b.left, b.top, nullptr);
      ::IntersectClipRect(offDC, 0, 0, child->Width(), child->Height());
      child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(offDC), 0);
    }
    painted.push_back(child);
  }
  if (!off) return;
  ::GdiFlush();
  for (TControl* child : painted) {
    const RECT b = child->BoundsRect();
    if (off->View().Contains(b.left, b.top) &&
        IsFuchsiaPixel(off->View().Pixel(b.left, b.top)))
      continue;
    ::BitBlt(dc, b.left + offset.x, b.top + offset.y, b.right - b.left, b.bottom - b.top, offDC,
             b.left, b.top, SRCCOPY);
  }
}
