// Transparent panels (and nested dialog pages) that show their parent's
// image under the skin section, and the size-grip scroll bar of a sizeable
// dialog.
#pragma once

#include "skin/windows/MainWnd.h"

class TacTransPanelWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;

 private:
  void PaintPanel(HDC given);
};

class TacSizerWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;

 private:
  void PaintSizer(HDC given);
};
