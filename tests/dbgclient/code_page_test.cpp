// Lines of hosts on Windows set to other languages. CTest starts this program once in each of
// the locales that give Wine the table's ANSI code pages (Wine takes the code page from the
// locale a process starts in, and the processes it starts inherit it); the case runs a host
// process (with its own terminal) through the row of the code page it finds itself in, and
// compares the lines its terminal read back, in the same code page, with the bytes written out
// here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "terminal_record.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

namespace {

struct CodePageRow {
    UINT codePage;
    std::vector<std::wstring> calls;  // the script host's arguments
    std::vector<std::string> lines;   // what the terminal shows, in the code page's bytes
};

// The line of a wide row whose text the code page cannot hold: the format, unexpanded.
const std::string WideFormatAsWritten = "%ls|%S|%ws|%lc|%C\n";
// Korean, which none of the rows' code pages holds.
const std::wstring WideKorean = L"wide=\uD55C\uAD6D";

std::wstring Repeat(const std::wstring& piece, size_t count)
{
    std::wstring text;
    for (size_t i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

// The cuts around one double-byte character (its text and its bytes in the row's code page):
// where the atom's 251 bytes end, where the format's 256 do, and where the 276 of a task name,
// " : " and the format do. On each side of each cut, the character is kept whole or not at all.
void AddCuts(CodePageRow* row, const std::wstring& character, const std::string& bytes)
{
    std::wstring three = character + character + character;
    std::wstring percents127 = Repeat(L"%%", 127);
    std::string expanded127(127, '%');
    std::wstring name(200, L'N');
    std::string prefix = std::string(200, 'N') + " : ";
    row->calls.insert(row->calls.end(), {
        L"value=" + std::wstring(249, L'a') + three,
        L"value=" + std::wstring(250, L'a') + three,
        L"format=" + percents127 + character,
        L"format=" + percents127 + L"a" + character,
        L"task=" + name,
        L"format=" + Repeat(L"%%", 35) + L"a" + character,
        L"format=" + Repeat(L"%%", 36) + character,
    });
    row->lines.insert(row->lines.end(), {
        std::string(249, 'a') + bytes + "...\n",
        std::string(250, 'a') + "...\n",
        expanded127 + bytes + "\n",
        expanded127 + "a\n",
        prefix + std::string(35, '%') + "a" + bytes + "\n",
        prefix + std::string(36, '%') + "\n",
    });
}

std::vector<CodePageRow> Rows()
{
    std::vector<CodePageRow> rows = {
        {1252, {L"wide=\u20AC\u00FCber", WideKorean},
         {"\x80\xFC" "ber|\x80\xFC" "ber|\x80\xFC" "ber|\x80|\xFC\n", WideFormatAsWritten}},
        {1251, {L"wide=\u0416\u0451\u043B", WideKorean},
         {"\xC6\xB8\xEB|\xC6\xB8\xEB|\xC6\xB8\xEB|\xC6|\xB8\n", WideFormatAsWritten}},
        {932, {L"wide=\u65E5\u672C", L"wide=\u041F\u0440", WideKorean},
         {"\x93\xFA\x96\x7B|\x93\xFA\x96\x7B|\x93\xFA\x96\x7B|\x93\xFA|\x96\x7B\n",
          "\x84\x50\x84\x82|\x84\x50\x84\x82|\x84\x50\x84\x82|\x84\x50|\x84\x82\n", WideFormatAsWritten}},
        {936, {L"wide=\u4E2D\u6587", WideKorean},
         {"\xD6\xD0\xCE\xC4|\xD6\xD0\xCE\xC4|\xD6\xD0\xCE\xC4|\xD6\xD0|\xCE\xC4\n", WideFormatAsWritten}},
    };
    // A character whose trail byte is also a lead byte in 932; and one of 936's.
    AddCuts(&rows[2], L"\u3083", "\x82\xE1");
    AddCuts(&rows[3], L"\u4E2D", "\xD6\xD0");
    return rows;
}

// The script host's output: the code page it ran in, then its terminal's records.
struct HostRun {
    std::string codePage;
    std::vector<TerminalRecord> records;
    std::string unread;  // output lines that are not records
};

HostRun RunHost(const std::vector<std::wstring>& calls)
{
    ProgramRun run = RunProgram(QuotedCommandLine(PathBesideProgram(L"dbgclient-script-host.exe"), calls));
    HostRun host;
    size_t start = 0;
    while (start < run.bytes.size()) {
        size_t end = run.bytes.find('\n', start);
        std::string line = run.bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? run.bytes.size() : end + 1;
        TerminalRecord record;
        if (line.compare(0, 10, "code page ") == 0) {
            host.codePage = line.substr(10);
        } else if (ParseRecord(line, &record)) {
            host.records.push_back(record);
        } else {
            host.unread += line + "\n";
        }
    }
    host.unread += run.errors;
    if (run.exitCode != 0) {
        host.unread += "exit code " + std::to_string(run.exitCode) + "\n";
    }
    return host;
}

TEST(CodePages, WideValuesArriveInTheHostsCodePageAndCutsKeepWholeCharacters)
{
    const CodePageRow* row = nullptr;
    std::vector<CodePageRow> rows = Rows();
    for (const CodePageRow& candidate : rows) {
        if (candidate.codePage == GetACP()) {
            row = &candidate;
        }
    }
    ASSERT_NE(nullptr, row) << "started in code page " << GetACP() << ", which has no row: set LC_ALL to a "
                            << "locale that gives 1252, 1251, 932 or 936 (en_US.UTF-8, ru_RU.UTF-8, ...)";

    TerminalTestLock lock;
    HostRun host = RunHost(row->calls);
    ASSERT_EQ(std::to_string(row->codePage), host.codePage) << host.unread;
    ProtocolNumbers number = RegisteredProtocolNumbers();
    std::vector<TerminalRecord> expected;
    for (const std::string& line : row->lines) {
        expected.push_back(LineRecord(number.debug, line, VORNAK_LETTER_DEBUG));
    }
    EXPECT_EQ(expected, host.records);
    EXPECT_EQ("", host.unread);
}

}  // namespace
