#include "iso_time.h"

#include <stdio.h>

namespace {

constexpr int MaxOffsetMinutes = 24 * 60 - 1;

// Division that rounds towards minus infinity, so instants before 1970 fall on the right day.
int64_t FloorDivide(int64_t value, int64_t divisor)
{
    int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// The proleptic Gregorian date of a day counted from 1970-01-01 (Howard Hinnant's algorithm).
void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day)
{
    days += 719468;
    int64_t era = FloorDivide(days, 146097);
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    *day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    *month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

} // namespace

std::string FormatIsoTime(int64_t utcMs, int offsetMinutes)
{
    if (offsetMinutes > MaxOffsetMinutes || offsetMinutes < -MaxOffsetMinutes) {
        offsetMinutes = 0;
    }
    int64_t localMs = utcMs + static_cast<int64_t>(offsetMinutes) * 60000;
    int64_t days = FloorDivide(localMs, MsPerDay);
    int64_t msOfDay = localMs - days * MsPerDay;
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days, &year, &month, &day);
    if (year < 0 || year > 9999) {
        return std::string();
    }
    unsigned offset = static_cast<unsigned>(offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
    char text[64];
    snprintf(text, sizeof(text), "%04lld-%02u-%02uT%02u:%02u:%02u.%03u%c%02u:%02u", static_cast<long long>(year),
             month, day, static_cast<unsigned>(msOfDay / 3600000), static_cast<unsigned>(msOfDay / 60000 % 60),
             static_cast<unsigned>(msOfDay / 1000 % 60), static_cast<unsigned>(msOfDay % 1000),
             offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}
