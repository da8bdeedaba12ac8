// Name masks, folders, recursion, levels and path filters of a search.
#include "search/filecriteria.h"

#include "search/masklist.h"
#include "search/utf8text.h"
#include "search/wildcard.h"

void TFileCriteria::Assign(const TCustomCriteria *source) {
    const TFileCriteria &other = AssignSource(source, *this);
    if (&other == this)
        return;
    SetFileName(other.fFileName);
    SetLocation(other.fLocation);
    SetPaths(other.fPaths);
    SetFilters(other.fFilters);
    SetSubfolders(other.fSubfolders);
    SetMinLevel(other.fMinLevel);
    SetMaxLevel(other.fMaxLevel);
}

void TFileCriteria::Clear() {
    SetFileName("");
    SetLocation("");
    SetPaths({});
    SetSubfolders(true);
    SetMinLevel(0);
    SetMaxLevel(0);
    SetFilters({});
}

void TFileCriteria::SetFileName(const std::string &value) {
    if (value != fFileName) {
        fFileName = value;
        InvalidateTargetPaths();
    }
}

void TFileCriteria::SetLocation(const std::string &value) {
    if (value != fLocation) {
        fLocation = value;
        InvalidateTargetPaths();
    }
}

void TFileCriteria::SetPaths(const std::vector<std::string> &lines) {
    if (lines != fPaths) {
        fPaths = lines;
        InvalidateTargetPaths();
    }
}

void TFileCriteria::SetSubfolders(bool value) {
    if (value != fSubfolders) {
        fSubfolders = value;
        InvalidateTargetPaths();
    }
}

void TFileCriteria::SetMinLevel(uint16_t value) {
    if (value != fMinLevel) {
        fMinLevel = value;
        InvalidateTargetPaths();
    }
}

void TFileCriteria::SetMaxLevel(uint16_t value) {
    if (value != fMaxLevel) {
        fMaxLevel = value;
        InvalidateTargetPaths();
    }
}

void TFileCriteria::SetFilters(const std::vector<std::string> &lines) {
    fFilters = lines;
}

bool TFileCriteria::Matches(std::string_view folder, std::string_view fileName) const {
    if (fFilters.empty())
        return true;
    testPath_.assign(folder);
    testPath_.append(fileName);
    if (fileName.find('.') == std::string_view::npos)
        testPath_.push_back('.');
    for (const std::string &line : fFilters) {
        std::string_view rule = line;
        if (rule.starts_with('>')) {
            rule.remove_prefix(1);
            if (!rule.empty() && WildcardMatch(testPath_, rule))
                return true;
        } else {
            if (rule.starts_with('<'))
                rule.remove_prefix(1);
            if (!rule.empty() && WildcardMatch(testPath_, rule))
                return false;
        }
    }
    return true;
}

TTargetPaths &TFileCriteria::BuildTargetPaths() {
    if (fTargetPaths)
        return *fTargetPaths;
    fTargetPaths = std::make_unique<TTargetPaths>();
    std::vector<std::string> masks = SplitMaskList(fFileName, ';');
    if (masks.empty())
        masks.push_back(kAllFilesMask);
    for (const std::string &folder : SplitMaskList(fLocation, ';', false))
        fTargetPaths->AddFolderAndMasks(folder, &masks, fSubfolders, fMinLevel, fMaxLevel);
    for (const std::string &line : fPaths) {
        const std::string_view trimmed = TrimBlanks(line);
        if (!trimmed.empty())
            fTargetPaths->AddPath(trimmed, fSubfolders, fMinLevel, fMaxLevel);
    }
    return *fTargetPaths;
}
