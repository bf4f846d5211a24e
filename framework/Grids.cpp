#include "framework/Grids.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/SysUtils.h"

namespace {
constexpr int kSizingSlop = 2;       // pixels either side of a column edge that grab it
constexpr int kMinColWidth = 4;      // a dragged column stays at least this wide
constexpr int kWheelRows = 3;
}  // namespace

// ---------------------------------------------------------------- TCustomGrid

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  colWidths_.assign(static_cast<size_t>(colCount_), defaultColWidth_);
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateWindowState() { UpdateScrollBar(); }

void TCustomGrid::SetColCount(int v) {
  v = std::max(v, 1);
  if (v == colCount_) return;
  colCount_ = v;
  colWidths_.resize(static_cast<size_t>(v), defaultColWidth_);
  if (fixedCols_ >= v) fixedCols_ = v - 1;
  AdjustSelection();
  UpdateScrollBar();
  Invalidate();
}

void TCustomGrid::SetRowCount(int v) {
  v = std::max(v, 1);
  if (v == rowCount_) return;
  rowCount_ = v;
  if (fixedRows_ >= v) fixedRows_ = v - 1;
  AdjustSelection();
  ClampTopRow();
  UpdateScrollBar();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int v) {
  v = std::clamp(v, 0, colCount_ - 1);
  if (v == fixedCols_) return;
  fixedCols_ = v;
  AdjustSelection();
  UpdateScrollBar();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int v) {
  v = std::clamp(v, 0, rowCount_ - 1);
  if (v == fixedRows_) return;
  fixedRows_ = v;
  AdjustSelection();
  ClampTopRow();
  UpdateScrollBar();
  Invalidate();
}

// The current cell and its anchor stay on scrolling cells after the shape
// of the grid changed.
void TCustomGrid::AdjustSelection() {
  auto clampCol = [&](int c) { return std::clamp(c, fixedCols_, std::max(fixedCols_, colCount_ - 1)); };
  auto clampRow = [&](int r) { return std::clamp(r, fixedRows_, std::max(fixedRows_, rowCount_ - 1)); };
  col_ = clampCol(col_);
  row_ = clampRow(row_);
  anchorCol_ = clampCol(anchorCol_);
  anchorRow_ = clampRow(anchorRow_);
  if (topRow_ < fixedRows_) topRow_ = fixedRows_;
  leftCol_ = clampCol(leftCol_);
}

void TCustomGrid::SetDefaultColWidth(int v) {
  defaultColWidth_ = std::max(v, 0);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  UpdateScrollBar();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
  defaultRowHeight_ = std::max(v, 1);
  ClampTopRow();
  UpdateScrollBar();
  Invalidate();
}

int TCustomGrid::ColWidths(int col) const {
  if (col < 0 || col >= colCount_) return defaultColWidth_;
  return colWidths_[static_cast<size_t>(col)];
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= colCount_) return;
  width = std::max(width, 0);
  if (colWidths_[static_cast<size_t>(col)] == width) return;
  colWidths_[static_cast<size_t>(col)] = width;
  UpdateScrollBar();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v) {
  gridLineWidth_ = std::max(v, 0);
  ClampTopRow();
  UpdateScrollBar();
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
  if (v == options_) return;
  options_ = v;
  if (!(v & goRangeSelect)) {
    anchorCol_ = col_;
    anchorRow_ = row_;
  }
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor v) {
  fixedColor_ = v;
  Invalidate();
}

void TCustomGrid::SetSelectionColor(TColor v) {
  if (v == selectionColor_) return;
  selectionColor_ = v;
  Invalidate();
}

