// Creation, modification and access time bounds of a search.
#pragma once

#include "search/customcriteria.h"
#include "search/datetime.h"

// Six bounds (0 = not set): Before is an upper, After a lower bound, both inclusive; each may be
// date-only, time-only or full (see IsTimeInRange). Not thread-safe: a search uses its own copy.
class TDateTimeCriteria : public TCustomCriteria {
public:
    void Assign(const TCustomCriteria *source) override;
    void Clear() override;
    const char *ClassName() const override { return "TDateTimeCriteria"; }

    TDateTime CreatedBefore() const { return fCreatedBefore; }
    void SetCreatedBefore(TDateTime value) { fCreatedBefore = value; }
    TDateTime CreatedAfter() const { return fCreatedAfter; }
    void SetCreatedAfter(TDateTime value) { fCreatedAfter = value; }
    TDateTime ModifiedBefore() const { return fModifiedBefore; }
    void SetModifiedBefore(TDateTime value) { fModifiedBefore = value; }
    TDateTime ModifiedAfter() const { return fModifiedAfter; }
    void SetModifiedAfter(TDateTime value) { fModifiedAfter = value; }
    TDateTime AccessedBefore() const { return fAccessedBefore; }
    void SetAccessedBefore(TDateTime value) { fAccessedBefore = value; }
    TDateTime AccessedAfter() const { return fAccessedAfter; }
    void SetAccessedAfter(TDateTime value) { fAccessedAfter = value; }

    // True when any bound is set (the entry's times are then needed).
    bool Active() const;
    // Tests created, then modified (last write), then accessed; file times are UTC.
    bool Matches(TFileTime created, TFileTime modified, TFileTime accessed) const;

private:
    TDateTime fCreatedBefore = 0;
    TDateTime fCreatedAfter = 0;
    TDateTime fModifiedBefore = 0;
    TDateTime fModifiedAfter = 0;
    TDateTime fAccessedBefore = 0;
    TDateTime fAccessedAfter = 0;
};
