// The ordered list of target folders of a search, built from folder and path specifications.
#include "search/targetpaths.h"

#include "search/utf8text.h"

#include <charconv>
#include <climits>
#include <optional>
#include <unistd.h>

namespace {

// An integer as the level syntax reads it: optional sign and decimal digits, 32-bit range.
std::optional<int> ParseLevel(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string CurrentFolder() {
    std::string buffer(4096, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return "/";
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

} // namespace

std::string CanonicalFolder(std::string_view text) {
    text = TrimBlanks(text);
    std::string full =
        text.starts_with('/') ? std::string(text) : CurrentFolder() + "/" + std::string(text);
    std::vector<std::string_view> parts;
    const std::string_view view = full;
    size_t start = 0;
    while (start <= view.size()) {
        size_t end = view.find('/', start);
        if (end == std::string_view::npos)
            end = view.size();
        const std::string_view part = view.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string canonical = "/";
    for (std::string_view part : parts) {
        canonical += part;
        canonical += '/';
    }
    return canonical;
}

void ParseFolderSpec(std::string_view text, bool &recursive, std::string &folder,
                     uint16_t &maxLevel, uint16_t &minLevel) {
    std::string_view folderText = text;
    const size_t greater = text.find('>');
    if (greater != std::string_view::npos) {
        folderText = text.substr(greater + 1);
        recursive = true;
        const std::string_view levels = TrimBlanks(text.substr(0, greater));
        if (greater > 0) {
            const size_t dash = levels.find('-');
            if (dash != std::string_view::npos) {
                if (const auto level = ParseLevel(levels.substr(0, dash)))
                    minLevel = static_cast<uint16_t>(*level);
                if (const auto level = ParseLevel(levels.substr(dash + 1)))
                    maxLevel = static_cast<uint16_t>(*level);
            } else {
                if (const auto level = ParseLevel(levels))
                    maxLevel = static_cast<uint16_t>(*level);
                minLevel = 0;
            }
        }
    } else if (const size_t less = text.find('<'); less != std::string_view::npos) {
        folderText = text.substr(less + 1);
        recursive = false;
    }
    folder = CanonicalFolder(folderText);
}

TTargetPath *TTargetPaths::Find(std::string_view folder) const {
    for (const auto &item : items_)
        if (item->Folder() == folder)
            return item.get();
    return nullptr;
}

TTargetPath &TTargetPaths::addFolder(std::string_view folderInfo, bool recursive, uint16_t minLevel,
                                     uint16_t maxLevel) {
    std::string folder;
    ParseFolderSpec(folderInfo, recursive, folder, maxLevel, minLevel);
    TTargetPath *target = Find(folder);
    if (!target) {
        items_.push_back(std::make_unique<TTargetPath>(folder));
        target = items_.back().get();
    }
    target->SetFolder(folder);
    target->SetRecursive(recursive);
    target->SetMinLevel(minLevel);
    target->SetMaxLevel(maxLevel);
    return *target;
}

TTargetPath &TTargetPaths::AddPath(std::string_view pathInfo, bool recursive, uint16_t minLevel,
                                   uint16_t maxLevel) {
    const size_t slash = pathInfo.rfind('/');
    const size_t maskStart = slash == std::string_view::npos ? 0 : slash + 1;
    // The mask must not carry the level syntax of a folder-less line ("2>*.c").
    std::string_view folderPart = pathInfo.substr(0, maskStart);
    std::string_view mask = pathInfo.substr(maskStart);
    if (slash == std::string_view::npos) {
        const size_t marker = mask.find_last_of("<>");
        if (marker != std::string_view::npos) {
            folderPart = pathInfo.substr(0, marker + 1);
            mask = mask.substr(marker + 1);
        }
    }
    TTargetPath &target = addFolder(folderPart, recursive, minLevel, maxLevel);
    target.AddMask(mask.empty() ? kAllFilesMask : std::string(mask));
    return target;
}

TTargetPath &TTargetPaths::AddFolderAndMasks(std::string_view folderInfo,
                                             const std::vector<std::string> *fileMasks,
                                             bool recursive, uint16_t minLevel, uint16_t maxLevel) {
    TTargetPath &target = addFolder(folderInfo, recursive, minLevel, maxLevel);
    if (fileMasks && !fileMasks->empty()) {
        for (const std::string &mask : *fileMasks)
            target.AddMask(mask);
    } else {
        target.AddMask(kAllFilesMask);
    }
    return target;
}
