// The navigation bar's item model: one open item, frames made on opening and
// freed on closing, automatic frame size, hidden items, title clicks.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/controls/FrameBar.h"

namespace {

class FrameBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    form_ = Construct<TForm>(Application);
    form_->SetClientWidth(400);
    form_->SetClientHeight(460);
    bar_ = Construct<TsFrameBar>(form_);
    bar_->SetWidth(195);
    bar_->SetBarBorderWidth(3);
    bar_->SetSpacing(0);
    bar_->SetAutoFrameSize(true);
    bar_->SetParent(form_);
    form_->Show();
    for (int i = 0; i < 3; ++i) {
      TsTitleItem* item = bar_->Items()->Add();
      item->SetCaption(L"item" + std::to_wstring(i));
      item->OnCreateFrame = [this, i](TObject*, TCustomFrame*& frame) {
        ++created_[i];
        frame = Construct<TFrame>(nullptr);
        frame->SetHeight(100);
      };
    }
  }
  void TearDown() override { delete form_; }

  // Clicks the title button of item i the way the mouse does.
  void ClickTitle(int i) {
    TsTitleButton* b = bar_->Items()->Items(i)->TitleButton();
    HWND w = bar_->Handle();
    LPARAM at = MAKELPARAM(b->Left() + 5, b->Top() + 5);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(w, WM_LBUTTONUP, 0, at);
  }

  TForm* form_ = nullptr;
  TsFrameBar* bar_ = nullptr;
  int created_[3] = {};
};

TEST_F(FrameBarTest, OpeningAnItemClosesTheOtherAndFreesItsFrame) {
  bar_->OpenItem(0, false);
  ASSERT_NE(bar_->Items()->Items(0)->Frame(), nullptr);
  EXPECT_EQ(bar_->Items()->Items(0)->State(), stOpen);
  EXPECT_TRUE(bar_->Items()->Items(0)->TitleButton()->Selected());
  HWND first = bar_->Items()->Items(0)->Frame()->Handle();

  bar_->OpenItem(1, true);  // animated: four passes
  EXPECT_EQ(bar_->Items()->Items(0)->State(), stClosed);
  EXPECT_EQ(bar_->Items()->Items(0)->Frame(), nullptr);
  EXPECT_FALSE(IsWindow(first)) << "a closed item's frame is freed";
  EXPECT_FALSE(bar_->Items()->Items(0)->TitleButton()->Selected());
  EXPECT_EQ(bar_->Items()->Items(1)->State(), stOpen);

  bar_->OpenItem(0, false);
  EXPECT_EQ(created_[0], 2) << "re-opening creates the frame again";
}

TEST_F(FrameBarTest, AutoFrameSizeGivesTheOpenFrameAllTheRestOfTheBar) {
  bar_->OpenItem(0, false);
  const int bw = 3, title = bar_->TitleHeight();
  // Items area: the bar less its 2-pixel edges and the border width.
  const int top = bw + 2, inner = bar_->Height() - 2 * (bw + 2);
  // The free height is the area's height less the running position after
  // every title and gap, which starts at the area's top.
  const int expected = inner - (top + 3 * title + bw + 3 * bw);
  TCustomFrame* frame = bar_->Items()->Items(0)->Frame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Height(), expected);
  // The frame hangs right under its title; two gaps follow it.
  TsTitleButton* t0 = bar_->Items()->Items(0)->TitleButton();
  TsTitleButton* t1 = bar_->Items()->Items(1)->TitleButton();
  TsTitleButton* t2 = bar_->Items()->Items(2)->TitleButton();
  EXPECT_EQ(t0->Top(), top);
  EXPECT_EQ(frame->Top(), top + title);
  EXPECT_EQ(t1->Top(), frame->Top() + frame->Height() + 2 * bw);
  EXPECT_EQ(t2->Top(), t1->Top() + title + bw);
  EXPECT_EQ(t2->Top() + title + bw, inner) << "the last gap ends short of the bottom by the area's top";
}

