// Window-procedure chaining, reflection of notifications to the child that
// sent them, mouse enter/leave, alignment and the page control.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

namespace {

class ControlsOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    form_ = Construct<TForm>(Application);
    form_->SetBounds(10, 10, 400, 300);
  }
  void TearDown() override { delete form_; }
  TForm* form_ = nullptr;
};

// A control that records what reaches its own WndProc.
class ProbeControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  const wchar_t* ClassName() const override { return L"TProbeControl"; }
  void WndProc(TMessage& m) override {
    if (m.Msg >= WM_USER && m.Msg < WM_USER + 100) seen.push_back(L"self" + std::to_wstring(m.Msg - WM_USER));
    TCustomControl::WndProc(m);
  }
  std::vector<std::wstring> seen;
};

TEST_F(ControlsOnForm, HooksChainOutermostFirstAndUnlinkInAnyOrder) {
  auto* probe = Construct<ProbeControl>(form_);
  probe->SetParent(form_);
  auto hook = [probe](const wchar_t* name) {
    return std::make_unique<TWndProcHook>(probe, [probe, name](TMessage& m, const TWndMethod& next) {
      if (m.Msg >= WM_USER && m.Msg < WM_USER + 100) probe->seen.push_back(name);
      next(m);
    });
  };
  auto a = hook(L"a");
  auto b = hook(L"b");
  auto c = hook(L"c");
  probe->Perform(WM_USER + 1);
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"c", L"b", L"a", L"self1"}));

  // Out of order: the middle link first, then the first, then the last.
  b.reset();
  probe->seen.clear();
  SendMessageW(probe->Handle(), WM_USER + 2, 0, 0);  // through the real window too
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"c", L"a", L"self2"}));
  a.reset();
  c.reset();
  probe->seen.clear();
  probe->Perform(WM_USER + 3);
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"self3"}));
}

TEST_F(ControlsOnForm, HookThatUnlinksItselfWhileRunningFinishesSafely) {
  auto* probe = Construct<ProbeControl>(form_);
  probe->SetParent(form_);
  std::unique_ptr<TWndProcHook> self;
  std::unique_ptr<TWndProcHook> inner = std::make_unique<TWndProcHook>(
      probe, [probe](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_USER + 5) probe->seen.push_back(L"inner");
        next(m);
      });
  self = std::make_unique<TWndProcHook>(probe, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == WM_USER + 5) {
      probe->seen.push_back(L"self-removing");
      inner.reset();  // another link goes away mid-dispatch
      self.reset();   // and so does this one
    }
    next(m);
  });
  probe->Perform(WM_USER + 5);
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"self-removing", L"self5"}));
}

TEST_F(ControlsOnForm, HookAddedWhileRunningSeesTheNextMessageAndNestedOnes) {
  auto* probe = Construct<ProbeControl>(form_);
  probe->SetParent(form_);
  std::unique_ptr<TWndProcHook> added;
  TWndProcHook adder(probe, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == WM_USER + 6 && !added) {
      probe->seen.push_back(L"adder");
      added = std::make_unique<TWndProcHook>(probe, [probe](TMessage& m2, const TWndMethod& next2) {
        if (m2.Msg >= WM_USER && m2.Msg < WM_USER + 100) probe->seen.push_back(L"added");
        next2(m2);
      });
      probe->Perform(WM_USER + 7);  // a message sent from inside: the new link is in place
    }
    next(m);
    next(m);  // passing a message on twice reaches the same links twice
  });
  probe->Perform(WM_USER + 6);
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"adder", L"added", L"self7", L"self7",
                                                    L"self6", L"self6"}));
  probe->seen.clear();
  probe->Perform(WM_USER + 8);
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"added", L"self8", L"self8"}));
  added.reset();
  probe->seen.clear();
  probe->Perform(WM_USER + 9);
  EXPECT_EQ(probe->seen, (std::vector<std::wstring>{L"self9", L"self9"}));
  EXPECT_TRUE(probe->HasHooks());
}

