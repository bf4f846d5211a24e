// Hints of real controls through the manager: hovering a control with a
// hint shows the manager's window after the pause with the control's text
// and leaving hides it; a control without a hint shows none; hints shown
// and hidden many times leave no GDI objects behind; the skin's "HINT"
// section paints the body when the manager is told to use it.
#include <gtest/gtest.h>

#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Handles.h"
#include "skin/controls/HintManager.h"
#include "skin/controls/HintWindows.h"
#include "skin/engine/PaintPrimitives.h"
#include "tests/common/HintDriver.h"
#include "tests/common/GdiCount.h"
#include "tests/skin/controls/HintTestSupport.h"
#include "tests/skin/engine/SkinTestSupport.h"

namespace {

using skintest::LayeredRecord;
using namespace hinttest;

class HintFlowTest : public skintest::HintManagerFixture {
 protected:
  void SetUp() override {
    HintManagerFixture::SetUp();
    manager->HintKind()->SetStyle(hsComics);
    // Every hint at one place, wherever the shared pointer is.
    manager->OnShowHint = [](std::wstring&, bool&, THintInfo& info, TFrame*&) {
      info.HintPos = TPoint{300, 300};
    };
    Application->HintPause = 1;
    Application->HintShortPause = 1;
    Application->HintHidePause = 60000;
    Application->SetShowHint(true);
    form = Construct<TForm>(Application);
    hinted = Make(8, 8);
    hinted->SetHint(L"Поиск дублированных файлов");
    hinted->SetShowHint(true);
    plain = Make(8, 100);
    plain->SetShowHint(true);
    form->HandleNeeded();
  }
  void TearDown() override {
    Application->Hints()->CancelHint();
    delete form;
    HintManagerFixture::TearDown();
  }
  TPanel* Make(int left, int top) {
    auto* p = Construct<TPanel>(form);
    p->SetBounds(left, top, 120, 60);
    p->SetParent(form);
    return p;
  }
  TForm* form = nullptr;
  TPanel* hinted = nullptr;
  TPanel* plain = nullptr;
};

TEST_F(HintFlowTest, HoverShowsTheManagersWindowWithTheControlsText) {
  MoveOnto(hinted);
  THintWindow* w = WaitForHint();
  ASSERT_NE(w, nullptr);
  EXPECT_NE(dynamic_cast<TsComicsHintWindow*>(w), nullptr);
  HWND wnd = w->WindowHandle();
  wchar_t text[128] = {};
  GetWindowTextW(wnd, text, 128);
  EXPECT_STREQ(text, L"Поиск дублированных файлов");
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_FALSE(record.alphas.empty()) << "shown through the layered image";

  Leave(hinted);
  EXPECT_EQ(Application->Hints()->ShownWindow(), nullptr);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(HintFlowTest, ControlWithoutHintShowsNone) {
  MoveOnto(plain);
  EXPECT_EQ(WaitForHint(), nullptr);
  EXPECT_TRUE(record.alphas.empty());
}

TEST_F(HintFlowTest, TwoHundredHintsLeaveNoGdiObjects) {
  // Warm up: first use creates fonts and cached objects that stay.
  for (int i = 0; i < 3; ++i) {
    MoveOnto(hinted);
    ASSERT_NE(WaitForHint(), nullptr);
    Leave(hinted);
  }
  int before = testenv::GdiObjectCount();
  auto typesBefore = testenv::GdiObjectTypes();
  ASSERT_GT(before, 0);
  {
    // The count sees one object more while one more exists.
    UniqueBrush probe(CreateSolidBrush(0));
    ASSERT_EQ(testenv::GdiObjectCount(), before + 1);
  }
  for (int i = 0; i < 200; ++i) {
    MoveOnto(hinted);
    ASSERT_NE(WaitForHint(), nullptr) << i;
    Leave(hinted);
  }
  Application->ProcessMessages();
  std::string grown;
  for (auto [type, n] : testenv::GdiObjectTypes())
    if (n != typesBefore[type])
      grown += " type " + std::to_string(type) + ": " + std::to_string(typesBefore[type]) + "->" +
               std::to_string(n);
  EXPECT_EQ(testenv::GdiObjectCount(), before) << grown;
}

class HintSkinTest : public skintest::HintManagerFixture {};

TEST_F(HintSkinTest, HintSectionPaintsTheBodyWhenTheSkinIsUsed) {
  auto sm = skintest::NewManager(skintest::GeneratedSkinDir(), true);
  TStringList names;
  std::wstring first;
  sm->GetSkinNames(names, first);
  ASSERT_FALSE(first.empty());
  sm->SetSkinName(first);
  sm->SetActive(true);
  ASSERT_EQ(DefaultManager, sm.get());
  int hint = sm->GetSkinIndex(L"HINT");
  ASSERT_GE(hint, 0);

  manager->HintKind()->SetStyle(hsComics);
  EXPECT_FALSE(manager->UsesSkin());
  manager->SetUseSkinData(true);
  EXPECT_TRUE(manager->UsesSkin());
  EXPECT_FALSE(manager->HintKind()->ShadowEnabled()) << "the skin has no drawn shadow";

  TsCustomHintWindow* w = Show(L"текст");
  ASSERT_FALSE(record.pixels.empty());
  HWND wnd = w->WindowHandle();
  EXPECT_TRUE(GetClassLongPtrW(wnd, GCL_STYLE) & CS_DROPSHADOW);
  // The body is the section's own picture: the same item painted alone
  // gives the same colour at a point of the background left of the text.
  int width = record.width, height = record.height;
  auto item = CreateBmp24(width, height);
  PaintItem(hint, L"HINT", EmptyCacheInfo, true, 0, TRect{0, 0, width, height}, TPoint{0, 0},
            item.get(), sm.get());
  int x = sm->MaskBorderLeft(sm->GetMaskIndex(hint, L"HINT", L"BORDERSMASK")) + 2;
  int y = height / 2;
  EXPECT_EQ(LayeredRecord::Rgb(record.Pixel(x, y)), PixelToColor(TacBmpView(*item).Pixel(x, y)));
  EXPECT_EQ(LayeredRecord::Alpha(record.Pixel(x, y)), 255);
  // Without the fade the alpha is the manager's own transparency.
  EXPECT_EQ(record.alphas.back(), HintAlpha(manager->HintKind()->Transparency));
  window.reset();
  sm.reset();
}

}  // namespace
