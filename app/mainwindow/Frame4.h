// TFrame4: the navigation frame of the options item: four links that do
// nothing yet.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Panel.h"
#include "skin/controls/WebLabel.h"

class TFrame4 : public TFrame {
 public:
  explicit TFrame4(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TFrame4"; }

  TsFrameAdapter* sFrameAdapter1 = nullptr;
  TsPanel* sPanel1 = nullptr;
  TsWebLabel* sWebLabel[4] = {};
};

extern TFrame4* Frame4;
