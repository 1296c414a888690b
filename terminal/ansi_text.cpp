#include "ansi_text.h"

#include <windows.h>

#include <limits.h>

#include "line_text.h"

namespace {

// Longer texts are converted in pieces of at most this many bytes, each cut before a byte below
// 0x40 (never the second byte of a double-byte character), so no count overflows an int.
constexpr size_t PieceBytes = 1 << 20;

bool IsAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

unsigned Resolved(unsigned codePage)
{
    return codePage == 0 ? GetACP() : codePage;
}

void AppendPieceAsUtf8(std::string_view piece, unsigned codePage, std::string* out)
{
    int wideLength = MultiByteToWideChar(codePage, 0, piece.data(), static_cast<int>(piece.size()), NULL, 0);
    if (wideLength <= 0) {
        return;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, 0, piece.data(), static_cast<int>(piece.size()), &wide[0], wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, NULL, 0, NULL, NULL);
    if (length <= 0) {
        return;
    }
    size_t start = out->size();
    out->resize(start + static_cast<size_t>(length));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &(*out)[start], length, NULL, NULL);
}

} // namespace

unsigned SystemAnsiCodePage()
{
    return GetACP();
}

std::string AnsiToUtf8(std::string_view text, unsigned codePage)
{
    if (IsAscii(text)) {
        return std::string(text);
    }
    codePage = Resolved(codePage);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    while (!text.empty()) {
        size_t length = text.size();
        if (length > PieceBytes) {
            length = PieceBytes;
            while (length > 1 && static_cast<unsigned char>(text[length - 1]) >= 0x40) {
                --length;
            }
            if (length <= 1) {
                length = PieceBytes;  // no safe cut: a rare character may be decoded in two halves
            }
        }
        AppendPieceAsUtf8(text.substr(0, length), codePage, &out);
        text.remove_prefix(length);
    }
    return out;
}

bool Utf8ToAnsi(std::string_view utf8, unsigned codePage, std::string* out)
{
    out->clear();
    if (IsAscii(utf8)) {
        out->assign(utf8.data(), utf8.size());
        return true;
    }
    if (utf8.size() > static_cast<size_t>(INT_MAX / 4)) {
        return false;
    }
    codePage = Resolved(codePage);
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                         NULL, 0);
    if (wideLength <= 0) {
        return false;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                        wideLength);
    if (codePage == CP_UTF8) {
        out->assign(utf8.data(), utf8.size());
        return true;
    }
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, NULL, 0, NULL,
                                     &usedDefault);
    if (length <= 0 || usedDefault) {
        return false;
    }
    out->resize(static_cast<size_t>(length));
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &(*out)[0], length, NULL,
                        &usedDefault);
    return !usedDefault;
}

LineEncoding SystemLineEncoding(unsigned codePage)
{
    codePage = Resolved(codePage);
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

std::string LineTextUtf8(const ReceivedLine& line, unsigned codePage)
{
    if (const char* standIn = StandInText(line)) {
        return standIn;
    }
    std::string_view text = line.text;
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    return AnsiToUtf8(text, codePage);
}

std::vector<MatchSpan> WideSpans(std::string_view text, const std::vector<MatchSpan>& spans, unsigned codePage)
{
    std::vector<MatchSpan> wide;
    if (IsAscii(text) || text.size() > static_cast<size_t>(INT_MAX)) {
        return spans;
    }
    codePage = Resolved(codePage);
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
