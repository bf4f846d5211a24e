// TsCommonData: section and manager resolution, the queries, and the
// reactions of CommonAlphaCmd to skin commands.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/StdCtrls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinMessages.h"
#include "tests/skin/engine/SkinnedTestControls.h"

using namespace skintest;

namespace {

class TKindTwoHundred : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  const wchar_t* ClassName() const override { return L"TMyOddControl"; }
};

LRESULT Cmd(TControl* c, WORD cmd, LPARAM lParam = 0, WORD lo = 0) {
  return c->Perform(SM_ALPHACMD, SkinCmdWParam(cmd, lo), lParam);
}

}  // namespace

TEST(CommonData, FreshStateIsUnskinnedAndStale) {
  TsCommonData sd(nullptr, true);
  EXPECT_EQ(-1, sd.SkinIndex);
  EXPECT_EQ(-1, sd.BorderIndex);
  EXPECT_EQ(-1, sd.Texture);
  EXPECT_EQ(-1, sd.HotTexture);
  EXPECT_TRUE(sd.BGChanged);
  EXPECT_TRUE(sd.HalfVisible);
  EXPECT_FALSE(sd.Updating);
  ASSERT_TRUE(sd.CacheBmp);
  EXPECT_EQ(0, sd.CacheBmp->Width());
  EXPECT_EQ(24, sd.CacheBmp->BitsPerPixel());
  EXPECT_FALSE(TsCommonData(nullptr, false).CacheBmp);
}

TEST(CommonData, KindTableAndHotStates) {
  struct Case { int kind; const wchar_t* section; bool hot; };
  const Case cases[] = {
      {3, L"EDIT", true},          {97, L"EDIT", true},          {227, L"EDIT", true},
      {12, L"COMBOBOX", true},     {19, L"BAR", true},           {32, L"CHECKBOX", true},
      {51, L"PANEL", false},       {58, L"PANEL_LOW", false},    {74, L"GROUPBOX", false},
      {92, L"SPEEDBUTTON", true},  {93, L"BUTTON", true},        {141, L"PAGECONTROL", false},
      {151, L"STATUSBAR", false},  {161, L"GAUGE", false},       {165, L"TRACKBAR", true},
      {224, L"", true},            {300, L"", true},             {110, L"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.section, DefaultSectionOfKind(c.kind)) << c.kind;
    EXPECT_EQ(c.hot, KindHasHotState(c.kind)) << c.kind;
  }
}

TEST_F(SkinnedForm, SectionNamesAreUpperCasedAndEmptyBecomesUnknown) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 50, 50);
  EXPECT_EQ(L"PANEL", c->SkinData->SkinSection());
  c->SkinData->SetSkinSection(L"");
  EXPECT_EQ(L"UNKNOWN", c->SkinData->SkinSection());
  c->SkinData->SetSkinSection(L"panel_low");
  EXPECT_EQ(L"PANEL_LOW", c->SkinData->SkinSection());
  EXPECT_EQ(manager->GetSkinIndex(L"PANEL_LOW"), c->SkinData->SkinIndex);
  // A parented owner hears of the change.
  EXPECT_EQ(AC_REFRESH, c->Commands.back().cmd);

  TsCommonData bare(nullptr, false);
  bare.SetSkinSection(L"");
  EXPECT_EQ(L"", bare.SkinSection());
}

TEST_F(SkinnedForm, LoadedTakesTheKindsSectionOrTheClassName) {
  TTestSkinned* panel = Add(ckPanel, 0, 0, 50, 50);
  EXPECT_EQ(L"PANEL", panel->SkinData->SkinSection());
  EXPECT_TRUE(panel->SkinData->Skinned());
  EXPECT_GE(panel->SkinData->BorderIndex, 0);

  auto* odd = Construct<TKindTwoHundred>(form);
  odd->SetParent(form);
  TsCommonData sd(odd, false);
  sd.ControlKind = 200;
  sd.Loaded();
  EXPECT_EQ(L"TMYODDCONTROL", sd.SkinSection());
  // The skin has no such section: everything -1 and not skinned.
  EXPECT_EQ(-1, sd.SkinIndex);
  EXPECT_EQ(-1, sd.BorderIndex);
  EXPECT_EQ(-1, sd.Texture);
  EXPECT_EQ(-1, sd.HotTexture);
  EXPECT_FALSE(sd.Skinned());
}

