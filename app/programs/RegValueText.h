// Reading registry values as display text for the lists of the applications
// page: a value of any type yields a line of text and never an error.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Text of a value's data: REG_SZ and REG_EXPAND_SZ as their text (up to the
// first NUL, not expanded), REG_DWORD and REG_QWORD in decimal, any other
// type (or a number of the wrong size) as hex bytes "0A 1B 2C".
std::wstring RegValueText(DWORD type, const std::vector<BYTE>& data);

// Reads one value of an open key. False when it does not exist or cannot be
// read; `type` and `data` are its raw contents otherwise.
bool ReadRegValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data);

// The value's text (RegValueText); false when it does not exist.
bool ReadRegValueText(HKEY key, const std::wstring& name, std::wstring& text);

// A value that holds text (REG_SZ or REG_EXPAND_SZ): its text and whether
// it is expandable. False for a missing value and for every other type.
bool ReadRegString(HKEY key, const std::wstring& name, std::wstring& text, bool* expandable = nullptr);

// The names of every value of an open key, in the registry's order (the
// default value has the empty name).
std::vector<std::wstring> RegValueNames(HKEY key);
// The names of every subkey of an open key, in the registry's order.
std::vector<std::wstring> RegSubKeyNames(HKEY key);
