// Reads a whole directory once (getdents64) and hands out its entries in the order read.
#include "search/direnumerator.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// First size of a reader's buffer; it doubles for folders with more entries and stays large.
constexpr size_t kInitialBuffer = 32 * 1024;

} // namespace

bool TDirEnumerator::Read(int parentFd, const char *name) {
    Close();
    used_ = 0;
    // A target folder may be a symbolic link to a folder; a subfolder found by the walk is
    // entered only as the real folder it was when read.
    const int follow = parentFd < 0 ? 0 : O_NOFOLLOW;
    fd_ = ::openat(parentFd < 0 ? AT_FDCWD : parentFd, name,
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY | follow);
    if (fd_ < 0)
        return false;
    if (buffer_.empty())
        buffer_.resize(kInitialBuffer);
    for (;;) {
        if (buffer_.size() - used_ < 4096)
            buffer_.resize(buffer_.size() * 2);
        const ssize_t n = ::getdents64(fd_, buffer_.data() + used_, buffer_.size() - used_);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EINVAL) { // a record larger than the room left
                buffer_.resize(buffer_.size() * 2);
                continue;
            }
            // Keep what was read: a folder that fails half-way still shows its first entries.
            return used_ > 0;
        }
        used_ += static_cast<size_t>(n);
    }
}

void TDirEnumerator::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
