#include "skin/controls/Panel.h"

#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"

TsPanel::TsPanel(TComponent* AOwner) : TsSkinnedControl(AOwner, ckPanel) {
  SetControlStyle(ControlStyle() | csOpaque);
}

namespace {

// The messages the skinned panel reacts to, itself or through CommonWndProc
// (which must stay covered here). Any other message goes the same way
// skinned or not, straight to the panel: asking on each one whether the
// panel is ready and skinned would cost more than most messages.
bool SkinWatches(UINT msg) {
  switch (msg) {
    case SM_ALPHACMD:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_PRINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_TEXTCHANGED:
    // CommonWndProc
    case WM_UPDATEUISTATE:
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case WM_SIZE:
    case WM_MOVE:
    case WM_PARENTNOTIFY:
      return true;
  }
  return false;
}

}  // namespace

void TsPanel::WndProc(TMessage& m) {
  if (!SkinWatches(m.Msg)) {
    TPanel::WndProc(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (!ControlIsReady(this) || !IsSkinned()) {
    UnskinnedMessage(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD) {
    SkinnedAlphaCmd(m);
    return;
  }
  switch (m.Msg) {
    case WM_PAINT:
      WMPaint(m);
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PRINT:
      WMPrint(m);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TPanel::WndProc(m);
      return;
    case CM_VISIBLECHANGED:
      SkinData->BGChanged = true;
      SkinData->Updating = false;
      Repaint();
      TPanel::WndProc(m);
      return;
    case CM_TEXTCHANGED:
      if (Parent()) SkinData->Invalidate();
      return;
  }
  SkinnedMessage(m);
}

// The four commands every control answers, skinned or not. AC_SETNEWSKIN
// reaches the children before the panel re-reads its own indexes, so they
// are ready when the panel repaints them.
bool TsPanel::SkinCommand(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_SETNEWSKIN:
      BroadcastToChildren(this, m);
      if (ForUs(m)) CommonWndProc(m, SkinData.get());
      return true;
    case AC_REMOVESKIN:
      if (ForUs(m)) {
        CommonWndProc(m, SkinData.get());
        Invalidate();
      }
      BroadcastToChildren(this, m);
      return true;
    case AC_REFRESH:
      if (ForUs(m)) {
        CommonWndProc(m, SkinData.get());
        BroadcastToChildren(this, m);
        Repaint();
      } else {
        BroadcastToChildren(this, m);
      }
      return true;
    case AC_CTRLHANDLED:
      return AnswerSkinned(m);
  }
  return false;
}

void TsPanel::UnskinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (!OnPaint) TPanel::WndProc(m);
      return;
    case WM_PRINT:
      if (OnPaint) {
        TControlCanvas* c = ControlCanvas();
        OnPaint(this, c);
        if (m.WParam && c->Control() && HandleAllocated())
          ::BitBlt(reinterpret_cast<HDC>(m.WParam), 0, 0, Width(), Height(), c->Handle(), 0, 0,
                   SRCCOPY);
        c->FreeHandle();
      }
      return;
  }
  TPanel::WndProc(m);
}

void TsPanel::SkinnedAlphaCmd(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_ENDPARENTUPDATE:
      if (IsNT || SkinData->GetUpdating()) {
        SkinData->Updating = false;
        ::RedrawWindow(Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      }
      return;
    case AC_SETBGDEPENDENT:
      CommonWndProc(m, SkinData.get());
      if (SkinData->BGDependent) PrepareCache();
      return;
    case AC_ISUPDATING:
      m.LParam = (SkinData->BGChanged || SkinData->GetUpdating()) ? 1 : 0;
      m.Result = m.LParam;
      return;
  }
  CommonAlphaCmd(m, SkinData.get());
}

void TsPanel::WMPaint(TMessage& m) {
  if (!Visible()) {
    TPanel::WndProc(m);
    return;
  }
  SetControlState(ControlState() | csCustomPaint);
  {
    TacPaintScope paint(Handle(), reinterpret_cast<HDC>(m.WParam));
    TCanvas* c = Canvas();
    c->Lock();
    c->SetHandle(paint.DC());
    c->Refresh();
    try {
      SkinPaint(paint.DC(), true);
    } catch (...) {
      c->SetHandle(nullptr);
      c->Unlock();
      SetControlState(ControlState() & ~csCustomPaint);
      throw;
    }
    c->SetHandle(nullptr);
    c->Unlock();
  }
  SetControlState(ControlState() & ~csCustomPaint);
}

void TsPanel::WMPrint(TMessage& m) {
  SkinData->Updating = false;
  if (!ControlIsReady(this)) return;
  if (SkinData->BGChanged) PrepareCache();
  UpdateCorners(SkinData.get(), 0);
  SkinPaint(reinterpret_cast<HDC>(m.WParam), false);
}

void TsPanel::SkinnedMessage(TMessage& m) {
  CommonWndProc(m, SkinData.get());
  TPanel::WndProc(m);
  if (m.Msg == WM_SETFONT && !Caption().empty()) {
    SkinData->BGChanged = true;
    Repaint();
  }
}

void TsPanel::SkinPaint(HDC dc, bool sendUpdated) {
  if (Destroying() || !SkinData || !IsSkinned()) return;
  if (Parent() && (Parent()->ControlState() & csCreating)) return;
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  const bool stale = SkinData->HalfVisible || SkinData->BGChanged;
  if (!dc) dc = Canvas()->Handle();
  if (SkinData->DependsOnParentBg()) {
    RECT clip{};
    ::GetClipBox(dc, &clip);
    SkinData->HalfVisible = clip.right - clip.left != Width() || clip.bottom - clip.top != Height();
  } else {
    SkinData->HalfVisible = false;
  }
  if (stale && !SkinData->BGDependent) PrepareCache();
  PaintContainerCache(this, SkinData.get(), dc, stale, sendUpdated);
}

void TsPanel::PrepareCache() {
  SkinData->InitCacheBmp();
  const TCacheInfo ci = GetParentCache(SkinData.get());
  PaintSkinControl(SkinData.get(), ci, false, 0, TRect{0, 0, Width(), Height()},
                   TPoint{Left(), Top()}, SkinData->CacheBmp.get(), false);
  PaintCaption(ClientRect());
  if (OnPaint) OnPaint(this, SkinData->CacheBmp->Canvas());
  SkinData->BGChanged = false;
}

// One line, centred vertically on the height of "W" whatever the text, with
// "&" drawn as itself.
void TsPanel::PaintCaption(TRect r) {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  const int h = c->TextHeight(L"W");
  r.top = (r.top + r.bottom - h) / 2;
  r.bottom = r.top + h;
  const UINT flags = TextAlignFlags(this, Alignment()) | DT_NOPREFIX;
  DrawSkinText(c, Caption(), Enabled(), r, flags, SkinData.get(), false);
}

void TsPanel::PaintWindow(HDC dc) {
  TPanel::PaintWindow(dc);
  SkinPaint(dc, true);
}

void TsPanel::Paint() {
  if (!IsSkinned() && OnPaint) {
    if (HasState(csLoading) && Visible()) return;
    OnPaint(this, Canvas());
    return;
  }
  TPanel::Paint();
}