void TCustomGrid::SetSelectionFontColor(TColor v) {
  if (v == selectionFontColor_) return;
  selectionFontColor_ = v;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

// ---------------------------------------------------------------- geometry

int TCustomGrid::FixedWidth() const {
  int x = 0;
  for (int c = 0; c < fixedCols_; ++c) x += ColWidths(c) + gridLineWidth_;
  return x;
}

// The fixed columns stand at the left; the scrolling ones follow from
// LeftCol. A column scrolled away to the left has no place (-1).
int TCustomGrid::ColLeft(int col) const {
  int x = 0;
  if (col < fixedCols_) {
    for (int c = 0; c < col; ++c) x += ColWidths(c) + gridLineWidth_;
    return x;
  }
  if (col < leftCol_) return -1;
  x = FixedWidth();
  for (int c = leftCol_; c < col && c < colCount_; ++c) x += ColWidths(c) + gridLineWidth_;
  return x;
}

int TCustomGrid::RowTop(int row) const {
  int step = defaultRowHeight_ + gridLineWidth_;
  if (row < fixedRows_) return row * step;
  if (row < topRow_) return -1;
  return fixedRows_ * step + (row - topRow_) * step;
}

int TCustomGrid::VisibleRowCount() const {
  int step = defaultRowHeight_ + gridLineWidth_;
  int room = ClientHeight() - fixedRows_ * step;
  return std::max(room / step, 0);
}

TRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return TRect{};
  int top = RowTop(row);
  if (top < 0 || top >= ClientHeight()) return TRect{};
  int left = ColLeft(col);
  if (left < 0) return TRect{};
  return TRect{left, top, left + ColWidths(col), top + defaultRowHeight_};
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = -1;
  row = -1;
  if (x < 0 || y < 0) return;
  int left = 0;
  for (int c = 0; c < colCount_; ++c) {
    if (c == fixedCols_) c = leftCol_;  // columns scrolled away take no room
    int right = left + ColWidths(c) + gridLineWidth_;
    if (x < right) {
      col = c;
      break;
    }
    left = right;
  }
  int step = defaultRowHeight_ + gridLineWidth_;
  int fixedHeight = fixedRows_ * step;
  int r = y < fixedHeight ? y / step : topRow_ + (y - fixedHeight) / step;
  if (r < rowCount_) row = r;
  if (col < 0 || row < 0) col = row = -1;
}

int TCustomGrid::ColEdgeAt(int x, int y) const {
  int step = defaultRowHeight_ + gridLineWidth_;
  if (fixedRows_ == 0 || y < 0 || y >= fixedRows_ * step) return -1;
  int edge = 0;
  for (int c = 0; c < colCount_; ++c) {
    if (c == fixedCols_) c = leftCol_;
    edge += ColWidths(c);
    if (x >= edge - kSizingSlop && x <= edge + gridLineWidth_ + kSizingSlop) return c;
    edge += gridLineWidth_;
  }
  return -1;
}

// ---------------------------------------------------------------- selection

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(anchorCol_, col_), std::min(anchorRow_, row_), std::max(anchorCol_, col_),
              std::max(anchorRow_, row_)};
  if (options_ & goRowSelect) {
    r.Left = fixedCols_;
    r.Right = colCount_ - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& r) {
  anchorCol_ = r.Left;
  anchorRow_ = r.Top;
  col_ = r.Right;
  row_ = r.Bottom;
  if (!(options_ & goRangeSelect)) {
    anchorCol_ = col_;
    anchorRow_ = row_;
  }
  AdjustSelection();
  MakeRowVisible(row_);
  Invalidate();
}

bool TCustomGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

