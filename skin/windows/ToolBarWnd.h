// Tool bars ("ToolbarWindow32") painted from the skin: the bar from its
// cache image, each button as a "TOOLBUTTON" face with its image and text.
#pragma once

#include "skin/windows/MainWnd.h"

class TacToolBarWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;

  TRect ClientRect{};
  int BorderWidth = 0;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;

 private:
  void PrepareCache();
  void PaintNC();
  void PaintToolBar(HDC given);
  void DrawButtons(TBitmap* b);
  void DrawButton(int index, const TRect& r, HDC dc);
};

// Where a button's text breaks: texts of three or more words before their
// second-to-last word, shorter ones not at all (Second stays empty).
void SplitToolButtonText(const std::wstring& text, std::wstring& first, std::wstring& second);

// A button's whole text, however long (empty when it has none).
std::wstring ToolButtonText(HWND bar, int command);
