#include "framework/Menus.h"

#include <algorithm>
#include <map>

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------- command ids

namespace {

// Every live item by its command id. Ids start above the dialog ids (IDOK,
// IDCANCEL, ...) that a WM_COMMAND without a control can also carry.
std::map<WORD, TMenuItem*>& Commands() {
  static std::map<WORD, TMenuItem*> commands;
  return commands;
}

constexpr WORD kFirstCommand = 100;

WORD AllocateCommand(TMenuItem* item) {
  static WORD next = kFirstCommand;
  auto& commands = Commands();
  for (;;) {
    WORD id = next++;
    if (next == 0) next = kFirstCommand;
    if (id >= kFirstCommand && !commands.count(id)) {
      commands[id] = item;
      return id;
    }
  }
}

void FreeCommand(WORD id) { Commands().erase(id); }

}  // namespace

bool IsLiveMenuItem(const void* item) {
  if (!item) return false;
  for (const auto& entry : Commands())
    if (entry.second == item) return true;
  return false;
}

namespace {
TMenuShowingEvent& MenuShowingHook() {
  static TMenuShowingEvent hook;
  return hook;
}
void NotifyMenuShowing(TMenu* menu) {
  if (MenuShowingHook()) MenuShowingHook()(menu);
}
}  // namespace

void SetMenuShowingHook(TMenuShowingEvent hook) { MenuShowingHook() = std::move(hook); }

TMenuItem* FindMenuItem(WORD command) {
  auto& commands = Commands();
  auto it = commands.find(command);
  return it == commands.end() ? nullptr : it->second;
}

bool DispatchMenuCommand(WORD command) {
  TMenuItem* item = FindMenuItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

// ---------------------------------------------------------------- short cuts

TShortCut ShortCut(WORD key, TShiftState shift) {
  TShortCut s = static_cast<TShortCut>(key & 0xFF);
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

std::wstring ShortCutToText(TShortCut shortCut) {
  WORD key = shortCut & 0xFF;
  if (key == 0) return L"";
  std::wstring name;
  if (key >= VK_F1 && key <= VK_F24) {
    name = L"F" + std::to_wstring(key - VK_F1 + 1);
  } else if ((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z')) {
    name = std::wstring(1, static_cast<wchar_t>(key));
  } else {
    switch (key) {
      case VK_BACK: name = L"BkSp"; break;
      case VK_TAB: name = L"Tab"; break;
      case VK_RETURN: name = L"Enter"; break;
      case VK_ESCAPE: name = L"Esc"; break;
      case VK_SPACE: name = L"Space"; break;
      case VK_PRIOR: name = L"PgUp"; break;
      case VK_NEXT: name = L"PgDn"; break;
      case VK_END: name = L"End"; break;
      case VK_HOME: name = L"Home"; break;
      case VK_LEFT: name = L"Left"; break;
      case VK_UP: name = L"Up"; break;
      case VK_RIGHT: name = L"Right"; break;
      case VK_DOWN: name = L"Down"; break;
      case VK_INSERT: name = L"Ins"; break;
      case VK_DELETE: name = L"Del"; break;
      default: {
        UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        wchar_t buf[32] = {};
        if (scan && GetKeyNameTextW(static_cast<LONG>(scan << 16), buf, 32) > 0) name = buf;
        else name = Format(L"#%d", key);
      }
    }
  }
  std::wstring prefix;
  if (shortCut & scShift) prefix += L"Shift+";
  if (shortCut & scCtrl) prefix += L"Ctrl+";
  if (shortCut & scAlt) prefix += L"Alt+";
  return prefix + name;
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(AllocateCommand(this)) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (parent_) parent_->Remove(this);
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    delete child;
  }
  DestroyHandle();
  FreeCommand(command_);
}

void TMenuItem::SetMenu(TMenu* menu) { menu_ = menu; }

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::SetCaption(const std::wstring& v) {
  if (v == caption_) return;
  caption_ = v;
  MenuChanged();
}
void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  // A radio item that gets checked unchecks the others of its group.
  if (v && radioItem_ && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->GroupIndex == GroupIndex) sibling->SetChecked(false);
  MenuChanged();
}
void TMenuItem::SetRadioItem(bool v) {
  if (v == radioItem_) return;
  radioItem_ = v;
  MenuChanged();
}
void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  MenuChanged();
}
void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  MenuChanged();
}
void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  MenuChanged();
}
void TMenuItem::SetBreak(TMenuBreak v) {
  if (v == break_) return;
  break_ = v;
  MenuChanged();
}
void TMenuItem::SetShortCut(TShortCut v) {
  if (v == shortCut_) return;
  shortCut_ = v;
  MenuChanged();
}
void TMenuItem::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  MenuChanged();
}