TEST_F(ControlsOnForm, ParentReflectsCommandsToTheChildThatSentThem) {
  auto* button = Construct<TButton>(form_);
  button->SetParent(form_);
  button->SetCaption(L"Нажми");
  int clicks = 0;
  button->OnClick = [&](TObject* s) {
    EXPECT_EQ(s, button);
    ++clicks;
  };
  // The system button tells its parent; the parent hands it back as CN_COMMAND.
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->Caption(), L"Нажми");
  wchar_t cls[64];
  GetClassNameW(button->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TButton") << "our own class, superclassing BUTTON";

  auto* check = Construct<TCheckBox>(form_);
  check->SetParent(form_);
  int toggles = 0;
  check->OnClick = [&](TObject*) { ++toggles; };
  SendMessageW(check->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(check->Checked());
  check->SetChecked(false);
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(toggles, 2) << "a change in code is announced like a click";
}

TEST_F(ControlsOnForm, ColourQuestionsAreAnsweredByTheChild) {
  auto* probe = Construct<ProbeControl>(form_);
  probe->SetParent(form_);
  std::vector<UINT> got;
  TWndProcHook hook(probe, [&](TMessage& m, const TWndMethod& next) {
    got.push_back(m.Msg);
    next(m);
  });
  HDC dc = GetDC(probe->Handle());
  SendMessageW(form_->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(probe->Handle()));
  ReleaseDC(probe->Handle(), dc);
  EXPECT_NE(std::find(got.begin(), got.end(), CN_CTLCOLORSTATIC), got.end());
}

TEST_F(ControlsOnForm, GraphicChildHearsMouseEnterLeaveAndClick) {
  auto* panel = Construct<ProbeControl>(form_);
  panel->SetBounds(0, 0, 200, 100);
  panel->SetParent(form_);
  auto* label = Construct<TLabel>(form_);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 50, 20);
  label->SetParent(panel);
  std::vector<std::wstring> events;
  label->OnMouseEnter = [&](TObject*) { events.push_back(L"enter"); };
  label->OnMouseLeave = [&](TObject*) { events.push_back(L"leave"); };
  label->OnClick = [&](TObject*) { events.push_back(L"click"); };
  HWND w = panel->Handle();
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(150, 80));
  EXPECT_EQ(events, (std::vector<std::wstring>{L"enter", L"click", L"leave"}));
  EXPECT_EQ(MouseControl(), panel);
}

TEST_F(ControlsOnForm, AlignedChildrenShareTheClientArea) {
  form_->SetClientWidth(300);
  form_->SetClientHeight(200);
  auto* top = Construct<TPanel>(form_);
  top->SetHeight(30);
  top->SetAlign(alTop);
  top->SetParent(form_);
  auto* left = Construct<TPanel>(form_);
  left->SetWidth(50);
  left->SetAlign(alLeft);
  left->SetParent(form_);
  auto* bottom = Construct<TStatusBar>(form_);  // alBottom by default
  bottom->SetHeight(22);
  bottom->SetParent(form_);
  auto* client = Construct<TPanel>(form_);
  client->SetAlign(alClient);
  client->SetParent(form_);
  EXPECT_EQ(form_->ClientWidth(), 300);
  EXPECT_EQ(form_->ClientHeight(), 200);
  auto bounds = [](TControl* c) {
    return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()};
  };
  EXPECT_EQ(bounds(top), (std::vector<int>{0, 0, 300, 30}));
  EXPECT_EQ(bounds(bottom), (std::vector<int>{0, 178, 300, 22}));
  EXPECT_EQ(bounds(left), (std::vector<int>{0, 30, 50, 148}));
  EXPECT_EQ(bounds(client), (std::vector<int>{50, 30, 250, 148}));
  // The windows agree with the stored bounds.
  RECT r;
  GetWindowRect(client->Handle(), &r);
  MapWindowPoints(nullptr, form_->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right - r.left, 250);
}

