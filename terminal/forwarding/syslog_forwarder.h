// Sends the lines to one syslog collector from a thread of its own, so that a collector that is
// slow, away or unreachable holds up only this thread: the hosts' calls never wait for it.
// Over TCP each message is framed by its length (RFC 6587); the connection is made again with
// back-off when it fails, and lines wait in the queue meanwhile. Over UDP each message is one
// datagram, cut to the size every receiver accepts.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <thread>
#include <vector>

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

class SyslogForwarder : private NonCopyable {
public:
    // Starts the thread. The user hears on streams' standard error when the collector cannot be
    // found or reached, or closes the connection (once per outage, however many connections it
    // closes), and when it is reached again.
    SyslogForwarder(const SyslogDestination& destination, size_t queueLines, const SyslogOrigin& origin,
                    const StandardStreams& streams);
    ~SyslogForwarder();

    // Never waits for the collector.
    void Forward(const ReceivedLine& line) { queue_.Push(line); }

    // No more lines: delivers what waits within drainMs, then ends the thread.
    ForwardReport Finish(DWORD drainMs = ForwardDrainMs);

    const std::string& Address() const { return address_; }

private:
    void Run();
    bool Connect();
    void Disconnect();
    // Sends what is pending; false when the connection failed (what was not wholly sent stays
    // pending, to go again whole) or the time to deliver ran out.
    bool SendPending();
    bool SendStream();
    bool SendDatagrams();
    // Waits a step for the socket to take more (it is full); false when the time to deliver ran out.
    bool WaitUntilWritable();
    // False when the collector closed the connection (it stopped or restarted): what is sent
    // into a closed connection is lost without an error. Asked before each batch is taken.
    bool ConnectionStillOpen();
    void ConnectionLost(int error);  // 0: the collector closed the connection
    void OutageOver();  // tells the user, if they were told of the outage
    void FormatBatch(const std::vector<ForwardedLine>& batch, uint64_t droppedAfter);
    void AddMessage(const std::string& message, bool isLine);  // else a notice of dropped lines
    bool IsTcp() const { return destination_.transport == SyslogTransport::Tcp; }
    // Waits up to ms, or less when the end comes; false when the end came.
    bool Pause(DWORD ms);
    bool DrainTimeOver();

    SyslogDestination destination_;
    std::string address_;  // as the user gave it, for messages
    SyslogOrigin origin_;
    StandardStreams streams_;
    SyslogForwardQueue queue_;
    HANDLE endEvent_;  // set by Finish
    ULONGLONG drainDeadline_ = 0;  // GetTickCount64 time; valid once endEvent_ is set
    UINT_PTR socket_ = ~UINT_PTR(0);  // a SOCKET; INVALID_SOCKET when not connected
    bool winsockStarted_ = false;
    bool resolveFailureSaid_ = false;
    bool outageSaid_ = false;  // the user was told of the outage under way
    // The connection under way: when it was made, whether it has taken a message, and whether it
    // has proved the collector reached (an outage is over).
    ULONGLONG connectedAt_ = 0;
    bool tookMessage_ = false;
    bool proven_ = false;
    bool connectionEnded_ = false;  // the last connection ended: the next attempt waits
    // Messages taken from the queue and not yet wholly sent, one after the other (TCP: framed),
    // where each ends, and how many bytes went.
    std::string pending_;
    std::vector<size_t> messageEnds_;
    std::vector<bool> messageIsLine_;
    size_t pendingSent_ = 0;
    std::thread thread_;
};

// "syslog+tcp://HOST:PORT", as a destination is written.
std::string DescribeDestination(const SyslogDestination& destination);
