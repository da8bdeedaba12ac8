// The reading side of a stream, as the phrase scans need it, and its file implementation.
#pragma once

#include <cstddef>
#include <string>

// A source of bytes read front to back.
class TReadStream {
public:
    virtual ~TReadStream() = default;
    // Reads up to count bytes; returns the number read, 0 at the end. Throws on a read error.
    virtual size_t Read(void *buffer, size_t count) = 0;
};

// A regular file opened for reading (other programs may keep reading and writing it). Opening a
// missing or unreadable path, a folder or a special file (device, pipe, socket) throws
// std::system_error, so a content test never blocks on a pipe or reads a device forever.
class TFileReadStream : public TReadStream {
public:
    explicit TFileReadStream(const std::string &path);
    // The file name inside the folder open as dirFd (cheaper than a full path's lookup).
    TFileReadStream(int dirFd, const char *name);
    ~TFileReadStream() override;
    TFileReadStream(const TFileReadStream &) = delete;
    TFileReadStream &operator=(const TFileReadStream &) = delete;

    size_t Read(void *buffer, size_t count) override;

private:
    void open(int dirFd, const char *name);

    int fd_ = -1;
    long long size_ = 0;
    long long offset_ = 0;
};
