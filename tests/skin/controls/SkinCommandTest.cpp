// Every skinned control kind against the skin commands that reach a control
// whether or not it is skinned: it declares itself skinned, reacts to a new
// skin, a refresh and the removal of the skin only when the command names
// its own manager, repaints where it does, and passes each command to its
// children where it is a container (before or after its own reaction).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>

#include "skin/controls/AlphaListBox.h"
#include "skin/controls/BitBtn.h"
#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/ComboBox.h"
#include "skin/controls/Edit.h"
#include "skin/controls/GroupBox.h"
#include "skin/controls/ListView.h"
#include "skin/controls/Memo.h"
#include "skin/controls/PageControl.h"
#include "skin/controls/Panel.h"
#include "skin/controls/ProgressBar.h"
#include "skin/controls/ScrollBox.h"
#include "skin/controls/SpeedButton.h"
#include "skin/controls/StatusBar.h"
#include "skin/controls/TrackBar.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

// When a child hears a skin-change command relative to its container's
// common reaction.
enum class Heard { Never, Before, After };

struct TChildRule {
  Heard newSkin = Heard::Never;
  Heard removeSkin = Heard::Never;
  Heard refresh = Heard::Never;
  // Children hear commands for another manager as well.
  bool forAnyManager = false;
};

struct TKindCase {
  const char* name;
  std::function<TControl*(TForm*)> make;
  TChildRule children;
  bool repaintsOnNewSkin;
};

template <class T>
TControl* Make(TForm* form, const wchar_t* caption = nullptr) {
  T* c = Construct<T>(form);
  c->SetParent(form);
  c->SetBounds(10, 10, 120, 60);
  if (caption) c->SetCaption(caption);
  return c;
}

const TChildRule kNoChildren{};

const TKindCase kKinds[] = {
    {"Panel", [](TForm* f) { return Make<TsPanel>(f, L"Панель"); },
     {Heard::Before, Heard::After, Heard::After, true}, false},
    {"GroupBox", [](TForm* f) { return Make<TsGroupBox>(f, L"Группа"); },
     {Heard::Before, Heard::After, Heard::After, true}, false},
    {"ScrollBox", [](TForm* f) { return Make<TsScrollBox>(f); },
     {Heard::Before, Heard::Before, Heard::After, true}, false},
    {"PageControl", [](TForm* f) { return Make<TsPageControl>(f); },
     {Heard::Before, Heard::After, Heard::After, true}, false},
    {"StatusBar", [](TForm* f) { return Make<TsStatusBar>(f); },
     {Heard::Before, Heard::After, Heard::Before, false}, true},
    {"ProgressBar", [](TForm* f) { return Make<TsProgressBar>(f); }, kNoChildren, false},
    {"TrackBar", [](TForm* f) { return Make<TsTrackBar>(f); }, kNoChildren, true},
    {"ListView", [](TForm* f) { return Make<TsListView>(f); }, kNoChildren, false},
    {"AlphaListBox", [](TForm* f) { return Make<TsListBox>(f); }, kNoChildren, false},
    {"CheckBox", [](TForm* f) { return Make<TsCheckBox>(f, L"Флажок"); }, kNoChildren, false},
    {"Button", [](TForm* f) { return Make<TsButton>(f, L"Кнопка"); }, kNoChildren, false},
    {"BitBtn", [](TForm* f) { return Make<TsBitBtn>(f, L"Кнопка"); }, kNoChildren, false},
    {"SpeedButton", [](TForm* f) { return Make<TsSpeedButton>(f, L"Пуск"); }, kNoChildren,
     false},
    {"Edit", [](TForm* f) { return Make<TsEdit>(f); }, kNoChildren, false},
    {"Memo", [](TForm* f) { return Make<TsMemo>(f); }, kNoChildren, false},
    {"ComboBox", [](TForm* f) { return Make<TsComboBox>(f); }, kNoChildren, false},
};

// A skinned child that notes, for each command it hears, whether its
// container's common reaction had already run.
class TListeningChild : public TTestSkinned {
 public:
  TListeningChild(TComponent* owner, std::function<bool(WORD)> containerReacted)
      : TTestSkinned(owner, ckPanel), containerReacted_(std::move(containerReacted)) {}
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && !heard.count(SkinCmdOf(m)))
      heard[SkinCmdOf(m)] = containerReacted_(SkinCmdOf(m)) ? Heard::After : Heard::Before;
    TTestSkinned::WndProc(m);
  }
  std::map<WORD, Heard> heard;

 private:
  std::function<bool(WORD)> containerReacted_;
};

