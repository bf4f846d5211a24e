#include "skin/controls/FrameAdapter.h"

#include "framework/Menus.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/MessageBoxes.h"
#include "skin/windows/SkinableMenus.h"

namespace {
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
}

TsFrameAdapter::TsFrameAdapter(TComponent* AOwner)
    : TComponent(AOwner), SkinData(std::make_unique<TsCommonData>(this, true)) {
  if (SkinData->SkinSection().empty() || SkinData->SkinSection() == L"TSFRAMEADAPTER")
    SkinData->SetSkinSection(L"GROUPBOX");
  SkinData->ControlKind = ckFrameAdapter;
  frame_ = dynamic_cast<TCustomFrame*>(AOwner);
  if (!frame_) {
    SkinnedMessageDlg(L"TsFrameAdapter adapter must be placed on the handled frame", mtError,
                      MsgDlgButtons({mbOK}), 0);
    return;
  }
  SkinData->OwnerControl = frame_;
  hook_ = std::make_unique<TWndProcHook>(
      frame_, [this](TMessage& m, const TWndMethod& next) { FrameMessage(m, next); });
}

TsFrameAdapter::~TsFrameAdapter() {
  scrollWnd_.reset();
  hook_.reset();
  frame_ = nullptr;
  SkinData.reset();
}

bool TsFrameAdapter::FrameHandled() {
  return frame_ && frame_->Perform(SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0) == 1;
}

void TsFrameAdapter::AfterConstruction() {
  TComponent::AfterConstruction();
  if (!FrameHandled()) return;
  SkinData->UpdateIndexes();
  frame_->SetControlStyle(frame_->ControlStyle() & ~csParentBackground);
}

void TsFrameAdapter::Loaded() {
  TComponent::Loaded();
  if (!FrameHandled() || !SkinData->GetSkinManager()) return;
  SkinData->UpdateIndexes();
  TsSkinManager* m = SkinData->GetSkinManager();
  if (m->SkinData && m->SkinData->Active && !HasState(csDesigning)) {
    HookPopupMenus();
    frame_->SetControlStyle(frame_->ControlStyle() & ~csParentBackground);
    if (Skinned()) AddToAdapter(frame_);
  }
}

// The frame's own popup menus are drawn by the manager's menu skinner.
void TsFrameAdapter::HookPopupMenus() {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->SkinnedPopups() || !m->SkinableMenus) return;
  for (int i = 0; i < frame_->ComponentCount(); ++i)
    if (auto* popup = dynamic_cast<TPopupMenu*>(frame_->Components(i)))
      m->SkinableMenus->HookMenu(popup, true);
}

bool TsFrameAdapter::Skinned() const {
  return SkinData && SkinData->Skinned(true) && !HasState(csDestroying) &&
         !(frame_ && frame_->HasState(csDestroying));
}

void TsFrameAdapter::FrameMessage(TMessage& m, const TWndMethod& next) {
  if (m.Msg == SM_ALPHACMD && AlphaCmd(m, next)) return;
  if (Skinned() && SkinnedMessage(m, next)) return;
  next(m);
}

bool TsFrameAdapter::AlphaCmd(TMessage& m, const TWndMethod& next) {
  TsCommonData* sd = SkinData.get();
  const bool ours = IsForManager(m, sd);
  switch (SkinCmdOf(m)) {
    case AC_CTRLHANDLED:
      return AnswerSkinned(m);
    case AC_SETNEWSKIN:
      if (!ours) return false;
      BroadcastToChildren(frame_, m);
      CommonWndProc(m, sd);
      if (sd->GetSkinManager()) HookPopupMenus();
      return true;
    case AC_REMOVESKIN:
      if (!ours) return false;
      scrollWnd_.reset();
      CommonWndProc(m, sd);
      BroadcastToChildren(frame_, m);
      frame_->Repaint();
      return true;
    case AC_REFRESH:
      if (!ours) return false;
      CommonWndProc(m, sd);
      if (sd->GetSkinManager()) {
        BroadcastToChildren(frame_, m);
        if (frame_->HandleAllocated())
          ::RedrawWindow(frame_->WindowHandle(), nullptr, nullptr, kRedrawAll);
        RefreshScrollWnd(sd, scrollWnd_);
      }
      return true;
    case AC_GETCACHE:
      CacheInfoReply = sd->CacheBmp ? MakeCacheInfo(sd->CacheBmp.get(), 0, 0) : TCacheInfo{};
      return true;
    case AC_STOPFADING:
      BroadcastToChildren(frame_, m);
      return false;
    case AC_BEFORESCROLL:
    case AC_AFTERSCROLL: {
      const bool textured = frame_->Perform(SM_ALPHACMD, SkinCmdWParam(AC_ISTEXTURED), 0) == 1 ||
                            sd->DependsOnParentBg();
      if (textured && frame_->HandleAllocated()) {
        const bool after = SkinCmdOf(m) == AC_AFTERSCROLL;
        ::SendMessageW(frame_->WindowHandle(), WM_SETREDRAW, after, 0);
        if (after) ::RedrawWindow(frame_->WindowHandle(), nullptr, nullptr, kRedrawAll);
      }
      return false;
    }
  }
  (void)next;
  return false;
}

