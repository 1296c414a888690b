// The headless terminal's forwarding options on its command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "refused_arguments.h"
#include "terminal_arguments.h"

namespace {

TEST(ForwardArguments, SeveralCollectorsAndAQueueSizeAreUnderstood)
{
    TerminalOptions options;
    std::string error;
    ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--forward", L"syslog+tcp://logs.lab:6514", L"--output",
                                        L"x.txt", L"--forward", L"SYSLOG+UDP://[::1]:514", L"--forward-queue",
                                        L"250"},
                                       &options, &error))
        << error;
    ASSERT_EQ(2u, options.forwardTo.size());
    EXPECT_EQ(SyslogTransport::Tcp, options.forwardTo[0].transport);
    EXPECT_EQ("logs.lab", options.forwardTo[0].host);
    EXPECT_EQ(6514, options.forwardTo[0].port);
    EXPECT_EQ(SyslogTransport::Udp, options.forwardTo[1].transport);
    EXPECT_EQ("::1", options.forwardTo[1].host);
    EXPECT_EQ(514, options.forwardTo[1].port);
    EXPECT_EQ(250u, options.forwardQueueLines);
    EXPECT_EQ(L"x.txt", options.outputPath);

    ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--forward", L"syslog+udp://10.0.0.5:514"}, &options, &error));
    EXPECT_EQ(100000u, options.forwardQueueLines);
    ASSERT_TRUE(ParseTerminalArguments({L"--headless"}, &options, &error));
    EXPECT_TRUE(options.forwardTo.empty());
}

TEST(ForwardArguments, BadAddressesAndMisplacedOptionsAreRefusedWithTheReason)
{
    auto forward = [](const wchar_t* address) { return std::vector<std::wstring>{L"--headless", L"--forward", address}; };
    auto queue = [](std::vector<std::wstring> lengths) {
        std::vector<std::wstring> arguments = {L"--headless", L"--forward", L"syslog+tcp://l:1"};
        for (const std::wstring& length : lengths) {
            arguments.insert(arguments.end(), {L"--forward-queue", length});
        }
        return arguments;
    };
    const std::vector<Refusal<std::wstring>> refusals = {
        {"unknown forwarding address \"http://logs:514\": give syslog+udp://HOST:PORT or syslog+tcp://HOST:PORT",
         {forward(L"http://logs:514")}},
        {"the forwarding address \"syslog+tcp://logs\" has no port: give HOST:PORT", {forward(L"syslog+tcp://logs")}},
        {"the forwarding address \"syslog+tcp://logs:\" has no port: give HOST:PORT", {forward(L"syslog+tcp://logs:")}},
        {"the port in the forwarding address \"syslog+tcp://logs:5l4\" is not a number",
         {forward(L"syslog+tcp://logs:5l4")}},
        {"the port in the forwarding address \"syslog+udp://logs:65536\" is out of range (1 to 65535)",
         {forward(L"syslog+udp://logs:65536")}},
        {"the port in the forwarding address \"syslog+udp://logs:0\" is out of range (1 to 65535)",
         {forward(L"syslog+udp://logs:0")}},
        {"--forward needs a value", {{L"--headless", L"--forward"}}},
        {"--forward and --forward-queue go with --headless",
         {{L"--forward", L"syslog+tcp://logs:514"}, {L"--stop", L"--forward", L"syslog+tcp://logs:514"}}},
        {"--forward-queue goes with --forward", {{L"--headless", L"--forward-queue", L"10"}}},
        {"--forward-queue takes one whole number of lines from 1 to 10000000",
         {queue({L"0"}), queue({L"10000001"}), queue({L"1e5"})}},
        {"--forward-queue is given twice", {queue({L"5", L"5"})}},
    };
    ExpectRefused<TerminalOptions>(ParseTerminalArguments, refusals);
}

TEST(ForwardArguments, SixteenCollectorsAreAcceptedAndASeventeenthIsRefused)
{
    std::vector<std::wstring> arguments = {L"--headless"};
    for (int i = 0; i < 16; ++i) {
        arguments.push_back(L"--forward");
        arguments.push_back(L"syslog+udp://10.0.0." + std::to_wstring(i + 1) + L":514");
    }
    TerminalOptions options;
    std::string error;
    ASSERT_TRUE(ParseTerminalArguments(arguments, &options, &error)) << error;
    EXPECT_EQ(16u, options.forwardTo.size());
    arguments.push_back(L"--forward");
    arguments.push_back(L"syslog+udp://10.0.0.17:514");
    EXPECT_FALSE(ParseTerminalArguments(arguments, &options, &error));
    EXPECT_EQ("--forward is given more than 16 times: the terminal forwards to at most 16 collectors", error);
}

TEST(ForwardArguments, TheLargestQueueIsAccepted)
{
    TerminalOptions options;
    std::string error;
    ASSERT_TRUE(ParseTerminalArguments({L"--headless", L"--forward", L"syslog+tcp://l:1", L"--forward-queue",
                                        L"10000000"},
                                       &options, &error));
    EXPECT_EQ(10000000u, options.forwardQueueLines);
}

} // namespace
