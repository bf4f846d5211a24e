// The INI-text and shell-icon helpers of SkinUtils.h.
#include <windows.h>
#include <shellapi.h>

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "skin/engine/SkinUtils.h"

void SplitIniSections(const TStrings& lines, TStringList& sections) {
  sections.Clear();
  TStringList* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::wstring line = lines.Strings(i);
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      current = new TStringList();
      sections.AddObject(line.substr(1, line.size() - 2), current);
    } else if (current && !line.empty() && line.front() != L';') {
      current->Add(line);
    }
  }
}

std::wstring ReadIniString(const TStringList& sections, const std::wstring& section,
                           const std::wstring& key, const std::wstring& def) {
  int s = sections.IndexOf(section);
  if (s < 0) return def;
  auto* list = dynamic_cast<TStrings*>(sections.Objects(s));
  if (!list) return def;
  int k = list->IndexOfName(key);
  if (k < 0) return def;
  return list->ValueFromIndex(k);
}

int ReadIniInteger(const TStringList& sections, const std::wstring& section,
                   const std::wstring& key, int def) {
  std::wstring value = ReadIniString(sections, section, key, std::wstring());
  if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X'))
    value = L"$" + value.substr(2);
  return StrToIntDef(value, def);
}

std::unique_ptr<TIcon> GetIconForFile(const std::wstring& fileName, UINT flags) {
  if (::GetFileAttributesW(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(fileName.c_str(), 0, &info, sizeof(info), flags | SHGFI_ICON) ||
      !info.hIcon)
    return nullptr;
  auto icon = std::make_unique<TIcon>();
  icon->SetHandle(info.hIcon);
  if (icon->Empty()) return nullptr;
  return icon;
}
