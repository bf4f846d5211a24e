// TsScrollBox: a scrolling container painted from its skin section
// ("PANEL_LOW" unless set otherwise), with a border of its own, scroll bars
// drawn by a TacScrollWnd adapter, a painting hook on its cache image and
// events around every scroll step. The navigation frame bar builds on it.
#pragma once

#include "framework/Forms.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/windows/ScrollWnd.h"

class TsScrollBox : public TsSkinnedControl<TScrollBox> {
 public:
  explicit TsScrollBox(TComponent* AOwner);
  ~TsScrollBox() override;
  const wchar_t* ClassName() const override { return L"TsScrollBox"; }
  void WndProc(TMessage& message) override;
  void SetParent(TWinControl* parent) override;

  // ---- published ----
  TBmpPaintEvent OnPaint;  // called with the cache each time it is rebuilt
  TNotifyEvent OnBeforeScroll;
  TNotifyEvent OnAfterScroll;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // The width of the box's own border: 2 for bsSingle, else 0.
  int BorderSize() const { return BorderStyle() == bsSingle ? 2 : 0; }
  // The vertical scroll range (the height of the contents) and position.
  // The bar shows while the range is larger than the client height.
  int VertRange() const { return vertRange_; }
  void SetVertRange(int range);
  int VertPosition() const;
  TacScrollWnd* ScrollWnd() const { return scrollWnd_.get(); }

  void SkinPaint(HDC dc, bool sendUpdated);
  void PrepareCache();

 protected:
  TsScrollBox(TComponent* AOwner, int kind);
  void CreateParams(TCreateParams& params) override;
  // Re-reads the scroll bars into the adapter when it exists.
  void UpdateScrollBars();
  void ScrollBarsChanged() override { UpdateScrollBars(); }

 private:
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  bool SkinnedAlphaCmd(TMessage& message);  // true = handled
  void ScrollCmd(TMessage& message);
  void WMPaint(TMessage& message);
  void WMNCPaint(TMessage& message);
  void WMPrint(TMessage& message);
  void AfterInherited(const TMessage& message);
  void RebuildCache();

  TacScrollWndPtr scrollWnd_;
  int vertRange_ = 0;
};
