// TFrame3: the navigation frame of the Windows-settings item: nine links,
// each selecting one settings page.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TFrame3 : public TFrame {
 public:
  explicit TFrame3(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TFrame3"; }

  TPanel* sPanel1 = nullptr;
  TLabel* sWebLabel[9] = {};  // sWebLabel1 .. sWebLabel9
};

extern TFrame3* Frame3;
