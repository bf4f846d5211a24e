// TsBitBtn: the skinned bitmap button. It lays out a glyph beside its
// caption, can stay pressed (Down) as the navigation frames' buttons do to
// mark the selected page, and has blended, grey and disabled glyph looks.
#pragma once

#include "framework/Buttons.h"
#include "framework/ImageList.h"
#include "skin/controls/GlyphUtils.h"
#include "skin/controls/PushButton.h"

// Where a glyph and a caption go inside a client rectangle; returns the
// text rectangle and the glyph's top-left corner.
struct TacButtonLayout {
  TRect Text;
  TPoint Glyph;
};
TacButtonLayout CalcButtonLayout(const TRect& client, TSize glyph, TSize text, UINT rtlFlags,
                                 int spacing, int margin, TAlignment alignment,
                                 TButtonLayout layout);

class TsBitBtn : public TsPushButton<TBitBtn> {
 public:
  explicit TsBitBtn(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsBitBtn"; }
  void Loaded() override;

  // ---- published ----
  int NumGlyphs = 1;
  TsDisabledGlyphKind DisabledGlyphKind() const { return disabledGlyphKind_; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind value);
  bool Grayed() const { return grayed_; }
  void SetGrayed(bool value);
  int Blend() const { return blend_; }
  void SetBlend(int value);  // clamped to 0..100
  int TextOffset() const { return textOffset_; }
  void SetTextOffset(int value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment value);
  bool DrawOverBorder() const { return drawOverBorder_; }
  void SetDrawOverBorder(bool value);
  TBmpPaintEvent OnPaint;
  // A glyph from an image list in place of Glyph (the list is not owned).
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  int GlyphWidth() const;
  int GlyphHeight() const;
  TRect CaptionRect();
  // The glyph's rectangle.
  TRect CalcLayout();

 protected:
  void PaintContent(int state) override;
  // OnPaint sees the finished image, disabled look included.
  void CachePainted() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SkinApplied() override;
  void SkinRemoved() override;

 private:
  TSize TextRectSize();
  void PaintCaption(int state);
  void PaintGlyph(int state);
  template <class T>
  void Store(T& field, T value);
  void MakeListGlyph();
  TacButtonGlyph ShownGlyph() const;

  TsDisabledGlyphKind disabledGlyphKind_ = dgBlended;
  bool grayed_ = false;
  int blend_ = 0;
  int textOffset_ = 0;
  bool showCaption_ = true;
  bool showFocus_ = true;
  TAlignment alignment_ = taCenter;
  TAlignment textAlignment_ = taCenter;
  bool drawOverBorder_ = true;
  TImageList* images_ = nullptr;
  int imageIndex_ = -1;
};
