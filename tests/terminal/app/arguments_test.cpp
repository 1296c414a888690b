// The command line of vornak-terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "refused_arguments.h"
#include "terminal_arguments.h"

namespace {

TEST(TerminalArguments, EachCommandWithItsOptionsIsUnderstood)
{
    TerminalOptions options;
    std::string error;
    ASSERT_TRUE(ParseTerminalArguments({}, &options, &error));
    EXPECT_EQ(TerminalCommand::Window, options.command);

    ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--output", L"C:\\logs\\lines.txt"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Headless, options.command);
    EXPECT_EQ(L"C:\\logs\\lines.txt", options.outputPath);

    ASSERT_TRUE(ParseTerminalArguments({L"--timeout", L"3600", L"--stop"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Stop, options.command);
    EXPECT_EQ(3600u, options.timeoutSeconds);

    ASSERT_TRUE(ParseTerminalArguments({L"--rules", L"C:\\rules\\driver.rules"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Window, options.command);
    EXPECT_EQ(L"C:\\rules\\driver.rules", options.rulesPath);

    ASSERT_TRUE(ParseTerminalArguments({L"--history", L"10000"}, &options, &error));
    EXPECT_EQ(10000u, options.historyLines);
    ASSERT_TRUE(ParseTerminalArguments({L"--history", L"50000000"}, &options, &error));
    EXPECT_EQ(50000000u, options.historyLines);

    ASSERT_TRUE(ParseTerminalArguments({L"--wait"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Wait, options.command);
    EXPECT_EQ(DefaultTimeoutSeconds, options.timeoutSeconds);
}

TEST(TerminalArguments, TheHeadlessOutputsFormAndRotationAreUnderstood)
{
    TerminalOptions options;
    std::string error;
    ASSERT_TRUE(ParseTerminalArguments({L"--headless"}, &options, &error));
    EXPECT_EQ(OutputFormat::Text, options.format);
    EXPECT_EQ(0u, options.rotateBytes);

    ASSERT_TRUE(ParseTerminalArguments({L"--format", L"json", L"--headless"}, &options, &error));
    EXPECT_EQ(OutputFormat::Json, options.format);
    ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--format", L"text"}, &options, &error));
    EXPECT_EQ(OutputFormat::Text, options.format);

    ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--output", L"a.log", L"--rotate", L"1"}, &options, &error));
    EXPECT_EQ(1u, options.rotateBytes);
    EXPECT_EQ(5u, options.keptFiles);

    struct Size {
        const wchar_t* given;
        uint64_t bytes;
    };
    const std::vector<Size> sizes = {
        {L"4096", 4096}, {L"10K", 10240}, {L"10k", 10240}, {L"3M", 3u << 20}, {L"2G", 2ull << 30},
        {L"1099511627776", 1ull << 40}, {L"1024G", 1ull << 40},
    };
    for (const Size& size : sizes) {
        ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--output", L"a.log", L"--rotate", size.given}, &options,
                                           &error))
            << error;
        EXPECT_EQ(size.bytes, options.rotateBytes);
    }
    for (unsigned keep : {0u, 1u, 1000u}) {
        ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--output", L"a.log", L"--rotate", L"1M", L"--keep",
                                            std::to_wstring(keep)},
                                           &options, &error))
            << error;
        EXPECT_EQ(keep, options.keptFiles);
    }
}

TEST(TerminalArguments, NonsenseIsRefusedWithTheReason)
{
    const std::vector<Refusal<std::wstring>> refusals = {
        {{L"--headless", L"--stop"}, "give only one of --headless, --stop, --wait, --help"},
        {{L"--output", L"x.txt"}, "--output goes with --headless"},
        {{L"--headless", L"--output"}, "--output needs a value"},
        {{L"--headless", L"--output", L""}, "--output takes one file name"},
        {{L"--stop", L"--timeout", L"0"}, "--timeout takes one whole number of seconds from 1 to 3600"},
        {{L"--stop", L"--timeout", L"3601"}, "--timeout takes one whole number of seconds from 1 to 3600"},
        {{L"--wait", L"--timeout", L"1s"}, "--timeout takes one whole number of seconds from 1 to 3600"},
        {{L"--headless", L"--timeout", L"5"}, "--timeout goes with --stop or --wait"},
        {{L"--h\u00e9adless"}, "unknown argument \"--h\xC3\xA9" "adless\""},
        {{L"--x\ty"}, "unknown argument \"--x?y\""},
        {{L"--rules"}, "--rules needs a value"},
        {{L"--rules", L""}, "--rules takes one file name"},
        {{L"--rules", L"a.rules", L"--rules", L"b.rules"}, "--rules is given twice"},
        {{L"--headless", L"--output", L"a", L"--output", L"b"}, "--output is given twice"},
        {{L"--stop", L"--timeout", L"5", L"--timeout", L"6"}, "--timeout is given twice"},
        {{L"--headless", L"--output", L"a", L"--rotate", L"5", L"--rotate", L"6"}, "--rotate is given twice"},
        {{L"--headless", L"--output", L"a", L"--rotate", L"5", L"--keep", L"1", L"--keep", L"1"},
         "--keep is given twice"},
        {{L"--headless", L"--rules", L"a.rules"}, "--rules goes with the window (no --headless, --stop, --wait)"},
        {{L"--rules", L"a.rules", L"--stop"}, "--rules goes with the window (no --headless, --stop, --wait)"},
        {{L"--headless", L"--format"}, "--format needs a value"},
        {{L"--headless", L"--format", L"xml"}, "--format takes text or json"},
        {{L"--headless", L"--format", L"JSON"}, "--format takes text or json"},
        {{L"--headless", L"--format", L"json", L"--format", L"json"}, "--format is given twice"},
        {{L"--stop", L"--format", L"json"}, "--format goes with --headless or --log"},
        {{L"--format", L"json"}, "--format goes with --headless or --log"},
        {{L"--headless", L"--rotate", L"1M"}, "--rotate goes with --headless --output FILE or with --log FILE"},
        {{L"--headless", L"--log", L"x.txt"}, "--log goes with the window (no --headless, --stop, --wait)"},
        {{L"--log", L""}, "--log takes one file name"},
        {{L"--headless", L"--output", L"a.log", L"--rotate"}, "--rotate needs a value"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"0"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"1099511627777"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"1025G"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"99999999999999999999"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"10KB"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"M"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"-5"},
         "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"1M", L"--keep", L"1001"},
         "--keep takes a whole number of old files from 0 to 1000"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"1M", L"--keep", L"5K"},
         "--keep takes a whole number of old files from 0 to 1000"},
        {{L"--headless", L"--output", L"a.log", L"--rotate", L"1M", L"--keep", L""},
         "--keep takes a whole number of old files from 0 to 1000"},
        {{L"--headless", L"--output", L"a.log", L"--keep", L"3"}, "--keep goes with --rotate"},
        {{L"--history", L"9999"}, "--history takes a whole number of lines from 10000 to 50000000"},
        {{L"--history", L"50000001"}, "--history takes a whole number of lines from 10000 to 50000000"},
        {{L"--history", L"2M"}, "--history takes a whole number of lines from 10000 to 50000000"},
        {{L"--history", L"lots"}, "--history takes a whole number of lines from 10000 to 50000000"},
        {{L"--history", L"20000", L"--history", L"20000"}, "--history is given twice"},
        {{L"--headless", L"--history", L"20000"}, "--history goes with the window (no --headless, --stop, --wait)"},
    };
    ExpectRefused<TerminalOptions>(ParseTerminalArguments, refusals);
}

} // namespace
