// Creation, modification and access time bounds of a search.
#include "search/datetimecriteria.h"

namespace {

bool KindMatches(TFileTime time, TDateTime before, TDateTime after) {
    if (before == 0 && after == 0)
        return true;
    return IsTimeInRange(FileTimeToLocalDateTime(time), before, after);
}

} // namespace

void TDateTimeCriteria::Assign(const TCustomCriteria *source) {
    const TDateTimeCriteria &other = AssignSource(source, *this);
    fCreatedBefore = other.fCreatedBefore;
    fCreatedAfter = other.fCreatedAfter;
    fModifiedBefore = other.fModifiedBefore;
    fModifiedAfter = other.fModifiedAfter;
    fAccessedBefore = other.fAccessedBefore;
    fAccessedAfter = other.fAccessedAfter;
}

void TDateTimeCriteria::Clear() {
    fCreatedBefore = fCreatedAfter = fModifiedBefore = fModifiedAfter = 0;
    fAccessedBefore = fAccessedAfter = 0;
}

bool TDateTimeCriteria::Active() const {
    return fCreatedBefore != 0 || fCreatedAfter != 0 || fModifiedBefore != 0 ||
           fModifiedAfter != 0 || fAccessedBefore != 0 || fAccessedAfter != 0;
}

bool TDateTimeCriteria::Matches(TFileTime created, TFileTime modified, TFileTime accessed) const {
    return KindMatches(created, fCreatedBefore, fCreatedAfter) &&
           KindMatches(modified, fModifiedBefore, fModifiedAfter) &&
           KindMatches(accessed, fAccessedBefore, fAccessedAfter);
}
