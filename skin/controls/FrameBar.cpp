#include "skin/controls/FrameBar.h"

#include <cmath>

#include "framework/Handles.h"
#include "framework/Hints.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Label.h"
#include "skin/engine/ControlUtils.h"

bool SkipFrameBarAnimation = false;

// ---------------------------------------------------------------- title button

TsTitleButton::TsTitleButton(TComponent* AOwner) : TsSpeedButton(AOwner) {
  SkinData->ControlKind = ckTitleButton;  // its own section, "BARTITLE"
  SetAlignment(taLeftJustify);
  Spacing = 8;
  Margin = 5;
}

void TsTitleButton::SetSelected(bool v) {
  if (v == selected_) return;
  selected_ = v;
  SkinData->BGChanged = true;
  Invalidate();
}

int TsTitleButton::CurrentState() const {
  const int state = TsSpeedButton::CurrentState();
  return state == 0 && selected_ ? 1 : state;
}

void TsTitleButton::Paint() {
  if (IsSkinned()) {
    TsSpeedButton::Paint();
    return;
  }
  // Without a skin an open item's title looks pressed.
  TButtonState saved = state_;
  if (state_ == bsUp && selected_) state_ = bsDown;
  TsSpeedButton::Paint();
  state_ = saved;
}

// ---------------------------------------------------------------- items

TsTitleItem::TsTitleItem(TsTitles* collection)
    : collection_(collection), bar_(collection->Owner()) {
  button_ = Construct<TsTitleButton>(bar_);
  button_->SetName(L"sTitleButton" + std::to_wstring(collection->Count() + 1));
  button_->Item = this;
  button_->OnClick = [this](TObject* sender) { TitleButtonClick(sender); };
}

TsTitleItem::~TsTitleItem() {
  if (bar_->HasState(csDestroying)) return;
  delete button_;
  frame_.reset();
}

int TsTitleItem::Index() const { return collection_->IndexOf(this); }

void TsTitleItem::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  button_->SetImageIndex(v);
  if (button_->Images() != bar_->Images()) button_->SetImages(bar_->Images());
}

std::wstring TsTitleItem::SkinSection() const { return button_->SkinData->SkinSection(); }

void TsTitleItem::SetSkinSection(const std::wstring& v) { button_->SkinData->SetSkinSection(v); }

void TsTitleItem::SetCaption(const std::wstring& v) {
  caption_ = v;
  button_->SetCaption(v);
}

void TsTitleItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  button_->SetParent(v ? bar_ : nullptr);
  bar_->ArrangeItems();
}

void TsTitleItem::TitleButtonClick(TObject* sender) {
  if (OnClick) OnClick(sender);
  if (state_ == stClosed) {
    state_ = stOpening;
    if (!bar_->allowAllOpen_) bar_->CloseOthers(this);
  } else if (state_ == stOpen && bar_->AllowAllClose) {
    state_ = stClosing;
  }
  bar_->ArrangeItems();
}

// ---------------------------------------------------------------- collection

TsTitles::~TsTitles() { items_.clear(); }

int TsTitles::IndexOf(const TsTitleItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == item) return i;
  return -1;
}

TsTitleItem* TsTitles::Add() {
  items_.push_back(std::make_unique<TsTitleItem>(this));
  TsTitleItem* item = items_.back().get();
  item->button_->SetParent(bar_);
  SkipFrameBarAnimation = true;
  bar_->ArrangeItems();
  SkipFrameBarAnimation = false;
  return item;
}

void TsTitles::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  // Out of the list first, so the arrangement below no longer counts it.
  std::unique_ptr<TsTitleItem> item = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  item.reset();
  if (!bar_->HasState(csDestroying)) bar_->ArrangeItems();
}

void TsTitles::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

void TsTitles::Assign(const TsTitles& source) {
  if (&source == this) return;
  Clear();
  for (const auto& from : source) {
    TsTitleItem* to = Add();
    to->SetCaption(from->Caption());
    to->SetImageIndex(from->ImageIndex());
    to->SetSkinSection(from->SkinSection());
    to->OnCreateFrame = from->OnCreateFrame;
    to->OnFrameDestroy = from->OnFrameDestroy;
    to->OnClick = from->OnClick;
    to->SetVisible(from->Visible());
  }
}

// ---------------------------------------------------------------- bar

TsFrameBar::TsFrameBar(TComponent* AOwner) : TsScrollBox(AOwner, ckFrameBar) {
  SetCaption(L" ");
  SetAlign(alLeft);
  SetBorderWidth(2);
}

