// Adapters of "Button" windows whose whole face the skin paints: push
// buttons, bitmap buttons, check boxes and radio buttons. The window never
// erases or paints itself while adapted; every paint builds the whole image
// in the cache bitmap (parent's image, section, text, glyph, focus frame)
// and copies it to the screen.
#pragma once

#include "skin/engine/SkinConsts.h"
#include "skin/windows/MainWnd.h"

class TacBtnWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;

  // 0 normal, 1 hot (mouse, focus or default button), 2 pressed.
  int ButtonState() const;
  bool IsPressed() const;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;
  virtual void DrawCaption();
  virtual void DrawGlyph() {}
  virtual TPoint GlyphSize() const { return TPoint{0, 0}; }
  void DrawBtnText(TRect& r, UINT flags);
  virtual TRect CaptionRect() const;
  TPoint TextSize() const;
  virtual void PrepareCache();
  void PaintButton(TMessage& message);
  void Repaint();
};

// A TBitBtn: its glyph sits left of the caption, both near the centre.
class TacBitBtnWnd : public TacBtnWnd {
 protected:
  friend class TacMainWnd;
  using TacBtnWnd::TacBtnWnd;
  TRect CaptionRect() const override;
  TPoint GlyphSize() const override;
  void DrawGlyph() override;
  TRect GlyphRect() const;
};

class TacCheckBoxWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;

  int CheckState() const;  // 0 unchecked, 1 checked, 2 indeterminate
  int GlyphState() const;  // 0 normal, 1 hot or focused, 2 pressed
  // The GLOBALINFO image of a check state (-1 when the skin has none).
  int GlyphIndex(int state) const;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;

 private:
  TRect GlyphRect(int index) const;
  TRect GlyphSize() const;
  void DrawGlyph(int index);
  void DrawCaption();
  void PrepareCache();
  void PaintCheckBox(TMessage& message);
  void Repaint();
  TCacheInfo parentImage_{};
};
