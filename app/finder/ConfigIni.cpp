// Config.ini beside the program: the file finder's filters, exclusions and
// the search paths the user added (TFrame5::LoadNastr / SaveNastr).
#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "framework/Handles.h"
#include "framework/IniFiles.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/SysUtils.h"

bool ConfigLoadedOk = true;

namespace {

// A count beyond this in the file is taken as this: a damaged file must not
// keep the start-up busy adding millions of empty rows.
constexpr int kMaxConfigRows = 10000;

int ReadCount(const TIniFile& ini, const wchar_t* section) {
  return std::clamp(ini.ReadInteger(section, L"Count", 0), 0, kMaxConfigRows);
}

std::wstring Key(const wchar_t* prefix, int i) { return prefix + std::to_wstring(i); }

// True when the text survives the trip through the ANSI code page.
bool FitsAnsi(const std::wstring& s) {
  if (s.empty()) return true;
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), static_cast<int>(s.size()),
                                    nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  return AnsiToWide(WideToAnsi(s)) == s;
}

// True when the file can be read: missing counts as readable (and empty).
bool Readable(const std::wstring& fileName) {
  const DWORD attributes = GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  HANDLE h = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

struct Row {
  std::wstring name, description;
};

std::vector<Row> Rows(TListView* list, int descriptionColumn) {
  std::vector<Row> rows;
  for (int i = 0; i < list->Items()->Count(); ++i) {
    TListItem* item = list->Items()->Item(i);
    TStrings* sub = item->SubItems();
    rows.push_back({item->Caption(), descriptionColumn < sub->Count() ? sub->Strings(descriptionColumn) : L""});
  }
  return rows;
}

}  // namespace

std::wstring TFrame5::ConfigFileName() { return ExtractFilePath(ApplicationExeName()) + L"Config.ini"; }

void TFrame5::LoadNastr() { ConfigLoadedOk = LoadNastrFrom(ConfigFileName()); }

bool TFrame5::LoadNastrFrom(const std::wstring& fileName) {
  TMainForm* form = MainForm;
  if (!Readable(fileName)) return false;
  TIniFile ini(fileName);

  const int filters = ReadCount(ini, L"Filters");
  for (int i = 0; i < filters; ++i) {
    const std::wstring description = ini.ReadString(L"Filters", Key(L"D", i), L"");
    const std::wstring mask = ini.ReadString(L"Filters", Key(L"F", i), L"");
    AddExt(mask, description, form->ListView2, true);
  }
  const int exclusions = ReadCount(ini, L"Exclusion");
  for (int i = 0; i < exclusions; ++i) {
    const std::wstring description = ini.ReadString(L"Exclusion", Key(L"D", i), L"");
    const std::wstring text = ini.ReadString(L"Exclusion", Key(L"E", i), L"");
    AddExl(text, description, form->ListView3, true);
  }
  const int paths = ReadCount(ini, L"Path");
  for (int i = 0; i < paths; ++i) {
    // A loaded path is the user's (no drive tag), whatever its text.
    const int at = form->CheckListBox1->Items()->AddObject(ini.ReadString(L"Path", Key(L"P", i), L""), nullptr);
    form->CheckListBox1->SetChecked(at, true);
  }
  return true;
}

void TFrame5::SaveNastr() {
  // A file that could not be read is not replaced by what little was loaded.
  if (!MainForm || !ConfigLoadedOk) return;
  const std::wstring fileName = ConfigFileName();
  try {
    SaveNastrTo(fileName);
  } catch (const Exception&) {
    // Said once; the window closes all the same.
    Application->MessageBox(L"Не удалось сохранить настройки поиска в файл " + fileName + L".",
                            Application->Title, MB_OK | MB_ICONSTOP);
  }
}

void TFrame5::SaveNastrTo(const std::wstring& fileName) {
  TMainForm* form = MainForm;
  const std::vector<Row> filters = Rows(form->ListView2, 1);
  const std::vector<Row> exclusions = Rows(form->ListView3, 0);
  // The user's paths in list order, wherever sorting or removed drives put them.
  std::vector<std::wstring> paths;
  for (int i = 0; i < form->CheckListBox1->Count(); ++i)
    if (!IsDriveEntry(i)) paths.push_back(form->CheckListBox1->Items()->Strings(i));

  bool ansi = true;
  for (const std::vector<Row>* rows : {&filters, &exclusions})
    for (const Row& r : *rows) ansi = ansi && FitsAnsi(r.name) && FitsAnsi(r.description);
  for (const std::wstring& p : paths) ansi = ansi && FitsAnsi(p);

  TIniFile ini(fileName);
  ini.UpdateFile();  // the system forgets its copy of the old file
  DeleteFileW(fileName.c_str());
  if (!ansi) {
    // A UTF-16 file with its byte-order mark: the profile functions keep
    // writing it in UTF-16, so no character is lost.
    HANDLE h = CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EIniFileException(L"Unable to write to " + fileName);
    const unsigned char bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    const BOOL ok = WriteFile(h, bom, 2, &written, nullptr);
    CloseHandle(h);
    if (!ok || written != 2) throw EIniFileException(L"Unable to write to " + fileName);
  }

  ini.WriteInteger(L"Filters", L"Count", static_cast<int>(filters.size()));
  for (size_t i = 0; i < filters.size(); ++i) {
    ini.WriteString(L"Filters", Key(L"F", static_cast<int>(i)), filters[i].name);
    ini.WriteString(L"Filters", Key(L"D", static_cast<int>(i)), filters[i].description);
  }
  ini.WriteInteger(L"Exclusion", L"Count", static_cast<int>(exclusions.size()));
  for (size_t i = 0; i < exclusions.size(); ++i) {
    ini.WriteString(L"Exclusion", Key(L"E", static_cast<int>(i)), exclusions[i].name);
    ini.WriteString(L"Exclusion", Key(L"D", static_cast<int>(i)), exclusions[i].description);
  }
  ini.WriteInteger(L"Path", L"Count", static_cast<int>(paths.size()));
  for (size_t i = 0; i < paths.size(); ++i) ini.WriteString(L"Path", Key(L"P", static_cast<int>(i)), paths[i]);
  ini.UpdateFile();
}
