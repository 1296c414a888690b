// UTF-8 (the engines' texts: rules, messages, file names in messages) and UTF-16 (what controls,
// consoles and file names take) into each other.
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view utf8);
// Text in a code page (CP_ACP, CP_UTF8, ...) as UTF-16; what cannot be read becomes U+FFFD.
std::wstring CodePageToWide(std::string_view text, unsigned codePage);
std::string WideToUtf8(std::wstring_view wide);
