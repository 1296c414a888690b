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

bool Refuse(const char* message, const std::string& text, std::string* error)
{
    *error = FillText(message, {text});
    return false;
}

// Takes the scheme off the front of *rest; false when it is neither of the two.
bool ReadScheme(std::string_view* rest, SyslogTransport* transport)
{
    if (StartsWith(*rest, UdpScheme)) {
        *transport = SyslogTransport::Udp;
        rest->remove_prefix(std::string_view(UdpScheme).size());
    } else if (StartsWith(*rest, TcpScheme)) {
        *transport = SyslogTransport::Tcp;
        rest->remove_prefix(std::string_view(TcpScheme).size());
    } else {
        return false;
    }
    return true;
}

// What follows the scheme, cut in two; the port is checked later.
struct HostAndPort {
    std::string_view host;
    std::string_view port;
    bool hasPort = false;
};

// [IPV6] or [IPV6]:PORT. text is the whole address, for the messages.
bool SplitBracketed(std::string_view rest, const std::string& text, HostAndPort* parts, std::string* error)
{
    size_t close = rest.find(']');
    if (close == std::string_view::npos) {
        return Refuse(SyslogUnclosedBracket, text, error);
    }
    parts->host = rest.substr(1, close - 1);
    // Brackets hold an IPv6 address, which always has a colon; "[%]" is no host at all.
    bool hasColon = parts->host.find(':') != std::string_view::npos;
    for (char c : parts->host) {
        if (!IsIpv6Character(c) || !hasColon) {
            return Refuse(SyslogBadHost, text, error);
        }
    }
    std::string_view after = rest.substr(close + 1);
    if (!after.empty()) {
        if (after.front() != ':') {
            return Refuse(SyslogBadPort, text, error);
        }
        parts->hasPort = true;
        parts->port = after.substr(1);
    }
    return true;
}

// HOST or HOST:PORT, a name or an IPv4 address.
bool SplitPlain(std::string_view rest, const std::string& text, HostAndPort* parts, std::string* error)
{
    size_t colon = rest.find(':');
    if (colon != std::string_view::npos && rest.find(':', colon + 1) != std::string_view::npos) {
        return Refuse(SyslogBareIpv6, text, error);
    }
    parts->host = rest.substr(0, colon);
    if (colon != std::string_view::npos) {
        parts->hasPort = true;
        parts->port = rest.substr(colon + 1);
    }
    for (char c : parts->host) {
        if (!IsHostCharacter(c)) {
            return Refuse(SyslogBadHost, text, error);
        }
    }
    return true;
}

bool ReadPort(std::string_view digits, const std::string& text, uint16_t* port, std::string* error)
{
    unsigned long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return Refuse(SyslogBadPort, text, error);
        }
        if (value <= 65535) {
            value = value * 10 + static_cast<unsigned long>(c - '0');
        }
    }
    if (value == 0 || value > 65535) {
        return Refuse(SyslogPortRange, text, error);
    }
    *port = static_cast<uint16_t>(value);
    return true;
}

} // namespace

bool ParseSyslogDestination(std::wstring_view wide, SyslogDestination* destination, std::string* error)
{
    std::string text = ShownAscii(wide);
    for (wchar_t c : wide) {
        if (c < 0x20 || c >= 0x7F) {
            return Refuse(SyslogNotAscii, text, error);
        }
    }
    SyslogDestination parsed;
    std::string_view rest = text;
    if (!ReadScheme(&rest, &parsed.transport)) {
        return Refuse(SyslogUnknownScheme, text, error);
    }
    if (!rest.empty() && rest.back() == '/') {
        rest.remove_suffix(1);  // a trailing slash, as people copy addresses
    }
    HostAndPort parts;
    bool bracketed = !rest.empty() && rest.front() == '[';
    if (!(bracketed ? SplitBracketed(rest, text, &parts, error) : SplitPlain(rest, text, &parts, error))) {
        return false;
    }
    if (parts.host.empty()) {
        return Refuse(SyslogNoHost, text, error);
    }
    if (!parts.hasPort || parts.port.empty()) {
        return Refuse(SyslogNoPort, text, error);
    }
    if (!ReadPort(parts.port, text, &parsed.port, error)) {
        return false;
    }
    parsed.host.assign(parts.host.data(), parts.host.size());
    *destination = parsed;
    return true;
}
