// TsCustomComboBox and TsComboBox: the skinned combo box. The field comes
// from the control's section ("COMBOBOX"), a separate drop-down button from
// "COMBOBTN" with the section's "GLYPHMASK" arrow, and the selected text is
// drawn into the cache image. A list long enough to scroll gets a list
// adapter once, for the life of the window. It adds a read-only mode, a
// text alignment and a bound label.
#pragma once

#include "framework/ComboBox.h"
#include "framework/WindowSubclass.h"
#include "skin/controls/BoundControl.h"
#include "skin/windows/ScrollWnd.h"

class TsCustomComboBox : public TsBoundControl<TCustomComboBox> {
 public:
  explicit TsCustomComboBox(TComponent* AOwner);
  ~TsCustomComboBox() override;
  const wchar_t* ClassName() const override { return L"TsCustomComboBox"; }
  void Loaded() override;
  void Invalidate() override;

  // ---- published ----
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The user cannot change the selection: keys, editing and clicks that
  // would open the list are dropped.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // The drop-down button in client coordinates.
  TRect ButtonRect() const;
  // The focus is on the combo box, its edit or its list (or SkinData says so).
  bool ComboFocused() const;
  // The list is open as far as the skinned face knows.
  bool DroppedState() const { return droppedState_; }
  // The adopted list window and its adapter (null until a long list opens).
  HWND AdoptedList() const { return listHandle_; }
  TacScrollWnd* ListAdapter() const { return listAdapter_.get(); }
  int ListAdaptersMade() const { return listAdaptersMade_; }

 protected:
  void CreateWnd() override;
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  // Read-only: what would change the selection or open the list.
  bool DropMessage(TMessage& message) override;
  void SkinnedMessage(TMessage& message) override;
  // The field of a skinned owner-drawn combo box lies on the cached face;
  // list items and unskinned fields get the plain colours.
  void DrawItem(int index, RECT rect, TOwnerDrawState state) override;

 private:
  bool OwnSkinnedMessage(TMessage& message);  // true = handled
  void AfterSkinnedMessage(TMessage& message);
  void OnCtlColorListBox(const TMessage& message);
  void PaintCombo(HDC dc);
  void PrepareCache();
  void PaintText(const TRect& r, bool focused);
  void SetHot(bool hot);
  void ApplySectionColors();
  LRESULT EditChildProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void ReleaseList();
  bool OwnerDrawn() const;
  bool OwnerDrawStyle() const;
  void PaintOwnerDrawnField(HDC dc, int cacheHeight);
  void DrawItemText(int index, const RECT& rect);
  int CacheHeight() const;

  TAlignment alignment_ = taLeftJustify;
  bool readOnly_ = false;
  bool showButton_ = true;
  bool droppedState_ = false;
  HWND listHandle_ = nullptr;
  TacScrollWndPtr listAdapter_;
  int listAdaptersMade_ = 0;
  std::unique_ptr<TWindowSubclass> editChild_;
};

class TsComboBox : public TsCustomComboBox {
 public:
  explicit TsComboBox(TComponent* AOwner) : TsCustomComboBox(AOwner) {}
  const wchar_t* ClassName() const override { return L"TsComboBox"; }
};
