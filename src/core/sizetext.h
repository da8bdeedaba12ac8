// Size texts of byte counts ("12 KB", "1.00 MB", "2,048.00 GB") as the file list shows them.
#pragma once

#include <cstdint>
#include <string>

namespace xz {

// Separators of the user's locale; the defaults are those of zh_CN and en_US.
struct NumberSeparators {
    std::string thousands = ",";
    std::string decimal = ".";
};

// The size text of a byte count: whole kilobytes (rounded up), or megabytes or gigabytes with
// `decimals` decimals once the kilobyte value exceeds 1024. Negative counts are treated as 0.
std::string kezformatsize(std::int64_t bytes, int decimals,
                          const NumberSeparators &separators = NumberSeparators());

// A non-negative number with thousands separators and `decimals` decimals, rounded to the
// nearest at the last shown digit.
std::string formatGroupedNumber(double value, int decimals, const NumberSeparators &separators);

} // namespace xz
