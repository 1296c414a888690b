// Syslog messages (terminal/syslog_message.*): what is forwarded for any received line, in any of
// the hosts' code pages, from any host name, under any message limit the forwarder can set, reads
// under a strict RFC 5424 reading (below: the rules of the grammar the message uses) with the
// fields it claims: facility user and the class's severity, the arrival instant and offset (or
// the nil value when unknown), the host name as SyslogHostName makes it, "vornak-terminal", the
// process id, the class label, no structured data but for an ods line's writer element, and as MSG the line's text in UTF-8 without a
// byte order mark (but for a text that starts with U+FEFF, which a reader would take for one), or,
// cut to the limit, the longest start of it that fits with "..." after it.
// The notice of lines dropped, and the octet-counting frame for TCP, likewise.
//
// Input: a limit (two bytes: 0 none, else past the longest header and the cut mark), a process id
// (four bytes), the host name (text in the fuzzers' input language), then a received line
// (received_line_input.h).
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ansi_text.h"
#include "line_text.h"
#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "iso_time_reading.h"
#include "received_line_input.h"
#include "syslog_message.h"
#include "terminal_texts.h"

namespace {

// The longest header: "<15>1 ", a 29-character time, a 255-character host name, the program's
// name, a ten-digit process id, the longest class label and " - ", with the separating blanks.
// The forwarder's limit (2048 bytes for a datagram) leaves room for it and the cut mark. An ods
// line's element adds at most its id and name ('[writer@32473 pid="4294967295" name="..."]',
// each byte of the name escaped), which the limits past LongestHeader leave room for too.
const size_t LongestHeader = 6 + 29 + 1 + 255 + 1 + 15 + 1 + 10 + 1 + 9 + 3;
const size_t LongestWriterElement = 1 + 12 + 17 + 7 + 2 * MaxWriterNameBytes + 2;
const size_t CutMarkLength = 3;
const size_t LargestLimit = 8192;
const int MaxOffsetMinutes = 24 * 60 - 1;

struct Message {
    int priority = -1;
    std::string timestamp;
    std::string hostName;
    std::string appName;
    std::string procId;
    std::string msgId;
    std::string structuredData;
    std::string sdId;  // of the one element the terminal writes, with its parameters
    std::vector<std::pair<std::string, std::string>> sdParams;
    std::string msg;  // without its byte order mark
    bool hasMsg = false;
    bool markedUtf8 = false;  // MSG began with a byte order mark
};

bool PrintUsAscii(char c)
{
    return c >= 33 && c <= 126;
}

// One header field: NILVALUE or 1*max PRINTUSASCII, then the blank after it.
bool Field(std::string_view* rest, size_t max, std::string* field)
{
    size_t end = rest->find(' ');
    if (end == std::string_view::npos || end == 0 || end > max) {
        return false;
    }
    for (size_t i = 0; i < end; ++i) {
        if (!PrintUsAscii((*rest)[i])) {
            return false;
        }
    }
    field->assign(rest->data(), end);
    rest->remove_prefix(end + 1);
    return true;
}

bool ValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t need = c < 0x80 ? 0 : (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2
                                     : (c >= 0xF0 && c <= 0xF4) ? 3 : 9;
        if (need == 9 || text.size() - i <= need) {
            return false;
        }
        for (size_t k = 1; k <= need; ++k) {
            // The second byte's range rules out overlong forms, surrogates and too large.
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            unsigned char low = k == 1 && c == 0xE0 ? 0xA0 : k == 1 && c == 0xF0 ? 0x90 : 0x80;
            unsigned char high = k == 1 && c == 0xED ? 0x9F : k == 1 && c == 0xF4 ? 0x8F : 0xBF;
            if (next < low || next > high) {
                return false;
            }
        }
        i += need + 1;
    }
    return true;
}

// SD-NAME = 1*32 PRINTUSASCII except '=', SP, ']' and '"'; up to the character that ends it.
bool SdName(std::string_view* rest, std::string* name)
{
    size_t end = 0;
    while (end < rest->size() && PrintUsAscii((*rest)[end]) && (*rest)[end] != '=' && (*rest)[end] != ']' &&
           (*rest)[end] != '"') {
        ++end;
    }
    if (end == 0 || end > 32) {
        return false;
    }
    name->assign(rest->data(), end);
    rest->remove_prefix(end);
    return true;
}

