// Grids: TCustomGrid paints a table of cells itself (fixed rows and columns
// in FixedColor, the rest in Color), keeps a selected cell or range, scrolls
// rows with a vertical and columns with a horizontal scroll bar, and lets
// the user size columns by dragging the edges in the fixed rows. TStringGrid
// adds a text per cell.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"

enum TGridOptionFlag : uint32_t {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,  // kept for the pages; rows all have DefaultRowHeight
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14,
};
using TGridOptions = uint32_t;

enum TGridDrawStateFlag : uint32_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = uint32_t;

// A block of cells, inclusive on all sides.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;
  const wchar_t* ClassName() const override { return L"TCustomGrid"; }

  int ColCount() const { return colCount_; }
  virtual void SetColCount(int v);
  int RowCount() const { return rowCount_; }
  virtual void SetRowCount(int v);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int v);  // every column takes it
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int v);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const { (void)row; return defaultRowHeight_; }
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int v);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions v);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor v);
  // Face and text of selected cells (the system's highlight by default).
  TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor v);
  TColor SelectionFontColor() const { return selectionFontColor_; }
  void SetSelectionFontColor(TColor v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // Which scroll bars the grid may show; each shows only while there is
  // something to scroll that way.
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);

  // The current cell; moving it collapses the range to it.
  int Col() const { return col_; }
  void SetCol(int v) { FocusCell(v, row_, false); }
  int Row() const { return row_; }
  void SetRow(int v) { FocusCell(col_, v, false); }
  // The selected block (with goRowSelect it spans every scrolling column).
  TGridRect Selection() const;
  void SetSelection(const TGridRect& r);
  int TopRow() const { return topRow_; }
  void SetTopRow(int v);
  // The first scrolling column in view (right of the fixed columns).
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int v);
  // Whole non-fixed rows that fit in the client area (at least 1 counted
  // for scrolling arithmetic when a row exists).
  int VisibleRowCount() const;

  // The cell under a client point (col/row -1 when outside every cell).
  void MouseToCell(int x, int y, int& col, int& row) const;
  // The cell's rectangle in client coordinates, empty when not visible.
  TRect CellRect(int col, int row) const;

  TSelectCellEvent OnSelectCell;
  TDrawCellEvent OnDrawCell;
  TNotifyEvent OnTopLeftChanged;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void Paint() override;
  virtual void DrawCell(int col, int row, TRect rect, TGridDrawState state);
  virtual bool SelectCell(int col, int row);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void InvalidateCell(int col, int row);
  void InvalidateGrid() { Invalidate(); }
  // Moves the current cell; `extend` keeps the anchor (range selection).
  void FocusCell(int col, int row, bool extend);

 private:
  // Column sizing: the column whose right edge is under x in a fixed row, or -1.
  int ColEdgeAt(int x, int y) const;
  int ColLeft(int col) const;  // client x of a column's left edge
  int RowTop(int row) const;   // client y of a row's top edge (-1 above the view)
  void ClampTopRow();
  void MakeRowVisible(int row);
  // The last LeftCol that still fills the view: every column from it to the
  // end fits beside the fixed ones (the fixed columns when all fit).
  int MaxLeftCol() const;
  int FixedWidth() const;
  void ClampLeftCol();
  void MakeColVisible(int col);
  // Both bars from the grid's shape and view (each only when allowed).
  void UpdateScrollBar();
  void WMVScroll(TMessage& message);
  void WMHScroll(TMessage& message);
  void WMSetCursor(TMessage& message);
  void AdjustSelection();

  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
  std::vector<int> colWidths_;
  TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                          goRangeSelect;
  TColor fixedColor_ = clBtnFace;
  TColor selectionColor_ = clHighlight, selectionFontColor_ = clHighlightText;
  TBorderStyle borderStyle_ = bsSingle;
  TScrollStyle scrollBars_ = ssBoth;
  bool updatingScrollBars_ = false;
  int col_ = 1, row_ = 1;
  int anchorCol_ = 1, anchorRow_ = 1;
  int topRow_ = 1;
  int leftCol_ = 1;
  // Mouse gestures.
  bool selecting_ = false;
  int sizingCol_ = -1;
  int sizingStartX_ = 0, sizingStartWidth_ = 0;
};

class TStringGrid : public TCustomGrid {
 public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;
  const wchar_t* ClassName() const override { return L"TStringGrid"; }

  std::wstring Cells(int col, int row) const;
  void SetCells(int col, int row, const std::wstring& s);
  // Views of one row's or one column's cells (reads and writes go to the
  // grid; Clear empties the cells, Add/Insert/Delete are not available).
  TStrings* Rows(int row);
  TStrings* Cols(int col);
  void SetColCount(int v) override;
  void SetRowCount(int v) override;

 protected:
  void DrawCell(int col, int row, TRect rect, TGridDrawState state) override;

 private:
  friend class TGridStrings;
  std::vector<std::vector<std::wstring>> cells_;  // [row][col]
  std::vector<std::unique_ptr<TStrings>> rowViews_, colViews_;
};
