// A forwarder against collectors of the test's own on the loopback: the bytes on the wire, the
// wait while the collector is away, the gap's notice, the new connection after the collector
// closed the old one, datagrams cut to size, and an end that a name lookup does not hold up.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "file_bytes.h"
#include "patched_import.h"
#include "syslog_forwarder.h"
#include "system_error_text.h"
#include "received_lines.h"

namespace {

constexpr DWORD WaitMs = 30000;

// Winsock, started once for every test of the program.
class Winsock {
public:
    Winsock()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
};
const Winsock StartedWinsock;

SyslogOrigin Origin()
{
    SyslogOrigin origin;
    origin.hostName = "lab-07";
    origin.processId = 4242;
    return origin;
}

std::string Framed(const ReceivedLine& line)
{
    return FrameForTcp(FormatSyslogMessage(Origin(), line));
}

SyslogDestination Loopback(SyslogTransport transport, uint16_t port)
{
    SyslogDestination destination;
    destination.transport = transport;
    destination.host = "127.0.0.1";
    destination.port = port;
    return destination;
}

// A socket bound to 127.0.0.1 (port 0: any free one); listening when it is TCP.
SOCKET Bound(int type, uint16_t port)
{
    SOCKET bound = socket(AF_INET, type, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    BOOL reuse = TRUE;
    setsockopt(bound, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    if (bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        (type == SOCK_STREAM && listen(bound, 4) != 0)) {
        closesocket(bound);
        return INVALID_SOCKET;
    }
    return bound;
}

uint16_t PortOf(SOCKET bound)
{
    sockaddr_in address = {};
    int length = sizeof(address);
    getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

bool Readable(SOCKET socket, DWORD ms)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait = {static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
    return select(0, &readable, NULL, NULL, &wait) == 1;
}

// A port of the loopback where nobody listens (0 when none was found): connections are refused.
uint16_t UnusedPort()
{
    SOCKET probe = Bound(SOCK_STREAM, 0);
    if (probe == INVALID_SOCKET) {
        return 0;
    }
    uint16_t port = PortOf(probe);
    closesocket(probe);
    return port;
}

// Debug lines with these texts.
void ForwardDebugLines(SyslogForwarder& forwarder, std::initializer_list<const char*> texts)
{
    for (const char* text : texts) {
        forwarder.Forward(SampleLine(LineClass::Debug, text));
    }
}

SOCKET Accept(SOCKET listening)
{
    return Readable(listening, WaitMs) ? accept(listening, NULL, NULL) : INVALID_SOCKET;
}

// Reads until the peer closes the connection or size bytes came.
std::string ReadStream(SOCKET connection, size_t size = SIZE_MAX)
{
    std::string bytes;
    char buffer[4096];
    while (bytes.size() < size && Readable(connection, WaitMs)) {
        int received = recv(connection, buffer, sizeof(buffer), 0);
        if (received <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<size_t>(received));
    }
    return bytes;
}

TEST(SyslogForwarder, TcpCarriesEachLineAsAnOctetCountedMessageInOrder)
{
    SOCKET listening = Bound(SOCK_STREAM, 0);
    ASSERT_NE(INVALID_SOCKET, listening);
    const std::vector<ReceivedLine> lines = {
        SampleLine(LineClass::Error, "disk \"C:\\\" full\n"),
        SampleLine(LineClass::Log, "tab\there \x01\x1b caf\xE9 \x80\n"),
        SampleLine(LineClass::Statistic, std::string(255, 'x')),
    };
    SyslogForwarder forwarder(Loopback(SyslogTransport::Tcp, PortOf(listening)), 100, Origin(), StandardStreams());
    for (const ReceivedLine& line : lines) {
        forwarder.Forward(line);
    }
    SOCKET connection = Accept(listening);
    ASSERT_NE(INVALID_SOCKET, connection);
    ForwardReport report = forwarder.Finish();
    EXPECT_EQ(Framed(lines[0]) + Framed(lines[1]) + Framed(lines[2]), ReadStream(connection));
    EXPECT_EQ("87 <11>1 2026-12-08T14:24:12.449+01:00 lab-07 vornak-terminal 4242 error - disk \"C:\\\" full",
              Framed(lines[0]));
    EXPECT_EQ(0u, report.dropped);
    EXPECT_EQ(0u, report.undelivered);
    closesocket(connection);
    closesocket(listening);
}

TEST(SyslogForwarder, LinesWaitForACollectorThatIsAwayAndTheDroppedAreCountedWhereTheyWere)
{
    uint16_t port = UnusedPort();
    ASSERT_NE(0, port);

    SyslogForwarder forwarder(Loopback(SyslogTransport::Tcp, port), 2, Origin(), StandardStreams());
    ForwardDebugLines(forwarder, {"a", "b", "c", "d", "e"});
    Sleep(1200);  // a refused attempt or two
    SOCKET listening = Bound(SOCK_STREAM, port);
    ASSERT_NE(INVALID_SOCKET, listening);
    SOCKET connection = Accept(listening);
    ASSERT_NE(INVALID_SOCKET, connection) << "no new attempt to reach the collector";
    std::string expectedStart = Framed(SampleLine(LineClass::Debug, "a")) + Framed(SampleLine(LineClass::Debug, "b"));
    std::string received = ReadStream(connection, expectedStart.size() + 10);
    forwarder.Forward(SampleLine(LineClass::Debug, "f"));
    ForwardReport report = forwarder.Finish();
    received += ReadStream(connection);
    ASSERT_EQ(expectedStart, received.substr(0, expectedStart.size()));
    std::string rest = received.substr(expectedStart.size());
    // "NN <12>1 TIME lab-07 vornak-terminal 4242 dropped - 3 lines lost: ..." then f.
    size_t space = rest.find(' ');
    ASSERT_NE(std::string::npos, space);
    size_t noticeLength = std::stoul(rest.substr(0, space));
    std::string notice = rest.substr(space + 1, noticeLength);
    EXPECT_EQ(0u, notice.find("<12>1 ")) << notice;
    EXPECT_NE(std::string::npos, notice.find(" lab-07 vornak-terminal 4242 dropped - 3 lines lost: ")) << notice;
    EXPECT_EQ(Framed(SampleLine(LineClass::Debug, "f")), rest.substr(space + 1 + noticeLength));
    EXPECT_EQ(3u, report.dropped);
    EXPECT_EQ(0u, report.undelivered);
    closesocket(connection);
    closesocket(listening);
}

TEST(SyslogForwarder, ACollectorThatClosedTheConnectionGetsTheNextLinesOnANewOne)
{
    SOCKET listening = Bound(SOCK_STREAM, 0);
    ASSERT_NE(INVALID_SOCKET, listening);
    SyslogForwarder forwarder(Loopback(SyslogTransport::Tcp, PortOf(listening)), 100, Origin(), StandardStreams());
    ReceivedLine first = SampleLine(LineClass::Debug, "before the restart");
    forwarder.Forward(first);
    SOCKET connection = Accept(listening);
    ASSERT_NE(INVALID_SOCKET, connection);
    EXPECT_EQ(Framed(first), ReadStream(connection, Framed(first).size()));
    closesocket(connection);  // the collector restarts
    Sleep(300);

    ReceivedLine second = SampleLine(LineClass::Error, "after the restart");
    forwarder.Forward(second);
    SOCKET again = Accept(listening);
    ASSERT_NE(INVALID_SOCKET, again) << "no new connection";
    ForwardReport report = forwarder.Finish();
    EXPECT_EQ(Framed(second), ReadStream(again));
    EXPECT_EQ(0u, report.undelivered);
    closesocket(again);
    closesocket(listening);
}

TEST(SyslogForwarder, ACollectorThatClosesEveryConnectionAtOnceIsOneOutageWithItsBackOff)
{
    SOCKET listening = Bound(SOCK_STREAM, 0);
    ASSERT_NE(INVALID_SOCKET, listening);
    uint16_t port = PortOf(listening);
    HANDLE errorsRead = NULL;
    HANDLE errorsWritten = NULL;
    ASSERT_TRUE(CreatePipe(&errorsRead, &errorsWritten, NULL, 0));
    StandardStreams streams;
    streams.error = errorsWritten;
    // A collector that accepts each connection and closes it at once.
    int connections = 0;
    std::atomic<bool> stop{false};
    std::thread collector([&] {
        while (!stop) {
            SOCKET connection = Readable(listening, 20) ? accept(listening, NULL, NULL) : INVALID_SOCKET;
            connections += connection != INVALID_SOCKET ? 1 : 0;
            closesocket(connection);
        }
    });
    {
        SyslogForwarder forwarder(Loopback(SyslogTransport::Tcp, port), 100, Origin(), streams);
        // Idle for 3.2 s: connections at about 0, 0.5 and 1.5 s, the next not before 3.5 s.
        Sleep(3200);
        forwarder.Finish(0);
    }
    stop = true;
    collector.join();
    closesocket(listening);
    EXPECT_GE(connections, 2);
    EXPECT_LE(connections, 4);
    CloseHandle(errorsWritten);
    std::string told = ReadToTheEnd(errorsRead);
    CloseHandle(errorsRead);
    EXPECT_EQ("vornak-terminal: the collector syslog+tcp://127.0.0.1:" + std::to_string(port) +
                  " closed the connection (lines wait in its queue; the terminal keeps trying)\n",
              told);
}

TEST(SyslogForwarder, WinsockErrorsAreSaidInWordsAlsoWhereTheSystemHasNone)
{
    for (DWORD code : {WSAETIMEDOUT, WSAECONNREFUSED, WSAHOST_NOT_FOUND}) {
        std::string text = SystemErrorText(code);
        std::string start = "error " + std::to_string(code) + ": ";
        EXPECT_EQ(0u, text.find(start)) << text;
        EXPECT_GT(text.size(), start.size() + 5) << text;
        EXPECT_EQ(std::string::npos, text.find('\n')) << text;
    }
}

TEST(SyslogForwarder, UdpSendsOneDatagramPerLineCutToTheSizeEveryReceiverTakes)
{
    SOCKET receiver = Bound(SOCK_DGRAM, 0);
    ASSERT_NE(INVALID_SOCKET, receiver);
    ReceivedLine shortLine = SampleLine(LineClass::Log, "short \"line\"");
    ReceivedLine longLine = SampleLine(LineClass::Debug, std::string(3000, '\xE9'));  // two UTF-8 bytes each
    SyslogForwarder forwarder(Loopback(SyslogTransport::Udp, PortOf(receiver)), 100, Origin(), StandardStreams());
    forwarder.Forward(shortLine);
    forwarder.Forward(longLine);
    forwarder.Finish();

    std::vector<std::string> datagrams;
    char buffer[65536];
    while (datagrams.size() < 2 && Readable(receiver, WaitMs)) {
        int received = recv(receiver, buffer, sizeof(buffer), 0);
        ASSERT_GT(received, 0);
        datagrams.emplace_back(buffer, static_cast<size_t>(received));
    }
    ASSERT_EQ(2u, datagrams.size());
    EXPECT_EQ(FormatSyslogMessage(Origin(), shortLine), datagrams[0]);
    // 2048 bytes at most, never inside a character: the header, whole "é"s, "...".
    std::string header = "<15>1 2026-12-08T14:24:12.449+01:00 lab-07 vornak-terminal 4242 debug - ";
    size_t room = DefaultUdpMessageLimit - header.size() - 3;
    std::string kept;
    for (size_t i = 0; i < room / 2; ++i) {
        kept += "\xC3\xA9";
    }
    EXPECT_EQ(header + kept + "...", datagrams[1]);
    EXPECT_LE(datagrams[1].size(), DefaultUdpMessageLimit);
    closesocket(receiver);
}

TEST(SyslogForwarder, WhatCannotBeDeliveredBeforeTheEndIsCounted)
{
    uint16_t port = UnusedPort();
    ASSERT_NE(0, port);
    SyslogForwarder forwarder(Loopback(SyslogTransport::Tcp, port), 3, Origin(), StandardStreams());
    ForwardDebugLines(forwarder, {"a", "b", "c", "d"});
    ForwardReport report = forwarder.Finish(600);
    EXPECT_EQ(1u, report.dropped);
    EXPECT_EQ(3u, report.undelivered);
}

// A name lookup that answers only when the test lets it (or after WaitMs).
HANDLE LookupEntered = CreateEventW(NULL, TRUE, FALSE, NULL);
HANDLE LookupReleased = CreateEventW(NULL, TRUE, FALSE, NULL);
HANDLE LookupReturned = CreateEventW(NULL, TRUE, FALSE, NULL);

int WSAAPI HeldLookup(const char*, const char*, const addrinfo*, addrinfo** found)
{
    *found = NULL;
    SetEvent(LookupEntered);
    WaitForSingleObject(LookupReleased, WaitMs);
    SetEvent(LookupReturned);
    return WSAHOST_NOT_FOUND;
}

TEST(SyslogForwarder, AnEndDuringANameLookupThatDoesNotAnswerReturnsAndCountsTheLines)
{
    PatchedImport lookup("getaddrinfo", HeldLookup);
    ASSERT_TRUE(lookup.Applied());
    SyslogDestination destination = Loopback(SyslogTransport::Tcp, 514);
    destination.host = "slow-dns.example";
    {
        SyslogForwarder forwarder(destination, 8, Origin(), StandardStreams());
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(LookupEntered, WaitMs));
        ForwardDebugLines(forwarder, {"a", "b", "c"});
        ForwardReport report = forwarder.Finish(300);
        // Back while the lookup still holds: the end did not wait for it.
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(LookupReturned, 0));
        EXPECT_EQ(0u, report.dropped);
        EXPECT_EQ(3u, report.undelivered);
    }
    SetEvent(LookupReleased);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(LookupReturned, WaitMs));
}

} // namespace
