// Splitting of ";"-separated mask and folder lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Cuts text at every delimiter, trims each piece of characters with a code of 32 or less, and
// keeps the non-empty pieces that are not already in the list (letter case ignored unless
// ignoreCase is false, as for folder names, which are case-sensitive here), in order.
std::vector<std::string> SplitMaskList(std::string_view text, char delimiter,
                                       bool ignoreCase = true);
