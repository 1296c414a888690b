// Text inside a double-quoted string, as JSON and the rules file write it.
#pragma once

#include <string>
#include <string_view>

#include "ascii_text.h"

// Appends text with " and \ escaped by a backslash, and every control character and DEL written
// as controlPrefix and two upper-case hexadecimal digits (JSON's "\u00", the rules file's "\x").
inline void AppendBackslashEscaped(std::string* out, std::string_view text, const char* controlPrefix)
{
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            *out += '\\';
            *out += c;
        } else if (u < 0x20 || u == 0x7F) {
            *out += controlPrefix;
            *out += UpperHexDigits[u >> 4];
            *out += UpperHexDigits[u & 15];
        } else {
            *out += c;
        }
    }
}