TEST_F(SkinnedForm, TheDefaultManagerIsStoredAsNone) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 50, 50);
  c->SkinData->SetSkinManager(manager.get());
  EXPECT_EQ(nullptr, c->SkinData->StoredSkinManager());
  EXPECT_EQ(manager.get(), c->SkinData->GetSkinManager());
}

TEST_F(SkinnedForm, SkinCommandsKeepTheIndexInvariant) {
  TTestSkinned* c = Add(ckButton, 0, 0, 80, 24);
  TsCommonData& sd = *c->SkinData;
  const int index = sd.SkinIndex;
  ASSERT_GE(index, 0);
  const LPARAM m = reinterpret_cast<LPARAM>(manager.get());

  // Another manager's commands are not for us.
  Cmd(c, AC_REMOVESKIN, 12345);
  EXPECT_EQ(index, sd.SkinIndex);

  sd.CacheBmp->SetSize(10, 10);
  Cmd(c, AC_REMOVESKIN, m);
  EXPECT_EQ(-1, sd.SkinIndex);
  EXPECT_EQ(-1, sd.BorderIndex);
  EXPECT_EQ(-1, sd.Texture);
  EXPECT_EQ(-1, sd.HotTexture);
  EXPECT_TRUE(sd.Updating);
  EXPECT_EQ(0, sd.CacheBmp->Width());

  Cmd(c, AC_SETNEWSKIN, m);
  EXPECT_EQ(index, sd.SkinIndex);
  EXPECT_TRUE(sd.Updating);
  sd.BGChanged = false;
  Cmd(c, AC_REFRESH, m);
  EXPECT_FALSE(sd.Updating);
  EXPECT_TRUE(sd.BGChanged);
}

TEST_F(SkinnedForm, QueriesAnswerInLParamAndResult) {
  TTestSkinned* c = Add(ckButton, 0, 0, 80, 24);
  TsCommonData& sd = *c->SkinData;
  sd.HalfVisible = false;
  EXPECT_TRUE(QuerySkinCmd(c, AC_CTRLHANDLED));
  EXPECT_FALSE(QuerySkinCmd(c, AC_ISHALFVISIBLE));
  sd.HalfVisible = true;
  EXPECT_TRUE(QuerySkinCmd(c, AC_ISHALFVISIBLE));
  // Through a window message the answer comes back as the result.
  EXPECT_EQ(1, SendSkinCmd(c->Handle(), AC_ISHALFVISIBLE, 0));
  Cmd(c, AC_SETHALFVISIBLE);
  Cmd(c, AC_SETBGDEPENDENT, 0, 1);
  EXPECT_TRUE(sd.BGDependent);
  Cmd(c, AC_SETUPDATING, 0, 1);
  EXPECT_TRUE(sd.Updating);
  EXPECT_TRUE(QuerySkinCmd(c, AC_ISUPDATING));
  Cmd(c, AC_SETUPDATING, 0, 0);
  EXPECT_FALSE(sd.Updating);
}

TEST_F(SkinnedForm, IsTexturedIsNotAnsweredWithoutASection) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 50, 50);
  c->SkinData->SetSkinSection(L"NO SUCH SECTION");
  ASSERT_EQ(-1, c->SkinData->SkinIndex);
  EXPECT_FALSE(QuerySkinCmd(c, AC_ISTEXTURED));
  c->SkinData->SetSkinSection(L"TOOLBAR");  // a gradient section
  EXPECT_TRUE(QuerySkinCmd(c, AC_ISTEXTURED));
  c->SkinData->SetSkinSection(L"PANEL");  // a plain colour
  EXPECT_FALSE(QuerySkinCmd(c, AC_ISTEXTURED));
}

