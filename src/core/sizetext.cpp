// Size texts of byte counts: kilobytes rounded up, then megabytes and gigabytes.
#include "core/sizetext.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace xz {

namespace {

// Each step up the unit table divides by this many.
constexpr double kUnitStep = 1024.0;
const std::array<const char *, 3> kUnitNames = {"KB", "MB", "GB"};

std::int64_t kilobytesRoundedUp(std::int64_t bytes) {
    if (bytes <= 0)
        return 0;
    return bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
}

} // namespace

std::string formatGroupedNumber(double value, int decimals, const NumberSeparators &separators) {
    if (decimals < 0)
        decimals = 0;
    // Scale to an integer first so halves round away from zero rather than to even.
    const double scale = std::pow(10.0, decimals);
    const auto scaled = static_cast<unsigned long long>(std::llround(std::max(value, 0.0) * scale));
    const std::string digits = std::to_string(scaled);
    const std::string padded =
        digits.size() <= static_cast<std::size_t>(decimals)
            ? std::string(static_cast<std::size_t>(decimals) + 1 - digits.size(), '0') + digits
            : digits;
    const std::string whole = padded.substr(0, padded.size() - static_cast<std::size_t>(decimals));
    std::string result;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            result += separators.thousands;
        result += whole[i];
    }
    if (decimals > 0)
        result += separators.decimal + padded.substr(whole.size());
    return result;
}

std::string kezformatsize(std::int64_t bytes, int decimals, const NumberSeparators &separators) {
    double value = static_cast<double>(kilobytesRoundedUp(bytes));
    std::size_t unit = 0;
    while (value > kUnitStep && unit + 1 < kUnitNames.size()) {
        value /= kUnitStep;
        ++unit;
    }
    const int shownDecimals = unit == 0 ? 0 : decimals;
    return formatGroupedNumber(value, shownDecimals, separators) + " " + kUnitNames[unit];
}

} // namespace xz
