// Winsock before windows.h, which the header brings.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "syslog_forwarder.h"

#include <algorithm>

#include "arrival_time.h"
#include "system_error_text.h"
#include "terminal_texts.h"

namespace {

// Lines go out in batches: at most this many at a time, gathered for this long when fewer wait.
constexpr size_t BatchLines = 2048;
constexpr unsigned TakeWaitMs = 20;
constexpr DWORD ConnectWaitMs = 5000;
constexpr DWORD SendWaitStepMs = 100;
// A connection ends an outage only once it has taken a message and stayed open this long: one
// the collector closes at once (or after each message) belongs to the outage, with its back-off.
constexpr ULONGLONG ProvenConnectionMs = 1000;

timeval Interval(DWORD ms)
{
    timeval interval;
    interval.tv_sec = static_cast<long>(ms / 1000);
    interval.tv_usec = static_cast<long>((ms % 1000) * 1000);
    return interval;
}

// Waits for a non-blocking connect to end; 0 when it succeeded, else the error.
int FinishConnect(SOCKET socket)
{
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval wait = Interval(ConnectWaitMs);
    int ready = select(0, NULL, &writable, &failed, &wait);
    if (ready == SOCKET_ERROR) {
        return WSAGetLastError();
    }
    if (ready == 0) {
        return WSAETIMEDOUT;
    }
    if (FD_ISSET(socket, &failed)) {
        int error = 0;
        int length = sizeof(error);
        getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
        return error != 0 ? error : WSAECONNREFUSED;
    }
    return 0;
}

} // namespace

std::string DescribeDestination(const SyslogDestination& destination)
{
    bool isIpv6 = destination.host.find(':') != std::string::npos;
    std::string host = isIpv6 ? "[" + destination.host + "]" : destination.host;
    return std::string(destination.transport == SyslogTransport::Tcp ? "syslog+tcp://" : "syslog+udp://") + host + ":" +
           std::to_string(destination.port);
}

SyslogForwarder::SyslogForwarder(const SyslogDestination& destination, size_t queueLines, const SyslogOrigin& origin,
                                 const StandardStreams& streams)
    : destination_(destination),
      address_(DescribeDestination(destination)),
      origin_(origin),
      streams_(streams),
      queue_(queueLines),
      endEvent_(CreateEventW(NULL, TRUE, FALSE, NULL))
{
    WSADATA data;
    int error = WSAStartup(MAKEWORD(2, 2), &data);
    winsockStarted_ = error == 0;
    if (!winsockStarted_) {
        TellUser(streams_, FillText(ForwardCannotStart, {address_, SystemErrorText(static_cast<DWORD>(error))}));
    }
    thread_ = std::thread([this] { Run(); });
}

SyslogForwarder::~SyslogForwarder()
{
    if (thread_.joinable()) {
        Finish(0);
    }
    if (endEvent_ != NULL) {
        CloseHandle(endEvent_);
    }
    if (winsockStarted_) {
        WSACleanup();
    }
}

ForwardReport SyslogForwarder::Finish(DWORD drainMs)
{
    ForwardReport report;
    if (thread_.joinable()) {
        drainDeadline_ = GetTickCount64() + drainMs;
        queue_.Close();
        SetEvent(endEvent_);
        thread_.join();
    }
    report.dropped = queue_.DroppedLines();
    size_t unsent = 0;
    for (size_t i = 0; i < messageEnds_.size(); ++i) {
        unsent += messageEnds_[i] > pendingSent_ && messageIsLine_[i] ? 1 : 0;
    }
    report.undelivered = queue_.WaitingLines() + unsent;
    return report;
}

bool SyslogForwarder::DrainTimeOver()
{
    return WaitForSingleObject(endEvent_, 0) == WAIT_OBJECT_0 && GetTickCount64() >= drainDeadline_;
}

bool SyslogForwarder::Pause(DWORD ms)
{
    if (WaitForSingleObject(endEvent_, 0) == WAIT_OBJECT_0) {
        ULONGLONG now = GetTickCount64();
        ULONGLONG left = drainDeadline_ > now ? drainDeadline_ - now : 0;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(ms, left)));
        return !DrainTimeOver();
    }
    WaitForSingleObject(endEvent_, ms);
    return !DrainTimeOver();
}

