// Common dialogs and the small message and input boxes: TOpenDialog and
// TSaveDialog (GetOpenFileNameW / GetSaveFileNameW), ShowMessage, and
// InputBox / InputQuery, which are framework forms.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

enum TOpenOptionFlag : uint32_t {
  ofReadOnly = 1u << 0,
  ofOverwritePrompt = 1u << 1,
  ofHideReadOnly = 1u << 2,
  ofNoChangeDir = 1u << 3,
  ofAllowMultiSelect = 1u << 4,
  ofExtensionDifferent = 1u << 5,  // set by Execute: the name's extension is not DefaultExt
  ofPathMustExist = 1u << 6,
  ofFileMustExist = 1u << 7,
  ofCreatePrompt = 1u << 8,
  ofNoReadOnlyReturn = 1u << 9,
  ofNoTestFileCreate = 1u << 10,
  ofNoDereferenceLinks = 1u << 11,
  ofEnableSizing = 1u << 12,
  ofDontAddToRecent = 1u << 13,
  ofForceShowHidden = 1u << 14,
};
using TOpenOptions = uint32_t;

// "Text files|*.txt|All|*.*" → "Text files\0*.txt\0All\0*.*\0\0" (the
// returned string holds the NULs, the final double NUL included).
std::wstring BuildFilterString(const std::wstring& filter);
// The extension GetSaveFileName appends: "*.LsD", ".reg" and "reg" all give
// "LsD"/"reg" (leading '*' and '.' dropped; the dialog wants none).
std::wstring NormalizeDefaultExt(const std::wstring& ext);
// OFN_ flags for the options (OFN_EXPLORER always).
DWORD OpenOptionsToOFN(TOpenOptions options);
// The names of a dialog result buffer: "dir\0a\0b\0\0" → dir\a, dir\b;
// "C:\x.txt\0\0" → C:\x.txt.
std::vector<std::wstring> ParseSelectedFiles(const wchar_t* buffer);

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  const wchar_t* ClassName() const override { return L"TOpenDialog"; }

  std::wstring FileName;
  std::wstring Filter;        // "Description|pattern|Description|pattern..."
  int FilterIndex = 1;        // 1-based, updated by Execute
  std::wstring DefaultExt;
  std::wstring InitialDir;
  std::wstring Title;
  TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
  // Every chosen name (one unless ofAllowMultiSelect).
  TStrings* Files() const { return files_.get(); }

  // Runs the dialog modally on the active form; true when the user chose.
  virtual bool Execute();
  // The active form's window (else the main form's, else none) that owns it.
  static HWND DialogOwner();

 protected:
  bool DoExecute(bool save);

 private:
  std::unique_ptr<TStrings> files_;
};

class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  const wchar_t* ClassName() const override { return L"TSaveDialog"; }
  bool Execute() override;
};

// ---------------------------------------------------------------- message boxes

// Message dialogs of a kind with a button set (TMsgDlgType, MessageDlg) are
// the skin engine's (skin/engine/MessageBoxes.h, SkinnedMessageDlg): the
// framework keeps only the plain box.
// A plain box with the application's title and an OK button.
void ShowMessage(const std::wstring& msg);

// ---------------------------------------------------------------- input boxes

// The small form behind InputBox / InputQuery: a prompt label, an edit and
// "OK" / "Cancel" buttons. OK (or Enter) closes it with mrOk, Cancel (or Esc
// or the close box) with mrCancel.
class TInputQueryForm : public TForm {
 public:
  TInputQueryForm(TComponent* AOwner, const std::wstring& caption, const std::wstring& prompt,
                  const std::wstring& value);
  const wchar_t* ClassName() const override { return L"TInputQueryForm"; }
  TLabel* Prompt = nullptr;
  TEdit* Edit = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
};

// Asks for a text; true (and `value` changed) when the user confirmed.
bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value);
// The text confirmed by the user, or `defaultValue` when cancelled.
std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt,
                      const std::wstring& defaultValue);