// SD-ELEMENT = "[" SD-ID *(SP SD-PARAM) "]", SD-PARAM = PARAM-NAME "=" %d34 PARAM-VALUE %d34,
// PARAM-VALUE UTF-8 with '"', '\' and ']' escaped by a backslash.
bool SdElement(std::string_view* rest, Message* message)
{
    if (rest->empty() || (*rest)[0] != '[') {
        return false;
    }
    rest->remove_prefix(1);
    if (!SdName(rest, &message->sdId)) {
        return false;
    }
    while (!rest->empty() && (*rest)[0] == ' ') {
        rest->remove_prefix(1);
        std::pair<std::string, std::string> param;
        if (!SdName(rest, &param.first) || rest->substr(0, 2) != "=\"") {
            return false;
        }
        rest->remove_prefix(2);
        for (;;) {
            if (rest->empty()) {
                return false;
            }
            char c = (*rest)[0];
            rest->remove_prefix(1);
            if (c == '"') {
                break;
            }
            if (c == ']') {
                return false;  // must be escaped
            }
            if (c == '\\') {
                if (rest->empty() || ((*rest)[0] != '"' && (*rest)[0] != '\\' && (*rest)[0] != ']')) {
                    return false;  // the terminal escapes only these
                }
                c = (*rest)[0];
                rest->remove_prefix(1);
            }
            param.second += c;
        }
        if (!ValidUtf8(param.second)) {
            return false;
        }
        message->sdParams.push_back(param);
    }
    if (rest->empty() || (*rest)[0] != ']') {
        return false;
    }
    rest->remove_prefix(1);
    return true;
}

// SYSLOG-MSG = HEADER SP STRUCTURED-DATA [SP MSG]
// HEADER = PRI VERSION SP TIMESTAMP SP HOSTNAME SP APP-NAME SP PROCID SP MSGID
// PRI = "<" PRIVAL ">", PRIVAL 1*3DIGIT from 0 to 191 (no leading zero); VERSION here "1";
// HOSTNAME 1*255, APP-NAME 1*48, PROCID 1*128, MSGID 1*32 PRINTUSASCII, or "-";
// TIMESTAMP "-" or an RFC 3339 instant with at most six digits of fraction;
// STRUCTURED-DATA "-" or one SD-ELEMENT (the forms the terminal writes); MSG any octets, UTF-8
// when it starts with a byte order mark.
bool ReadMessage(std::string_view text, Message* message)
{
    if (text.size() < 3 || text[0] != '<') {
        return false;
    }
    size_t close = text.find('>');
    if (close == std::string_view::npos || close < 2 || close > 4 || (close > 2 && text[1] == '0')) {
        return false;
    }
    int priority = 0;
    for (size_t i = 1; i < close; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        priority = priority * 10 + (text[i] - '0');
    }
    if (priority > 191) {
        return false;
    }
    message->priority = priority;
    std::string_view rest = text.substr(close + 1);
    std::string version;
    if (!Field(&rest, 3, &version) || version != "1") {
        return false;
    }
    if (!Field(&rest, 64, &message->timestamp) || !Field(&rest, 255, &message->hostName) ||
        !Field(&rest, 48, &message->appName) || !Field(&rest, 128, &message->procId) ||
        !Field(&rest, 32, &message->msgId)) {
        return false;
    }
    IsoInstant ignored;
    if (message->timestamp != "-" && !ReadIsoInstant(message->timestamp, 6, &ignored)) {
        return false;
    }
    if (!rest.empty() && rest[0] == '-') {
        message->structuredData = "-";
        rest.remove_prefix(1);
    } else {
        std::string_view element = rest;
        if (!SdElement(&rest, message)) {
            return false;
        }
        message->structuredData.assign(element.data(), element.size() - rest.size());
    }
    if (rest.empty()) {
        return true;
    }
    if (rest[0] != ' ') {
        return false;
    }
    rest.remove_prefix(1);
    message->hasMsg = true;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") {
        message->markedUtf8 = true;
        rest.remove_prefix(3);
        if (!ValidUtf8(rest)) {
            return false;
        }
    }
    message->msg.assign(rest.data(), rest.size());
    return true;
}

void CheckTimestamp(const std::string& timestamp, int64_t utcMs, int offsetMinutes)
{
    int expectedOffset = offsetMinutes >= -MaxOffsetMinutes && offsetMinutes <= MaxOffsetMinutes ? offsetMinutes : 0;
    if (utcMs == 0 || !IsoWritable(utcMs, expectedOffset)) {
        FUZZ_CHECK(timestamp == "-", "an unknown time, or one RFC 5424 cannot write, is the nil value");
        return;
    }
    IsoInstant instant;
    FUZZ_CHECK(ReadIsoInstant(timestamp, 6, &instant), timestamp.c_str());
    FUZZ_CHECK(instant.utcMs == utcMs && instant.offsetMinutes == expectedOffset, timestamp.c_str());
}

