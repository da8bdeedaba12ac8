// All criteria of a search bundled, and the per-entry test in its cheap-to-costly order.
#pragma once

#include "search/attributescriteria.h"
#include "search/contentcriteria.h"
#include "search/customcriteria.h"
#include "search/datetimecriteria.h"
#include "search/filecriteria.h"
#include "search/finddata.h"
#include "search/sizecriteria.h"

#include <string>
#include <string_view>

// Owns one object of each criteria class for its whole life; the setters copy into them.
// Not thread-safe: the engine gives each search a private copy, read by one thread.
class TSearchCriteria : public TCustomCriteria {
public:
    TSearchCriteria() = default;
    TSearchCriteria(const TSearchCriteria &) = delete;
    TSearchCriteria &operator=(const TSearchCriteria &) = delete;

    void Assign(const TCustomCriteria *source) override;
    void Clear() override;
    const char *ClassName() const override { return "TSearchCriteria"; }

    TFileCriteria &Files() { return fFiles; }
    const TFileCriteria &Files() const { return fFiles; }
    void SetFiles(const TFileCriteria &value) { fFiles.Assign(&value); }
    TAttributesCriteria &Attributes() { return fAttributes; }
    const TAttributesCriteria &Attributes() const { return fAttributes; }
    void SetAttributes(const TAttributesCriteria &value) { fAttributes.Assign(&value); }
    TDateTimeCriteria &TimeStamp() { return fTimeStamp; }
    const TDateTimeCriteria &TimeStamp() const { return fTimeStamp; }
    void SetTimeStamp(const TDateTimeCriteria &value) { fTimeStamp.Assign(&value); }
    TSizeCriteria &Size() { return fSize; }
    const TSizeCriteria &Size() const { return fSize; }
    void SetSize(const TSizeCriteria &value) { fSize.Assign(&value); }
    TContentCriteria &Content() { return fContent; }
    const TContentCriteria &Content() const { return fContent; }
    void SetContent(const TContentCriteria &value) { fContent.Assign(&value); }

    // Attributes, size, times, path filters, then content; false at the first failing test.
    // Size, times and the attribute bits that need a stat are read from the entry only when a
    // criterion asks for them; an entry that cannot be stat'ed then does not match.
    bool Matches(std::string_view folder, TFindData &findData) const;

    // True when Matches reads the entry's details (a stat) for some entry.
    bool NeedsDetails() const;

private:
    TFileCriteria fFiles;
    TAttributesCriteria fAttributes;
    TDateTimeCriteria fTimeStamp;
    TSizeCriteria fSize;
    TContentCriteria fContent;
    mutable std::string contentPath_; // reused for the content test's full path
};
