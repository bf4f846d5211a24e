// A form with one of each standard control that the control adapter skins,
// and the skin manager it wears.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Buttons.h"
#include "framework/ComboBox.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinManager.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/windows/AdapterTestSupport.h"

namespace adaptertest {

struct StandardForm {
  explicit StandardForm(int left = 0) {
    form = Construct<TForm>(Application);
    form->SetBounds(left, 0, 620, 420);
    auto put = [&](auto* c, int l, int t, int w, int h) {
      c->SetParent(form);
      c->SetBounds(l, t, w, h);
      return c;
    };
    edit = put(Construct<TEdit>(form), 10, 10, 120, 24);
    memo = put(Construct<TMemo>(form), 10, 40, 120, 80);
    list = put(Construct<TListBox>(form), 10, 130, 120, 80);
    for (int i = 0; i < 30; ++i) list->Items()->Add(L"Элемент " + std::to_wstring(i));
    view = put(Construct<TListView>(form), 140, 10, 150, 100);
    drop = put(Construct<TComboBox>(form), 140, 120, 150, 24);
    dropList = put(Construct<TComboBox>(form), 140, 150, 150, 24);
    dropList->SetStyle(csDropDownList);
    for (TComboBox* c : {drop, dropList})
      for (int i = 0; i < 5; ++i) c->Items()->Add(L"Пункт " + std::to_wstring(i));
    button = put(Construct<TButton>(form), 300, 10, 90, 28);
    button->SetCaption(L"Очистить");
    bitBtn = put(Construct<TBitBtn>(form), 300, 44, 90, 28);
    bitBtn->SetCaption(L"Найти");
    check = put(Construct<TCheckBox>(form), 300, 80, 120, 20);
    check->SetCaption(L"Флажок");
    radio = put(Construct<TRadioButton>(form), 300, 104, 120, 20);
    radio->SetCaption(L"Выбор");
    group = put(Construct<TGroupBox>(form), 400, 10, 200, 120);
    group->SetCaption(L"Группа");
    panel = put(Construct<TPanel>(form), 400, 140, 200, 60);
    grid = put(Construct<TStringGrid>(form), 10, 220, 280, 120);
    label = put(Construct<TLabel>(form), 300, 130, 90, 16);
    label->SetCaption(L"Надпись");
    form->HandleNeeded();
    for (TWinControl* c : Windowed()) c->HandleNeeded();
    ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(form->Handle());
  }
  ~StandardForm() { delete form; }
  StandardForm(const StandardForm&) = delete;
  StandardForm& operator=(const StandardForm&) = delete;

  std::vector<TWinControl*> Windowed() const {
    return {edit, memo, list, view, drop, dropList, button, bitBtn, check, radio, group, panel,
            grid};
  }

  TForm* form = nullptr;
  TEdit* edit = nullptr;
  TMemo* memo = nullptr;
  TListBox* list = nullptr;
  TListView* view = nullptr;
  TComboBox* drop = nullptr;
  TComboBox* dropList = nullptr;
  TButton* button = nullptr;
  TBitBtn* bitBtn = nullptr;
  TCheckBox* check = nullptr;
  TRadioButton* radio = nullptr;
  TGroupBox* group = nullptr;
  TPanel* panel = nullptr;
  TStringGrid* grid = nullptr;
  TLabel* label = nullptr;
};

// A top-level popup of a window class with the given procedure, registered
// on first use: a parent that answers the skin commands a test needs.
inline HWND MakeHost(const wchar_t* className, WNDPROC proc, int w = 300, int h = 200) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  ::RegisterClassW(&wc);  // fails harmlessly when already registered
  return ::CreateWindowExW(0, className, L"", WS_POPUP | WS_VISIBLE, 40, 40, w, h, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// The window's image through WM_PRINT into a memory bitmap.
inline std::unique_ptr<TBitmap> Print(HWND wnd, TColor fill = 0x123456) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  auto b = skintest::MakeBmp(r.right - r.left, r.bottom - r.top, fill);
  ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
                 PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  return b;
}

inline const TsGeneralData& SectionOf(TsSkinManager& m, const std::wstring& name) {
  return m.gd[m.GetSkinIndex(name)];
}

}  // namespace adaptertest
