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

// The "Count" of a section, bounded by the rows the file holds: a count
// beyond the highest row number present (a damaged or edited file) would
// add empty rows that every later close writes back.
int ReadCount(const TIniSnapshot& ini, const wchar_t* section, const std::wstring& prefixes) {
  const int count = ini.ReadInteger(section, L"Count", 0);
  if (count <= 0) return 0;
  int rows = 0;
  for (const std::wstring& key : ini.Keys(section)) {
    if (key.size() < 2 || prefixes.find(towupper(key[0])) == std::wstring::npos) continue;
    if (key.size() > 10 || key.find_first_not_of(L"0123456789", 1) != std::wstring::npos) continue;
    rows = std::max(rows, std::stoi(key.substr(1)) + 1);
  }
  return std::min(count, rows);
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
  // The whole file is read once: looking every key up through the profile
  // functions reads it again for each key.
  TIniSnapshot ini;
  if (ini.Load(fileName) == TIniSnapshot::lrUnreadable) return false;

  const int filters = ReadCount(ini, L"Filters", L"FD");
  for (int i = 0; i < filters; ++i) {
    const std::wstring description = ini.ReadString(L"Filters", Key(L"D", i), L"");
    const std::wstring mask = ini.ReadString(L"Filters", Key(L"F", i), L"");
    AddExt(mask, description, form->ListView2, true);
  }
  const int exclusions = ReadCount(ini, L"Exclusion", L"ED");
  for (int i = 0; i < exclusions; ++i) {
    const std::wstring description = ini.ReadString(L"Exclusion", Key(L"D", i), L"");
    const std::wstring text = ini.ReadString(L"Exclusion", Key(L"E", i), L"");
    AddExl(text, description, form->ListView3, true);
  }
  const int paths = ReadCount(ini, L"Path", L"P");
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

namespace {

void AddLine(std::wstring& text, const std::wstring& key, const std::wstring& value) {
  text += key;
  text += L'=';
  text += value;
  text += L"\r\n";
}

}  // namespace

void TFrame5::SaveNastrTo(const std::wstring& fileName) {
  TMainForm* form = MainForm;
  const std::vector<Row> filters = Rows(form->ListView2, 1);
  const std::vector<Row> exclusions = Rows(form->ListView3, 0);
  // The user's paths in list order, wherever sorting or removed drives put them.
  std::vector<std::wstring> paths;
  for (int i = 0; i < form->CheckListBox1->Count(); ++i)
    if (!IsDriveEntry(i)) paths.push_back(form->CheckListBox1->Items()->Strings(i));

  // The text the profile functions would write, built in one pass.
  std::wstring text = L"[Filters]\r\n";
  AddLine(text, L"Count", std::to_wstring(filters.size()));
  for (size_t i = 0; i < filters.size(); ++i) {
    AddLine(text, Key(L"F", static_cast<int>(i)), filters[i].name);
    AddLine(text, Key(L"D", static_cast<int>(i)), filters[i].description);
  }
  text += L"[Exclusion]\r\n";
  AddLine(text, L"Count", std::to_wstring(exclusions.size()));
  for (size_t i = 0; i < exclusions.size(); ++i) {
    AddLine(text, Key(L"E", static_cast<int>(i)), exclusions[i].name);
    AddLine(text, Key(L"D", static_cast<int>(i)), exclusions[i].description);
  }
  text += L"[Path]\r\n";
  AddLine(text, L"Count", std::to_wstring(paths.size()));
  for (size_t i = 0; i < paths.size(); ++i) AddLine(text, Key(L"P", static_cast<int>(i)), paths[i]);

  std::string bytes;
  if (FitsAnsi(text)) {
    bytes = WideToAnsi(text);
  } else {
    // UTF-16 with its byte-order mark, which the profile functions read too:
    // no character is lost.
    bytes.assign("\xFF\xFE", 2);
    for (wchar_t c : text) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
  }
  // The system may hold the old file's text in its profile cache.
  TIniFile(fileName).UpdateFile();
  ReplaceFileBytes(fileName, bytes);
}
