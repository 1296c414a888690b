// forward-host: the host side and the checker of the tests that forward to a real rsyslog.
//
//   forward-host send TAG THREADS LINES [PAUSE_MS]
//     THREADS threads each send LINES lines, classes in turn (debug, log, statistic, error), with
//     hostile text (quotes, backslashes, control characters, bytes 0x80-0xFF), pausing PAUSE_MS
//     after each; prints "calls N median_us M p90_us P max_us X lines_per_s R"; exits with the worst status.
//   forward-host check FILE INPUT TAG THREADS LINES [KEPT]
//     reads rsyslog's file (one record a line: inputname msgid severity hostname app-name procid
//     timestamp msg as JSON) and checks that the records from INPUT (imtcp, imudp) with TAG hold every line
//     of every thread whole, once, in the thread's order, with its class's severity and msgid.
//     With KEPT (one thread): lines 0 to KEPT-1, then a notice that LINES-KEPT were dropped.
//   forward-host expect-some FILE INPUT TAG THREADS LINES
//     as check, but a record may be missing (UDP); those that came are whole and in order.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vornakdbg32.h"

namespace {

struct ClassOnTheWire {
    const char* msgid;
    int severity;
};
const ClassOnTheWire Classes[] = {{"debug", 7}, {"log", 6}, {"statistic", 6}, {"error", 3}};

// The line's text in the host's code page: "TAG THREAD INDEX " and a hostile tail that changes
// with the index, up to the 254 characters a line carries with its line feed.
std::string LineText(const std::string& tag, int thread, int index)
{
    std::string text = tag + " " + std::to_string(thread) + " " + std::to_string(index) + " ";
    text += "\"quoted\" back\\slash \\\" tab\there ctl\x01\x07\x1b\x7f [";
    for (int i = 0; i < 24; ++i) {
        text += static_cast<char>(0x80 + (index * 24 + i) % 128);
    }
    text += "] ";
    text.append(static_cast<size_t>(index % 97), static_cast<char>('a' + index % 26));
    return text.substr(0, 254);
}

std::string AnsiToUtf8(const std::string& text)
{
    int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, NULL, NULL);
    return utf8;
}

std::atomic<int> WorstStatus{VORNAKDBG_STATUS_DONE};
std::mutex TimesLock;
std::vector<long long> CallMicroseconds;

void SendLines(const std::string& tag, int thread, int lines, int pauseMs)
{
    std::vector<long long> times;
    for (int index = 0; index < lines; ++index) {
        std::string text = LineText(tag, thread, index);
        auto began = std::chrono::steady_clock::now();
        unsigned short status = VORNAKDBG_STATUS_DONE;
        switch (index % 4) {
        case 0: status = VornakDbg_Message("%s", text.c_str()); break;
        case 1: status = VornakLog_Message("%s", text.c_str()); break;
        case 2: status = VornakStat_Message("%s", text.c_str()); break;
        default: status = VornakError_Message("%s", text.c_str()); break;
        }
        times.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - began).count());
        int worst = WorstStatus.load();
        while (status > worst && !WorstStatus.compare_exchange_weak(worst, status)) {
        }
        if (pauseMs > 0) {
            Sleep(static_cast<DWORD>(pauseMs));
        }
    }
    std::lock_guard<std::mutex> lock(TimesLock);
    CallMicroseconds.insert(CallMicroseconds.end(), times.begin(), times.end());
}

int Send(const std::string& tag, int threads, int lines, int pauseMs)
{
    std::vector<std::thread> senders;
    auto began = std::chrono::steady_clock::now();
    for (int thread = 0; thread < threads; ++thread) {
        senders.emplace_back(SendLines, tag, thread, lines, pauseMs);
    }
    for (std::thread& sender : senders) {
        sender.join();
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::sort(CallMicroseconds.begin(), CallMicroseconds.end());
    size_t count = CallMicroseconds.size();
    if (count != 0) {
        printf("calls %zu median_us %lld p90_us %lld max_us %lld lines_per_s %.0f\n", count,
               CallMicroseconds[count / 2], CallMicroseconds[count * 9 / 10], CallMicroseconds[count - 1],
               seconds > 0 ? static_cast<double>(count) / seconds : 0.0);
    }
    return WorstStatus;
}

// The JSON string rsyslog wrote (format="json": without its quotes), decoded.
bool DecodeJson(const std::string& json, std::string* out)
{
    out->clear();
    for (size_t i = 0; i < json.size(); ++i) {
        char c = json[i];
        if (c != '\\') {
            *out += c;
            continue;
        }
        if (++i >= json.size()) {
            return false;
        }
        switch (json[i]) {
        case '"': *out += '"'; break;
        case '\\': *out += '\\'; break;
        case '/': *out += '/'; break;
        case 'b': *out += '\b'; break;
        case 'f': *out += '\f'; break;
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        case 't': *out += '\t'; break;
        case 'u': {
            if (i + 4 >= json.size()) {
                return false;
            }
            unsigned code = static_cast<unsigned>(strtoul(json.substr(i + 1, 4).c_str(), NULL, 16));
            i += 4;
            if (code < 0x80) {
                *out += static_cast<char>(code);
            } else if (code < 0x800) {
                *out += static_cast<char>(0xC0 | (code >> 6));
                *out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                *out += static_cast<char>(0xE0 | (code >> 12));
                *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                *out += static_cast<char>(0x80 | (code & 0x3F));
            }
            break;
        }
        default: return false;
        }
    }
    return true;
}

struct Record {
    std::string input, msgid, hostname, app, procid, timestamp, text;
    int severity = -1;
};

bool ParseRecord(const std::string& line, Record* record)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (int i = 0; i < 7; ++i) {
        size_t space = line.find(' ', start);
        if (space == std::string::npos) {
            return false;
        }
        fields.push_back(line.substr(start, space - start));
        start = space + 1;
    }
    record->input = fields[0];
    record->msgid = fields[1];
    record->severity = atoi(fields[2].c_str());
    record->hostname = fields[3];
    record->app = fields[4];
    record->procid = fields[5];
    record->timestamp = fields[6];
    return DecodeJson(line.substr(start), &record->text);
}

