// Received lines for the tests of the terminal's parts.
#pragma once

#include <stdint.h>

#include <string>

#include "received_line.h"

// 2026-12-08 14:24:12.449 at +01:00 (13:24:12.449 UTC): the instant the time tests write out.
constexpr int64_t SampleUtcMs = 1796736252449;
constexpr int SampleOffsetMinutes = 60;
constexpr uint32_t SampleMsOfDay = ((14 * 60 + 24) * 60 + 12) * 1000 + 449;

// A carried line of no class of its own, with no arrival time.
inline ReceivedLine Line(const std::string& text)
{
    ReceivedLine line;
    line.text = text;
    return line;
}

// A carried line of the class, with no arrival time.
inline ReceivedLine Line(LineClass lineClass, const std::string& text)
{
    ReceivedLine line;
    line.lineClass = lineClass;
    line.text = text;
    return line;
}

// A carried line of the class that arrived at the sample instant.
inline ReceivedLine SampleLine(LineClass lineClass, const std::string& text)
{
    ReceivedLine line = Line(lineClass, text);
    line.arrivalUtcMs = SampleUtcMs;
    line.utcOffsetMinutes = SampleOffsetMinutes;
    line.arrivalMsOfDay = SampleMsOfDay;
    return line;
}

// What process 4321 wrote with OutputDebugString at the sample instant; name empty: it had ended.
inline ReceivedLine SampleOdsLine(const std::string& text, const std::string& processName = "name.exe")
{
    ReceivedLine line = SampleLine(LineClass::Ods, text);
    line.processId = 4321;
    line.processName = processName;
    return line;
}
