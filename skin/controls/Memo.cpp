#include "skin/controls/Memo.h"

#include "framework/Handles.h"
#include "skin/engine/ControlUtils.h"
#include "skin/windows/WndCache.h"

TsMemo::TsMemo(TComponent* AOwner)
    : TsBoundControl(AOwner, ckMemo) {
  // The border shows the parent at the skin's rounded corners.
  SetControlStyle(ControlStyle() & ~csOpaque);
  if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"EDIT");
}

TsMemo::~TsMemo() { editWnd_.reset(); }

void TsMemo::Loaded() {
  TsBoundControl::Loaded();
  RefreshEditWnd(SkinData.get(), editWnd_);
}

// A new window (first creation or after the skin went) gets its adapter
// when the memo is skinned.
void TsMemo::CreateWnd() {
  TMemo::CreateWnd();
  if (SkinData && !Destroying()) RefreshEditWnd(SkinData.get(), editWnd_);
}

TacSkinChangeRule TsMemo::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

bool TsMemo::BeforeSkinChange(TMessage& m) {
  if (SkinCmdOf(m) == AC_REMOVESKIN) editWnd_.reset();
  return true;
}

void TsMemo::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      if (HandleAllocated()) RecreateWnd();
      return;
    case AC_REFRESH:
      RefreshEditWnd(SkinData.get(), editWnd_);
      if (!HandleAllocated()) return;
      Perform(WM_ERASEBKGND, 0, 0);
      Repaint();
      ::SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
      return;
  }
}

void TsMemo::SkinnedMessage(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    SkinData->Updating = SkinData->GetUpdating();
    if (SkinData->Updating) {
      PaintScope nothing(WindowHandle());
      return;
    }
    return TMemo::WndProc(m);
  }
  CommonWndProc(m, SkinData.get());
  TMemo::WndProc(m);
  if (Destroying()) return;
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(m) == AC_SETBGDEPENDENT && SkinData->BGDependent && HandleAllocated())
        PrepareWndCache(SkinData.get(), WindowHandle(), false);
      break;
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      SkinData->Invalidate();
      break;
    case EM_SCROLLCARET:
      if (OnScrollCaret) OnScrollCaret(this);
      break;
    case WM_VSCROLL:
      if (OnVScroll) OnVScroll(this);
      break;
    case CM_TEXTCHANGED:
    case CM_CHANGED:
      if (editWnd_) UpdateScrolls(editWnd_.get(), true);
      break;
    case CM_SHOWINGCHANGED:
      RefreshEditWnd(SkinData.get(), editWnd_);
      // The adapter leaves the bars out while the memo is not showing, and
      // the frame paint of a memo coming into view can come before the
      // framework knows it is showing.
      if (editWnd_ && IsShowing())
        ::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      break;
  }
}
