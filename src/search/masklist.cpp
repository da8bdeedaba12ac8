// Splitting of ";"-separated mask and folder lists.
#include "search/masklist.h"

#include "search/utf8text.h"

#include <algorithm>

std::vector<std::string> SplitMaskList(std::string_view text, char delimiter, bool ignoreCase) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(delimiter, start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view piece = TrimBlanks(text.substr(start, end - start));
        const bool known = std::any_of(pieces.begin(), pieces.end(), [&](const std::string &p) {
            return ignoreCase ? SameTextIgnoringCase(p, piece) : p == piece;
        });
        if (!piece.empty() && !known)
            pieces.emplace_back(piece);
        start = end + 1;
    }
    return pieces;
}