TEST_F(FrameBarTest, ASlideNobodyCanSeeGoesStraightToItsEnd) {
  // Each pass of an arrangement switches the bar's drawing off once.
  struct Case {
    bool shown, animated;
    int passes;
  } cases[] = {{true, true, 4}, {true, false, 1}, {false, true, 1}, {false, false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shown " << c.shown << ", animated " << c.animated);
    bar_->OpenItem(1, false);
    if (c.shown) form_->Show();
    else form_->Hide();
    int passes = 0;
    TWndProcHook hook(bar_, [&](TMessage& m, const TWndMethod& next) {
      if (m.Msg == WM_SETREDRAW && !m.WParam) ++passes;
      next(m);
    });
    bar_->OpenItem(0, c.animated);
    EXPECT_EQ(c.passes, passes);
    // Wherever it went, it ends the same: open, at full height.
    TCustomFrame* frame = bar_->Items()->Items(0)->Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(stOpen, bar_->Items()->Items(0)->State());
    EXPECT_EQ(stClosed, bar_->Items()->Items(1)->State());
    EXPECT_EQ(bar_->Items()->Items(1)->TitleButton()->Top(),
              frame->Top() + frame->Height() + 2 * 3);
  }
}

// An item opened with the slide while the bar is not on screen goes
// straight to its end: open, its frame shown whole with room below it,
// whatever the frame-size mode.
TEST_F(FrameBarTest, ItemOpenedUnseenWithTheSlideShowsItsWholeFrame) {
  struct Case {
    bool autoFrameSize;
    bool animated;
  } cases[] = {{false, true}, {false, false}, {true, true}, {true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "auto size " << c.autoFrameSize << ", animated "
                                    << c.animated);
    bar_->OpenItem(1, false);
    bar_->SetAutoFrameSize(c.autoFrameSize);
    form_->Hide();
    bar_->OpenItem(0, c.animated);
    form_->Show();
    TsTitleItem* item = bar_->Items()->Items(0);
    TCustomFrame* frame = item->Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(stOpen, item->State());
    EXPECT_TRUE(frame->Visible());
    if (!c.autoFrameSize) {
      EXPECT_EQ(100, frame->Height());
    }
    EXPECT_GT(frame->Height(), 0);
    RECT box{};
    if (::GetWindowRgnBox(frame->Handle(), &box) != ERROR) {
      EXPECT_EQ(frame->Height(), box.bottom - box.top) << "every row shows";
    }
    EXPECT_EQ(item->TitleButton()->Top() + bar_->TitleHeight(), frame->Top());
    EXPECT_EQ(bar_->Items()->Items(1)->TitleButton()->Top(),
              frame->Top() + frame->Height() + 2 * 3);
  }
}

TEST_F(FrameBarTest, HiddenItemTakesNoRoomAndHasNoButtonParent) {
  bar_->Items()->Items(1)->SetVisible(false);
  bar_->OpenItem(0, false);
  EXPECT_EQ(bar_->Items()->Items(1)->TitleButton()->Parent(), nullptr);
  TsTitleButton* t2 = bar_->Items()->Items(2)->TitleButton();
  TCustomFrame* frame = bar_->Items()->Items(0)->Frame();
  EXPECT_EQ(t2->Top(), frame->Top() + frame->Height() + 2 * 3);
}

TEST_F(FrameBarTest, TitleClicksOpenClosedItemsAndIgnoreTheOpenOne) {
  bar_->OpenItem(0, false);
  ClickTitle(0);  // the open item: nothing without AllowAllClose
  EXPECT_EQ(bar_->Items()->Items(0)->State(), stOpen);
  EXPECT_EQ(created_[0], 1);
  ClickTitle(2);
  EXPECT_EQ(bar_->Items()->Items(2)->State(), stOpen);
  EXPECT_EQ(bar_->Items()->Items(0)->State(), stClosed);
  bar_->AllowAllClose = true;
  ClickTitle(2);
  EXPECT_EQ(bar_->Items()->Items(2)->State(), stClosed);
  EXPECT_EQ(bar_->Items()->Items(2)->Frame(), nullptr);
}

TEST_F(FrameBarTest, FrameDestroyHandlerCanKeepTheFrame) {
  bar_->Items()->Items(0)->OnFrameDestroy = [](TObject*, TCustomFrame*&, bool& canDestroy) {
    canDestroy = false;
  };
  bar_->OpenItem(0, false);
  TCustomFrame* kept = bar_->Items()->Items(0)->Frame();
  bar_->OpenItem(1, false);
  EXPECT_EQ(bar_->Items()->Items(0)->Frame(), kept);
  EXPECT_FALSE(kept->Visible()) << "a kept frame is hidden";
  bar_->OpenItem(0, false);
  EXPECT_EQ(created_[0], 1) << "the kept frame is shown again, not re-created";
}

TEST_F(FrameBarTest, ItemWithoutHandlerShowsTheDefaultFrame) {
  bar_->Items()->Items(2)->OnCreateFrame = nullptr;
  bar_->OpenItem(2, false);
  TCustomFrame* frame = bar_->Items()->Items(2)->Frame();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->ControlCount(), 1);
  EXPECT_EQ(frame->Controls(0)->Caption(), L"Frame creation\r\nevent has not been defined.");
}

