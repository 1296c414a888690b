// The stand-in for the Windows calls the terminal's parsers reach (see windows-stand-in/windows.h).
#include <windows.h>

#include <errno.h>
#include <iconv.h>
#include <string.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "system_error_text.h"

namespace {

constexpr uint32_t Replacement = 0xFFFD;
constexpr uint32_t Undefined = 0xFFFFFFFFu;

thread_local DWORD LastError = 0;

int Refuse(DWORD error)
{
    LastError = error;
    return 0;
}

// One code page known to iconv: each byte, or each lead and trail byte, decoded once and kept.
struct Table {
    bool doubleByte = false;
    std::array<uint32_t, 256> single{};  // code point, Undefined, or (double-byte) a lead byte's mark
    std::array<bool, 256> lead{};
    std::map<uint32_t, uint32_t> pairs;  // (lead << 8 | trail) -> code point
    std::map<uint32_t, std::string> encode;  // code point -> bytes
};

// Decodes bytes as one character with iconv: its code point, Undefined, or EINVAL's "incomplete".
uint32_t DecodeOne(iconv_t converter, const std::string& bytes, bool* incomplete)
{
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char in[4];
    memcpy(in, bytes.data(), bytes.size());
    char* inPointer = in;
    size_t inLeft = bytes.size();
    uint32_t out[4] = {};
    char* outPointer = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof(out);
    size_t result = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    *incomplete = result == static_cast<size_t>(-1) && errno == EINVAL;
    if (result == static_cast<size_t>(-1) || inLeft != 0 || outLeft != sizeof(out) - sizeof(uint32_t)) {
        return Undefined;
    }
    return out[0];
}

std::unique_ptr<Table> BuildTable(const char* name, bool doubleByte)
{
    iconv_t converter = iconv_open("UTF-32LE", name);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    auto table = std::make_unique<Table>();
    table->doubleByte = doubleByte;
    for (int b = 0; b < 256; ++b) {
        bool incomplete = false;
        uint32_t code = DecodeOne(converter, std::string(1, static_cast<char>(b)), &incomplete);
        table->single[static_cast<size_t>(b)] = code;
        table->lead[static_cast<size_t>(b)] = doubleByte && b >= 0x80 && incomplete;
        if (code != Undefined && table->encode.count(code) == 0) {
            table->encode[code] = std::string(1, static_cast<char>(b));
        }
    }
    for (int b = 0; b < 256 && doubleByte; ++b) {
        if (!table->lead[static_cast<size_t>(b)]) {
            continue;
        }
        for (int t = 0x30; t < 256; ++t) {
            bool incomplete = false;
            std::string pair{static_cast<char>(b), static_cast<char>(t)};
            uint32_t code = DecodeOne(converter, pair, &incomplete);
            if (code != Undefined) {
                table->pairs[static_cast<uint32_t>(b << 8 | t)] = code;
                if (table->encode.count(code) == 0) {
                    table->encode[code] = pair;
                }
            }
        }
    }
    iconv_close(converter);
    return table;
}

const Table* TableOf(UINT codePage)
{
    static std::map<UINT, std::unique_ptr<Table>> tables;
    auto found = tables.find(codePage);
    if (found != tables.end()) {
        return found->second.get();
    }
    std::string name = "CP" + std::to_string(codePage);
    bool singleByte = codePage == 874 || (codePage >= 1250 && codePage <= 1258);
    bool doubleByte = codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
    std::unique_ptr<Table> table = singleByte || doubleByte ? BuildTable(name.c_str(), doubleByte) : nullptr;
    const Table* kept = table.get();
    tables[codePage] = std::move(table);
    return kept;
}

// UTF-8 decoded strictly: no overlong forms, no surrogates, nothing above U+10FFFF. An invalid
// sequence is one Undefined for its longest valid start (at least one byte).
std::vector<uint32_t> DecodeUtf8(const unsigned char* text, size_t length)
{
    std::vector<uint32_t> out;
    size_t i = 0;
    while (i < length) {
        unsigned char c = text[i];
        size_t need = c < 0x80 ? 0 : (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2
                                     : (c >= 0xF0 && c <= 0xF4) ? 3 : 99;
        if (need == 0) {
            out.push_back(c);
            ++i;
            continue;
        }
        if (need == 99) {
            out.push_back(Undefined);
            ++i;
            continue;
        }
        uint32_t code = c & (0x3F >> need);
        size_t k = 1;
        for (; k <= need && i + k < length; ++k) {
            unsigned char next = text[i + k];
            unsigned char low = 0x80;
            unsigned char high = 0xBF;
            if (k == 1) {  // the second byte's range rules out overlong forms, surrogates and too large
                low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
                high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
            }
            if (next < low || next > high) {
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (k <= need) {
            out.push_back(Undefined);
            i += k;
            continue;
        }
        out.push_back(code);
        i += need + 1;
    }
    return out;
}

std::vector<uint32_t> DecodeTable(const Table& table, const unsigned char* text, size_t length)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = text[i];
        if (table.lead[c]) {
            if (i + 1 >= length) {
                out.push_back(Undefined);
                continue;
            }
            auto found = table.pairs.find(static_cast<uint32_t>(c << 8 | text[i + 1]));
            out.push_back(found == table.pairs.end() ? Undefined : found->second);
            ++i;
            continue;
        }
        out.push_back(table.single[c]);
    }
    return out;
}

void AppendUtf8(std::string* out, uint32_t code)
{
    if (code < 0x80) {
        *out += static_cast<char>(code);
    } else if (code < 0x800) {
        *out += static_cast<char>(0xC0 | (code >> 6));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out += static_cast<char>(0xE0 | (code >> 12));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (code >> 18));
        *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

DWORD GetLastError()
{
    return LastError;
}

std::string SystemErrorText(DWORD error)
{
    return "error " + std::to_string(error);
}

UINT GetACP()
{
    return 1252;
}

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte)
{
    const Table* table = TableOf(codePage);
    if (table == nullptr) {
        return Refuse(ERROR_INVALID_PARAMETER);
    }
    return table->lead[byte] ? TRUE : FALSE;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length, wchar_t* wide, int capacity)
{
    if (text == nullptr || length == 0 || length < -1 || capacity < 0) {
        return Refuse(ERROR_INVALID_PARAMETER);
    }
    size_t size = length == -1 ? strlen(text) + 1 : static_cast<size_t>(length);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    std::vector<uint32_t> codes;
    if (codePage == CP_UTF8) {
        codes = DecodeUtf8(bytes, size);
    } else if (const Table* table = TableOf(codePage)) {
        codes = DecodeTable(*table, bytes, size);
    } else {
        return Refuse(ERROR_INVALID_PARAMETER);
    }
    std::vector<uint32_t> units;
    for (uint32_t code : codes) {
        if (code == Undefined) {
            if ((flags & MB_ERR_INVALID_CHARS) != 0) {
                return Refuse(ERROR_NO_UNICODE_TRANSLATION);
            }
            code = Replacement;
        }
        if (code >= 0x10000) {
            units.push_back(0xD800 + ((code - 0x10000) >> 10));
            units.push_back(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            units.push_back(code);
        }
    }
    if (capacity == 0) {
        return static_cast<int>(units.size());
    }
    if (units.size() > static_cast<size_t>(capacity)) {
        return Refuse(ERROR_INSUFFICIENT_BUFFER);
    }
    for (size_t i = 0; i < units.size(); ++i) {
        wide[i] = static_cast<wchar_t>(units[i]);
    }
    return static_cast<int>(units.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* wide, int length, char* text, int capacity,
                        const char* defaultCharacter, BOOL* usedDefault)
{
    if (wide == nullptr || length == 0 || length < -1 || capacity < 0) {
        return Refuse(ERROR_INVALID_PARAMETER);
    }
    // Windows refuses a default character for UTF-8.
    if (codePage == CP_UTF8 && (defaultCharacter != nullptr || usedDefault != nullptr || flags != 0)) {
        return Refuse(ERROR_INVALID_PARAMETER);
    }
    const Table* table = codePage == CP_UTF8 ? nullptr : TableOf(codePage);
    if (codePage != CP_UTF8 && table == nullptr) {
        return Refuse(ERROR_INVALID_PARAMETER);
    }
    size_t size = 0;
    if (length == -1) {
        while (wide[size] != 0) {
            ++size;
        }
        ++size;
    } else {
        size = static_cast<size_t>(length);
    }
    std::string out;
    bool defaulted = false;
    for (size_t i = 0; i < size; ++i) {
        uint32_t unit = static_cast<uint32_t>(wide[i]);
        uint32_t code = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < size && static_cast<uint32_t>(wide[i + 1]) >= 0xDC00 &&
            static_cast<uint32_t>(wide[i + 1]) <= 0xDFFF) {
            code = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<uint32_t>(wide[i + 1]) - 0xDC00);
            ++i;
        } else if ((unit >= 0xD800 && unit <= 0xDFFF) || unit > 0xFFFF) {
            code = Replacement;  // a lone surrogate, or not a UTF-16 unit at all
        }
        if (table == nullptr) {
            AppendUtf8(&out, code);
            continue;
        }
        auto found = table->encode.find(code);
        if (found == table->encode.end()) {
            out += defaultCharacter != nullptr ? *defaultCharacter : '?';
            defaulted = true;
        } else {
            out += found->second;
        }
    }
    if (usedDefault != nullptr) {
        *usedDefault = defaulted ? TRUE : FALSE;
    }
    if (capacity == 0) {
        return static_cast<int>(out.size());
    }
    if (out.size() > static_cast<size_t>(capacity)) {
        return Refuse(ERROR_INSUFFICIENT_BUFFER);
    }
    memcpy(text, out.data(), out.size());
    return static_cast<int>(out.size());
}

DWORD CharLowerBuffW(wchar_t* text, DWORD length)
{
    for (DWORD i = 0; i < length; ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
            (c >= 0x410 && c <= 0x42F)) {
            c += 0x20;
        } else if (c >= 0x400 && c <= 0x40F) {
            c += 0x50;
        }
        text[i] = static_cast<wchar_t>(c);
    }
    return length;
}

HANDLE CreateFileW(const wchar_t*, DWORD, DWORD, void*, DWORD, DWORD, HANDLE)
{
    LastError = ERROR_CALL_NOT_IMPLEMENTED;
    return INVALID_HANDLE_VALUE;
}

BOOL ReadFile(HANDLE, void*, DWORD, DWORD*, void*)
{
    return Refuse(ERROR_CALL_NOT_IMPLEMENTED);
}

BOOL WriteFile(HANDLE, const void*, DWORD, DWORD*, void*)
{
    return Refuse(ERROR_CALL_NOT_IMPLEMENTED);
}

BOOL CloseHandle(HANDLE)
{
    return Refuse(ERROR_CALL_NOT_IMPLEMENTED);
}

BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT, wchar_t*, DWORD*)
{
    return Refuse(ERROR_CALL_NOT_IMPLEMENTED);
}
