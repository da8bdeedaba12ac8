// Reads a whole directory once (getdents64) and hands out its entries in the order read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One directory, opened and read in one go so that the walk can apply several masks and then
// look for subfolders without reading it again. The buffer is kept between folders, so a walk
// that reuses one reader per depth allocates only while its folders grow. Names are raw bytes
// (any encoding). Used by one thread.
class TDirEnumerator {
public:
    struct Entry {
        std::string_view Name;
        unsigned char Type; // d_type of the read (DT_UNKNOWN on file systems that do not tell)
    };

    TDirEnumerator() = default;
    ~TDirEnumerator() { Close(); }
    TDirEnumerator(const TDirEnumerator &) = delete;
    TDirEnumerator &operator=(const TDirEnumerator &) = delete;

    // Opens the folder name inside the folder open as parentFd (or path when parentFd is -1)
    // and reads all its entries. False when it cannot be opened or read: the folder then
    // contributes nothing.
    bool Read(int parentFd, const char *name);

    // The open folder (for stat calls relative to it), -1 when closed.
    int Fd() const { return fd_; }
    void Close();

    // Calls f(Entry) for every entry except "." and ".."; stops early when f returns false.
    template <typename F> bool ForEach(F &&f) const {
        size_t offset = 0;
        while (offset < used_) {
            const auto *record = buffer_.data() + offset;
            uint16_t length;
            __builtin_memcpy(&length, record + kRecordLengthOffset, sizeof length);
            const char *name = reinterpret_cast<const char *>(record + kNameOffset);
            const size_t nameLength = __builtin_strlen(name);
            offset += length;
            if (name[0] == '.' && (nameLength == 1 || (nameLength == 2 && name[1] == '.')))
                continue;
            if (!f(Entry{std::string_view(name, nameLength), record[kTypeOffset]}))
                return false;
        }
        return true;
    }

private:
    // Layout of struct linux_dirent64: d_ino (8), d_off (8), d_reclen (2), d_type (1), d_name.
    static constexpr size_t kRecordLengthOffset = 16;
    static constexpr size_t kTypeOffset = 18;
    static constexpr size_t kNameOffset = 19;

    int fd_ = -1;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
};
