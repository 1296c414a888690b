#include "arrival_time.h"

#include <windows.h>

#include "iso_time.h"

namespace {

constexpr uint64_t TicksPerMs = 10000;
// FILETIME ticks from 1601-01-01 to 1970-01-01.
constexpr uint64_t UnixEpochTicks = 116444736000000000ull;

uint64_t TicksOf(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

ArrivalTime ArrivalFromTicks(uint64_t utcTicks, uint64_t localTicks)
{
    ArrivalTime arrival;
    int64_t utcMs = static_cast<int64_t>(utcTicks / TicksPerMs) - static_cast<int64_t>(UnixEpochTicks / TicksPerMs);
    int64_t localMs = static_cast<int64_t>(localTicks / TicksPerMs) - static_cast<int64_t>(UnixEpochTicks / TicksPerMs);
    arrival.utcMs = utcMs;
    // Offsets are whole minutes; the two readings of one instant differ by exactly the offset.
    arrival.offsetMinutes = static_cast<int16_t>((localMs - utcMs) / 60000);
    int64_t msOfDay = localMs % MsPerDay;
    arrival.msOfDay = static_cast<uint32_t>(msOfDay < 0 ? msOfDay + MsPerDay : msOfDay);
    return arrival;
}

ArrivalTime CurrentArrivalTime()
{
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    FILETIME local;
    if (!FileTimeToLocalFileTime(&utc, &local)) {
        local = utc;
    }
    return ArrivalFromTicks(TicksOf(utc), TicksOf(local));
}

void StampArrival(ReceivedLine* line)
{
    ArrivalTime now = CurrentArrivalTime();
    line->arrivalMsOfDay = now.msOfDay;
    line->arrivalUtcMs = now.utcMs;
    line->utcOffsetMinutes = now.offsetMinutes;
}
