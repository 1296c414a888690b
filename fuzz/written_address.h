// A collector's destination written out as --forward takes it, for the fuzzers' round trips.
#pragma once

#include <string>

#include "syslog_destination.h"

inline std::string WrittenAddress(const SyslogDestination& destination)
{
    std::string host = destination.host.find(':') != std::string::npos ? "[" + destination.host + "]" : destination.host;
    return (destination.transport == SyslogTransport::Tcp ? "syslog+tcp://" : "syslog+udp://") + host + ":" +
           std::to_string(destination.port);
}
