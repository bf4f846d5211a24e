// Times the skinned controls against a plain memcpy of the same pixels in
// the same run, and prints the ratios:
// - a full repaint of a 627 x 460 client area laid out like the main
//   window's page 0 (navigation frame with its adapter and four bitmap
//   buttons, panels, buttons, check boxes and labels), once with every cache
//   image rebuilt (as after a skin change) and once from the caches;
// - a button's 5-frame hover fade, and the time from the mouse message to
//   the first fade frame on the window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "skin/controls/BitBtn.h"
#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Label.h"
#include "skin/controls/LabelFX.h"
#include "skin/controls/Panel.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"

using bench::Now;

namespace {

double Time(const std::function<void()>& fn, int reps, int runs = 9) {
  return bench::MedianMicrosPerCall(fn, reps, runs);
}

double CopyTime(size_t bytes, int reps) {
  std::vector<unsigned char> a(bytes, 1), b(bytes, 2);
  return Time([&] {
    std::memcpy(b.data(), a.data(), bytes);
    a[bytes / 2] = static_cast<unsigned char>(b[bytes / 3] + 1);
  }, reps);
}

template <class T>
T* Place(TForm* form, TWinControl* parent, int l, int t, int w, int h, const wchar_t* caption) {
  T* c = Construct<T>(form);
  c->SetParent(parent);
  c->SetBounds(l, t, w, h);
  c->SetCaption(caption);
  return c;
}

}  // namespace

int wmain() {
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin();
  if (manager->GetSkinIndex(L"BUTTON") < 0) {
    std::printf("the internal skin did not load\n");
    return 1;
  }
  TsGeneralData& buttonSection = manager->gd[manager->GetSkinIndex(L"BUTTON")];
  buttonSection.FadingEnabled = true;
  buttonSection.FadingIterations = 5;

  TForm* form = Construct<TForm>(Application);
  form->SetClientWidth(627);
  form->SetClientHeight(460);
  form->Show();

  // The navigation column: a frame with its adapter and four bitmap buttons.
  TFrame* frame = Construct<TFrame>(form);
  frame->SetParent(form);
  frame->SetBounds(0, 0, 185, 460);
  Construct<TsFrameAdapter>(frame)->SkinData->SetSkinSection(L"BAR");
  const wchar_t* nav[] = {L"Windows", L"Реестр", L"Приложения", L" Parvik"};
  for (int i = 0; i < 4; ++i) Place<TsBitBtn>(form, frame, 24, 30 + 46 * i, 129, 40, nav[i]);
  // Page 0: check boxes, an information panel with labels, buttons, the
  // progress caption.
  TsPanel* page = Place<TsPanel>(form, form, 185, 0, 442, 460, L"");
  Place<TsCheckBox>(form, page, 16, 12, 200, 17, L"Internet Explorer")->SetChecked(true);
  Place<TsCheckBox>(form, page, 16, 34, 200, 17, L"Система")->SetChecked(true);
  TsPanel* info = Place<TsPanel>(form, page, 8, 60, 416, 92, L"");
  const wchar_t* labels[] = {L"Статус:", L"", L"Internet Explorer:", L"0", L"Система:", L"0"};
  for (int i = 0; i < 6; ++i)
    Place<TsLabel>(form, info, 12 + (i % 2) * 118, 22 + (i / 2) * 22, 110, 13, labels[i]);
  TsPanel* details = Place<TsPanel>(form, page, 8, 158, 416, 178, L"Подробно");
  (void)details;
  TsButton* analyse = Place<TsButton>(form, page, 8, 344, 90, 25, L"Анализ");
  Place<TsButton>(form, page, 106, 344, 90, 25, L"Очистить")->SetEnabled(false);
  Place<TsLabelFX>(form, page, 8, 380, 120, 20, L"Прогресс")->SetAutoSize(true);
  ::UpdateWindow(form->Handle());
  bench::Pump();

  const size_t clientBytes = 627u * 460u * 3u;
  const double copy = CopyTime(clientBytes, 200);
  const HWND wnd = form->Handle();
  auto repaint = [&] {
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  const double fromCaches = Time(repaint, 5);
  const double rebuilt = Time([&] {
    TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_SETBGCHANGED), 0, 0};
    BroadcastToChildren(form, m);
    repaint();
  }, 5);
  // The same into a memory bitmap through WM_PRINT, without the window
  // system's work of putting pixels on the screen.
  HDC screen = ::GetDC(nullptr);
  HDC memDC = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 700, 540);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memDC, bmp);
  auto print = [&] {
    for (TControl* c : {static_cast<TControl*>(frame), static_cast<TControl*>(page)})
      static_cast<TWinControl*>(c)->PaintTo(memDC, c->Left(), c->Top());
  };
  const double printed = Time(print, 5);
  const double printedRebuilt = Time([&] {
    TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_SETBGCHANGED), 0, 0};
    BroadcastToChildren(form, m);
    print();
  }, 5);
  ::SelectObject(memDC, old);
  ::DeleteObject(bmp);
  ::DeleteDC(memDC);
  std::printf("memcpy of the client area (%zu bytes): %.1f us\n", clientBytes, copy);
  std::printf("full client repaint from the caches:   %.1f us (%.1fx the copy)\n", fromCaches,
              fromCaches / copy);
  std::printf("full client repaint, caches rebuilt:   %.1f us (%.1fx the copy)\n", rebuilt,
              rebuilt / copy);
  std::printf("client printed to memory from caches:  %.1f us (%.1fx the copy)\n", printed,
              printed / copy);
  std::printf("client printed to memory, rebuilt:     %.1f us (%.1fx the copy)\n", printedRebuilt,
              printedRebuilt / copy);

  // Hover reaction: from CM_MOUSEENTER to the first fade frame on the
  // window, and the whole 5-frame fade, over several hovers.
  double firstFrame = 0, whole = 0;
  int frames = 0;
  double frameAt = 0;
  TWndProcHook hook(analyse, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_PAINTFADEFRAME && ++frames == 1) frameAt = Now();
    next(m);
  });
  const int hovers = 20;
  for (int i = 0; i < hovers; ++i) {
    frames = 0;
    const double start = Now();
    analyse->Perform(i % 2 ? CM_MOUSELEAVE : CM_MOUSEENTER);
    while (frames < 5 && Now() - start < 1.0) {
      bench::Pump();
      ::Sleep(0);
    }
    firstFrame += (frameAt - start) * 1e3;
    whole += (Now() - start) * 1e3;
  }
  std::printf("hover: first fade frame after %.1f ms, 5 frames after %.1f ms (mean of %d)\n",
              firstFrame / hovers, whole / hovers, hovers);
  delete form;
  return 0;
}
