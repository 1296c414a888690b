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

// Days from 1970-01-01 to a proleptic Gregorian date (the same algorithm, backwards).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    int64_t era = FloorDivide(year, 400);
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

unsigned DaysInMonth(int64_t year, unsigned month)
{
    static const unsigned Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[month - 1];
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

bool ParseIsoTime(std::string_view text, int64_t* utcMs, int* offsetMinutes)
{
    static const char Shape[] = "9999-99-99T99:99:99.999+99:99";
    if (text.size() != sizeof(Shape) - 1) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (Shape[i] == '9' ? !digit : Shape[i] == '+' ? text[i] != '+' && text[i] != '-' : text[i] != Shape[i]) {
            return false;
        }
    }
    auto number = [&text](size_t at, size_t length) {
        unsigned value = 0;
        for (size_t i = at; i < at + length; ++i) {
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
        }
        return value;
    };
    unsigned year = number(0, 4), month = number(5, 2), day = number(8, 2);
    unsigned hours = number(11, 2), minutes = number(14, 2), seconds = number(17, 2), ms = number(20, 3);
    unsigned offsetHours = number(24, 2), offsetRest = number(27, 2);
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hours > 23 || minutes > 59 ||
        seconds > 59 || offsetHours > 23 || offsetRest > 59) {
        return false;
    }
    int offset = static_cast<int>(offsetHours * 60 + offsetRest) * (text[23] == '-' ? -1 : 1);
    if (offset == 0 && text[23] == '-') {
        return false;  // the writer says "+00:00"
    }
    int64_t localMs = DaysFromCivil(year, month, day) * MsPerDay +
                      ((static_cast<int64_t>(hours) * 60 + minutes) * 60 + seconds) * 1000 + ms;
    *utcMs = localMs - static_cast<int64_t>(offset) * 60000;
    *offsetMinutes = offset;
    return true;
}
