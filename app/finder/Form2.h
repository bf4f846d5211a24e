// TForm2: the exclusion chooser, a small window with the shell's tree of
// files and folders; "OK" asks for a description and adds the chosen object
// to the finder's exclusions.
#pragma once

#include "framework/Forms.h"
#include "framework/ShellCtrls.h"
#include "framework/StdCtrls.h"

class TForm2 : public TForm {
 public:
  explicit TForm2(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TForm2"; }

  TLabel* Label1 = nullptr;  // "Выбирете файл или папку:"
  TShellTreeView* ShellTreeView1 = nullptr;
  TButton* SpeedButton1 = nullptr;  // "OK"
  TButton* SpeedButton2 = nullptr;  // "Отмена"

  void SpeedButton1Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
};

// The exclusion chooser most recently created (null until first used).
extern TForm2* Form2;
