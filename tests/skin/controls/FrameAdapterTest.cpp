// The frame adapter: the frame painted from its section, background erasing
// swallowed, the background colour mix answered for children, moves told to
// the children, the frame's own procedure back when the adapter goes, its
// owner-drawn scroll bars and its popup menus.
#include <gtest/gtest.h>

#include "framework/Menus.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Panel.h"
#include "skin/engine/WindowSkinning.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class FrameAdapterTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    frame = Construct<TFrame>(form);
    frame->SetParent(form);
    frame->SetBounds(10, 10, 200, 120);
    adapter = Construct<TsFrameAdapter>(frame);
    adapter->Loaded();
  }
  TFrame* frame = nullptr;
  TsFrameAdapter* adapter = nullptr;
};

}  // namespace

TEST_F(FrameAdapterTest, PaintsTheFrameFromItsSectionAndSwallowsErasing) {
  ASSERT_EQ(L"GROUPBOX", adapter->SkinData->SkinSection());
  ASSERT_TRUE(adapter->SkinData->Skinned());
  auto img = PrintControl(frame);
  EXPECT_EQ(ColorToRGB(Sec(L"GROUPBOX").Color), Px(*img, 100, 60));
  auto untouched = MakeBmp(20, 20, 0x123456);
  ::SendMessageW(frame->Handle(), WM_ERASEBKGND,
                 reinterpret_cast<WPARAM>(untouched->Canvas()->Handle()), 0);
  EXPECT_EQ(20 * 20, CountColor(*untouched, 0x123456));
}

TEST_F(FrameAdapterTest, BackgroundColourMixesOverTwoHundredFiftySix) {
  TsGeneralData& s = Sec(L"GROUPBOX");
  s.Transparency = 50;
  s.Color = 0x000000;
  form->SetColor(0xFFFFFF);
  EXPECT_EQ(static_cast<TColor>(0x313131), RequestBGColor(frame));
  s.Transparency = 100;
  EXPECT_EQ(static_cast<TColor>(0xFFFFFF), RequestBGColor(frame));
}

TEST_F(FrameAdapterTest, MovingTheFrameMarksItsChildrensImagesStale) {
  auto* panel = Construct<TsPanel>(form);
  panel->SetParent(frame);
  panel->SetBounds(5, 5, 50, 30);
  PrintControl(panel);
  ASSERT_FALSE(panel->SkinData->BGChanged);
  frame->SetBounds(20, 20, 200, 120);
  EXPECT_TRUE(panel->SkinData->BGChanged);
}

TEST_F(FrameAdapterTest, TheFrameGetsItsOwnProcedureBackWhenTheAdapterGoes) {
  EXPECT_TRUE(frame->HasHooks());
  EXPECT_EQ(1, frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0));
  delete adapter;
  EXPECT_FALSE(frame->HasHooks());
  EXPECT_EQ(0, frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0));
  // Unskinned again, the frame erases its background itself.
  auto bmp = MakeBmp(20, 20, 0x123456);
  ::SendMessageW(frame->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(bmp->Canvas()->Handle()),
                 0);
  EXPECT_LT(CountColor(*bmp, 0x123456), 20 * 20);
}

// The scroll adapter comes when the skinned frame shows or the skin is
// refreshed, and goes with the skin.
TEST_F(FrameAdapterTest, ScrollAdapterFollowsShowingAndTheSkin) {
  EXPECT_EQ(nullptr, adapter->ScrollAdapter());
  frame->Hide();
  frame->Show();
  EXPECT_NE(nullptr, adapter->ScrollAdapter()) << "after the frame shows";
  frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(nullptr, adapter->ScrollAdapter()) << "after the skin went";
  frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_SETNEWSKIN), reinterpret_cast<LPARAM>(manager.get()));
  frame->Perform(SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_NE(nullptr, adapter->ScrollAdapter()) << "after a refresh";
}

// A printed frame that scrolls shows its skinned scroll bar: the bar's
// strip differs from the same frame printed without the scroll adapter.
TEST_F(FrameAdapterTest, PrintShowsTheOwnerDrawnScrollBar) {
  auto* other = Construct<TFrame>(form);
  other->SetParent(form);
  other->SetBounds(220, 10, 200, 120);
  auto* plainAdapter = Construct<TsFrameAdapter>(other);
  plainAdapter->Loaded();
  for (TFrame* f : {frame, other}) f->VertScrollBar()->SetRange(400);
  frame->Hide();
  frame->Show();  // the frame gets its scroll adapter, the other does not
  ASSERT_NE(nullptr, adapter->ScrollAdapter());
  ASSERT_EQ(nullptr, plainAdapter->ScrollAdapter());
  ASSERT_TRUE(::GetWindowLongPtrW(frame->Handle(), GWL_STYLE) & WS_VSCROLL);
  auto withBars = PrintControl(frame);
  auto without = PrintControl(other);
  const int stripLeft = frame->Width() - ::GetSystemMetrics(SM_CXVSCROLL);
  const int differ = CountDiffering(*withBars, *without, TRect{stripLeft, 0, frame->Width(), frame->Height()});
  EXPECT_GT(differ, 20);
}

// Popup menus of a frame made while a skin is active are skinned too.
TEST_F(FrameAdapterTest, PopupMenusOfTheFrameAreHooked) {
  // The menu skinner comes with the window library's hooks; they are
  // registered for this test only, so no other test's form gets a provider.
  struct WindowHooks {
    TacWindowSkinning* before = WindowSkinning();
    WindowHooks() { InstallEngineHooks(); }
    ~WindowHooks() { RegisterWindowSkinning(before); }
  } hooks;
  manager->SetSkinnedPopups(true);
  auto* late = Construct<TFrame>(form);
  late->SetParent(form);
  auto* popup = Construct<TPopupMenu>(late);
  auto* item = Construct<TMenuItem>(popup);
  item->SetCaption(L"Открыть");
  popup->Items()->Add(item);
  ASSERT_FALSE(popup->OwnerDraw());
  auto* lateAdapter = Construct<TsFrameAdapter>(late);
  lateAdapter->Loaded();
  EXPECT_TRUE(popup->OwnerDraw());
}
