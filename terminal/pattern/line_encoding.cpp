#include "line_encoding.h"

#include <windows.h>

#include <limits.h>

#include "ansi_text.h"

LineEncoding Utf8LineEncoding()
{
    LineEncoding encoding;
    encoding.codePage = AsciiCodePage();
    encoding.fromUtf8 = [](std::string_view utf8, std::string* bytes) {
        bytes->assign(utf8.data(), utf8.size());
        return true;
    };
    return encoding;
}

LineEncoding SystemLineEncoding(unsigned codePage)
{
    codePage = ResolvedCodePage(codePage);
    LineEncoding encoding;
    encoding.codePage = AsciiCodePage();
    encoding.codePageNumber = codePage;
    encoding.fromUtf8 = [codePage](std::string_view utf8, std::string* bytes) {
        return Utf8ToAnsi(utf8, codePage, bytes);
    };
    if (codePage == CP_UTF8) {
        return encoding;  // lines are UTF-8 already: ASCII folding, no lead bytes
    }
    for (int c = 0x80; c < 256; ++c) {
        encoding.codePage.lead[static_cast<size_t>(c)] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(c)) != FALSE;
    }
    // A single-byte character folds to the lower case of its own character when that is a single
    // byte of the same code page again.
    for (int c = 0x80; c < 256; ++c) {
        if (encoding.codePage.lead[static_cast<size_t>(c)]) {
            continue;
        }
        char byte = static_cast<char>(c);
        wchar_t wide[2] = {};
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2) != 1) {
            continue;
        }
        CharLowerBuffW(wide, 1);
        char lower[4] = {};
        BOOL usedDefault = FALSE;
        int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, 1, lower, sizeof(lower), NULL,
                                         &usedDefault);
        unsigned char folded = static_cast<unsigned char>(lower[0]);
        if (length == 1 && !usedDefault && !encoding.codePage.lead[folded]) {
            encoding.codePage.lower[static_cast<size_t>(c)] = folded;
        }
    }
    return encoding;
}

std::vector<MatchSpan> WideSpans(std::string_view text, const std::vector<MatchSpan>& spans, unsigned codePage)
{
    std::vector<MatchSpan> wide;
    if (IsAsciiText(text) || text.size() > static_cast<size_t>(INT_MAX)) {
        return spans;
    }
    codePage = ResolvedCodePage(codePage);
    auto unitsBefore = [&](size_t offset) {
        offset = offset < text.size() ? offset : text.size();
        int units = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(offset), NULL, 0);
        return units > 0 ? static_cast<size_t>(units) : 0;
    };
    for (const MatchSpan& span : spans) {
        MatchSpan converted;
        converted.begin = unitsBefore(span.begin);
        converted.end = unitsBefore(span.end);
        wide.push_back(converted);
    }
    return wide;
}
