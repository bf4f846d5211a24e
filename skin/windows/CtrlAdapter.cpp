#include "skin/windows/CtrlAdapter.h"

#include <algorithm>

#include "framework/Buttons.h"
#include "framework/Messages.h"
#include "framework/ComboBox.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "framework/TreeView.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PublishedProps.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/ComboWnd.h"
#include "skin/windows/EditWnd.h"
#include "skin/windows/GridWnd.h"
#include "skin/windows/GroupBoxWnd.h"
#include "skin/windows/PanelWnd.h"

bool AdapterBusy = false;

namespace {

bool NameIn(const TComponent* c, std::initializer_list<const wchar_t*> names) {
  const std::wstring name = c->ClassName();
  return std::any_of(names.begin(), names.end(), [&](const wchar_t* n) { return name == n; });
}

bool IsSynEdit(const TComponent* c) { return NameIn(c, {L"TSynEdit", L"TSynMemo", L"TDBSynEdit"}); }
bool IsRichView(const TComponent* c) {
  return NameIn(c, {L"TRichView", L"TDBRichViewEdit", L"TRichViewEdit", L"TDBRichView"});
}
bool IsVirtualTree(const TComponent* c) {
  return NameIn(c, {L"TVirtualStringTree", L"TVirtualDrawTree", L"TVirtualExplorerListview",
                    L"TVirtualExplorerTreeview"});
}
bool IsGridEh(TObject* c) {
  return dynamic_cast<TCustomControl*>(c) && HasProperty(c, L"OptionsEh");
}

// The adapter a control's class gets: its section (empty: unchanged), the
// adapter's section, and how to make it.
struct TacAdapterChoice {
  std::wstring Section;
  std::wstring AdapterSection;
  TacMainWndPtr (*Make)(HWND, TsCommonData*, TsSkinManager*, const std::wstring&);
};

template <class T>
TacMainWndPtr MakeAdapter(HWND wnd, TsCommonData* sd, TsSkinManager* m, const std::wstring& s) {
  auto a = TacMainWnd::Create<T>(wnd, sd, m, s, true);
  return TacMainWndPtr(a.release());
}

bool ChooseAdapter(TWinControl* c, TacAdapterChoice& out) {
  if (dynamic_cast<TCustomListView*>(c)) return out = {L"", L"EDIT", MakeAdapter<TacListViewWnd>}, true;
  if (dynamic_cast<TCustomGrid*>(c)) return out = {L"", L"EDIT", MakeAdapter<TacGridWnd>}, true;
  if (dynamic_cast<TBitBtn*>(c))
    return out = {L"BUTTON", L"BUTTON", MakeAdapter<TacBitBtnWnd>}, true;
  if (dynamic_cast<TButton*>(c)) return out = {L"BUTTON", L"BUTTON", MakeAdapter<TacBtnWnd>}, true;
  if (dynamic_cast<TCustomCheckBox*>(c))
    return out = {L"CHECKBOX", L"", MakeAdapter<TacCheckBoxWnd>}, true;
  if (dynamic_cast<TGroupBox*>(c))
    return out = {L"GROUPBOX", L"", MakeAdapter<TacGroupBoxWnd>}, true;
  if (dynamic_cast<TCustomTreeView*>(c)) return out = {L"", L"EDIT", MakeAdapter<TacTreeViewWnd>}, true;
  if (dynamic_cast<TCustomComboBox*>(c))
    return out = {L"", L"EDIT", MakeAdapter<TacComboBoxWnd>}, true;
  if (dynamic_cast<TCustomEdit*>(c) || dynamic_cast<TCustomListBox*>(c))
    return out = {L"", L"EDIT", MakeAdapter<TacEditWnd>}, true;
  if (dynamic_cast<TPanel*>(c))
    return out = {L"PANEL", L"PANEL", MakeAdapter<TacTransPanelWnd>}, true;
  if (IsSynEdit(c)) return out = {L"", L"EDIT", MakeAdapter<TacEditWnd>}, true;
  if (IsRichView(c)) return out = {L"", L"EDIT", MakeAdapter<TacGridWnd>}, true;
  if (IsVirtualTree(c)) return out = {L"", L"EDIT", MakeAdapter<TacVirtualTreeViewWnd>}, true;
  if (IsGridEh(c)) return out = {L"", L"EDIT", MakeAdapter<TacGridEhWnd>}, true;
  return false;
}

bool Handled(TWinControl* c) { return c->Parent() && QuerySkinCmd(c, AC_CTRLHANDLED); }

}  // namespace

// ---------------------------------------------------------------- item

TacAdapterItem::TacAdapterItem(TacCtrlAdapter* adapter)
    : SkinData(std::make_unique<TsCommonData>(this, true)), Adapter(adapter) {
  SkinData->ControlKind = ckAdapterItem;
  if (adapter && adapter->SkinManager) SkinData->SetSkinManager(adapter->SkinManager);
}