TBitmap* TMenuItem::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (handle_) RebuildHandle();
  if (Count() == 1) MenuChanged();  // we now lead to a sub-menu
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (HasState(csDestroying)) return;
  if (handle_) RebuildHandle();
  if (items_.empty()) MenuChanged();
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(Format(L"List index out of bounds (%d)", index));
  TMenuItem* item = items_[index];
  Remove(item);
  delete item;
}

void TMenuItem::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::wstring& caption) const {
  auto strip = [](std::wstring s) {
    s.erase(std::remove(s.begin(), s.end(), L'&'), s.end());
    return s;
  };
  std::wstring wanted = strip(caption);
  for (TMenuItem* item : items_)
    if (SameText(strip(item->caption_), wanted)) return item;
  return nullptr;
}

HMENU TMenuItem::Handle() {
  if (handle_) return handle_;
  bool root = menu_ != nullptr && !parent_;
  if (!root && items_.empty()) return nullptr;
  handle_ = (root && menu_->IsMenuBar()) ? CreateMenu() : CreatePopupMenu();
  RebuildHandle();
  return handle_;
}

void TMenuItem::DestroyHandle() {
  if (!handle_) return;
  // Sub-menus belong to their own items: take them out before the menu goes.
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  DestroyMenu(handle_);
  handle_ = nullptr;
}

namespace {
// A picture item the system put in a bar: an MDI frame's bar shows a
// maximized child's window menu first and its buttons last. Ours are text.
bool IsSystemBarItem(HMENU menu, int position, bool& leading) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
  if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) return false;
  leading = mii.hSubMenu != nullptr;
  return (mii.fType & MFT_BITMAP) != 0;
}
}  // namespace

void TMenuItem::RebuildHandle() {
  if (!handle_) return;
  auto* mainMenu = !parent_ ? dynamic_cast<TMainMenu*>(menu_) : nullptr;
  const bool bar = mainMenu != nullptr;
  // The system's own items of a bar stay where they are.
  int lead = 0;
  for (int p = ::GetMenuItemCount(handle_) - 1; p >= 0; --p) {
    bool leading = false;
    if (bar && IsSystemBarItem(handle_, p, leading)) continue;
    ::RemoveMenu(handle_, static_cast<UINT>(p), MF_BYPOSITION);
  }
  for (bool leading = false; bar && lead < ::GetMenuItemCount(handle_) &&
                             IsSystemBarItem(handle_, lead, leading) && leading;)
    ++lead;
  int position = lead;
  for (TMenuItem* item : bar ? mainMenu->BarItems() : items_)
    if (item->visible_) item->InsertInto(handle_, position++, bar);
  if (menu_ && !parent_) menu_->MenuChanged();
}

void TMenuItem::InsertInto(HMENU menu, int position, bool topLevelOfBar) {
  TMenu* owner = GetParentMenu();
  bool ownerDraw = owner && owner->OwnerDraw();
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
  mii.wID = command_;
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  if (checked_) mii.fState |= MFS_CHECKED;
  if (!enabled_) mii.fState |= MFS_DISABLED | MFS_GRAYED;
  if (default_) mii.fState |= MFS_DEFAULT;
  if (radioItem_) mii.fType |= MFT_RADIOCHECK;
  if (break_ == mbBreak) mii.fType |= MFT_MENUBREAK;
  if (break_ == mbBarBreak) mii.fType |= MFT_MENUBARBREAK;
  // A bar item without a painter of its own is left to the system, which
  // draws the bar in its own look.
  if (ownerDraw && (!topLevelOfBar || OnAdvancedDrawItem || OnMeasureItem))
    mii.fType |= MFT_OWNERDRAW;
  std::wstring text = caption_;
  if (IsLine()) {
    mii.fType |= MFT_SEPARATOR;
  } else {
    if (shortCut_ != scNone) text += L"\t" + ShortCutToText(shortCut_);
    mii.fMask |= MIIM_STRING;
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
  }
  if (!items_.empty()) {
    mii.fMask |= MIIM_SUBMENU;
    mii.hSubMenu = Handle();
  }
  InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &mii);
}

