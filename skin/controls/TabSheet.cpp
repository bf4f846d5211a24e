#include "skin/controls/TabSheet.h"

#include "skin/controls/PageControl.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinMessages.h"

TsTabSheet::TsTabSheet(TComponent* AOwner)
    : TTabSheet(AOwner), SkinData(std::make_unique<TsTabSkinData>()) {}

TsTabSheet::~TsTabSheet() { SkinData.reset(); }

void TsTabSheet::CreateParams(TCreateParams& params) {
  TTabSheet::CreateParams(params);
  // The sheet copies its image from the page control; a resize needs no
  // full repaint of its own.
  params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TsTabSheet::SetButtonSkin(const std::wstring& value) {
  if (value == buttonSkin_) return;
  buttonSkin_ = value;
  if (TsPageControl* pc = SkinnedOwner()) pc->SkinData->Invalidate();
}

TsPageControl* TsTabSheet::SkinnedOwner() const {
  return dynamic_cast<TsPageControl*>(PageControl());
}

bool TsTabSheet::OwnerSkinned() const {
  TsPageControl* pc = SkinnedOwner();
  return pc && pc->SkinData && pc->SkinData->Skinned();
}

void TsTabSheet::WndProc(TMessage& m) {
  TsPageControl* pc = SkinnedOwner();
  if (!pc) {
    TTabSheet::WndProc(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (OwnerSkinned()) {
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (!HasState(csDestroying) && OwnerSkinned() && IsShowing()) {
        WMPaint(m);
        return;
      }
      break;
  }
  TTabSheet::WndProc(m);
}

bool TsTabSheet::SkinCommand(TMessage& m) {
  TsPageControl* pc = SkinnedOwner();
  const bool skinned = OwnerSkinned();
  switch (SkinCmdOf(m)) {
    case AC_SETNEWSKIN:
      BroadcastToChildren(this, m);
      break;
    case AC_REMOVESKIN:
      if (IsForManager(m, pc->SkinData.get())) Repaint();
      BroadcastToChildren(this, m);
      break;
    case AC_REFRESH:
      if (IsForManager(m, pc->SkinData.get()) && Visible()) Repaint();
      BroadcastToChildren(this, m);
      break;
    case AC_GETCACHE:
      if (!skinned) break;
      CacheInfoReply = RequestCacheInfo(pc);
      CacheInfoReply.X = Left();
      CacheInfoReply.Y = Top();
      return true;
    case AC_CTRLHANDLED:
      return AnswerSkinned(m);
    case AC_ISUPDATING:
      if (!skinned) break;
      m.LParam = QuerySkinCmd(pc, AC_ISUPDATING) ? 1 : 0;
      m.Result = m.LParam;
      return true;
    case AC_ISTEXTURED: {
      if (!skinned) break;
      const TsGeneralData* s = pc->SkinData->Section();
      const bool textured =
          (s && s->GradientPercent + s->ImagePercent > 0) || pc->SkinData->DependsOnParentBg();
      m.LParam = textured ? 1 : 0;
      m.Result = m.LParam;
      return true;
    }
    case AC_GETBGCOLOR:
      if (!skinned) break;
      m.Result = pc->Perform(m.Msg, m.WParam, m.LParam);
      return true;
  }
  return false;
}

void TsTabSheet::WMPaint(TMessage& m) {
  TsPageControl* pc = SkinnedOwner();
  TacPaintScope paint(Handle(), reinterpret_cast<HDC>(m.WParam));
  m.Result = 0;
  pc->SkinData->Updating = pc->SkinData->GetUpdating();
  if (pc->SkinData->Updating || !paint.DC() || !pc->SkinData->CacheBmp) return;
  pc->SkinData->EnsureCache();
  CopyWinControlCache(this, pc->SkinData.get(), TRect{Left(), Top(), 0, 0},
                      TRect{0, 0, Width(), Height()}, paint.DC(), false, 0, 0);
  ::PaintControls(paint.DC(), this, 0, TPoint{0, 0});
  NotifyChildrenEndUpdate(this);
}