TacAdapterItem::~TacAdapterItem() {
  watch_.reset();
  ScrollWnd.reset();  // gives the control its window procedure back
  SkinData.reset();
}

void TacAdapterItem::DoHook(TWinControl* control) {
  if (!control || !control->HandleAllocated() || Handled(control)) return;
  Ctrl = control;
  SkinData->OwnerControl = control;
  SkinData->OwnerObject = control;
  if (!control->Parent()) return;
  TacAdapterChoice choice;
  if (!ChooseAdapter(control, choice)) return;
  if (!choice.Section.empty()) SkinData->SetSkinSection(choice.Section);
  ScrollWnd = choice.Make(control->WindowHandle(), SkinData.get(), SkinData->GetSkinManager(),
                          choice.AdapterSection);
  if (!watch_) {
    watch_ = std::make_unique<TWndProcHook>(control, [this](TMessage& m, const TWndMethod& next) {
      next(m);
      if (m.Msg == WM_NCDESTROY && Adapter) Adapter->WindowGone(this);  // frees this item
    });
  }
}

// ---------------------------------------------------------------- list

TacCtrlAdapter::TacCtrlAdapter(TWinControl* form, TsSkinManager* manager, TComponent* provider)
    : Provider(provider), Form(form), SkinManager(manager) {
  if (!form) return;
  formWatch_ = std::make_unique<TWndProcHook>(form, [this](TMessage& m, const TWndMethod& next) {
    next(m);
    if (m.Msg == CM_WINDOWSMADE) AddMadeWindows(reinterpret_cast<TWinControl*>(m.LParam));
  });
}

TacCtrlAdapter::~TacCtrlAdapter() {
  formWatch_.reset();
  RemoveAllItems();
  Items.clear();
  RestoreLabels();
}

void TacCtrlAdapter::SkinLabel(TLabel* label) {
  const bool known = std::any_of(labelLooks_.begin(), labelLooks_.end(),
                                 [label](const LabelLook& l) { return l.Label == label; });
  if (!known) labelLooks_.push_back({label, label->Transparent(), label->Font()->Color()});
  label->SetTransparent(true);
  if (DefaultManager) label->Font()->SetColor(DefaultManager->GetGlobalFontColor());
}

namespace {
bool OwnsOrHolds(TComponent* root, const TComponent* wanted) {
  if (root == wanted) return true;
  for (int i = 0; i < root->ComponentCount(); ++i)
    if (OwnsOrHolds(root->Components(i), wanted)) return true;
  if (auto* w = dynamic_cast<TWinControl*>(root))
    for (int i = 0; i < w->ControlCount(); ++i)
      if (w->Controls(i) == wanted) return true;
  return false;
}
}  // namespace

// Without a skin the form's labels look as designed again. Only labels the
// form still has are touched: one may have been freed meanwhile.
void TacCtrlAdapter::RestoreLabels() {
  std::vector<LabelLook> looks;
  looks.swap(labelLooks_);
  if (!Form || Form->HasState(csDestroying)) return;
  for (const LabelLook& l : looks) {
    if (!OwnsOrHolds(Form, l.Label) || l.Label->HasState(csDestroying)) continue;
    l.Label->SetTransparent(l.Transparent);
    l.Label->Font()->SetColor(l.Color);
  }
}

bool TacCtrlAdapter::IsControlSupported(TComponent* component) const {
  auto* c = dynamic_cast<TWinControl*>(component);
  if (!c || !c->Parent()) return false;
  if (dynamic_cast<TCustomListView*>(c) || dynamic_cast<TCustomGrid*>(c) || dynamic_cast<TButton*>(c) ||
      dynamic_cast<TCustomCheckBox*>(c) || dynamic_cast<TGroupBox*>(c) || dynamic_cast<TCustomTreeView*>(c) ||
      dynamic_cast<TCustomComboBox*>(c) || dynamic_cast<TCustomEdit*>(c) ||
      dynamic_cast<TCustomListBox*>(c))
    return true;
  return IsSynEdit(c) || IsVirtualTree(c) || IsRichView(c) || IsGridEh(c);
}

TacAdapterItem* TacCtrlAdapter::GetItem(int index) const {
  return index >= 0 && index < Count() ? Items[static_cast<size_t>(index)].get() : nullptr;
}

TacAdapterItem* TacCtrlAdapter::ItemOf(const TControl* control) const {
  for (const auto& item : Items)
    if (item->Ctrl == control) return item.get();
  return nullptr;
}

