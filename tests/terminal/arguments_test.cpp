// The command lines of vornak-terminal and vornak-send.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "send_arguments.h"
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

    ASSERT_TRUE(ParseTerminalArguments({L"--wait"}, &options, &error));
    EXPECT_EQ(TerminalCommand::Wait, options.command);
    EXPECT_EQ(DefaultTimeoutSeconds, options.timeoutSeconds);
}

TEST(TerminalArguments, NonsenseIsRefusedWithTheReason)
{
    struct Case {
        std::vector<std::wstring> arguments;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{L"--headless", L"--stop"}, "give only one of --headless, --stop, --wait, --help"},
        {{L"--output", L"x.txt"}, "--output goes with --headless"},
        {{L"--headless", L"--output"}, "--output needs a value"},
        {{L"--headless", L"--output", L""}, "--output takes one file name"},
        {{L"--stop", L"--timeout", L"0"}, "--timeout takes one whole number of seconds from 1 to 3600"},
        {{L"--stop", L"--timeout", L"3601"}, "--timeout takes one whole number of seconds from 1 to 3600"},
        {{L"--wait", L"--timeout", L"1s"}, "--timeout takes one whole number of seconds from 1 to 3600"},
        {{L"--headless", L"--timeout", L"5"}, "--timeout goes with --stop or --wait"},
        {{L"--h\u00e9adless"}, "unknown argument \"--h?adless\""},
        {{L"--rules"}, "--rules needs a value"},
        {{L"--rules", L""}, "--rules takes one file name"},
        {{L"--rules", L"a.rules", L"--rules", L"b.rules"}, "--rules takes one file name"},
        {{L"--headless", L"--rules", L"a.rules"}, "--rules goes with the window (no --headless, --stop, --wait)"},
        {{L"--rules", L"a.rules", L"--stop"}, "--rules goes with the window (no --headless, --stop, --wait)"},
    };
    for (const Case& c : cases) {
        TerminalOptions options;
        std::string error;
        EXPECT_FALSE(ParseTerminalArguments(c.arguments, &options, &error));
        EXPECT_EQ(c.error, error);
    }
}

TEST(SendArguments, MessageWordsAreJoinedAndTheTaskNameKept)
{
    SendRequest request;
    std::string error;
    ASSERT_TRUE(ParseSendArguments({"--task", "Script", "stat", "100%", "done", "--task"}, &request, &error));
    EXPECT_EQ(SendCommand::Statistic, request.command);
    EXPECT_TRUE(request.hasTask);
    EXPECT_EQ("Script", request.task);
    EXPECT_EQ("100% done --task", request.text);

    ASSERT_TRUE(ParseSendArguments({"log", ""}, &request, &error));
    EXPECT_EQ(SendCommand::Log, request.command);
    EXPECT_FALSE(request.hasTask);
    EXPECT_EQ("", request.text);
}

TEST(SendArguments, HelpIsAskedForAsTheTerminalAsksForIt)
{
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"/?"}, {"--task", "a", "/?"}}) {
        SendRequest request;
        std::string error;
        ASSERT_TRUE(ParseSendArguments(arguments, &request, &error)) << error;
        EXPECT_EQ(SendCommand::Help, request.command);
    }
}

TEST(SendArguments, SeparatorTakesAtMostOneFillCharacter)
{
    SendRequest request;
    std::string error;
    ASSERT_TRUE(ParseSendArguments({"separator"}, &request, &error));
    EXPECT_EQ(SendCommand::Separator, request.command);
    EXPECT_EQ(0, request.fill);
    ASSERT_TRUE(ParseSendArguments({"separator", "*"}, &request, &error));
    EXPECT_EQ('*', request.fill);
    EXPECT_FALSE(ParseSendArguments({"separator", "**"}, &request, &error));
    EXPECT_EQ("separator takes at most one fill character", error);
}

TEST(SendArguments, NonsenseIsRefusedWithTheReason)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{}, "say what to send: debug, log, stat, error, separator or clear"},
        {{"--task", "a"}, "say what to send: debug, log, stat, error, separator or clear"},
        {{"--task"}, "--task needs a name"},
        {{"--task", "", "log", "x"}, "--task was given an empty name; name the task, or leave --task out"},
        {{"--task", "a", "--task", "b", "log", "x"}, "give --task only once"},
        {{"-v", "log", "x"}, "unknown option \"-v\""},
        {{"shout", "x"}, "unknown command \"shout\""},
        {{"error"}, "error needs the text to send (\"\" for an empty line)"},
        {{"clear", "all"}, "clear takes no arguments"},
        {{"--task", "a", "clear"}, "--task goes with debug, log, stat or error"},
    };
    for (const Case& c : cases) {
        SendRequest request;
        std::string error;
        EXPECT_FALSE(ParseSendArguments(c.arguments, &request, &error));
        EXPECT_EQ(c.error, error);
    }
}

} // namespace
