#include "skin/windows/SkinableMenus.h"

#include <algorithm>
#include <cmath>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/ImageList.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/PopupMenuWnd.h"

// ---------------------------------------------------------------- handler identity

namespace {

// The skinner's handlers as their own types, so a handler slot can tell
// whether it holds ours (std::function::target) and leave the
// application's alone.
struct SkinnerMeasure {
  TsSkinableMenus* menus;
  bool topLine;
  void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
    if (topLine)
      menus->MeasureTopLineItem(sender, canvas, width, height);
    else
      menus->MeasureItem(sender, canvas, width, height);
  }
};

struct SkinnerDraw {
  TsSkinableMenus* menus;
  bool topLine;
  void operator()(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state) const {
    if (topLine)
      menus->DrawTopLineItem(sender, canvas, r, state);
    else
      menus->DrawItem(sender, canvas, r, state);
  }
};

bool IsTopLine(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  return parent && !parent->Parent() && dynamic_cast<TMainMenu*>(item->GetParentMenu());
}

template <class F>
void ForEachSubItem(TMenuItem* item, const F& f) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    f(child);
    ForEachSubItem(child, f);
  }
}

TCustomForm* OwningForm(TMenuItem* item) {
  TComponent* c = item->GetParentMenu();
  if (!c) c = item;
  for (; c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

}  // namespace

bool TsSkinableMenus::IsOwnHandler(const TMenuMeasureItemEvent& handler) const {
  const SkinnerMeasure* own = handler.target<SkinnerMeasure>();
  return own && own->menus == this;
}

bool TsSkinableMenus::IsOwnHandler(const TAdvancedMenuDrawItemEvent& handler) const {
  const SkinnerDraw* own = handler.target<SkinnerDraw>();
  return own && own->menus == this;
}

// ---------------------------------------------------------------- life

TsSkinableMenus::TsSkinableMenus(TsSkinManager* owner)
    : CaptionFont(std::make_unique<TFont>()), manager_(owner) {
  // Menus made after the skin came are hooked just before they first show.
  if (owner && owner == DefaultManager)
    SetMenuShowingHook([this](TMenu* menu) { PrepareShowingMenu(menu); });
}

TsSkinableMenus::~TsSkinableMenus() {
  if (manager_ && manager_ == DefaultManager) SetMenuShowingHook(nullptr);
  FreeMenuCache();
}

int TsSkinableMenus::SkinBorderWidth() {
  if (skinBorderWidth_ < 0 && manager_) {
    int i = manager_->FindMaskIndex(L"MAINMENU", L"BORDERSMASK");
    if (i < 0) {
      skinBorderWidth_ = 0;
    } else {
      int w = manager_->ma[i].BorderWidth;
      skinBorderWidth_ = w < 1 ? 3 : w;
    }
  }
  return std::max(skinBorderWidth_, 0);
}

void TsSkinableMenus::FreeMenuCache() { PopupState().MenuFrameBmp.reset(); }

// ---------------------------------------------------------------- hooking

void TsSkinableMenus::UpdateMenus() {
  SetActive(manager_ && manager_->SkinData && manager_->SkinData->Active);
}

void TsSkinableMenus::SetActive(bool value) {
  if (value != active_) ApplyToAllForms(value);
}

void TsSkinableMenus::ApplyToAllForms(bool value) {
  active_ = value;
  if (!manager_ || manager_->HasState(csDesigning) || !Application) return;
  const bool popups = manager_->SkinnedPopups();
  std::function<void(TComponent*)> walk = [&](TComponent* owner) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      TComponent* c = owner->Components(i);
      if (auto* mainMenu = dynamic_cast<TMainMenu*>(c)) {
        HookMenuItems(mainMenu, value);
        for (int j = 0; j < mainMenu->Items()->Count(); ++j)
          SetItemHandlers(mainMenu->Items()->Items(j), value);
      } else if (auto* popup = dynamic_cast<TPopupMenu*>(c)) {
        if (popups) HookMenu(popup, value);
      } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
        if (popups && !dynamic_cast<TMainMenu*>(item->GetParentMenu()))
          SetItemHandlers(item, value);
      }
      walk(c);
    }
  };
  try {
    walk(Application);
  } catch (...) {
    // A menu that fails to rebuild must not stop the skin change.
  }
}

void TsSkinableMenus::InstallPopupHandlers(TMenuItem* item) {
  if (!item->OnAdvancedDrawItem) item->OnAdvancedDrawItem = SkinnerDraw{this, false};
  if (!item->OnMeasureItem) item->OnMeasureItem = SkinnerMeasure{this, false};
}

