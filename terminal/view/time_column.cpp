#include "time_column.h"

#include <stdio.h>

#include "iso_time.h"
#include "line_text.h"

const char* TimeModeName(TimeMode mode)
{
    switch (mode) {
    case TimeMode::Clock: return "clock";
    case TimeMode::SinceStart: return "since-start";
    case TimeMode::SincePrevious: return "since-previous";
    }
    return "clock";
}

bool TimeModeNamed(const std::string& name, TimeMode* mode)
{
    for (TimeMode candidate : {TimeMode::Clock, TimeMode::SinceStart, TimeMode::SincePrevious}) {
        if (name == TimeModeName(candidate)) {
            *mode = candidate;
            return true;
        }
    }
    return false;
}

int64_t ElapsedMs(const StoredLine& earlier, const StoredLine& later)
{
    if (earlier.arrivalUtcMs != 0 && later.arrivalUtcMs != 0) {
        return later.arrivalUtcMs - earlier.arrivalUtcMs;
    }
    int64_t difference = static_cast<int64_t>(later.arrivalMsOfDay % MsPerDay) -
                         static_cast<int64_t>(earlier.arrivalMsOfDay % MsPerDay);
    return difference < 0 ? difference + MsPerDay : difference;
}

std::string FormatElapsed(int64_t ms, bool withSign)
{
    bool negative = ms < 0;
    uint64_t magnitude = negative ? static_cast<uint64_t>(-(ms + 1)) + 1 : static_cast<uint64_t>(ms);
    uint64_t hours = magnitude / 3600000;
    unsigned minutes = static_cast<unsigned>(magnitude / 60000 % 60);
    unsigned seconds = static_cast<unsigned>(magnitude / 1000 % 60);
    unsigned millis = static_cast<unsigned>(magnitude % 1000);
    char text[48];
    const char* sign = negative ? "-" : (withSign ? "+" : "");
    if (hours > 0) {
        snprintf(text, sizeof(text), "%s%llu:%02u:%02u.%03u", sign, static_cast<unsigned long long>(hours), minutes,
                 seconds, millis);
    } else if (minutes > 0) {
        snprintf(text, sizeof(text), "%s%u:%02u.%03u", sign, minutes, seconds, millis);
    } else {
        snprintf(text, sizeof(text), "%s%u.%03u", sign, seconds, millis);
    }
    return text;
}

void TimeColumn::Observe(const StoredLine& line)
{
    if (line.lineClass == LineClass::ClearMarker || !origin_.has_value()) {
        ReceivedLine origin;
        origin.arrivalMsOfDay = line.arrivalMsOfDay;
        origin.arrivalUtcMs = line.arrivalUtcMs;
        origin.utcOffsetMinutes = line.utcOffsetMinutes;
        origin_ = origin;
    }
}

std::string TimeColumn::Text(const StoredLine& line, const StoredLine* previousShown) const
{
    switch (mode_) {
    case TimeMode::Clock: break;
    case TimeMode::SinceStart:
        return FormatElapsed(origin_.has_value() ? ElapsedMs(*origin_, line) : 0, false);
    case TimeMode::SincePrevious:
        return FormatElapsed(previousShown != nullptr ? ElapsedMs(*previousShown, line) : 0, true);
    }
    std::string time = FormatTimeOfDay(line.arrivalMsOfDay);
    if (showDates_ && line.arrivalUtcMs != 0) {
        std::string iso = FormatIsoTime(line.arrivalUtcMs, line.utcOffsetMinutes);
        if (!iso.empty()) {
            return iso.substr(0, 10) + " " + time;  // "2026-12-09"
        }
    }
    return time;
}
