// Times filling the skinned lists against the bare controls in one run, on
// a shown form under the WLM internal skin:
// - a report list view with ROWS rows of five columns and an icon index
//   (TsListView against TListView), painted once at the end;
// - a list box with ROWS items (TsAlphaListBox against the framework's
//   TListBox), painted once at the end.
// Prints the median, min and max of RUNS fills and the ratios.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "skin/controls/AlphaListBox.h"
#include "skin/controls/ListView.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// One fill of a new control, painted once at the end, in seconds.
double TimeFill(const std::function<TWinControl*()>& make,
                const std::function<void(TWinControl*)>& fill) {
  TWinControl* c = make();
  ::UpdateWindow(c->Handle());
  Pump();
  const double start = bench::Now();
  fill(c);
  ::UpdateWindow(c->Handle());
  const double t = bench::Now() - start;
  delete c;
  Pump();
  return t;
}

void Print(const char* what, const bench::Stats& s) {
  std::printf("%-34s median %.3f s (min %.3f, max %.3f)\n", what, s.median, s.min, s.max);
}

template <class T>
T* PlaceOn(TForm* form) {
  T* c = Construct<T>(form);
  c->SetParent(form);
  c->SetBounds(8, 8, 600, 400);
  return c;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rows = argc > 1 ? _wtoi(argv[1]) : 100000;
  const int runs = argc > 2 ? _wtoi(argv[2]) : 5;
  InitFramework();
  std::unique_ptr<TsSkinManager> manager(Construct<TsSkinManager>(nullptr));
  manager->SetActive(false);
  AddInternalSkins(*manager->InternalSkins());
  manager->SetSkinName(L"WLM (internal)");
  manager->SetActive(true);
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 640, 480);
  form->Show();

  std::vector<std::wstring> texts(static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i) texts[static_cast<size_t>(i)] = L"C:\\Папка\\файл " + std::to_wstring(i) + L".txt";

  auto makeView = [&](bool skinned) {
    return [&, skinned]() -> TWinControl* {
      TCustomListView* lv = skinned ? static_cast<TCustomListView*>(PlaceOn<TsListView>(form))
                                    : static_cast<TCustomListView*>(PlaceOn<TListView>(form));
      lv->SetViewStyle(vsReport);
      lv->SetCheckboxes(true);
      for (const wchar_t* c : {L"Имя файла", L"Размер файла", L"Тип файла", L"Изменен", L"Путь"})
        lv->Columns()->Add()->SetCaption(c);
      return lv;
    };
  };
  auto fillView = [&](TWinControl* c) {
    auto* lv = static_cast<TCustomListView*>(c);
    TListItems* items = lv->Items();
    items->BeginUpdate();
    items->Reserve(rows);
    for (int i = 0; i < rows; ++i) {
      TListItem* item = items->Add();
      item->SetCaption(texts[static_cast<size_t>(i)]);
      item->SetImageIndex(i % 7);
      TStrings* sub = item->SubItems();
      sub->Add(L"12,50 Кб");
      sub->Add(L"Текстовый документ");
      sub->Add(L"05.03.2024 14:30:10");
      sub->Add(L"C:\\Папка");
    }
    items->EndUpdate();
  };
  auto makeBox = [&](bool skinned) {
    return [&, skinned]() -> TWinControl* {
      if (skinned) return PlaceOn<TsAlphaListBox>(form);
      return PlaceOn<TListBox>(form);
    };
  };
  auto fillBox = [&](TWinControl* c) {
    TStrings* items = dynamic_cast<TsAlphaListBox*>(c) ? static_cast<TsAlphaListBox*>(c)->Items()
                                                       : static_cast<TListBox*>(c)->Items();
    items->BeginUpdate();
    for (int i = 0; i < rows; ++i) items->Add(texts[static_cast<size_t>(i)]);
    items->EndUpdate();
  };

  std::printf("%d rows, %d runs each\n", rows, runs);
  // The cases take turns, so a slow moment of the machine falls on all.
  std::vector<double> t[6];
  for (int r = 0; r < runs; ++r) {
    t[0].push_back(TimeFill(makeView(false), fillView));
    t[1].push_back(TimeFill(makeView(true), fillView));
    t[2].push_back(TimeFill(makeBox(false), fillBox));
    t[3].push_back(TimeFill(makeBox(true), fillBox));
    manager->SetActive(false);
    t[4].push_back(TimeFill(makeBox(true), fillBox));
    t[5].push_back(TimeFill(makeView(true), fillView));
    manager->SetActive(true);
  }
  const bench::Stats bareView = bench::Summarize(t[0]), skinView = bench::Summarize(t[1]);
  const bench::Stats bareBox = bench::Summarize(t[2]), skinBox = bench::Summarize(t[3]);
  const bench::Stats plainBox = bench::Summarize(t[4]), plainView = bench::Summarize(t[5]);
  Print("TListView, 5 columns:", bareView);
  Print("TsListView, 5 columns:", skinView);
  std::printf("  skinned / bare: %.2fx\n", skinView.median / bareView.median);
  Print("TsListView, no skin:", plainView);
  Print("TListBox:", bareBox);
  Print("TsAlphaListBox:", skinBox);
  std::printf("  skinned / bare: %.2fx\n", skinBox.median / bareBox.median);
  Print("TsAlphaListBox, no skin:", plainBox);
  delete form;
  return 0;
}
