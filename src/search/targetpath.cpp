// One target folder of a search with its masks, recursion switch and level limits.
#include "search/targetpath.h"

#include "search/utf8text.h"

#include <algorithm>

void TTargetPath::AddMask(const std::string &mask) {
    const bool known = std::any_of(fFileMasks.begin(), fFileMasks.end(), [&](const std::string &m) {
        return SameTextIgnoringCase(m, mask);
    });
    if (!known)
        fFileMasks.push_back(mask);
}
