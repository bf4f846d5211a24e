#include "app/finder/Form2.h"

#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "framework/Dialogs.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
  SetName(L"Form2");
  SetCaption(L"Form2");
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(poDesktopCenter);
  SetClientWidth(192);
  SetClientHeight(271);

  Label1 = Construct<TLabel>(this);
  Label1->SetName(L"Label1");
  Label1->SetBounds(8, 6, 176, 13);
  Label1->SetCaption(L"Выбирете файл или папку:");
  Label1->SetParent(this);

  ShellTreeView1 = Construct<TShellTreeView>(this);
  ShellTreeView1->SetName(L"ShellTreeView1");
  ShellTreeView1->SetBounds(8, 24, 176, 206);
  ShellTreeView1->SetObjectTypes(otFolders | otNonFolders | otHidden);
  ShellTreeView1->SetUseShellImages(true);
  ShellTreeView1->AutoRefresh = false;
  ShellTreeView1->RightClickSelect = true;
  ShellTreeView1->SetParent(this);

  SpeedButton1 = Construct<TButton>(this);
  SpeedButton1->SetName(L"SpeedButton1");
  SpeedButton1->SetBounds(8, 238, 84, 25);
  SpeedButton1->SetCaption(L"OK");
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
  SpeedButton1->SetParent(this);

  SpeedButton2 = Construct<TButton>(this);
  SpeedButton2->SetName(L"SpeedButton2");
  SpeedButton2->SetBounds(100, 238, 84, 25);
  SpeedButton2->SetCaption(L"Отмена");
  SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
  SpeedButton2->SetParent(this);
}

void TForm2::SpeedButton1Click(TObject*) {
  std::wstring description;
  if (!InputQuery(L"Описание папки", L"Введите описание:", description)) description.clear();
  if (MainForm) TFrame5::AddExl(ShellTreeView1->Path(), description, MainForm->ListView3, true);
  Close();
}

void TForm2::SpeedButton2Click(TObject*) { Close(); }
