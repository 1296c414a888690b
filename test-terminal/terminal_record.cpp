#include "terminal_record.h"

#include <stdio.h>
#include <stdlib.h>

#include "ascii_text.h"
#include "vornak_terminal_protocol.h"

namespace {

std::string Escape(const std::string& text)
{
    std::string escaped;
    for (unsigned char c : text) {
        if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            escaped += static_cast<char>(c);
        } else {
            char hex[5];
            snprintf(hex, sizeof(hex), "\\x%02X", c);
            escaped += hex;
        }
    }
    return escaped;
}

bool Unescape(const std::string& escaped, std::string* text)
{
    text->clear();
    for (size_t at = 0; at < escaped.size(); ++at) {
        if (escaped[at] != '\\') {
            *text += escaped[at];
        } else if (at + 1 < escaped.size() && escaped[at + 1] == 'n') {
            *text += '\n';
            at += 1;
        } else if (at + 1 < escaped.size() && escaped[at + 1] == '\\') {
            *text += '\\';
            at += 1;
        } else if (at + 3 < escaped.size() && escaped[at + 1] == 'x' && HexDigitValue(escaped[at + 2]) >= 0 &&
                   HexDigitValue(escaped[at + 3]) >= 0) {
            *text += static_cast<char>(HexDigitValue(escaped[at + 2]) * 16 + HexDigitValue(escaped[at + 3]));
            at += 3;
        } else {
            return false;
        }
    }
    return true;
}

const char* AtomKindName(AtomKind kind)
{
    switch (kind) {
    case AtomKind::None:
        return "no atom";
    case AtomKind::String:
        return "atom";
    default:
        return "malformed atom";
    }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const TerminalRecord& record)
{
    return out << "{0x" << std::hex << record.message << std::dec << ", " << AtomKindName(record.atom) << ", \""
               << Escape(record.text) << "\", " << record.letter << "}";
}

TerminalRecord LineRecord(UINT message, const std::string& text, char letter)
{
    return TerminalRecord{message, AtomKind::String, text, letter};
}

TerminalRecord RefusedLineRecord(UINT message, char letter)
{
    return TerminalRecord{message, AtomKind::None, std::string(), letter};
}

TerminalRecord ClearRecord(UINT message)
{
    return TerminalRecord{message, AtomKind::None, std::string(), 0};
}

AtomKind KindOfAtom(WPARAM atom)
{
    if (atom == 0) {
        return AtomKind::None;
    }
    return atom >= 0xC000 && atom <= 0xFFFF ? AtomKind::String : AtomKind::Malformed;
}

ProtocolNumbers RegisteredProtocolNumbers()
{
    return ProtocolNumbers{
        RegisterWindowMessageA(VORNAK_WM_DEBUG_MESSAGE), RegisterWindowMessageA(VORNAK_WM_LOG_MESSAGE),
        RegisterWindowMessageA(VORNAK_WM_STATISTIC_MESSAGE), RegisterWindowMessageA(VORNAK_WM_ERROR_MESSAGE),
        RegisterWindowMessageA(VORNAK_WM_CLEAR_TERMINAL)};
}

std::string FormatRecord(const TerminalRecord& record)
{
    char numbers[80];
    snprintf(numbers, sizeof(numbers), "%X %d %lld ", record.message, static_cast<int>(record.atom),
             static_cast<long long>(record.letter));
    return numbers + Escape(record.text);
}

bool ParseRecord(const std::string& line, TerminalRecord* record)
{
    unsigned int message = 0;
    int atom = 0;
    long long letter = 0;
    int consumed = 0;
    // Exactly one blank before the text, which may itself start with blanks.
    if (sscanf(line.c_str(), "%X %d %lld%n", &message, &atom, &letter, &consumed) != 3 ||
        static_cast<size_t>(consumed) >= line.size() || line[consumed] != ' ' || atom < 0 ||
        atom > static_cast<int>(AtomKind::Malformed)) {
        return false;
    }
    record->message = message;
    record->atom = static_cast<AtomKind>(atom);
    record->letter = static_cast<LPARAM>(letter);
    return Unescape(line.substr(consumed + 1), &record->text);
}
