// TsSkinProvider: the window region cut from the skin's transparent corner
// pixels, snapping to the work area, the maximized size, the repaint after
// a move or size and the fade-in on show.
//
// Every SetWindowRgn is an X shape update under Wine and sends position
// messages of its own, so the region is given to the window only when what
// it is made of (size and cut-out rectangles) has changed.
#include <cstdlib>

#include "framework/Handles.h"
#include "skin/engine/AnimShow.h"
#include "skin/engine/Regions.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/FrameRegion.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/UncoveredRepaint.h"

namespace {

constexpr UINT kRegionQuery = 0xBC4D;
constexpr WPARAM kOwnRegion = 0x41A2;

}  // namespace

void SnapToEdge(int& pos, int edge, int size, int snapBuffer) {
  if (std::abs(pos + size - edge) < snapBuffer) pos = edge - size;
}

void TsSkinProvider::CollectRegionRects() {
  RgnRects.clear();
  if (!Manager() || !FormHandle()) return;
  CollectFrameRgnRects(RgnRects, Manager(), SkinData->BorderIndex, TitleSectionName(), FormWidth(),
                       FormHeight());
}

HRGN TsSkinProvider::CreateFormRgn(int x, int y) const {
  return CreateFrameRgn(RgnRects, FormWidth(), FormHeight(), x, y);
}

void TsSkinProvider::UpdateRgn(bool repaint) {
  HWND wnd = FormHandle();
  if (RgnLocked || !wnd) return;
  if (!FirstPaintDone && ::SendMessageW(wnd, kRegionQuery, kOwnRegion, 0) == kOwnRegion) return;
  const TSize size{FormWidth(), FormHeight()};
  if (hasRgn_ && size.cx == appliedSize_.cx && size.cy == appliedSize_.cy &&
      SameRects(RgnRects, appliedRects_))
    return;
  RgnApplying = true;
  HRGN rgn = CreateFormRgn(0, 0);
  ++SetWindowRgnCalls;
  const BOOL applied = ::SetWindowRgn(wnd, rgn, repaint);
  RgnApplying = false;  // the position messages it caused are behind us
  if (applied) {
    // The window owns the region now.
    hasRgn_ = true;
    appliedSize_ = size;
    appliedRects_ = RgnRects;
  } else {
    ::DeleteObject(rgn);
  }
}

void TsSkinProvider::UpdateDirtyRgn(bool repaint) {
  if (RgnApplying || !RgnRectsDirty) return;
  CollectRegionRects();
  RgnRectsDirty = false;
  if (!RgnApplying) UpdateRgn(repaint);
}

void TsSkinProvider::RemoveRgn() {
  HWND wnd = FormHandle();
  if (!wnd) return;
  ::SetWindowRgn(wnd, nullptr, TRUE);
  hasRgn_ = false;
  appliedRects_.clear();
  appliedSize_ = TSize{-1, -1};
  RgnRectsDirty = true;
}

void TsSkinProvider::OnWindowPosChanging(TMessage& message) {
  if (RgnApplying) return;
  auto* wp = reinterpret_cast<WINDOWPOS*>(message.LParam);
  HWND wnd = FormHandle();
  if (wp && !::IsZoomed(wnd) && ScreenSnap && !(wp->flags & SWP_NOMOVE) && (wp->x != 0 || wp->y != 0)) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi);
    const int w = (wp->flags & SWP_NOSIZE) ? FormWidth() : wp->cx;
    const int h = (wp->flags & SWP_NOSIZE) ? FormHeight() : wp->cy;
    SnapToEdge(wp->x, work.right, w, SnapBuffer);
    SnapToEdge(wp->y, work.bottom, h, SnapBuffer);
    SnapToEdge(wp->x, work.left, mi.rcMonitor.left, SnapBuffer);
    SnapToEdge(wp->y, work.top, mi.rcMonitor.top, SnapBuffer);
  }
  CallOld(message);
}

void TsSkinProvider::OnWindowPosChanged(TMessage& message) {
  if (RgnApplying || SkinLoading) return;
  CallOld(message);
  HWND wnd = FormHandle();
  if (message.Msg == WM_WINDOWPOSCHANGED)
    if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
        pos && (pos->flags & SWP_HIDEWINDOW))
      RepaintUncovered(wnd);
  // Only a new size changes the region; a move keeps it.
  if (FormWidth() != appliedSize_.cx || FormHeight() != appliedSize_.cy) RgnRectsDirty = true;
  if (::IsWindowVisible(wnd) && FormSizeChanged()) {
    if (!(Form->ControlState() & csCreating)) SkinData->BGChanged = true;
    MenuLineCount = -1;
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
  }
}

void TsSkinProvider::OnGetMinMaxInfo(TMessage& message) {
  auto* mmi = reinterpret_cast<MINMAXINFO*>(message.LParam);
  if (!mmi) return CallOld(message);
  mmi->ptMaxTrackSize = POINT{-1, -1};
  mmi->ptMaxPosition = POINT{-1, -1};
  CallOld(message);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int f = Form->BorderStyle() != bsNone ? SysBorderWidth() : 0;
  if (mmi->ptMaxTrackSize.x == -1) mmi->ptMaxTrackSize.x = work.right - work.left + 2 * f;
  if (mmi->ptMaxTrackSize.y == -1) mmi->ptMaxTrackSize.y = work.bottom - work.top + 2 * f;
  if (mmi->ptMaxPosition.x == -1) mmi->ptMaxPosition.x = work.left - f;
  if (mmi->ptMaxPosition.y == -1) mmi->ptMaxPosition.y = work.top - f;
}

void TsSkinProvider::OnShowingChanged(TMessage& message) {
  TsSkinManager* m = Manager();
  if (!SkinData->BGChanged || !m || !m->AnimEffects) {
    HWND wnd = FormHandle();
    const bool appearing = Form->Visible() && wnd && !::IsWindowVisible(wnd);
    CallOld(message);
    // A form shown again gets a fresh image on screen, but the platform
    // asks its children only for their client areas: the adapted
    // controls' skinned frames would stay unpainted (black).
    if (appearing && ::IsWindowVisible(wnd))
      ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
    return;
  }
  const bool dialog = Form->BorderStyle() == bsDialog;
  const TacFormAnimation& anim =
      dialog ? static_cast<const TacFormAnimation&>(*m->AnimEffects->DialogShow())
             : static_cast<const TacFormAnimation&>(*m->AnimEffects->FormShow());
  HWND wnd = FormHandle();
  // Only a form that is about to appear fades in.
  ShowAnimPending = Form->FormStyle() != fsMDIChild && anim.Active && Form->Visible() &&
                    wnd && !::IsWindowVisible(wnd);
  if (ShowAnimPending) ::SendMessageW(wnd, WM_SETREDRAW, 0, 0);
  CallOld(message);
  UpdateFormScrollWnd();
  if (!ShowAnimPending) return;
  ShowAnimPending = false;
  AnimShowControl(Form, static_cast<uint16_t>(anim.Time), TacAnimClock::System(), [&] {
    UpdateRgn(false);
    ::RedrawWindow(wnd, nullptr, nullptr,
                   RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE | RDW_INVALIDATE);
  });
  RgnApplying = false;
}
