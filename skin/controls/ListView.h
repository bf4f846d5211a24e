// TsCustomListView / TsListView: the skinned list view. The platform's list
// view keeps painting its rows, over a background taken from the skin cache;
// border and scroll bars come from an edit adapter; the report view's column
// header is subclassed and each column button is painted from the skin
// ("COLHEADER", else "BUTTON") with hot and pressed states.
//
// ListView.cpp holds the control, its skin commands and messages;
// ListViewHeader.cpp the column header's subclass and painting.
#pragma once

#include <memory>

#include "framework/ListView.h"
#include "framework/WindowSubclass.h"
#include "skin/controls/EditLabel.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/windows/EditWnd.h"

class TsCustomListView : public TsSkinnedControl<TCustomListView> {
 public:
  explicit TsCustomListView(TComponent* AOwner);
  ~TsCustomListView() override;
  const wchar_t* ClassName() const override { return L"TsCustomListView"; }
  void WndProc(TMessage& message) override;
  void AfterConstruction() override;
  void Loaded() override;

  // ---- published ----
  std::unique_ptr<TsBoundLabel> BoundLabel;
  // Column buttons show a hot state under the mouse.
  bool HighlightHeaders = true;

  HWND HeaderHandle() const { return header_ ? header_->Handle() : nullptr; }
  TacEditWnd* ListAdapter() const { return listAdapter_.get(); }
  int HotColumn() const { return hotColumn_; }
  int PressedColumn() const { return pressedColumn_; }
  // Paints every column button and the strip right of the last one into
  // DC (the header's own DC when 0).
  void PaintHeader(HDC dc = nullptr);

 protected:
  void CreateWindowState() override;

 private:
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  void SkinnedMessage(TMessage& message);
  void AfterDefault(const TMessage& message);
  void CustomDrawNotify(TMessage& message);
  void PaintListBackground(HDC dc);
  void RebuildCache();
  bool Textured();
  void ThumbScroll(TMessage& message);
  void InvalidateIfTextured(bool forceAll);
  void MouseLeft(TMessage& message);
  void RefreshAdapter();
  void RenewTextBkColor();

  // ---- header ----
  void SubclassHeader(HWND header);
  LRESULT HeaderProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void HeaderPaintMessage();
  void HeaderHitTest(LPARAM lParam);
  void HeaderButtonDown(LPARAM lParam);
  void PaintHeaderItem(HDC dc, const RECT& r, int index);
  int HeaderImage(int index);
  int HScrollPos() const;
  void SetHotColumn(int column);
  bool ReportSkinned() const;
  void PrintHeader(HDC dc);

  std::unique_ptr<TWindowSubclass> header_;
  TacEditWndPtr listAdapter_;
  bool loading_ = true;
  int pressedColumn_ = -1;
  int hotColumn_ = -2;
  bool headerMouseDown_ = false;
};

class TsListView : public TsCustomListView {
 public:
  using TsCustomListView::TsCustomListView;
  const wchar_t* ClassName() const override { return L"TsListView"; }
};
