// Collector addresses (terminal/syslog_destination.*): any wide text as --forward's value. It is
// refused with a message that quotes the address as far as it is printable ASCII, or read as a
// transport, a host of the characters a host name or a bracketed IPv6 address has, and a port
// from 1 to 65535; written out again in the documented form, it reads as the same destination.
//
// Input: the text in the fuzzers' input language (fuzz_input.h), in 16-bit units.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "syslog_destination.h"
#include "written_address.h"

namespace {

const size_t LongestAddress = 1000;

std::string Shown(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return out;
}

// Written out in full rather than as ranges, so that the check does not restate the parser.
const std::string_view HostCharacters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._";
const std::string_view Ipv6Characters = "0123456789abcdefABCDEF:.%";

void CheckHost(const std::string& host)
{
    FUZZ_CHECK(!host.empty(), "a destination has a host");
    bool ipv6 = host.find(':') != std::string::npos;
    for (char c : host) {
        FUZZ_CHECK((ipv6 ? Ipv6Characters : HostCharacters).find(c) != std::string_view::npos, host.c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    std::wstring text = input.Text<wchar_t>(LongestAddress);
    SyslogDestination destination;
    std::string error;
    if (!ParseSyslogDestination(text, &destination, &error)) {
        FUZZ_CHECK(!error.empty() && PrintableAscii(error), error.c_str());
        FUZZ_CHECK(error.find("\"" + Shown(text) + "\"") != std::string::npos, "a refusal quotes the address");
        return 0;
    }
    FUZZ_CHECK(destination.transport == SyslogTransport::Udp || destination.transport == SyslogTransport::Tcp,
               "a transport");
    FUZZ_CHECK(destination.port >= 1, "a port from 1 to 65535");
    CheckHost(destination.host);

    SyslogDestination again;
    std::string written = WrittenAddress(destination);
    FUZZ_CHECK(ParseSyslogDestination(std::wstring(written.begin(), written.end()), &again, &error), error.c_str());
    FUZZ_CHECK(again.transport == destination.transport && again.host == destination.host && again.port == destination.port,
               "written out again, the destination reads the same");
    return 0;
}
