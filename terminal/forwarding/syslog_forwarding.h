// Every collector the headless terminal forwards to (--forward, given once or more).
#pragma once

#include <memory>
#include <vector>

#include "syslog_forwarder.h"

class SyslogForwarding {
public:
    SyslogForwarding(const std::vector<SyslogDestination>& destinations, size_t queueLines,
                     const StandardStreams& streams);

    // Hands line to each collector's queue; never waits for a collector.
    void Forward(const ReceivedLine& line);

    // No more lines: each collector gets what waits for it within drainMs; the user is told
    // what some could not get. True when every line reached every collector's connection.
    bool Finish(DWORD drainMs = ForwardDrainMs);

private:
    StandardStreams streams_;
    std::vector<std::unique_ptr<SyslogForwarder>> forwarders_;
};