// Counts the WM_PAINT messages a window receives.
class TPaintCounter {
 public:
  explicit TPaintCounter(HWND wnd) : wnd_(wnd) {
    ::SetWindowSubclass(wnd_, &TPaintCounter::Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~TPaintCounter() { ::RemoveWindowSubclass(wnd_, &TPaintCounter::Proc, 1); }
  TPaintCounter(const TPaintCounter&) = delete;
  TPaintCounter& operator=(const TPaintCounter&) = delete;
  int paints = 0;

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR,
                               DWORD_PTR self) {
    if (msg == WM_PAINT) ++reinterpret_cast<TPaintCounter*>(self)->paints;
    return ::DefSubclassProc(wnd, msg, w, l);
  }
  HWND wnd_;
};

class SkinCommandTest : public SkinnedForm, public ::testing::WithParamInterface<TKindCase> {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(0, 0, 400, 300);
    form->Show();
    control = GetParam().make(form);
    data = SkinDataOf(control);
    ASSERT_NE(nullptr, data);
    if (auto* container = dynamic_cast<TWinControl*>(control)) {
      child = Construct<TListeningChild>(form, [this](WORD cmd) { return Reacted(cmd); });
      child->SetParent(container);
      child->SetBounds(2, 2, 10, 10);
      child->SkinData->Loaded();
    }
    ::UpdateWindow(form->Handle());
    ASSERT_TRUE(data->Skinned(true));
  }
  // What the common reaction leaves behind, against what the test set
  // before sending.
  bool Reacted(WORD cmd) const {
    switch (cmd) {
      case AC_SETNEWSKIN:
        return data->Updating;
      case AC_REFRESH:
        return !data->Updating;
      default:
        return data->SkinIndex == -1;
    }
  }
  // Sends the command to the control and returns how often the control's
  // window painted meanwhile (a graphic control paints through its parent).
  int Send(WORD cmd, LPARAM managerArg) {
    data->Updating = cmd == AC_REFRESH;
    HWND wnd = control->Parent()->Handle();
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) wnd = windowed->Handle();
    ::UpdateWindow(wnd);
    TPaintCounter counter(wnd);
    if (child) child->heard.clear();
    SendSkinCmdToCtrl(control, cmd, static_cast<int>(managerArg));
    return counter.paints;
  }
  LPARAM Ours() const { return reinterpret_cast<LPARAM>(data->GetSkinManager()); }
  LPARAM Another() const { return reinterpret_cast<LPARAM>(&otherManagerStandIn_); }
  Heard ChildHeard(WORD cmd) const {
    if (!child) return Heard::Never;
    auto it = child->heard.find(cmd);
    return it == child->heard.end() ? Heard::Never : it->second;
  }
  std::unique_ptr<TBitmap> Image(TWinControl* c) {
    ::UpdateWindow(c->Handle());
    return PrintControl(c);
  }

  TControl* control = nullptr;
  TsCommonData* data = nullptr;
  TListeningChild* child = nullptr;

 private:
  int otherManagerStandIn_ = 0;
};

std::string KindName(const ::testing::TestParamInfo<TKindCase>& info) {
  return info.param.name;
}

}  // namespace

TEST_P(SkinCommandTest, DeclaresItselfSkinnedWhetherSkinnedOrNot) {
  for (bool skinned : {true, false}) {
    if (!skinned) data->SetSkinSection(L"NO SUCH SECTION");
    ASSERT_EQ(skinned, data->Skinned(false));
    TMessage m{SM_ALPHACMD, MAKEWPARAM(0, AC_CTRLHANDLED), 0, 0};
    control->Dispatch(m);
    EXPECT_EQ(1, m.LParam) << skinned;
    EXPECT_EQ(1, m.Result) << skinned;
  }
}

TEST_P(SkinCommandTest, NewSkinForItsManagerUpdatesAndReachesChildrenFirst) {
  const int paints = Send(AC_SETNEWSKIN, Ours());
  EXPECT_TRUE(data->Updating) << "the common reaction ran";
  EXPECT_GE(data->SkinIndex, 0);
  EXPECT_EQ(GetParam().repaintsOnNewSkin, paints > 0) << paints;
  EXPECT_EQ(GetParam().children.newSkin, ChildHeard(AC_SETNEWSKIN));
}

TEST_P(SkinCommandTest, RefreshForItsManagerRepaintsAndReachesChildren) {
  const int paints = Send(AC_REFRESH, Ours());
  EXPECT_FALSE(data->Updating) << "the common reaction ran";
  EXPECT_GT(paints, 0);
  EXPECT_EQ(GetParam().children.refresh, ChildHeard(AC_REFRESH));
}

TEST_P(SkinCommandTest, RemoveSkinForItsManagerGivesTheUnskinnedLook) {
  Send(AC_REMOVESKIN, Ours());
  EXPECT_EQ(-1, data->SkinIndex);
  EXPECT_FALSE(data->Skinned(false));
  EXPECT_EQ(GetParam().children.removeSkin, ChildHeard(AC_REMOVESKIN));
  // A graphic speed button resolves its section again when it paints under
  // an active manager; only the manager's deactivation unskins it for good.
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (!windowed) return;
  // The same kind never skinned: its section does not exist.
  TControl* plain = GetParam().make(form);
  plain->SetBounds(150, 10, control->Width(), control->Height());
  SkinDataOf(plain)->SetSkinSection(L"NO SUCH SECTION");
  ASSERT_FALSE(SkinDataOf(plain)->Skinned(false));
  // The listening child would show in the image; the plain control has
  // none.
  if (child) child->SetParent(nullptr);
  auto removed = Image(windowed);
  auto never = Image(dynamic_cast<TWinControl*>(plain));
  EXPECT_EQ(0, CountDiffering(*removed, *never, TRect{0, 0, control->Width(), control->Height()}));
}

TEST_P(SkinCommandTest, CommandsForAnotherManagerOnlyReachChildren) {
  for (WORD cmd : {AC_SETNEWSKIN, AC_REFRESH, AC_REMOVESKIN}) {
    const bool updatingBefore = cmd == AC_REFRESH;
    const int paints = Send(cmd, Another());
    EXPECT_EQ(updatingBefore, data->Updating) << cmd;
    EXPECT_GE(data->SkinIndex, 0) << cmd;
    EXPECT_EQ(0, paints) << cmd;
    const Heard expected = GetParam().children.forAnyManager ? Heard::Before : Heard::Never;
    EXPECT_EQ(expected, ChildHeard(cmd)) << cmd;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SkinCommandTest, ::testing::ValuesIn(kKinds), KindName);
