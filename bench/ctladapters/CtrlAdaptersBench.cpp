// Times, in one run, a full repaint (frames, backgrounds, clients, all
// children) of a form holding one of each standard control: first as the
// platform paints it, then with every control skinned through the control
// adapter, then unskinned again, and prints the times and the ratio of
// skinned to unskinned.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/Buttons.h"
#include "framework/ComboBox.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/CtrlAdapter.h"

using bench::Now;

namespace {

// Milliseconds per call.
double Time(const std::function<void()>& fn, int reps, int runs = 9) {
  return bench::MedianMicrosPerCall(fn, reps, runs) / 1e3;
}

TForm* MakeForm() {
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 620, 420);
  auto put = [&](auto* c, int l, int t, int w, int h) {
    c->SetParent(form);
    c->SetBounds(l, t, w, h);
    return c;
  };
  put(Construct<TEdit>(form), 10, 10, 120, 24)->SetText(L"Текст");
  auto* memo = put(Construct<TMemo>(form), 10, 40, 120, 80);
  memo->SetText(L"Строка 1\r\nСтрока 2\r\nСтрока 3\r\nСтрока 4\r\nСтрока 5\r\nСтрока 6");
  auto* list = put(Construct<TListBox>(form), 10, 130, 120, 80);
  for (int i = 0; i < 30; ++i) list->Items()->Add(L"Элемент " + std::to_wstring(i));
  put(Construct<TListView>(form), 140, 10, 150, 100);
  auto* combo = put(Construct<TComboBox>(form), 140, 120, 150, 24);
  auto* comboList = put(Construct<TComboBox>(form), 140, 150, 150, 24);
  comboList->SetStyle(csDropDownList);
  for (TComboBox* c : {combo, comboList})
    for (int i = 0; i < 5; ++i) c->Items()->Add(L"Пункт " + std::to_wstring(i));
  put(Construct<TButton>(form), 300, 10, 90, 28)->SetCaption(L"Очистить");
  put(Construct<TBitBtn>(form), 300, 44, 90, 28)->SetCaption(L"Найти");
  put(Construct<TCheckBox>(form), 300, 80, 120, 20)->SetCaption(L"Флажок");
  put(Construct<TRadioButton>(form), 300, 104, 120, 20)->SetCaption(L"Выбор");
  put(Construct<TGroupBox>(form), 400, 10, 200, 120)->SetCaption(L"Группа");
  put(Construct<TPanel>(form), 400, 140, 200, 60);
  put(Construct<TStringGrid>(form), 10, 220, 280, 120);
  put(Construct<TLabel>(form), 300, 130, 90, 16)->SetCaption(L"Надпись");
  form->HandleNeeded();
  ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(form->Handle());
  return form;
}

void Repaint(HWND wnd) {
  ::RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

int wmain() {
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin();

  TForm* form = MakeForm();
  HWND wnd = form->Handle();
  const int reps = 20;
  const double plain = Time([&] { Repaint(wnd); }, reps);
  double skinned = 0;
  {
    TacCtrlAdapter adapter(form, manager.get());
    adapter.AddAllItems();
    skinned = Time([&] { Repaint(wnd); }, reps);
    std::printf("controls adapted: %d\n", adapter.Count());
  }
  // Once more without the skin: the order of the runs must not decide.
  const double plainAgain = Time([&] { Repaint(wnd); }, reps);
  std::printf("form repaint, standard controls: unskinned %.3f ms, skinned %.3f ms, "
              "unskinned again %.3f ms, ratio %.2f\n",
              plain, skinned, plainAgain, skinned / std::max(plain, plainAgain));
  delete form;
  return 0;
}
