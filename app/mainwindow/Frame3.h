// TFrame3: the navigation frame of the Windows-settings item: nine links,
// each selecting one settings page.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Panel.h"
#include "skin/controls/WebLabel.h"

class TFrame3 : public TFrame {
 public:
  explicit TFrame3(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TFrame3"; }

  TsFrameAdapter* sFrameAdapter1 = nullptr;
  TsPanel* sPanel1 = nullptr;
  TsWebLabel* sWebLabel[9] = {};  // sWebLabel1 .. sWebLabel9
};

extern TFrame3* Frame3;
