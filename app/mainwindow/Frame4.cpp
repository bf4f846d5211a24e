#include "app/mainwindow/Frame4.h"

#include "app/mainwindow/WebLinks.h"

TFrame4* Frame4 = nullptr;

TFrame4::TFrame4(TComponent* AOwner) : TFrame(AOwner) {
  SetName(L"Frame4");
  SetBounds(0, 0, 161, 150);
  sFrameAdapter1 = Construct<TsFrameAdapter>(this);
  sFrameAdapter1->SetName(L"sFrameAdapter1");
  sPanel1 = MakeLinkPanel(this);
  const wchar_t* const captions[4] = {L"Параметры MS Windows", L"Очистка", L"Общие",
                                      L"Бекап реестра"};
  for (int i = 0; i < 4; ++i)
    sWebLabel[i] = AddLink(this, sPanel1, L"sWebLabel" + std::to_wstring(i + 1), captions[i], i, nullptr);
}
