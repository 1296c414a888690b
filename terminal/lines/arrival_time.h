// When a line arrived: the time of day the list shows, and the instant with the local offset that
// JSON output, syslog messages and the elapsed-time columns need, taken from one clock reading.
#pragma once

#include <stdint.h>

#include "received_line.h"

struct ArrivalTime {
    uint32_t msOfDay = 0;  // local, since midnight
    int64_t utcMs = 0;     // since 1970-01-01 00:00 UTC
    int16_t offsetMinutes = 0;
};

// From one instant read twice as FILETIME ticks (100 ns since 1601-01-01): in UTC and in local
// time (FileTimeToLocalFileTime).
ArrivalTime ArrivalFromTicks(uint64_t utcTicks, uint64_t localTicks);

// Now.
ArrivalTime CurrentArrivalTime();

// Sets the line's arrival fields (arrivalMsOfDay, arrivalUtcMs, utcOffsetMinutes) to now. The
// place where a line is received calls this instead of setting arrivalMsOfDay alone.
void StampArrival(ReceivedLine* line);
