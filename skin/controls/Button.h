// TsButton: the skinned push button of every window of the program.
#pragma once

#include "framework/StdCtrls.h"
#include "skin/controls/PushButton.h"

class TsButton : public TsPushButton<TButton> {
 public:
  explicit TsButton(TComponent* AOwner) : TsPushButton(AOwner, ckButton) {}
  const wchar_t* ClassName() const override { return L"TsButton"; }

  // The caption's rectangle: centred, one pixel down and right while held.
  virtual TRect CaptionRect();

 protected:
  void PaintContent(int state) override;
  virtual void PaintCaption();
  virtual void DrawCaption(TRect& r, UINT flags);

 private:
  TSize TextRectSize();
};
