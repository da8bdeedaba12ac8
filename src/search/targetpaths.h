// The ordered list of target folders of a search, built from folder and path specifications.
#pragma once

#include "search/targetpath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Mask that stands for every name of a folder.
inline constexpr const char *kAllFilesMask = "*.*";

// Applies the folder-entry syntax to text: "folder", "<folder" (not recursive),
// ">folder", "n>folder" (MaxLevel n, MinLevel 0) and "a-b>folder" (MinLevel a, MaxLevel b), each
// recursive. A level that is missing or no integer keeps its incoming value. Folder receives the
// canonical folder (see CanonicalFolder).
void ParseFolderSpec(std::string_view text, bool &recursive, std::string &folder,
                     uint16_t &maxLevel, uint16_t &minLevel);

// Makes a folder text canonical: trimmed, taken below the current folder when relative (empty
// means the current folder), "." and ".." resolved by name, repeated "/" collapsed, with one
// trailing "/". Symbolic links are not resolved: the folder stays as the user named it.
std::string CanonicalFolder(std::string_view text);

// Owns its targets. Folders are distinct (byte-exact: Linux folder names are case-sensitive);
// a folder named twice gets one target with the masks of both mentions. Used by one thread.
class TTargetPaths {
public:
    // Target with exactly this canonical folder, or nullptr.
    TTargetPath *Find(std::string_view folder) const;

    // pathInfo is a folder entry followed by a mask ("2-4>/src/*.c"); the mask is what
    // follows the last "/" ("*.*" when empty). The other arguments are the defaults of the
    // folder entry; they overwrite those of an earlier mention of the same folder.
    TTargetPath &AddPath(std::string_view pathInfo, bool recursive, uint16_t minLevel,
                         uint16_t maxLevel);

    // folderInfo is a folder entry; fileMasks (or "*.*" when null or empty) are added.
    TTargetPath &AddFolderAndMasks(std::string_view folderInfo,
                                   const std::vector<std::string> *fileMasks, bool recursive,
                                   uint16_t minLevel, uint16_t maxLevel);

    TTargetPath &GetItems(size_t index) const { return *items_.at(index); }
    size_t Count() const { return items_.size(); }

private:
    TTargetPath &addFolder(std::string_view folderInfo, bool recursive, uint16_t minLevel,
                           uint16_t maxLevel);

    std::vector<std::unique_ptr<TTargetPath>> items_;
};
