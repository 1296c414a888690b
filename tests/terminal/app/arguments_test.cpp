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

    ASSERT_TRUE(ParseTerminalArguments({L"C:\\logs\\lines.txt", L"--rules", L"a.rules"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Window, options.command);
    EXPECT_EQ(L"C:\\logs\\lines.txt", options.openPath);

    EXPECT_FALSE(options.viewer);
    ASSERT_TRUE(ParseTerminalArguments({L"--view", L"C:\\logs\\lines.txt", L"--rules", L"a.rules"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Window, options.command);
    EXPECT_EQ(L"C:\\logs\\lines.txt", options.openPath);
    EXPECT_TRUE(options.viewer);

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
    auto rotate = [](const wchar_t* size) {
        return std::vector<std::wstring>{L"--headless", L"--output", L"a.log", L"--rotate", size};
    };
    auto keep = [](const wchar_t* count) {
        return std::vector<std::wstring>{L"--headless", L"--output", L"a.log", L"--rotate", L"1M", L"--keep", count};
    };
    const std::vector<Refusal<std::wstring>> refusals = {
        {"give only one of --headless, --stop, --wait, --help", {{L"--headless", L"--stop"}}},
        {"--output goes with --headless", {{L"--output", L"x.txt"}}},
        {"--output needs a value", {{L"--headless", L"--output"}}},
        {"--output takes one file name", {{L"--headless", L"--output", L""}}},
        {"--timeout takes one whole number of seconds from 1 to 3600",
         {{L"--stop", L"--timeout", L"0"}, {L"--stop", L"--timeout", L"3601"}, {L"--wait", L"--timeout", L"1s"}}},
        {"--timeout goes with --stop or --wait", {{L"--headless", L"--timeout", L"5"}}},
        {"unknown argument \"--h\xC3\xA9" "adless\"", {{L"--h\u00e9adless"}}},
        {"unknown argument \"--x?y\"", {{L"--x\ty"}}},
        {"--rules needs a value", {{L"--rules"}}},
        {"--rules takes one file name", {{L"--rules", L""}}},
        {"--rules is given twice", {{L"--rules", L"a.rules", L"--rules", L"b.rules"}}},
        {"--output is given twice", {{L"--headless", L"--output", L"a", L"--output", L"b"}}},
        {"--timeout is given twice", {{L"--stop", L"--timeout", L"5", L"--timeout", L"6"}}},
        {"--rotate is given twice", {{L"--headless", L"--output", L"a", L"--rotate", L"5", L"--rotate", L"6"}}},
        {"--keep is given twice",
         {{L"--headless", L"--output", L"a", L"--rotate", L"5", L"--keep", L"1", L"--keep", L"1"}}},
        {"--rules goes with the window (no --headless, --stop, --wait)",
         {{L"--headless", L"--rules", L"a.rules"}, {L"--rules", L"a.rules", L"--stop"}}},
        {"--format needs a value", {{L"--headless", L"--format"}}},
        {"--format takes text or json", {{L"--headless", L"--format", L"xml"}, {L"--headless", L"--format", L"JSON"}}},
        {"--format is given twice", {{L"--headless", L"--format", L"json", L"--format", L"json"}}},
        {"--format goes with --headless or --log", {{L"--stop", L"--format", L"json"}, {L"--format", L"json"}}},
        {"--rotate goes with --headless --output FILE or with --log FILE", {{L"--headless", L"--rotate", L"1M"}}},
        {"--log goes with the window (no --headless, --stop, --wait)", {{L"--headless", L"--log", L"x.txt"}}},
        {"--log takes one file name", {{L"--log", L""}}},
        {"--rotate needs a value", {{L"--headless", L"--output", L"a.log", L"--rotate"}}},
        {"--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)",
         {rotate(L"0"), rotate(L"1099511627777"), rotate(L"1025G"), rotate(L"99999999999999999999"), rotate(L"10KB"),
          rotate(L"M"), rotate(L"-5")}},
        {"--keep takes a whole number of old files from 0 to 1000", {keep(L"1001"), keep(L"5K"), keep(L"")}},
        {"--keep goes with --rotate", {{L"--headless", L"--output", L"a.log", L"--keep", L"3"}}},
        {"--history takes a whole number of lines from 10000 to 50000000",
         {{L"--history", L"9999"}, {L"--history", L"50000001"}, {L"--history", L"2M"}, {L"--history", L"lots"}}},
        {"--history is given twice", {{L"--history", L"20000", L"--history", L"20000"}}},
        {"--history goes with the window (no --headless, --stop, --wait)", {{L"--headless", L"--history", L"20000"}}},
        {"give only one log to open", {{L"a.txt", L"b.txt"}, {L"--view", L"a.txt", L"b.txt"}, {L"b.txt", L"--view", L"a.txt"}}},
        {"a log to open goes with the window (no --headless, --stop, --wait)",
         {{L"--headless", L"a.txt"}, {L"--view", L"a.txt", L"--stop"}}},
        {"--view needs a value", {{L"--view"}}},
        {"--view takes one file name", {{L"--view", L""}}},
        {"--view is given twice", {{L"--view", L"a.txt", L"--view", L"a.txt"}}},
        {"--view shows a file and takes no lines: it goes without --log", {{L"--view", L"a.txt", L"--log", L"b.txt"}}},
    };
    ExpectRefused<TerminalOptions>(ParseTerminalArguments, refusals);
}

} // namespace
