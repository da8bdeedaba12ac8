// The floor listing shared by the listing benchmarks: readdir + one fstatat per entry + sort
// (folders first), and the process's memory figures from /proc.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), 0 when unreadable.
inline long statusKb(const char *key) {
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long value = 0;
    const std::size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, keyLength) == 0)
            value = std::atol(line + keyLength + 1);
    std::fclose(f);
    return value;
}

struct FloorEntry {
    std::string name;
    bool folder;
    off_t size;
    time_t modified;
};

struct FloorListing {
    bool ok = false;
    std::vector<FloorEntry> entries;
    double firstMs = -1;    // when the first entry was read
    double completeMs = -1; // when the sorted listing was complete
};

inline FloorListing listFloor(const std::string &dir) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    auto elapsedMs = [start] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    FloorListing listing;
    DIR *d = opendir(dir.c_str());
    if (!d)
        return listing;
    while (dirent *e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct stat st;
        if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        listing.entries.push_back({e->d_name, S_ISDIR(st.st_mode), st.st_size, st.st_mtime});
        if (listing.firstMs < 0)
            listing.firstMs = elapsedMs();
    }
    closedir(d);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FloorEntry &a, const FloorEntry &b) {
                  if (a.folder != b.folder)
                      return a.folder;
                  return a.name < b.name;
              });
    listing.completeMs = elapsedMs();
    listing.ok = true;
    return listing;
}

// Lists `dir` with the floor program and prints its figures in the fields the benchmark
// scripts read; 1 when the folder cannot be read.
inline int runFloorListing(const std::string &dir) {
    const FloorListing listing = listFloor(dir);
    if (!listing.ok)
        return 1;
    std::printf("floor items=%zu first_ms=%.1f complete_ms=%.1f peak_kb=%ld base_kb=0 "
                "max_block_ms=0\n",
                listing.entries.size(), listing.firstMs, listing.completeMs, statusKb("VmHWM"));
    return 0;
}
