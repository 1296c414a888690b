#include "line_text.h"

#include <stdio.h>

#include "ansi_text.h"

const char* ClassLabel(LineClass lineClass)
{
    switch (lineClass) {
    case LineClass::Debug: return "debug";
    case LineClass::Log: return "log";
    case LineClass::Statistic: return "statistic";
    case LineClass::Error: return "error";
    case LineClass::Separator: return "separator";
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

std::string FormatOutputLine(const StoredLine& line)
{
    std::string out = HeaderOf(line.arrivalMsOfDay, ClassLabel(line.lineClass));
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
