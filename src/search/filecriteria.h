// Name masks, folders, recursion, levels and path filters of a search.
#pragma once

#include "search/customcriteria.h"
#include "search/targetpaths.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Which folders are searched for which names (turned into a cached TTargetPaths) and which
// paths the filter lines exclude or rescue. The cached targets are dropped whenever FileName,
// Location, Subfolders, MinLevel or MaxLevel changes value (strings compared case-sensitively)
// or the Paths lines change; Filters do not touch them. Not thread-safe: a search works on its
// own copy.
class TFileCriteria : public TCustomCriteria {
public:
    TFileCriteria() = default;
    TFileCriteria(const TFileCriteria &) = delete;
    TFileCriteria &operator=(const TFileCriteria &) = delete;

    void Assign(const TCustomCriteria *source) override;
    void Clear() override;
    const char *ClassName() const override { return "TFileCriteria"; }

    const std::string &FileName() const { return fFileName; }
    void SetFileName(const std::string &value);
    const std::string &Location() const { return fLocation; }
    void SetLocation(const std::string &value);
    const std::vector<std::string> &Paths() const { return fPaths; }
    void SetPaths(const std::vector<std::string> &lines);
    bool Subfolders() const { return fSubfolders; }
    void SetSubfolders(bool value);
    uint16_t MinLevel() const { return fMinLevel; }
    void SetMinLevel(uint16_t value);
    uint16_t MaxLevel() const { return fMaxLevel; }
    void SetMaxLevel(uint16_t value);
    const std::vector<std::string> &Filters() const { return fFilters; }
    void SetFilters(const std::vector<std::string> &lines);

    // Path filters: folder (ending with "/") followed by the name, with "." appended when the
    // name has none, against the filter lines in order; the first matching line decides (">"
    // rescues, any other line, with a leading "<" dropped, excludes). True when none matches.
    bool Matches(std::string_view folder, std::string_view fileName) const;

    // The target folders with their masks, built on first request and cached.
    TTargetPaths &BuildTargetPaths();
    void InvalidateTargetPaths() { fTargetPaths.reset(); }

private:
    std::string fFileName;
    std::string fLocation;
    std::vector<std::string> fPaths;
    bool fSubfolders = true;
    uint16_t fMinLevel = 0;
    uint16_t fMaxLevel = 0;
    std::vector<std::string> fFilters;
    std::unique_ptr<TTargetPaths> fTargetPaths;
    mutable std::string testPath_; // reused by Matches so filtering allocates once
};