TEST_F(SkinnedForm, GetCacheAnswersTheCacheBitmap) {
  TTestSkinned* parent = Add(ckPanel, 0, 0, 100, 100);
  TTestSkinned* child = Add(ckButton, 10, 20, 30, 20, parent);
  parent->SkinData->InitCacheBmp();
  TCacheInfo ci = GetParentCache(child->SkinData.get());
  EXPECT_TRUE(ci.Ready);
  EXPECT_EQ(parent->SkinData->CacheBmp.get(), ci.Bmp);
  EXPECT_EQ(0, ci.X);
  // The form answers nothing: not ready.
  EXPECT_FALSE(GetParentCache(parent->SkinData.get()).Ready);
  EXPECT_FALSE(GetParentCache(nullptr).Ready);
}

TEST_F(SkinnedForm, BackgroundColourMixesOverTheParentOutOf256) {
  struct Case { int transparency; TColor section; TColor parent; TColor expected; };
  const Case cases[] = {
      {0, 0x123456, 0xFFFFFF, 0x123456},
      {50, 0x000000, 0xFFFFFF, 0x313131},
      {100, 0x000000, 0x00FF00, 0x00FF00},
      {25, 0xFF0000, 0x0000FF, 0xE60018},
  };
  TTestSkinned* c = Add(ckPanel, 0, 0, 50, 50);
  TsGeneralData& s = Sec(L"PANEL");
  for (const Case& k : cases) {
    s.Transparency = k.transparency;
    s.Color = k.section;
    form->SetColor(k.parent);
    EXPECT_EQ(k.expected, RequestBGColor(c)) << k.transparency;
    EXPECT_EQ(clFuchsia, BGFillColor);  // the slot is left as it was
  }
  // Not skinned: the owner's own colour.
  c->SkinData->SetSkinSection(L"NO SUCH SECTION");
  c->SetColor(0x010203);
  EXPECT_EQ(0x010203u, RequestBGColor(c));
}

TEST_F(SkinnedForm, NestedColourRequestsDoNotOverwriteTheOuterAnswer) {
  // A half-transparent panel inside a half-transparent panel: the inner one
  // asks its parent while answering, and its caller still reads its answer.
  TsGeneralData& s = Sec(L"PANEL");
  s.Transparency = 50;
  s.Color = 0x000000;
  form->SetColor(0xFFFFFF);
  TTestSkinned* outer = Add(ckPanel, 0, 0, 100, 100);
  TTestSkinned* inner = Add(ckPanel, 10, 10, 50, 50, outer);
  // outer: 0x31 per byte; inner over it: ((0x31 - 0) * 50) >> 8 = 9.
  EXPECT_EQ(0x090909u, RequestBGColor(inner));
  BGFillColor = 0x777777;
  UpdateBGFillColor(inner);
  EXPECT_EQ(0x090909u, BGFillColor);
  BGFillColor = clFuchsia;
}

TEST_F(SkinnedForm, MouseEnterMakesOnlyHotKindsHot) {
  TTestSkinned* panel = Add(ckPanel, 0, 0, 50, 50);
  TTestSkinned* button = Add(ckButton, 60, 0, 80, 24);
  panel->Perform(CM_MOUSEENTER);
  button->Perform(CM_MOUSEENTER);
  EXPECT_FALSE(panel->SkinData->MouseAbove);
  EXPECT_TRUE(button->SkinData->MouseAbove);
  EXPECT_EQ(button->Handle(), manager->ActiveControl);
  EXPECT_TRUE(button->SkinData->ControlIsActive());
  button->SetEnabled(false);
  EXPECT_FALSE(button->SkinData->ControlIsActive());
  button->SetEnabled(true);
  button->SkinData->MouseAbove = true;
  button->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(button->SkinData->MouseAbove);
}

