// TsPanel: the skinned panel, a plain container with a caption whose face
// and border come from its skin section ("PANEL" unless set otherwise).
#pragma once

#include "framework/ExtCtrls.h"
#include "skin/controls/SkinnedControl.h"

class TsPanel : public TsSkinnedControl<TPanel> {
 public:
  explicit TsPanel(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsPanel"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  // In the skinned state the canvas is the cache bitmap's.
  TPaintEvent OnPaint;

  // Paints the skinned panel into DC (its own canvas's DC when null).
  virtual void SkinPaint(HDC dc, bool sendUpdated);

 protected:
  void PaintWindow(HDC dc) override;
  void Paint() override;

 private:
  void PrepareCache();
  void PaintCaption(TRect r);
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  void UnskinnedMessage(TMessage& message);
  void SkinnedAlphaCmd(TMessage& message);
  void WMPaint(TMessage& message);
  void WMPrint(TMessage& message);
  void SkinnedMessage(TMessage& message);
};
