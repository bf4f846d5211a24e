// The skinned navigation bar: the rows of a frame shown in each pass of the
// slide, a request to arrange that comes during a slide, the bar's body and
// titles painted from the skin, and the GDI objects over many slides.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "skin/controls/FrameBar.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

// Stands in for the control the bar refreshes after each pass, so a test
// sees the bar between passes.
class PassWatcher : public TGraphicControl {
 public:
  explicit PassWatcher(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::function<void()> OnPass;
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_REFRESH && OnPass) OnPass();
    TGraphicControl::WndProc(m);
  }
};

class FrameBarSlideTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(0, 0, 400, 560);
    bar = Construct<TsFrameBar>(form);
    bar->SetWidth(195);
    bar->SetParent(form);
    form->Show();
    for (int i = 0; i < 3; ++i) {
      TsTitleItem* item = bar->Items()->Add();
      item->SetCaption(L"item" + std::to_wstring(i));
      item->OnCreateFrame = [this](TObject*, TCustomFrame*& frame) {
        frame = Construct<TFrame>(nullptr);
        frame->SetHeight(frameHeight);
      };
    }
    watcher = Construct<PassWatcher>(form);
    ExtraRefreshControl = watcher;
  }
  void TearDown() override {
    ExtraRefreshControl = nullptr;
    SkinnedForm::TearDown();
  }

  // Rows of item i's frame on screen now, and where its bottom sits below
  // the bottom of the item's title.
  struct Shown {
    int rows;
    int belowTitle;
    bool operator==(const Shown&) const = default;
  };
  Shown ShownOf(int i) {
    TsTitleItem* item = bar->Items()->Items(i);
    TCustomFrame* f = item->Frame();
    if (!f || !f->Visible()) return {0, 0};
    RECT box{};
    int rows = f->Height();
    if (::GetWindowRgnBox(f->Handle(), &box) != ERROR) rows = box.bottom - box.top;
    TsTitleButton* t = item->TitleButton();
    return {rows, f->Top() + f->Height() - (t->Top() + t->Height())};
  }

  TsFrameBar* bar = nullptr;
  PassWatcher* watcher = nullptr;
  int frameHeight = 100;
};

}  // namespace

TEST_F(FrameBarSlideTest, FramesSlideInAndOutByThirdsRoundedHalfToEven) {
  const struct {
    int height;
    std::vector<int> opening;  // rows after each pass, then after the end
  } cases[] = {
      {100, {0, 33, 67, 100, 100}},
      {80, {0, 27, 53, 80, 80}},
      {151, {0, 50, 101, 151, 151}},
  };
  for (const auto& c : cases) {
    frameHeight = c.height;
    std::vector<Shown> opened, first, closed;
    watcher->OnPass = [&] { opened.push_back(ShownOf(0)); };
    bar->OpenItem(0, true);
    // Item 1 opens while item 0 closes over the same passes.
    watcher->OnPass = [&] {
      first.push_back(ShownOf(1));
      closed.push_back(ShownOf(0));
    };
    bar->OpenItem(1, true);
    watcher->OnPass = nullptr;

    const int spacing = bar->Spacing();
    std::vector<Shown> expectOpen, expectClose;
    for (int rows : c.opening) expectOpen.push_back({rows, rows == 0 ? 0 : spacing + rows});
    for (size_t i = 0; i + 1 < c.opening.size(); ++i) {
      const int rows = c.opening[c.opening.size() - 2 - i];
      expectClose.push_back({rows, rows});
    }
    expectClose.back() = {0, 0};  // freed at the last pass
    expectClose.push_back({0, 0});
    EXPECT_EQ(expectOpen, opened) << "height " << c.height;
    EXPECT_EQ(expectOpen, first) << "height " << c.height;
    EXPECT_EQ(expectClose, closed) << "height " << c.height;
    EXPECT_EQ(nullptr, bar->Items()->Items(0)->Frame());

    bar->OpenItem(2, false);  // back to a known start: 0 and 1 closed
    bar->AllowAllClose = true;
    bar->Items()->Items(2)->TitleButton()->Click();
    bar->AllowAllClose = false;
    ASSERT_EQ(stClosed, bar->Items()->Items(2)->State());
  }
}

