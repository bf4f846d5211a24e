#include "framework/Dialogs.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/SysUtils.h"

// ---------------------------------------------------------------- parameter building

std::wstring BuildFilterString(const std::wstring& filter) {
  if (filter.empty()) return std::wstring(2, L'\0');
  std::wstring out = filter;
  std::replace(out.begin(), out.end(), L'|', L'\0');
  // Every part ends with one NUL and the list with one more; a filter
  // ending in '|' already supplied its part's NUL.
  if (out.back() != L'\0') out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

std::wstring NormalizeDefaultExt(const std::wstring& ext) {
  size_t start = ext.find_first_not_of(L"*.");
  return start == std::wstring::npos ? std::wstring() : ext.substr(start);
}

DWORD OpenOptionsToOFN(TOpenOptions options) {
  DWORD f = OFN_EXPLORER;
  if (options & ofReadOnly) f |= OFN_READONLY;
  if (options & ofOverwritePrompt) f |= OFN_OVERWRITEPROMPT;
  if (options & ofHideReadOnly) f |= OFN_HIDEREADONLY;
  if (options & ofNoChangeDir) f |= OFN_NOCHANGEDIR;
  if (options & ofAllowMultiSelect) f |= OFN_ALLOWMULTISELECT;
  if (options & ofPathMustExist) f |= OFN_PATHMUSTEXIST;
  if (options & ofFileMustExist) f |= OFN_FILEMUSTEXIST;
  if (options & ofCreatePrompt) f |= OFN_CREATEPROMPT;
  if (options & ofNoReadOnlyReturn) f |= OFN_NOREADONLYRETURN;
  if (options & ofNoTestFileCreate) f |= OFN_NOTESTFILECREATE;
  if (options & ofNoDereferenceLinks) f |= OFN_NODEREFERENCELINKS;
  if (options & ofEnableSizing) f |= OFN_ENABLESIZING;
  if (options & ofDontAddToRecent) f |= OFN_DONTADDTORECENT;
  if (options & ofForceShowHidden) f |= OFN_FORCESHOWHIDDEN;
  return f;
}

std::vector<std::wstring> ParseSelectedFiles(const wchar_t* buffer) {
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer; p && *p; p += wcslen(p) + 1) parts.emplace_back(p);
  if (parts.size() <= 1) return parts;
  std::wstring dir = IncludeTrailingPathDelimiter(parts[0]);
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(dir + parts[i]);
  return files;
}

// ---------------------------------------------------------------- file dialogs

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

HWND TOpenDialog::DialogOwner() {
  HWND active = GetActiveWindow();
  if (active && FindControl(active)) return active;
  if (Screen)
    if (TCustomForm* form = Screen->ActiveForm(); form && form->HandleAllocated()) return form->WindowHandle();
  if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
    return Application->MainForm()->WindowHandle();
  return active;
}

bool TOpenDialog::Execute() { return DoExecute(false); }

bool TSaveDialog::Execute() { return DoExecute(true); }

bool TOpenDialog::DoExecute(bool save) {
  // Multi-selection can return many names: a generous buffer.
  std::vector<wchar_t> buffer((Options & ofAllowMultiSelect) ? 65536 : MAX_PATH * 4, L'\0');
  std::copy_n(FileName.begin(), std::min(FileName.size(), buffer.size() - 1), buffer.begin());
  std::wstring filter = BuildFilterString(Filter);
  std::wstring defExt = NormalizeDefaultExt(DefaultExt);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = DialogOwner();
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 0));
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
  ofn.Flags = OpenOptionsToOFN(Options);

  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  // The owner may have been disabled and enabled again by the dialog: its
  // focus comes back with it.
  files_->Clear();
  if (!ok) return false;
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  std::vector<std::wstring> names = (Options & ofAllowMultiSelect)
                                        ? ParseSelectedFiles(buffer.data())
                                        : std::vector<std::wstring>{buffer.data()};
  for (const auto& n : names) files_->Add(n);
  FileName = names.empty() ? std::wstring() : names.front();
  if (ofn.Flags & OFN_READONLY) Options |= ofReadOnly;
  else Options &= ~ofReadOnly;
  if (ofn.Flags & OFN_EXTENSIONDIFFERENT) Options |= ofExtensionDifferent;
  else Options &= ~ofExtensionDifferent;
  return true;
}

// ---------------------------------------------------------------- message boxes

void ShowMessage(const std::wstring& msg) {
  std::wstring title = Application ? Application->Title : L"";
  if (Application) Application->MessageBox(msg, title, MB_OK);
  else MessageBoxW(GetActiveWindow(), msg.c_str(), title.c_str(), MB_OK);
}

// ---------------------------------------------------------------- input boxes

TInputQueryForm::TInputQueryForm(TComponent* AOwner, const std::wstring& caption,
                                 const std::wstring& prompt, const std::wstring& value)
    : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetCaption(caption);
  SetPosition(poScreenCenter);
  SetClientWidth(280);
  SetClientHeight(108);

  Prompt = Construct<TLabel>(this);
  Prompt->SetParent(this);
  Prompt->SetBounds(10, 10, 260, 15);
  Prompt->SetCaption(prompt);

  Edit = Construct<TEdit>(this);
  Edit->SetParent(this);
  Edit->SetBounds(10, 30, 260, 21);
  Edit->SetText(value);

  OkButton = Construct<TButton>(this);
  OkButton->SetParent(this);
  OkButton->SetBounds(114, 70, 75, 25);
  OkButton->SetCaption(L"OK");
  OkButton->ModalResult = mrOk;
  OkButton->SetDefault(true);

  CancelButton = Construct<TButton>(this);
  CancelButton->SetParent(this);
  CancelButton->SetBounds(195, 70, 75, 25);
  CancelButton->SetCaption(L"Cancel");
  CancelButton->ModalResult = mrCancel;
  CancelButton->Cancel = true;

  // Enter confirms and Esc cancels wherever the focus is.
  auto keys = [this](TObject*, WORD& key, TShiftState) {
    if (key == VK_RETURN) {
      SetModalResult(mrOk);
      key = 0;
    } else if (key == VK_ESCAPE) {
      SetModalResult(mrCancel);
      key = 0;
    }
  };
  auto noBeep = [](TObject*, wchar_t& ch) {
    if (ch == L'\r' || ch == 0x1B) ch = 0;
  };
  for (TWinControl* c : {static_cast<TWinControl*>(Edit), static_cast<TWinControl*>(OkButton),
                         static_cast<TWinControl*>(CancelButton)}) {
    c->OnKeyDown = keys;
    c->OnKeyPress = noBeep;
  }
  SetActiveControl(Edit);
  OnShow = [this](TObject*) {
    Edit->SelectAll();
    if (Edit->HandleAllocated()) ::SetFocus(Edit->WindowHandle());
  };
}

bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
  InitFramework();
  std::unique_ptr<TInputQueryForm> form(Construct<TInputQueryForm>(Application, caption, prompt, value));
  if (form->ShowModal() != mrOk) return false;
  value = form->Edit->Text();
  return true;
}

std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt,
                      const std::wstring& defaultValue) {
  std::wstring value = defaultValue;
  return InputQuery(caption, prompt, value) ? value : defaultValue;
}
