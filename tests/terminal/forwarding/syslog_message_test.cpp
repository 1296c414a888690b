// Lines as RFC 5424 syslog messages, their framing, their cut, and the forwarding addresses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "received_lines.h"
#include "syslog_message.h"

namespace {

SyslogOrigin Origin()
{
    SyslogOrigin origin;
    origin.hostName = "lab-07.example.net";
    origin.processId = 4242;
    return origin;
}

TEST(SyslogMessage, EachClassGoesWithItsSeverityAsMessageIdOfFacilityUser)
{
    struct Case {
        LineClass lineClass;
        const char* message;
    };
    const std::vector<Case> cases = {
        {LineClass::Error, "<11>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 error - x"},
        {LineClass::Statistic, "<14>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 statistic - x"},
        {LineClass::Log, "<14>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 log - x"},
        {LineClass::Debug, "<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 debug - x"},
        {LineClass::Separator, "<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 separator - x"},
        {LineClass::ClearMarker,
         "<13>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 clear - terminal cleared"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.message, FormatSyslogMessage(Origin(), SampleLine(c.lineClass, "x\n"), 0, 1252));
    }
}

TEST(SyslogMessage, AnOdsLineNamesItsWriterInAnElementOfItsOwn)
{
    EXPECT_EQ("<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 ods "
              "[writer@32473 pid=\"4321\" name=\"a\\\"b\\]\\\\caf\xC3\xA9.exe\"] ready",
              FormatSyslogMessage(Origin(), SampleOdsLine("ready\n", "a\"b]\\caf\xE9.exe"), 0, 1252));
    EXPECT_EQ("<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 ods [writer@32473 pid=\"4321\"] "
              "ready",
              FormatSyslogMessage(Origin(), SampleOdsLine("ready\n", ""), 0, 1252));
}

TEST(SyslogMessage, TheTextGoesAsUtf8WithoutAByteOrderMarkAndWithoutEscapes)
{
    EXPECT_EQ("<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 debug - "
              "\"q\" \\ \t\x01 caf\xC3\xA9 \xE2\x82\xAC",
              FormatSyslogMessage(Origin(), SampleLine(LineClass::Debug, "\"q\" \\ \t\x01 caf\xE9 \x80\n"), 0, 1252));
    // Hosts in UTF-8: a text that starts with U+FEFF goes after a byte order mark of the message's.
    EXPECT_EQ("<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 debug - "
              "\xEF\xBB\xBF\xEF\xBB\xBFx",
              FormatSyslogMessage(Origin(), SampleLine(LineClass::Debug, "\xEF\xBB\xBFx\n"), 0, 65001));
}

TEST(SyslogMessage, DroppedLinesAreAWarningOfTheirOwn)
{
    ArrivalTime at;
    at.utcMs = 1796736252449;
    at.offsetMinutes = 0;
    EXPECT_EQ("<12>1 2026-12-08T13:24:12.449+00:00 lab-07.example.net vornak-terminal 4242 dropped - 17 lines lost: "
              "the output could not keep up",
              FormatSyslogDroppedNotice(Origin(), at, 17));
    at.utcMs = 253402300800000;  // 10000-01-01, which RFC 5424 cannot write
    EXPECT_EQ("<12>1 - lab-07.example.net vornak-terminal 4242 dropped - 17 lines lost: the output could not keep up",
              FormatSyslogDroppedNotice(Origin(), at, 17));
}

TEST(SyslogMessage, TcpFramingCountsTheBytes)
{
    EXPECT_EQ("5 hello", FrameForTcp("hello"));
    EXPECT_EQ("5 caf\xC3\xA9", FrameForTcp("caf\xC3\xA9"));
    EXPECT_EQ("0 ", FrameForTcp(""));
}

TEST(SyslogMessage, AMessageOverTheLimitKeepsItsStartAndEndsInDotsNeverInsideACharacter)
{
    const std::string header = "<15>1 2026-12-08T14:24:12.449+01:00 lab-07.example.net vornak-terminal 4242 debug - ";
    ReceivedLine line = SampleLine(LineClass::Debug, "abc\xE9\xE9\xE9\n");  // abcééé: 3 + 3 * 2 bytes in UTF-8
    EXPECT_EQ(header + "abc\xC3\xA9\xC3\xA9\xC3\xA9", FormatSyslogMessage(Origin(), line, header.size() + 9, 1252));
    EXPECT_EQ(header + "abc\xC3\xA9...", FormatSyslogMessage(Origin(), line, header.size() + 8, 1252));
    EXPECT_EQ(header + "abc...", FormatSyslogMessage(Origin(), line, header.size() + 7, 1252));  // not half an é
    EXPECT_EQ(header + "abc...", FormatSyslogMessage(Origin(), line, header.size() + 6, 1252));
    EXPECT_EQ(header + "...", FormatSyslogMessage(Origin(), line, header.size() + 3, 1252));
    EXPECT_EQ(header + "..", FormatSyslogMessage(Origin(), line, header.size() + 2, 1252));
}

TEST(SyslogMessage, A255CharacterLineFitsTheDefaultDatagram)
{
    ReceivedLine line = SampleLine(LineClass::Debug, std::string(254, '\x80') + "\n");  // 254 euro signs, 762 bytes
    std::string message = FormatSyslogMessage(Origin(), line, DefaultUdpMessageLimit, 1252);
    EXPECT_LE(message.size(), DefaultUdpMessageLimit);
    EXPECT_EQ("\xE2\x82\xAC", message.substr(message.size() - 3));
}

TEST(SyslogMessage, HostNamesKeepPrintableAsciiAndAtMost255Characters)
{
    EXPECT_EQ("lab-07", SyslogHostName("lab-07"));
    EXPECT_EQ("labpc", SyslogHostName("lab pc\x01\xE9"));
    EXPECT_EQ("-", SyslogHostName(""));
    EXPECT_EQ("-", SyslogHostName(" \t"));
    EXPECT_EQ(std::string(255, 'h'), SyslogHostName(std::string(300, 'h')));
    std::string local = LocalSyslogHostName();
    EXPECT_FALSE(local.empty());
    EXPECT_EQ(local, SyslogHostName(local));
}

TEST(SyslogDestination, UdpAndTcpAddressesAreRead)
{
    struct Case {
        const wchar_t* text;
        SyslogTransport transport;
        const char* host;
        uint16_t port;
    };
    const std::vector<Case> cases = {
        {L"syslog+udp://collector.lab:514", SyslogTransport::Udp, "collector.lab", 514},
        {L"syslog+tcp://10.1.2.3:6514", SyslogTransport::Tcp, "10.1.2.3", 6514},
        {L"syslog+tcp://[::1]:1", SyslogTransport::Tcp, "::1", 1},
        {L"SYSLOG+UDP://[fe80::1%4]:65535/", SyslogTransport::Udp, "fe80::1%4", 65535},
    };
    for (const Case& c : cases) {
        SyslogDestination destination;
        std::string error;
        ASSERT_TRUE(ParseSyslogDestination(c.text, &destination, &error)) << error;
        EXPECT_EQ(c.transport, destination.transport);
        EXPECT_EQ(c.host, destination.host);
        EXPECT_EQ(c.port, destination.port);
    }
}

TEST(SyslogDestination, WrongAddressesAreRefusedWithTheReason)
{
    struct Case {
        const wchar_t* text;
        const char* error;
    };
    const std::vector<Case> cases = {
        {L"http://x:514", "unknown forwarding address \"http://x:514\": give syslog+udp://HOST:PORT or syslog+tcp://HOST:PORT"},
        {L"syslog://x:514", "unknown forwarding address \"syslog://x:514\": give syslog+udp://HOST:PORT or syslog+tcp://HOST:PORT"},
        {L"syslog+udp://x", "the forwarding address \"syslog+udp://x\" has no port: give HOST:PORT"},
        {L"syslog+udp://x:", "the forwarding address \"syslog+udp://x:\" has no port: give HOST:PORT"},
        {L"syslog+udp://x:51a", "the port in the forwarding address \"syslog+udp://x:51a\" is not a number"},
        {L"syslog+udp://x:-1", "the port in the forwarding address \"syslog+udp://x:-1\" is not a number"},
        {L"syslog+udp://x:0", "the port in the forwarding address \"syslog+udp://x:0\" is out of range (1 to 65535)"},
        {L"syslog+udp://x:65536", "the port in the forwarding address \"syslog+udp://x:65536\" is out of range (1 to 65535)"},
        {L"syslog+udp://x:99999999999999999999", "the port in the forwarding address \"syslog+udp://x:99999999999999999999\" is out of range (1 to 65535)"},
        {L"syslog+udp://:514", "the forwarding address \"syslog+udp://:514\" names no host"},
        {L"syslog+tcp://[::1", "the forwarding address \"syslog+tcp://[::1\" opens [ for an IPv6 address but does not close it"},
        {L"syslog+tcp://[::1]514", "the port in the forwarding address \"syslog+tcp://[::1]514\" is not a number"},
        {L"syslog+tcp://::1:514", "the forwarding address \"syslog+tcp://::1:514\" has an IPv6 address: write it in brackets, as [::1]:514"},
        {L"syslog+tcp://a b:514", "the host in the forwarding address \"syslog+tcp://a b:514\" has characters a host name cannot have"},
        {L"syslog+tcp://user@x:514", "the host in the forwarding address \"syslog+tcp://user@x:514\" has characters a host name cannot have"},
        {L"syslog+tcp://[%]:514", "the host in the forwarding address \"syslog+tcp://[%]:514\" has characters a host name cannot have"},
        {L"syslog+tcp://h\u00e9:514", "the forwarding address \"syslog+tcp://h?:514\" has characters other than ASCII"},
    };
    for (const Case& c : cases) {
        SyslogDestination destination;
        std::string error;
        EXPECT_FALSE(ParseSyslogDestination(c.text, &destination, &error));
        EXPECT_EQ(c.error, error);
    }
}

} // namespace
