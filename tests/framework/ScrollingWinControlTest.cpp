// Scrolling containers: ranges measured from the children or set by the
// program, the window's bars kept in step, scroll messages moving the
// children, positions kept inside the range when it or the box changes.
#include <gtest/gtest.h>

#include "framework/ExtCtrls.h"
#include "tests/framework/FormTestSupport.h"

namespace {

class ScrollingContainerTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    box = Make<TScrollBox>(8, 8, 200, 120);
    box->SetBorderStyle(bsNone);
    box->SetAutoScroll(true);
    child = Construct<TPanel>(form);
    child->SetBounds(0, 0, 100, 300);
    child->SetParent(box);
  }
  bool HasBar(int bar) const {
    const LONG_PTR style = GetWindowLongPtrW(box->Handle(), GWL_STYLE);
    return (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
  }
  SCROLLINFO Info(int bar) const {
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(box->Handle(), bar, &si);
    return si;
  }
  void Scroll(int code, int thumb = 0) {
    SendMessageW(box->Handle(), WM_VSCROLL, MAKEWPARAM(code, thumb), 0);
  }

  TScrollBox* box = nullptr;
  TPanel* child = nullptr;
};

TEST_F(ScrollingContainerTest, RangesFollowTheChildrenAndTheWindowsBarsShowThem) {
  EXPECT_TRUE(HasBar(SB_VERT));
  EXPECT_FALSE(HasBar(SB_HORZ));
  EXPECT_EQ(300, box->VertScrollBar()->Range());
  SCROLLINFO v = Info(SB_VERT);
  EXPECT_EQ(299, v.nMax);
  EXPECT_EQ(box->ClientHeight(), static_cast<int>(v.nPage));
  EXPECT_EQ(120, box->ClientHeight());

  // Wider than the client: the horizontal bar comes, and the vertical page
  // shrinks by its height.
  child->SetWidth(500);
  EXPECT_TRUE(HasBar(SB_HORZ));
  EXPECT_EQ(500, box->HorzScrollBar()->Range());
  EXPECT_EQ(120 - GetSystemMetrics(SM_CYHSCROLL), static_cast<int>(Info(SB_VERT).nPage));
  EXPECT_EQ(box->ClientWidth(), static_cast<int>(Info(SB_HORZ).nPage));

  // Contents that fit take both bars away.
  child->SetBounds(0, 0, 50, 50);
  EXPECT_FALSE(HasBar(SB_VERT));
  EXPECT_FALSE(HasBar(SB_HORZ));
}

TEST_F(ScrollingContainerTest, ScrollMessagesMoveTheChildrenWithinTheRange) {
  const int page = box->ClientHeight();
  const int last = 300 - page;
  struct Case {
    int code, thumb, position;
  } cases[] = {
      {SB_LINEDOWN, 0, 8},   {SB_LINEDOWN, 0, 16},      {SB_LINEUP, 0, 8},
      {SB_PAGEDOWN, 0, 8 + page}, {SB_PAGEDOWN, 0, last}, {SB_PAGEUP, 0, last - page},
      {SB_THUMBPOSITION, 0, 0}, {SB_THUMBTRACK, 77, 77}, {SB_BOTTOM, 0, last},
      {SB_LINEDOWN, 0, last}, {SB_TOP, 0, 0},           {SB_LINEUP, 0, 0},
  };
  for (const Case& c : cases) {
    Scroll(c.code, c.thumb);
    SCOPED_TRACE(testing::Message() << "code " << c.code << " thumb " << c.thumb);
    EXPECT_EQ(c.position, box->VertScrollBar()->Position());
    EXPECT_EQ(c.position, Info(SB_VERT).nPos);
    EXPECT_EQ(-c.position, child->Top());
    RECT r;
    GetWindowRect(child->Handle(), &r);
    POINT p{r.left, r.top};
    ScreenToClient(box->Handle(), &p);
    EXPECT_EQ(-c.position, p.y) << "the child's window moved with it";
  }
  // The measured range does not grow as the contents move up.
  EXPECT_EQ(300, box->VertScrollBar()->Range());
}

TEST_F(ScrollingContainerTest, ARangeSetByTheProgramHoldsAndPositionsStayInside) {
  box->VertScrollBar()->SetRange(1000);
  child->SetHeight(200);  // the measure would say 200
  EXPECT_EQ(1000, box->VertScrollBar()->Range());
  EXPECT_EQ(999, Info(SB_VERT).nMax);

  box->VertScrollBar()->SetPosition(5000);
  const int last = 1000 - box->ClientHeight();
  EXPECT_EQ(last, box->VertScrollBar()->Position());
  EXPECT_EQ(-last, child->Top());

  // A shorter range pulls the contents back; a taller box does the same.
  box->VertScrollBar()->SetRange(400);
  EXPECT_EQ(400 - box->ClientHeight(), box->VertScrollBar()->Position());
  EXPECT_EQ(-(400 - box->ClientHeight()), child->Top());
  box->SetHeight(500);
  EXPECT_EQ(0, box->VertScrollBar()->Position());
  EXPECT_EQ(0, child->Top());
  EXPECT_FALSE(HasBar(SB_VERT));
}

TEST_F(ScrollingContainerTest, AutoScrollOffTakesTheBarsAwayAndBringsTheContentsHome) {
  Scroll(SB_PAGEDOWN);
  ASSERT_GT(box->VertScrollBar()->Position(), 0);
  box->SetAutoScroll(false);
  EXPECT_FALSE(HasBar(SB_VERT));
  EXPECT_EQ(0, box->VertScrollBar()->Position());
  EXPECT_EQ(0, child->Top());
  child->SetHeight(600);
  EXPECT_FALSE(HasBar(SB_VERT)) << "nothing is measured while AutoScroll is off";

  box->SetAutoScroll(true);
  EXPECT_TRUE(HasBar(SB_VERT));
  EXPECT_EQ(600, box->VertScrollBar()->Range());
}

TEST_F(ScrollingContainerTest, AHiddenBarNeverShowsAndAWindowMadeAgainGetsTheBars) {
  box->VertScrollBar()->SetVisible(false);
  EXPECT_FALSE(HasBar(SB_VERT));
  box->VertScrollBar()->SetVisible(true);
  box->VertScrollBar()->SetPosition(30);
  box->SetBorderStyle(bsSingle);  // makes the window again
  EXPECT_TRUE(HasBar(SB_VERT));
  EXPECT_EQ(299, Info(SB_VERT).nMax);
  EXPECT_EQ(box->VertScrollBar()->Position(), Info(SB_VERT).nPos);
  EXPECT_EQ(-box->VertScrollBar()->Position(), child->Top());
}

}  // namespace
