// The registry cleaner's judgement of single entries: which string values
// name a dead file, how a file path is taken out of a value's text, and the
// key-path spelling the walk uses. Nothing here walks the registry; the scan
// thread (CleanThread.h) feeds these rules one value at a time.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

// Takes one plain file path from the start of a value's text, dropping
// arguments after it ("C:\Dir\app.exe -start" -> "C:\Dir\app.exe",
// "C:\Dir\lib.dll,12" -> "C:\Dir\lib.dll"). False for anything that is not a
// drive-letter path with a file name and an extension, for texts holding two
// paths, and for texts with "|", "=", "*" or a "/", "\" or quote in the
// file-name part; Path is left untouched then.
bool ExtractPathFromValue(const std::wstring& Value, std::wstring& Path);

// The path with exactly one trailing "\" ("\" for an empty path) and a
// leading "\\" reduced to "\", so "\" + "\SOFTWARE" joins into "\SOFTWARE\".
std::wstring NormalizeKeyPath(const std::wstring& Path);

// Serial number of the volume whose root is Drive + ":\"; 0 when Drive is not
// a letter A to Z or the volume cannot be queried. Never shows the system's
// "insert a disk" box.
DWORD GetVolumeSerial(wchar_t Drive);

// GetVolumeSerial answered once per drive letter: a scan asks about the same
// few drives hundreds of thousands of times, and asking an empty removable
// drive can take seconds. One object lives for one scan.
class TVolumeSerials {
 public:
  DWORD Serial(wchar_t Drive);

 private:
  std::array<DWORD, 26> serials_{};
  std::array<bool, 26> asked_{};
};

// The value tests of the file-reference pass, in their order. True when the
// REG_SZ text T passes every one of them, i.e. T names a file that does not
// exist on a drive that does: such a value becomes a finding.
bool IsDeadFileReference(const std::wstring& T, TVolumeSerials& Volumes);
