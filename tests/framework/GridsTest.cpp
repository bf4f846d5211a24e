// TStringGrid: cells, geometry, selection by mouse and keyboard, scrolling
// and column sizing, and the painted cells.
#include <gtest/gtest.h>

#include "framework/Grids.h"
#include "tests/framework/FormTestSupport.h"

namespace {

constexpr int kRowH = 17;
constexpr int kStep = kRowH + 1;  // row plus grid line

class GridTest : public FormTest {
 protected:
  // A grid like the duplicate result window's: 5 columns, no fixed
  // column, one header row, whole-row range selection, column sizing.
  TStringGrid* MakeGrid(int rows, int visibleRows = 5) {
    // Client area: the header and `visibleRows` rows; 2-pixel client edge;
    // wide enough for the columns beside a vertical scroll bar.
    auto* g = Make<TStringGrid>(8, 8, 440, kStep * (visibleRows + 1) + 4);
    g->SetColCount(5);
    g->SetFixedCols(0);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(kRowH);
    const int widths[] = {48, 94, 61, 107, 90};
    for (int c = 0; c < 5; ++c) g->SetColWidths(c, widths[c]);
    g->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect |
                  goColSizing | goRowSelect);
    g->SetRowCount(rows);
    return g;
  }
  static void Mouse(TWinControl* c, UINT msg, int x, int y, WPARAM keys = 0) {
    SendMessageW(c->Handle(), msg, keys, MAKELPARAM(x, y));
  }
  static void Key(TWinControl* c, WORD vk) { SendMessageW(c->Handle(), WM_KEYDOWN, vk, 0); }
};

TEST_F(GridTest, CellsRowsAndColumns) {
  TStringGrid* g = MakeGrid(4);
  g->SetCells(1, 2, L"photo.jpg");
  EXPECT_EQ(g->Cells(1, 2), L"photo.jpg");
  EXPECT_EQ(g->Cells(4, 3), L"");
  EXPECT_EQ(g->Rows(2)->Strings(1), L"photo.jpg");
  g->Cols(0)->SetStrings(3, L"7");
  EXPECT_EQ(g->Cells(0, 3), L"7");
  g->Cols(1)->Clear();
  EXPECT_EQ(g->Cells(1, 2), L"");
  EXPECT_EQ(g->Cols(1)->Count(), 4);
  g->SetCells(0, 3, L"x");
  g->SetRowCount(3);
  g->SetRowCount(4);
  EXPECT_EQ(g->Cells(0, 3), L"");  // dropped with the row
}

TEST_F(GridTest, CellGeometryAndMouseToCellAgree) {
  TStringGrid* g = MakeGrid(10);
  TRect r = g->CellRect(2, 1);
  EXPECT_EQ(r.left, 48 + 1 + 94 + 1);
  EXPECT_EQ(r.top, kStep);
  EXPECT_EQ(r.right - r.left, 61);
  EXPECT_EQ(r.bottom - r.top, kRowH);
  int col, row;
  g->MouseToCell(r.left + 3, r.top + 3, col, row);
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 1);
  g->MouseToCell(5, 2, col, row);
  EXPECT_EQ(row, 0);  // the header
  g->MouseToCell(1000, 5, col, row);
  EXPECT_EQ(col, -1);
}

TEST_F(GridTest, ClickSelectsARowAndShiftClickARange) {
  TStringGrid* g = MakeGrid(10);
  Mouse(g, WM_LBUTTONDOWN, 60, kStep * 2 + 5, MK_LBUTTON);
  Mouse(g, WM_LBUTTONUP, 60, kStep * 2 + 5);
  EXPECT_EQ(g->Row(), 2);
  Mouse(g, WM_LBUTTONDOWN, 60, kStep * 4 + 5, MK_LBUTTON | MK_SHIFT);
  Mouse(g, WM_LBUTTONUP, 60, kStep * 4 + 5);
  TGridRect sel = g->Selection();
  EXPECT_EQ(sel.Top, 2);
  EXPECT_EQ(sel.Bottom, 4);
  EXPECT_EQ(sel.Left, 0);
  EXPECT_EQ(sel.Right, 4);
  // A click on the header selects nothing new.
  Mouse(g, WM_LBUTTONDOWN, 60, 5, MK_LBUTTON);
  Mouse(g, WM_LBUTTONUP, 60, 5);
  EXPECT_EQ(g->Row(), 4);
}

