// TacCtrlAdapter: a form's list of its standard controls that wear the skin
// through window adapters. The form's skin provider makes one when the form
// is skinned and frees it when the skin goes; the walk chooses an adapter
// by the control's class, makes plain labels transparent in the skin's font
// colour, and picks up controls that appear later.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "skin/windows/MainWnd.h"

class TacCtrlAdapter;
class TsCommonData;
class TsSkinManager;

// One adapted control: its skin state and its window adapter.
class TacAdapterItem : public TPersistent {
 public:
  explicit TacAdapterItem(TacCtrlAdapter* adapter);
  ~TacAdapterItem() override;
  TacAdapterItem(const TacAdapterItem&) = delete;
  TacAdapterItem& operator=(const TacAdapterItem&) = delete;

  // Chooses the window adapter for the control's class and hooks it.
  virtual void DoHook(TWinControl* control);

  TWinControl* Ctrl = nullptr;
  std::unique_ptr<TsCommonData> SkinData;
  TacCtrlAdapter* Adapter = nullptr;
  TacMainWndPtr ScrollWnd;

 private:
  // Sees the control's WM_NCDESTROY: the item leaves its list then.
  std::unique_ptr<TWndProcHook> watch_;
};

// Asked before a control gets an item: may refuse it or change its section.
using TacSkinItemEvent =
    std::function<void(TControl* control, bool& canBeAdded, std::wstring& skinSection)>;

class TacCtrlAdapter : public TPersistent {
 public:
  // Form: the container walked when no other is named; Manager: the skin
  // manager of the form (null: the default one).
  TacCtrlAdapter(TWinControl* form, TsSkinManager* manager, TComponent* provider = nullptr);
  ~TacCtrlAdapter() override;
  TacCtrlAdapter(const TacCtrlAdapter&) = delete;
  TacCtrlAdapter& operator=(const TacCtrlAdapter&) = delete;

  virtual bool IsControlSupported(TComponent* control) const;
  virtual TacAdapterItem* GetItem(int index) const;
  int Count() const { return static_cast<int>(Items.size()); }
  virtual void Add(TWinControl* control) { AddNewItem(control, L""); }
  virtual void AddNewItem(TWinControl* control, std::wstring skinSection);
  virtual void RemoveItem(int index);
  // Adapts every supported control in Parent (null: the form), recursively.
  void AddAllItems(TWinControl* parent = nullptr);
  void RemoveAllItems();
  // Sends the message to every control whose adapter is hooked.
  void BroadcastMessage(TMessage& message);
  // The item of a control, or null.
  TacAdapterItem* ItemOf(const TControl* control) const;
  // Frees the item of a control whose window is gone.
  void WindowGone(TacAdapterItem* item);
  // Adapts a control whose window (with its children's) was made while the
  // form is on screen, and every control below it; a panel among them is
  // added as one named by the control-list change that inserted it.
  void AddMadeWindows(TWinControl* made);

  std::vector<std::unique_ptr<TacAdapterItem>> Items;
  TComponent* Provider = nullptr;
  TWinControl* Form = nullptr;
  TsSkinManager* SkinManager = nullptr;
  TacSkinItemEvent OnSkinItem;

 private:
  // A plain label's own look, given back when the skin goes.
  struct LabelLook {
    TLabel* Label;
    bool Transparent;
    TColor Color;
  };
  void SkinLabel(TLabel* label);
  void RestoreLabels();
  bool RulesAllow() const;
  // One control of a walk: its item, or the label rule; panels too when
  // WithPanels.
  void AddOne(TComponent* component, bool withPanels);
  // Walks Container's components and controls, and windowed children
  // recursively.
  void AddItemsIn(TWinControl* container, bool withPanels);
  std::vector<LabelLook> labelLooks_;
  // Hears of windows made into the form after it showed.
  std::unique_ptr<TWndProcHook> formWatch_;
};

// Set while AddAllItems or RemoveAllItems runs.
extern bool AdapterBusy;

// True when a windowed component owned by Control, or a windowed child
// control (recursively), has the handle Wnd.
bool HandleInControl(TWinControl* control, HWND wnd);
