// One directory entry as the search tests it, with its details read only when needed.
#pragma once

#include "search/datetime.h"

#include <cstdint>
#include <string_view>

// An entry of a directory read. The name, the entry type and the attribute bits that follow
// from them (directory, hidden, archive, reparse point, device, system) come from the read
// itself; size, times and the remaining attribute bits (read-only, sparse, compressed,
// encrypted) need a statx, made on the first request and then kept. Name points into the
// directory buffer and is valid while the entry is being tested. Used by one thread.
class TFindData {
public:
    // An entry of the directory open as dirFd; dType is the d_type of the read (DT_UNKNOWN
    // makes the constructor stat the entry to learn its type).
    TFindData(int dirFd, std::string_view name, unsigned char dType);

    // An entry with given values, as if already stat'ed (for callers without a directory).
    static TFindData FromValues(std::string_view name, uint32_t attributes, int64_t size,
                                TFileTime created, TFileTime accessed, TFileTime written);

    std::string_view Name() const { return name_; }
    // The folder the entry was read from, -1 for an entry made from values.
    int DirFd() const { return dirFd_; }
    bool IsDirectory() const { return (attributes_ & 0x10) != 0; }
    // The attribute word: complete once details are loaded, else the bits of the read.
    uint32_t Attributes() const { return attributes_; }

    // Reads size, times and the remaining attribute bits; false when the entry has vanished or
    // cannot be stat'ed (the values then stay 0).
    bool LoadDetails();
    bool DetailsLoaded() const { return loaded_; }

    int64_t Size();
    TFileTime CreationTime();
    TFileTime LastAccessTime();
    TFileTime LastWriteTime();

private:
    TFindData() = default;

    int dirFd_ = -1;
    std::string_view name_;
    uint32_t attributes_ = 0;
    bool loaded_ = false;
    bool loadFailed_ = false;
    int64_t size_ = 0;
    TFileTime created_ = 0;
    TFileTime accessed_ = 0;
    TFileTime written_ = 0;
};