void TacCtrlAdapter::AddNewItem(TWinControl* control, std::wstring skinSection) {
  if (!control || Handled(control)) return;
  bool canBeAdded = true;
  if (OnSkinItem) OnSkinItem(control, canBeAdded, skinSection);
  if (!canBeAdded) return;
  TacAdapterItem* item = ItemOf(control);
  const bool fresh = !item;
  if (fresh) {
    Items.push_back(std::make_unique<TacAdapterItem>(this));
    item = Items.back().get();
    item->Ctrl = control;
  }
  // An empty section leaves the adapter's own to the adapter.
  if (!skinSection.empty()) item->SkinData->SetSkinSection(skinSection);
  if (fresh) {
    if (control->Parent()) item->DoHook(control);
    if (!item->ScrollWnd) Items.pop_back();
  } else if (item->ScrollWnd && !item->ScrollWnd->Hooked()) {
    item->ScrollWnd.reset();
    if (control->Parent()) item->DoHook(control);
  }
}

void TacCtrlAdapter::RemoveItem(int index) {
  if (index < 0 || index >= Count()) return;
  // Out of the list first: freeing the item may send messages that walk it.
  std::unique_ptr<TacAdapterItem> item = std::move(Items[static_cast<size_t>(index)]);
  Items.erase(Items.begin() + index);
  item.reset();
}

void TacCtrlAdapter::WindowGone(TacAdapterItem* item) {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i].get() == item) return RemoveItem(static_cast<int>(i));
}

bool TacCtrlAdapter::RulesAllow() const {
  TsSkinManager* manager = SkinManager ? SkinManager : DefaultManager;
  return manager && (manager->SkinningRules & SkinningRuleBit(srThirdParty));
}

void TacCtrlAdapter::AddOne(TComponent* component, bool withPanels) {
  if (IsControlSupported(component)) {
    AddNewItem(static_cast<TWinControl*>(component), L"EDIT");
  } else if (auto* panel = dynamic_cast<TPanel*>(component); withPanels && panel && panel->Parent()) {
    Add(panel);
  } else if (auto* label = dynamic_cast<TLabel*>(component);
             label && !SkinDataOf(label) && !label->InheritsFrom(L"TsCustomLabel")) {
    // Skinned labels colour themselves; only the framework's own are ours.
    SkinLabel(label);
  }
}

void TacCtrlAdapter::AddItemsIn(TWinControl* container, bool withPanels) {
  if (AdapterBusy || !container || !RulesAllow()) return;
  AdapterBusy = true;
  auto visit = [&](TComponent* component) {
    AddOne(component, withPanels);
    auto* w = dynamic_cast<TWinControl*>(component);
    if (w && w->HandleAllocated() && w->Parent()) {
      AdapterBusy = false;
      AddItemsIn(w, withPanels);
      AdapterBusy = true;
    }
  };
  for (int i = 0; i < container->ComponentCount(); ++i) visit(container->Components(i));
  for (int i = 0; i < container->ControlCount(); ++i) visit(container->Controls(i));
  AdapterBusy = false;
}

void TacCtrlAdapter::AddAllItems(TWinControl* parent) { AddItemsIn(parent ? parent : Form, false); }

// The walk at show time saw no window of a page that was not shown yet;
// such windows are made later, at the first visit, and are adapted then.
void TacCtrlAdapter::AddMadeWindows(TWinControl* made) {
  if (!made || !Form || !Form->IsShowing() || AdapterBusy || !RulesAllow()) return;
  if (!made->HandleAllocated() || !made->Parent()) return;
  AdapterBusy = true;
  AddOne(made, true);
  AdapterBusy = false;
  AddItemsIn(made, true);
}

void TacCtrlAdapter::RemoveAllItems() {
  if (AdapterBusy) return;
  AdapterBusy = true;
  while (!Items.empty()) RemoveItem(Count() - 1);
  AdapterBusy = false;
}

void TacCtrlAdapter::BroadcastMessage(TMessage& message) {
  // A copy: a receiver may free items.
  std::vector<TWinControl*> targets;
  for (const auto& item : Items)
    if (item->ScrollWnd && item->ScrollWnd->Hooked() && item->Ctrl && item->Ctrl->Parent())
      targets.push_back(item->Ctrl);
  for (TWinControl* c : targets) {
    if (!ItemOf(c) || !c->HandleAllocated()) continue;
    try {
      ::SendMessageW(c->WindowHandle(), message.Msg, message.WParam, message.LParam);
    } catch (...) {
    }
  }
}

bool HandleInControl(TWinControl* control, HWND wnd) {
  if (!control || !wnd) return false;
  for (int i = 0; i < control->ComponentCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(control->Components(i));
    if (w && w->HandleAllocated() && w->WindowHandle() == wnd) return true;
  }
  for (int i = 0; i < control->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(control->Controls(i));
    if (!w) continue;
    if ((w->HandleAllocated() && w->WindowHandle() == wnd) || HandleInControl(w, wnd)) return true;
  }
  return false;
}
