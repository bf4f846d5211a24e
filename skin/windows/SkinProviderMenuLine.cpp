// TsSkinProvider: the form's menu bar. The skin's menu line is painted into
// the frame cache under the caption band, a copy of it is kept for the menu
// skinner (which paints the bar's items over it while a menu is open), and
// the bar's items are drawn onto it by their own draw handlers.
#include <algorithm>

#include "framework/Menus.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/WindowSkinning.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/SkinableMenus.h"

namespace {

bool DrawnBySkinner(const TMenuItem* item) {
  return item->Visible() && item->OnAdvancedDrawItem && item->OnMeasureItem;
}

// The menu skinner asks the provider of a form for its menu line.
bool ProviderMenuLine(TCustomForm* form, TacMenuLine& line) {
  if (!form || !form->HandleAllocated()) return false;
  TsSkinProvider* provider =
      ProviderOfReply(SendSkinCmd(form->WindowHandle(), AC_GETPROVIDER, 0));
  return provider && provider->MenuLine(line);
}

// The item's rectangle in the bar the window shows, found by its sub-menu
// or command: merged items and the system's own sit among the menu's.
bool BarItemRect(HWND wnd, HMENU bar, const TMenuItem* item, RECT& rect) {
  if (!bar) return false;
  const int count = ::GetMenuItemCount(bar);
  for (int p = 0; p < count; ++p) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoW(bar, static_cast<UINT>(p), TRUE, &mii)) return false;
    if (mii.dwItemData == reinterpret_cast<ULONG_PTR>(item))
      return ::GetMenuItemRect(wnd, bar, static_cast<UINT>(p), &rect) != FALSE;
  }
  return false;
}

}  // namespace

int TsSkinProvider::MenuHeight() const {
  return Form && Form->Menu() ? ::GetSystemMetrics(SM_CYMENU) - 1 : 0;
}

bool TsSkinProvider::MenuPresent() const {
  if (!Form || Form->BorderStyle() == bsDialog || Form->FormStyle() == fsMDIChild) return false;
  TMainMenu* menu = Form->Menu();
  if (!menu) return false;
  for (TMenuItem* item : menu->BarItems())
    if (item->Visible()) return true;
  return false;
}

// Places the bar's skinner-drawn items left to right, wrapping to a new
// line where the next would pass the frame; gives the number of lines.
int TsSkinProvider::LayMenuItems(const std::function<void(TMenuItem*, const TRect&)>& place) const {
  TMainMenu* menu = Form ? Form->Menu() : nullptr;
  if (!menu) return 1;
  HWND wnd = FormHandle();
  const int h = MenuHeight();
  const int limit = FormWidth() - 2 * SysBorderWidth() - 2 * BorderWidth();
  const int top = SysCaptionHeight() + SysBorderHeight();
  // A maximized MDI child's window menu comes first in the bar.
  int lines = 1, x = SysBorderWidth() + MDIIconItemWidth();
  HMENU shown = ::GetMenu(wnd);
  for (TMenuItem* item : menu->BarItems()) {
    RECT r{};
    if (!DrawnBySkinner(item) || !BarItemRect(wnd, shown, item, r)) continue;
    const int w = r.right - r.left;
    if (x + w > limit && x > SysBorderWidth()) {
      ++lines;
      x = SysBorderWidth();
    }
    if (place) {
      const int y = top + (lines - 1) * h;
      place(item, TRect{x, y, x + w, y + h});
    }
    x += w;
  }
  return lines;
}

int TsSkinProvider::MenuLines() {
  if (MenuLineCount < 0) MenuLineCount = LayMenuItems(nullptr);
  return MenuLineCount;
}

std::wstring TsSkinProvider::MenuLineSection() const {
  TsSkinManager* m = Manager();
  if (m && !MenuLineSkin.empty() && m->GetSkinIndex(MenuLineSkin) >= 0) return MenuLineSkin;
  return L"MENULINE";
}

bool TsSkinProvider::MenuLine(TacMenuLine& line) {
  if (!Form || !SkinData->Skinned(false) || !MenuPresent() || MenuHeight() <= 0) return false;
  // Asked before the first paint too: the bar's items are handed to the
  // skinner only while a provider paints their line.
  if (!MenuLineBmp) MenuLineBmp = std::make_unique<TBitmap>();
  line.Bmp = MenuLineBmp.get();
  line.Top = SysCaptionHeight() + SysBorderHeight();
  return true;
}

void TsSkinProvider::PaintMenuLine(TBitmap* cache, int state) {
  TsSkinManager* m = Manager();
  const int h = MenuHeight();
  if (!m || !MenuPresent() || h <= 0) return;
  const int top = SysCaptionHeight() + SysBorderHeight();
  const int w = FormWidth();
  const TRect band{0, top, w, top + MenuLines() * h};
  const std::wstring section = MenuLineSection();
  const int index = m->GetSkinIndex(section);
  if (m->IsValidSkinIndex(index))
    PaintItem(index, section, MakeCacheInfo(cache, 0, 0), true, state, band, TPoint{0, top}, cache,
              m);
  if (!MenuLineBmp) MenuLineBmp = std::make_unique<TBitmap>();
  MenuLineBmp->SetSize(w, band.bottom - band.top);
  ::BitBlt(MenuLineBmp->Canvas()->Handle(), 0, 0, w, band.bottom - band.top,
           cache->Canvas()->Handle(), 0, top, SRCCOPY);
  TCanvas* canvas = cache->Canvas();
  LayMenuItems([&](TMenuItem* item, const TRect& r) {
    const TOwnerDrawState itemState = item->Enabled() ? 0u : TOwnerDrawState{odDisabled};
    item->OnAdvancedDrawItem(item, canvas, r, itemState);
  });
}

void TsSkinProvider::HookMenus(bool active) {
  TsSkinManager* m = Manager();
  if (!Form || Form->HasState(csDestroying) || !m || !m->SkinableMenus || hookingMenus_) return;
  hookingMenus_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{hookingMenus_};
  m->SkinableMenus->MenuLineSource = ProviderMenuLine;
  if (TMainMenu* menu = Form->Menu()) {
    TMenuItem* bar = menu->Items();
    const bool before = bar->Count() > 0 && DrawnBySkinner(bar->Items(0));
    m->SkinableMenus->HookMenuItems(menu, active);
    // An MDI child's items shown in this bar are painted on our line too.
    if (menu->Merged()) m->SkinableMenus->HookMenuItems(menu->Merged(), active);
    // The bar's look changed hands: its line is painted again.
    if (bar->Count() > 0 && DrawnBySkinner(bar->Items(0)) != before) {
      MenuChanged = true;
      MenuLineCount = -1;
      SkinData->BGChanged = true;
    }
  }
  if (SystemMenu && m->SkinnedPopups()) m->SkinableMenus->HookMenu(SystemMenu, active);
}

void TsSkinProvider::OnMeasureItem(TMessage& message) {
  // A bar item made after the skin came gets the skinner's handlers before
  // it is measured. An MDI child's menu is shown by its main form.
  const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam);
  TsSkinManager* m = Manager();
  TMainMenu* menu = Form->Menu();
  if (mis && mis->CtlType == ODT_MENU && menu && Form->FormStyle() != fsMDIChild && m &&
      m->SkinableMenus)
    if (TMenuItem* item = menu->FindItem(static_cast<WORD>(mis->itemID)))
      m->SkinableMenus->HookItem(item, true);
  CallOld(message);
}
