#include "framework/TabNotebook.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ComCtrls.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------- TTabPage

TTabPage::TTabPage(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetVisible(false);
}

void TTabPage::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

// ---------------------------------------------------------------- page names

// The notebook's page names; objects are the pages.
class TNotebookPages : public TStrings {
 public:
  explicit TNotebookPages(TTabbedNotebook* nb) : nb_(nb) {}
  void Insert(int index, const std::wstring& s) override {
    if (index < 0 || index > GetCount()) Error(L"List index out of bounds (%d)", index);
    nb_->InsertPage(index, s);
  }
  void Delete(int index) override {
    CheckIndex(index);
    nb_->DeletePage(index);
  }
  void Clear() override {
    while (GetCount() > 0) nb_->DeletePage(GetCount() - 1);
  }

 protected:
  std::wstring Get(int index) const override {
    CheckIndex(index);
    return nb_->list_[static_cast<size_t>(index)]->Caption();
  }
  int GetCount() const override { return nb_->PageCount(); }
  void Put(int index, const std::wstring& s) override {
    CheckIndex(index);
    nb_->RenamePage(index, s);
  }
  TObject* GetObject(int index) const override {
    CheckIndex(index);
    return nb_->list_[static_cast<size_t>(index)];
  }
  void PutObject(int, TObject*) override {}  // the page is the object

 private:
  void CheckIndex(int index) const {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
  }
  TTabbedNotebook* nb_;
};

// ---------------------------------------------------------------- TTabbedNotebook

TTabbedNotebook::TTabbedNotebook(TComponent* AOwner)
    : TSystemControl(AOwner), pages_(std::make_unique<TNotebookPages>(this)) {
  InitCommonControlsOnce();
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetTabStop(true);
  SetBounds(0, 0, 300, 250);
}

TTabbedNotebook::~TTabbedNotebook() {
  Destroying();
  list_.clear();  // the pages are owned components: TComponent frees them
}

void TTabbedNotebook::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, WC_TABCONTROLW);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabbedNotebook::CreateWindowState() { UpdateTabs(); }

void TTabbedNotebook::InsertPage(int index, const std::wstring& name) {
  auto* page = Construct<TTabPage>(this);
  page->SetCaption(name);
  list_.insert(list_.begin() + index, page);
  page->SetParent(this);
  if (pageIndex_ >= index) ++pageIndex_;
  UpdateTabs();
  if (pageIndex_ < 0) ShowPage(0);
}

void TTabbedNotebook::DeletePage(int index) {
  TTabPage* page = list_[static_cast<size_t>(index)];
  list_.erase(list_.begin() + index);
  bool wasCurrent = index == pageIndex_;
  if (index < pageIndex_ || (wasCurrent && pageIndex_ >= PageCount())) --pageIndex_;
  delete page;
  UpdateTabs();
  if (wasCurrent && pageIndex_ >= 0) {
    int show = pageIndex_;
    pageIndex_ = -1;
    ShowPage(show);
  }
}

void TTabbedNotebook::RenamePage(int index, const std::wstring& name) {
  list_[static_cast<size_t>(index)]->SetCaption(name);
  UpdateTabs();
}

void TTabbedNotebook::UpdateTabs() {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  HWND w = WindowHandle();
  SendMessageW(w, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < PageCount(); ++i) {
    std::wstring caption = list_[static_cast<size_t>(i)]->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(w, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(w, TCM_SETCURSEL, pageIndex_, 0);
  Realign();
}

RECT TTabbedNotebook::DisplayRect() {
  RECT r = ClientRect();
  if (!HandleAllocated() || PageCount() == 0) return r;
  SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TTabbedNotebook::AlignControls(TControl* control, RECT& rect) {
  RECT d = DisplayRect();
  for (TTabPage* p : list_) p->SetBounds(d.left, d.top, d.right - d.left, d.bottom - d.top);
  TSystemControl::AlignControls(control, rect);
}

void TTabbedNotebook::ShowPage(int index) {
  if (index < 0 || index >= PageCount()) return;
  int old = pageIndex_;
  pageIndex_ = index;
  TTabPage* page = list_[static_cast<size_t>(index)];
  RECT d = DisplayRect();
  page->SetBounds(d.left, d.top, d.right - d.left, d.bottom - d.top);
  page->BringToFront();
  page->SetVisible(true);
  if (old >= 0 && old < PageCount() && old != index) list_[static_cast<size_t>(old)]->SetVisible(false);
  if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_SETCURSEL, index, 0);
}

void TTabbedNotebook::SetPageIndex(int v) {
  if (v == pageIndex_ || v < 0 || v >= PageCount()) return;
  if (OnChange) {
    bool allow = true;
    OnChange(this, v, allow);
    if (!allow) {
      if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_SETCURSEL, pageIndex_, 0);
      return;
    }
  }
  ShowPage(v);
}

std::wstring TTabbedNotebook::ActivePage() const {
  return pageIndex_ >= 0 ? list_[static_cast<size_t>(pageIndex_)]->Caption() : L"";
}

int TTabbedNotebook::TabIndexOf(const std::wstring& name) const {
  for (int i = 0; i < PageCount(); ++i)
    if (SameText(list_[static_cast<size_t>(i)]->Caption(), name)) return i;
  return -1;
}

void TTabbedNotebook::SetActivePage(const std::wstring& name) { SetPageIndex(TabIndexOf(name)); }

void TTabbedNotebook::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(message.LParam);
    if (hdr->code == TCN_SELCHANGE) {
      int tab = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
      SetPageIndex(tab);
      return;
    }
  }
  TSystemControl::WndProc(message);
}
