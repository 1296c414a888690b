#include "line_text.h"

#include <stdio.h>

#include "ansi_text.h"
#include "ascii_text.h"

const char* ClassLabel(LineClass lineClass)
{
    switch (lineClass) {
    case LineClass::Debug: return "debug";
    case LineClass::Log: return "log";
    case LineClass::Statistic: return "statistic";
    case LineClass::Error: return "error";
    case LineClass::Separator: return "separator";
    case LineClass::Ods: return "ods";
    case LineClass::ClearMarker: return "clear";
    }
    return "unknown";
}

bool ClassOfLabel(std::string_view label, LineClass* lineClass)
{
    for (int i = 0; i <= static_cast<int>(LineClass::ClearMarker); ++i) {
        if (label == ClassLabel(static_cast<LineClass>(i))) {
            *lineClass = static_cast<LineClass>(i);
            return true;
        }
    }
    return false;
}

std::string FormatTimeOfDay(uint32_t msOfDay)
{
    char text[16];
    snprintf(text, sizeof(text), "%02u:%02u:%02u.%03u", static_cast<unsigned>(msOfDay / 3600000 % 24),
             static_cast<unsigned>(msOfDay / 60000 % 60), static_cast<unsigned>(msOfDay / 1000 % 60),
             static_cast<unsigned>(msOfDay % 1000));
    return text;
}

namespace {

void AppendEscaped(std::string& out, unsigned char c)
{
    switch (c) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    if (c < 0x20 || c == 0x7F) {
        char escape[8];
        snprintf(escape, sizeof(escape), "\\x%02X", c);
        out += escape;
        return;
    }
    out += static_cast<char>(c);
}

std::string HeaderOf(uint32_t msOfDay, const char* label)
{
    std::string out = FormatTimeOfDay(msOfDay);
    out += ' ';
    out += label;
    out.append(ClassColumnWidth - std::char_traits<char>::length(label), ' ');
    out += ' ';
    return out;
}

} // namespace

const char* StandInText(const StoredLine& line)
{
    if (line.lineClass == LineClass::ClearMarker) {
        return ClearedText;
    }
    switch (line.carriage) {
    case LineCarriage::TooLong: return TooLongPlaceholder;
    case LineCarriage::Unreadable: return UnreadablePlaceholder;
    case LineCarriage::Carried: break;
    }
    return nullptr;
}

std::string DisplayText(const StoredLine& line)
{
    if (const char* standIn = StandInText(line)) {
        return standIn;
    }
    size_t length = line.text.size();
    if (length > 0 && line.text[length - 1] == '\n') {
        --length;
    }
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        AppendEscaped(out, static_cast<unsigned char>(line.text[i]));
    }
    return out;
}

namespace {

// A writer's name as one word: "-" for none, blanks, backslashes and control characters as \xHH.
std::string NameWord(std::string_view name)
{
    if (name.empty()) {
        return UnknownWriterName;
    }
    // A name that is the stand-in itself is escaped whole, so that it reads back as a name.
    bool escapeAll = name == UnknownWriterName;
    std::string out;
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (escapeAll || byte <= ' ' || byte == '\\' || byte == 0x7F) {
            char escape[8];
            snprintf(escape, sizeof(escape), "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string WriterText(const StoredLine& line)
{
    return WriterIdPrefix + std::to_string(line.processId) + ' ' + NameWord(line.processName);
}

bool ParseProcessId(std::string_view digits, uint32_t* processId)
{
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) {
        return false;
    }
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > UINT32_MAX) {
        return false;
    }
    *processId = static_cast<uint32_t>(value);
    return true;
}

bool TakeWriterText(std::string_view* shown, uint32_t* processId, std::string* processName)
{
    std::string_view prefix = WriterIdPrefix;
    size_t idEnd = shown->find(' ');
    if (shown->substr(0, prefix.size()) != prefix || idEnd == std::string_view::npos ||
        !ParseProcessId(shown->substr(prefix.size(), idEnd - prefix.size()), processId)) {
        return false;
    }
    size_t nameEnd = shown->find(' ', idEnd + 1);
    std::string_view name = shown->substr(idEnd + 1, nameEnd == std::string_view::npos ? std::string_view::npos
                                                                                      : nameEnd - idEnd - 1);
    processName->clear();
    if (name != UnknownWriterName) {
        for (size_t i = 0; i < name.size(); ++i) {
            int high = name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' ? HexDigitValue(name[i + 2]) : -1;
            int low = high >= 0 ? HexDigitValue(name[i + 3]) : -1;
            if (low >= 0) {
                *processName += static_cast<char>(high * 16 + low);
                i += 3;
            } else {
                *processName += name[i];
            }
        }
    }
    // Only a word NameWord makes is a writer: other escapes, or characters it escapes, are not.
    if (NameWord(*processName) != name) {
        return false;
    }
    shown->remove_prefix(nameEnd == std::string_view::npos ? shown->size() : nameEnd + 1);
    return true;
}

std::string FormatOutputLine(const StoredLine& line)
{
    std::string out = HeaderOf(line.arrivalMsOfDay, ClassLabel(line.lineClass));
    if (line.lineClass == LineClass::Ods) {
        out += WriterText(line);
        out += ' ';
    }
    out += DisplayText(line);
    out += '\n';
    return out;
}

std::string FormatDroppedNotice(uint32_t msOfDay, uint64_t droppedCount)
{
    return HeaderOf(msOfDay, DroppedLabel) + FillText(DroppedNoticeText, {LineCount(droppedCount)}) + "\n";
}

std::string LineTextUtf8(const StoredLine& line, unsigned codePage)
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
