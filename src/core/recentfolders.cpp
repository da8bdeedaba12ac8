// RecentFolders: recording rules and the "kezmru.kez" file format.
#include "core/recentfolders.h"
#include "core/visitedlist.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

void RecentFolders::record(const std::string &key) {
    if (m_skipNext && *m_skipNext == key) {
        m_skipNext.reset();
        return;
    }
    m_skipNext.reset();
    append(key);
}

void RecentFolders::append(const std::string &key) {
    if (key.empty()) {
        return;
    }
    appendVisited(m_entries, key, kKeptBeforeAppend);
}

std::optional<std::string> RecentFolders::choose(std::size_t index) {
    if (index >= m_entries.size()) {
        return std::nullopt;
    }
    m_skipNext = m_entries[index];
    return m_entries[index];
}

void RecentFolders::clear() {
    m_entries.clear();
    m_skipNext.reset();
}

std::vector<std::size_t> RecentFolders::menuIndexes() const {
    std::vector<std::size_t> result;
    for (std::size_t i = m_entries.size(); i > 1; --i) {
        result.push_back(i - 2);
    }
    return result;
}

std::string RecentFolders::escapeLine(const std::string &key) {
    std::string out;
    out.reserve(key.size());
    for (char c : key) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string RecentFolders::unescapeLine(const std::string &line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            out += line[i];
            continue;
        }
        const char next = line[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

bool RecentFolders::saveToFile(const std::string &path) const {
    std::string text;
    for (const std::string &key : m_entries) {
        text += escapeLine(key);
        text += '\n';
    }
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void RecentFolders::loadFromFile(const std::string &path) {
    clear();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        append(unescapeLine(line));
    }
}