// The mouse entering a windowed owner leaves every hot speed button among
// its children, title buttons included, except the one that sent it; the
// owner's kind alone tells a speed button.
TEST_F(SkinnedForm, MouseEnterLeavesTheChildSpeedButtonsByKind) {
  TTestSkinned* bar = Add(ckPanel, 0, 0, 300, 60);
  struct Case {
    int kind;
    bool left;
  };
  const Case cases[] = {{ckSpeedButton, true}, {ckTitleButton, true}, {ckButton, false},
                        {ckCheckBox, false}};
  std::vector<TTestSkinnedGraphic*> children;
  for (const Case& c : cases) {
    auto* child = Add<TTestSkinnedGraphic>(c.kind, 10 + 40 * int(children.size()), 10, 30, 30, bar);
    child->SkinData->MouseAbove = true;
    children.push_back(child);
  }
  auto* sender = Add<TTestSkinnedGraphic>(ckSpeedButton, 200, 10, 30, 30, bar);
  sender->SkinData->MouseAbove = true;
  bar->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(sender));
  for (size_t i = 0; i < children.size(); ++i)
    EXPECT_EQ(children[i]->SkinData->MouseAbove, !cases[i].left) << "kind " << cases[i].kind;
  EXPECT_TRUE(sender->SkinData->MouseAbove) << "the sender stays hot";
}

// A tab sheet's image always follows its parent's; another opaque, enabled
// owner's does not.
TEST_F(SkinnedForm, OnlyTheTabSheetKindAlwaysDependsOnTheParentsImage) {
  Sec(L"PANEL").Transparency = 0;
  for (auto [kind, depends] : {std::pair{ckTabSheet, true}, std::pair{ckPanel, false}}) {
    TTestSkinned* c = Add(kind, 0, 0, 100, 100);
    c->SkinData->SetSkinSection(L"PANEL");
    ASSERT_TRUE(c->SkinData->Skinned());
    EXPECT_EQ(c->SkinData->DependsOnParentBg(), depends) << "kind " << kind;
    delete c;
  }
}

TEST_F(SkinnedForm, FocusMessagesMarkFocusableOwners) {
  TTestSkinned* c = Add(ckButton, 0, 0, 80, 24);
  c->SetTabStop(true);
  form->Show();
  c->SkinData->BGChanged = false;
  c->Perform(WM_SETFOCUS);
  EXPECT_TRUE(c->SkinData->Focused);
  EXPECT_TRUE(c->SkinData->BGChanged);
  c->Perform(WM_KILLFOCUS);
  EXPECT_FALSE(c->SkinData->Focused);
  c->SkinData->Focused = true;
  c->SkinData->MouseAbove = true;
  c->Perform(WM_FONTCHANGE);
  EXPECT_FALSE(c->SkinData->Focused);
  EXPECT_FALSE(c->SkinData->MouseAbove);
  // Without TabStop focus is not tracked.
  c->SetTabStop(false);
  c->Perform(WM_SETFOCUS);
  EXPECT_FALSE(c->SkinData->Focused);
  form->Hide();
}

TEST_F(SkinnedForm, SizeOfAGradientOwnerTellsItsUnanchoredChildren) {
  TTestSkinned* owner = Add(ckPanel, 0, 0, 200, 100);
  owner->SkinData->SetSkinSection(L"TOOLBAR");
  ASSERT_GT(Sec(L"TOOLBAR").GradientPercent, 0);
  TTestSkinned* free = Add(ckButton, 0, 0, 20, 20, owner);
  TTestSkinned* anchored = Add(ckButton, 30, 0, 20, 20, owner);
  anchored->SetAnchors(AnchorBit(akLeft) | AnchorBit(akRight));
  owner->SkinData->BGChanged = false;
  free->Commands.clear();
  anchored->Commands.clear();
  owner->Perform(WM_SIZE);
  EXPECT_TRUE(owner->SkinData->BGChanged);
  ASSERT_EQ(1, free->CountOf(AC_PARENTBGCHANGED));
  EXPECT_EQ(1, free->Commands.back().lo);
  EXPECT_EQ(0, anchored->CountOf(AC_PARENTBGCHANGED));

  // A plain panel does not bother its children.
  owner->SkinData->SetSkinSection(L"PANEL");
  free->Commands.clear();
  owner->Perform(WM_SIZE);
  EXPECT_EQ(0, free->CountOf(AC_PARENTBGCHANGED));
}

