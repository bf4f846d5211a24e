// One finding of the registry cleaner as the page lists it: the row's caption
// and its four sub-items. The scan produces these, the fixes read them back.
#pragma once

#include <windows.h>

#include <string>

// Captions and section texts of the findings.
inline constexpr const wchar_t* kRegInvalidExtension = L"Неверное расширение";
inline constexpr const wchar_t* kRegInvalidFileLink = L"Неверная ссылка на файл";
inline constexpr const wchar_t* kRegFixed = L"Исправлено";

// Status texts of the scan.
inline constexpr const wchar_t* kRegStatusExtensions =
    L"Поиск неверных расширений. Пожалуйста ждите...";
inline constexpr const wchar_t* kRegStatusFileLinks =
    L"Поиск неверных ссылок на файлы. Пожалуйста ждите...";
inline constexpr const wchar_t* kRegStatusDone = L"Анализ ключей реестра завершен.";

struct TRegFinding {
  std::wstring Caption;    // "Тип ошибки"
  std::wstring Param;      // sub-item 0: the extension key's name or the value's text
  std::wstring Section;    // sub-item 1: "HKCR", "HKCU" or "HKLM"
  std::wstring KeyPath;    // sub-item 2: the key from the root, beginning with "\"
  std::wstring ValueName;  // sub-item 3: the value's name ("" = default value, or a key row)

  bool operator==(const TRegFinding&) const = default;
};

// "HKCR" -> HKEY_CLASSES_ROOT, "HKCU" -> HKEY_CURRENT_USER,
// "HKLM" -> HKEY_LOCAL_MACHINE; nullptr for anything else.
inline HKEY RegRootFromSection(const std::wstring& section) {
  if (section == L"HKCR") return HKEY_CLASSES_ROOT;
  if (section == L"HKCU") return HKEY_CURRENT_USER;
  if (section == L"HKLM") return HKEY_LOCAL_MACHINE;
  return nullptr;
}

// The reverse: the short section text of a root; empty for other roots.
inline std::wstring RegSectionOfRoot(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return L"HKCR";
  if (root == HKEY_CURRENT_USER) return L"HKCU";
  if (root == HKEY_LOCAL_MACHINE) return L"HKLM";
  return std::wstring();
}