void TCustomGrid::FocusCell(int col, int row, bool extend) {
  if (rowCount_ <= fixedRows_ || colCount_ <= fixedCols_) return;
  col = std::clamp(col, fixedCols_, colCount_ - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  if ((col != col_ || row != row_) && !SelectCell(col, row)) return;
  col_ = col;
  row_ = row;
  if (!extend || !(options_ & goRangeSelect)) {
    anchorCol_ = col;
    anchorRow_ = row;
  }
  MakeRowVisible(row);
  if (!(options_ & goRowSelect)) MakeColVisible(col);
  Invalidate();
}

// ---------------------------------------------------------------- scrolling

void TCustomGrid::ClampTopRow() {
  int last = std::max(fixedRows_, rowCount_ - std::max(VisibleRowCount(), 1));
  topRow_ = std::clamp(topRow_, fixedRows_, last);
}

void TCustomGrid::SetTopRow(int v) {
  int old = topRow_;
  topRow_ = v;
  ClampTopRow();
  if (topRow_ == old) return;
  UpdateScrollBar();
  Invalidate();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::MakeRowVisible(int row) {
  if (row < fixedRows_) return;
  int visible = std::max(VisibleRowCount(), 1);
  if (row < topRow_) SetTopRow(row);
  else if (row >= topRow_ + visible) SetTopRow(row - visible + 1);
}

int TCustomGrid::MaxLeftCol() const {
  const int room = ClientWidth() - FixedWidth();
  int used = 0, c = colCount_;
  while (c > fixedCols_) {
    const int w = ColWidths(c - 1) + gridLineWidth_;
    if (used + w > room) break;
    used += w;
    --c;
  }
  return std::clamp(c, fixedCols_, std::max(fixedCols_, colCount_ - 1));
}

void TCustomGrid::ClampLeftCol() { leftCol_ = std::clamp(leftCol_, fixedCols_, MaxLeftCol()); }

void TCustomGrid::SetLeftCol(int v) {
  int old = leftCol_;
  leftCol_ = v;
  ClampLeftCol();
  if (leftCol_ == old) return;
  UpdateScrollBar();
  Invalidate();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::MakeColVisible(int col) {
  if (col < fixedCols_ || col >= colCount_) return;
  if (col < leftCol_) {
    SetLeftCol(col);
    return;
  }
  // The first column from which `col` still ends inside the view.
  int left = col, used = ColWidths(col) + gridLineWidth_;
  const int room = ClientWidth() - FixedWidth();
  while (left > leftCol_ && used + ColWidths(left - 1) + gridLineWidth_ <= room) {
    --left;
    used += ColWidths(left) + gridLineWidth_;
  }
  if (left > leftCol_) SetLeftCol(left);
}

void TCustomGrid::UpdateScrollBar() {
  if (!HandleAllocated() || updatingScrollBars_) return;
  updatingScrollBars_ = true;
  // A bar that comes or goes narrows or widens the room of the other one:
  // the second round settles both.
  for (int round = 0; round < 2; ++round) {
    ClampTopRow();
    ClampLeftCol();
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
      si.nMin = 0;
      si.nMax = std::max(rowCount_ - fixedRows_ - 1, 0);
      si.nPage = static_cast<UINT>(std::max(VisibleRowCount(), 1));
      si.nPos = topRow_ - fixedRows_;
      // Without rows to scroll the bar goes away (page covers the range).
      if (rowCount_ - fixedRows_ <= VisibleRowCount()) si.nMax = 0, si.nPage = 1;
      SetScrollInfo(WindowHandle(), SB_VERT, &si, TRUE);
    }
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
      // One step per column; the page is the columns in view at the far
      // right. Without columns to scroll the bar goes away.
      const int maxLeft = MaxLeftCol();
      const int steps = maxLeft - fixedCols_;
      const int page = std::max(colCount_ - maxLeft, 1);
      si.nMin = 0;
      si.nMax = steps > 0 ? steps + page - 1 : 0;
      si.nPage = steps > 0 ? static_cast<UINT>(page) : 1;
      si.nPos = leftCol_ - fixedCols_;
      SetScrollInfo(WindowHandle(), SB_HORZ, &si, TRUE);
    }
  }
  updatingScrollBars_ = false;
}

void TCustomGrid::WMVScroll(TMessage& message) {
  int visible = std::max(VisibleRowCount(), 1);
  switch (LOWORD(message.WParam)) {
    case SB_LINEUP: SetTopRow(topRow_ - 1); break;
    case SB_LINEDOWN: SetTopRow(topRow_ + 1); break;
    case SB_PAGEUP: SetTopRow(topRow_ - visible); break;
    case SB_PAGEDOWN: SetTopRow(topRow_ + visible); break;
    case SB_TOP: SetTopRow(fixedRows_); break;
    case SB_BOTTOM: SetTopRow(rowCount_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(WindowHandle(), SB_VERT, &si);
      SetTopRow(fixedRows_ + si.nTrackPos);
      break;
    }
  }
  message.Result = 0;
}

void TCustomGrid::WMHScroll(TMessage& message) {
  const int page = std::max(colCount_ - MaxLeftCol(), 1);
  switch (LOWORD(message.WParam)) {
    case SB_LINELEFT: SetLeftCol(leftCol_ - 1); break;
    case SB_LINERIGHT: SetLeftCol(leftCol_ + 1); break;
    case SB_PAGELEFT: SetLeftCol(leftCol_ - page); break;
    case SB_PAGERIGHT: SetLeftCol(leftCol_ + page); break;
    case SB_LEFT: SetLeftCol(fixedCols_); break;
    case SB_RIGHT: SetLeftCol(colCount_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(WindowHandle(), SB_HORZ, &si);
      SetLeftCol(fixedCols_ + si.nTrackPos);
      break;
    }
  }
  message.Result = 0;
}

// ---------------------------------------------------------------- input

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (CanFocus() && HandleAllocated() && GetFocus() != WindowHandle()) SetFocus();
    int edge = (options_ & goColSizing) ? ColEdgeAt(x, y) : -1;
    if (edge >= 0) {
      sizingCol_ = edge;
      sizingStartX_ = x;
      sizingStartWidth_ = ColWidths(edge);
    } else {
      int col, row;
      MouseToCell(x, y, col, row);
      if (col >= fixedCols_ && row >= fixedRows_) {
        FocusCell(col, row, (shift & ssShift) != 0);
        selecting_ = true;
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  if (sizingCol_ >= 0) {
    SetColWidths(sizingCol_, std::max(sizingStartWidth_ + (x - sizingStartX_), kMinColWidth));
  } else if (selecting_ && (options_ & goRangeSelect)) {
    int col, row;
    MouseToCell(x, std::max(y, 0), col, row);
    // Dragging past the last visible row scrolls on by one.
    if (y >= ClientHeight() && row_ + 1 < rowCount_) row = row_ + 1;
    if (row >= fixedRows_) FocusCell(col >= fixedCols_ ? col : col_, row, true);
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    sizingCol_ = -1;
    selecting_ = false;
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  bool extend = (shift & ssShift) != 0;
  bool rowSelect = (options_ & goRowSelect) != 0;
  int visible = std::max(VisibleRowCount(), 1);
  switch (key) {
    case VK_UP: FocusCell(col_, row_ - 1, extend); break;
    case VK_DOWN: FocusCell(col_, row_ + 1, extend); break;
    case VK_LEFT: if (!rowSelect) FocusCell(col_ - 1, row_, extend); break;
    case VK_RIGHT: if (!rowSelect) FocusCell(col_ + 1, row_, extend); break;
    case VK_PRIOR: FocusCell(col_, row_ - visible, extend); break;
    case VK_NEXT: FocusCell(col_, row_ + visible, extend); break;
    case VK_HOME:
      if (rowSelect || (shift & ssCtrl)) FocusCell(col_, fixedRows_, extend);
      else FocusCell(fixedCols_, row_, extend);
      break;
    case VK_END:
      if (rowSelect || (shift & ssCtrl)) FocusCell(col_, rowCount_ - 1, extend);
      else FocusCell(colCount_ - 1, row_, extend);
      break;
    default:
      return;
  }
  key = 0;
}

void TCustomGrid::WMSetCursor(TMessage& message) {
  if (LOWORD(message.LParam) == HTCLIENT && (options_ & goColSizing)) {
    POINT p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    if (sizingCol_ >= 0 || ColEdgeAt(p.x, p.y) >= 0) {
      ::SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
      message.Result = TRUE;
      return;
    }
  }
  DefaultHandler(message);
}

void TCustomGrid::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS;
      return;
    case WM_VSCROLL:
      WMVScroll(message);
      return;
    case WM_HSCROLL:
      WMHScroll(message);
      return;
    case WM_MOUSEWHEEL: {
      int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
      SetTopRow(topRow_ - notches * kWheelRows);
      message.Result = 0;
      return;
    }
    case WM_SETCURSOR:
      WMSetCursor(message);
      return;
    case WM_ERASEBKGND:
      message.Result = 1;  // Paint covers every pixel
      return;
    case WM_SIZE:
      TCustomControl::WndProc(message);
      ClampTopRow();
      UpdateScrollBar();
      Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      break;
  }
  TCustomControl::WndProc(message);
}

// ---------------------------------------------------------------- painting

void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  RECT client = ClientRect();
  TGridRect sel = Selection();
  bool focused = Focused();
  int step = defaultRowHeight_ + gridLineWidth_;
  auto lineBrush = [&](bool fixed) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(fixed ? clBtnShadow : clSilver);
  };
  c->Font()->Assign(Font());
  int lastBottom = 0, lastRight = ColLeft(colCount_);
  auto paintRow = [&](int row) {
    int top = RowTop(row);
    if (top < 0 || top >= client.bottom) return false;
    for (int col = 0; col < colCount_; ++col) {
      if (col == fixedCols_) col = leftCol_;  // columns scrolled away
      TRect r = CellRect(col, row);
      if (r.left >= client.right) break;
      bool fixed = row < fixedRows_ || col < fixedCols_;
      TGridDrawState state = fixed ? TGridDrawState(gdFixed) : 0u;
      if (!fixed && col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom)
        state |= gdSelected;
      if (!fixed && col == col_ && row == row_ && focused) state |= gdFocused;
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(fixed ? fixedColor_ : (state & gdSelected) ? selectionColor_ : Color());
      // A cell painter may have changed the font of the cell before.
      if (OnDrawCell) c->Font()->Assign(Font());
      c->Font()->SetColor((state & gdSelected) ? selectionFontColor_ : Font()->Color());
      c->FillRect(r);
      DrawCell(col, row, r, state);
      if (OnDrawCell) OnDrawCell(this, col, row, r, state);
      if ((state & gdFocused) && !(options_ & goRowSelect)) c->DrawFocusRect(r);
      // Lines after the cell: right and bottom.
      if (gridLineWidth_ > 0) {
        bool vert = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
        bool horz = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
        RECT right{r.right, r.top, r.right + gridLineWidth_, r.bottom + gridLineWidth_};
        RECT bottom{r.left, r.bottom, r.right + gridLineWidth_, r.bottom + gridLineWidth_};
        if (vert) lineBrush(fixed); else { c->Brush()->SetColor(fixed ? fixedColor_ : Color()); }
        c->FillRect(right);
        if (horz) lineBrush(fixed); else { c->Brush()->SetColor(fixed ? fixedColor_ : Color()); }
        c->FillRect(bottom);
      }
    }
    lastBottom = top + step;
    return true;
  };
  for (int row = 0; row < fixedRows_; ++row) paintRow(row);
  for (int row = topRow_; row < rowCount_; ++row)
    if (!paintRow(row)) break;
  // The rest of the window beyond the cells.
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  if (lastRight < client.right) c->FillRect(TRect{lastRight, 0, client.right, client.bottom});
  if (lastBottom < client.bottom) c->FillRect(TRect{0, lastBottom, std::min<int>(lastRight, client.right), client.bottom});
  // Selected rows show their focus as a whole when the grid has it.
  if (focused && (options_ & goRowSelect) && row_ >= topRow_) {
    TRect first = CellRect(leftCol_, row_);
    if (first.bottom > first.top) c->DrawFocusRect(TRect{first.left, first.top, lastRight - gridLineWidth_, first.bottom});
  }
}

