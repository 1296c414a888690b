// What the headless terminal is asked to do with its lines: where it writes them, how, and to
// which collectors it forwards them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "rotating_output.h"
#include "syslog_destination.h"

// How headless output reads: the terminal's text lines, or one JSON object a line.
enum class OutputFormat { Text, Json };

// The largest --rotate size: 1 TiB.
constexpr uint64_t MaxRotateBytes = 1ull << 40;

struct HeadlessOptions {
    std::wstring outputPath;  // empty: standard output
    OutputFormat format = OutputFormat::Text;
    uint64_t rotateBytes = 0;  // 0: the output file is never rotated
    unsigned keptFiles = DefaultKeptFiles;
    // Forwarding to syslog collectors (--forward, once or more; --forward-queue).
    std::vector<SyslogDestination> forwardTo;
    size_t forwardQueueLines = DefaultForwardQueueLines;
    // What programs write with OutputDebugString, beside the hosts' lines (--capture-ods[=global]).
    bool captureOds = false;
    bool captureGlobal = false;  // the machine's output too
};