void TsSkinableMenus::RemovePopupHandlers(TMenuItem* item) {
  if (IsOwnHandler(item->OnAdvancedDrawItem)) item->OnAdvancedDrawItem = nullptr;
  if (IsOwnHandler(item->OnMeasureItem)) item->OnMeasureItem = nullptr;
}

void TsSkinableMenus::HookMenu(TMenu* menu, bool active) {
  if (!menu) return;
  if (auto* popup = dynamic_cast<TPopupMenu*>(menu)) {
    if (active)
      popup->MenuAnimation |= maNone;
    else
      popup->MenuAnimation &= ~static_cast<TMenuAnimation>(maNone);
  }
  ForEachSubItem(menu->Items(), [&](TMenuItem* item) {
    if (active)
      InstallPopupHandlers(item);
    else
      RemovePopupHandlers(item);
  });
  menu->SetOwnerDraw(active);
}

bool TsSkinableMenus::PaintsMenuLine(TMainMenu* mainMenu) const {
  TacMenuLine line;
  return mainMenu && mainMenu->BarForm() && MenuLineSource &&
         MenuLineSource(mainMenu->BarForm(), line) && line.Bmp;
}

void TsSkinableMenus::HookMenuItems(TMainMenu* mainMenu, bool active) {
  if (!mainMenu) return;
  TMenuItem* bar = mainMenu->Items();
  // Without a provider painting the form's menu line the bar keeps the
  // system's look.
  const bool barPainted = PaintsMenuLine(mainMenu);
  for (int i = 0; i < bar->Count(); ++i) {
    TMenuItem* item = bar->Items(i);
    if (active && !barPainted) {
      RemovePopupHandlers(item);
    } else if (active) {
      if (manager_ && manager_->SkinData && manager_->SkinData->Active)
        item->OnAdvancedDrawItem = SkinnerDraw{this, true};
      item->OnMeasureItem = SkinnerMeasure{this, true};
    } else {
      RemovePopupHandlers(item);
    }
  }
  if (!mainMenu->HasState(csDestroying)) mainMenu->SetOwnerDraw(active);
}

void TsSkinableMenus::SetItemHandlers(TMenuItem* item, bool active) {
  if (!item) return;
  ForEachSubItem(item, [&](TMenuItem* child) {
    if (IsTopLine(child)) return;
    if (active)
      InstallPopupHandlers(child);
    else
      RemovePopupHandlers(child);
  });
}

void TsSkinableMenus::HookItem(TMenuItem* item, bool active) {
  if (!item) return;
  TMenu* menu = item->GetParentMenu();
  if (menu) menu->SetOwnerDraw(active);
  if (!active) {
    RemovePopupHandlers(item);
  } else if (IsTopLine(item)) {
    if (PaintsMenuLine(dynamic_cast<TMainMenu*>(menu))) {
      item->OnAdvancedDrawItem = SkinnerDraw{this, true};
      item->OnMeasureItem = SkinnerMeasure{this, true};
    }
  } else if (manager_ && manager_->SkinnedPopups()) {
    InstallPopupHandlers(item);
  }
}

void TsSkinableMenus::PrepareShowingMenu(TMenu* menu) {
  if (!active_ || !menu || !manager_) return;
  if (auto* mainMenu = dynamic_cast<TMainMenu*>(menu)) {
    HookMenuItems(mainMenu, true);
    for (int j = 0; j < mainMenu->Items()->Count(); ++j)
      SetItemHandlers(mainMenu->Items()->Items(j), true);
  } else if (manager_->SkinnedPopups()) {
    HookMenu(menu, true);
  }
}

// ---------------------------------------------------------------- the private messages

bool TsSkinableMenus::HookMessage(TMessage& message) {
  // Until a popup has a frame bitmap there is nothing to put on its window.
  if (!PopupState().MenuFrameBmp) return false;
  if (message.Msg == WM_MENUWNDHOOK) {
    HWND wnd = reinterpret_cast<HWND>(message.LParam);
    if (wnd && ::IsWindow(wnd)) HookPopupWnd(*this, wnd, PopupState().MenuFrameBmp.get());
    message.Result = 0;
    return true;
  }
  if (message.Msg != WM_MENUITEMHOOK) return false;
  message.Result = 0;
  // The item was posted: it may have gone with its menu since.
  if (!IsLiveMenuItem(reinterpret_cast<const void*>(message.LParam))) return true;
  auto* item = reinterpret_cast<TMenuItem*>(message.LParam);
  TMenuItem* parent = item->Parent();
  if (!parent || !parent->HandleAllocated()) return true;
  HMENU menu = parent->Handle();
  int index = -1;
  for (int i = 0, shown = 0; i < parent->Count(); ++i) {
    if (!parent->Items(i)->Visible()) continue;
    if (parent->Items(i) == item) index = shown;
    ++shown;
  }
  if (index < 0) return true;
  RECT r{};
  if (!::GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &r) &&
      !::GetMenuItemRect(TPopupMenu::WindowHandle(), menu, static_cast<UINT>(index), &r))
    return true;
  POINT centre{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
  HWND wnd = ::WindowFromPoint(centre);
  if (wnd) HookPopupWnd(*this, wnd, PopupState().MenuFrameBmp.get());
  return true;
}

