// ASCII as the terminal's texts need it: hexadecimal digits read and written, and text of any
// origin narrowed for a message.
#pragma once

#include <string>
#include <string_view>

constexpr char UpperHexDigits[] = "0123456789ABCDEF";

// 0 to 15 for a hexadecimal digit of either case, -1 for anything else.
inline int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// text as far as it is printable ASCII, '?' for every other character: how a path, an option or
// an address the user gave is shown in a message.
inline std::string ShownAscii(std::wstring_view text)
{
    std::string out;
    for (wchar_t c : text) {
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return out;
}
