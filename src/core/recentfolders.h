// RecentFolders: the recently visited folders, their recording rules and their file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Keeps the recently visited locations (opaque keys), oldest first, each at most once and at most
// kKeptBeforeAppend + 1 of them. Choosing an entry does not record it again: the next record of
// that same location is skipped, so the list's order stays as the user saw it in the menu.
// The list is saved as UTF-8 text, one escaped key per line, oldest first, written to a temporary
// file and renamed over the old one so that a failed write never loses the previous list.
// Not thread-safe: owned and used by the user-interface thread.
class RecentFolders {
public:
    // How many older entries survive an append: the list holds at most this plus one.
    static constexpr std::size_t kKeptBeforeAppend = 10;

    void record(const std::string &key);
    // Returns the key at index (oldest = 0) to open; that location's next record is skipped.
    std::optional<std::string> choose(std::size_t index);
    void clear();

    const std::vector<std::string> &entries() const { return m_entries; }
    // Indexes of the menu entries: all but the newest (the folder shown now), newest first.
    std::vector<std::size_t> menuIndexes() const;

    // Returns false when the file cannot be written; the old file then stays as it was.
    bool saveToFile(const std::string &path) const;
    // Replaces the list with the file's content; a missing or unreadable file gives an empty list.
    void loadFromFile(const std::string &path);

    static std::string escapeLine(const std::string &key);
    static std::string unescapeLine(const std::string &line);

private:
    void append(const std::string &key);

    std::vector<std::string> m_entries;
    std::optional<std::string> m_skipNext;
};
