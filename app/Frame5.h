// TFrame5: the navigation frame of frame-bar item 1, the file finder's
// list buttons.
#pragma once

#include "framework/Forms.h"

class TFrame5 : public TFrame {
 public:
  explicit TFrame5(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TFrame5"; }
};

// The frame most recently created for item 1; valid while the item is open.
extern TFrame5* Frame5;
