// TabList: the in-memory list of saved tabs, one "caption=path" line per tab.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Ordered, unsorted list of "caption=path" lines; line i belongs to tab i. Duplicate captions
// are allowed. Lookup by caption compares ASCII letters without regard to case and takes the
// first match. Used from the user-interface thread only.
class TabList {
public:
    void add(const std::string &line) { lines_.push_back(line); }
    void add(const std::string &name, const std::string &value) { add(name + "=" + value); }
    // Removes the line at `index`; an index out of range changes nothing.
    void removeAt(std::size_t index);
    void clear() { lines_.clear(); }

    std::size_t count() const { return lines_.size(); }
    const std::string &lineAt(std::size_t index) const { return lines_.at(index); }
    // Part before the first "=" (the whole line when it has none).
    std::string nameAt(std::size_t index) const;
    // Part after the first "=" (empty when the line has none).
    std::string valueAt(std::size_t index) const;
    // Value of the first line whose name equals `name`, ignoring case; empty when none.
    std::string valueOf(const std::string &name) const;
    // Index of that line, or -1.
    int indexOf(const std::string &name) const;

private:
    std::vector<std::string> lines_;
};
