// A change of skin reaches each control of a skinned form once. The form's
// provider passes the new skin and the refresh on to the form's children and
// adapted windows, and the form broadcast passes them on again after it:
// within one broadcast a control that has heard a command does not hear it
// (nor do its children through it) a second time. Outside such a broadcast
// every sending still arrives.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "framework/WindowSubclass.h"
#include "skin/controls/Button.h"
#include "skin/controls/Memo.h"
#include "skin/controls/Panel.h"
#include "skin/engine/AnimEffects.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/ProvidedFormTestSupport.h"

using namespace skintest;

namespace {

// The skin-change commands one receiver heard, by command.
using Heard = std::map<WORD, int>;

void Note(Heard& heard, const TMessage& m) {
  if (m.Msg != SM_ALPHACMD) return;
  const WORD cmd = SkinCmdOf(m);
  if (cmd == AC_SETNEWSKIN || cmd == AC_REFRESH || cmd == AC_REMOVESKIN) ++heard[cmd];
}

template <class Base>
class Counting : public Base {
 public:
  using Base::Base;
  Heard heard;
  void WndProc(TMessage& m) override {
    Note(heard, m);
    Base::WndProc(m);
  }
};

class SkinChangeOnce : public adaptertest::ProvidedForm {
 protected:
  void SetUp() override {
    SetUpForm(420, 300);
    AnimationsOff();
    panel = Place<Counting<TsPanel>>(form, 10, 10, 180, 150);
    button = Place<Counting<TsButton>>(panel, 10, 10, 100, 30);
    button->SetCaption(L"Анализ");
    graphic = Construct<Counting<TTestSkinnedGraphic>>(form, 0);
    graphic->SetParent(panel);
    graphic->SetBounds(10, 60, 60, 20);
    graphic->SkinData->Loaded();
    group = Place<TGroupBox>(form, 200, 10, 180, 150);
    memo = Place<Counting<TsMemo>>(group, 10, 20, 150, 60);
    ShowAndPump(50);
    // Beneath the adapter, which answers the commands for the group box.
    groupWatch = std::make_unique<TWindowSubclass>(
        group->Handle(), [this](UINT msg, WPARAM w, LPARAM l) {
          TMessage m{msg, w, l, 0};
          Note(groupHeard, m);
          return groupWatch->CallPrevious(msg, w, l);
        });
  }
  void TearDown() override {
    groupWatch.reset();
    ProvidedForm::TearDown();
  }
  void Forget() {
    for (Heard* h : {&panel->heard, &button->heard, &graphic->heard, &groupHeard, &memo->heard})
      h->clear();
  }
  std::wstring OtherSkin() const {
    const auto* skins = manager->InternalSkins();
    return skins->Items(skins->Items(0)->Name() == manager->SkinName() ? 1 : 0)->Name();
  }

  Counting<TsPanel>* panel = nullptr;
  Counting<TsButton>* button = nullptr;
  Counting<TTestSkinnedGraphic>* graphic = nullptr;
  TGroupBox* group = nullptr;
  Counting<TsMemo>* memo = nullptr;
  Heard groupHeard;
  std::unique_ptr<TWindowSubclass> groupWatch;
};

}  // namespace

TEST_F(SkinChangeOnce, EveryReceiverHearsTheNewSkinAndTheRefreshOnce) {
  for (int change = 0; change < 2; ++change) {
    SCOPED_TRACE(change);
    Forget();
    manager->SetSkinName(OtherSkin());
    adaptertest::PumpFor(20);
    const std::vector<std::pair<const char*, Heard*>> receivers = {
        {"panel on the form", &panel->heard},
        {"button in the panel", &button->heard},
        {"graphic control in the panel", &graphic->heard},
        {"adapted group box", &groupHeard},
        {"memo in the adapted group box", &memo->heard}};
    for (const auto& [name, heard] : receivers) {
      SCOPED_TRACE(name);
      EXPECT_EQ((*heard)[AC_SETNEWSKIN], 1);
      EXPECT_EQ((*heard)[AC_REFRESH], 1);
    }
    // Hearing once is enough to show the new skin.
    EXPECT_EQ(Px(*PrintControl(panel), 170, 140), ColorToRGB(Sec(L"PANEL").Color));
    EXPECT_FALSE(button->SkinData->BGChanged);
    EXPECT_EQ(Px(*PrintControl(button), 50, 15), Px(*button->SkinData->CacheBmp, 50, 15));
    EXPECT_EQ(ColorToRGB(memo->Color()), ColorToRGB(Sec(L"EDIT").Color));
  }
}

// The adapter of a standard container answers the skin commands for it and
// passes them on to the skinned controls inside it: turned off and on
// again, the skin comes back to them too.
TEST_F(SkinChangeOnce, ControlsInAnAdaptedContainerTakeTheSkinBack) {
  manager->SetActive(false);
  adaptertest::PumpFor(20);
  ASSERT_FALSE(memo->SkinData->Skinned());
  manager->SetActive(true);
  adaptertest::PumpFor(20);
  EXPECT_TRUE(memo->SkinData->Skinned());
  EXPECT_EQ(ColorToRGB(memo->Color()), ColorToRGB(Sec(L"EDIT").Color));
  EXPECT_EQ(Px(*PrintControl(memo), 1, 30), Px(*memo->SkinData->CacheBmp, 1, 30));
}

// The sender's own repeated sendings are not merged: only within one
// broadcast of a command are the receivers it has reached skipped, and a
// broadcast of it opened inside that one starts nothing new.
TEST_F(SkinChangeOnce, OnlyOneBroadcastOfTheSameCommandIsMerged) {
  const auto ours = reinterpret_cast<LPARAM>(manager.get());
  TMessage refresh{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), ours, 0};
  TMessage otherArgument{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), 0, 0};
  struct Case {
    const char* name;
    bool inOneBroadcast;
    TMessage* second;
    int heard;
  };
  const Case cases[] = {
      {"three sendings", false, &refresh, 3},
      {"three times in one broadcast", true, &refresh, 1},
      {"another argument in one broadcast", true, &otherArgument, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Forget();
    {
      std::optional<TacDeliverOnce> once;
      if (c.inOneBroadcast) once.emplace(refresh);
      BroadcastToChildren(form, refresh);
      BroadcastToChildren(form, *c.second);
      TacDeliverOnce nested(refresh);
      BroadcastToChildren(form, refresh);
    }
    EXPECT_EQ(panel->heard[AC_REFRESH], c.heard);
    EXPECT_EQ(button->heard[AC_REFRESH], c.heard);
    EXPECT_EQ(graphic->heard[AC_REFRESH], c.heard);
  }
}
