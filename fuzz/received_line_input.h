// A received line as the fuzzers of what the terminal writes for others read it from their input:
// class, carriage, arrival instant and offset, the hosts' code page, and the text's bytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "fuzz_input.h"
#include "received_line.h"

// The code pages the stand-in converts (windows-stand-in/windows.h), the hosts' ANSI code pages
// of Western, Central European, Cyrillic, Thai, Japanese, Simplified and Traditional Chinese and
// Korean Windows, and UTF-8.
const unsigned FuzzedCodePages[] = {1252, 1250, 1251, 874, 932, 936, 950, 949, 65001};

// The instants a FILETIME can hold, from 1601-01-01 to 30828-09-14, in milliseconds since 1970:
// what the clock can give the line's arrival.
const int64_t EarliestArrivalMs = -11644473600000;
const int64_t LatestArrivalMs = 910692730085477;

struct FuzzedLine {
    ReceivedLine line;
    unsigned codePage = 0;
};

// Choices (a byte: the low six bits class and carriage, 0x40 an ods line, 0x80 the instant
// unknown), the code page (a byte), the instant (eight bytes) and the offset (two bytes, any
// 16-bit value); for an ods line the writer's id (four bytes) and name (a length byte, up to 255
// bytes); then the text: every byte left.
inline FuzzedLine ReadFuzzedLine(FuzzInput& input)
{
    static const LineClass HostClasses[] = {LineClass::Debug,     LineClass::Log,         LineClass::Statistic,
                                            LineClass::Error,     LineClass::Separator,   LineClass::ClearMarker};
    FuzzedLine fuzzed;
    uint8_t choices = input.Byte();
    bool ods = (choices & 0x40) != 0;
    fuzzed.line.lineClass = ods ? LineClass::Ods : HostClasses[(choices & 0x3F) % 6];
    fuzzed.line.carriage = ods ? LineCarriage::Carried : static_cast<LineCarriage>(((choices & 0x3F) / 6) % 3);
    bool instantKnown = (choices & 0x80) == 0;
    fuzzed.codePage = FuzzedCodePages[input.Byte() % (sizeof(FuzzedCodePages) / sizeof(FuzzedCodePages[0]))];
    uint64_t instant = input.Word32() | (static_cast<uint64_t>(input.Word32()) << 32);
    uint64_t span = static_cast<uint64_t>(LatestArrivalMs - EarliestArrivalMs) + 1;
    fuzzed.line.arrivalUtcMs = instantKnown ? EarliestArrivalMs + static_cast<int64_t>(instant % span) : 0;
    fuzzed.line.utcOffsetMinutes = static_cast<int16_t>(input.Byte() | (input.Byte() << 8));
    if (ods) {
        fuzzed.line.processId = input.Word32();
        size_t nameLength = input.Byte();
        for (size_t i = 0; i < nameLength; ++i) {
            fuzzed.line.processName += static_cast<char>(input.Byte());
        }
    }
    fuzzed.line.text = input.Rest();
    return fuzzed;
}
