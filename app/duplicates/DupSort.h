// Sorting of the duplicate finder's file table by one of five keys:
// "Double" (group), "Name", "Size", "Time", "Folder". Ascending and stable:
// records with equal keys keep their order; there is no second key. Names
// and folder paths compare the way the user's locale compares text when
// case is ignored.
#pragma once

#include <string>
#include <vector>

#include "app/duplicates/DupTables.h"

// Sorts `files` by `key`; any other key leaves the order unchanged.
void DupSortFiles(std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
                  const std::wstring& key);
// The same on DupFiles and DupFolders.
void SortFiles(const std::wstring& Key);
