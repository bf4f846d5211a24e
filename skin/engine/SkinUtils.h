// Small routines every unit of the skin engine uses: numbers and rectangles,
// words of ";"-separated skin texts, application paths, system queries and
// the warning and error boxes. Stateless.
#pragma once

#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Classes.h"
#include "framework/Graphics.h"

// ---- Numbers and rectangles ----
// Rounds half to even under the default rounding mode: the value of
// std::nearbyint. std::rint gives the same value without saving and
// restoring the floating-point environment on every call, which costs far
// more than the rounding in the per-row and per-byte loops that use it.
inline int RoundHalfEven(double v) { return static_cast<int>(std::rint(v)); }
inline uint8_t ClampByte(int value) {
  return value < 0 ? 0 : value > 255 ? 255 : static_cast<uint8_t>(value);
}
inline TRect MakeRect(int left, int top, int right, int bottom) {
  TRect r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}
inline int WidthOf(const TRect& r) { return r.right - r.left; }
inline int HeightOf(const TRect& r) { return r.bottom - r.top; }
// Both corners of Inner lie in Outer; Outer's Right and Bottom count as inside.
bool RectInRect(const TRect& outer, const TRect& inner);
inline bool Between(int value, int min, int max) { return min <= value && value <= max; }
inline int MaxOf(int a, int b) { return a > b ? a : b; }
inline int MinOf(int a, int b) { return a < b ? a : b; }
inline void SwapInts(int& a, int& b) { int t = a; a = b; b = t; }
inline std::wstring IfStr(bool cond, const std::wstring& a, const std::wstring& b) {
  return cond ? a : b;
}
inline int IfInt(bool cond, int a, int b) { return cond ? a : b; }
// B + (100 - B) * A / 100, rounded half to even.
int MixPercent(int a, int b);

// ---- Words: maximal runs of characters outside the delimiter set ----
int WordCount(std::wstring_view s, std::wstring_view delims);
// 1-based position of the N-th word, 0 when there is none.
int WordPosition(int n, std::wstring_view s, std::wstring_view delims);
// The N-th word, empty when there is none.
std::wstring ExtractWord(int n, std::wstring_view s, std::wstring_view delims);
std::wstring DelChars(std::wstring_view s, wchar_t chr);

// ---- Files and paths ----
// The program's file name up to and including its last "\" or "/".
std::wstring GetAppPath();
std::wstring NormalDir(const std::wstring& dir);

// ---- System ----
// Height of the caption font of the non-client metrics; 0 when unknown.
int GetCaptionFontSize();
bool IsWinXPOrLater();

// ---- Messages (skinned message boxes with one OK button) ----
void ShowWarning(const std::wstring& msg);
void ShowError(const std::wstring& msg);

// ---- INI text held in memory ----
// Clears Sections; every line "[name]" starts a section whose name is added
// with a new TStringList as its object, holding the section's following
// lines that are neither empty nor start with ";". Lines before the first
// section are ignored. The caller owns the created lists (a Sections list
// made with OwnsObjects frees them).
void SplitIniSections(const TStrings& lines, TStringList& sections);
// The text after "Key=" in the first line of the section named Key (names
// compared without regard to case); Default when section or key is missing.
std::wstring ReadIniString(const TStringList& sections, const std::wstring& section,
                           const std::wstring& key, const std::wstring& def);
// ReadIniString as an integer; "0x"/"0X" hexadecimal allowed; Default for
// text that is not a number.
int ReadIniInteger(const TStringList& sections, const std::wstring& section,
                   const std::wstring& key, int def);

// ---- Shell icons ----
// The shell's icon of an existing file (SHGFI_ICON added to Flags), or null.
std::unique_ptr<TIcon> GetIconForFile(const std::wstring& fileName, UINT flags);
