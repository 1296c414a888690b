#include "syslog_message.h"

#include <windows.h>

#include "ansi_text.h"
#include "line_text.h"
#include "iso_time.h"
#include "terminal_texts.h"

namespace {

constexpr size_t MaxHostNameLength = 255;
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

std::string Header(int severity, const std::string& timestamp, const SyslogOrigin& origin, std::string_view msgid,
                   std::string_view structuredData = "-")
{
    std::string out = "<" + std::to_string(SyslogFacility * 8 + severity) + ">1 ";
    out += timestamp;
    out += ' ';
    out += origin.hostName.empty() ? std::string("-") : origin.hostName;
    out += ' ';
    out += SyslogAppName;
    out += ' ';
    out += std::to_string(origin.processId);
    out += ' ';
    out += msgid;
    out += ' ';
    out += structuredData;
    out += ' ';
    return out;
}

// A PARAM-VALUE: '"', '\\' and ']' escaped with a backslash, as RFC 5424 asks.
std::string ParamValue(std::string_view utf8)
{
    std::string out;
    for (char c : utf8) {
        if (c == '"' || c == '\\' || c == ']') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string WriterElement(const ReceivedLine& line, unsigned codePage)
{
    std::string out = "[";
    out += SyslogWriterId;
    out += " pid=\"" + std::to_string(line.processId) + "\"";
    if (!line.processName.empty()) {
        out += " name=\"" + ParamValue(CutUtf8(AnsiToUtf8(line.processName, codePage), MaxWriterNameBytes)) + "\"";
    }
    out += ']';
    return out;
}

std::string Assemble(const std::string& header, std::string_view text, size_t limit)
{
    if (limit == 0 || header.size() + text.size() <= limit) {
        return header + std::string(text);
    }
    size_t room = limit > header.size() ? limit - header.size() : 0;
    return header + CutUtf8(text, room);
}

std::string Timestamp(int64_t utcMs, int offsetMinutes)
{
    std::string time = utcMs == 0 ? std::string() : FormatIsoTime(utcMs, offsetMinutes);
    return time.empty() ? std::string("-") : time;
}

} // namespace

std::string SyslogHostName(std::string_view name)
{
    std::string out;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 33 && u <= 126 && out.size() < MaxHostNameLength) {
            out += c;
        }
    }
    return out.empty() ? std::string("-") : out;
}

std::string LocalSyslogHostName()
{
    for (COMPUTER_NAME_FORMAT format : {ComputerNameDnsFullyQualified, ComputerNameDnsHostname, ComputerNameNetBIOS}) {
        wchar_t name[MAX_COMPUTERNAME_LENGTH + 256] = {};
        DWORD length = static_cast<DWORD>(sizeof(name) / sizeof(name[0]));
        if (GetComputerNameExW(format, name, &length) && length > 0) {
            std::string ascii;
            for (DWORD i = 0; i < length; ++i) {
                ascii += name[i] < 0x80 ? static_cast<char>(name[i]) : ' ';  // left out below
            }
            std::string shown = SyslogHostName(ascii);
            if (shown != "-") {
                return shown;
            }
        }
    }
    return "-";
}

int SyslogSeverity(LineClass lineClass)
{
    switch (lineClass) {
    case LineClass::Error: return 3;
    case LineClass::Statistic:
    case LineClass::Log: return 6;
    case LineClass::Debug:
    case LineClass::Separator:
    case LineClass::Ods: return 7;
    case LineClass::ClearMarker: return 5;
    }
    return 7;
}

std::string FormatSyslogMessage(const SyslogOrigin& origin, const ReceivedLine& line, size_t limit, unsigned codePage)
{
    std::string header = Header(SyslogSeverity(line.lineClass), Timestamp(line.arrivalUtcMs, line.utcOffsetMinutes),
                                origin, ClassLabel(line.lineClass),
                                line.lineClass == LineClass::Ods ? WriterElement(line, codePage) : "-");
    std::string text = LineTextUtf8(line, codePage);
    // A text that starts with U+FEFF would be read as MSG's byte order mark and lose it; before
    // such a text goes the mark RFC 5424 lets UTF-8 carry, so the text's own comes through.
    if (text.compare(0, Utf8ByteOrderMark.size(), Utf8ByteOrderMark) == 0) {
        text.insert(0, Utf8ByteOrderMark);
    }
    return Assemble(header, text, limit);
}

std::string FormatSyslogDroppedNotice(const SyslogOrigin& origin, const ArrivalTime& at, uint64_t droppedCount,
                                      size_t limit)
{
    std::string header = Header(SyslogDroppedSeverity, Timestamp(at.utcMs, at.offsetMinutes), origin, DroppedLabel);
    return Assemble(header, FillText(DroppedNoticeText, {LineCount(droppedCount)}), limit);
}

std::string FrameForTcp(std::string_view message)
{
    return std::to_string(message.size()) + " " + std::string(message);
}

std::string CutUtf8(std::string_view utf8, size_t limit)
{
    if (utf8.size() <= limit) {
        return std::string(utf8);
    }
    size_t markLength = std::string_view(CutMark).size();
    if (limit < markLength) {
        return std::string(CutMark).substr(0, limit);
    }
    size_t keep = limit - markLength;
    // Back to the start of a character: continuation bytes are 10xxxxxx.
    while (keep > 0 && (static_cast<unsigned char>(utf8[keep]) & 0xC0) == 0x80) {
        --keep;
    }
    return std::string(utf8.substr(0, keep)) + CutMark;
}