TEST_F(ControlsOnForm, PageControlShowsOnlyTheActivePage) {
  auto* pc = Construct<TPageControl>(form_);
  pc->SetAlign(alClient);
  pc->SetParent(form_);
  std::vector<TTabSheet*> pages;
  for (int i = 0; i < 3; ++i) {
    auto* page = Construct<TTabSheet>(form_);
    page->SetTabVisible(false);
    page->SetPageControl(pc);
    pages.push_back(page);
  }
  pc->SetActivePageIndex(1);
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  EXPECT_TRUE(IsWindowVisible(pages[1]->Handle()) || !IsWindowVisible(form_->Handle()));
  EXPECT_FALSE(GetWindowLongPtrW(pages[0]->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongPtrW(pages[1]->Handle(), GWL_STYLE) & WS_VISIBLE);
  // With every tab hidden the page fills the control.
  EXPECT_EQ(pages[1]->Width(), pc->ClientWidth());
  pc->SetActivePageIndex(7);
  EXPECT_EQ(pc->ActivePage(), nullptr) << "an index outside the pages clears the selection";
  EXPECT_FALSE(GetWindowLongPtrW(pages[1]->Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ControlsOnForm, TextSurvivesRecreatingTheWindow) {
  auto* memo = Construct<TMemo>(form_);
  memo->SetParent(form_);
  memo->Lines()->Add(L"первая");
  memo->Lines()->Add(L"вторая");
  HWND before = memo->Handle();
  memo->SetScrollBars(ssVertical);  // changes the style: a new window
  EXPECT_NE(memo->Handle(), before);
  ASSERT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(memo->Lines()->Strings(1), L"вторая");
  memo->Lines()->Delete(0);
  EXPECT_EQ(memo->Text(), L"вторая\r\n");
}

TEST_F(ControlsOnForm, PrivateMessagesOfTheReflectedRangeNeverReachTheSystem) {
  auto* probe = Construct<ProbeControl>(form_);
  probe->SetParent(form_);
  int helps = 0;
  TWndProcHook onForm(form_, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == WM_HELP) ++helps;
    next(m);
  });
  // CN_BASE + WM_KEYF1: not a reflection the framework sends, so the
  // system must not take it for WM_KEYF1 and ask the form for help.
  SendMessageW(probe->Handle(), CN_BASE + 0x4D, 0, 0);
  EXPECT_EQ(helps, 0);
  // A reflection nobody handled still gets the system's answer.
  HDC dc = GetDC(probe->Handle());
  LRESULT brush = SendMessageW(probe->Handle(), CN_CTLCOLORMSGBOX, reinterpret_cast<WPARAM>(dc), 0);
  ReleaseDC(probe->Handle(), dc);
  EXPECT_NE(brush, 0);
}

TEST_F(ControlsOnForm, ShowingChangesBeforeTheWindowShowsOrHides) {
  // (form showing, form window visible, child showing) at the form's
  // CM_SHOWINGCHANGED: an appearing form's children show already, so
  // whatever paints while the form shows finds them showing.
  std::vector<std::tuple<bool, bool, bool>> seen;
  auto* child = Construct<TPanel>(form_);
  child->SetParent(form_);
  form_->HandleNeeded();
  TWndProcHook hook(form_, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == CM_SHOWINGCHANGED)
      seen.emplace_back(form_->IsShowing(), IsWindowVisible(form_->WindowHandle()) != FALSE,
                        child->IsShowing());
    next(m);
  });
  form_->Show();
  EXPECT_TRUE(IsWindowVisible(form_->WindowHandle()));
  EXPECT_TRUE(IsWindowVisible(child->WindowHandle()));
  form_->Hide();
  EXPECT_FALSE(IsWindowVisible(form_->WindowHandle()));
  EXPECT_FALSE(child->IsShowing());
  EXPECT_EQ(seen, (std::vector<std::tuple<bool, bool, bool>>{{true, false, true}, {false, true, true}}));
}

TEST(Application, ProcessMessagesKeepsTheQuitItMeets) {
  InitFramework();
  TApplication local(nullptr);
  PostQuitMessage(3);
  local.ProcessMessages();
  EXPECT_TRUE(local.Terminated());
}

TEST(Application, ExceptionInAHandlerIsReportedNotPropagated) {
  InitFramework();
  TForm* form = Construct<TForm>(Application);
  auto* button = Construct<TButton>(form);
  button->SetParent(form);
  button->OnClick = [](TObject*) { throw Exception(L"Ошибка обработчика"); };
  std::wstring reported;
  Application->OnException = [&](TObject*, std::exception_ptr e) { reported = ExceptionMessage(e); };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(reported, L"Ошибка обработчика");
  delete form;
}

TEST(Forms, ClientSizeAndStyleOfASingleBorderForm) {
  InitFramework();
  TForm* form = Construct<TForm>(Application);
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons(biSystemMenu | biMinimize);
  form->SetClientWidth(627);
  form->SetClientHeight(460);
  RECT r;
  GetClientRect(form->Handle(), &r);
  EXPECT_EQ(r.right, 627);
  EXPECT_EQ(r.bottom, 460);
  LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  wchar_t cls[64];
  GetClassNameW(form->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TForm");
  delete form;
}

}  // namespace

namespace {

// Records, from its own override, the messages its window's end brings.
class TLastWords : public TCustomControl {
 public:
  TLastWords(TComponent* owner, std::vector<std::wstring>* log) : TCustomControl(owner), log_(log) {}
  ~TLastWords() override { log_->push_back(L"destructor"); }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_DESTROY) log_->push_back(L"WM_DESTROY");
    if (m.Msg == WM_KILLFOCUS) log_->push_back(L"WM_KILLFOCUS");
    TCustomControl::WndProc(m);
  }

 private:
  std::vector<std::wstring>* log_;
};

}  // namespace

TEST_F(ControlsOnForm, TheWindowGoesBeforeTheDestructorsRun) {
  std::vector<std::wstring> log;
  auto* alone = Construct<TLastWords>(form_, &log);
  alone->SetParent(form_);
  alone->HandleNeeded();
  delete alone;
  EXPECT_EQ(log, (std::vector<std::wstring>{L"WM_DESTROY", L"destructor"}));

  // Owned by the form: freed with it, the window still first.
  log.clear();
  auto* owned = Construct<TLastWords>(form_, &log);
  owned->SetParent(form_);
  HWND wnd = owned->Handle();
  delete form_;
  form_ = nullptr;
  EXPECT_FALSE(IsWindow(wnd));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), L"WM_DESTROY");
  EXPECT_EQ(log.back(), L"destructor");
}
