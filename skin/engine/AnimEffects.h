// TacAnimEffects: the skin manager's animation settings. It holds settings
// only; the form provider, UnlockForms, the page control and the skinned
// buttons play the animations.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Classes.h"
#include "skin/engine/SkinConsts.h"

// Common base of the form animations: Time div 8 steps of about 8 ms each.
class TacFormAnimation : public TPersistent {
 public:
  TacFormAnimation() = default;
  uint16_t Time = 0;
  bool Active = true;
};

class TacFormShow : public TacFormAnimation {};
class TacPageChange : public TacFormAnimation {};
class TacDialogShow : public TacFormAnimation {
 public:
  TacDialogShow() { Time = 100; }
};
class TacSkinChanging : public TacFormAnimation {
 public:
  TacSkinChanging() { Time = 100; }
};

// Mouse events that animate buttons.
enum TacBtnEvent : uint8_t { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
using TacBtnEvents = uint8_t;  // bit n = event n
inline constexpr TacBtnEvents AllBtnEvents = 0x0F;

// Which mouse events animate buttons. The set is process-wide: writing it
// rebuilds DefaultAnimatEvents, which every control consults whose own
// events hold aeGlobalDef, whatever manager it belongs to.
class TacBtnEffects : public TPersistent {
 public:
  // Bits 0 to 3 of DefaultAnimatEvents.
  TacBtnEvents Events() const;
  void SetEvents(TacBtnEvents value);

 private:
  TacBtnEvents events_ = AllBtnEvents;
};

class TacAnimEffects : public TPersistent {
 public:
  TacAnimEffects();
  TacBtnEffects* Buttons() const { return buttons_.get(); }
  TacDialogShow* DialogShow() const { return dialogShow_.get(); }
  TacFormShow* FormShow() const { return formShow_.get(); }
  TacPageChange* PageChange() const { return pageChange_.get(); }
  TacSkinChanging* SkinChanging() const { return skinChanging_.get(); }

 private:
  std::unique_ptr<TacBtnEffects> buttons_;
  std::unique_ptr<TacDialogShow> dialogShow_;
  std::unique_ptr<TacFormShow> formShow_;
  std::unique_ptr<TacPageChange> pageChange_;
  std::unique_ptr<TacSkinChanging> skinChanging_;
};
