// The floor of a folder walk: one thread, getdents64 and d_type only, no stat, no matching.
// Prints the number of entries and folders it saw; used by bench/run-search.sh as the baseline
// that every walking program is compared with.
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// Buffer for one getdents64 call; large enough that most folders need one or two calls.
constexpr size_t kBufferSize = 64 * 1024;

struct Counts {
    long long entries = 0;
    long long folders = 0;
};

void Walk(int parent, const char *name, Counts &counts, std::vector<char> &buffer) {
    const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    ++counts.folders;
    // Subfolder names are gathered first so the buffer can be reused by the recursion.
    std::vector<char> subfolders;
    for (;;) {
        const long n = getdents64(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        for (long offset = 0; offset < n;) {
            const auto *entry = reinterpret_cast<const dirent64 *>(buffer.data() + offset);
            offset += entry->d_reclen;
            const char *entryName = entry->d_name;
            if (entryName[0] == '.' &&
                (entryName[1] == 0 || (entryName[1] == '.' && entryName[2] == 0)))
                continue;
            ++counts.entries;
            if (entry->d_type == DT_DIR)
                subfolders.insert(subfolders.end(), entryName, entryName + strlen(entryName) + 1);
        }
    }
    for (size_t i = 0; i < subfolders.size(); i += strlen(&subfolders[i]) + 1)
        Walk(fd, &subfolders[i], counts, buffer);
    close(fd);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: walkfloor FOLDER\n");
        return 2;
    }
    Counts counts;
    std::vector<char> buffer(kBufferSize);
    Walk(AT_FDCWD, argv[1], counts, buffer);
    std::printf("%lld entries in %lld folders\n", counts.entries, counts.folders);
    return 0;
}