TEST_F(GridTest, KeysMoveTheRowAndScrollItIntoView) {
  TStringGrid* g = MakeGrid(21);  // 20 data rows, 5 visible
  ASSERT_EQ(g->VisibleRowCount(), 5);
  Key(g, VK_END);
  EXPECT_EQ(g->Row(), 20);
  EXPECT_EQ(g->TopRow(), 16);
  Key(g, VK_HOME);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(g->TopRow(), 1);
  Key(g, VK_NEXT);
  EXPECT_EQ(g->Row(), 6);
  EXPECT_EQ(g->TopRow(), 2);
  Key(g, VK_DOWN);
  EXPECT_EQ(g->Row(), 7);
  Key(g, VK_UP);
  Key(g, VK_UP);
  EXPECT_EQ(g->Row(), 5);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(g->Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 19);
  EXPECT_EQ(si.nPage, 5u);
  EXPECT_EQ(si.nPos, g->TopRow() - 1);
}

bool HasHorzBar(TCustomGrid* g) {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  return GetScrollBarInfo(g->Handle(), OBJID_HSCROLL, &sbi) && !(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

// Columns wider than the grid: a horizontal bar scrolls them a column at a
// time until the last one lies whole in view; columns that fit need no bar.
struct HorzCase {
  int width;  // of the grid, its 2-pixel client edge included
  int rows;   // more than fit bring the vertical bar, which narrows the view
  bool bar;
  int maxLeftCol;
};

class GridHorzTest : public GridTest, public ::testing::WithParamInterface<HorzCase> {};

TEST_P(GridHorzTest, TheHorizontalBarShowsWhileColumnsExceedTheView) {
  const HorzCase& c = GetParam();
  auto* g = Make<TStringGrid>(8, 8, c.width, kStep * 6 + 4);
  g->SetColCount(3);
  g->SetFixedCols(0);
  g->SetFixedRows(1);
  g->SetDefaultRowHeight(kRowH);
  const int widths[] = {126, 202, 81};
  for (int col = 0; col < 3; ++col) g->SetColWidths(col, widths[col]);
  g->SetRowCount(c.rows);
  EXPECT_EQ(g->ScrollBars(), ssBoth);
  EXPECT_EQ(HasHorzBar(g), c.bar);
  const int clientWidth = g->ClientWidth();
  SendMessageW(g->Handle(), WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(g->LeftCol(), c.maxLeftCol);
  // At the far right the last column ends inside the view.
  const TRect last = g->CellRect(2, 0);
  EXPECT_GT(last.right, last.left);
  EXPECT_LE(last.right, clientWidth);
  if (!c.bar) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(g->Handle(), SB_HORZ, &si);
  EXPECT_EQ(si.nPos, c.maxLeftCol);
  // Scrolled away, column 0 has no place; the point at the left edge is
  // the first column in view.
  EXPECT_EQ(g->CellRect(0, 0).right, 0);
  int col, row;
  g->MouseToCell(3, 3, col, row);
  EXPECT_EQ(col, c.maxLeftCol);
  SendMessageW(g->Handle(), WM_HSCROLL, SB_LINELEFT, 0);
  EXPECT_EQ(g->LeftCol(), c.maxLeftCol - 1);
  SendMessageW(g->Handle(), WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(g->LeftCol(), 0);
}

INSTANTIATE_TEST_SUITE_P(Widths, GridHorzTest,
                         ::testing::Values(HorzCase{416, 3, false, 0},   // 409 + 3 lines fill 412
                                           HorzCase{416, 40, true, 1},   // the vertical bar takes the room
                                           HorzCase{300, 3, true, 1},    // columns 1 and 2 fit
                                           HorzCase{200, 3, true, 2}));  // only the last one fits

TEST_F(GridTest, AGridWithoutAHorizontalBarHasNoneToShow) {
  TStringGrid* g = MakeGrid(3);
  g->SetScrollBars(ssVertical);
  g->SetColWidths(4, 600);
  EXPECT_FALSE(GetWindowLongW(g->Handle(), GWL_STYLE) & WS_HSCROLL);
  EXPECT_FALSE(HasHorzBar(g));
  g->SetScrollBars(ssBoth);
  EXPECT_TRUE(HasHorzBar(g));
}

TEST_F(GridTest, ScrollBarMessagesMoveTheTopRowWithinBounds) {
  TStringGrid* g = MakeGrid(21);
  SendMessageW(g->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(g->TopRow(), 2);
  SendMessageW(g->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(g->TopRow(), 16);
  SendMessageW(g->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(g->TopRow(), 16);
  SendMessageW(g->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(g->TopRow(), 1);
  // Rows scrolled away are not visible: no rectangle.
  g->SetTopRow(5);
  TRect hidden = g->CellRect(0, 2);
  EXPECT_EQ(hidden.right - hidden.left, 0);
}

TEST_F(GridTest, DraggingAHeaderEdgeSizesTheColumn) {
  TStringGrid* g = MakeGrid(5);
  int edge = 48 + 1 + 94;  // right edge of column 1
  Mouse(g, WM_LBUTTONDOWN, edge, 5, MK_LBUTTON);
  Mouse(g, WM_MOUSEMOVE, edge + 30, 5, MK_LBUTTON);
  Mouse(g, WM_LBUTTONUP, edge + 30, 5);
  EXPECT_EQ(g->ColWidths(1), 94 + 30);
  EXPECT_EQ(g->ColWidths(0), 48);
  Mouse(g, WM_LBUTTONDOWN, edge + 30, 5, MK_LBUTTON);
  Mouse(g, WM_MOUSEMOVE, edge - 500, 5, MK_LBUTTON);
  Mouse(g, WM_LBUTTONUP, edge - 500, 5);
  EXPECT_GT(g->ColWidths(1), 0);
  // Without column sizing the edge is just part of the header.
  g->SetOptions(g->Options() & ~goColSizing);
  Mouse(g, WM_LBUTTONDOWN, 48, 5, MK_LBUTTON);
  Mouse(g, WM_MOUSEMOVE, 98, 5, MK_LBUTTON);
  Mouse(g, WM_LBUTTONUP, 98, 5);
  EXPECT_EQ(g->ColWidths(0), 48);
}

TEST_F(GridTest, SelectCellCanRefuseAMove) {
  TStringGrid* g = MakeGrid(6);
  g->OnSelectCell = [](TObject*, int, int row, bool& can) { can = row != 3; };
  Key(g, VK_DOWN);
  EXPECT_EQ(g->Row(), 2);
  Key(g, VK_DOWN);
  EXPECT_EQ(g->Row(), 2);
}

TEST_F(GridTest, PaintsFixedAndSelectedCellsInTheirColours) {
  TStringGrid* g = MakeGrid(6);
  g->SetFixedColor(clSilver);
  g->SetRow(2);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 420;
  bi.bmiHeader.biHeight = -200;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(g->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  auto pixel = [&](int x, int y) {
    DWORD v = static_cast<DWORD*>(bits)[y * 420 + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  };
  EXPECT_EQ(pixel(40, 8), static_cast<COLORREF>(0xC0C0C0));                         // header
  EXPECT_EQ(pixel(40, kStep * 2 + 8), GetSysColor(COLOR_HIGHLIGHT));                 // row 2
  EXPECT_EQ(pixel(40, kStep * 3 + 8), GetSysColor(COLOR_WINDOW));                    // row 3
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bmp);
}

}  // namespace
