// TFrame1: the navigation frame of frame-bar item 0 ("Очистка"): four
// buttons that select the cleanup, registry, applications and duplicate
// finder pages.
#pragma once

#include "framework/Forms.h"
#include "skin/controls/BitBtn.h"
#include "skin/controls/FrameAdapter.h"

class TFrame1 : public TFrame {
 public:
  explicit TFrame1(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TFrame1"; }

  TsFrameAdapter* sFrameAdapter1 = nullptr;
  TsBitBtn* sBitBtn1 = nullptr;  // "Windows"
  TsBitBtn* sBitBtn2 = nullptr;  // "Реестр"
  TsBitBtn* sBitBtn3 = nullptr;  // "Приложения"
  TsBitBtn* sBitBtn4 = nullptr;  // " Parvik"

  void sBitBtn1Click(TObject* Sender);
  void sBitBtn2Click(TObject* Sender);
  void sBitBtn3Click(TObject* Sender);
  void sBitBtn4Click(TObject* Sender);

 private:
  // Presses `pressed` and releases the others, in button order.
  void PressOnly(TsBitBtn* pressed);
};

// The frame most recently created for item 0; valid while the item is open.
extern TFrame1* Frame1;
