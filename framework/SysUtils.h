// Exceptions and the small string, path and file helpers the rest of the
// program shares. Text is std::wstring (UTF-16); "ANSI" below means the
// system's ANSI code page (CP_ACP).
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------
// Exceptions
// ---------------------------------------------------------------------------

// Base of every exception the framework raises. Message is the text shown to
// the user; what() gives the same text as UTF-8.
class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message);
  const char* what() const noexcept override { return utf8_.c_str(); }
  const std::wstring& Message() const noexcept { return message_; }
  void SetMessage(std::wstring message);

 private:
  std::wstring message_;
  std::string utf8_;
};

class EConvertError : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };
class EStringListError : public EListError { using EListError::EListError; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EInvalidGraphicOperation : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EIniFileException : public Exception { using Exception::Exception; };
class ERegistryException : public Exception { using Exception::Exception; };
class EThread : public Exception { using Exception::Exception; };
class EJPEG : public EInvalidGraphic { using EInvalidGraphic::EInvalidGraphic; };

// A failed Windows call: ErrorCode is the GetLastError value.
class EOSError : public Exception {
 public:
  EOSError(std::wstring message, DWORD code) : Exception(std::move(message)), ErrorCode(code) {}
  DWORD ErrorCode;
};

// The system's text for an error code, without the trailing line break.
std::wstring SysErrorMessage(DWORD code);
// Raises EOSError for GetLastError() (or `code`).
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD code);

// printf-style formatting into a wstring. Use %ls for wchar_t* strings
// (%s is not portable between the C runtimes' wide printf variants).
std::wstring Format(const wchar_t* fmt, ...);

// ---------------------------------------------------------------------------
// Numbers
// ---------------------------------------------------------------------------

std::wstring IntToStr(long long value);
std::wstring IntToHex(unsigned long long value, int digits);
// Accepts optional leading blanks, a sign, decimal digits or hexadecimal after
// "$", "0x"/"0X" or "x"; the whole rest must be digits and fit in 32 bits.
// StrToInt raises EConvertError ("'%s' is not a valid integer value").
int StrToInt(const std::wstring& s);
int StrToIntDef(const std::wstring& s, int def);
bool TryStrToInt(const std::wstring& s, int& value);

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

// Locale-aware case mapping (Cyrillic included), through the system.
std::wstring UpperCase(const std::wstring& s);
std::wstring LowerCase(const std::wstring& s);
std::wstring AnsiUpperCase(const std::wstring& s);  // same as UpperCase
std::wstring AnsiLowerCase(const std::wstring& s);  // same as LowerCase
// Removes characters <= ' ' at both ends / the left / the right.
std::wstring Trim(const std::wstring& s);
// Trim without a copy: the part of S between its leading and trailing
// blanks and control characters.
std::wstring_view TrimView(std::wstring_view s);
std::wstring TrimLeft(const std::wstring& s);
std::wstring TrimRight(const std::wstring& s);
// User-locale comparison: <0, 0, >0. ...Text ignores case, ...Str does not.
int AnsiCompareText(const std::wstring& a, const std::wstring& b);
int AnsiCompareStr(const std::wstring& a, const std::wstring& b);
bool SameText(const std::wstring& a, const std::wstring& b);
// Ordinal comparisons (code units; CompareText folds ASCII letters only).
int CompareStr(const std::wstring& a, const std::wstring& b);
int CompareText(const std::wstring& a, const std::wstring& b);

// Conversions between UTF-16 and byte strings of a code page.
std::wstring AnsiToWide(const std::string& s, UINT codePage = CP_ACP);
std::string WideToAnsi(const std::wstring& s, UINT codePage = CP_ACP);
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);

// ---------------------------------------------------------------------------
// Paths and files
// ---------------------------------------------------------------------------

// Everything up to and including the last "\" or ":".
std::wstring ExtractFilePath(const std::wstring& fileName);
// ExtractFilePath without its trailing "\" (unless it is a root like "C:\").
std::wstring ExtractFileDir(const std::wstring& fileName);
std::wstring ExtractFileName(const std::wstring& fileName);
std::wstring ExtractFileDrive(const std::wstring& fileName);
// From the last "." of the name part, "." included; empty when none.
std::wstring ExtractFileExt(const std::wstring& fileName);
std::wstring ChangeFileExt(const std::wstring& fileName, const std::wstring& ext);
std::wstring IncludeTrailingPathDelimiter(const std::wstring& s);
std::wstring ExcludeTrailingPathDelimiter(const std::wstring& s);
std::wstring ExpandFileName(const std::wstring& fileName);
bool FileExists(const std::wstring& fileName);       // exists and is not a folder
bool DirectoryExists(const std::wstring& dir);
bool ForceDirectories(const std::wstring& dir);      // creates every missing level
std::wstring GetCurrentDir();
// Full path of this program's executable file.
std::wstring ApplicationExeName();

// Command line of the process (GetCommandLineW), split the way the C runtime
// does. ParamStr(0) is the program's full path.
int ParamCount();
std::wstring ParamStr(int index);