void TMenuItem::MenuChanged() {
  if (HasState(csDestroying)) return;
  if (parent_ && parent_->handle_) parent_->RebuildHandle();
  // A change below the top level is a change of the menu too (the top
  // level's rebuild tells the menu itself).
  if (parent_ && parent_->parent_)
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

int TMenuItem::MenuPosition() const {
  if (!parent_ || !visible_) return -1;
  int position = 0;
  for (TMenuItem* sibling : parent_->items_) {
    if (sibling == this) return position;
    if (sibling->visible_) ++position;
  }
  return -1;
}

bool TMenuItem::ItemRect(HWND wnd, RECT& rect) const {
  int position = MenuPosition();
  if (position < 0 || !parent_->handle_) return false;
  // The system may have put items of its own before ours (an MDI frame's
  // bar starts with a maximized child's window menu): find ours.
  const int count = ::GetMenuItemCount(parent_->handle_);
  for (int p = position; p < count; ++p) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(parent_->handle_, static_cast<UINT>(p), TRUE, &mii)) break;
    if (handle_ ? mii.hSubMenu == handle_ : (!mii.hSubMenu && mii.wID == command_)) {
      position = p;
      break;
    }
  }
  return ::GetMenuItemRect(wnd, parent_->handle_, static_cast<UINT>(position), &rect) != FALSE;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(HDC dc, UINT& width, UINT& height) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  UniqueFont menuFont;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
    menuFont.reset(CreateFontIndirectW(&ncm.lfMenuFont));
  SelectObjectScope font(dc, menuFont.get());
  int w, h;
  if (IsLine()) {
    w = 0;
    h = 8;
  } else {
    std::wstring text = caption_;
    if (shortCut_ != scNone) text += L"    " + ShortCutToText(shortCut_);
    TSize ext = canvas.TextExtent(text.empty() ? L" " : text);
    w = ext.cx + 2 * GetSystemMetrics(SM_CXMENUCHECK) + 8;
    h = std::max<int>(ext.cy + 4, GetSystemMetrics(SM_CYMENU) - 1);
  }
  if (OnMeasureItem) OnMeasureItem(this, &canvas, w, h);
  canvas.SetHandle(nullptr);
  width = static_cast<UINT>(std::max(w, 0));
  height = static_cast<UINT>(std::max(h, 0));
}

void TMenuItem::DrawItem(HDC dc, RECT rect, TOwnerDrawState state) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, &canvas, rect, state);
  else DrawPlain(&canvas, rect, state);
  canvas.SetHandle(nullptr);
}

