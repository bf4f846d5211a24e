#include "app/mainwindow/Frame1.h"

#include "app/mainwindow/MainForm.h"
#include "framework/ListBox.h"

TFrame1* Frame1 = nullptr;

TFrame1::TFrame1(TComponent* AOwner) : TFrame(AOwner) {
  SetName(L"Frame1");
  SetBounds(0, 0, 173, 215);
  sFrameAdapter1 = Construct<TsFrameAdapter>(this);
  sFrameAdapter1->SetName(L"sFrameAdapter1");
  sFrameAdapter1->SkinData->SetSkinSection(L"BAR");
  struct ButtonDef {
    TsBitBtn** field;
    const wchar_t* name;
    int top, height;
    const wchar_t* caption;
    const wchar_t* hint;
    void (TFrame1::*click)(TObject*);
  };
  const ButtonDef defs[] = {
      {&sBitBtn1, L"sBitBtn1", 3, 38, L"Windows",
       L"Позваляет просканировать и очистить систему и Windows приложения", &TFrame1::sBitBtn1Click},
      {&sBitBtn2, L"sBitBtn2", 47, 42, L"Реестр", L"Поиск и устранение неисправностей реестра",
       &TFrame1::sBitBtn2Click},
      {&sBitBtn3, L"sBitBtn3", 95, 42, L"Приложения",
       L"Позваляет удалить необходимое приложение из ОС", &TFrame1::sBitBtn3Click},
      {&sBitBtn4, L"sBitBtn4", 143, 42, L" Parvik", L"Поиск дублированных файлов",
       &TFrame1::sBitBtn4Click},
  };
  for (const ButtonDef& d : defs) {
    TsBitBtn* b = Construct<TsBitBtn>(this);
    b->SetName(d.name);
    b->SetBounds(24, d.top, 129, d.height);
    b->SetCaption(d.caption);
    b->SetHint(d.hint);
    b->SetShowHint(true);
    auto click = d.click;
    b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    b->SetParent(this);
    *d.field = b;
  }
}

void TFrame1::PressOnly(TsBitBtn* pressed) {
  for (TsBitBtn* b : {sBitBtn1, sBitBtn2, sBitBtn3, sBitBtn4}) b->SetDown(b == pressed);
}

void TFrame1::sBitBtn1Click(TObject*) {
  PressOnly(sBitBtn1);
  MainForm->SelectPage(0);
}

void TFrame1::sBitBtn2Click(TObject*) {
  PressOnly(sBitBtn2);
  MainForm->SelectPage(1);
}

void TFrame1::sBitBtn3Click(TObject*) {
  PressOnly(sBitBtn3);
  MainForm->SelectPage(2);
  MainForm->LoadInstalledPrograms();
  MainForm->ListBox2Click(MainForm->ListBox2);
}

void TFrame1::sBitBtn4Click(TObject*) {
  PressOnly(sBitBtn4);
  MainForm->SelectPage(12);
}
