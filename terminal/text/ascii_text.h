// ASCII as the terminal's texts need it: hexadecimal digits read and written.
#pragma once

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
