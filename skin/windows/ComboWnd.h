// The combo box adapters: TacComboBoxWnd paints the combo's frame, its
// drop-down button and the selected text of a drop-down list;
// TacComboListWnd skins the combo's list window ("ComboLBox"). The combo
// adapter makes the list adapter the first time the list asks for its
// colours and keeps that one adapter for every later drop-down.
#pragma once

#include "skin/windows/EditWnd.h"

class TacComboListWnd : public TacEditWnd {
 public:
  ~TacComboListWnd() override;
  void WndProc(TMessage& message) override;

  bool Tracking = false;     // the combo tracks the mouse in its open list
  bool SimpleStyle = false;  // CBS_SIMPLE: the list is always shown

 protected:
  friend class TacMainWnd;
  using TacEditWnd::TacEditWnd;

 private:
  void PrepareListCache();
  void OnNcPaint(TMessage& message);
  void OnPrint(TMessage& message);
};

using TacComboListWndPtr = std::unique_ptr<TacComboListWnd, TacMainWnd::Deleter>;

class TacComboBoxWnd : public TacEditWnd {
 public:
  ~TacComboBoxWnd() override;
  void WndProc(TMessage& message) override;

  HWND ListWnd = nullptr;
  std::unique_ptr<TsCommonData> ButtonSkinData;
  TacComboListWndPtr ListAdapter;

  // How many list adapters this combo made (one per combo is the rule).
  int ListAdaptersMade() const { return listAdaptersMade_; }
  TRect ButtonRect() const;

 protected:
  friend class TacMainWnd;
  TacComboBoxWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                 const std::wstring& SkinSection);

 private:
  void OnCtlColorListBox(TMessage& message);
  void OnPaint(TMessage& message);
  void OnPrint(TMessage& message);
  void PrepareSimpleCache();
  void PaintComboText();
  int listAdaptersMade_ = 0;
};

// Paints the drop-down button into DC (window coordinates).
void PaintComboButton(TacComboBoxWnd* adapter, HDC dc);
// The skin's drop-down button in state State (0 normal, 1 hot, 2 pressed)
// into B of Bmp, over what Bmp holds: the "COMBOBTN" item when the skin has
// it, and the "GLYPHMASK" arrow centred in it when the skin has that.
void PaintComboButtonFace(TBitmap* bmp, TsSkinManager* manager, const TRect& b, int state);
