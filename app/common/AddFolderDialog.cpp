#include "app/common/AddFolderDialog.h"

TAddFolderDialog* AddFolderDialog = nullptr;

TAddFolderDialog::TAddFolderDialog(TComponent* AOwner) : TForm(AOwner) {
  SetName(L"AddFolderDialog");
  SetCaption(L"Выбор папки");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetClientWidth(291);
  SetClientHeight(306);
  OnShow = [this](TObject* s) { FormShow(s); };

  ShellTreeView = Construct<TShellTreeView>(this);
  ShellTreeView->SetName(L"ShellTreeView");
  ShellTreeView->SetBounds(8, 8, 275, 257);
  ShellTreeView->SetObjectTypes(otFolders);
  ShellTreeView->SetUseShellImages(true);
  ShellTreeView->AutoRefresh = false;
  ShellTreeView->RightClickSelect = true;
  ShellTreeView->SetParent(this);

  OkButton = Construct<TButton>(this);
  OkButton->SetName(L"OkButton");
  OkButton->SetBounds(120, 273, 75, 25);
  OkButton->SetCaption(L"Добавить");
  OkButton->SetDefault(true);
  OkButton->ModalResult = mrOk;
  OkButton->OnClick = [this](TObject* s) { OkButtonClick(s); };
  OkButton->SetParent(this);

  CancelButton = Construct<TButton>(this);
  CancelButton->SetName(L"CancelButton");
  CancelButton->SetBounds(208, 273, 75, 25);
  CancelButton->SetCaption(L"Отмена");
  CancelButton->Cancel = true;
  CancelButton->ModalResult = mrCancel;
  CancelButton->SetParent(this);
}

TAddFolderDialog::~TAddFolderDialog() {
  if (AddFolderDialog == this) AddFolderDialog = nullptr;
}

void TAddFolderDialog::FormShow(TObject*) { FolderPath.clear(); }

void TAddFolderDialog::OkButtonClick(TObject*) { FolderPath = ShellTreeView->Path(); }

TAddFolderDialog* EnsureAddFolderDialog(TComponent* owner) {
  if (!AddFolderDialog) AddFolderDialog = Construct<TAddFolderDialog>(owner);
  return AddFolderDialog;
}
