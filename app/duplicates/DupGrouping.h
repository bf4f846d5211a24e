// The duplicate finder's grouping. Two records match when they are not the
// same file and every ticked criterion holds: equal names (the user locale's
// case-insensitive comparison), equal sizes, equal content (which implies
// equal sizes). Each criterion is an equivalence, so instead of testing
// every pair the records are bucketed by size and name key, content is
// compared only inside a size bucket, and the groups come out as if every
// ungrouped pair had been tested in table order: a group is its first record
// and every later ungrouped record that matches it, groups numbered from 1
// in the order of their first records.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "app/duplicates/DupContent.h"
#include "app/duplicates/DupTables.h"

// Sets Group of every record of `files` (0 for records in no group).
// `progress` hears how many records are settled so far. Returns false when
// `stop` ended the work; the groups are then incomplete.
bool DupAssignGroups(std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
                     const TDupCriteria& criteria, const std::atomic<bool>& stop,
                     const std::function<void(int settled)>& progress = {},
                     TDupContentStats* stats = nullptr);

// The name key whose byte equality is the locale's case-insensitive name
// equality (a sort key of the user's default locale, case ignored).
std::string DupNameKey(const std::wstring& name);

// Removes every record with Group 0, keeping the others in order.
void DupRemoveUngrouped(std::vector<TDupFileRec>& files);