TEST_F(SkinnedForm, MoveOfAParentDependentOwnerAsksForItsOwnRedraw) {
  TTestSkinned* textured = Add(ckPanel, 0, 0, 200, 200);
  textured->SkinData->SetSkinSection(L"TOOLBAR");
  TTestSkinned* c = Add(ckPanel, 0, 0, 50, 50, textured);
  c->Commands.clear();
  c->Perform(WM_MOVE);
  EXPECT_EQ(0, c->CountOf(AC_PARENTBGCHANGED));
  Sec(L"PANEL").Transparency = 100;  // now it shows the form through
  c->Perform(WM_MOVE);
  ASSERT_EQ(1, c->CountOf(AC_PARENTBGCHANGED));
}

TEST_F(SkinnedForm, ParentBackgroundChangePassesDownOnlyWhenDependent) {
  TTestSkinned* owner = Add(ckPanel, 0, 0, 200, 100);
  TTestSkinned* child = Add(ckButton, 0, 0, 20, 20, owner);
  child->Commands.clear();
  owner->SkinData->BGChanged = false;
  Cmd(owner, AC_PARENTBGCHANGED);
  EXPECT_FALSE(owner->SkinData->BGChanged);
  EXPECT_EQ(0, child->CountOf(AC_PARENTBGCHANGED));
  owner->SkinData->BGDependent = true;
  Cmd(owner, AC_PARENTBGCHANGED);
  EXPECT_TRUE(owner->SkinData->BGChanged);
  EXPECT_EQ(1, child->CountOf(AC_PARENTBGCHANGED));
}

TEST_F(SkinnedForm, EditsTakeTheSectionColoursUnlessCustom) {
  auto* edit = Construct<TEdit>(form);
  edit->SetParent(form);
  TsCommonData sd(edit, true);
  sd.ControlKind = ckEdit;
  sd.Loaded();
  const TsGeneralData& s = Sec(L"EDIT");
  EXPECT_EQ(s.Color, edit->Color());
  EXPECT_EQ(static_cast<TColor>(s.FontColor[0]), edit->Font()->Color());
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN), reinterpret_cast<LPARAM>(manager.get()), 0};
  CommonAlphaCmd(m, &sd);
  EXPECT_EQ(clWindow, edit->Color());
  EXPECT_EQ(clWindowText, edit->Font()->Color());
  sd.SetCustomColor(true);
  m.WParam = SkinCmdWParam(AC_SETNEWSKIN);
  CommonAlphaCmd(m, &sd);
  m.WParam = SkinCmdWParam(AC_REFRESH);
  CommonAlphaCmd(m, &sd);
  EXPECT_EQ(clWindow, edit->Color());
  EXPECT_EQ(static_cast<TColor>(s.FontColor[0]), edit->Font()->Color());
}

TEST_F(SkinnedForm, UpdatingFollowsTheManagerAndTheParent) {
  TTestSkinned* parent = Add(ckPanel, 0, 0, 100, 100);
  TTestSkinned* child = Add(ckButton, 0, 0, 20, 20, parent);
  parent->SkinData->BGChanged = false;
  EXPECT_FALSE(child->SkinData->GetUpdating());
  parent->SkinData->Updating = true;
  EXPECT_TRUE(child->SkinData->GetUpdating());
  parent->SkinData->Updating = false;
  manager->SkinData->Active = false;
  EXPECT_TRUE(child->SkinData->GetUpdating());
  manager->SkinData->Active = true;
}

TEST_F(SkinnedForm, SkinDataOfFindsTheOwnersState) {
  TTestSkinned* c = Add(ckButton, 0, 0, 20, 20);
  EXPECT_EQ(c->SkinData.get(), SkinDataOf(c));
  EXPECT_EQ(nullptr, SkinDataOf(form));
  c->SkinData.reset();
  EXPECT_EQ(nullptr, SkinDataOf(c));
}
