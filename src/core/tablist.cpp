// TabList: caption lookup and line splitting of the saved-tab list.
#include "core/tablist.h"

#include <algorithm>

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsNoCase(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

} // namespace

void TabList::removeAt(std::size_t index) {
    if (index < lines_.size())
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string TabList::nameAt(std::size_t index) const {
    const std::string &line = lines_.at(index);
    return line.substr(0, line.find('='));
}

std::string TabList::valueAt(std::size_t index) const {
    const std::string &line = lines_.at(index);
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TabList::indexOf(const std::string &name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (equalsNoCase(nameAt(i), name))
            return static_cast<int>(i);
    return -1;
}

std::string TabList::valueOf(const std::string &name) const {
    const int index = indexOf(name);
    return index < 0 ? std::string() : valueAt(static_cast<std::size_t>(index));
}
