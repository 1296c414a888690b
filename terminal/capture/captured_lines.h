// A captured text as the terminal's lines: one of class ods a part, with the text's arrival and
// writer.
#pragma once

#include <string>
#include <vector>

#include "debug_output_listener.h"
#include "received_line.h"

std::vector<ReceivedLine> CapturedLines(CapturedText&& text);

// A process's image name in the lines' code page (the system's ANSI one); a character it cannot
// hold becomes '?'.
std::string AnsiProcessName(const std::wstring& name);
