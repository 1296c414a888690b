// Reading a log back: a file written by File > Save or by --headless (text format), into lines
// the view shows as it showed them. Writing what was read with FormatLogEntry gives the file back
// byte for byte: escapes are undone only where the writer makes them again (a "\x41" a host sent
// stays four characters), placeholders come back as lines not carried (only an older file's
// "1 lines lost" notice comes back as "1 line lost").
//
// Bad input loses nothing else: a line that is not one the terminal writes (binary bytes, longer
// than any line it writes, a broken header) is left out and counted; a file whose first line is
// not such a line is refused as a whole, as soon as that is known (a first line that does not
// begin as a line of the terminal's, or grows past the longest). Nothing is read into a buffer of
// fixed size.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>
#include <string_view>

#include "pending_line.h"
#include "received_line.h"

// Longer lines are not ones the terminal writes (its longest is about 1,050 bytes).
constexpr size_t MaxLogLineBytes = 4096;

enum class LogEntryKind : uint8_t {
    Line,           // a line, a clear marker included
    DroppedNotice,  // "N lines lost: the output could not keep up"
};

struct LogEntry {
    LogEntryKind kind = LogEntryKind::Line;
    ReceivedLine line;  // for a notice: its time of day only
    uint64_t droppedCount = 0;
};

// The entry as the text output writes it.
std::string FormatLogEntry(const LogEntry& entry);

// One line of a log, without its line end (a "\r" before the "\n" is allowed). False when it is
// not a line the terminal writes.
bool ParseLogLine(std::string_view text, LogEntry* entry);

// A line from its class label and its shown text, as both forms read them: the class, a clear
// marker's text, the placeholders of lines not carried; any other text is the line's as decode
// makes it from the shown text. False when the label or the text is none the terminal writes.
bool ReadLabelledLine(std::string_view label, std::string_view shown,
                      const std::function<bool(std::string_view shown, std::string* text)>& decode,
                      ReceivedLine* line);

// Save writes the date once at the top and again wherever it changes, in a line of its own
// ("date 2026-12-09"); the lines after it are of that day. The text form keeps no offset from
// UTC: a dated line read back has its local time as its instant and an offset of 0, which shows
// the same date and time and gives the same elapsed times, midnight included.
// The date line before line when its date is not *lastDay's (then *lastDay becomes it), else
// nothing; a line without a date (arrivalUtcMs 0) changes nothing, nor one before 1970-01-02
// or past 9999 (it is saved without a date). *lastDay starts at NoDay.
constexpr int64_t NoDay = INT64_MIN;
std::string DateLineBefore(const StoredLine& line, int64_t* lastDay);
// The day (counted from 1970-01-01) of a date line, without its line end; false for another
// line (and for a date before 1970-01-02).
bool ParseDateLine(std::string_view text, int64_t* day);
// A line read after a date line, given that day: its instant.
void DateLogEntry(int64_t day, LogEntry* entry);

struct LogReadSummary {
    uint64_t entries = 0;
    uint64_t skipped = 0;           // lines left out
    uint64_t firstSkippedLine = 0;  // counted from 1
};

// A reader of one form of log (the text form here, JSON lines beside the headless output):
// bytes as they come (a file in pieces) in, every entry handed to a sink in order. The form says
// what one line is; the rest is alike for every form: lines gathered up to the form's longest,
// blank lines passed over, a file whose first line is none of the form's refused, later lines
// that are none left out and counted.
class EntryReader {
public:
    virtual ~EntryReader() = default;

    // False, with *error, once the input is known not to be a log (nothing more is read).
    bool Feed(std::string_view bytes, std::string* error);
    // The last line, if it has no line end.
    bool Finish(std::string* error);
    const LogReadSummary& Summary() const { return summary_; }

protected:
    struct LineForm {
        size_t longestLine;       // a longer line is none of the form's
        const char* notALogText;  // the refusal, filled with the line's number
        bool byteOrderMark;       // an editor's byte order mark may come first
    };
    enum class LineVerdict {
        Entry,    // *entry is the line's
        NoEntry,  // a line of the form that carries no entry (the text form's date lines)
        Foreign,  // not a line of the form
    };

    EntryReader(std::function<void(LogEntry&&)> sink, const LineForm& form);

    // Whether the first line, so far as it has come, can still be one of the form's: a file is
    // refused as soon as it cannot (a huge file of zeros is not read to its end first).
    virtual bool CanBegin(std::string_view start) const;
    // One line without its line feed (a "\r" before it is left on), never a blank one.
    virtual LineVerdict ReadLine(std::string_view line, LogEntry* entry) = 0;

private:
    bool TakeLine(std::string_view line, std::string* error);
    bool Refuse(uint64_t lineNumber, std::string* error);

    std::function<void(LogEntry&&)> sink_;
    LineForm form_;
    PendingLine pending_;
    bool refused_ = false;
    bool seenLine_ = false;  // a line of the form
    bool atStart_;           // a byte order mark may still come
    uint64_t lineNumber_ = 0;
    LogReadSummary summary_;
};

// The text form.
class LogReader : public EntryReader {
public:
    explicit LogReader(std::function<void(LogEntry&&)> sink);

protected:
    bool CanBegin(std::string_view start) const override;
    LineVerdict ReadLine(std::string_view line, LogEntry* entry) override;

private:
    int64_t day_ = NoDay;  // the last date line's
};

// Reads the file at path through a LogReader. False with *error when it cannot be read or is not
// a log; entries handed over before a read failure stay handed over.
bool ReadLogFile(const std::wstring& path, const std::function<void(LogEntry&&)>& sink, LogReadSummary* summary,
                 std::string* error);

// What the user is told about left-out lines; empty when none were.
std::string SkippedLinesText(const LogReadSummary& summary);
