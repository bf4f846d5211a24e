// Times the repaint of a page laid out like a settings page (a group box
// with check boxes and edits, a memo and a combo box beside it) skinned and
// unskinned in the same run, and prints the ratio:
// - skinned from the caches, as every ordinary repaint;
// - skinned with every cache image rebuilt, as after a skin change;
// - unskinned, the framework's and the system's own painting.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/ComboBox.h"
#include "skin/controls/Edit.h"
#include "skin/controls/GroupBox.h"
#include "skin/controls/Memo.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "tests/common/Place.h"

namespace {

using testenv::Place;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace

int wmain() {
  InitFramework();
  std::unique_ptr<TsSkinManager> manager(Construct<TsSkinManager>(nullptr));
  manager->SetActive(false);
  AddInternalSkins(*manager->InternalSkins());
  manager->SetSkinName(L"WLM (internal)");
  manager->SetActive(true);
  if (manager->GetSkinIndex(L"EDIT") < 0) {
    std::printf("the internal skin did not load\n");
    return 1;
  }

  TForm* form = Construct<TForm>(Application);
  form->SetClientWidth(640);
  form->SetClientHeight(420);
  form->Show();
  auto* group = Place<TsGroupBox>(form, form, 4, 8, 418, 400);
  group->SetCaption(L"Система");
  const wchar_t* boxes[] = {L"Отключить Dr. Watson", L"Не обновлять время доступа NTFS",
                            L"Отключить защиту системных файлов", L"Выгружать DLL из памяти",
                            L"Быстрое редактирование в консоли", L"Оптимизировать системный кэш",
                            L"Не посылать отчёты об ошибках", L"Очищать файл подкачки"};
  for (int i = 0; i < 8; ++i)
    Place<TsCheckBox>(form, group, 8, 24 + 22 * i, 406, 17)->SetCaption(boxes[i]);
  for (int i = 0; i < 4; ++i)
    Place<TsEdit>(form, group, 180, 210 + 27 * i, 200, 21)->SetText(L"в миллисекундах");
  auto* memo = Place<TsMemo>(form, form, 430, 8, 200, 300);
  memo->SetScrollBars(ssBoth);
  for (int i = 0; i < 60; ++i) memo->Lines()->Add(L"C:\\Windows\\Temp\\файл" + std::to_wstring(i));
  auto* combo = Place<TsComboBox>(form, form, 430, 320, 200, 21);
  for (int i = 0; i < 5; ++i) combo->Items()->Add(L"Скин " + std::to_wstring(i));
  combo->SetItemIndex(2);
  ::UpdateWindow(form->Handle());
  Pump();

  const HWND wnd = form->Handle();
  auto repaint = [&] {
    ::RedrawWindow(wnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  const double fromCaches = bench::MedianMicrosPerCall(repaint, 10);
  const double rebuilt = bench::MedianMicrosPerCall([&] {
    TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_SETBGCHANGED), 0, 0};
    BroadcastToChildren(form, m);
    repaint();
  }, 10);
  manager->SetActive(false);
  Pump();
  const double plain = bench::MedianMicrosPerCall(repaint, 10);
  std::printf("settings page repaint, unskinned:            %.1f us\n", plain);
  std::printf("settings page repaint, skinned from caches:  %.1f us (%.2fx unskinned)\n",
              fromCaches, fromCaches / plain);
  std::printf("settings page repaint, skinned and rebuilt:  %.1f us (%.2fx unskinned)\n", rebuilt,
              rebuilt / plain);
  delete form;
  return 0;
}
