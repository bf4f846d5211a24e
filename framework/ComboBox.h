// TComboBox: the system COMBOBOX under our class name. Items is a TStrings
// bound to the window (kept here while there is no window, and across
// RecreateWnd, with the selection and the edit text).
#pragma once

#include <memory>

#include "framework/OwnerDraw.h"
#include "framework/StdCtrls.h"

class TStringList;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TSystemControl {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  const wchar_t* ClassName() const override { return L"TCustomComboBox"; }

  TStrings* Items() const { return items_.get(); }
  void Clear();
  // -1: nothing selected. Setting it fires no event.
  int ItemIndex() const;
  void SetItemIndex(int v);
  // Window text: the edit's text for csDropDown/csSimple; for
  // csDropDownList, setting selects the first item that equals the text
  // (case-insensitively) or clears the selection.
  std::wstring GetText() const override;
  void SetText(const std::wstring& value) override;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  // Items shown by the open list before it scrolls.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  int ItemHeight() const;
  void SetItemHeight(int v);
  // The list window of the drop-down (0 without a window).
  HWND ListHandle() const;
  void SelectAll();

  // OnChange: the text changed by the user (typing or choosing an item);
  // OnSelect: an item was chosen (CBN_SELCHANGE).
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  // Owner-drawn styles: paints an item (the default draws its text).
  TDrawItemEvent OnDrawItem;
  TCanvas* Canvas() const { return canvas_.get(); }

  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void SaveWindowState() override;
  virtual void DrawItem(int index, RECT rect, TOwnerDrawState state);
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const;

 private:
  friend class TComboBoxStrings;
  void CNDrawItem(TMessage& message);
  std::unique_ptr<TCanvas> canvas_;
  std::unique_ptr<TStrings> items_;
  std::unique_ptr<TStringList> saved_;
  int savedItemIndex_ = -1;
  int itemHeight_ = 0;  // 0: the system's
  TComboBoxStyle style_ = csDropDown;
  bool sorted_ = false;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
  const wchar_t* ClassName() const override { return L"TComboBox"; }
};