void SyslogForwarder::Run()
{
    DWORD delay = FirstReconnectDelayMs;
    std::vector<ForwardedLine> batch;
    while (!DrainTimeOver()) {
        bool allSent = pendingSent_ == pending_.size();
        if (socket_ == INVALID_SOCKET) {
            if (allSent && queue_.IsClosed() && queue_.WaitingLines() == 0) {
                break;  // nothing left that a connection could take
            }
            // The next attempt waits after a connection that ended as after one that failed.
            if (connectionEnded_ || !Connect()) {
                connectionEnded_ = false;
                Pause(delay);
                delay = std::min(delay * 2, LastReconnectDelayMs);
                continue;
            }
            connectedAt_ = GetTickCount64();
            tookMessage_ = false;
        }
        if (!proven_ && tookMessage_ && GetTickCount64() - connectedAt_ >= ProvenConnectionMs) {
            proven_ = true;
            delay = FirstReconnectDelayMs;
            OutageOver();
        }
        if (allSent) {
            pending_.clear();
            messageEnds_.clear();
            messageIsLine_.clear();
            pendingSent_ = 0;
            // Seen closed before taking: a line taken after this was pushed before the close.
            bool closed = queue_.IsClosed();
            // Lines stay in the queue (and its count of dropped ones stays exact) while the
            // collector is gone; at the end with nothing left, nothing needs the connection.
            if (IsTcp() && !(closed && queue_.WaitingLines() == 0) && !ConnectionStillOpen()) {
                continue;
            }
            uint64_t droppedAfter = 0;
            queue_.Take(BatchLines, TakeWaitMs, &batch, &droppedAfter);
            FormatBatch(batch, droppedAfter);
            if (!closed && batch.size() < BatchLines) {
                Pause(TakeWaitMs);  // lines gather for the next batch meanwhile
            }
            if (pending_.empty()) {
                if (closed) {
                    break;
                }
                continue;
            }
        }
        if (SendPending()) {
            tookMessage_ = true;
        }
    }
    // Ending on a connection that took the last lines: whatever came before, the collector was
    // reached.
    if (socket_ != INVALID_SOCKET && tookMessage_ && pendingSent_ == pending_.size() &&
        (!IsTcp() || ConnectionStillOpen())) {
        OutageOver();
    }
    Disconnect();
}

void SyslogForwarder::OutageOver()
{
    if (outageSaid_) {
        TellUser(streams_, FillText(ForwardReachedAgain, {address_}));
        outageSaid_ = false;
    }
}

bool SyslogForwarder::Connect()
{
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = IsTcp() ? SOCK_STREAM : SOCK_DGRAM;
    hints.ai_protocol = IsTcp() ? IPPROTO_TCP : IPPROTO_UDP;
    addrinfo* found = NULL;
    int error = getaddrinfo(destination_.host.c_str(), std::to_string(destination_.port).c_str(), &hints, &found);
    if (error != 0) {
        if (!resolveFailureSaid_) {
            TellUser(streams_, FillText(ForwardCannotResolve, {address_, SystemErrorText(static_cast<DWORD>(error))}));
            resolveFailureSaid_ = true;
            outageSaid_ = true;
        }
        return false;
    }
    for (addrinfo* address = found; address != NULL && socket_ == INVALID_SOCKET; address = address->ai_next) {
        SOCKET candidate = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (candidate == INVALID_SOCKET) {
            error = WSAGetLastError();
            continue;
        }
        u_long nonBlocking = 1;
        ioctlsocket(candidate, FIONBIO, &nonBlocking);
        error = 0;
        if (connect(candidate, address->ai_addr, static_cast<int>(address->ai_addrlen)) == SOCKET_ERROR) {
            error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) {
                error = FinishConnect(candidate);
            }
        }
        if (error == 0) {
            socket_ = candidate;
        } else {
            closesocket(candidate);
        }
    }
    freeaddrinfo(found);
    if (socket_ == INVALID_SOCKET) {
        if (!outageSaid_) {
            TellUser(streams_, FillText(ForwardCannotReach, {address_, SystemErrorText(static_cast<DWORD>(error))}));
            outageSaid_ = true;
        }
        return false;
    }
    return true;
}

