#include "skin/controls/SkinnedControl.h"

#include "skin/engine/BoundLabel.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinUtils.h"

bool IsForManager(const TMessage& message, const TsCommonData* skinData) {
  return skinData &&
         reinterpret_cast<LPARAM>(skinData->GetSkinManager()) == message.LParam;
}

TacPaintScope::TacPaintScope(HWND wnd, HDC given, bool beginPaint) : wnd_(wnd), dc_(given) {
  if (beginPaint && wnd_) {
    HDC painted = ::BeginPaint(wnd_, &ps_);
    begun_ = true;
    // The update region is validated either way; the whole client area is
    // drawn from the cache, so the window's own DC serves better than the
    // clipped paint DC.
    (void)painted;
  }
  if (!dc_ && wnd_) {
    ownDC_ = UniqueWindowDC::Client(wnd_);
    dc_ = ownDC_.get();
  }
  if (dc_) saved_ = ::SaveDC(dc_);
}

TacPaintScope::~TacPaintScope() {
  if (dc_ && saved_) ::RestoreDC(dc_, saved_);
  ownDC_.reset();
  if (begun_) ::EndPaint(wnd_, &ps_);
}

void PaintContainerCache(TWinControl* control, TsCommonData* sd, HDC dc, bool stale,
                         bool sendUpdated) {
  const TRect all{0, 0, control->Width(), control->Height()};
  CopyWinControlCache(control, sd, TRect{0, 0, 0, 0}, all, dc, true, 0, 0);
  PaintControls(dc, control, stale && sd->DependsOnParentBg(), TPoint{0, 0});
  if (sendUpdated) NotifyChildrenEndUpdate(control);
}

void CopyCacheToDC(TsCommonData* sd, HDC dc) {
  if (!sd || !sd->CacheBmp || !dc) return;
  TBitmap* b = sd->CacheBmp.get();
  if (b->Width() <= 0 || b->Height() <= 0) return;
  ::BitBlt(dc, 0, 0, b->Width(), b->Height(), b->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void MarkStaleByParent(TControl* control, TsCommonData* sd) {
  TWinControl* parent = control->Parent();
  sd->BGChanged = sd->BGChanged || sd->HalfVisible ||
                  (parent && QuerySkinCmd(parent, AC_ISHALFVISIBLE));
  if (!parent) {
    sd->HalfVisible = false;
    return;
  }
  const RECT pc = parent->ClientRect();
  const TRect bounds{control->Left(), control->Top(), control->Left() + control->Width(),
                     control->Top() + control->Height()};
  sd->HalfVisible = !RectInRect(TRect{pc.left, pc.top, pc.right, pc.bottom}, bounds);
}

TacBmpView MasterView(const TsSkinManager* manager) {
  if (!manager || !manager->MasterBitmap) return TacBmpView();
  return TacBmpView(manager->MasterBitmap.get());
}

void FollowBoundLabel(TsBoundLabel* boundLabel, TControl* control, UINT msg) {
  TLabel* label = boundLabel ? boundLabel->Label() : nullptr;
  if (!label) return;
  switch (msg) {
    case CM_VISIBLECHANGED:
      label->SetVisible(control->Visible());
      break;
    case CM_ENABLEDCHANGED:
      label->SetEnabled(control->Enabled());
      break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      break;
    default:
      return;
  }
  boundLabel->AlignLabel();
}
