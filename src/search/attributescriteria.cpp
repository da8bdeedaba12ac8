// Attribute conditions of a search.
#include "search/attributescriteria.h"

namespace {

uint32_t BitOf(int index) {
    return index >= 1 && index <= 32 ? 1u << (index - 1) : 0;
}

} // namespace

void TAttributesCriteria::Assign(const TCustomCriteria *source) {
    const TAttributesCriteria &other = AssignSource(source, *this);
    fOnAttributes = other.fOnAttributes;
    fOffAttributes = other.fOffAttributes;
    fAnyOnAttributes = other.fAnyOnAttributes;
    fAnyOffAttributes = other.fAnyOffAttributes;
}

void TAttributesCriteria::Clear() {
    fOnAttributes = fOffAttributes = fAnyOnAttributes = fAnyOffAttributes = 0;
}

TFileAttributeStatus TAttributesCriteria::GetAttributeStatus(int index) const {
    const uint32_t bit = BitOf(index);
    if (fOnAttributes & bit)
        return fsSet;
    if (fOffAttributes & bit)
        return fsUnset;
    if (fAnyOnAttributes & bit)
        return fsAnySet;
    if (fAnyOffAttributes & bit)
        return fsAnyUnset;
    return fsIgnore;
}

void TAttributesCriteria::SetAttributeStatus(int index, TFileAttributeStatus status) {
    const uint32_t bit = BitOf(index);
    fOnAttributes &= ~bit;
    fOffAttributes &= ~bit;
    fAnyOnAttributes &= ~bit;
    fAnyOffAttributes &= ~bit;
    switch (status) {
    case fsSet:
        fOnAttributes |= bit;
        break;
    case fsUnset:
        fOffAttributes |= bit;
        break;
    case fsAnySet:
        fAnyOnAttributes |= bit;
        break;
    case fsAnyUnset:
        fAnyOffAttributes |= bit;
        break;
    case fsIgnore:
        break;
    }
}

bool TAttributesCriteria::Matches(uint32_t attr) const {
    return (attr & fOnAttributes) == fOnAttributes && (attr & fOffAttributes) == 0 &&
           (fAnyOnAttributes == 0 || (attr & fAnyOnAttributes) != 0) &&
           (fAnyOffAttributes == 0 || (~attr & fAnyOffAttributes) != 0);
}
