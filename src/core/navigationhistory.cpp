// NavigationHistory: recording and stepping rules of the back/forward list.
#include "core/navigationhistory.h"
#include "core/visitedlist.h"

#include <algorithm>

void NavigationHistory::record(const std::string &key) {
    if (!m_entries.empty() && m_entries[m_position] == key) {
        return;
    }
    if (!m_entries.empty()) {
        m_entries.resize(m_position + 1);
    }
    appendVisited(m_entries, key, kKeptBeforeAppend);
    m_position = m_entries.size() - 1;
}

std::optional<std::string> NavigationHistory::back(const Reachable &reachable) {
    if (!hasBackItems()) {
        return std::nullopt;
    }
    return stepTo(m_position - 1, reachable);
}

std::optional<std::string> NavigationHistory::forward(const Reachable &reachable) {
    if (!hasNextItems()) {
        return std::nullopt;
    }
    return stepTo(m_position + 1, reachable);
}

std::optional<std::string> NavigationHistory::goTo(std::size_t index, const Reachable &reachable) {
    if (index >= m_entries.size() || index == m_position) {
        return std::nullopt;
    }
    return stepTo(index, reachable);
}

std::optional<std::string> NavigationHistory::stepTo(std::size_t target,
                                                     const Reachable &reachable) {
    if (reachable && !reachable(m_entries[target])) {
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(target));
        if (target < m_position) {
            --m_position;
        }
        return std::nullopt;
    }
    m_position = target;
    return m_entries[target];
}

void NavigationHistory::clear() {
    m_entries.clear();
    m_position = 0;
}

bool NavigationHistory::hasBackItems() const {
    return !m_entries.empty() && m_position > 0;
}

bool NavigationHistory::hasNextItems() const {
    return !m_entries.empty() && m_position + 1 < m_entries.size();
}

std::vector<std::size_t> NavigationHistory::backIndexes() const {
    std::vector<std::size_t> result;
    for (std::size_t i = m_position; i > 0 && !m_entries.empty(); --i) {
        result.push_back(i - 1);
    }
    return result;
}

std::vector<std::size_t> NavigationHistory::nextIndexes() const {
    std::vector<std::size_t> result;
    for (std::size_t i = m_position + 1; i < m_entries.size(); ++i) {
        result.push_back(i);
    }
    return result;
}
