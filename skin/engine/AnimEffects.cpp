#include "skin/engine/AnimEffects.h"

TacBtnEvents TacBtnEffects::Events() const {
  return static_cast<TacBtnEvents>(DefaultAnimatEvents & AllBtnEvents);
}

void TacBtnEffects::SetEvents(TacBtnEvents value) {
  value &= AllBtnEvents;
  if (value == events_) return;
  events_ = value;
  // Only the four mouse-event bits are ours; any other bit of the global set
  // is left as it was.
  TacAnimatEvents rebuilt = DefaultAnimatEvents & static_cast<TacAnimatEvents>(~AllBtnEvents);
  for (int bit = beMouseEnter; bit <= beMouseUp; ++bit)
    if (events_ & (1u << bit)) rebuilt |= static_cast<TacAnimatEvents>(1u << bit);
  DefaultAnimatEvents = rebuilt;
}

TacAnimEffects::TacAnimEffects()
    : buttons_(std::make_unique<TacBtnEffects>()),
      dialogShow_(std::make_unique<TacDialogShow>()),
      formShow_(std::make_unique<TacFormShow>()),
      pageChange_(std::make_unique<TacPageChange>()),
      skinChanging_(std::make_unique<TacSkinChanging>()) {}
