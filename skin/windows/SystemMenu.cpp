// TsSystemMenu: the skinned form's own system menu, with the window
// commands enabled by the form's state and a submenu of the available skins.
#include <algorithm>

#include "framework/Classes.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/SkinProvider.h"

namespace {

constexpr int kSkinColumnLength = 20;

bool IsMdiChild(const TCustomForm* f) { return f->FormStyle() == fsMDIChild; }
bool Minimized(const TCustomForm* f) { return f->WindowState() == wsMinimized; }
bool Maximized(const TCustomForm* f) { return f->WindowState() == wsMaximized; }
bool NoBox(TBorderStyle bs) {
  return bs == bsDialog || bs == bsNone || bs == bsToolWindow || bs == bsSizeToolWin;
}

}  // namespace

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider)
    : TPopupMenu(provider), Provider(provider), Form(provider->Form) {
  const TacSystemMenuItems items =
      AddSystemMenuItems(this, L"Item", [this](UINT command) { SendCommand(command); });
  ItemRestore = items.Restore;
  ItemMove = items.Move;
  ItemSize = items.Size;
  ItemMinimize = items.Minimize;
  ItemMaximize = items.Maximize;
  ItemClose = items.Close;
}

TacSystemMenuItems AddSystemMenuItems(TPopupMenu* menu, const std::wstring& prefix,
                                      const std::function<void(UINT command)>& send) {
  auto add = [&](const wchar_t* caption, UINT command) {
    auto* item = new TMenuItem(menu);
    item->SetName(prefix + caption);
    item->SetCaption(caption);
    item->OnClick = [send, command](TObject*) { send(command); };
    menu->Items()->Add(item);
    return item;
  };
  TacSystemMenuItems items{};
  items.Restore = add(L"Restore", SC_RESTORE);
  items.Move = add(L"Move", SC_MOVE);
  items.Size = add(L"Size", SC_SIZE);
  items.Minimize = add(L"Minimize", SC_MINIMIZE);
  items.Maximize = add(L"Maximize", SC_MAXIMIZE);
  auto* line = new TMenuItem(menu);
  line->SetCaption(L"-");
  menu->Items()->Add(line);
  items.Close = add(L"Close", SC_CLOSE);
  items.Close->SetShortCut(ShortCut(VK_F4, ssAlt));
  return items;
}

void TsSystemMenu::SendCommand(UINT command) {
  if (!Form || !Form->HandleAllocated()) return;
  if (command == SC_MAXIMIZE && Form->FormStyle() == fsMDIChild)
    MDIChildProvider = Provider;
  else if (command == SC_MAXIMIZE)
    Form->SetWindowState(wsMaximized);
  ::SendMessageW(Form->WindowHandle(), WM_SYSCOMMAND, command, 0);
  if (command == SC_RESTORE || command == SC_MAXIMIZE || command == SC_MINIMIZE) UpdateItems();
}

bool TsSystemMenu::VisibleClose() const { return Form && (Form->BorderIcons() & biSystemMenu); }

bool TsSystemMenu::VisibleMax() const {
  if (!Form) return false;
  if (Minimized(Form) || IsMdiChild(Form)) return true;
  const TBorderStyle bs = Form->BorderStyle();
  if (NoBox(bs) || (bs == bsSingle && !(Form->BorderIcons() & biMaximize))) return false;
  return VisibleClose();
}

bool TsSystemMenu::VisibleMin() const {
  if (!Form) return false;
  if (Minimized(Form) || IsMdiChild(Form)) return true;
  const TBorderStyle bs = Form->BorderStyle();
  if (NoBox(bs) || (bs == bsSingle && !(Form->BorderIcons() & biMinimize))) return false;
  return VisibleClose();
}

bool TsSystemMenu::VisibleRestore() const {
  if (!Form) return false;
  if (IsMdiChild(Form)) return true;
  return !NoBox(Form->BorderStyle()) && VisibleClose();
}

bool TsSystemMenu::VisibleSize() const {
  if (!Form) return false;
  if (IsMdiChild(Form)) return true;
  const TBorderStyle bs = Form->BorderStyle();
  return bs != bsDialog && bs != bsNone && bs != bsToolWindow;
}

bool TsSystemMenu::EnabledMax() const {
  if (!Form) return false;
  if (IsMdiChild(Form)) return true;
  const TBorderStyle bs = Form->BorderStyle();
  return (Form->BorderIcons() & biMaximize) && !Maximized(Form) &&
         (bs == bsSingle || bs == bsSizeable || bs == bsSizeToolWin);
}

bool TsSystemMenu::EnabledMin() const {
  return Form && (Form->BorderIcons() & biMinimize) && !Minimized(Form);
}

bool TsSystemMenu::EnabledMove() const { return Form && !Maximized(Form); }

bool TsSystemMenu::EnabledRestore() const {
  if (!Form) return false;
  return ((Form->BorderIcons() & biMaximize) && Form->WindowState() != wsNormal) || Minimized(Form);
}

bool TsSystemMenu::EnabledSize() const {
  return Form && Form->BorderStyle() != bsSingle && !Minimized(Form);
}

void TsSystemMenu::UpdateItems() {
  if (!Form) return;
  try {
    ItemRestore->SetVisible(VisibleRestore());
    ItemMove->SetVisible(true);
    ItemSize->SetVisible(VisibleSize());
    ItemMinimize->SetVisible(VisibleMin());
    ItemMaximize->SetVisible(VisibleMax());
    ItemClose->SetVisible(VisibleClose());
    ItemRestore->SetEnabled(EnabledRestore());
    ItemMove->SetEnabled(EnabledMove());
    ItemSize->SetEnabled(EnabledSize());
    ItemMinimize->SetEnabled(EnabledMin());
    ItemMaximize->SetEnabled(EnabledMax());
    ItemClose->SetEnabled(true);
  } catch (...) {
  }
}

void TsSystemMenu::MakeSkinItems() {
  TsSkinManager* m = Provider->Manager();
  // The list is built afresh on every drop.
  if (Items()->Count() > 0 && Items()->Items(0)->Name() == L"SkinSelectItem") {
    Items()->Delete(1);  // its separator
    Items()->Delete(0);
  }
  if (!m) return;
  TStringList names;
  std::wstring first;
  m->GetSkinNames(names, first);
  if (names.Count() == 0) return;
  auto* root = new TMenuItem(this);
  root->SetName(L"SkinSelectItem");
  root->SetCaption(L"Available skins");
  Items()->Insert(0, root);
  auto* line = new TMenuItem(this);
  line->SetCaption(L"-");
  Items()->Insert(1, line);
  for (int i = 0; i < names.Count(); ++i) {
    auto* item = new TMenuItem(this);
    item->SetName(L"SkinSelectItem" + std::to_wstring(i));
    item->SetCaption(names[i]);
    item->SetRadioItem(true);
    item->SetChecked(names[i] == m->SkinName());
    if (i != 0 && i % kSkinColumnLength == 0) item->SetBreak(mbBreak);
    item->OnClick = [this](TObject* sender) { SkinSelect(sender); };
    root->Add(item);
  }
}

void TsSystemMenu::SkinSelect(TObject* sender) {
  TsSkinManager* m = Provider->Manager();
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!m || !item) return;
  std::wstring name = item->Caption();
  name.erase(std::remove(name.begin(), name.end(), L'&'), name.end());
  m->SetSkinName(name);
}
