// The skinned panel: its face and border from the skin through WM_PRINT,
// transparency over a skinned parent, the commands it answers when not
// skinned, the order in which skin commands reach it and its children, and
// when its cache image is rebuilt.
#include <gtest/gtest.h>

#include "framework/ControlCanvas.h"
#include "skin/controls/Panel.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class PanelTest : public SkinnedForm {
 protected:
  TsPanel* NewPanel(TWinControl* parent, int l, int t, int w, int h) {
    auto* p = Construct<TsPanel>(form);
    p->SetParent(parent);
    p->SetBounds(l, t, w, h);
    return p;
  }
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
};

}  // namespace

TEST_F(PanelTest, PrintShowsTheSectionColourInsideAndTheBorderMaskAtTheEdges) {
  TsPanel* p = NewPanel(form, 10, 10, 120, 60);
  ASSERT_TRUE(p->SkinData->Skinned());
  ASSERT_GE(p->SkinData->BorderIndex, 0);
  const TColor face = ColorToRGB(Sec(L"PANEL").Color);
  auto img = PrintControl(p);
  EXPECT_EQ(face, Px(*img, 60, 30));
  int edge = 0;
  for (int x = 0; x < 120; ++x) edge += Px(*img, x, 0) != face;
  EXPECT_GT(edge, 0);
  // The cache is exactly what reached the DC.
  EXPECT_EQ(Px(*p->SkinData->CacheBmp, 0, 0), Px(*img, 0, 0));
}

TEST_F(PanelTest, TransparentPanelShowsItsParentsImage) {
  TsPanel* outer = NewPanel(form, 0, 0, 200, 100);
  TsPanel* inner = NewPanel(outer, 40, 20, 60, 40);
  inner->SkinData->SetSkinSection(L"PANEL_LOW");
  ASSERT_TRUE(inner->SkinData->Skinned());
  Sec(L"PANEL_LOW").Transparency = 100;
  // Paint the parent a pattern of its own so the check cannot pass by the
  // two sections sharing a colour.
  PrintControl(outer);
  TBitmap& parentImg = *outer->SkinData->CacheBmp;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) SetPx(parentImg, x, y, static_cast<TColor>((x * 3) | (y << 10)));
  outer->SkinData->BGChanged = false;
  // Over a plain parent a transparent section takes the parent's colour;
  // this panel's image follows the parent's image, as over a texture.
  inner->SkinData->BGDependent = true;
  inner->SkinData->BGChanged = true;
  auto img = PrintControl(inner);
  EXPECT_EQ(Px(parentImg, 40 + 30, 20 + 20), Px(*img, 30, 20));
  EXPECT_EQ(Px(parentImg, 40 + 10, 20 + 25), Px(*img, 10, 25));
}

TEST_F(PanelTest, WithTheManagerInactiveAPrintWithoutOnPaintLeavesTheDcAlone) {
  TsPanel* p = NewPanel(form, 0, 0, 50, 30);
  manager->SetActive(false);
  EXPECT_FALSE(p->SkinData->Skinned());
  auto img = PrintControl(p, 0x123456);
  EXPECT_EQ(50 * 30, CountColor(*img, 0x123456));
}

TEST_F(PanelTest, UnskinnedPrintWithOnPaintCopiesWhatTheHandlerDrew) {
  TsPanel* p = NewPanel(form, 0, 0, 50, 30);
  manager->SetActive(false);
  p->OnPaint = [](TObject*, TCanvas* c) {
    c->Brush()->SetColor(clRed);
    c->FillRect(TRect{0, 0, 50, 30});
  };
  ::UpdateWindow(form->Handle());
  auto img = PrintControl(p);
  EXPECT_EQ(clRed, Px(*img, 25, 15));
  EXPECT_EQ(0, HeldDeviceContexts());  // the window DC was given back
}

TEST_F(PanelTest, AnswersCtrlHandledSkinnedOrNot) {
  TsPanel* p = NewPanel(form, 0, 0, 50, 30);
  for (bool active : {true, false}) {
    manager->SetActive(active);
    TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0, 0};
    p->Dispatch(m);
    EXPECT_EQ(1, m.LParam) << active;
  }
}

TEST_F(PanelTest, NewSkinReachesChildrenFirstRemoveAndRefreshReachThePanelFirst) {
  TsPanel* p = NewPanel(form, 0, 0, 200, 100);
  auto* child = Add(ckButton, 5, 5, 40, 20, p);
  auto send = [&](WORD cmd, TsSkinManager* m) {
    child->Commands.clear();
    ::SendMessageW(p->Handle(), SM_ALPHACMD, SkinCmdWParam(cmd), reinterpret_cast<LPARAM>(m));
    return child->CountOf(cmd);
  };
  // A command for another manager still reaches the children.
  EXPECT_EQ(1, send(AC_REFRESH, nullptr));
  EXPECT_EQ(1, send(AC_SETNEWSKIN, nullptr));
  EXPECT_EQ(1, send(AC_REMOVESKIN, nullptr));
  // New skin: the child's indexes are refreshed while the panel still has
  // the state it had before (Updating is only set by its own handling).
  p->SkinData->Updating = false;
  bool panelUpdatingWhenChildHeard = true;
  TWndProcHook hook(child, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_SETNEWSKIN)
      panelUpdatingWhenChildHeard = p->SkinData->Updating;
    next(m);
  });
  send(AC_SETNEWSKIN, manager.get());
  EXPECT_FALSE(panelUpdatingWhenChildHeard);
  EXPECT_TRUE(p->SkinData->Updating);
}

TEST_F(PanelTest, CaptionFontAndVisibilityChangesRebuildTheCache) {
  TsPanel* p = NewPanel(form, 0, 0, 120, 40);
  PrintControl(p);
  ASSERT_FALSE(p->SkinData->BGChanged);
  p->SetCaption(L"A & B\r\nsecond line");
  EXPECT_TRUE(p->SkinData->BGChanged);
  PrintControl(p);
  ASSERT_FALSE(p->SkinData->BGChanged);
  p->Hide();
  p->Show();
  EXPECT_TRUE(p->SkinData->BGChanged || p->SkinData->HalfVisible);
}

TEST_F(PanelTest, CaptionIsOneLineCentredOnTheHeightOfW) {
  TsPanel* p = NewPanel(form, 0, 0, 160, 60);
  const TColor face = ColorToRGB(Sec(L"PANEL").Color);
  p->SetCaption(L"Wg&W\r\nWWWW");
  auto img = PrintControl(p);
  TCanvas* c = p->SkinData->CacheBmp->Canvas();
  c->SetFont(p->Font());
  const int h = c->TextHeight(L"W");
  const int top = (0 + 60 - h) / 2;
  int above = 0, inside = 0;
  for (int y = 3; y < 57; ++y)
    for (int x = 10; x < 150; ++x) {
      if (Px(*img, x, y) == face) continue;
      if (y < top - 1 || y > top + h) ++above;
      else ++inside;
    }
  EXPECT_GT(inside, 0);
  EXPECT_EQ(0, above);
}
