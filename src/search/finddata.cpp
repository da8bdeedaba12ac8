// One directory entry as the search tests it, with its details read only when needed.
#include "search/finddata.h"

#include "search/fileattributes.h"

#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace {

uint32_t AttributesOfType(unsigned char dType) {
    switch (dType) {
    case DT_DIR:
        return faDirectory;
    case DT_REG:
        return faArchive;
    case DT_LNK:
        return faReparsePoint;
    case DT_CHR:
    case DT_BLK:
    case DT_FIFO:
    case DT_SOCK:
        return faDevice | faSystem;
    default:
        return 0;
    }
}

unsigned char TypeOfMode(mode_t mode) {
    if (S_ISDIR(mode))
        return DT_DIR;
    if (S_ISREG(mode))
        return DT_REG;
    if (S_ISLNK(mode))
        return DT_LNK;
    if (S_ISCHR(mode))
        return DT_CHR;
    if (S_ISBLK(mode))
        return DT_BLK;
    if (S_ISFIFO(mode))
        return DT_FIFO;
    if (S_ISSOCK(mode))
        return DT_SOCK;
    return DT_UNKNOWN;
}

// A file counts as sparse when at least one page of its length has no storage; smaller gaps are
// the block rounding and inline data of ordinary files.
constexpr uint64_t kSparseSlack = 4096;

TFileTime ToFileTime(const struct statx_timestamp &t) {
    return UnixTimeToFileTime(t.tv_sec, t.tv_nsec);
}

} // namespace

TFindData::TFindData(int dirFd, std::string_view name, unsigned char dType)
    : dirFd_(dirFd), name_(name) {
    if (dType == DT_UNKNOWN) {
        struct stat info {};
        const std::string path(name);
        if (::fstatat(dirFd, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
            dType = TypeOfMode(info.st_mode);
    }
    attributes_ = AttributesOfType(dType);
    if (!name.empty() && name.front() == '.')
        attributes_ |= faHidden;
}

TFindData TFindData::FromValues(std::string_view name, uint32_t attributes, int64_t size,
                                TFileTime created, TFileTime accessed, TFileTime written) {
    TFindData data;
    data.name_ = name;
    data.attributes_ = attributes;
    data.loaded_ = true;
    data.size_ = size;
    data.created_ = created;
    data.accessed_ = accessed;
    data.written_ = written;
    return data;
}

bool TFindData::LoadDetails() {
    if (loaded_ || loadFailed_)
        return loaded_;
    // The name is not zero-terminated inside the caller's view; names are short, so a small
    // local copy is cheaper than a heap string.
    char path[256 + 1];
    if (name_.size() >= sizeof(path)) {
        loadFailed_ = true;
        return false;
    }
    name_.copy(path, name_.size());
    path[name_.size()] = '\0';
    struct statx info {};
    constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS | STATX_ATIME |
                               STATX_MTIME | STATX_CTIME | STATX_BTIME;
    if (::statx(dirFd_, path, AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC, kMask, &info) != 0) {
        loadFailed_ = true;
        return false;
    }
    const bool directory = S_ISDIR(info.stx_mode);
    if (!(info.stx_mode & S_IWUSR) && !S_ISLNK(info.stx_mode))
        attributes_ |= faReadOnly;
    if (info.stx_attributes & STATX_ATTR_COMPRESSED)
        attributes_ |= faCompressed;
    if (info.stx_attributes & STATX_ATTR_ENCRYPTED)
        attributes_ |= faEncrypted;
    if (S_ISREG(info.stx_mode) && info.stx_blocks * 512 + kSparseSlack <= info.stx_size)
        attributes_ |= faSparseFile;
    size_ = directory ? 0 : static_cast<int64_t>(info.stx_size);
    written_ = ToFileTime(info.stx_mtime);
    accessed_ = ToFileTime(info.stx_atime);
    created_ =
        (info.stx_mask & STATX_BTIME) ? ToFileTime(info.stx_btime) : ToFileTime(info.stx_ctime);
    loaded_ = true;
    return true;
}

int64_t TFindData::Size() {
    LoadDetails();
    return size_;
}

TFileTime TFindData::CreationTime() {
    LoadDetails();
    return created_;
}

TFileTime TFindData::LastAccessTime() {
    LoadDetails();
    return accessed_;
}

TFileTime TFindData::LastWriteTime() {
    LoadDetails();
    return written_;
}
