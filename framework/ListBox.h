// List boxes: TListBox superclasses the system LISTBOX; TCheckListBox is an
// owner-drawn list box with a check box in front of every item. Items is a
// TStrings bound to the window: while the window exists every read and write
// goes to it; before it exists (and across RecreateWnd) the strings, their
// objects and the check states are kept here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/OwnerDraw.h"
#include "framework/StdCtrls.h"

class TStringList;

// The framework's list box knows the first two; the rest are for list boxes
// that hold their whole item model themselves.
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

class TCustomListBox : public TSystemControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  const wchar_t* ClassName() const override { return L"TCustomListBox"; }

  TStrings* Items() const { return items_.get(); }
  void Clear() { items_->Clear(); }
  int Count() const { return items_->Count(); }

  // The selected item (single selection) or the item with the focus
  // rectangle (multiple selection); -1 for none. Setting it does not fire
  // OnClick.
  int ItemIndex() const;
  void SetItemIndex(int v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool v);
  bool Selected(int index) const;
  void SetSelected(int index, bool v);
  int SelCount() const;
  // The window keeps its items in its own sorted order (LBS_SORT).
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  int TopIndex() const;
  void SetTopIndex(int v);
  int ItemHeight() const;
  void SetItemHeight(int v);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle v);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // The item under a client point; -1 when none (Existing) or Count.
  int ItemAtPos(POINT p, bool existing) const;
  RECT ItemRect(int index) const;

  TDrawItemEvent OnDrawItem;  // owner-drawn styles
  // OnClick: the selection changed by the user (LBN_SELCHANGE);
  // OnDblClick: LBN_DBLCLK.

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void SaveWindowState() override;
  // Paints one owner-drawn item (the default draws its text).
  virtual void DrawItem(int index, RECT rect, TOwnerDrawState state);
  virtual int DefaultItemHeight();

  // Per-item data: the window's item data (LB_SETITEMDATA), or the saved
  // list's object slot while there is no window. TListBox keeps the item's
  // object there; TCheckListBox a record of its own that holds the object.
  virtual LONG_PTR MakeItemData(TObject* obj) { return reinterpret_cast<LONG_PTR>(obj); }
  virtual void FreeItemData(LONG_PTR data) { (void)data; }
  virtual TObject* ObjectOfData(LONG_PTR data) const { return reinterpret_cast<TObject*>(data); }
  virtual LONG_PTR DataWithObject(LONG_PTR data, TObject* obj) {
    (void)data;
    return reinterpret_cast<LONG_PTR>(obj);
  }
  LONG_PTR ItemData(int index) const;
  void SetItemData(int index, LONG_PTR data);

  bool Windowed() const { return HandleAllocated(); }
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const;

 public:
  // The canvas owner-drawn items are painted on (valid while drawing).
  TCanvas* Canvas() const { return canvas_.get(); }

 private:
  friend class TCustomListBoxStrings;
  void FreeAllItemData();
  std::unique_ptr<TCanvas> canvas_;
  std::unique_ptr<TStrings> items_;
  std::unique_ptr<TStringList> saved_;  // the items while there is no window
  std::vector<bool> savedSelected_;
  int savedItemIndex_ = -1;
  int savedTopIndex_ = 0;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool sorted_ = false;
  bool integralHeight_ = false;
  int itemHeight_ = 0;  // 0: from the font
  TListBoxStyle style_ = lbStandard;
  TBorderStyle borderStyle_ = bsSingle;
};

class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  const wchar_t* ClassName() const override { return L"TListBox"; }
};

class TCheckListBox : public TCustomListBox {
 public:
  explicit TCheckListBox(TComponent* AOwner);
  ~TCheckListBox() override;
  const wchar_t* ClassName() const override { return L"TCheckListBox"; }

  bool Checked(int index) const { return State(index) == cbChecked; }
  void SetChecked(int index, bool v) { SetState(index, v ? cbChecked : cbUnchecked); }
  TCheckBoxState State(int index) const;
  void SetState(int index, TCheckBoxState v);
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool v);
  bool AllowGrayed = false;
  // The user toggled an item's box (click on the box or the space bar).
  TNotifyEvent OnClickCheck;

  // Left edge to text: the box's cell width.
  static int CheckWidth();
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void DrawItem(int index, RECT rect, TOwnerDrawState state) override;
  int DefaultItemHeight() override;
  LONG_PTR MakeItemData(TObject* obj) override;
  void FreeItemData(LONG_PTR data) override;
  TObject* ObjectOfData(LONG_PTR data) const override;
  LONG_PTR DataWithObject(LONG_PTR data, TObject* obj) override;
  // Toggles as a click does: unchecked → checked → (grayed →) unchecked.
  virtual void ToggleClickCheck(int index);

 private:
  struct ItemRec {
    TCheckBoxState state = cbUnchecked;
    bool enabled = true;
    TObject* obj = nullptr;
  };
  ItemRec* Rec(int index) const;
  void InvalidateItem(int index);
  bool OnCheckBox(int index, int x) const;

  std::vector<std::unique_ptr<ItemRec>> recs_;  // every item's record, owned here
};
