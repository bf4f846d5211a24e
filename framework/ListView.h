// TCustomListView / TListView: the comctl32 list view (SysListView32) with framework-held
// items. The items live in this object (one owned TListItem per row, in row
// order); the window holds the rows' states and asks for every text through
// LVN_GETDISPINFO, so texts never have to be copied into it and the rows
// survive RecreateWnd. Checked, selected and focused states are read from
// the window while it exists and saved into the items before it goes away.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/StdCtrls.h"

class TImageList;
class TCustomListView;
class TListItems;
class TListItem;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
class TListColumn;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
// The whole list's drawing stages (NM_CUSTOMDRAW); Canvas() is bound to
// the list's DC during the call. DefaultDraw false skips the system's own
// drawing of that stage.
using TLVAdvancedCustomDrawEvent =
    std::function<void(TObject* Sender, TRect ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;

// One column of the report view.
class TListColumn {
 public:
  TListColumn(TCustomListView* owner, int index) : owner_(owner), index_(index) {}
  int Index() const { return index_; }
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  // Current width (the user may have dragged it); LVSCW_AUTOSIZE (-1) and
  // LVSCW_AUTOSIZE_USEHEADER (-2) are passed on as the control knows them.
  int Width() const;
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 private:
  friend class TCustomListView;
  friend class TListColumns;
  TCustomListView* owner_;
  int index_;
  std::wstring caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
};

class TListColumns {
 public:
  explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
  TListColumn* Add();
  int Count() const { return static_cast<int>(columns_.size()); }
  TListColumn* Items(int index) const { return columns_.at(index).get(); }
  TListColumn* operator[](int index) const { return Items(index); }
  void Clear();

 private:
  friend class TCustomListView;
  TCustomListView* owner_;
  std::vector<std::unique_ptr<TListColumn>> columns_;
};

// One row. Sub-item i is the text of column i + 1.
class TListItem {
 public:
  TListItem(TListItems* owner);
  ~TListItem();
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;

  TListItems* Owner() const { return owner_; }
  TCustomListView* ListView() const;
  int Index() const { return index_; }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  TStrings* SubItems() const { return subItems_.get(); }
  bool Checked() const;
  void SetChecked(bool v);
  bool Selected() const;
  void SetSelected(bool v);
  bool Focused() const;
  void SetFocused(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  void* Data = nullptr;

  // Removes the row from the list and frees this item.
  void Delete();
  // Scrolls the row into view.
  void MakeVisible();
  // The row's bounds in client coordinates (LVIR_BOUNDS); empty without a window.
  RECT DisplayRect() const;

 private:
  friend class TListItems;
  friend class TCustomListView;
  friend class TListSubItems;
  void TextChanged(int column);  // the window shows our text of the column again

  TListItems* owner_;
  int index_ = -1;
  std::wstring caption_;
  std::unique_ptr<TStrings> subItems_;
  int imageIndex_ = -1;
  // States while no window holds them.
  bool checked_ = false;
  bool selected_ = false;
  bool focused_ = false;
};

class TListItems {
 public:
  explicit TListItems(TCustomListView* owner) : owner_(owner) {}
  ~TListItems();
  TCustomListView* Owner() const { return owner_; }

  TListItem* Add();
  TListItem* Insert(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  TListItem* Item(int index) const { return items_.at(index).get(); }
  TListItem* operator[](int index) const { return Item(index); }
  void Delete(int index);
  void Clear();
  // Room for `count` rows in our list and in the window, ahead of a bulk add.
  void Reserve(int count);
  // Nested; the window does not redraw until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 private:
  friend class TCustomListView;
  friend class TListItem;
  void Renumber(int from);

  TCustomListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
  int updateCount_ = 0;
};

class TCustomListView : public TSystemControl {
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;
  const wchar_t* ClassName() const override { return L"TCustomListView"; }

  TListItems* Items() const { return items_.get(); }
  TListColumns* Columns() const { return columns_.get(); }

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool v);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  // Read-only: captions cannot be edited in place (they never can here; the
  // property is kept for the pages that set it).
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  // Clickable column headers (off: LVS_NOSORTHEADER).
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool v);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // Owner data (LVS_OWNERDATA): the window keeps only the row count, the
  // selection and the focus, and asks for every text and check box here, so
  // a batch of new rows costs one message however long it is and the window
  // never repaints per row. The check boxes are ticked here too (click on the
  // box, space bar). Rows are appended or deleted; one inserted mid-list
  // does not move the window's selection. Takes effect when the window is
  // (re)made.
  bool OwnerData() const { return ownerData_; }
  void SetOwnerData(bool v);

  // The first selected item, or null; SetSelected(null) clears the selection.
  TListItem* Selected() const;
  void SetSelected(TListItem* item);
  int SelCount() const;
  TListItem* ItemFocused() const;
  TListItem* TopItem() const;
  // The item at a client point, or null.
  TListItem* GetItemAt(int x, int y) const;
  void SelectAll();
  void ClearSelection();

  // Image lists (not owned). The window always shares them
  // (LVS_SHAREIMAGELISTS): the TImageList owns its handle, or, with
  // ShareImages, nobody here does (the shell's system image list).
  TImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TImageList* v);
  TImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(TImageList* v);

  TLVChangeEvent OnChange;          // an item's state changed (LVN_ITEMCHANGED)
  TLVSelectItemEvent OnSelectItem;  // an item was selected or deselected
  TLVColumnClickEvent OnColumnClick;
  TLVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TCanvas* Canvas() const { return canvas_.get(); }
  // OnClick / OnDblClick (TControl) follow NM_CLICK / NM_DBLCLK.

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void SaveWindowState() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  void CNNotify(TMessage& message);
  LRESULT CustomDraw(NMLVCUSTOMDRAW* cd);
  void GetDispInfo(NMLVDISPINFOW* info);
  void ItemChanged(const NMLISTVIEW* nm);
  DWORD ExtendedStyle() const;
  void UpdateExtendedStyle();
  void UpdateStyleBits(DWORD mask, DWORD bits);
  void UpdateImageLists();
  void SetImageList(TImageList*& slot, TImageList* value);
  void InsertColumnIntoWindow(TListColumn* column);
  void InsertItemIntoWindow(TListItem* item);
  void PushItemState(TListItem* item);
  // Owner data: the window's row count follows ours (now, or at the last
  // EndUpdate); `appended` says only rows at the end changed.
  void SyncOwnerCount(bool appended);
  void RedrawOwnerRow(int index);
  bool ToggleOwnerCheck(int index);
  bool OwnerKeyDown(TMessage& message);
  bool OwnerMouseDown(TMessage& message);

  std::unique_ptr<TListItems> items_;
  std::unique_ptr<TListColumns> columns_;
  std::unique_ptr<TCanvas> canvas_;
  TViewStyle viewStyle_ = vsIcon;
  bool checkboxes_ = false;
  bool checkboxesInWindow_ = false;
  bool rowSelect_ = false;
  bool gridLines_ = false;
  bool multiSelect_ = false;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool columnClick_ = true;
  bool showColumnHeaders_ = true;
  bool ownerData_ = false;
  bool ownerInWindow_ = false;  // the window was made with LVS_OWNERDATA
  bool ownerRepaint_ = false;   // a row other than a new last one changed during an update
  // Rows the owner-data window was last told of: a changed row beyond them
  // is painted when the window learns of it, without asking the window.
  int ownerWindowCount_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
  TImageList* smallImages_ = nullptr;
  TImageList* largeImages_ = nullptr;
  // While the framework itself fills or restores the window, the window's
  // notifications about it are not the user's doing: no events.
  int quiet_ = 0;
  std::wstring dispText_;  // keeps the text handed out by LVN_GETDISPINFO alive
};

class TListView : public TCustomListView {
 public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
  const wchar_t* ClassName() const override { return L"TListView"; }
};
