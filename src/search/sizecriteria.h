// Size bounds of a search.
#pragma once

#include "search/customcriteria.h"

#include <cstdint>

// Min and Max in bytes, inclusive; 0 means no bound. Not thread-safe: a search uses its copy.
class TSizeCriteria : public TCustomCriteria {
public:
    void Assign(const TCustomCriteria *source) override;
    void Clear() override { fMin = fMax = 0; }
    const char *ClassName() const override { return "TSizeCriteria"; }

    int64_t Min() const { return fMin; }
    void SetMin(int64_t value) { fMin = value; }
    int64_t Max() const { return fMax; }
    void SetMax(int64_t value) { fMax = value; }

    bool Active() const { return fMin != 0 || fMax != 0; }
    bool Matches(int64_t size) const {
        return !(fMin != 0 && size < fMin) && !(fMax != 0 && size > fMax);
    }

private:
    int64_t fMin = 0;
    int64_t fMax = 0;
};
