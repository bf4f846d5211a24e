// Controls for the engine's tests that own a TsCommonData the way the
// skinned controls do: their window procedure hands everything to
// CommonWndProc and records the skin commands that reach them. A fixture
// puts them on a form with an internal skin loaded.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/Fades.h"
#include "skin/engine/SkinMessages.h"
#include "tests/skin/engine/SkinTestSupport.h"
#include "tests/common/Place.h"
#include "tests/common/Pump.h"

namespace skintest {

using testenv::PumpFor;
using testenv::PumpUntil;

struct SkinCmdRecord {
  WORD cmd;
  WORD lo;
  LPARAM lParam;
};

// What both test controls do with a message before CommonWndProc.
template <class Base>
class TTestSkinnedBase : public Base {
 public:
  TTestSkinnedBase(TComponent* owner, int kind)
      : Base(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->ControlKind = kind;
  }
  ~TTestSkinnedBase() override {
    StopFading(FadeTimer);
    SkinData.reset();
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD) {
      Commands.push_back({SkinCmdOf(m), m.WParamLo(), m.LParam});
      switch (SkinCmdOf(m)) {
        case AC_PREPARECACHE:
          if (OnPrepareCache) OnPrepareCache();
          return;
        case AC_STOPFADING:
          ++Stops;
          StopFading(FadeTimer);
          if (OnStopFading) OnStopFading();
          return;
        case AC_PAINTFADEFRAME:
          if (OnFadeFrame) OnFadeFrame(reinterpret_cast<TBitmap*>(m.LParam));
          m.Result = PaintFramesSelf ? 1 : 0;
          return;
      }
    }
    if (SkinData && CommonWndProc(m, SkinData.get())) return;
    Base::WndProc(m);
  }
  int CountOf(WORD cmd) const {
    int n = 0;
    for (const auto& c : Commands) n += c.cmd == cmd;
    return n;
  }

  std::unique_ptr<TsCommonData> SkinData;
  TsFadeTimer* FadeTimer = nullptr;
  std::vector<SkinCmdRecord> Commands;
  std::function<void()> OnPrepareCache;
  std::function<void()> OnStopFading;
  std::function<void(TBitmap*)> OnFadeFrame;
  bool PaintFramesSelf = false;
  int Stops = 0;
};

class TTestSkinned : public TTestSkinnedBase<TCustomControl> {
 public:
  TTestSkinned(TComponent* owner, int kind) : TTestSkinnedBase(owner, kind) {}
  const wchar_t* ClassName() const override { return L"TTestSkinned"; }
};

class TTestSkinnedGraphic : public TTestSkinnedBase<TGraphicControl> {
 public:
  TTestSkinnedGraphic(TComponent* owner, int kind) : TTestSkinnedBase(owner, kind) {}
  const wchar_t* ClassName() const override { return L"TTestSkinnedGraphic"; }
};

// A form with the WLM internal skin loaded by the default manager.
class SkinnedForm : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(L"WLM (internal)", FixtureSkinDir(), true);
    form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 400, 300);
    form->SetColor(clWhite);
  }
  void TearDown() override {
    delete form;
    manager.reset();
  }
  // A windowed test control on the form with SkinData loaded.
  template <class T = TTestSkinned>
  T* Add(int kind, int l, int t, int w, int h, TWinControl* parent = nullptr) {
    T* c = Construct<T>(form, kind);
    c->SetParent(parent ? parent : form);
    c->SetBounds(l, t, w, h);
    c->SkinData->Loaded();
    return c;
  }
  // Paints the whole form again at once, as its skin provider does after a
  // change of skin, and delivers what that left waiting.
  void RepaintAll() {
    ::RedrawWindow(form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(20);
  }
  // A control of the form's on `parent`.
  template <class T>
  T* Place(TWinControl* parent, int l, int t, int w, int h) {
    return testenv::Place<T>(form, parent, l, t, w, h);
  }
  // A page of the form's with a caption.
  template <class Sheet>
  Sheet* AddPage(TPageControl* pages, const std::wstring& caption) {
    return testenv::AddPage<Sheet>(form, pages, caption);
  }
  TsGeneralData& Sec(const std::wstring& name) {
    int i = manager->GetSkinIndex(name);
    EXPECT_GE(i, 0) << "no section";
    return manager->gd[i];
  }
  ManagerPtr manager;
  TForm* form = nullptr;
};

}  // namespace skintest
