// File times and the date-time values of the search criteria.
#include "search/datetime.h"

#include <cmath>

namespace {

constexpr int64_t kFileTimeUnitsPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kFileTimeToUnixSeconds = 11'644'473'600;
// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;
constexpr double kMillisecondsPerDay = 86'400'000.0;

int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

TFileTime UnixTimeToFileTime(int64_t seconds, uint32_t nanoseconds) {
    return static_cast<TFileTime>((seconds + kFileTimeToUnixSeconds) * kFileTimeUnitsPerSecond +
                                  nanoseconds / 100);
}

TDateTime FileTimeToDateTime(TFileTime fileTime, long offsetSeconds) {
    const int64_t utcMilliseconds =
        static_cast<int64_t>(fileTime / 10'000) - kFileTimeToUnixSeconds * 1000;
    const int64_t localMilliseconds = utcMilliseconds + int64_t(offsetSeconds) * 1000;
    // Whole days and the time of day separately, so that times before 1899-12-30 keep the
    // convention that the fraction is the time of day.
    int64_t days = localMilliseconds / 86'400'000;
    int64_t rest = localMilliseconds % 86'400'000;
    if (rest < 0) {
        rest += 86'400'000;
        --days;
    }
    const double whole = kUnixEpochDays + static_cast<double>(days);
    const double fraction = static_cast<double>(rest) / kMillisecondsPerDay;
    return whole >= 0 ? whole + fraction : whole - fraction;
}

long CurrentUtcOffsetSeconds() {
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}

TDateTime FileTimeToLocalDateTime(TFileTime fileTime) {
    return FileTimeToDateTime(fileTime, CurrentUtcOffsetSeconds());
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
    const double days = kUnixEpochDays + static_cast<double>(DaysFromCivil(year, month, day));
    const double fraction =
        ((hour * 60.0 + minute) * 60.0 * 1000.0 + second * 1000.0 + millisecond) /
        kMillisecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

bool IsTimeInRange(TDateTime value, TDateTime before, TDateTime after) {
    const double valueWhole = std::trunc(value);
    const double valueFraction = value - valueWhole;
    bool inRange = true;
    if (before != 0) {
        const double whole = std::trunc(before);
        if (before - whole == 0)
            inRange = inRange && valueWhole <= before;
        else if (whole == 0)
            inRange = inRange && valueFraction <= before;
        else
            inRange = inRange && value <= before;
    }
    if (after != 0) {
        const double whole = std::trunc(after);
        if (after - whole == 0)
            inRange = inRange && valueWhole >= after;
        else if (whole == 0)
            inRange = inRange && valueFraction >= after;
        else
            inRange = inRange && value >= after;
    }
    return inRange;
}