bool TsFrameAdapter::SkinnedMessage(TMessage& m, const TWndMethod& next) {
  TsCommonData* sd = SkinData.get();
  switch (m.Msg) {
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      m.Result = 1;
      return true;
    case WM_MOVE:
    case WM_SIZE: {
      sd->BGChanged = sd->BGChanged || m.Msg == WM_SIZE || sd->DependsOnParentBg();
      if (sd->BGChanged) {
        TMessage cmd{SM_ALPHACMD, SkinCmdWParam(AC_SETBGCHANGED, 1), 0, 0};
        BroadcastToChildren(frame_, cmd);
      }
      next(m);
      return true;
    }
    case WM_PAINT:
      if (frame_->Parent()) Paint(reinterpret_cast<HDC>(m.WParam), false);
      else next(m);
      return true;
    case WM_PRINT:
      sd->Updating = false;
      if (ControlIsReady(frame_)) {
        Paint(reinterpret_cast<HDC>(m.WParam), true);
        PaintScrollBars(scrollWnd_.get(), frame_->Handle(), reinterpret_cast<HDC>(m.WParam), -1);
      }
      return true;
    case CM_SHOWINGCHANGED:
      next(m);
      RefreshScrollWnd(sd, scrollWnd_);
      return true;
    case CM_VISIBLECHANGED:
      sd->BGChanged = true;
      next(m);
      if (TsSkinManager* man = sd->GetSkinManager())
        frame_->Perform(SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), reinterpret_cast<LPARAM>(man));
      return true;
    case CM_MOUSEENTER:
      next(m);
      for (int i = 0; i < frame_->ControlCount(); ++i) {
        TControl* c = frame_->Controls(i);
        TsCommonData* csd = SkinDataOf(c);
        if (c != reinterpret_cast<TControl*>(m.LParam) && csd &&
            csd->ControlKind == ckSpeedButton && csd->MouseAbove)
          c->Perform(CM_MOUSELEAVE);
      }
      if (DefaultManager && frame_->HandleAllocated())
        DefaultManager->SetActiveControl(frame_->WindowHandle());
      return true;
    case SM_ALPHACMD:
      break;
    default:
      return false;
  }
  const WORD cmd = SkinCmdOf(m);
  if (cmd < AC_GETCACHE || cmd > AC_GETBGCOLOR) return true;
  switch (cmd) {
    case AC_ENDPARENTUPDATE:
      if (IsNT || sd->GetUpdating()) {
        sd->Updating = false;
        if (frame_->HandleAllocated())
          ::RedrawWindow(frame_->WindowHandle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN |
                             RDW_UPDATENOW | RDW_FRAME);
      }
      return true;
    case AC_SETUPDATING:
      sd->Updating = m.WParamLo() == 1;
      BroadcastToChildren(frame_, m);
      return true;
    case AC_SETBGDEPENDENT:
      sd->BGDependent = m.WParamLo() == 1;
      if (sd->BGDependent) PrepareCache();
      CommonWndProc(m, sd);
      return true;
    case AC_ISUPDATING:
      m.LParam = (sd->BGChanged || sd->GetUpdating()) ? 1 : 0;
      m.Result = m.LParam;
      return true;
    case AC_TRANSBGCHANGED:
      if (sd->IsSectionTransparent()) sd->BGChanged = true;
      return true;
    case AC_ISTEXTURED: {
      const TsGeneralData* s = sd->Section();
      m.LParam = (s && (s->GradientPercent + s->ImagePercent >= 1 || sd->DependsOnParentBg())) ? 1 : 0;
      m.Result = m.LParam;
      return true;
    }
    case AC_GETBGCOLOR:
      AnswerBGColor();
      return true;
  }
  return true;
}

void TsFrameAdapter::AnswerBGColor() {
  const TsGeneralData* s = SkinData->Section();
  if (!s) {
    BGFillColor = ColorToRGB(frame_->Color());
    return;
  }
  const int t = s->Transparency;
  const TColor c = ColorToRGB(s->Color);
  if (t == 0) {
    BGFillColor = c;
    return;
  }
  TColor p = ColorToRGB(frame_->Color());
  if (TWinControl* parent = frame_->Parent()) {
    p = RequestBGColor(parent);
    if (p == clFuchsia) p = ColorToRGB(parent->Color());
  }
  if (t >= 100) {
    BGFillColor = p;
    return;
  }
  // The section's share counts over 256, not over 100.
  auto mix = [t](int pc, int cc) { return ClampByte((t * (pc - cc) + cc * 256) >> 8); };
  BGFillColor = static_cast<TColor>(mix(p & 0xFF, c & 0xFF) | (mix((p >> 8) & 0xFF, (c >> 8) & 0xFF) << 8) |
                                    (mix((p >> 16) & 0xFF, (c >> 16) & 0xFF) << 16));
}

void TsFrameAdapter::Paint(HDC given, bool printing) {
  TsCommonData* sd = SkinData.get();
  TacPaintScope paint(frame_->Handle(), given, !printing);
  sd->Updating = sd->GetUpdating();
  if (sd->Updating) return;
  sd->BGChanged = sd->BGChanged || sd->HalfVisible;
  sd->HalfVisible = false;
  if (sd->DependsOnParentBg() && frame_->Parent()) {
    const TRect pc = frame_->Parent()->ClientRect();
    const POINT tl{frame_->Left() + 1, frame_->Top() + 1};
    const POINT br{frame_->Left() + frame_->Width() - 1, frame_->Top() + frame_->Height() - 1};
    sd->HalfVisible = !::PtInRect(&pc, tl) || !::PtInRect(&pc, br);
  }
  if (sd->BGChanged && !sd->BGDependent) PrepareCache();
  PaintContainerCache(frame_, sd, paint.DC(), false, !printing);
}

void TsFrameAdapter::PrepareCache() {
  TsCommonData* sd = SkinData.get();
  sd->InitCacheBmp();
  sd->CacheBmp->Canvas()->SetFont(frame_->Font());
  const TCacheInfo ci = GetParentCache(sd);
  PaintSkinControl(sd, ci, false, 0, TRect{0, 0, frame_->Width(), frame_->Height()},
                   TPoint{frame_->Left(), frame_->Top()}, sd->CacheBmp.get(), false);
  sd->BGChanged = false;
}
