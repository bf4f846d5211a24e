// CommonAlphaCmd and CommonWndProc: how every owner of a TsCommonData reacts
// to skin commands and to focus, hover, size and move messages.
#include <windowsx.h>

#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"

namespace {

bool Designing(const TControl* c) { return c && c->HasState(csDesigning); }

TWinControl* Windowed(const TsCommonData& sd) {
  return dynamic_cast<TWinControl*>(sd.OwnerControl);
}

bool ForManager(const TsCommonData& sd, const TMessage& m) {
  return reinterpret_cast<LPARAM>(sd.GetSkinManager()) == m.LParam;
}

void Answer(TMessage& m, bool yes) {
  m.LParam = yes ? 1 : 0;
  m.Result = m.LParam;
}

void RemoveSkin(TsCommonData& sd, const TMessage& m) {
  if (!ForManager(sd, m)) return;
  if (TsSkinManager* mgr = sd.GetSkinManager(); mgr && mgr->HasState(csDestroying))
    sd.ForgetSkinManager();
  sd.ClearIndexes();
  sd.Updating = true;
  if (sd.CacheBmp) sd.CacheBmp->SetSize(0, 0);
  if (auto* edit = dynamic_cast<TCustomEdit*>(sd.OwnerControl)) RestoreWindowColours(sd, edit);
}

}  // namespace

void RestoreWindowColours(const TsCommonData& sd, TControl* control) {
  if (!sd.CustomColor()) control->SetColor(clWindow);
  if (!sd.CustomFont()) control->Font()->SetColor(clWindowText);
}

namespace {

void Refresh(TsCommonData& sd, const TMessage& m) {
  if (!ForManager(sd, m)) return;
  sd.BGChanged = true;
  sd.Updating = false;
  if (!sd.Skinned() || !sd.OwnerControl) return;
  if (auto* edit = dynamic_cast<TCustomEdit*>(sd.OwnerControl)) {
    const TsGeneralData* s = sd.Section();
    if (!sd.CustomColor() && edit->Color() != s->Color) edit->SetColor(s->Color);
    const TColor font = static_cast<TColor>(s->FontColor[0]);
    if (!sd.CustomFont() && edit->Font()->Color() != font) edit->Font()->SetColor(font);
  }
  if (Windowed(sd)) AddToAdapter(sd.OwnerControl);
}

bool IsTextured(TsCommonData& sd, TMessage& m) {
  const TsGeneralData* s = sd.Section();
  if (sd.SkinIndex == -1 || !s) return false;
  bool answer;
  if (s->Transparency == 100 && sd.OwnerControl && sd.OwnerControl->Parent())
    answer = sd.ParentTextured();
  else
    answer = s->GradientPercent + s->ImagePercent > 0 || sd.DependsOnParentBg();
  Answer(m, answer);
  return true;
}

void ParentBGChanged(TsCommonData& sd, const TMessage& m) {
  const bool depends = sd.DependsOnParentBg();
  sd.BGChanged = sd.BGChanged || depends;
  TWinControl* w = Windowed(sd);
  if (!w) return;
  if (m.WParamLo() == 1 && w->HandleAllocated())
    ::RedrawWindow(w->WindowHandle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
  if (!depends) return;
  for (int i = 0; i < w->ControlCount(); ++i) {
    TControl* child = w->Controls(i);
    if (!child || child->HasState(csDestroying)) continue;
    SendSkinCmdToCtrl(child, AC_PARENTBGCHANGED, 0);
  }
}

// The colour the owner stands for: its section colour mixed over its
// parent's colour by the section's transparency (taken over 256).
void GetBGColor(TsCommonData& sd) {
  if (!sd.Skinned()) {
    if (sd.OwnerControl) BGFillColor = ColorToRGB(sd.OwnerControl->Color());
    return;
  }
  const TsGeneralData& s = *sd.Section();
  const int t = s.Transparency;
  if (t == 0) {
    BGFillColor = s.Color;
    return;
  }
  TColor parentColor;
  if (sd.OwnerControl && sd.OwnerControl->Parent()) {
    TWinControl* parent = sd.OwnerControl->Parent();
    parentColor = parent->HandleAllocated() ? RequestBGColor(parent->WindowHandle()) : clFuchsia;
    if (parentColor == clFuchsia) parentColor = ColorToRGB(parent->Color());
  } else if (sd.OwnerControl) {
    parentColor = ColorToRGB(sd.OwnerControl->Color());
  } else {
    // Providers and adapters answer this themselves; without anything to
    // mix with, the section colour is the best answer.
    parentColor = s.Color;
  }
  if (t >= 100) {
    BGFillColor = parentColor;
    return;
  }
  TColor mixed = parentColor & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int p = static_cast<int>((parentColor >> shift) & 0xFF);
    const int c = static_cast<int>((s.Color >> shift) & 0xFF);
    mixed |= static_cast<TColor>(ClampByte(((p - c) * t + c * 256) >> 8)) << shift;
  }
  BGFillColor = mixed;
}

}  // namespace