// MSG is the text, or its longest start (whole characters) that fits the limit, then "...".
void CheckMsg(const std::string& written, const Message& message, const std::string& text, size_t limit)
{
    FUZZ_CHECK(message.hasMsg || text.empty(), "a message with text has MSG");
    FUZZ_CHECK(ValidUtf8(message.msg), "MSG is UTF-8");
    FUZZ_CHECK(!message.markedUtf8 || text.compare(0, 3, "\xEF\xBB\xBF") == 0,
               "MSG has a byte order mark only before a text that starts with U+FEFF");
    if (limit == 0 || message.msg == text) {
        FUZZ_CHECK(message.msg == text, "MSG is the text");
        FUZZ_CHECK(limit == 0 || written.size() <= limit, "the message fits its limit");
        return;
    }
    FUZZ_CHECK(written.size() <= limit, "a cut message fits its limit");
    FUZZ_CHECK(message.msg.size() >= 3 && message.msg.compare(message.msg.size() - 3, 3, "...") == 0,
               "a cut MSG ends in ...");
    size_t kept = message.msg.size() - 3;
    FUZZ_CHECK(text.compare(0, kept, message.msg, 0, kept) == 0 && kept < text.size(), "a cut MSG keeps the start");
    size_t next = kept + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) {
        ++next;
    }
    FUZZ_CHECK(written.size() + (next - kept) > limit, "a cut MSG keeps as much as fits");
}

void CheckFrame(const std::string& message)
{
    std::string framed = FrameForTcp(message);
    std::string length = std::to_string(message.size());
    FUZZ_CHECK(framed == length + " " + message, "framed by its length in octets");
}

void CheckHeader(const Message& message, const SyslogOrigin& origin, int severity, const char* msgId)
{
    FUZZ_CHECK(message.priority == SyslogFacility * 8 + severity, "facility user and the severity");
    FUZZ_CHECK(message.hostName == origin.hostName, "the host name");
    FUZZ_CHECK(message.appName == SyslogAppName, "the program's name");
    FUZZ_CHECK(message.procId == std::to_string(origin.processId), "the process id");
    FUZZ_CHECK(message.msgId == msgId, "MSGID");
}

// An ods line's writer in its element, the name as much of it as the element keeps; no element
// for any other line.
void CheckWriter(const Message& message, const ReceivedLine& line, unsigned codePage)
{
    if (line.lineClass != LineClass::Ods) {
        FUZZ_CHECK(message.structuredData == "-", "no structured data but an ods line's writer");
        return;
    }
    FUZZ_CHECK(message.sdId == SyslogWriterId, "the writer's element");
    FUZZ_CHECK(message.structuredData.size() <= LongestWriterElement, "the element is bounded");
    FUZZ_CHECK(!message.sdParams.empty() && message.sdParams[0].first == "pid" &&
                   message.sdParams[0].second == std::to_string(line.processId),
               "the writer's id");
    if (line.processName.empty()) {
        FUZZ_CHECK(message.sdParams.size() == 1, "no name when it is unknown");
        return;
    }
    FUZZ_CHECK(message.sdParams.size() == 2 && message.sdParams[1].first == "name", "the writer's name");
    std::string name = AnsiToUtf8(line.processName, codePage);
    const std::string& given = message.sdParams[1].second;
    FUZZ_CHECK(given == name || (given.size() <= MaxWriterNameBytes && given.size() >= 3 &&
                                 given.compare(given.size() - 3, 3, "...") == 0 &&
                                 name.compare(0, given.size() - 3, given, 0, given.size() - 3) == 0),
               "the name, or its start and ...");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    size_t limitChoice = input.Size(LargestLimit - LongestHeader - LongestWriterElement - CutMarkLength);
    size_t limit = limitChoice == 0 ? 0 : LongestHeader + LongestWriterElement + CutMarkLength + limitChoice;
    SyslogOrigin origin;
    origin.processId = input.Word32();
    std::string givenName = input.Text<char>(600);
    origin.hostName = SyslogHostName(givenName);
    FUZZ_CHECK(origin.hostName == "-" || (origin.hostName.size() <= 255 && origin.hostName.find(' ') == std::string::npos),
               "a host name fit for HOSTNAME");
    FuzzedLine fuzzed = ReadFuzzedLine(input);
    const ReceivedLine& line = fuzzed.line;

    std::string written = FormatSyslogMessage(origin, line, limit, fuzzed.codePage);
    Message message;
    FUZZ_CHECK(ReadMessage(written, &message), written.c_str());
    CheckHeader(message, origin, SyslogSeverity(line.lineClass), ClassLabel(line.lineClass));
    CheckWriter(message, line, fuzzed.codePage);
    CheckTimestamp(message.timestamp, line.arrivalUtcMs, line.utcOffsetMinutes);
    CheckMsg(written, message, LineTextUtf8(line, fuzzed.codePage), limit);
    CheckFrame(written);

    ArrivalTime at;
    at.utcMs = line.arrivalUtcMs;
    at.offsetMinutes = line.utcOffsetMinutes;
    uint64_t count = static_cast<uint64_t>(line.arrivalUtcMs) * 7919u;
    std::string notice = FormatSyslogDroppedNotice(origin, at, count, limit);
    Message read;
    FUZZ_CHECK(ReadMessage(notice, &read), notice.c_str());
    CheckHeader(read, origin, SyslogDroppedSeverity, DroppedLabel);
    CheckTimestamp(read.timestamp, at.utcMs, at.offsetMinutes);
    CheckMsg(notice, read, FillText(DroppedNoticeText, {LinesInWords(count)}), limit);
    return 0;
}
