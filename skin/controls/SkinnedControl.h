// The skinned-control pattern every control of this folder shares: the
// control owns a TsCommonData (published as SkinData) that it loads after
// construction and after loading and frees before the framework's
// destructor runs; it answers the skin commands that must reach every
// control whether skinned or not; and it paints by copying the cache image
// that it rebuilds only when SkinData says the image is stale.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <type_traits>

#include "framework/ControlCanvas.h"
#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"

class TsSkinManager;
class TsBoundLabel;

using TPaintEvent = std::function<void(TObject* sender, TCanvas* canvas)>;
using TBmpPaintEvent = std::function<void(TObject* sender, TBitmap* bmp)>;

// Answers AC_CTRLHANDLED: this window paints itself from the skin (in
// LParam for a direct call, in the result for a window message). True.
inline bool AnswerSkinned(TMessage& message) {
  message.LParam = 1;
  message.Result = 1;
  return true;
}

// The command carries our own manager in LParam.
bool IsForManager(const TMessage& message, const TsCommonData* skinData);

// BeginPaint (which validates the update region) and the device context to
// paint with: the message's DC when it gives one, else the window's whole
// client DC. The DC's state is saved and restored; what was taken is given
// back.
class TacPaintScope {
 public:
  TacPaintScope(HWND wnd, HDC given, bool beginPaint = true);
  ~TacPaintScope();
  TacPaintScope(const TacPaintScope&) = delete;
  TacPaintScope& operator=(const TacPaintScope&) = delete;
  HDC DC() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_ = nullptr;
  UniqueWindowDC ownDC_;
  bool begun_ = false;
  int saved_ = 0;
  PAINTSTRUCT ps_{};
};

// Copies a container's cache to DC around its visible opaque children,
// paints its graphic children over the cached background and, for a real
// paint, tells its windowed children that the parent has finished.
void PaintContainerCache(TWinControl* control, TsCommonData* skinData, HDC dc, bool stale,
                         bool sendUpdated);
// The cache bitmap's 24-bit pixels to DC at (0, 0) in the cache's size.
void CopyCacheToDC(TsCommonData* skinData, HDC dc);
// Before a control that paints its whole image rebuilds it: the image is
// stale when it was last painted half visible or the parent says it is
// half visible; HalfVisible then records whether the control's bounds leave
// its parent's client area.
void MarkStaleByParent(TControl* control, TsCommonData* skinData);
// The pixels of the manager's master bitmap (empty without one), which
// masks without their own bitmap are drawn from.
TacBmpView MasterView(const TsSkinManager* manager);

// The caption label of an edit-like control follows the control's
// visibility, enabled state and place (a message the control has handled).
void FollowBoundLabel(TsBoundLabel* boundLabel, TControl* control, UINT msg);

// When a container's children hear a skin-change command, relative to its
// own reaction: not at all, before it, between the common reaction and the
// control's own, or after both.
enum class TacChildPass { None, First, AfterCommon, Last };

// How a control takes one skin-change command (AC_SETNEWSKIN,
// AC_REMOVESKIN, AC_REFRESH).
struct TacSkinChangeRule {
  TacChildPass children = TacChildPass::None;
  // Children hear the command even when it is for another manager.
  bool childrenForAnyManager = false;
  // The command counts as handled (the window procedure goes no further):
  // for our own manager, and for another manager.
  bool handledForUs = true;
  bool handledForOthers = true;
};

template <class Base>
class TsSkinnedControl : public Base {
 public:
  TsSkinnedControl(TComponent* AOwner, int kind, bool withCache = true)
      : Base(AOwner), SkinData(std::make_unique<TsCommonData>(this, withCache)),
        controlCanvas_(this) {
    SkinData->ControlKind = kind;
  }
  ~TsSkinnedControl() override {
    controlCanvas_.FreeHandle();
    SkinData.reset();
  }
  void AfterConstruction() override {
    Base::AfterConstruction();
    if (SkinData) SkinData->Loaded();
  }
  void Loaded() override {
    Base::Loaded();
    if (SkinData) SkinData->Loaded();
  }

  // ---- published ----
  std::unique_ptr<TsCommonData> SkinData;

  // A canvas on the control itself, usable outside WM_PAINT.
  TControlCanvas* ControlCanvas() { return &controlCanvas_; }

 protected:
  // The skin commands that reach a control whether or not it is skinned:
  // AC_CTRLHANDLED is answered, and the three skin-change commands run the
  // same steps for every control: children first (when the rule says so),
  // BeforeSkinChange, the common reaction (CommonWndProc), children,
  // AfterSkinChange, children last. A command for another manager only
  // reaches the children, when the rule says so. Every other command goes
  // to OtherSkinCommand. True = handled.
  bool SkinCommand(TMessage& m) {
    const WORD cmd = SkinCmdOf(m);
    if (cmd == AC_CTRLHANDLED) return AnswerSkinned(m);
    if (cmd != AC_SETNEWSKIN && cmd != AC_REMOVESKIN && cmd != AC_REFRESH)
      return OtherSkinCommand(m);
    const TacSkinChangeRule rule = SkinChangeRule(cmd);
    if (!ForUs(m)) {
      if (rule.childrenForAnyManager) PassToChildren(rule, rule.children, m);
      return rule.handledForOthers;
    }
    PassToChildren(rule, TacChildPass::First, m);
    const bool react = BeforeSkinChange(m);
    if (react) CommonWndProc(m, SkinData.get());
    PassToChildren(rule, TacChildPass::AfterCommon, m);
    if (react) AfterSkinChange(m);
    PassToChildren(rule, TacChildPass::Last, m);
    return rule.handledForUs;
  }
  // Hooks of SkinCommand for what differs between controls.
  virtual TacSkinChangeRule SkinChangeRule(WORD /*cmd*/) const { return {}; }
  // Before the common reaction to a command for our manager; false skips
  // the common and the control's own reaction.
  virtual bool BeforeSkinChange(TMessage& /*m*/) { return true; }
  // The control's own reaction after the common one.
  virtual void AfterSkinChange(TMessage& /*m*/) {}
  // Skin commands other than the four above; true = handled.
  virtual bool OtherSkinCommand(TMessage& /*m*/) { return false; }

  bool IsSkinned(bool checkActive = false) const {
    return SkinData && SkinData->Skinned(checkActive);
  }
  bool ForUs(const TMessage& m) const { return IsForManager(m, SkinData.get()); }
  bool Destroying() const { return this->HasState(csDestroying); }

 private:
  void PassToChildren(const TacSkinChangeRule& rule, TacChildPass when, TMessage& m) {
    if constexpr (std::is_base_of_v<TWinControl, Base>) {
      if (rule.children == when && when != TacChildPass::None) BroadcastToChildren(this, m);
    }
  }

  TControlCanvas controlCanvas_;
};