bool CommonAlphaCmd(TMessage& message, TsCommonData* sd) {
  if (!sd || message.Msg != SM_ALPHACMD) return false;
  const WORD cmd = SkinCmdOf(message);
  if (cmd > AC_SETHALFVISIBLE) return false;
  switch (cmd) {
    case AC_SETNEWSKIN:
      if (ForManager(*sd, message)) {
        sd->Updating = true;
        sd->UpdateIndexes();
      }
      return false;
    case AC_REMOVESKIN:
      RemoveSkin(*sd, message);
      return false;
    case AC_REFRESH:
      Refresh(*sd, message);
      return false;
    case AC_GETCACHE:
      sd->EnsureCache();  // never hand out a released image
      CacheInfoReply.Ready = false;
      if (sd->CacheBmp) CacheInfoReply = MakeCacheInfo(sd->CacheBmp.get(), 0, 0);
      return false;
    case AC_CTRLHANDLED:
      Answer(message, true);
      return true;
    case AC_SETUPDATING:
      sd->Updating = message.WParamLo() == 1;
      return false;
    case AC_SETBGDEPENDENT:
      sd->BGDependent = message.WParamLo() == 1;
      return false;
    case AC_ISUPDATING:
      Answer(message, sd->BGChanged || sd->GetUpdating());
      return true;
    case AC_ISHALFVISIBLE:
      Answer(message, sd->HalfVisible);
      return true;
    case AC_TRANSBGCHANGED:
      if (sd->IsSectionTransparent() && message.WParamLo() == 1) sd->BGChanged = true;
      return false;
    case AC_REPAINTSECTION:
      if (UpperCase(sd->SkinSection()) == RefreshSectionName) sd->Invalidate();
      return false;
    case AC_SETPAINTINGCHILD:
      sd->PaintingChild = reinterpret_cast<TControl*>(message.LParam);
      return false;
    case AC_SETBGCHANGED:
      sd->BGChanged = true;
      return false;
    case AC_ISTEXTURED:
      return IsTextured(*sd, message);
    case AC_PARENTBGCHANGED:
      ParentBGChanged(*sd, message);
      return false;
    case AC_GETBGCOLOR:
      GetBGColor(*sd);
      return true;
    case AC_SETHALFVISIBLE:
      sd->HalfVisible = true;
      return false;
    default:
      return false;
  }
}

namespace {

bool CanTakeFocus(const TsCommonData& sd) {
  TWinControl* w = Windowed(sd);
  return w && w->CanFocus() && w->TabStop();
}

void MouseEnter(TsCommonData& sd, const TMessage& m) {
  if (Designing(sd.OwnerControl)) return;
  const bool hot = KindHasHotState(sd.ControlKind);
  TWinControl* w = Windowed(sd);
  if (w && DefaultManager) {
    auto* sender = reinterpret_cast<TControl*>(m.LParam);
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* child = w->Controls(i);
      if (child == sender) continue;
      if (TsCommonData* csd = SkinDataOf(child);
          csd && KindIsSpeedButton(csd->ControlKind) && csd->MouseAbove)
        child->Perform(CM_MOUSELEAVE, 0, 0);
    }
    if (hot) sd.MouseAbove = true;
    if (w->HandleAllocated()) DefaultManager->SetActiveControl(w->WindowHandle());
    return;
  }
  if (hot) sd.MouseAbove = true;
}

void Size(TsCommonData& sd) {
  if (!sd.Skinned()) return;
  sd.BGChanged = true;
  TWinControl* w = Windowed(sd);
  const TsGeneralData* s = sd.Section();
  if (!w || !s || s->GradientPercent <= 0) return;
  for (int i = 0; i < w->ControlCount(); ++i) {
    TControl* child = w->Controls(i);
    if (!child || child->HasState(csDestroying)) continue;
    if (child->Anchors() & (AnchorBit(akRight) | AnchorBit(akBottom))) continue;
    child->Perform(SM_ALPHACMD, SkinCmdWParam(AC_PARENTBGCHANGED, 1), 0);
  }
}

}  // namespace

bool CommonWndProc(TMessage& message, TsCommonData* sd) {
  if (!sd) return false;
  switch (message.Msg) {
    case SM_ALPHACMD:
      return CommonAlphaCmd(message, sd);
    case WM_UPDATEUISTATE: {
      if (sd->Skinned()) return true;
      TWinControl* w = Windowed(*sd);
      if (w && w->HandleAllocated() && VisualStylesActive() && SetWindowThemeFunc)
        SetWindowThemeFunc(w->WindowHandle(), nullptr, nullptr);
      return false;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (CanTakeFocus(*sd)) {
        sd->BGChanged = true;
        sd->Focused = message.Msg == WM_SETFOCUS;
      }
      return false;
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED:
      sd->Focused = false;
      sd->MouseAbove = false;
      return false;
    case CM_MOUSEENTER:
      MouseEnter(*sd, message);
      return false;
    case CM_MOUSELEAVE:
      if (!Designing(sd->OwnerControl) && KindHasHotState(sd->ControlKind)) sd->MouseAbove = false;
      return false;
    case WM_SIZE:
      Size(*sd);
      return false;
    case WM_MOVE:
      if (sd->OwnerControl && sd->DependsOnParentBg())
        sd->OwnerControl->Perform(SM_ALPHACMD, SkinCmdWParam(AC_PARENTBGCHANGED, 1), 0);
      return false;
    case CM_SHOWINGCHANGED:
      if (TWinControl* w = Windowed(*sd); w && !w->IsShowing()) sd->ReleaseCache();
      return false;
    case WM_PARENTNOTIFY:
      if (Windowed(*sd) && LOWORD(message.WParam) == WM_CREATE) AddToAdapter(sd->OwnerControl);
      return false;
    default:
      return false;
  }
}
