// The rules the terminal's benchmarks filter with: five exclude and five highlight rules, plain
// texts and regular expressions, with and without regard to case, one restricted to a class.
#pragma once

constexpr const char* BenchRules =
    "exclude 'heartbeat'\n"
    "exclude regex 'line [0-9]*7 of'\n"
    "exclude case 'NEVER THERE'\n"
    "exclude class=error 'timeout'\n"
    "exclude regex '^skip(ped)? '\n"
    "highlight #FFB0B0 'worker 3'\n"
    "highlight #B0FFB0 regex 'line [0-9]+5 '\n"
    "highlight #B0B0FF case 'Bench'\n"
    "highlight regex 'thread (1|2)$'\n"
    "highlight class=log 'queue'\n";
// Added to them: the new filter a user applies.
constexpr const char* NewFilterRule = "include regex 'line [0-9]*[02468] '\n";
