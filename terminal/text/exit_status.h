// What every command of the terminal ends with (the usage lists them).
#pragma once

constexpr int DoneExitStatus = 0;
constexpr int FailureExitStatus = 1;  // failed, timed out or interrupted
constexpr int AnotherTerminalExitStatus = 2;
constexpr int UsageExitStatus = 64;  // a command line that makes no sense (as in sysexits' EX_USAGE)
