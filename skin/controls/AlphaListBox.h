// TsAlphaListBox: a complete skinned list box on the platform's "LISTBOX"
// window. The window holds the items (TListBoxStrings forwards every
// operation to it); the control adds owner drawing, the two virtual styles
// whose strings and objects come from events, multiple selection, columns,
// an incremental search with a pause, and its skin: colours from "EDIT",
// the background behind the items from the cache, frame and scroll bars
// from an edit adapter. TsListBox publishes MultiSelect.
//
// AlphaListBox.cpp holds the window, skin commands, messages and painting;
// ListBoxStrings.cpp the item facade, selection and the incremental search.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/ListBox.h"
#include "framework/OwnerDraw.h"
#include "skin/controls/EditLabel.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/windows/EditWnd.h"

class TsAlphaListBox;

using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, std::wstring& Data)>;
using TLBGetDataObjectEvent =
    std::function<void(TWinControl* Control, int Index, TObject*& DataObject)>;
using TLBFindDataEvent = std::function<int(TWinControl* Control, const std::wstring& FindString)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The list box's items as a string list: every operation is an LB_ message
// to the window (which is made when needed); the virtual styles hold only a
// count, so their texts, objects and searches come from the control's
// events and what would change the items does nothing.
class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TsAlphaListBox* listBox) : ListBox(listBox) {}
  int Add(const std::wstring& s) override;
  void Insert(int index, const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const std::wstring& s) const override;

  TsAlphaListBox* ListBox;  // not owned

 protected:
  std::wstring Get(int index) const override;
  int GetCount() const override;
  void Put(int index, const std::wstring& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  void SetUpdateState(bool updating) override;

 private:
  bool Virtual() const;
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const;
};

class TsAlphaListBox : public TsSkinnedControl<TWinControl> {
 public:
  explicit TsAlphaListBox(TComponent* AOwner);
  ~TsAlphaListBox() override;
  const wchar_t* ClassName() const override { return L"TsAlphaListBox"; }
  void WndProc(TMessage& message) override;
  void Loaded() override;

  // ---- published ----
  TStrings* Items() const { return items_.get(); }
  // A virtual style turns into its plain counterpart first.
  void SetItems(TStrings* source);
  bool AutoComplete = true;
  WORD AutoCompleteDelay = 500;  // ms of pause after which a search starts afresh
  bool AutoHideScroll() const { return autoHideScroll_; }
  void SetAutoHideScroll(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  int ItemHeight() const;
  void SetItemHeight(int v);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle v);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int v);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);
  std::unique_ptr<TsBoundLabel> BoundLabel;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TNotifyEvent OnVScroll;  // kept for form data; never fired
  TLBGetDataEvent OnData;
  TLBGetDataObjectEvent OnDataObject;
  TLBFindDataEvent OnDataFind;

  // ---- items, selection, search ----
  int ItemIndex() const;
  void SetItemIndex(int v);
  int TopIndex() const;
  void SetTopIndex(int v);
  bool Selected(int index) const;
  void SetSelected(int index, bool v);
  int SelCount() const;
  // The virtual styles' count; the others' item count. Setting it is for
  // the virtual styles only.
  int Count() const;
  void SetCount(int v);
  void ClearSelection();
  void Clear() { items_->Clear(); }
  int ItemAtPos(POINT pos, bool existing) const;
  RECT ItemRect(int index) const;
  // The canvas items are drawn on (holds a DC only while drawing).
  TCanvas* Canvas() const { return canvas_.get(); }
  // The clock of the incremental search (GetTickCount unless replaced).
  std::function<DWORD()> TickSource = [] { return ::GetTickCount(); };
  TacEditWnd* EditWnd() const { return editWnd_.get(); }
  // The search text typed so far.
  const std::wstring& Filter() const { return filter_; }

  std::wstring DoGetData(int index);
  TObject* DoGetDataObject(int index);
  int DoFindData(const std::wstring& s);
  bool IsVirtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void SaveWindowState() override;
  void KeyPress(wchar_t& key) override;
  virtual void MeasureItem(int index, int& height);
  virtual void DrawItem(int index, RECT rect, TOwnerDrawState state);

 public:
  // Item data of the window (LB_GETITEMDATA / LB_SETITEMDATA).
  LONG_PTR GetItemData(int index) const;
  void SetItemData(int index, LONG_PTR data);
  void ResetContent();
  void DeleteString(int index);

 private:
  friend class TListBoxStrings;
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const;
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  bool AnswerTextRequest(TMessage& message);
  void AfterDefault(const TMessage& message);
  void CNCommand(TMessage& message);
  void CNDrawItem(TMessage& message);
  void CNMeasureItem(TMessage& message);
  void WMEraseBkgnd(TMessage& message);
  void PaintRemainder(HDC dc);
  void FontChanged();
  void SetColumnWidth();
  void RedrawItem(int index);
  void ApplySkinColors();
  void RecreateIfWindowed();
  void Search(wchar_t& key);

  std::unique_ptr<TStrings> items_;
  std::unique_ptr<TCanvas> canvas_;
  std::unique_ptr<TStringList> saveItems_;
  int count_ = 0;
  int oldCount_ = -1;
  int saveTopIndex_ = 0, saveItemIndex_ = -1;
  std::wstring filter_;
  DWORD lastKeyTime_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
  int columns_ = 0;
  int itemHeight_ = 16;
  TListBoxStyle style_ = lbStandard;
  bool integralHeight_ = false;
  bool multiSelect_ = false;
  bool sorted_ = false;
  int tabWidth_ = 0;
  TsDisabledKind disabledKind_ = dkBlended;
  bool autoHideScroll_ = true;
  TacEditWndPtr editWnd_;
};

class TsListBox : public TsAlphaListBox {
 public:
  using TsAlphaListBox::TsAlphaListBox;
  const wchar_t* ClassName() const override { return L"TsListBox"; }
};
