// File times and the date-time values (days since 1899-12-30, local time) of the search criteria.
#pragma once

#include <cstdint>
#include <ctime>

// 100-nanosecond intervals since 1601-01-01 UTC.
using TFileTime = uint64_t;

// Days since 1899-12-30 00:00 local time; the fraction is the time of day. 0 means "not set".
using TDateTime = double;

// The file time of a POSIX time (seconds and nanoseconds since 1970-01-01 UTC).
TFileTime UnixTimeToFileTime(int64_t seconds, uint32_t nanoseconds);

// Converts a UTC file time to local time with the given offset east of UTC, truncated to
// whole milliseconds.
TDateTime FileTimeToDateTime(TFileTime fileTime, long offsetSeconds);

// Converts a UTC file time to local time with the time-zone offset in effect now (not the one
// in effect at the file's date), as the search's time bounds are compared in.
TDateTime FileTimeToLocalDateTime(TFileTime fileTime);

// The local time-zone offset east of UTC in effect now, in seconds.
long CurrentUtcOffsetSeconds();

// Date-time of a calendar date and time of day.
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int millisecond = 0);

// Tests a value against an upper (Before) and lower (After) bound, both inclusive, 0 = none. A
// bound without fraction compares dates only, a bound without whole part compares times of day
// only, any other bound compares exactly.
bool IsTimeInRange(TDateTime value, TDateTime before, TDateTime after);
