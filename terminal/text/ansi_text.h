// The hosts' 8-bit text, in the system's ANSI code page, and UTF-8: for JSON output, syslog
// messages, and rule patterns (kept as UTF-8) matched against lines.
#pragma once

#include <string>
#include <string_view>

// text decoded from codePage (0: the system's ANSI code page) into UTF-8, as Windows decodes it
// (a byte the code page leaves undefined becomes the character Windows maps it to). Never fails;
// ASCII text comes back as it is.
std::string AnsiToUtf8(std::string_view text, unsigned codePage = 0);

// utf8 encoded in codePage (0: the system's). False when utf8 is not valid UTF-8 or has a
// character the code page cannot hold (no best-fit substitutes).
bool Utf8ToAnsi(std::string_view utf8, unsigned codePage, std::string* out);

// True when text has no byte above 0x7F: such text reads the same in every code page.
bool IsAsciiText(std::string_view text);

// codePage, or the system's ANSI code page (GetACP) for 0.
unsigned ResolvedCodePage(unsigned codePage);