TEST_F(FrameBarTest, DeletingAnItemFreesItsTitleAndFrameAndClosesTheGap) {
  TsTitles* items = bar_->Items();
  EXPECT_EQ(items->Owner(), bar_);
  EXPECT_EQ(items->Items(1)->Collection(), items);
  bar_->OpenItem(1, false);
  HWND frame = items->Items(1)->Frame()->Handle();
  TsTitleItem* last = items->Items(2);
  const int controls = bar_->ControlCount();  // three titles and the open frame
  items->Delete(1);
  EXPECT_EQ(items->Count(), 2);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(bar_->ControlCount(), controls - 2) << "the title button goes with its frame";
  EXPECT_EQ(items->Items(1), last);
  EXPECT_EQ(last->Index(), 1);
  // Nothing is open now: the last title follows the first one directly.
  TsTitleButton* t0 = items->Items(0)->TitleButton();
  EXPECT_EQ(last->TitleButton()->Top(), t0->Top() + bar_->TitleHeight() + 3);
}

TEST_F(FrameBarTest, AssigningItemsCopiesTheSourceItemsValuesAndEvents) {
  TsFrameBar* other = Construct<TsFrameBar>(form_);
  other->SetParent(form_);
  struct Source {
    const wchar_t* caption;
    bool visible;
    const wchar_t* section;
  } sources[] = {{L"Первый", true, L"BARTITLE"}, {L"Второй", false, L"BUTTON"}};
  int made = 0;
  for (const Source& src : sources) {
    TsTitleItem* item = other->Items()->Add();
    item->SetCaption(src.caption);
    item->SetSkinSection(src.section);
    item->SetVisible(src.visible);
    item->OnCreateFrame = [&made](TObject*, TCustomFrame*& frame) {
      ++made;
      frame = Construct<TFrame>(nullptr);
      frame->SetHeight(60);
    };
  }
  bar_->OpenItem(0, false);
  HWND oldFrame = bar_->Items()->Items(0)->Frame()->Handle();
  bar_->SetItems(other->Items());
  ASSERT_EQ(bar_->Items()->Count(), 2);
  EXPECT_FALSE(IsWindow(oldFrame)) << "the replaced items' frames are freed";
  for (int i = 0; i < 2; ++i) {
    TsTitleItem* item = bar_->Items()->Items(i);
    EXPECT_EQ(item->Caption(), sources[i].caption);
    EXPECT_EQ(item->TitleButton()->Caption(), sources[i].caption);
    EXPECT_EQ(item->Visible(), sources[i].visible);
    EXPECT_EQ(item->SkinSection(), sources[i].section);
    EXPECT_EQ(item->TitleButton()->SkinData->SkinSection(), sources[i].section);
    EXPECT_EQ(item->Collection(), bar_->Items());
  }
  EXPECT_EQ(bar_->Items()->Items(1)->TitleButton()->Parent(), nullptr);
  ClickTitle(0);
  EXPECT_EQ(made, 1) << "the copied handler makes the frame";
  EXPECT_EQ(bar_->Items()->Items(0)->State(), stOpen);
  delete other;
}

TEST_F(FrameBarTest, ImageIndexOfAnItemGivesItsTitleTheBarsImages) {
  auto* images = Construct<TImageList>(form_);
  images->SetSize(16, 16);
  auto bmp = std::make_unique<TBitmap>(16, 16, pf24bit);
  images->AddMasked(bmp.get(), clFuchsia);
  bar_->SetImages(images);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bar_->Items()->Items(i)->TitleButton()->Images(), images);
  TsTitleItem* item = bar_->Items()->Items(1);
  item->SetImageIndex(0);
  EXPECT_EQ(item->TitleButton()->ImageIndex(), 0);
  EXPECT_EQ(item->TitleButton()->GlyphWidth(), 16);
  delete images;
  EXPECT_EQ(bar_->Images(), nullptr);
  EXPECT_EQ(item->TitleButton()->Images(), nullptr);
}

}  // namespace
