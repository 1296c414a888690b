// Reading saved logs back (terminal/log_reader.*): any bytes, fed to the reader in pieces of
// random sizes and also whole, give the same entries, the same count of lines left out and the
// same refusal as the file read line by line here; a refusal names the first line that is not
// blank. Each entry written back with the writer (FormatLogEntry) is the line it came from
// (less blanks an editor took off its end) and reads back as the same entry.
//
// Input: a byte naming the log's form, four bytes that seed the cuts, then the file's bytes.
// Form 0 is the text the terminal writes, form 1 its JSON lines (read back in code page 1252);
// CheckLog shows what each form is held to. Form 2 is a rotated set: the bytes split at each 0x1E
// into members (one member is a file alone), read one after another by the set's reader, each
// member in the form it starts in; CheckSet holds it to its members read each on its own.
#include <stddef.h>
#include <stdint.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "iso_time.h"
#include "json_line.h"
#include "json_line_reader.h"
#include "log_reader.h"
#include "log_set_reader.h"
#include "terminal_texts.h"

namespace {

enum class LogForm : uint8_t {
    Text,
    Json,
    Set,
    Count,  // forms to come go before this one
};

struct Outcome {
    std::vector<LogEntry> entries;
    LogReadSummary summary;
    bool refused = false;
    std::string error;
};

constexpr unsigned JsonCodePage = 1252;

// What differs between the forms.
struct Form {
    bool (*parse)(std::string_view line, LogEntry* entry);
    // The entry's line, after the date line Save writes before it where its date changes.
    std::string (*write)(const LogEntry& entry, int64_t* day);
    // A line read on its own has no date: the date the line's date line gives it.
    void (*date)(const LogEntry& from, LogEntry* entry);
    // A line that is no entry but gives the lines after it their date.
    bool (*dateLine)(std::string_view line, int64_t* day);
    std::unique_ptr<EntryReader> (*reader)(std::function<void(LogEntry&&)> sink);
    const char* notALog;
    size_t maxLineBytes;
    bool byteOrderMark;  // one may come first
    bool blanksMayGo;    // an editor may have taken blanks off a line's end
};

const Form TextForm = {
    [](std::string_view line, LogEntry* entry) { return ParseLogLine(line, entry); },
    [](const LogEntry& entry, int64_t* day) { return DateLineBefore(entry.line, day) + FormatLogEntry(entry); },
    [](const LogEntry& from, LogEntry* entry) {
        if (from.line.arrivalUtcMs != 0) {
            DateLogEntry(from.line.arrivalUtcMs / MsPerDay, entry);
        }
    },
    [](std::string_view line, int64_t* day) { return ParseDateLine(line, day); },
    [](std::function<void(LogEntry&&)> sink) -> std::unique_ptr<EntryReader> {
        return std::make_unique<LogReader>(std::move(sink));
    },
    LogNotALog, MaxLogLineBytes, true, true};

const Form JsonForm = {
    [](std::string_view line, LogEntry* entry) { return ParseJsonLogLine(line, JsonCodePage, entry); },
    [](const LogEntry& entry, int64_t*) {
        if (entry.kind == LogEntryKind::DroppedNotice) {
            ArrivalTime at;
            at.utcMs = entry.line.arrivalUtcMs;
            at.offsetMinutes = entry.line.utcOffsetMinutes;
            return FormatJsonDroppedNotice(at, entry.droppedCount);
        }
        return FormatJsonLine(entry.line, JsonCodePage);
    },
    [](const LogEntry&, LogEntry*) {},
    [](std::string_view, int64_t*) { return false; },
    [](std::function<void(LogEntry&&)> sink) -> std::unique_ptr<EntryReader> {
        return std::make_unique<JsonLogReader>(std::move(sink), JsonCodePage);
    },
    LogNotAJsonLog, MaxJsonLineBytes, false, false};

bool SameEntry(const LogEntry& a, const LogEntry& b)
{
    return a.kind == b.kind && a.droppedCount == b.droppedCount && a.line.arrivalMsOfDay == b.line.arrivalMsOfDay &&
           a.line.lineClass == b.line.lineClass && a.line.carriage == b.line.carriage &&
           a.line.utcOffsetMinutes == b.line.utcOffsetMinutes && a.line.arrivalUtcMs == b.line.arrivalUtcMs &&
           a.line.text == b.line.text;
}

void CheckSameOutcome(const Outcome& a, const Outcome& b, const char* what)
{
    FUZZ_CHECK(a.refused == b.refused && a.error == b.error, what);
    FUZZ_CHECK(a.summary.entries == b.summary.entries && a.summary.skipped == b.summary.skipped &&
                   a.summary.firstSkippedLine == b.summary.firstSkippedLine,
               what);
    FUZZ_CHECK(a.entries.size() == b.entries.size(), what);
    for (size_t i = 0; i < a.entries.size(); ++i) {
        FUZZ_CHECK(SameEntry(a.entries[i], b.entries[i]), what);
    }
}

// The file as the reader's documentation describes it, read whole, line by line.
Outcome ReadWhole(const Form& form, std::string_view bytes)
{
    Outcome out;
    if (form.byteOrderMark && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    uint64_t number = 0;
    bool seenLine = false;
    int64_t day = NoDay;
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        ++number;
        if (line.empty() || line == "\r") {
            continue;
        }
        LogEntry entry;
        if (line.size() <= form.maxLineBytes && form.dateLine(line, &day)) {
            seenLine = true;
            continue;
        }
        if (line.size() <= form.maxLineBytes && form.parse(line, &entry)) {
            if (day != NoDay) {
                DateLogEntry(day, &entry);
            }
            seenLine = true;
            ++out.summary.entries;
            out.entries.push_back(entry);
            continue;
        }
        if (!seenLine) {
            out.refused = true;
            out.error = FillText(form.notALog, {std::to_string(number)});
            return out;
        }
        if (out.summary.skipped++ == 0) {
            out.summary.firstSkippedLine = number;
        }
    }
    return out;
}

// Fed in pieces: cuts[i] bytes at a time, the last piece taking what is left.
Outcome ReadInPieces(const Form& form, std::string_view bytes, const std::vector<size_t>& cuts)
{
    Outcome out;
    std::unique_ptr<EntryReader> owned = form.reader([&out](LogEntry&& entry) { out.entries.push_back(std::move(entry)); });
    EntryReader& reader = *owned;
    bool going = true;
    for (size_t i = 0; going && !bytes.empty(); ++i) {
        size_t take = i < cuts.size() ? std::min(cuts[i], bytes.size()) : bytes.size();
        going = reader.Feed(bytes.substr(0, take), &out.error);
        bytes.remove_prefix(take);
    }
    if (going) {
        going = reader.Finish(&out.error);
    }
    out.refused = !going;
    out.summary = reader.Summary();
    return out;
}

// What every form is held to: the same result however the bytes were cut, that result the one
// the documentation gives, and entries that the writer writes back as they were.
void CheckLog(const Form& form, std::string_view bytes, const std::vector<size_t>& cuts)
{
    Outcome whole = ReadWhole(form, bytes);
    CheckSameOutcome(whole, ReadInPieces(form, bytes, {}), "read in one piece");
    CheckSameOutcome(whole, ReadInPieces(form, bytes, cuts), "read in pieces");

    std::string written;
    int64_t day = NoDay;
    for (const LogEntry& entry : whole.entries) {
        std::string lines = form.write(entry, &day);
        FUZZ_CHECK(!lines.empty() && lines.back() == '\n', "lines an entry");
        std::string line = lines.substr(lines.find_last_of('\n', lines.size() - 2) + 1);
        FUZZ_CHECK(lines.size() == line.size() || lines.find('\n') == lines.size() - line.size() - 1,
                   "at most a date line before an entry's line");
        LogEntry again;
        bool parsed = form.parse(std::string_view(line).substr(0, line.size() - 1), &again);
        form.date(entry, &again);
        FUZZ_CHECK(parsed && SameEntry(entry, again), "an entry written back reads as the same entry");
        written += lines;
    }
    Outcome rewritten = ReadWhole(form, written);
    FUZZ_CHECK(rewritten.summary.skipped == 0 && !rewritten.refused, "what the writer writes is read whole");
    CheckSameOutcome(whole.refused ? rewritten : Outcome{whole.entries, rewritten.summary, false, std::string()},
                     rewritten, "the written-back log holds the same entries, dates included");
    CheckSameOutcome(rewritten, ReadInPieces(form, written, cuts), "the written-back log read in pieces");

    // Byte for byte: each line read is the line the writer makes of its entry, or that line
    // without blanks at its end.
    std::string_view rest = form.byteOrderMark && bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
    size_t next = 0;
    while (!rest.empty() && !whole.refused) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        LogEntry entry;
        if (line.size() > form.maxLineBytes || !form.parse(line, &entry)) {
            continue;  // date lines among them: Save writes them again where the date changes
        }
        if (line.back() == '\r') {
            line.remove_suffix(1);
        }
        FUZZ_CHECK(next < whole.entries.size(), "every line read is an entry");
        int64_t scratchDay = NoDay;
        std::string made = form.write(whole.entries[next++], &scratchDay);
        made = made.substr(made.find_last_of('\n', made.size() - 2) + 1);  // without a date line
        made.pop_back();
        bool same = made == line || (form.blanksMayGo && made.compare(0, line.size(), line) == 0 &&
                                     made.find_first_not_of(' ', line.size()) == std::string::npos);
        FUZZ_CHECK(same, "the writer writes back the line that was read");
    }
}

