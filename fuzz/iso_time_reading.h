// An instant as RFC 3339 writes it (RFC 5424's TIMESTAMP is the same with at most six digits of
// fraction), read strictly and worked back into milliseconds since 1970 and an offset, for the
// fuzzers that check what the terminal writes for others. Days are counted from the civil date
// here, the other way round from the writer.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

struct IsoInstant {
    int64_t utcMs = 0;
    int offsetMinutes = 0;
};

namespace iso_time_reading {

inline bool Digits(const std::string& text, size_t at, size_t count, int* value)
{
    if (at + count > text.size()) {
        return false;
    }
    *value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

inline bool LeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

inline int DaysInMonth(int year, int month)
{
    static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : Days[month - 1];
}

// Days from 1970-01-01 to the date, counting year by year and month by month.
inline int64_t DaysSinceEpoch(int year, int month, int day)
{
    int64_t days = 0;
    for (int y = 1970; y < year; ++y) {
        days += LeapYear(y) ? 366 : 365;
    }
    for (int y = year; y < 1970; ++y) {
        days -= LeapYear(y) ? 366 : 365;
    }
    for (int m = 1; m < month; ++m) {
        days += DaysInMonth(year, m);
    }
    return days + day - 1;
}

} // namespace iso_time_reading

// "YYYY-MM-DDTHH:MM:SS[.F{1,maxFraction}](Z|+HH:MM|-HH:MM)", the whole text. False when it is
// not one, or names a date or time that does not exist.
inline bool ReadIsoInstant(const std::string& text, size_t maxFraction, IsoInstant* instant)
{
    using namespace iso_time_reading;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, 0, 4, &year) || text.size() < 19 || text[4] != '-' || !Digits(text, 5, 2, &month) ||
        text[7] != '-' || !Digits(text, 8, 2, &day) || text[10] != 'T' || !Digits(text, 11, 2, &hour) ||
        text[13] != ':' || !Digits(text, 14, 2, &minute) || text[16] != ':' || !Digits(text, 17, 2, &second)) {
        return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return false;
    }
    size_t at = 19;
    int64_t fractionMs = 0;
    if (at < text.size() && text[at] == '.') {
        size_t digits = 0;
        int64_t scale = 100;
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
            fractionMs += (text[at] - '0') * scale;
            scale /= 10;
        }
        if (digits == 0 || digits > maxFraction) {
            return false;
        }
    }
    int offset = 0;
    if (at < text.size() && text[at] == 'Z') {
        ++at;
    } else {
        int offsetHours = 0;
        int offsetMinutes = 0;
        if (at >= text.size() || (text[at] != '+' && text[at] != '-') || !Digits(text, at + 1, 2, &offsetHours) ||
            at + 3 >= text.size() || text[at + 3] != ':' || !Digits(text, at + 4, 2, &offsetMinutes) ||
            offsetHours > 23 || offsetMinutes > 59) {
            return false;
        }
        offset = (offsetHours * 60 + offsetMinutes) * (text[at] == '-' ? -1 : 1);
        at += 6;
    }
    if (at != text.size()) {
        return false;
    }
    int64_t localMs = ((DaysSinceEpoch(year, month, day) * 24 + hour) * 60 + minute) * 60000 + second * 1000 + fractionMs;
    instant->utcMs = localMs - static_cast<int64_t>(offset) * 60000;
    instant->offsetMinutes = offset;
    return true;
}

// Whether RFC 3339 can write the local time of the instant: its year is one of 0000 to 9999.
// offsetMinutes is the one written (an offset of a day or more is written as zero).
inline bool IsoWritable(int64_t utcMs, int offsetMinutes)
{
    const int64_t FirstMs = -62167219200000;  // 0000-01-01T00:00
    const int64_t PastLastMs = 253402300800000;  // 10000-01-01T00:00
    int64_t localMs = utcMs + static_cast<int64_t>(offsetMinutes) * 60000;
    return localMs >= FirstMs && localMs < PastLastMs;
}
