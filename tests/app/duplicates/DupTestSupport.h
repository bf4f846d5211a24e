// Fixture trees and a reference grouping for the duplicate finder's tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/duplicates/DupTables.h"
#include "tests/common/TestEnv.h"

namespace duptest {

// `count` bytes of a pattern that depends on `seed`.
std::string Pattern(size_t count, unsigned seed);

// Makes a symbolic link at `link` (a Windows path) pointing to `target`
// through the host's ln -s; Wine itself cannot make one. True when the link
// exists afterwards.
bool HostSymlink(const std::wstring& link, const std::wstring& target);

// Makes a file of `size` bytes without writing them (sparse where the file
// system allows).
bool MakeSizedFile(const std::wstring& path, long long size);

// Sets the file's last-write time.
bool SetWriteTime(const std::wstring& path, int year, int month, int day, int hour, int minute, int second);

// The folder list entry of a directory: its path with a trailing "\".
inline std::wstring ListItem(const std::wstring& dir) { return dir + L"\\"; }

// The grouping as the literal pairwise rule gives it: for every ungrouped
// record i in table order, every later ungrouped record j that is not the
// same file and passes the ticked tests (CompareStringW equality ignoring
// case, equal size, equal size and equal bytes read whole) takes i's group.
std::vector<uint32_t> PairwiseGroups(const std::vector<TDupFileRec>& files,
                                     const std::vector<TDupFolderRec>& folders, const TDupCriteria& criteria);

// "<folder path><name>" of a record.
std::wstring FullPath(const TDupFileRec& rec, const std::vector<TDupFolderRec>& folders);

// Runs the walk over `items` (list entries ending in "\") into fresh tables.
void Walk(const std::vector<std::wstring>& items, bool subfolders, std::vector<TDupFolderRec>& folders,
          std::vector<TDupFileRec>& files);

// The group of the record at `path` (relative to `root`), or -1 when absent.
long long GroupOf(const std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
                  const std::wstring& fullPath);

}  // namespace duptest
