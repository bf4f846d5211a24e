// The browser's URL cache through WinINet: walking its entries.
#pragma once

#include <functional>

// Calls `visit` with the source URL name of every URL cache entry, in the
// cache's order, and returns how many entries it saw. Deleting the visited
// entry from inside `visit` is allowed. A cache that cannot be opened gives 0.
int ForEachUrlCacheEntry(const std::function<void(const wchar_t* url)>& visit);
