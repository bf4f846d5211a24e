// TsStatusBar: the skinned status bar. The platform's status bar keeps the
// panels and their texts; the bar, its panels, the dividers between them
// and the size grip are painted from the skin ("STATUSBAR" unless set
// otherwise) into the cache, rebuilt on every paint.
#pragma once

#include "framework/ComCtrls.h"
#include "skin/controls/SkinnedControl.h"

class TsStatusBar : public TsSkinnedControl<TStatusBar> {
 public:
  explicit TsStatusBar(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsStatusBar"; }
  void WndProc(TMessage& message) override;

  // Paints the skinned bar into DC (the window's client DC when null).
  void SkinPaint(HDC dc);
  // The rectangle panel Index spans in the skinned look (before the
  // one-pixel inset it is painted with).
  TRect PanelRect(int index);

 protected:
  void PaintWindow(HDC dc) override;

 private:
  void PrepareCache();
  void PaintPanel(const std::wstring& text, TRect r, bool last);
  void PaintDivider(const TRect& r);
  void PaintGrip();
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  void WMPaint(TMessage& message);
  void WMPrint(TMessage& message);
  void WMEraseBkgnd(TMessage& message);
};
