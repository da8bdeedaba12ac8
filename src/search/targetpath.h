// One target folder of a search with its masks, recursion switch and level limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A folder that a search walks. Folder is absolute and ends with "/". The masks are kept in the
// order added, each once (letter case ignored, as masks match without regard to case).
// Plain data: built on the thread that starts a search, then only read by the walk.
class TTargetPath {
public:
    explicit TTargetPath(std::string folder) : fFolder(std::move(folder)) {}

    const std::string &Folder() const { return fFolder; }
    void SetFolder(std::string folder) { fFolder = std::move(folder); }
    const std::vector<std::string> &FileMasks() const { return fFileMasks; }
    bool Recursive() const { return fRecursive; }
    void SetRecursive(bool recursive) { fRecursive = recursive; }
    uint16_t MinLevel() const { return fMinLevel; }
    void SetMinLevel(uint16_t level) { fMinLevel = level; }
    uint16_t MaxLevel() const { return fMaxLevel; }
    void SetMaxLevel(uint16_t level) { fMaxLevel = level; }

    // Adds a mask unless one equal to it (ignoring letter case) is already held.
    void AddMask(const std::string &mask);

private:
    std::string fFolder;
    std::vector<std::string> fFileMasks;
    bool fRecursive = true;
    uint16_t fMinLevel = 0;
    uint16_t fMaxLevel = 0;
};
