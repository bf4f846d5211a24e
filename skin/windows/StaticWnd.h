// Adapters of "Static" windows: text, icon and link statics painted over
// their parent's image from the skin; the window never paints itself
// (a link window excepted, which draws its own text over the skin).
#pragma once

#include "skin/windows/MainWnd.h"

class TacStaticWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;
  // Draws what the static shows into the prepared cache image.
  virtual void PaintContent();

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;
  void PaintStatic(HDC given);
};

class TacIconWnd : public TacStaticWnd {
 public:
  void PaintContent() override;

 protected:
  friend class TacMainWnd;
  using TacStaticWnd::TacStaticWnd;
};

class TacLinkWnd : public TacStaticWnd {
 public:
  void WndProc(TMessage& message) override;
  void PaintContent() override;

 protected:
  friend class TacMainWnd;
  using TacStaticWnd::TacStaticWnd;
};