void TCustomGrid::DrawCell(int, int, TRect, TGridDrawState) {}

void TCustomGrid::InvalidateCell(int col, int row) {
  if (!HandleAllocated()) return;
  TRect r = CellRect(col, row);
  // A cell out of view has nothing to repaint; filling a long grid would
  // otherwise cost a window-system call per cell.
  if (r.right <= r.left || r.bottom <= r.top) return;
  InvalidateRect(WindowHandle(), &r, FALSE);
}

// ---------------------------------------------------------------- TStringGrid

// One row's or one column's cells as a string list.
class TGridStrings : public TStrings {
 public:
  TGridStrings(TStringGrid* grid, bool row, int index) : grid_(grid), row_(row), index_(index) {}
  void Insert(int, const std::wstring&) override {
    throw EInvalidOperation(L"Grid rows and columns take no insertions");
  }
  void Delete(int) override { throw EInvalidOperation(L"Grid rows and columns take no deletions"); }
  void Clear() override {
    for (int i = 0, n = GetCount(); i < n; ++i) Put(i, L"");
  }

 protected:
  std::wstring Get(int i) const override { return row_ ? grid_->Cells(i, index_) : grid_->Cells(index_, i); }
  int GetCount() const override { return row_ ? grid_->ColCount() : grid_->RowCount(); }
  void Put(int i, const std::wstring& s) override {
    if (row_) grid_->SetCells(i, index_, s);
    else grid_->SetCells(index_, i, s);
  }

