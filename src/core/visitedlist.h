// appendVisited: the append rule shared by the navigation history and the recent folders.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

// Appends key at the end after removing its earlier entry and trimming the oldest entries so
// that at most keptBeforeAppend remain before it: each folder appears once, newest last.
inline void appendVisited(std::vector<std::string> &entries, const std::string &key,
                          std::size_t keptBeforeAppend) {
    std::erase(entries, key);
    if (entries.size() > keptBeforeAppend) {
        entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(
                                                             entries.size() - keptBeforeAppend));
    }
    entries.push_back(key);
}
