#include "wide_text.h"

#include <windows.h>

std::wstring Utf8ToWide(std::string_view utf8)
{
    return CodePageToWide(utf8, CP_UTF8);
}

std::wstring CodePageToWide(std::string_view text, unsigned codePage)
{
    if (text.empty()) {
        return std::wstring();
    }
    int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    }
    return wide;
}

std::string WideToUtf8(std::wstring_view wide)
{
    if (wide.empty()) {
        return std::string();
    }
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], length, NULL, NULL);
    }
    return utf8;
}
