// The terminal's messages to its user reach standard error through one writer thread, so that a
// standard error nobody reads (a pipe whose reader has stopped) never holds up a forwarding
// thread or the terminal's end. A message waits for its write at most UserMessageWaitMs, and
// none waits at all while an earlier write hangs; at most MaxWaitingUserMessages wait to be
// written, those beyond are dropped and counted, and the count is said once writing works again.
#pragma once

#include <windows.h>

#include <stddef.h>

#include <string>

constexpr DWORD UserMessageWaitMs = 1000;
constexpr size_t MaxWaitingUserMessages = 100;

// Writes line (a whole message, its line end included) to the handle. False when it could not be
// written, or not in time (it may still be written later).
bool WriteUserMessage(HANDLE error, const std::string& line);
