#include "ansi_arguments.h"

#include <windows.h>

#include <stdio.h>

#include <set>

namespace {

// The code point at text[at], and how many UTF-16 units it takes.
unsigned long CodePointAt(const std::wstring& text, size_t at, size_t* units)
{
    wchar_t first = text[at];
    if (first >= 0xD800 && first <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
        text[at + 1] <= 0xDFFF) {
        *units = 2;
        return 0x10000 + ((static_cast<unsigned long>(first) - 0xD800) << 10) +
               (static_cast<unsigned long>(text[at + 1]) - 0xDC00);
    }
    *units = 1;
    return first;
}

// The character's bytes in the ANSI code page; false when the code page cannot carry it.
bool InCodePage(const wchar_t* character, size_t units, std::string* bytes)
{
    char converted[8];
    BOOL usedDefault = FALSE;
    // UTF-8 as the ANSI code page carries everything, and takes neither flag nor default.
    bool utf8 = GetACP() == CP_UTF8;
    int size = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, character, static_cast<int>(units),
                                   converted, sizeof(converted), NULL, utf8 ? NULL : &usedDefault);
    if (size <= 0 || usedDefault) {
        return false;
    }
    bytes->append(converted, static_cast<size_t>(size));
    return true;
}

std::string CodePointName(unsigned long codePoint)
{
    char name[16];
    snprintf(name, sizeof(name), "U+%04lX", codePoint);
    return name;
}

} // namespace

std::vector<std::string> AnsiArguments(int argc, wchar_t** argv, std::string* uncarried)
{
    std::vector<std::string> arguments;
    std::set<unsigned long> named;
    uncarried->clear();
    for (int i = 1; i < argc; ++i) {
        std::wstring wide = argv[i];
        std::string ansi;
        size_t units = 1;
        for (size_t at = 0; at < wide.size(); at += units) {
            unsigned long codePoint = CodePointAt(wide, at, &units);
            if (InCodePage(wide.data() + at, units, &ansi)) {
                continue;
            }
            ansi += '?';
            if (named.insert(codePoint).second) {
                *uncarried += (uncarried->empty() ? "" : " ") + CodePointName(codePoint);
            }
        }
        arguments.push_back(ansi);
    }
    return arguments;
}
