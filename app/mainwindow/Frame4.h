// TFrame4: the navigation frame of the options item: four links that do
// nothing yet.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TFrame4 : public TFrame {
 public:
  explicit TFrame4(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TFrame4"; }

  TPanel* sPanel1 = nullptr;
  TLabel* sWebLabel[4] = {};
};

extern TFrame4* Frame4;
