#include "app/mainwindow/Frame3.h"

#include "app/mainwindow/MainForm.h"
#include "app/mainwindow/WebLinks.h"

TFrame3* Frame3 = nullptr;

TFrame3::TFrame3(TComponent* AOwner) : TFrame(AOwner) {
  SetName(L"Frame3");
  SetBounds(0, 0, 161, 293);
  sFrameAdapter1 = Construct<TsFrameAdapter>(this);
  sFrameAdapter1->SetName(L"sFrameAdapter1");
  sPanel1 = MakeLinkPanel(this);
  const wchar_t* const captions[9] = {
      L"Системные настройки", L"Настройка рабочего стола", L"Настройка Корзины",
      L"Настройки проводника", L"Сетевая безопасность", L"Панель задач",
      L"Меню \"Пуск\"", L"Приложения", L"Вход в систему "};
  for (int i = 0; i < 9; ++i) {
    const int page = 3 + i;  // links 1..9 select pages 3..11
    sWebLabel[i] = AddLink(this, sPanel1, L"sWebLabel" + std::to_wstring(i + 1), captions[i], i,
                           [page](TObject*) { MainForm->SelectPage(page); });
  }
}
