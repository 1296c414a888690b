#include "log_reader.h"

#include <windows.h>

#include <algorithm>

#include "ascii_text.h"
#include "iso_time.h"
#include "line_text.h"
#include "system_error_text.h"
#include "terminal_texts.h"

namespace {

constexpr size_t TimeLength = 12;  // "HH:MM:SS.mmm"
constexpr size_t TextColumn = TimeLength + 1 + ClassColumnWidth + 1;
constexpr size_t ReadPieceBytes = 65536;
// What follows "N lines" in the notice of lines lost.
const std::string_view DroppedSuffix = std::string_view(DroppedNoticeText).substr(3);

bool Digit(char c)
{
    return c >= '0' && c <= '9';
}

unsigned Number(std::string_view text, size_t at, size_t length)
{
    unsigned value = 0;
    for (size_t i = at; i < at + length; ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return value;
}

bool ParseTime(std::string_view text, uint32_t* msOfDay)
{
    if (text.size() < TimeLength) {
        return false;
    }
    static const char Shape[] = "99:99:99.999";
    for (size_t i = 0; i < TimeLength; ++i) {
        if (Shape[i] == '9' ? !Digit(text[i]) : text[i] != Shape[i]) {
            return false;
        }
    }
    unsigned hours = Number(text, 0, 2);
    unsigned minutes = Number(text, 3, 2);
    unsigned seconds = Number(text, 6, 2);
    if (hours > 23 || minutes > 59 || seconds > 59) {
        return false;
    }
    *msOfDay = ((hours * 60 + minutes) * 60 + seconds) * 1000 + Number(text, 9, 3);
    return true;
}

constexpr char DatePrefix[] = "date ";
const char DateShape[] = "date 9999-99-99";

bool FitsShape(std::string_view text, const char* shape, size_t shapeLength)
{
    for (size_t i = 0; i < text.size() && i < shapeLength; ++i) {
        if (shape[i] == '9' ? !Digit(text[i]) : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

// Whether text can still be the start of a line the terminal writes ("09:05:03.007 " so far, or
// a date line).
bool CanBeginLogLine(std::string_view text)
{
    static const char Shape[] = "99:99:99.999 ";
    return FitsShape(text, Shape, sizeof(Shape) - 1) || FitsShape(text, DateShape, sizeof(DateShape) - 1);
}

// A dated line's instant is never 0, which stands for no date: the first day is 1970-01-02.
constexpr int64_t FirstDatedDay = 1;

int64_t FloorDays(int64_t ms)
{
    return ms >= 0 ? ms / MsPerDay : -((-ms + MsPerDay - 1) / MsPerDay);
}

// DisplayText writes its escapes' digits in upper case only.
int UpperHexDigit(char c)
{
    return c >= 'a' && c <= 'f' ? -1 : HexDigitValue(c);
}

// The text a line carried, from what DisplayText made of it. An escape is undone only when
// DisplayText would write the character so again.
bool Unescape(std::string_view shown, std::string* text)
{
    text->clear();
    for (size_t i = 0; i < shown.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(shown[i]);
        if (c < 0x20 || c == 0x7F) {
            return false;  // DisplayText never leaves one: not a line the terminal wrote
        }
        if (c == '\\' && i + 1 < shown.size()) {
            char next = shown[i + 1];
            if (next == 'n' || next == 'r' || next == 't') {
                *text += next == 'n' ? '\n' : next == 'r' ? '\r' : '\t';
                ++i;
                continue;
            }
            if (next == 'x' && i + 3 < shown.size()) {
                int high = UpperHexDigit(shown[i + 2]);
                int low = UpperHexDigit(shown[i + 3]);
                int value = high * 16 + low;
                if (high >= 0 && low >= 0 && (value < 0x20 || value == 0x7F) && value != '\n' && value != '\r' &&
                    value != '\t') {
                    *text += static_cast<char>(value);
                    i += 3;
                    continue;
                }
            }
        }
        *text += static_cast<char>(c);
    }
    *text += '\n';
    return true;
}

} // namespace

std::string DateLineBefore(const StoredLine& line, int64_t* lastDay)
{
    if (line.arrivalUtcMs == 0) {
        return std::string();
    }
    int64_t localMs = line.arrivalUtcMs + static_cast<int64_t>(line.utcOffsetMinutes) * 60000;
    int64_t day = FloorDays(localMs);
    if (day == *lastDay || day < FirstDatedDay) {
        return std::string();
    }
    std::string iso = FormatIsoTime(day * MsPerDay, 0);  // "2026-12-09T00:00:00.000+00:00"
    if (iso.empty()) {
        return std::string();  // a year no date line can write: the lines stay undated
    }
    *lastDay = day;
    return DatePrefix + iso.substr(0, 10) + "\n";
}

bool ParseDateLine(std::string_view text, int64_t* day)
{
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    if (text.size() != sizeof(DateShape) - 1 || !FitsShape(text, DateShape, sizeof(DateShape) - 1)) {
        return false;
    }
    int64_t utcMs = 0;
    int offset = 0;
    std::string iso = std::string(text.substr(sizeof(DatePrefix) - 1)) + "T00:00:00.000+00:00";
    if (!ParseIsoTime(iso, &utcMs, &offset)) {
        return false;
    }
    *day = utcMs / MsPerDay;
    return *day >= FirstDatedDay;
}

void DateLogEntry(int64_t day, LogEntry* entry)
{
    if (day == NoDay) {
        return;
    }
    entry->line.arrivalUtcMs = day * MsPerDay + entry->line.arrivalMsOfDay;
    entry->line.utcOffsetMinutes = 0;
}

std::string FormatLogEntry(const LogEntry& entry)
{
    if (entry.kind == LogEntryKind::DroppedNotice) {
        return FormatDroppedNotice(entry.line.arrivalMsOfDay, entry.droppedCount);
    }
    return FormatOutputLine(entry.line);
}

bool ReadLabelledLine(std::string_view label, std::string_view shown,
                      const std::function<bool(std::string_view shown, std::string* text)>& decode,
                      ReceivedLine* line)
{
    if (!ClassOfLabel(label, &line->lineClass)) {
        return false;
    }
    if (line->lineClass == LineClass::ClearMarker) {
        return shown == ClearedText;
    }
    if (shown == TooLongPlaceholder) {
        line->carriage = LineCarriage::TooLong;
    } else if (shown == UnreadablePlaceholder) {
        line->carriage = LineCarriage::Unreadable;
    } else {
        return decode(shown, &line->text);
    }
    return true;
}

bool ParseLogLine(std::string_view text, LogEntry* entry)
{
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    LogEntry parsed;
    if (!ParseTime(text, &parsed.line.arrivalMsOfDay) || text.size() < TimeLength + 2 || text[TimeLength] != ' ') {
        return false;
    }
    // The label, padded with blanks to the column's width, then a blank; an editor may have taken
    // the blanks off the end of a line with no text.
    size_t labelEnd = text.find(' ', TimeLength + 1);
    std::string_view label = text.substr(TimeLength + 1, labelEnd == std::string_view::npos ? std::string_view::npos
                                                                                            : labelEnd - TimeLength - 1);
    if (label.empty() || label.size() > ClassColumnWidth) {
        return false;
    }
    std::string_view shown;
    if (text.size() > TextColumn) {
        for (size_t i = TimeLength + 1 + label.size(); i < TextColumn; ++i) {
            if (text[i] != ' ') {
                return false;
            }
        }
        shown = text.substr(TextColumn);
    } else {
        for (size_t i = TimeLength + 1 + label.size(); i < text.size(); ++i) {
            if (text[i] != ' ') {
                return false;
            }
        }
    }
    if (label == DroppedLabel) {
        size_t digits = 0;
        uint64_t count = 0;
        while (digits < shown.size() && Digit(shown[digits]) && digits < 19) {
            count = count * 10 + static_cast<uint64_t>(shown[digits] - '0');
            ++digits;
        }
        // "1 line", or "1 lines" as files written before say.
        std::string_view rest = shown.substr(digits);
        std::string_view unit = rest.substr(0, rest.find(' ', 1));
        bool unitFits = unit == " lines" || (unit == " line" && count == 1);
        if (digits == 0 || !unitFits || rest.substr(unit.size()) != DroppedSuffix || (digits > 1 && shown[0] == '0')) {
            return false;
        }
        parsed.kind = LogEntryKind::DroppedNotice;
        parsed.droppedCount = count;
        *entry = parsed;
        return true;
    }
    if (label == ClassLabel(LineClass::Ods) &&
        !TakeWriterText(&shown, &parsed.line.processId, &parsed.line.processName)) {
        return false;
    }
    if (!ReadLabelledLine(label, shown, Unescape, &parsed.line)) {
        return false;
    }
    *entry = std::move(parsed);
    return true;
}

EntryReader::EntryReader(std::function<void(LogEntry&&)> sink, const LineForm& form)
    : sink_(std::move(sink)), form_(form), atStart_(form.byteOrderMark)
{
}

bool EntryReader::CanBegin(std::string_view) const
{
    return true;
}

bool EntryReader::Refuse(uint64_t lineNumber, std::string* error)
{
    refused_ = true;
    *error = FillText(form_.notALogText, {std::to_string(lineNumber)});
    return false;
}

bool EntryReader::TakeLine(std::string_view line, std::string* error)
{
    ++lineNumber_;
    bool blank = line.empty() || (line.size() == 1 && line[0] == '\r');
    if (blank && !pending_.tooLong) {
        return true;
    }
    LogEntry entry;
    LineVerdict verdict = pending_.tooLong ? LineVerdict::Foreign : ReadLine(line, &entry);
    pending_.tooLong = false;
    if (verdict == LineVerdict::Foreign) {
        if (!seenLine_) {
            return Refuse(lineNumber_, error);
        }
        if (summary_.skipped++ == 0) {
            summary_.firstSkippedLine = lineNumber_;
        }
        return true;
    }
    seenLine_ = true;
    if (verdict == LineVerdict::Entry) {
        ++summary_.entries;
        sink_(std::move(entry));
    }
    return true;
}

bool EntryReader::Feed(std::string_view bytes, std::string* error)
{
    if (refused_) {
        return false;
    }
    while (!bytes.empty()) {
        if (atStart_) {
            // A byte order mark an editor put first; it may arrive in pieces too.
            static const std::string_view Mark = "\xEF\xBB\xBF";
            size_t have = pending_.text.size();
            size_t take = std::min(bytes.size(), Mark.size() - have);
            if (Mark.substr(have, take) == bytes.substr(0, take)) {
                pending_.text.append(bytes.data(), take);
                bytes.remove_prefix(take);
                if (pending_.text.size() == Mark.size()) {
                    pending_.text.clear();
                    atStart_ = false;
                }
                continue;
            }
            atStart_ = false;  // not a mark: what was held is the start of the first line
        }
        bool ended = GatherLine(&pending_, &bytes, form_.longestLine);
        // Blank lines may come before the first line.
        if (!seenLine_ && (pending_.tooLong || (pending_.text != "\r" && !CanBegin(pending_.text)))) {
            return Refuse(lineNumber_ + 1, error);
        }
        if (!ended) {
            return true;
        }
        std::string line;
        line.swap(pending_.text);
        if (!TakeLine(line, error)) {
            return false;
        }
    }
    return true;
}

bool EntryReader::Finish(std::string* error)
{
    if (refused_) {
        return false;
    }
    atStart_ = false;
    if (pending_.text.empty() && !pending_.tooLong) {
        return true;
    }
    std::string line;
    line.swap(pending_.text);
    return TakeLine(line, error);
}

LogReader::LogReader(std::function<void(LogEntry&&)> sink)
    : EntryReader(std::move(sink), LineForm{MaxLogLineBytes, LogNotALog, true})
{
}

bool LogReader::CanBegin(std::string_view start) const
{
    return CanBeginLogLine(start);
}

EntryReader::LineVerdict LogReader::ReadLine(std::string_view line, LogEntry* entry)
{
    int64_t day = NoDay;
    if (ParseDateLine(line, &day)) {
        day_ = day;
        return LineVerdict::NoEntry;
    }
    if (!ParseLogLine(line, entry)) {
        return LineVerdict::Foreign;
    }
    DateLogEntry(day_, entry);
    return LineVerdict::Entry;
}

bool ReadLogFile(const std::wstring& path, const std::function<void(LogEntry&&)>& sink, LogReadSummary* summary,
                 std::string* error)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = FillText(LogCannotRead, {SystemErrorText(GetLastError())});
        return false;
    }
    LogReader reader(sink);
    std::string buffer(ReadPieceBytes, '\0');
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, &buffer[0], static_cast<DWORD>(buffer.size()), &got, NULL)) {
            *error = FillText(LogCannotRead, {SystemErrorText(GetLastError())});
            ok = false;
            break;
        }
        if (got == 0) {
            ok = reader.Finish(error);
            break;
        }
        if (!reader.Feed(std::string_view(buffer.data(), got), error)) {
            ok = false;
            break;
        }
    }
    CloseHandle(file);
    *summary = reader.Summary();
    return ok;
}

std::string SkippedLinesText(const LogReadSummary& summary)
{
    if (summary.skipped == 0) {
        return std::string();
    }
    return FillText(LogSkippedLines, {LineCount(summary.skipped), std::to_string(summary.firstSkippedLine)});
}
