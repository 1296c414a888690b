// UTF-8 (the engines' texts: rules, messages, file names in messages) and UTF-16 (what controls and
// file names take) into each other.
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