TsFrameBar::~TsFrameBar() {
  Destroying();
  // Frames belong to nobody else: free them with their items.
  for (auto& item : *items_) item->frame_.reset();
  items_->Clear();
}

void TsFrameBar::Loaded() {
  TsScrollBox::Loaded();
  for (auto& item : *items_) item->button_->SkinData->SetSkinManager(SkinData->StoredSkinManager());
  if (Visible()) ArrangeNow();
}

void TsFrameBar::SetImages(TImageList* v) {
  if (!ReferImages(this, images_, v)) return;
  for (auto& item : *items_)
    if (item->button_->Visible()) item->button_->SetImages(v);
}

void TsFrameBar::Notification(TComponent* component, TOperation operation) {
  TsScrollBox::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TsFrameBar::SetItems(const TsTitles* value) {
  if (value) items_->Assign(*value);
}

void TsFrameBar::SetTitleHeight(int v) {
  if (v == titleHeight_) return;
  titleHeight_ = v;
  if (!HasState(csLoading)) ArrangeNow();
}

void TsFrameBar::SetSpacing(int v) {
  if (v == spacing_) return;
  spacing_ = v;
  if (!HasState(csLoading)) ArrangeNow();
}

void TsFrameBar::SetBarBorderWidth(int v) {
  if (v == BorderWidth()) return;
  SetBorderWidth(v);
  if (!HasState(csLoading)) ArrangeNow();
}

void TsFrameBar::SetAllowAllOpen(bool v) {
  if (v == allowAllOpen_) return;
  if (v) autoFrameSize_ = false;
  allowAllOpen_ = v;
  if (!HasState(csLoading)) ArrangeNow();
}

void TsFrameBar::SetAutoFrameSize(bool v) {
  if (v == autoFrameSize_) return;
  if (v) {
    allowAllOpen_ = false;
    SetAutoScroll(false);
  }
  autoFrameSize_ = v;
  if (!HasState(csLoading)) ArrangeNow();
}

void TsFrameBar::OpenItem(int index, bool animated) {
  if (index < 0 || index >= items_->Count()) return;
  TsTitleItem* item = items_->Items(index);
  item->state_ = animated ? stOpening : stOpen;
  if (!allowAllOpen_) CloseOthers(item);
  SkipFrameBarAnimation = !animated;
  ArrangeItems();
  SkipFrameBarAnimation = false;
}

// An item still sliding in counts as open: a request that comes during a
// slide must not leave it open beside the new one.
void TsFrameBar::CloseOthers(const TsTitleItem* keep) {
  for (auto& other : *items_)
    if (other.get() != keep && (other->state_ == stOpen || other->state_ == stOpening))
      other->state_ = stClosing;
}

void TsFrameBar::ArrangeNow() {
  SkipFrameBarAnimation = true;
  ArrangeItems();
  SkipFrameBarAnimation = false;
}

RECT TsFrameBar::ItemsArea() {
  bool single = BorderStyle() == bsSingle;
  RECT r{0, 0, single ? Width() - 4 : Width(), Height()};
  int shrink = BorderWidth() + (single ? 2 : 0);
  InflateRect(&r, -shrink, -shrink);
  if (Parent() && HandleAllocated() && (GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & WS_VSCROLL))
    r.right -= GetSystemMetrics(SM_CXVSCROLL);
  return r;
}

bool TsFrameBar::Counted(const TsTitleItem* item) const {
  return item->visible_ && item->button_->Visible();
}

void TsFrameBar::DestroyFrame(TsTitleItem* item) {
  if (!item->frame_) return;
  bool canDestroy = true;
  TCustomFrame* frame = item->frame_.get();
  if (item->OnFrameDestroy) item->OnFrameDestroy(this, frame, canDestroy);
  // The handler may hand back another frame (or none): the item holds what
  // it handed back, and the one it replaced is the handler's.
  if (frame != item->frame_.get()) {
    (void)item->frame_.release();
    item->frame_.reset(frame);
  }
  if (canDestroy) {
    item->frame_.reset();
  } else if (frame) {
    ShowFrame(item, 0, frame->Width(), 0);
  }
}

namespace {

// The window owns a region SetWindowRgn accepted; one it refused is ours
// to free.
void SetFrameRegion(HWND wnd, HRGN rgn) {
  UniqueRgn owned(rgn);
  if (SetWindowRgn(wnd, owned.get(), TRUE)) owned.release();
}

}  // namespace


bool TsFrameBar::ShowFrame(TsTitleItem* item, int top, int width, int visible) {
  if (!item) return false;
  if (!item->frame_) {
    TCustomFrame* frame = nullptr;
    if (item->OnCreateFrame) item->OnCreateFrame(item, frame);
    else CreateDefaultFrame(item);
    if (frame) item->frame_.reset(frame);
    if (!item->frame_) return false;
  }
  TCustomFrame* frame = item->frame_.get();
  if (item->frameHeight_ == 0) item->frameHeight_ = frame->Height();
  int height = item->frameHeight_;
  if (visible == -1) {
    visible = height;
    frame->SetHeight(height);
  }
  if (!frame->Parent()) frame->SetParent(this);
  HWND wnd = frame->Handle();
  if (visible != 0) {
    SetFrameRegion(wnd, visible == height ? CreateRectRgn(0, 0, width, height)
                                          : CreateRectRgn(0, height - visible, width, height));
    frame->SetVisible(true);
  } else {
    SetFrameRegion(wnd, CreateRectRgn(-1, -1, -1, -1));
    frame->SetVisible(false);
  }
  frame->SetBounds(item->button_->Left(), top - (height - visible), width, height);
  return true;
}

void TsFrameBar::CreateDefaultFrame(TsTitleItem* item) {
  auto* frame = Construct<TFrame>(this);
  frame->SetHeight(150);
  auto* adapter = Construct<TsFrameAdapter>(frame);
  adapter->SkinData->SetSkinManager(SkinData->StoredSkinManager());
  adapter->SkinData->SetSkinSection(L"BARPANEL");
  auto* label = Construct<TsLabel>(frame);
  label->SetParent(frame);
  label->SetAutoSize(false);
  label->SetAlign(alClient);
  label->SetCaption(L"Frame creation\r\nevent has not been defined.");
  label->SetAlignment(taCenter);
  label->SetLayout(tlCenter);
  label->SetWordWrap(true);
  label->Font()->SetColor(clRed);
  item->frame_.reset(frame);
}

int TsFrameBar::ScrollOffset() const {
  if (!HandleAllocated() || !(GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & WS_VSCROLL)) return 0;
  return VertPosition();
}

void TsFrameBar::ArrangeItems() {
  if (!Visible() || HasState(csLoading) || items_->empty()) return;
  if (arranging_) {
    // A click or resize that came from the message loop of a pass: run it
    // when this arrangement is over rather than lose it.
    pending_ = true;
    pendingAnimated_ = pendingAnimated_ || !SkipFrameBarAnimation;
    return;
  }
  // A slide nobody can see (the bar's window not shown yet, as while its
  // form is being made) goes straight to its end.
  const bool onScreen = HandleAllocated() && IsWindowVisible(WindowHandle());
  const int steps = (!SkipFrameBarAnimation && Animation && onScreen) ? 3 : 0;
  const RECT r = ItemsArea();
  arranging_ = true;
  int freeHeight = -1;
  THintSuspension noHints;
  FadingSuspended = true;
  MouseEnterSuspended = true;

  if (autoFrameSize_) {
    SetAutoScroll(false);
    int y = r.top;
    for (auto& item : *items_) {
      if (!Counted(item.get())) continue;
      y += titleHeight_;
      if (item->state_ == stOpen || item->state_ == stOpening) y += BorderWidth();
      y += BorderWidth();
    }
    freeHeight = (r.bottom - r.top) - y;
  }

  int y = r.top;
  for (int step = 0; step <= steps; ++step) ArrangePass(r, step, steps, freeHeight, y);
  FinishArrangement(y);

  if (pending_) {
    const bool animated = pendingAnimated_;
    pending_ = pendingAnimated_ = false;
    const bool saved = SkipFrameBarAnimation;
    SkipFrameBarAnimation = !animated;
    ArrangeItems();
    SkipFrameBarAnimation = saved;
  }
}

// One pass of an arrangement: titles placed, frames slid by one step.
void TsFrameBar::ArrangePass(const RECT& r, int step, int steps, int freeHeight, int& y) {
  const int bw = BorderWidth();
  const int offset = ScrollOffset();
  SkinData->BeginUpdate();
  if (HandleAllocated()) SendMessageW(WindowHandle(), WM_SETREDRAW, FALSE, 0);
  y = r.top;
  const int w = r.right - r.left;
  for (auto& owned : *items_) {
    TsTitleItem* item = owned.get();
    if (!Counted(item)) continue;
    item->button_->SetBounds(r.left, y - offset, w, titleHeight_);
    if (item->button_->Parent() != this) item->button_->SetParent(this);
    y += titleHeight_;
    int v = item->frameHeight_;
    if (v == 0 && item->state_ == stOpening && !Animation) item->state_ = stOpen;

    switch (item->state_) {
      case stClosed:
        DestroyFrame(item);
        item->frameHeight_ = 0;
        v = 0;
        break;
      case stOpen:
        if (freeHeight != -1) {
          v = freeHeight;
          item->frameHeight_ = freeHeight;
          if (item->frame_) item->frame_->SetHeight(freeHeight);
        }
        ShowFrame(item, y - offset, w, -1);
        if (v == 0 && item->frame_) v = item->frame_->Height();
        break;
      case stClosing:
        v = steps == 0 ? 0 : static_cast<int>(std::nearbyint(double(v) / steps * (steps - step)));
        if (step == steps) {
          DestroyFrame(item);
          item->frameHeight_ = 0;
          y += bw;
          item->state_ = stClosed;
          item->button_->SetSelected(false);
          continue;  // no tail for an item that just closed
        }
        ShowFrame(item, y - offset, w, v);
        if (steps > 0) Sleep(10);
        break;
      case stOpening:
        y += spacing_;
        if (step == steps && autoFrameSize_) {
          v = freeHeight;
          item->frameHeight_ = freeHeight;
          if (item->frame_) item->frame_->SetHeight(freeHeight);
        }
        if (step == steps) {
          // The last pass shows the whole frame, also one made only now
          // (an arrangement without passes creates it here).
          if (ShowFrame(item, y - offset, w, -1)) {
            v = item->frameHeight_;
            item->state_ = stOpen;
            if (steps > 0) Sleep(10);
          }
          break;
        }
        if (steps != 0) v = static_cast<int>(std::nearbyint(double(v) / steps * step));
        if (ShowFrame(item, y - offset, w, v) && steps > 0) Sleep(10);
        break;
    }

    if (item->frame_ && item->state_ != stClosed) {
      if (!item->frame_->Parent()) item->frame_->SetParent(this);
      y += bw + v;
      if (item->state_ == stOpen && item->frame_->HandleAllocated())
        SetWindowRgn(item->frame_->WindowHandle(), nullptr, TRUE);
    }
    y += bw;
    if (item->state_ == stOpen) item->button_->SetSelected(true);
    else if (item->state_ == stClosed) item->button_->SetSelected(false);
  }
  if (HandleAllocated()) SendMessageW(WindowHandle(), WM_SETREDRAW, TRUE, 0);
  SkinData->EndUpdate();
  if (HandleAllocated()) {
    RedrawWindow(WindowHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    NotifyChildrenEndUpdate(this);
  }
  if (ExtraRefreshControl) SendSkinCmdToCtrl(ExtraRefreshControl, AC_REFRESH, 0);
  if (Application) Application->ProcessMessages();
}

void TsFrameBar::FinishArrangement(int y) {
  FadingSuspended = false;
  y += (BorderStyle() == bsSingle ? 2 : 0) + BorderWidth();
  if (y != VertRange()) SetVertRange(y);
  arranging_ = false;
  UpdateWidths();
  if (Parent() && HandleAllocated()) SendMessageW(WindowHandle(), WM_NCPAINT, 1, 0);
  if (ExtraRefreshControl) SendSkinCmdToCtrl(ExtraRefreshControl, AC_REFRESH, 0);
  MouseEnterSuspended = false;
}

void TsFrameBar::UpdateWidths() {
  bool was = arranging_;
  arranging_ = true;
  RECT r = ItemsArea();
  int w = r.right - r.left;
  for (auto& item : *items_) {
    if (!Counted(item.get())) continue;
    if (item->button_->Width() != w) {
      item->button_->SkinData->BGChanged = true;
      item->button_->SetWidth(w);
    }
    if (item->frame_ && item->frame_->Width() != w) item->frame_->SetWidth(w);
  }
  arranging_ = was;
  if (AutoScroll()) UpdateScrollBars();
}

void TsFrameBar::WndProc(TMessage& message) {
  TsScrollBox::WndProc(message);
  switch (message.Msg) {
    case WM_SIZE:
      if (IsShowing()) {
        if (autoFrameSize_) {
          ArrangeNow();
        } else {
          UpdateWidths();
          if (HandleAllocated()) SendMessageW(WindowHandle(), WM_NCPAINT, 1, 0);
        }
      }
      break;
    case CM_VISIBLECHANGED:
      if (IsShowing()) ArrangeNow();
      break;
    case CM_ENABLEDCHANGED:
      for (auto& item : *items_) {
        item->button_->SetEnabled(Enabled());
        if (item->frame_) item->frame_->SetEnabled(Enabled());
      }
      Repaint();
      break;
    case SM_ALPHACMD:
      if (SkinCmdOf(message) == AC_REFRESH && ForUs(message) && IsSkinned()) UpdateWidths();
      break;
  }
}
