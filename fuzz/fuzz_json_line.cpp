// JSON lines (terminal/json_line.*): what --format json writes for any received line, in any of
// the hosts' code pages, is one line that a real JSON parser (nlohmann/json, strict about UTF-8)
// reads as an object of exactly time, class and text: the class its label, the text the line's
// text (decoded from the code page: where the line holds only characters the code page defines,
// it encodes back to them), the time null when unknown (or past the year 9999), else an RFC 3339
// instant that reads back as the line's arrival and offset. The notice of lines lost likewise.
//
// Input: a received line (received_line_input.h); the notice's count is taken from its instant.
#include <stddef.h>
#include <stdint.h>

#include <windows.h>

#include <nlohmann/json.hpp>

#include <string>

#include "ansi_text.h"
#include "fuzz_checks.h"
#include "iso_time_reading.h"
#include "json_line.h"
#include "received_line_input.h"
#include "terminal_texts.h"

namespace {

const int MaxOffsetMinutes = 24 * 60 - 1;

// The object of a JSON line: one line, parsed whole, with exactly the three members (five for an
// ods line, its writer's id and name too).
nlohmann::json ParsedLine(const std::string& written, bool ods = false)
{
    FUZZ_CHECK(!written.empty() && written.back() == '\n' && written.find('\n') == written.size() - 1 &&
                   written.find('\r') == std::string::npos,
               "one line");
    nlohmann::json parsed = nlohmann::json::parse(written, nullptr, false);
    FUZZ_CHECK(!parsed.is_discarded(), written.c_str());
    FUZZ_CHECK(parsed.is_object() && parsed.size() == (ods ? 5u : 3u) && parsed.contains("time") && parsed.contains("class") &&
                   parsed.contains("text") && parsed["class"].is_string() && parsed["text"].is_string(),
               written.c_str());
    return parsed;
}

void CheckTime(const nlohmann::json& time, int64_t utcMs, int offsetMinutes)
{
    int expectedOffset = offsetMinutes >= -MaxOffsetMinutes && offsetMinutes <= MaxOffsetMinutes ? offsetMinutes : 0;
    if (utcMs == 0 || !IsoWritable(utcMs, expectedOffset)) {
        FUZZ_CHECK(time.is_null(), "an unknown time, or one RFC 3339 cannot write, is null");
        return;
    }
    FUZZ_CHECK(time.is_string(), "a known time is a string");
    IsoInstant instant;
    FUZZ_CHECK(ReadIsoInstant(time.get<std::string>(), 9, &instant), time.get<std::string>().c_str());
    FUZZ_CHECK(instant.utcMs == utcMs && instant.offsetMinutes == expectedOffset, time.get<std::string>().c_str());
}

// Whether every byte sequence of text is a character the code page defines.
bool AllDefined(const std::string& text, unsigned codePage)
{
    return text.empty() || MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

void CheckText(const std::string& decoded, const FuzzedLine& fuzzed)
{
    const ReceivedLine& line = fuzzed.line;
    if (line.lineClass == LineClass::ClearMarker) {
        FUZZ_CHECK(decoded == ClearedText, "a clear reads \"terminal cleared\"");
        return;
    }
    if (line.carriage != LineCarriage::Carried) {
        FUZZ_CHECK(decoded == (line.carriage == LineCarriage::TooLong ? TooLongPlaceholder : UnreadablePlaceholder),
                   "a line not carried reads as its placeholder");
        return;
    }
    std::string text = line.text;
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    FUZZ_CHECK(decoded == AnsiToUtf8(text, fuzzed.codePage), "the text is the line's, decoded");
    if (!AllDefined(text, fuzzed.codePage)) {
        return;
    }
    std::string back;
    FUZZ_CHECK(Utf8ToAnsi(decoded, fuzzed.codePage, &back), "the text encodes back to the code page");
    FUZZ_CHECK(AnsiToUtf8(back, fuzzed.codePage) == decoded, "encoded back, the text decodes the same");
    bool oneByteCharacters = fuzzed.codePage != 932 && fuzzed.codePage != 936 && fuzzed.codePage != 949 &&
                             fuzzed.codePage != 950;
    if (oneByteCharacters) {
        FUZZ_CHECK(back == text, "the text encodes back to the line's bytes");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    FuzzedLine fuzzed = ReadFuzzedLine(input);
    const ReceivedLine& line = fuzzed.line;

    bool ods = line.lineClass == LineClass::Ods;
    nlohmann::json parsed = ParsedLine(FormatJsonLine(line, fuzzed.codePage), ods);
    FUZZ_CHECK(parsed["class"] == ClassLabel(line.lineClass), "the class is its label");
    if (ods) {
        FUZZ_CHECK(parsed["pid"].is_number_unsigned() && parsed["pid"].get<uint64_t>() == line.processId,
                   "the writer's id");
        FUZZ_CHECK(line.processName.empty() ? parsed["process"].is_null()
                                            : parsed["process"] == AnsiToUtf8(line.processName, fuzzed.codePage),
                   "the writer's name, decoded, or null");
    }
    CheckTime(parsed["time"], line.arrivalUtcMs, line.utcOffsetMinutes);
    CheckText(parsed["text"].get<std::string>(), fuzzed);

    ArrivalTime at;
    at.utcMs = line.arrivalUtcMs;
    at.offsetMinutes = line.utcOffsetMinutes;
    uint64_t count = static_cast<uint64_t>(line.arrivalUtcMs) * 7919u;
    nlohmann::json notice = ParsedLine(FormatJsonDroppedNotice(at, count));
    FUZZ_CHECK(notice["class"] == DroppedLabel, "the notice's class is \"dropped\"");
    CheckTime(notice["time"], at.utcMs, at.offsetMinutes);
    FUZZ_CHECK(notice["text"] == FillText(DroppedNoticeText, {LinesInWords(count)}), "the notice's text");
    return 0;
}
