#include "framework/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

void InitCommonControlsOnce() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                              ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabSheet::SetPageControl(TPageControl* pc) {
  if (pc == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(pc);
  if (pc) pc->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  if (pageControl_) pageControl_->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int index = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return index;
    if (p->tabVisible_) ++index;
  }
  return -1;
}

void TTabSheet::WndProc(TMessage& message) {
  if (message.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->UpdateTabs();
  TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TSystemControl(AOwner) {
  InitCommonControlsOnce();
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

void TPageControl::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, WC_TABCONTROLW);
  params.Style |= WS_CLIPCHILDREN;
  if (multiLine_) params.Style |= TCS_MULTILINE;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

TPageControl::~TPageControl() {
  if (images_) images_->RemoveChangeListener(this);
}

void TPageControl::CreateWindowState() { UpdateTabs(); }

void TPageControl::SetImages(TImageList* value) {
  if (value == images_) return;
  if (images_) {
    images_->RemoveChangeListener(this);
    RemoveFreeNotification(images_);
  }
  images_ = value;
  if (images_) {
    images_->AddChangeListener(this, [this] { UpdateTabs(); });
    FreeNotification(images_);
  }
  UpdateTabs();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TSystemControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) {
    images_ = nullptr;
    if (!HasState(csDestroying)) UpdateTabs();
  }
}

void TPageControl::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  RecreateWnd();
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  page->pageControl_ = nullptr;
  if (activePage_ == page) activePage_ = nullptr;
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  HWND w = WindowHandle();
  SendMessageW(w, TCM_DELETEALLITEMS, 0, 0);
  // The tabs make room for their pictures.
  SendMessageW(w, TCM_SETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
  int index = 0;
  for (TTabSheet* p : pages_) {
    if (!p->tabVisible_) continue;
    std::wstring caption = p->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = caption.data();
    item.iImage = p->imageIndex_;
    SendMessageW(w, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
  }
  UpdateTabIndex();
  Realign();
}

void TPageControl::UpdateTabIndex() {
  if (!HandleAllocated()) return;
  int tab = activePage_ ? activePage_->TabIndex() : -1;
  SendMessageW(WindowHandle(), TCM_SETCURSEL, tab, 0);
}

RECT TPageControl::DisplayRect() {
  RECT r = ClientRect();
  if (!HandleAllocated()) return r;
  // With every tab hidden there is no strip: the pages take the whole area.
  if (SendMessageW(WindowHandle(), TCM_GETITEMCOUNT, 0, 0) == 0) return r;
  SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TPageControl::AlignControls(TControl* control, RECT& rect) {
  RECT d = DisplayRect();
  for (TTabSheet* p : pages_) p->SetBounds(d.left, d.top, d.right - d.left, d.bottom - d.top);
  TSystemControl::AlignControls(control, rect);
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    RECT d = DisplayRect();
    page->SetBounds(d.left, d.top, d.right - d.left, d.bottom - d.top);
    page->BringToFront();
    page->SetVisible(true);
  }
  if (old) old->SetVisible(false);
  UpdateTabIndex();
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(message.LParam);
    if (hdr->code == TCN_SELCHANGE) {
      int tab = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
      for (TTabSheet* p : pages_)
        if (p->TabIndex() == tab) {
          SetActivePage(p);
          break;
        }
      Change();
      return;
    }
  }
  TSystemControl::WndProc(message);
}

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner) : TSystemControl(AOwner) {
  InitCommonControlsOnce();
  SetAlign(alBottom);
  SetBounds(0, 0, 200, 19);
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, STATUSCLASSNAMEW);
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP;
}

void TStatusBar::CreateWindowState() { UpdatePanels(); }

void TStatusBar::AddPanel(int width, const std::wstring& text) {
  panels_.push_back(TStatusPanel{text, width});
  UpdatePanels();
}

void TStatusBar::SetPanelText(int index, const std::wstring& text) {
  panels_.at(index).Text = text;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), SB_SETTEXTW, index, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TStatusBar::PanelText(int index) const { return panels_.at(index).Text; }

void TStatusBar::SetSimplePanel(bool v) {
  simplePanel_ = v;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::wstring& v) {
  simpleText_ = v;
  if (HandleAllocated() && simplePanel_)
    SendMessageW(WindowHandle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(v.c_str()));
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  HWND w = WindowHandle();
  SendMessageW(w, SB_SIMPLE, simplePanel_, 0);
  if (simplePanel_) {
    SendMessageW(w, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
    return;
  }
  std::vector<int> edges;
  int x = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    x += panels_[i].Width;
    edges.push_back(i + 1 == panels_.size() ? -1 : x);
  }
  if (edges.empty()) edges.push_back(-1);
  SendMessageW(w, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panels_.size(); ++i)
    SendMessageW(w, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(panels_[i].Text.c_str()));
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TSystemControl(AOwner) {
  InitCommonControlsOnce();
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, PROGRESS_CLASSW);
}

void TProgressBar::CreateWindowState() {
  UpdateRange();
  SendMessageW(WindowHandle(), PBM_SETPOS, position_, 0);
}

void TProgressBar::UpdateRange() {
  if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETRANGE32, min_, max_);
}

int TProgressBar::Position() const {
  if (!HandleAllocated()) return position_;
  return static_cast<int>(SendMessageW(WindowHandle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, min_, std::max(min_, max_));
  if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETPOS, position_, 0);
}

// ---------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(TComponent* AOwner) : TSystemControl(AOwner) {
  InitCommonControlsOnce();
  SetTabStop(true);
  SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, TRACKBAR_CLASSW);
  params.Style |= TBS_HORZ | TBS_AUTOTICKS;
}

void TTrackBar::CreateWindowState() {
  UpdateRange();
  SendMessageW(WindowHandle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::UpdateRange() {
  if (!HandleAllocated()) return;
  SendMessageW(WindowHandle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(WindowHandle(), TBM_SETRANGEMAX, TRUE, max_);
}

int TTrackBar::Position() const {
  if (!HandleAllocated()) return position_;
  return static_cast<int>(SendMessageW(WindowHandle(), TBM_GETPOS, 0, 0));
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, min_, std::max(min_, max_));
  if (v == Position()) return;
  position_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETPOS, TRUE, v);
  if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    int pos = Position();
    if (pos != position_) {
      position_ = pos;
      if (OnChange) OnChange(this);
    }
    return;
  }
  TSystemControl::WndProc(message);
}
