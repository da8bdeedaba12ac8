// NavigationHistory: the back/forward list of visited folders and its recording rules.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Keeps the visited locations (opaque keys, one per folder) with a current position.
// Recording a new location drops everything after the current position, removes an earlier
// entry of the same location and trims the oldest entries so that at most kKeptBeforeAppend
// remain before the append. Stepping moves the position; a location that is already current is
// not recorded again, which is how a step through this list stays unrecorded by it.
// Not thread-safe: owned and used by the user-interface thread.
class NavigationHistory {
public:
    // How many older entries survive an append: the list holds at most this plus one.
    static constexpr std::size_t kKeptBeforeAppend = 10;

    // Tells whether a location can still be opened; entries failing it are dropped when stepped to.
    using Reachable = std::function<bool(const std::string &key)>;

    void record(const std::string &key);
    // Moves one step back or forward. Returns the key to open, or nothing at either end or when
    // the entry stepped to was unreachable (it is then removed and the position stays put).
    std::optional<std::string> back(const Reachable &reachable);
    std::optional<std::string> forward(const Reachable &reachable);
    // Moves to the entry at index (as listed by entries()); same rules as back/forward.
    std::optional<std::string> goTo(std::size_t index, const Reachable &reachable);
    void clear();

    bool hasBackItems() const;
    bool hasNextItems() const;
    // Entries before the current one, nearest first, as indexes into entries().
    std::vector<std::size_t> backIndexes() const;
    // Entries after the current one, nearest first.
    std::vector<std::size_t> nextIndexes() const;
    const std::vector<std::string> &entries() const { return m_entries; }
    // Index of the current entry; meaningless while the list is empty.
    std::size_t position() const { return m_position; }

private:
    std::optional<std::string> stepTo(std::size_t target, const Reachable &reachable);

    std::vector<std::string> m_entries;
    std::size_t m_position = 0;
};
