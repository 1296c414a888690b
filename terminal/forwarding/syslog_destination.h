// Where forwarded lines go: a collector's address as the command line gives it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

enum class SyslogTransport : uint8_t {
    Udp,
    Tcp,
};

struct SyslogDestination {
    SyslogTransport transport = SyslogTransport::Udp;
    std::string host;  // a name or an address; an IPv6 address without its brackets
    uint16_t port = 0;
};

// Reads syslog+udp://HOST:PORT or syslog+tcp://HOST:PORT (IPv6: syslog+udp://[::1]:514). False with
// *error saying what is wrong.
bool ParseSyslogDestination(std::wstring_view text, SyslogDestination* destination, std::string* error);

// Lines a collector's queue holds unless --forward-queue says otherwise, and the most it may.
constexpr size_t DefaultForwardQueueLines = 100000;
constexpr size_t MaxForwardQueueLines = 10000000;
// Each collector has a thread and a queue of its own, and every line is handed to each: a lab
// needs a few, and many would cost the hosts' calls time.
constexpr size_t MaxForwardCollectors = 16;
