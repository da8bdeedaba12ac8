// A temporary folder tree for the search tests, removed with the object.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

class TempTree {
public:
    TempTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "xzsearch-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        root_ += '/';
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;

    // The root folder, ending with "/".
    const std::string &Root() const { return root_; }
    std::string Path(std::string_view relative) const { return root_ + std::string(relative); }

    // Writes a file (creating its folders) and returns its full path.
    std::string File(std::string_view relative, std::string_view content = "") const {
        const std::string path = Path(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(content.data(), std::streamsize(content.size()));
        return path;
    }
    // Creates a folder (and its parents) and returns its full path ending with "/".
    std::string Folder(std::string_view relative) const {
        const std::string path = Path(relative);
        std::filesystem::create_directories(path);
        return path.back() == '/' ? path : path + '/';
    }

private:
    std::string root_;
};
