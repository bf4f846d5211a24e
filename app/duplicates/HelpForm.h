// THelpForm: the help window on the duplicate finder ("Справка"). Created at
// start; nothing in the program shows it yet.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class THelpForm : public TForm {
 public:
  explicit THelpForm(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"THelpForm"; }
  TMemo* HelpText = nullptr;
};

extern THelpForm* HelpForm;