TEST_F(FrameBarSlideTest, RequestDuringASlideIsArrangedOnceAfterIt) {
  int passes = 0;
  watcher->OnPass = [&] {
    if (++passes != 2) return;
    // Both arrive while the bar is arranging.
    bar->SetTitleHeight(40);
    bar->SetSpacing(4);
  };
  bar->OpenItem(0, true);
  watcher->OnPass = nullptr;
  // Four passes and the end of the slide, then one unanimated pass and its end.
  EXPECT_EQ(5 + 2, passes);
  TsTitleButton* t0 = bar->Items()->Items(0)->TitleButton();
  TsTitleButton* t1 = bar->Items()->Items(1)->TitleButton();
  TCustomFrame* f = bar->Items()->Items(0)->Frame();
  ASSERT_NE(nullptr, f);
  EXPECT_EQ(40, t0->Height());
  EXPECT_EQ(f->Top(), t0->Top() + 40) << "an open frame hangs right under its title";
  EXPECT_EQ(t1->Top(), f->Top() + f->Height() + 2 * bar->BorderWidth());
}

// A title clicked while another item slides in: without AllowAllOpen the
// clicked item ends as the only open one, whichever pass the click comes in.
TEST_F(FrameBarSlideTest, TitleClickDuringASlideLeavesOneItemOpen) {
  for (int clickPass : {1, 2, 3}) {
    SCOPED_TRACE(testing::Message() << "click in pass " << clickPass);
    bar->OpenItem(1, false);
    int passes = 0;
    watcher->OnPass = [&] {
      if (++passes != clickPass) return;
      TsTitleButton* t = bar->Items()->Items(2)->TitleButton();
      const LPARAM at = MAKELPARAM(t->Left() + 5, t->Top() + 5);
      ::SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, at);
    };
    bar->OpenItem(0, true);
    watcher->OnPass = nullptr;
    EXPECT_EQ(stClosed, bar->Items()->Items(0)->State());
    EXPECT_EQ(stClosed, bar->Items()->Items(1)->State());
    EXPECT_EQ(stOpen, bar->Items()->Items(2)->State());
    EXPECT_EQ(nullptr, bar->Items()->Items(0)->Frame());
    EXPECT_FALSE(bar->Items()->Items(0)->TitleButton()->Selected());
  }
}

TEST_F(FrameBarSlideTest, BodyAndTitlesArePaintedFromTheSkin) {
  bar->OpenItem(0, false);
  ASSERT_TRUE(bar->SkinData->Skinned());
  EXPECT_EQ(L"BAR", bar->SkinData->SkinSection());
  TsTitleButton* t0 = bar->Items()->Items(0)->TitleButton();
  TsTitleButton* t1 = bar->Items()->Items(1)->TitleButton();
  ASSERT_TRUE(t1->SkinData->Skinned());
  EXPECT_EQ(L"BARTITLE", t1->SkinData->SkinSection());
  EXPECT_EQ(1, t0->CurrentState()) << "the open item's title looks hot";
  EXPECT_EQ(0, t1->CurrentState());

  auto img = PrintControl(bar);
  // Below the last title the bar shows its own section's face.
  TsTitleButton* t2 = bar->Items()->Items(2)->TitleButton();
  const int b = bar->BorderSize();
  EXPECT_EQ(Px(*bar->SkinData->CacheBmp, 100, bar->Height() - 20),
            Px(*img, 100, bar->Height() - 20));
  EXPECT_EQ(ColorToRGB(Sec(L"BAR").Color), Px(*img, 100, bar->Height() - 20));
  ASSERT_LT(t2->Top() + t2->Height() + b, bar->Height() - 20);
  // A title's right end (away from its text) is its own cached image.
  const int x = t1->Left() + t1->Width() - 12, y = t1->Top() + t1->Height() / 2;
  EXPECT_EQ(Px(*t1->SkinData->CacheBmp, x - t1->Left(), y - t1->Top()), Px(*img, x + b, y + b));
}

TEST_F(FrameBarSlideTest, GdiObjectCountStaysOverManySlides) {
  auto cycle = [&](int i) {
    bar->OpenItem(i % 3, i % 2 == 0);
    PrintControl(bar);
  };
  for (int i = 0; i < 6; ++i) cycle(i);
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 50; ++i) cycle(i);
  EXPECT_EQ(before, GdiObjectCount());
}
