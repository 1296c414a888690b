// One line as the terminal received it, and the names its classes go by on screen and on disk.
#pragma once

#include <stdint.h>

#include <string>
#include <string_view>

enum class LineClass : uint8_t {
    Debug,
    Log,
    Statistic,
    Error,
    Separator,
    // What a program of the session wrote with OutputDebugString, captured beside the hosts' lines.
    Ods,
    // Not a host's line: the point in the stream where a clear request arrived, so that
    // whoever consumes the stream clears (or marks) at the right place among the lines.
    ClearMarker,
};

// The classes a user can show or hide; ClearMarker is never kept.
constexpr int ShownClassCount = 6;

// Why a line has no text of its own.
enum class LineCarriage : uint8_t {
    Carried,
    // The host's atom table refused the line (over 255 characters or a full table): atom 0.
    TooLong,
    // The atom no longer named a string when the terminal read it.
    Unreadable,
};

struct ReceivedLine {
    uint32_t arrivalMsOfDay = 0;  // local time of arrival, milliseconds since midnight
    LineClass lineClass = LineClass::Debug;
    LineCarriage carriage = LineCarriage::Carried;
    // The local time's offset from UTC at arrival, in minutes east of Greenwich.
    int16_t utcOffsetMinutes = 0;
    // The instant of arrival, milliseconds since 1970-01-01 00:00 UTC; 0 when only the time of
    // day is known (a line read back from a saved file).
    int64_t arrivalUtcMs = 0;
    std::string text;  // the atom's string exactly as carried, in the host's ANSI code page
    // Who wrote an ods line (the library's protocol carries no process): the writer's id as it
    // gave it, and its image name in the same code page as the text, empty when it had ended.
    uint32_t processId = 0;
    std::string processName;
};

// A line as the line store keeps it, read in place: ReceivedLine's members, the text borrowed from
// the store (valid until the store drops or clears the line) or from a ReceivedLine.
struct StoredLine {
    uint32_t arrivalMsOfDay = 0;
    LineClass lineClass = LineClass::Debug;
    LineCarriage carriage = LineCarriage::Carried;
    int16_t utcOffsetMinutes = 0;
    int64_t arrivalUtcMs = 0;
    std::string_view text;
    uint32_t processId = 0;
    std::string_view processName;

    StoredLine() = default;
    // Implicit on purpose: whatever reads a stored line reads a received one the same way.
    StoredLine(const ReceivedLine& line)
        : arrivalMsOfDay(line.arrivalMsOfDay), lineClass(line.lineClass), carriage(line.carriage),
          utcOffsetMinutes(line.utcOffsetMinutes), arrivalUtcMs(line.arrivalUtcMs), text(line.text),
          processId(line.processId), processName(line.processName)
    {
    }
};

// "debug", "log", "statistic", "error", "separator", "ods", "clear".
const char* ClassLabel(LineClass lineClass);
// The class whose label is label; false for a text that is none of them.
bool ClassOfLabel(std::string_view label, LineClass* lineClass);
