// An instant written as ISO 8601 / RFC 3339 local time with its offset, as JSON output and
// syslog messages carry it: "2026-12-08T14:24:12.449+01:00".
#pragma once

#include <stdint.h>

#include <string>
#include <string_view>

constexpr int64_t MsPerDay = 86400000;

// utcMs: milliseconds since 1970-01-01 00:00 UTC; offsetMinutes: the local time's offset from
// UTC (east positive, at most a day either way). A zero offset is written "+00:00". Empty when the
// local year is not one of 0000 to 9999, which are all the years RFC 3339 can write (a clock may
// be set as far as 30827).
std::string FormatIsoTime(int64_t utcMs, int offsetMinutes);

// The instant and offset of a time exactly as FormatIsoTime writes it; false for any other text
// (another shape, a day the month lacks, an hour past 23, an offset of a day or more).
bool ParseIsoTime(std::string_view text, int64_t* utcMs, int* offsetMinutes);