// "2026-12-08T14:24:12.449+01:00" or "...Z": the time as sent, with milliseconds and the offset
// (rsyslog keeps the sender's fraction; a message without a time would get rsyslog's own).
bool IsIsoTimeWithMilliseconds(const std::string& time)
{
    const std::string shape = "dddd-dd-ddTdd:dd:dd.ddd";
    if (time.size() < shape.size() + 1) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        bool digit = time[i] >= '0' && time[i] <= '9';
        if (shape[i] == 'd' ? !digit : time[i] != shape[i]) {
            return false;
        }
    }
    std::string zone = time.substr(shape.size());
    return zone == "Z" || (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == ':');
}

int Failures = 0;
void Fail(const std::string& what)
{
    if (++Failures <= 20) {
        printf("FAILED: %s\n", what.c_str());
    }
}

// Checks the records of TAG; kept >= 0: one thread whose lines from kept on were dropped.
int Check(const std::string& file, const std::string& input, const std::string& tag, int threads, int lines,
          int kept, bool allNeeded)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        Fail("cannot read " + file);
        return 1;
    }
    std::vector<int> next(static_cast<size_t>(threads), 0);
    std::vector<int> arrived(static_cast<size_t>(threads), 0);
    bool noticeSeen = false;
    std::string line;
    std::string prefix = tag + " ";
    while (std::getline(in, line)) {
        Record record;
        if (!ParseRecord(line, &record)) {
            Fail("a record rsyslog wrote cannot be read: " + line);
            continue;
        }
        if (record.input != input || record.app != "vornak-terminal") {
            continue;
        }
        if (record.msgid == "dropped" && kept >= 0 && next[0] == kept && !noticeSeen) {
            std::string expected = std::to_string(lines - kept) + " lines lost: the output could not keep up";
            if (record.text != expected || record.severity != 4) {
                Fail("the notice of dropped lines says \"" + record.text + "\" at severity " +
                     std::to_string(record.severity) + "; expected \"" + expected + "\" at 4");
            }
            noticeSeen = true;
            continue;
        }
        if (record.text.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        int thread = -1;
        int index = -1;
        if (sscanf(record.text.c_str() + prefix.size(), "%d %d", &thread, &index) != 2 || thread < 0 ||
            thread >= threads || index < 0 || index >= lines) {
            Fail("a record that is no line of the test: " + record.text);
            continue;
        }
        if (noticeSeen && kept >= 0) {
            Fail("a line after the notice of the dropped lines: " + std::to_string(index));
        }
        int& expectedIndex = next[static_cast<size_t>(thread)];
        if (index < expectedIndex || (allNeeded && index != expectedIndex)) {
            Fail("thread " + std::to_string(thread) + ": line " + std::to_string(index) + " where line " +
                 std::to_string(expectedIndex) + " was due");
        }
        expectedIndex = index + 1;
        ++arrived[static_cast<size_t>(thread)];
        const ClassOnTheWire& wire = Classes[index % 4];
        std::string text = AnsiToUtf8(LineText(tag, thread, index));
        if (record.text != text) {
            Fail("line " + std::to_string(thread) + "/" + std::to_string(index) + " arrived as \"" + record.text +
                 "\", expected \"" + text + "\"");
        }
        if (record.msgid != wire.msgid || record.severity != wire.severity) {
            Fail("line " + std::to_string(index) + " came with msgid " + record.msgid + " and severity " +
                 std::to_string(record.severity));
        }
        if (!IsIsoTimeWithMilliseconds(record.timestamp)) {
            Fail("line " + std::to_string(index) + " came with the time " + record.timestamp);
        }
        if (record.hostname.empty() || record.hostname == "-" || atoi(record.procid.c_str()) <= 0) {
            Fail("no host name or process id: " + record.hostname + " " + record.procid);
        }
    }
    for (int thread = 0; thread < threads; ++thread) {
        int due = kept >= 0 ? kept : lines;
        int got = arrived[static_cast<size_t>(thread)];
        if ((allNeeded && got != due) || got == 0) {
            Fail("thread " + std::to_string(thread) + ": " + std::to_string(got) + " of " + std::to_string(due) +
                 " lines arrived over " + input);
        }
        printf("thread %d: %d of %d lines arrived over %s\n", thread, got, due, input.c_str());
    }
    if (kept >= 0 && !noticeSeen) {
        Fail("no notice of the dropped lines after the kept ones");
    }
    return Failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 4 && args[0] == "send") {
        return Send(args[1], atoi(args[2].c_str()), atoi(args[3].c_str()), args.size() > 4 ? atoi(args[4].c_str()) : 0);
    }
    if (args.size() >= 6 && (args[0] == "check" || args[0] == "expect-some")) {
        int kept = args.size() > 6 ? atoi(args[6].c_str()) : -1;
        return Check(args[1], args[2], args[3], atoi(args[4].c_str()), atoi(args[5].c_str()), kept,
                     args[0] == "check");
    }
    fprintf(stderr, "usage: forward-host send TAG THREADS LINES [PAUSE_MS]\n"
                    "       forward-host check|expect-some FILE INPUT TAG THREADS LINES [KEPT]\n");
    return 64;
}
