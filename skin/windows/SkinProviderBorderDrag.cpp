// TsSkinProvider: the outline drag of rmBorder. Moving or sizing the form
// shows an inverted outline on the screen, and the form moves or sizes once,
// when the button is let go.
//
// The provider runs the drag itself with the mouse captured. The system's
// own move and size loop is never started for such a form: it would move
// the window at every step, and being modal it would keep our mouse
// handling (and so the outline) from running until the button is up.
#include <algorithm>
#include <memory>

#include "framework/Handles.h"
#include "skin/windows/SkinProvider.h"

namespace {

// The screen DC the outline is drawn on, in its inverting mode; its state
// is put back and the DC released when the drag ends.
class TacOutlineDC {
 public:
  TacOutlineDC() : dc_(UniqueWindowDC::Client(nullptr)), saved_(dc_ ? ::SaveDC(dc_.get()) : 0) {
    if (dc_) ::SetROP2(dc_.get(), R2_NOT);
  }
  ~TacOutlineDC() {
    if (saved_) ::RestoreDC(dc_.get(), saved_);
  }
  TacOutlineDC(const TacOutlineDC&) = delete;
  TacOutlineDC& operator=(const TacOutlineDC&) = delete;
  HDC get() const { return dc_.get(); }

 private:
  UniqueWindowDC dc_;
  int saved_;
};

// One drag for the whole program: only one form is dragged at a time.
struct TacBorderDrag {
  TsSkinProvider* Owner = nullptr;  // the provider whose form is dragged
  bool Dragging = false;
  bool SysMoveStarted = false;
  bool DragMoving = false;
  int DragCode = 0;
  int DragLeft = 0, DragTop = 0, DragRight = 0, DragBottom = 0;
  int DragStartX = 0, DragStartY = 0;
  int DragMinWidth = 0, DragMinHeight = 0;
  std::unique_ptr<TacOutlineDC> Desktop;
};

TacBorderDrag drag;

TPoint PointOf(LPARAM l) {
  return TPoint{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

RECT WindowRectOf(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return r;
}

}  // namespace

bool TsSkinProvider::BorderDragging() const { return drag.Dragging && drag.Owner == this; }

bool TsSkinProvider::BeginBorderDrag(TMessage& message) {
  const int code = static_cast<int>(message.WParam);
  const bool sizing = code >= HTLEFT && code <= HTBOTTOMRIGHT;
  if (ResizeMode != rmBorder || drag.Dragging || (code != HTCAPTION && !sizing)) return false;
  HWND wnd = FormHandle();
  if (::IsIconic(wnd)) return false;
  if (::IsZoomed(wnd)) {
    // A maximized form is dragged only from below its caption band.
    const TPoint p = PointOf(message.LParam);
    if (ScreenToForm(p.x, p.y).y <= SysBorderHeight() + SysCaptionHeight()) return false;
  }
  // The size command names the edge the way the system's own does.
  const WPARAM command = sizing ? SC_SIZE | (code - HTLEFT + WMSZ_LEFT) : SC_MOVE | HTCAPTION;
  ::SendMessageW(wnd, WM_SYSCOMMAND, command, message.LParam);
  message.Result = 0;
  return BorderDragging();
}

bool TsSkinProvider::OnBorderSysCommand(TMessage& message) {
  const WPARAM cmd = message.WParam & 0xFFF0;
  if (ResizeMode != rmBorder || drag.Dragging || (cmd != SC_MOVE && cmd != SC_SIZE)) return false;
  HWND wnd = FormHandle();
  if (::IsIconic(wnd) || ::IsZoomed(wnd)) return false;
  ::SetCapture(wnd);
  drag.SysMoveStarted = true;
  drag.DragMoving = cmd == SC_MOVE;
  // A size command from the menu names no edge: the bottom-right corner
  // follows the mouse.
  const int edge = static_cast<int>(message.WParam & 0xF);
  drag.DragCode = cmd == SC_SIZE && edge >= WMSZ_LEFT && edge <= WMSZ_BOTTOMRIGHT
                      ? edge - WMSZ_LEFT + HTLEFT
                      : 0;
  // A command from the mouse brings its point; one from the menu starts
  // where the cursor is.
  TPoint p = PointOf(message.LParam);
  if (message.LParam == 0) {
    POINT cur{};
    ::GetCursorPos(&cur);
    p = TPoint{cur.x, cur.y};
  }
  StartBorderDrag(p.x, p.y);
  if (!drag.DragMoving && message.LParam != 0) {
    // The press point is known: sizing follows the mouse from there.
    drag.DragStartX = p.x;
    drag.DragStartY = p.y;
    drag.SysMoveStarted = false;
  }
  message.Result = 0;
  return true;
}

void TsSkinProvider::StartBorderDrag(int x, int y) {
  if (ResizeMode != rmBorder) return;
  HWND wnd = FormHandle();
  drag.Owner = this;
  drag.Dragging = true;
  drag.Desktop = std::make_unique<TacOutlineDC>();
  const RECT r = WindowRectOf(wnd);
  drag.DragLeft = r.left;
  drag.DragTop = r.top;
  drag.DragStartX = x;
  drag.DragStartY = y;
  if (drag.DragMoving) {
    DrawDragFrame(drag.DragLeft, drag.DragTop);
    return;
  }
  // The framework has no size constraints; the system's smallest tracking
  // size stands in for them.
  drag.DragMinWidth = ::GetSystemMetrics(SM_CXMINTRACK);
  drag.DragMinHeight = ::GetSystemMetrics(SM_CYMINTRACK);
  drag.DragRight = r.right;
  drag.DragBottom = r.bottom;
  DrawDragFrame(drag.DragLeft, drag.DragTop);
}

void TsSkinProvider::DrawDragFrame(int x, int y) {
  if (ResizeMode != rmBorder || !drag.Desktop || !drag.Desktop->get()) return;
  int right, bottom;
  if (drag.DragMoving) {
    const RECT r = WindowRectOf(FormHandle());
    right = x + r.right - r.left;
    bottom = y + r.bottom - r.top;
  } else {
    x = drag.DragLeft;
    y = drag.DragTop;
    right = drag.DragRight;
    bottom = drag.DragBottom;
  }
  // Closed, and no pixel is met twice: drawing it again erases it.
  const POINT outline[5] = {{x, y}, {right, y}, {right, bottom}, {x, bottom}, {x, y}};
  ::Polyline(drag.Desktop->get(), outline, 5);
}

void TsSkinProvider::DragMouseMove(int x, int y) {
  if (drag.DragMoving) {
    drag.SysMoveStarted = false;
    DrawDragFrame(drag.DragLeft, drag.DragTop);
    drag.DragLeft += x - drag.DragStartX;
    drag.DragTop += y - drag.DragStartY;
    drag.DragStartX = x;
    drag.DragStartY = y;
    DrawDragFrame(drag.DragLeft, drag.DragTop);
    return;
  }
  if (drag.SysMoveStarted) {
    drag.DragStartX = x;
    drag.DragStartY = y;
    drag.SysMoveStarted = false;
  }
  DrawDragFrame(drag.DragLeft, drag.DragTop);
  const RECT r = WindowRectOf(FormHandle());
  const int dx = x - drag.DragStartX, dy = y - drag.DragStartY;
  const int code = drag.DragCode;
  const bool left = code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT;
  const bool top = code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT;
  const bool right = !left && code != HTTOP && code != HTBOTTOM;
  const bool bottom = !top && code != HTLEFT && code != HTRIGHT;
  TacBorderDrag& d = drag;
  // Each moving edge keeps the smallest size from the opposite one.
  if (left) d.DragLeft = std::min<int>(r.left + dx, d.DragRight - d.DragMinWidth);
  if (right) d.DragRight = std::max<int>(r.right + dx, d.DragLeft + d.DragMinWidth);
  if (top) d.DragTop = std::min<int>(r.top + dy, d.DragBottom - d.DragMinHeight);
  if (bottom) d.DragBottom = std::max<int>(r.bottom + dy, d.DragTop + d.DragMinHeight);
  DrawDragFrame(drag.DragLeft, drag.DragTop);
}

void TsSkinProvider::StopBorderDrag(bool apply) {
  if (ResizeMode != rmBorder || !BorderDragging()) return;
  HWND wnd = FormHandle();
  drag.Dragging = false;
  if (::GetCapture() == wnd) ::ReleaseCapture();
  DrawDragFrame(drag.DragLeft, drag.DragTop);
  drag.Desktop.reset();
  drag.Owner = nullptr;
  const bool sized = !drag.SysMoveStarted;
  drag.SysMoveStarted = false;
  drag.DragCode = 0;
  if (!apply || !wnd) return;
  const RECT r = WindowRectOf(wnd);
  if (drag.DragMoving)
    ::MoveWindow(wnd, drag.DragLeft, drag.DragTop, r.right - r.left, r.bottom - r.top, TRUE);
  else if (sized)
    ::MoveWindow(wnd, drag.DragLeft, drag.DragTop, drag.DragRight - drag.DragLeft,
                 drag.DragBottom - drag.DragTop, TRUE);
}

void TsSkinProvider::OnMouseMove(TMessage& message) {
  CallOld(message);
  if (!BorderDragging()) return;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  ::ClientToScreen(FormHandle(), &p);
  DragMouseMove(p.x, p.y);
}

bool TsSkinProvider::EndBorderDragAt(TMessage& message, bool clientPoint) {
  if (!BorderDragging() || ::IsZoomed(FormHandle())) return false;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  if (clientPoint) ::ClientToScreen(FormHandle(), &p);
  // The release point is where the outline ends.
  DragMouseMove(p.x, p.y);
  StopBorderDrag(true);
  message.WParam = 0;
  message.Result = 0;
  return true;
}
