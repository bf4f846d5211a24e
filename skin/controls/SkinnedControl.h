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

#include "framework/ControlCanvas.h"
#include "framework/Controls.h"
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
  bool ownDC_ = false;
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
  bool IsSkinned(bool checkActive = false) const {
    return SkinData && SkinData->Skinned(checkActive);
  }
  bool ForUs(const TMessage& m) const { return IsForManager(m, SkinData.get()); }
  bool Destroying() const { return this->HasState(csDestroying); }

 private:
  TControlCanvas controlCanvas_;
};
