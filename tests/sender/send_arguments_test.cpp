// The command line of vornak-send.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "refused_arguments.h"
#include "send_arguments.h"

namespace {

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
    const std::vector<Refusal<std::string>> refusals = {
        {"say what to send: debug, log, stat, error, separator or clear", {{}, {"--task", "a"}}},
        {"--task needs a name", {{"--task"}}},
        {"--task was given an empty name; name the task, or leave --task out", {{"--task", "", "log", "x"}}},
        {"give --task only once", {{"--task", "a", "--task", "b", "log", "x"}}},
        {"unknown option \"-v\"", {{"-v", "log", "x"}}},
        {"unknown command \"shout\"", {{"shout", "x"}}},
        {"error needs the text to send (\"\" for an empty line)", {{"error"}}},
        {"clear takes no arguments", {{"clear", "all"}}},
        {"--task goes with debug, log, stat or error", {{"--task", "a", "clear"}}},
    };
    ExpectRefused<SendRequest>(ParseSendArguments, refusals);
}

} // namespace
