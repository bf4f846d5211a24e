#pragma once
// Helpers of the tests of the finder's folder listings, read-ahead and count.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/finder/FolderListing.h"

namespace findertest {

// The folders of the tree below dir in the order a depth-first search
// enters them: a folder, then each subfolder where its listing names it.
inline void EnterOrder(const std::wstring& dir, std::vector<std::wstring>& out) {
  out.push_back(dir);
  std::unique_ptr<FolderListing> listing = FolderListing::Read(dir);
  for (size_t i = 0; i < listing->Count(); ++i)
    if (listing->Enterable(i)) EnterOrder(dir + listing->Name(i) + L"\\", out);
}

// A read-ahead's wait that handles no messages.
inline void NoMessages(HANDLE ready) { WaitForSingleObject(ready, INFINITE); }

}  // namespace findertest
