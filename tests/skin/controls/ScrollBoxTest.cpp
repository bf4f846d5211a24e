// The skinned scroll box: its face and border through WM_PRINT, the offset
// of its cache for children, the owner-drawn scroll bar it gets from the
// skin and loses with it, the events around each scroll step and the GDI
// objects its painting and scrolling hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/Panel.h"
#include "skin/controls/ScrollBox.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class ScrollBoxTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
  TsScrollBox* NewBox(TBorderStyle style = bsSingle) {
    auto* b = Construct<TsScrollBox>(form);
    b->SetBorderStyle(style);
    b->SetParent(form);
    b->SetBounds(10, 10, 200, 120);
    return b;
  }
  // A panel at the box's top whose contents are Range pixels high, with
  // the skin's scroll bar in place.
  TsPanel* ScrollingChild(TsScrollBox* b, int range) {
    auto* child = Construct<TsPanel>(form);
    child->SetParent(b);
    child->SetBounds(0, 0, 150, 50);
    b->SetVertRange(range);
    Refresh(b);
    return child;
  }
  void Refresh(TsScrollBox* b) {
    ::SendMessageW(b->Handle(), SM_ALPHACMD, SkinCmdWParam(AC_REFRESH),
                   reinterpret_cast<LPARAM>(manager.get()));
  }
};

}  // namespace

TEST_F(ScrollBoxTest, PrintShowsTheSectionFaceInsideAndTheBorderMaskAtTheEdges) {
  TsScrollBox* b = NewBox();
  ASSERT_TRUE(b->SkinData->Skinned());
  EXPECT_EQ(L"PANEL_LOW", b->SkinData->SkinSection());
  const TColor face = ColorToRGB(Sec(L"PANEL_LOW").Color);
  auto img = PrintControl(b);
  EXPECT_EQ(face, Px(*img, 100, 60));
  // The outer ring comes from the cache (the section's border), not from
  // the untouched fill.
  EXPECT_EQ(Px(*b->SkinData->CacheBmp, 0, 0), Px(*img, 0, 0));
  EXPECT_EQ(Px(*b->SkinData->CacheBmp, 199, 119), Px(*img, 199, 119));
}

TEST_F(ScrollBoxTest, ChildrenFindTheCacheInsideTheBorder) {
  const struct {
    TBorderStyle style;
    int offset;
  } cases[] = {{bsSingle, 2}, {bsNone, 0}};
  for (const auto& c : cases) {
    TsScrollBox* b = NewBox(c.style);
    PrintControl(b);
    CacheInfoReply = TCacheInfo{};
    SendSkinCmdToCtrl(b, AC_GETCACHE, 0);
    EXPECT_TRUE(CacheInfoReply.Ready);
    EXPECT_EQ(c.offset, CacheInfoReply.X);
    EXPECT_EQ(c.offset, CacheInfoReply.Y);
    EXPECT_EQ(b->SkinData->CacheBmp.get(), CacheInfoReply.Bmp);
    delete b;
  }
}

TEST_F(ScrollBoxTest, SkinGivesTheBoxAnOwnerDrawnBarThatGoesWithTheSkin) {
  TsScrollBox* b = NewBox();
  b->SetVertRange(400);
  Refresh(b);
  ASSERT_NE(nullptr, b->ScrollWnd());
  ASSERT_TRUE(b->ScrollWnd()->VBar);
  EXPECT_TRUE(b->ScrollWnd()->VBar->Visible);
  // The bar is painted: the strip right of the client area is neither the
  // untouched fill nor the box's face.
  auto img = PrintControl(b);
  const RECT client = b->ClientRect();
  const int x = 2 + client.right + 3, y = 60;
  EXPECT_NE(0x123456, Px(*img, x, y));
  EXPECT_NE(ColorToRGB(Sec(L"PANEL_LOW").Color), Px(*img, x, y));

  ::SendMessageW(b->Handle(), SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN),
                 reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(nullptr, b->ScrollWnd());
}

TEST_F(ScrollBoxTest, EachScrollStepIsBracketedByItsEventsAndMovesTheChildren) {
  TsScrollBox* b = NewBox();
  TsPanel* child = ScrollingChild(b, 400);
  std::vector<std::wstring> log;
  b->OnBeforeScroll = [&](TObject*) { log.push_back(L"before " + std::to_wstring(child->Top())); };
  b->OnAfterScroll = [&](TObject*) { log.push_back(L"after " + std::to_wstring(child->Top())); };
  SendScrollMessage(b->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  SendScrollMessage(b->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  const int page = b->ClientRect().bottom;
  const std::vector<std::wstring> expected = {
      L"before 0", L"after -16", L"before -16", L"after " + std::to_wstring(-16 - page)};
  EXPECT_EQ(expected, log);
  EXPECT_EQ(16 + page, b->VertPosition());
  // Shrinking the contents below the client height scrolls back home.
  b->SetVertRange(50);
  EXPECT_EQ(0, child->Top());
}

TEST_F(ScrollBoxTest, GdiObjectCountStaysOverScrollingAndRepainting) {
  TsScrollBox* b = NewBox();
  ScrollingChild(b, 600);
  auto cycle = [&] {
    SendScrollMessage(b->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    b->SkinData->BGChanged = true;
    PrintControl(b);
    SendScrollMessage(b->Handle(), WM_VSCROLL, SB_TOP, 0);
    ::SendMessageW(b->Handle(), WM_NCPAINT, 1, 0);
  };
  for (int i = 0; i < 5; ++i) cycle();
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(before, GdiObjectCount());
}
