#include "json_line_reader.h"

#include "ansi_text.h"
#include "ascii_text.h"
#include "iso_time.h"
#include "line_text.h"
#include "terminal_texts.h"

namespace {

// Takes prefix off the front of *text; false when text does not start with it.
bool Take(std::string_view* text, std::string_view prefix)
{
    if (text->substr(0, prefix.size()) != prefix) {
        return false;
    }
    text->remove_prefix(prefix.size());
    return true;
}

// The inside of a string up to its closing quote, unescaped as JsonEscaped escapes; *text is left
// after the quote.
bool TakeString(std::string_view* text, std::string* value)
{
    value->clear();
    for (size_t i = 0; i < text->size(); ++i) {
        unsigned char c = static_cast<unsigned char>((*text)[i]);
        if (c == '"') {
            text->remove_prefix(i + 1);
            return true;
        }
        if (c < 0x20 || c == 0x7F) {
            return false;  // the writer escapes every one
        }
        if (c != '\\') {
            *value += static_cast<char>(c);
            continue;
        }
        if (i + 1 >= text->size()) {
            return false;
        }
        char next = (*text)[i + 1];
        if (next == '"' || next == '\\') {
            *value += next;
            ++i;
            continue;
        }
        if (next != 'u' || text->substr(i + 2, 2) != "00" || i + 5 >= text->size()) {
            return false;
        }
        char highDigit = (*text)[i + 4];
        char lowDigit = (*text)[i + 5];
        int high = highDigit >= 'a' && highDigit <= 'f' ? -1 : HexDigitValue(highDigit);
        int low = lowDigit >= 'a' && lowDigit <= 'f' ? -1 : HexDigitValue(lowDigit);
        int escaped = high * 16 + low;
        if (high < 0 || low < 0 || (escaped >= 0x20 && escaped != 0x7F)) {
            return false;
        }
        *value += static_cast<char>(escaped);
        i += 5;
    }
    return false;
}

// "N lines lost: ..." (or "1 line lost: ..."), as the notice says it.
bool DroppedCountOf(const std::string& text, uint64_t* count)
{
    size_t digits = 0;
    uint64_t value = 0;
    while (digits < text.size() && digits < 19 && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<uint64_t>(text[digits] - '0');
        ++digits;
    }
    if (digits == 0 || (digits > 1 && text[0] == '0') ||
        text != FillText(DroppedNoticeText, {LineCount(value)})) {
        return false;
    }
    *count = value;
    return true;
}

// ,"pid":1234,"process":"name.exe" (or null), as an ods line names its writer.
bool TakeWriterMembers(std::string_view* text, unsigned codePage, ReceivedLine* line)
{
    if (!Take(text, ",\"pid\":")) {
        return false;
    }
    size_t digits = text->find_first_not_of("0123456789");
    if (digits == std::string_view::npos || !ParseProcessId(text->substr(0, digits), &line->processId)) {
        return false;
    }
    text->remove_prefix(digits);
    if (!Take(text, ",\"process\":")) {
        return false;
    }
    if (Take(text, "null")) {
        return true;
    }
    std::string name;
    return Take(text, "\"") && TakeString(text, &name) && !name.empty() &&
           Utf8ToAnsi(name, codePage, &line->processName);
}

} // namespace

bool ParseJsonLogLine(std::string_view text, unsigned codePage, LogEntry* entry)
{
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    LogEntry parsed;
    if (!Take(&text, "{\"time\":")) {
        return false;
    }
    if (!Take(&text, "null")) {
        std::string time;
        int offset = 0;
        if (!Take(&text, "\"") || !TakeString(&text, &time) ||
            !ParseIsoTime(time, &parsed.line.arrivalUtcMs, &offset) || parsed.line.arrivalUtcMs == 0) {
            return false;
        }
        parsed.line.utcOffsetMinutes = static_cast<int16_t>(offset);
        int64_t localMs = parsed.line.arrivalUtcMs + static_cast<int64_t>(offset) * 60000;
        parsed.line.arrivalMsOfDay = static_cast<uint32_t>(((localMs % MsPerDay) + MsPerDay) % MsPerDay);
    }
    std::string label;
    std::string shown;
    if (!Take(&text, ",\"class\":\"") || !TakeString(&text, &label) ||
        (label == ClassLabel(LineClass::Ods) && !TakeWriterMembers(&text, codePage, &parsed.line)) ||
        !Take(&text, ",\"text\":\"") || !TakeString(&text, &shown) || text != "}") {
        return false;
    }
    if (label == DroppedLabel) {
        parsed.kind = LogEntryKind::DroppedNotice;
        if (!DroppedCountOf(shown, &parsed.droppedCount)) {
            return false;
        }
        *entry = std::move(parsed);
        return true;
    }
    auto decode = [codePage](std::string_view utf8, std::string* ansi) {
        if (!Utf8ToAnsi(utf8, codePage, ansi)) {
            return false;
        }
        *ansi += '\n';
        return true;
    };
    if (!ReadLabelledLine(label, shown, decode, &parsed.line)) {
        return false;
    }
    *entry = std::move(parsed);
    return true;
}

JsonLogReader::JsonLogReader(std::function<void(LogEntry&&)> sink, unsigned codePage)
    : EntryReader(std::move(sink), LineForm{MaxJsonLineBytes, LogNotAJsonLog, false}), codePage_(codePage)
{
}

EntryReader::LineVerdict JsonLogReader::ReadLine(std::string_view line, LogEntry* entry)
{
    return ParseJsonLogLine(line, codePage_, entry) ? LineVerdict::Entry : LineVerdict::Foreign;
}
