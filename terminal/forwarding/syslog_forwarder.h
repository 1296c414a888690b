// Sends the lines to one syslog collector from a thread of its own, so that a collector that is
// slow, away or unreachable holds up only this thread: the hosts' calls never wait for it.
// Over TCP each message is framed by its length (RFC 6587); the connection is made again with
// back-off when it fails, and lines wait in the queue meanwhile. Over UDP each message is one
// datagram, cut to the size every receiver accepts.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <string>
#include <thread>

#include "standard_streams.h"
#include "syslog_destination.h"
#include "syslog_forward_queue.h"
#include "syslog_message.h"
#include "non_copyable.h"

// The wait before the next attempt to reach a collector: it doubles from the first to the last.
constexpr DWORD FirstReconnectDelayMs = 500;
constexpr DWORD LastReconnectDelayMs = 30000;
// At the end, how long lines still waiting may take to reach the collector.
constexpr DWORD ForwardDrainMs = 5000;

// What became of the lines given to one forwarder.
struct ForwardReport {
    uint64_t dropped = 0;      // the queue was full
    uint64_t undelivered = 0;  // still waiting when the time to deliver them ran out
};

// Past the drain, how long the end waits for the thread to close its connection; a thread still
// in a name lookup or a connect then is left behind (it holds what it uses), and its lines are
// counted as undelivered.
constexpr DWORD ForwardEndGraceMs = 500;

class SyslogForwarder : private NonCopyable {
public:
    // Starts the thread. The user hears on streams' standard error when the collector cannot be
    // found or reached, or closes the connection (once per outage, however many connections it
    // closes), and when it is reached again.
    SyslogForwarder(const SyslogDestination& destination, size_t queueLines, const SyslogOrigin& origin,
                    const StandardStreams& streams);
    ~SyslogForwarder();

    // Never waits for the collector.
    void Forward(const ReceivedLine& line);

    // No more lines: delivers what waits within drainMs, then ends the thread; returns within
    // drainMs + ForwardEndGraceMs whatever the network does.
    ForwardReport Finish(DWORD drainMs = ForwardDrainMs);

    const std::string& Address() const { return address_; }

    class Link;  // what the thread works with; it may outlive the forwarder

private:
    std::string address_;  // as the user gave it, for messages
    std::shared_ptr<Link> link_;
    std::thread thread_;
    bool finished_ = false;
    ForwardReport report_;
};

// "syslog+tcp://HOST:PORT", as a destination is written.
std::string DescribeDestination(const SyslogDestination& destination);