void SyslogForwarder::Disconnect()
{
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
}

void SyslogForwarder::ConnectionLost(int error)
{
    Disconnect();
    connectionEnded_ = true;
    proven_ = false;
    // What was not wholly sent goes again whole on the next connection.
    size_t wholeEnd = 0;
    for (size_t end : messageEnds_) {
        if (end <= pendingSent_) {
            wholeEnd = end;
        }
    }
    pendingSent_ = wholeEnd;
    if (!outageSaid_) {
        std::string why = error == 0 ? FillText(ForwardClosedByCollector, {address_})
                                     : FillText(ForwardCannotReach,
                                                {address_, SystemErrorText(static_cast<DWORD>(error))});
        TellUser(streams_, why);
        outageSaid_ = true;
    }
}

bool SyslogForwarder::ConnectionStillOpen()
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval now = Interval(0);
    if (select(0, &readable, NULL, NULL, &now) != 1) {
        return true;
    }
    char ignored[256];
    int received = recv(socket_, ignored, sizeof(ignored), 0);
    if (received > 0 || (received == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK)) {
        return true;  // a collector has nothing to say; whatever it says is read and left
    }
    ConnectionLost(received == 0 ? 0 : WSAGetLastError());
    return false;
}

bool SyslogForwarder::SendPending()
{
    return IsTcp() ? SendStream() : SendDatagrams();
}

bool SyslogForwarder::SendStream()
{
    while (pendingSent_ < pending_.size()) {
        size_t left = pending_.size() - pendingSent_;
        int chunk = static_cast<int>(std::min<size_t>(left, 1 << 20));
        int sent = send(socket_, pending_.data() + pendingSent_, chunk, 0);
        if (sent != SOCKET_ERROR) {
            pendingSent_ += static_cast<size_t>(sent);
            continue;
        }
        int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) {
            ConnectionLost(error);
            return false;
        }
        // The collector does not read (stopped, or slower than the hosts): wait, the lines keep.
        if (!WaitUntilWritable()) {
            return false;
        }
    }
    return true;
}

bool SyslogForwarder::WaitUntilWritable()
{
    if (DrainTimeOver()) {
        return false;
    }
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket_, &writable);
    timeval wait = Interval(SendWaitStepMs);
    select(0, NULL, &writable, NULL, &wait);
    return true;
}

bool SyslogForwarder::SendDatagrams()
{
    size_t start = 0;
    for (size_t end : messageEnds_) {
        if (end > pendingSent_) {
            for (;;) {
                int sent = send(socket_, pending_.data() + start, static_cast<int>(end - start), 0);
                if (sent != SOCKET_ERROR || WSAGetLastError() != WSAEWOULDBLOCK) {
                    // Sent, or refused (no one listens: an ICMP answer to an earlier datagram):
                    // a datagram is gone either way, as UDP's are.
                    break;
                }
                if (!WaitUntilWritable()) {
                    return false;
                }
            }
            pendingSent_ = end;
        }
        start = end;
    }
    return true;
}

void SyslogForwarder::FormatBatch(const std::vector<ForwardedLine>& batch, uint64_t droppedAfter)
{
    size_t limit = IsTcp() ? 0 : DefaultUdpMessageLimit;
    for (const ForwardedLine& forwarded : batch) {
        if (forwarded.droppedBefore != 0) {
            AddMessage(FormatSyslogDroppedNotice(origin_, CurrentArrivalTime(), forwarded.droppedBefore, limit), false);
        }
        AddMessage(FormatSyslogMessage(origin_, forwarded.line, limit), true);
    }
    if (droppedAfter != 0) {
        AddMessage(FormatSyslogDroppedNotice(origin_, CurrentArrivalTime(), droppedAfter, limit), false);
    }
}

void SyslogForwarder::AddMessage(const std::string& message, bool isLine)
{
    pending_ += IsTcp() ? FrameForTcp(message) : message;
    messageEnds_.push_back(pending_.size());
    messageIsLine_.push_back(isLine);
}
