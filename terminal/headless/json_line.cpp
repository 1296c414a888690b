#include "json_line.h"

#include "ansi_text.h"
#include "line_text.h"
#include "backslash_escape.h"
#include "iso_time.h"
#include "terminal_texts.h"

namespace {

std::string TimeValue(int64_t utcMs, int offsetMinutes)
{
    std::string time = utcMs == 0 ? std::string() : FormatIsoTime(utcMs, offsetMinutes);
    return time.empty() ? "null" : "\"" + time + "\"";
}

// ,"pid":1234,"process":"name.exe" (null when the name is unknown).
std::string WriterMembers(const ReceivedLine& line, unsigned codePage)
{
    std::string out = ",\"pid\":" + std::to_string(line.processId) + ",\"process\":";
    if (line.processName.empty()) {
        return out + "null";
    }
    return out + "\"" + JsonEscaped(AnsiToUtf8(line.processName, codePage)) + "\"";
}

std::string JsonObject(const std::string& time, std::string_view label, std::string_view utf8Text,
                       std::string_view writer = std::string_view())
{
    std::string out = "{\"time\":";
    out += time;
    out += ",\"class\":\"";
    out += JsonEscaped(label);
    out += '"';
    out += writer;
    out += ",\"text\":\"";
    out += JsonEscaped(utf8Text);
    out += "\"}\n";
    return out;
}

} // namespace

std::string JsonEscaped(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + 8);
    AppendBackslashEscaped(&out, utf8, "\\u00");
    return out;
}

std::string FormatJsonLine(const ReceivedLine& line, unsigned codePage)
{
    return JsonObject(TimeValue(line.arrivalUtcMs, line.utcOffsetMinutes), ClassLabel(line.lineClass),
                      LineTextUtf8(line, codePage),
                      line.lineClass == LineClass::Ods ? WriterMembers(line, codePage) : std::string());
}

std::string FormatJsonDroppedNotice(const ArrivalTime& at, uint64_t droppedCount)
{
    return JsonObject(TimeValue(at.utcMs, at.offsetMinutes), DroppedLabel,
                      FillText(DroppedNoticeText, {LineCount(droppedCount)}));
}
