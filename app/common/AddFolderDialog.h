// TAddFolderDialog: the folder chooser ("Выбор папки") on the shell's tree
// of folders. One instance serves the duplicate finder and the file finder;
// it is made on first use, owned by the main window, and kept.
#pragma once

#include <string>

#include "framework/Forms.h"
#include "framework/ShellCtrls.h"
#include "framework/StdCtrls.h"

class TAddFolderDialog : public TForm {
 public:
  explicit TAddFolderDialog(TComponent* AOwner);
  ~TAddFolderDialog() override;
  const wchar_t* ClassName() const override { return L"TAddFolderDialog"; }

  TShellTreeView* ShellTreeView = nullptr;
  TButton* OkButton = nullptr;      // "Добавить": closes with mrOk
  TButton* CancelButton = nullptr;  // "Отмена": closes with mrCancel
  // The chosen folder's path; emptied each time the dialog shows.
  std::wstring FolderPath;

  void FormShow(TObject* Sender);
  void OkButtonClick(TObject* Sender);
};

// The one instance (null until first used).
extern TAddFolderDialog* AddFolderDialog;

// The instance, made now with `owner` when it does not exist yet.
TAddFolderDialog* EnsureAddFolderDialog(TComponent* owner);
