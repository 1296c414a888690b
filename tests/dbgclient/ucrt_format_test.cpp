// Formatting as hosts built with Visual C++ expect it: every row's line equals what the Universal
// C Runtime's own formatter (ucrtbase.dll, looked up here at run time) makes of the same format
// and values, after the task name.
#include <limits.h>
#include <math.h>
#include <stdarg.h>
#include <stdint.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "dbgclient_fixture.h"

namespace {

using UcrtFormatting = DbgClientTest;

const char TableTaskName[] = "Table";
const unsigned long long StandardSnprintfBehaviour = 2;

typedef int(__cdecl* CommonVsprintf)(unsigned long long options, char* buffer, size_t size, const char* format,
                                     void* locale, va_list values);

CommonVsprintf RunTimeFormatter()
{
    HMODULE ucrt = LoadLibraryA("ucrtbase.dll");
    return ucrt == NULL ? NULL
                        : reinterpret_cast<CommonVsprintf>(
                              reinterpret_cast<void*>(GetProcAddress(ucrt, "__stdio_common_vsprintf")));
}

// The run-time's text for format and values, as Microsoft's vsnprintf makes it; "(refused)" when
// it returns an error.
std::string RunTimeText(const char* format, ...)
{
    static CommonVsprintf formatter = RunTimeFormatter();
    if (formatter == NULL) {
        return "(no ucrtbase.dll)";
    }
    char text[1024];
    va_list values;
    va_start(values, format);
    int length = formatter(StandardSnprintfBehaviour, text, sizeof(text), format, NULL, values);
    va_end(values);
    return length < 0 ? "(refused)" : std::string(text);
}

// Sends each row through the library and keeps what the terminal must show for it.
class Rows {
public:
    Rows(const DbgClientExports& dbg, UINT debugNumber) : dbg_(dbg), debugNumber_(debugNumber) {}

    template <typename... Values>
    void Row(const char* format, Values... values)
    {
        std::string line = std::string(TableTaskName) + " : " + RunTimeText(format, values...) + "\n";
        expected_.push_back(LineRecord(debugNumber_, line, VORNAK_LETTER_DEBUG));
        failedCalls_ += dbg_.debugMessage(format, values...) != VORNAKDBG_STATUS_DONE;
    }

    const std::vector<TerminalRecord>& Expected() const { return expected_; }
    int FailedCalls() const { return failedCalls_; }

private:
    const DbgClientExports& dbg_;
    UINT debugNumber_;
    std::vector<TerminalRecord> expected_;
    int failedCalls_ = 0;
};

TEST_P(UcrtFormatting, EveryRowArrivesAsTheRunTimeFormatsIt)
{
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(TableTaskName));
    const char* noText = nullptr;
    const wchar_t* noWideText = nullptr;
    int byte = 0;
    Rows rows(*dbg, number.debug);

    // Microsoft's sizes and wide text.
    rows.Row("adapter %ws", L"eth0");
    rows.Row("%S and %hs", L"wide", "narrow");
    rows.Row("%ls|%10ws|%-6S|", L"long", L"right", L"left");
    rows.Row("%I64d %I64u %I64x", -1234567890123LL, 18446744073709551615ULL, 0xFEDCBA9876543210ULL);
    rows.Row("%I32d %I32u %I32X", static_cast<int>(INT32_MIN), 4294967295u, 0xBEEFu);
    rows.Row("%Iu %Id %Ix", SIZE_MAX, static_cast<ptrdiff_t>(-5), static_cast<size_t>(0xABC));
    rows.Row("%ws then %d then %s", L"adapter", 5, "eth0");
    // C99's sizes.
    rows.Row("%zu %zd %zx", static_cast<size_t>(123456789), static_cast<ptrdiff_t>(-7), static_cast<size_t>(255));
    rows.Row("%lld %llu", LLONG_MIN, ULLONG_MAX);
    rows.Row("%jd %ju %td", INTMAX_MIN, UINTMAX_MAX, static_cast<ptrdiff_t>(-40000));
    rows.Row("%hd %hu %ld %lu", 70000, 70000, -2147483647L - 1, 4294967295ul);
    // Pointers.
    rows.Row("%p %p", static_cast<void*>(&byte), static_cast<void*>(nullptr));
    // Floating point.
    rows.Row("%e %E", 12345.678, -0.000123456);
    rows.Row("%g %G %g %G", 0.0001, 1e-10, 123456789.0, 1e20);
    rows.Row("%f %.3f %10.4f|%-10.2e|", 3.14159265, 2.0 / 3.0, -1.0 / 7.0, 6.02214076e23);
    rows.Row("%a %A", 1.5, -0.1);
    rows.Row("%f %e %g %E %G", HUGE_VAL, -HUGE_VAL, HUGE_VAL, HUGE_VAL, -HUGE_VAL);
    rows.Row("%f %e", NAN, -NAN);
    // Flags and widths.
    rows.Row("[%-8d] [%+d] [% d] [%08d] [%-+6d] [%05d]", 42, 42, 42, 42, 42, -42);
    rows.Row("[%#x] [%#o] [%#X] [%#.3g] [%#.0f]", 255u, 8u, 0xABCu, 1.0, 2.0);
    rows.Row("[%*d] [%-*d] [%.*s] [%*.*f]", 6, 7, 6, 7, 3, "abcdef", 9, 2, 3.14159);
    rows.Row("[%10.4s] [%.0s] [%.3d] [%.0d]", "truncate", "gone", 5, 0);
    // Characters.
    rows.Row("%c %C %hc %lc %wc", 'a', static_cast<wint_t>(L'B'), 'c', static_cast<wint_t>(L'D'), static_cast<wint_t>(L'E'));
    rows.Row("[%3c] [%-3c]", 'x', 'y');
    // Null strings.
    rows.Row("%s|%ws|%S|%hs|%ls", noText, noWideText, noWideText, noText, noWideText);
    rows.Row("%10s|%-8ws|", noText, noWideText);
    // The rest of the conversions, and a percent sign.
    rows.Row("%i %u %o %x %X %%", -3, 3000000000u, 511u, 0xdeadu, 0xBEEFu);

    EXPECT_EQ(0, rows.FailedCalls());
    EXPECT_EQ(rows.Expected(), TerminalSaw());
}

TEST_P(UcrtFormatting, RowsShowMicrosoftsConversionsNotAnotherRunTimes)
{
    // Guards the table: MinGW's own printf prints "%ws" as it is, msvcrt.dll "e+004" and "1.#INF00".
    EXPECT_EQ("adapter eth0", RunTimeText("adapter %ws", L"eth0"));
    EXPECT_EQ("adapter then 5 then eth0", RunTimeText("%ws then %d then %s", L"adapter", 5, "eth0"));
    EXPECT_EQ("1.234568e+04 inf INF", RunTimeText("%e %f %E", 12345.678, HUGE_VAL, HUGE_VAL));
    // Not a literal: GCC's ms_printf check knows neither "%ws" nor "%zu".
    const std::string format = "adapter %ws, %I64d, %zu, %e";
    StartTerminal();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE,
              dbg->debugMessage(format.c_str(), L"eth0", -5LL, static_cast<size_t>(7), 12345.678));
    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, "adapter eth0, -5, 7, 1.234568e+04\n", VORNAK_LETTER_DEBUG),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

}  // namespace

INSTANTIATE_BY_NAME_AND_ORDINAL(UcrtFormatting);