// ---------------------------------------------------------------- measuring

TsMenuItemType MenuItemTypeOf(TMenuItem* item) {
  const std::wstring& caption = item->Caption();
  if (caption == L"-") return smDivider;
  if (caption.size() > 1 && caption.front() == L'-' && caption.back() == L'-') return smCaption;
  return smNormal;
}

void SetMenuFont(TCanvas* canvas, TMenuItem* item, bool bold) {
  // Property by property, so a canvas that has the font already keeps its
  // handle.
  TFont* font = canvas->Font();
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
    font->SetName(ncm.lfMenuFont.lfFaceName);
    font->SetHeight(ncm.lfMenuFont.lfHeight);
    font->SetCharset(ncm.lfMenuFont.lfCharSet);
    font->SetOrientation(0);
  }
  if (TCustomForm* form = item ? OwningForm(item) : nullptr)
    font->SetCharset(form->Font()->Charset());
  font->SetStyle(bold ? fsBold : 0);
}

TSize TsSkinableMenus::GetItemBitmapSize(TMenuItem* item) const {
  if (item->HasBitmap()) return TSize{item->Bitmap()->Width(), item->Bitmap()->Height()};
  TMenu* menu = item->GetParentMenu();
  if (menu && menu->Images()) return TSize{menu->Images()->Width(), menu->Images()->Height()};
  return TSize{16, 16};
}

namespace {
int CalcTextWidth(TCanvas* canvas, const std::wstring& text) {
  if (text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  std::wstring copy = text;
  ::DrawTextW(canvas->Handle(), copy.data(), static_cast<int>(copy.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  return r.right - r.left;
}
}  // namespace

int TsSkinableMenus::GetItemHeight(TCanvas* canvas, TMenuItem* item) {
  TsMenuItemType type = MenuItemTypeOf(item);
  if (type == smDivider) return 2;
  int h = static_cast<int>(std::nearbyint(canvas->TextHeight(L"W") * 1.25));
  if (type == smNormal) h = std::max(h, static_cast<int>(GetItemBitmapSize(item).cy));
  return h + 2 * Margin;
}

int TsSkinableMenus::ItemWidth(TCanvas* canvas, TMenuItem* item) {
  std::wstring text;
  switch (MenuItemTypeOf(item)) {
    case smCaption:
      text = L"-" + item->Caption() + L"-";
      break;
    case smDivider:
      break;
    default:
      text = item->Caption();
      if (item->ShortCut() != scNone) text += ShortCutToText(item->ShortCut());
  }
  return 2 * GetItemBitmapSize(item).cx + CalcTextWidth(canvas, text) + 3 * Margin + Spacing;
}

void TsSkinableMenus::MeasureItem(TObject* sender, TCanvas* canvas, int& width, int& height) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !canvas || item->HasState(csDestroying)) return;
  TacPopupState& st = PopupState();
  TMenuItem* first = FirstPopupItem(item);
  if (first != st.MenuFirstItem) {
    ResetPopupState();
    st.MenuFirstItem = first;
  }
  if (!st.ExtraLineBusy && !st.ExtraLineFetched) FetchExtraLine(*this, first);
  SetMenuFont(canvas, item, false);
  width = ItemWidth(canvas, item);
  if (st.ExtraLineVisible && InFirstColumn(item)) width += CalcExtraLineWidth(*this, false);
  height = GetItemHeight(canvas, item);
}

void TsSkinableMenus::MeasureTopLineItem(TObject* sender, TCanvas* canvas, int& width,
                                         int& height) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !canvas) return;
  height = ::GetSystemMetrics(SM_CYMENU) - 1;
  SetMenuFont(canvas, item, false);
  std::wstring text = item->Caption();
  if (item->ShortCut() != scNone) text += ShortCutToText(item->ShortCut());
  width = std::max(width, static_cast<int>(canvas->TextWidth(text)));
}
