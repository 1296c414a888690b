#include "ansi_text.h"

#include <windows.h>

#include <limits.h>

namespace {

// Longer texts are converted in pieces of at most this many bytes, each cut before a byte below
// 0x40 (never the second byte of a double-byte character), so no count overflows an int.
constexpr size_t PieceBytes = 1 << 20;

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

std::string AnsiToUtf8(std::string_view text, unsigned codePage)
{
    if (IsAsciiText(text)) {
        return std::string(text);
    }
    codePage = ResolvedCodePage(codePage);
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
    if (IsAsciiText(utf8)) {
        out->assign(utf8.data(), utf8.size());
        return true;
    }
    if (utf8.size() > static_cast<size_t>(INT_MAX / 4)) {
        return false;
    }
    codePage = ResolvedCodePage(codePage);
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

bool IsAsciiText(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

unsigned ResolvedCodePage(unsigned codePage)
{
    return codePage == 0 ? GetACP() : codePage;
}
