// Group boxes painted from the skin: the parent's image in the caption
// strip, the section's frame from the strip's middle down, the caption
// over a gap in the frame line. Graphic child controls are painted over it.
#pragma once

#include "skin/engine/SkinConsts.h"
#include "skin/windows/MainWnd.h"

class TacGroupBoxWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;
  // The caption's rectangle measured with the cache DC's current font.
  TRect CaptionRect();

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;

 private:
  void PaintGroupBox(HDC given);
  void PrepareCache();
  void DrawCaption(const TRect& c, const TCacheInfo& parent);
};
