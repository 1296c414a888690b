#include "syslog_destination.h"

#include "ascii_text.h"
#include "terminal_texts.h"

namespace {

constexpr const char* UdpScheme = "syslog+udp://";
constexpr const char* TcpScheme = "syslog+tcp://";

bool StartsWith(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');  // schemes compare without regard to case
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

bool IsIpv6Character(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.' ||
           c == '%';
}

} // namespace

bool ParseSyslogDestination(std::wstring_view wide, SyslogDestination* destination, std::string* error)
{
    std::string text = ShownAscii(wide);
    for (wchar_t c : wide) {
        if (c < 0x20 || c >= 0x7F) {
            *error = FillText(SyslogNotAscii, {text});
            return false;
        }
    }
    SyslogDestination parsed;
    std::string_view rest = text;
    if (StartsWith(rest, UdpScheme)) {
        parsed.transport = SyslogTransport::Udp;
        rest.remove_prefix(std::string_view(UdpScheme).size());
    } else if (StartsWith(rest, TcpScheme)) {
        parsed.transport = SyslogTransport::Tcp;
        rest.remove_prefix(std::string_view(TcpScheme).size());
    } else {
        *error = FillText(SyslogUnknownScheme, {text});
        return false;
    }
    if (!rest.empty() && rest.back() == '/') {
        rest.remove_suffix(1);  // a trailing slash, as people copy addresses
    }
    std::string_view host;
    std::string_view port;
    bool hasPort = false;
    if (!rest.empty() && rest.front() == '[') {
        size_t close = rest.find(']');
        if (close == std::string_view::npos) {
            *error = FillText(SyslogUnclosedBracket, {text});
            return false;
        }
        host = rest.substr(1, close - 1);
        // Brackets hold an IPv6 address, which always has a colon; "[%]" is no host at all.
        bool hasColon = host.find(':') != std::string_view::npos;
        for (char c : host) {
            if (!IsIpv6Character(c) || !hasColon) {
                *error = FillText(SyslogBadHost, {text});
                return false;
            }
        }
        std::string_view after = rest.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') {
                *error = FillText(SyslogBadPort, {text});
                return false;
            }
            hasPort = true;
            port = after.substr(1);
        }
    } else {
        size_t colon = rest.find(':');
        if (colon != std::string_view::npos && rest.find(':', colon + 1) != std::string_view::npos) {
            *error = FillText(SyslogBareIpv6, {text});
            return false;
        }
        host = rest.substr(0, colon);
        if (colon != std::string_view::npos) {
            hasPort = true;
            port = rest.substr(colon + 1);
        }
        for (char c : host) {
            if (!IsHostCharacter(c)) {
                *error = FillText(SyslogBadHost, {text});
                return false;
            }
        }
    }
    if (host.empty()) {
        *error = FillText(SyslogNoHost, {text});
        return false;
    }
    if (!hasPort || port.empty()) {
        *error = FillText(SyslogNoPort, {text});
        return false;
    }
    unsigned long value = 0;
    for (char c : port) {
        if (c < '0' || c > '9') {
            *error = FillText(SyslogBadPort, {text});
            return false;
        }
        if (value <= 65535) {
            value = value * 10 + static_cast<unsigned long>(c - '0');
        }
    }
    if (value == 0 || value > 65535) {
        *error = FillText(SyslogPortRange, {text});
        return false;
    }
    parsed.host.assign(host.data(), host.size());
    parsed.port = static_cast<uint16_t>(value);
    *destination = parsed;
    return true;
}
