// Whole files in and out of memory: the one place the framework's readers
// and writers (bitmaps, JPEG pictures, string lists, ini files) open, read
// and write a file.
#pragma once

#include <windows.h>

#include <string>

// Reads the whole file. False when it cannot be opened or read (or is over
// 2 GB); `error` then holds the system's error code (0 for the size).
bool TryReadFileBytes(const std::wstring& fileName, DWORD shareMode, std::string& bytes, DWORD& error);
// The same, throwing EFOpenError with the system's message.
std::string ReadFileBytes(const std::wstring& fileName, DWORD shareMode = FILE_SHARE_READ);
// Creates or truncates the file and writes all of `bytes`; throws
// EFCreateError with the system's message.
void WriteFileBytes(const std::wstring& fileName, const std::string& bytes);
