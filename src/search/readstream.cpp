// File implementation of the reading stream.
#include "search/readstream.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

TFileReadStream::TFileReadStream(const std::string &path) {
    open(AT_FDCWD, path.c_str());
}

TFileReadStream::TFileReadStream(int dirFd, const char *name) {
    open(dirFd, name);
}

void TFileReadStream::open(int dirFd, const char *name) {
    fd_ = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), std::string("Cannot open ") + name);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : (errno ? errno : EINVAL);
        ::close(fd_);
        fd_ = -1;
        throw std::system_error(error, std::generic_category(),
                                std::string("Not a regular file: ") + name);
    }
    size_ = info.st_size;
}

TFileReadStream::~TFileReadStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

size_t TFileReadStream::Read(void *buffer, size_t count) {
    // The size seen at opening is the end: this spares the extra read that would only report
    // the end, which matters when many small files are searched.
    if (offset_ >= size_ || count == 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, count);
        if (n >= 0) {
            offset_ += n;
            if (n == 0)
                size_ = offset_;
            return static_cast<size_t>(n);
        }
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "Cannot read file");
    }
}