// The system's own look, for owner-drawn menus whose items have no painter.
void TMenuItem::DrawPlain(TCanvas* canvasPtr, RECT rect, TOwnerDrawState state) {
  TCanvas& canvas = *canvasPtr;
  bool selected = (state & odSelected) != 0;
  canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
  } else {
    canvas.Font()->SetColor(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText);
    canvas.Brush()->SetStyle(bsClear);
    RECT tr = rect;
    tr.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
    tr.right -= 8;
    canvas.TextRect(tr, caption_, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (shortCut_ != scNone)
      canvas.TextRect(tr, ShortCutToText(shortCut_), DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    if (checked_) {
      RECT box{rect.left + 2, rect.top, rect.left + 2 + GetSystemMetrics(SM_CXMENUCHECK), rect.bottom};
      canvas.TextRect(box, radioItem_ ? L"\x25CF" : L"\x2713", DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
  }
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(this)) {
  items_->SetMenu(this);
}

TMenu::~TMenu() {
  Destroying();
  delete items_;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  // Every level of the menu is built again with the new item type.
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    for (TMenuItem* child : item->items_) rebuild(child);
    item->RebuildHandle();
  };
  rebuild(items_);
}

void TMenu::SetImages(TImageList* v) {
  if (v == images_) return;
  if (images_) RemoveFreeNotification(images_);
  images_ = v;
  if (v) FreeNotification(v);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && images_ && component == images_) images_ = nullptr;
}

TMenuItem* TMenu::FindItem(WORD command) const {
  TMenuItem* item = FindMenuItem(command);
  return item && item->GetParentMenu() == this ? item : nullptr;
}

bool TMenu::DispatchCommand(WORD command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

// ---------------------------------------------------------------- owner-draw messages

namespace {

// WM_COMMAND of a menu, WM_MEASUREITEM / WM_DRAWITEM of a menu item: true
// when the message was one of ours and has been answered.
bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0 && DispatchMenuCommand(LOWORD(wParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!mi || mi->CtlType != ODT_MENU || !mi->itemData) return false;
      auto* item = reinterpret_cast<TMenuItem*>(mi->itemData);
      if (FindMenuItem(item->Command()) != item) return false;
      UniqueWindowDC dc = UniqueWindowDC::Client(nullptr);
      item->MeasureItem(dc.get(), mi->itemWidth, mi->itemHeight);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (!d || d->CtlType != ODT_MENU || !d->itemData) return false;
      auto* item = reinterpret_cast<TMenuItem*>(d->itemData);
      if (FindMenuItem(item->Command()) != item) return false;
      item->DrawItem(d->hDC, d->rcItem, OwnerDrawStateFromODS(d->itemState));
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
  if (mergedInto_) mergedInto_->Unmerge(this);
  if (merged_) merged_->mergedInto_ = nullptr;
  merged_ = nullptr;
  Detach();
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (menu == this || menu == merged_) return;
  if (merged_) merged_->mergedInto_ = nullptr;
  if (menu && menu->mergedInto_) menu->mergedInto_->Unmerge(menu);
  merged_ = menu;
  if (menu) {
    menu->mergedInto_ = this;
    // A menu with a handle of its own tells us when its items change.
    menu->Items()->Handle();
  }
  if (Items()->HandleAllocated()) Items()->RebuildHandle();
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  if (!menu || menu != merged_) return;
  merged_->mergedInto_ = nullptr;
  merged_ = nullptr;
  if (Items()->HandleAllocated() && !HasState(csDestroying)) Items()->RebuildHandle();
}

std::vector<TMenuItem*> TMainMenu::BarItems() const {
  std::vector<TMenuItem*> bar;
  TMenuItem* own = Items();
  TMenuItem* merged = merged_ ? merged_->Items() : nullptr;
  auto takenByMerged = [merged](int group) {
    for (int i = 0; merged && i < merged->Count(); ++i)
      if (merged->Items(i)->GroupIndex == group) return true;
    return false;
  };
  for (int i = 0; i < own->Count(); ++i)
    if (!takenByMerged(own->Items(i)->GroupIndex)) bar.push_back(own->Items(i));
  // Each merged item goes before the first item of a higher group.
  for (int i = 0; merged && i < merged->Count(); ++i) {
    TMenuItem* item = merged->Items(i);
    auto at = std::find_if(bar.begin(), bar.end(),
                           [item](TMenuItem* b) { return b->GroupIndex > item->GroupIndex; });
    bar.insert(at, item);
  }
  return bar;
}

void TMainMenu::MenuChanged() {
  if (mergedInto_ && mergedInto_->Items()->HandleAllocated())
    mergedInto_->Items()->RebuildHandle();
  if (!form_) return;
  if (form_->HandleAllocated() && Items()->HandleAllocated() &&
      GetMenu(form_->WindowHandle()) == Items()->Handle())
    DrawMenuBar(form_->WindowHandle());
  form_->Perform(CM_MENUCHANGED);
}

namespace {
// Shows `menu` in the window and keeps its client height (the bar takes its
// room from the frame, as a designed form expects).
void SetWindowMenuKeepingClient(HWND wnd, HMENU menu) {
  RECT before;
  GetClientRect(wnd, &before);
  ::SetMenu(wnd, menu);
  RECT after;
  GetClientRect(wnd, &after);
  int grow = (before.bottom - before.top) - (after.bottom - after.top);
  if (grow == 0) return;
  RECT w;
  GetWindowRect(wnd, &w);
  SetWindowPos(wnd, nullptr, 0, 0, w.right - w.left, (w.bottom - w.top) + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

void TMainMenu::AttachTo(TCustomForm* form) {
  if (form_ == form) return;
  Detach();
  form_ = form;
  if (!form) return;
  FreeNotification(form);
  hook_ = std::make_unique<TWndProcHook>(
      form, [this](TMessage& m, const TWndMethod& next) { HookMessage(m, next); });
  if (form->HandleAllocated()) SetWindowMenuKeepingClient(form->WindowHandle(), Handle());
  form->Perform(CM_MENUCHANGED);
}

void TMainMenu::Detach() {
  if (!form_) return;
  TCustomForm* form = form_;
  form_ = nullptr;
  hook_.reset();
  RemoveFreeNotification(form);
  if (!form->HasState(csDestroying)) {
    if (form->HandleAllocated() && Items()->HandleAllocated() &&
        GetMenu(form->WindowHandle()) == Items()->Handle())
      SetWindowMenuKeepingClient(form->WindowHandle(), nullptr);
    if (form->menu_ == this) form->menu_ = nullptr;
    form->Perform(CM_MENUCHANGED);
  }
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == TOperation::opRemove && form_ && component == form_) {
    // The form is going: its window and hook list are gone already.
    form_ = nullptr;
    hook_.reset();
  }
}

void TMainMenu::HookMessage(TMessage& m, const TWndMethod& next) {
  LRESULT result = 0;
  switch (m.Msg) {
    case WM_CREATE:
      // A recreated form window gets the bar again.
      next(m);
      if (form_ && form_->HandleAllocated()) SetWindowMenuKeepingClient(form_->WindowHandle(), Handle());
      return;
    case WM_INITMENU:
      if (form_ && Items()->HandleAllocated() && reinterpret_cast<HMENU>(m.WParam) == Items()->Handle())
        NotifyMenuShowing(this);
      break;
    case WM_DESTROY:
      // The system would destroy the bar with the window; it is ours.
      if (form_ && form_->HandleAllocated()) ::SetMenu(form_->WindowHandle(), nullptr);
      next(m);
      return;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (HandleMenuMessage(m.Msg, m.WParam, m.LParam, result)) {
        m.Result = result;
        return;
      }
      break;
  }
  next(m);
}

// The form side of attaching a bar.
void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (formStyle_ == fsMDIChild) {
    MergeMDIMenu(false);
    menu_ = menu;
    if (HandleAllocated() && !Parent())
      if (TCustomForm* parent = MDIParentForm(); parent && parent->ActiveMDIChild() == this)
        MergeMDIMenu(true);
    return;
  }
  TMainMenu* old = menu_;
  menu_ = menu;
  if (old) old->Detach();
  menu_ = menu;
  if (menu) {
    if (menu->form_ && menu->form_ != this) menu->form_->SetMenu(nullptr);
    menu->AttachTo(this);
  }
}

// ---------------------------------------------------------------- TPopupMenu

namespace {

const wchar_t kPopupWindowClass[] = L"TPopupList";

LRESULT CALLBACK PopupWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleMenuMessage(msg, wParam, lParam, result)) return result;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

HWND TPopupMenu::WindowHandle() {
  static HWND wnd = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PopupWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPopupWindowClass;
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, kPopupWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, wc.hInstance, nullptr);
  }();
  return wnd;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  NotifyMenuShowing(this);
  HMENU menu = Handle();
  if (!menu || GetMenuItemCount(menu) == 0) return;
  UINT flags = TPM_LEFTBUTTON | TPM_RIGHTBUTTON;
  switch (Alignment) {
    case paLeft: flags |= TPM_LEFTALIGN; break;
    case paRight: flags |= TPM_RIGHTALIGN; break;
    case paCenter: flags |= TPM_CENTERALIGN; break;
  }
  if (MenuAnimation & maNone) flags |= TPM_NOANIMATION;
  if (MenuAnimation & maLeftToRight) flags |= TPM_HORPOSANIMATION;
  if (MenuAnimation & maRightToLeft) flags |= TPM_HORNEGANIMATION;
  if (MenuAnimation & maTopToBottom) flags |= TPM_VERPOSANIMATION;
  if (MenuAnimation & maBottomToTop) flags |= TPM_VERNEGANIMATION;
  HWND wnd = WindowHandle();
  TrackPopupMenuEx(menu, flags, x, y, wnd, nullptr);
  // The chosen command is posted to the window; let it arrive now.
  PostMessageW(wnd, WM_NULL, 0, 0);
}