 private:
  TStringGrid* grid_;
  bool row_;
  int index_;
};

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

std::wstring TStringGrid::Cells(int col, int row) const {
  if (row < 0 || col < 0 || row >= static_cast<int>(cells_.size())) return L"";
  const auto& line = cells_[static_cast<size_t>(row)];
  return col < static_cast<int>(line.size()) ? line[static_cast<size_t>(col)] : L"";
}

void TStringGrid::SetCells(int col, int row, const std::wstring& s) {
  if (row < 0 || col < 0) return;
  if (row >= static_cast<int>(cells_.size())) {
    if (s.empty()) return;
    cells_.resize(static_cast<size_t>(row) + 1);
  }
  auto& line = cells_[static_cast<size_t>(row)];
  if (col >= static_cast<int>(line.size())) {
    if (s.empty()) return;
    line.resize(static_cast<size_t>(col) + 1);
  }
  if (line[static_cast<size_t>(col)] == s) return;
  line[static_cast<size_t>(col)] = s;
  InvalidateCell(col, row);
}

TStrings* TStringGrid::Rows(int row) {
  if (row < 0) return nullptr;
  if (row >= static_cast<int>(rowViews_.size())) rowViews_.resize(static_cast<size_t>(row) + 1);
  auto& v = rowViews_[static_cast<size_t>(row)];
  if (!v) v = std::make_unique<TGridStrings>(this, true, row);
  return v.get();
}

TStrings* TStringGrid::Cols(int col) {
  if (col < 0) return nullptr;
  if (col >= static_cast<int>(colViews_.size())) colViews_.resize(static_cast<size_t>(col) + 1);
  auto& v = colViews_[static_cast<size_t>(col)];
  if (!v) v = std::make_unique<TGridStrings>(this, false, col);
  return v.get();
}

void TStringGrid::SetColCount(int v) {
  TCustomGrid::SetColCount(v);
  // Cells beyond the grid are dropped, as a smaller grid forgets them.
  for (auto& line : cells_)
    if (static_cast<int>(line.size()) > ColCount()) line.resize(static_cast<size_t>(ColCount()));
}

void TStringGrid::SetRowCount(int v) {
  TCustomGrid::SetRowCount(v);
  if (static_cast<int>(cells_.size()) > RowCount()) cells_.resize(static_cast<size_t>(RowCount()));
}

void TStringGrid::DrawCell(int col, int row, TRect rect, TGridDrawState state) {
  TCustomGrid::DrawCell(col, row, rect, state);
  std::wstring text = Cells(col, row);
  if (text.empty()) return;
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsClear);
  c->TextRect(rect, rect.left + 2, rect.top + 2, text);
}
