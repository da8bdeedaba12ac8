// Size bounds of a search.
#include "search/sizecriteria.h"

void TSizeCriteria::Assign(const TCustomCriteria *source) {
    const TSizeCriteria &other = AssignSource(source, *this);
    fMin = other.fMin;
    fMax = other.fMax;
}