// A set read member by member in pieces gives what its members give read whole, each on its own:
// their entries in order, and each member's refusal or left-out lines named with the member (for a
// file alone: the refusal ends the read, and its left-out lines are the read's).
void CheckSet(std::string_view bytes, const std::vector<size_t>& cuts)
{
    std::vector<std::string_view> members;
    for (size_t start = 0;;) {
        size_t end = bytes.find('\x1E', start);
        members.push_back(bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    bool inSet = members.size() > 1;

    LogSetOutcome expected;
    std::vector<LogEntry> expectedEntries;
    for (size_t i = 0; i < members.size(); ++i) {
        if (members[i].empty()) {
            continue;
        }
        std::string name = "member-" + std::to_string(i);
        Outcome member = ReadWhole(members[i][0] == '{' ? JsonForm : TextForm, members[i]);
        expectedEntries.insert(expectedEntries.end(), member.entries.begin(), member.entries.end());
        expected.summary.entries += member.summary.entries;
        if (!inSet) {
            expected.summary.skipped = member.summary.skipped;
            expected.summary.firstSkippedLine = member.summary.firstSkippedLine;
        } else if (member.summary.skipped != 0) {
            expected.memberProblems.push_back(FillText(SetMemberProblem, {name, SkippedLinesText(member.summary)}));
        }
        if (member.refused && !inSet) {
            expected.error = member.error;
            break;
        }
        if (member.refused) {
            expected.memberProblems.push_back(FillText(SetMemberProblem, {name, member.error}));
        }
    }

    std::vector<LogEntry> entries;
    LogSetReader set([&entries](LogEntry&& entry) { entries.push_back(std::move(entry)); }, inSet);
    size_t cut = 0;
    for (size_t i = 0; i < members.size(); ++i) {
        set.BeginMember("member-" + std::to_string(i));
        std::string_view rest = members[i];
        bool ok = true;
        while (ok && !rest.empty()) {
            size_t take = cut < cuts.size() ? std::min(cuts[cut++], rest.size()) : rest.size();
            ok = set.Feed(rest.substr(0, take));
            rest.remove_prefix(take);
        }
        if (ok) {
            set.FinishMember();
        }
        if (!set.EndMember()) {
            break;
        }
    }
    const LogSetOutcome& read = set.Outcome();
    FUZZ_CHECK(read.error == expected.error, "a file alone is refused as its reader refuses it");
    FUZZ_CHECK(read.memberProblems == expected.memberProblems, "each member's problems named with the member");
    FUZZ_CHECK(read.summary.entries == expected.summary.entries && read.summary.skipped == expected.summary.skipped &&
                   read.summary.firstSkippedLine == expected.summary.firstSkippedLine,
               "the set's count of entries and a file alone's left-out lines");
    FUZZ_CHECK(entries.size() == expectedEntries.size(), "the members' entries, every one");
    for (size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(SameEntry(entries[i], expectedEntries[i]), "the members' entries in order");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    LogForm form = static_cast<LogForm>(input.Byte() % static_cast<uint8_t>(LogForm::Count));
    uint32_t seed = input.Word32() | 1;
    size_t header = size < 5 ? size : 5;
    std::string_view bytes(reinterpret_cast<const char*>(data) + header, size - header);
    std::vector<size_t> cuts;
    for (size_t covered = 0; covered < bytes.size();) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        // Mostly small pieces, now and then one of up to a few thousand bytes; some empty.
        size_t cut = (seed & 7) == 0 ? seed % 5000 : seed % 9;
        cuts.push_back(cut);
        covered += cut;
    }
    switch (form) {
    case LogForm::Text: CheckLog(TextForm, bytes, cuts); break;
    case LogForm::Json: CheckLog(JsonForm, bytes, cuts); break;
    case LogForm::Set: CheckSet(bytes, cuts); break;
    case LogForm::Count: break;
    }
    return 0;
}
