// Winsock before windows.h, which the header brings.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "syslog_forwarder.h"

#include <algorithm>
#include <mutex>
#include <vector>

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

// Waits up to waitMs for a non-blocking connect to end; 0 when it succeeded, else the error.
int FinishConnect(SOCKET socket, DWORD waitMs)
{
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval wait = Interval(waitMs);
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

// Everything the thread touches, shared with the forwarder: when the end has to leave the thread
// behind (in a name lookup or a connect), the thread still holds all it uses.
class SyslogForwarder::Link : private NonCopyable {
public:
    Link(const SyslogDestination& destination, const std::string& address, size_t queueLines,
         const SyslogOrigin& origin, const StandardStreams& streams);
    ~Link();

    void Run();
    // No more lines; the thread delivers what waits until drainMs from now.
    void End(DWORD drainMs);
    // Set once Run has returned.
    HANDLE Done() const { return doneEvent_; }
    // What became of the lines so far. Once abandoned, the thread tells the user nothing more.
    ForwardReport Report(bool abandon);

    SyslogForwardQueue queue_;

private:
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
    DWORD ConnectWait();
    void Tell(const std::string& text);

    SyslogDestination destination_;
    std::string address_;
    SyslogOrigin origin_;
    StandardStreams streams_;
    HANDLE endEvent_;   // set by End
    HANDLE doneEvent_;  // set when Run returns
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
    // where each ends, and how many bytes went. The thread changes them, and takes from the
    // queue, holding books_, so that a report counts each line once.
    std::mutex books_;
    std::string pending_;
    std::vector<size_t> messageEnds_;
    std::vector<bool> messageIsLine_;
    size_t pendingSent_ = 0;
    bool abandoned_ = false;
};

SyslogForwarder::Link::Link(const SyslogDestination& destination, const std::string& address, size_t queueLines,
                            const SyslogOrigin& origin, const StandardStreams& streams)
    : queue_(queueLines),
      destination_(destination),
      address_(address),
      origin_(origin),
      streams_(streams),
      endEvent_(CreateEventW(NULL, TRUE, FALSE, NULL)),
      doneEvent_(CreateEventW(NULL, TRUE, FALSE, NULL))
{
    WSADATA data;
    int error = WSAStartup(MAKEWORD(2, 2), &data);
    winsockStarted_ = error == 0;
    if (!winsockStarted_) {
        Tell(FillText(ForwardCannotStart, {address_, SystemErrorText(static_cast<DWORD>(error))}));
    }
}

SyslogForwarder::Link::~Link()
{
    Disconnect();
    for (HANDLE event : {endEvent_, doneEvent_}) {
        if (event != NULL) {
            CloseHandle(event);
        }
    }
    if (winsockStarted_) {
        WSACleanup();
    }
}

void SyslogForwarder::Link::End(DWORD drainMs)
{
    drainDeadline_ = GetTickCount64() + drainMs;
    queue_.Close();
    SetEvent(endEvent_);
}

ForwardReport SyslogForwarder::Link::Report(bool abandon)
{
    std::lock_guard<std::mutex> hold(books_);
    abandoned_ = abandoned_ || abandon;
    ForwardReport report;
    report.dropped = queue_.DroppedLines();
    size_t unsent = 0;
    for (size_t i = 0; i < messageEnds_.size(); ++i) {
        unsent += messageEnds_[i] > pendingSent_ && messageIsLine_[i] ? 1 : 0;
    }
    report.undelivered = queue_.WaitingLines() + unsent;
    return report;
}

void SyslogForwarder::Link::Tell(const std::string& text)
{
    std::lock_guard<std::mutex> hold(books_);
    if (!abandoned_) {
        TellUser(streams_, text);
    }
}

SyslogForwarder::SyslogForwarder(const SyslogDestination& destination, size_t queueLines, const SyslogOrigin& origin,
                                 const StandardStreams& streams)
    : address_(DescribeDestination(destination)),
      link_(std::make_shared<Link>(destination, address_, queueLines, origin, streams))
{
    std::shared_ptr<Link> link = link_;
    thread_ = std::thread([link] {
        link->Run();
        SetEvent(link->Done());
    });
}

SyslogForwarder::~SyslogForwarder()
{
    Finish(0);
}

void SyslogForwarder::Forward(const ReceivedLine& line)
{
    link_->queue_.Push(line);
}

ForwardReport SyslogForwarder::Finish(DWORD drainMs)
{
    if (finished_) {
        return report_;
    }
    finished_ = true;
    link_->End(drainMs);
    bool ended = WaitForSingleObject(link_->Done(), drainMs + ForwardEndGraceMs) == WAIT_OBJECT_0;
    report_ = link_->Report(!ended);
    if (ended) {
        thread_.join();  // it has only to return
    } else {
        thread_.detach();
    }
    return report_;
}

bool SyslogForwarder::Link::DrainTimeOver()
{
    return WaitForSingleObject(endEvent_, 0) == WAIT_OBJECT_0 && GetTickCount64() >= drainDeadline_;
}

// A connect at the end waits no longer than the drain has left.
DWORD SyslogForwarder::Link::ConnectWait()
{
    if (WaitForSingleObject(endEvent_, 0) != WAIT_OBJECT_0) {
        return ConnectWaitMs;
    }
    ULONGLONG now = GetTickCount64();
    return static_cast<DWORD>(std::min<ULONGLONG>(ConnectWaitMs, drainDeadline_ > now ? drainDeadline_ - now : 0));
}

bool SyslogForwarder::Link::Pause(DWORD ms)
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

void SyslogForwarder::Link::Run()
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
            {
                std::lock_guard<std::mutex> hold(books_);
                pending_.clear();
                messageEnds_.clear();
                messageIsLine_.clear();
                pendingSent_ = 0;
            }
            // Seen closed before taking: a line taken after this was pushed before the close.
            bool closed = queue_.IsClosed();
            // Lines stay in the queue (and its count of dropped ones stays exact) while the
            // collector is gone; at the end with nothing left, nothing needs the connection.
            if (IsTcp() && !(closed && queue_.WaitingLines() == 0) && !ConnectionStillOpen()) {
                continue;
            }
            uint64_t droppedAfter = 0;
            {
                std::lock_guard<std::mutex> hold(books_);
                queue_.Take(BatchLines, TakeWaitMs, &batch, &droppedAfter);
                FormatBatch(batch, droppedAfter);
            }
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

void SyslogForwarder::Link::OutageOver()
{
    if (outageSaid_) {
        Tell(FillText(ForwardReachedAgain, {address_}));
        outageSaid_ = false;
    }
}

bool SyslogForwarder::Link::Connect()
{
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = IsTcp() ? SOCK_STREAM : SOCK_DGRAM;
    hints.ai_protocol = IsTcp() ? IPPROTO_TCP : IPPROTO_UDP;
    addrinfo* found = NULL;
    int error = getaddrinfo(destination_.host.c_str(), std::to_string(destination_.port).c_str(), &hints, &found);
    if (error != 0) {
        if (!resolveFailureSaid_) {
            Tell(FillText(ForwardCannotResolve, {address_, SystemErrorText(static_cast<DWORD>(error))}));
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
                error = FinishConnect(candidate, ConnectWait());
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
            Tell(FillText(ForwardCannotReach, {address_, SystemErrorText(static_cast<DWORD>(error))}));
            outageSaid_ = true;
        }
        return false;
    }
    return true;
}

void SyslogForwarder::Link::Disconnect()
{
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
}

void SyslogForwarder::Link::ConnectionLost(int error)
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
    {
        std::lock_guard<std::mutex> hold(books_);
        pendingSent_ = wholeEnd;
    }
    if (!outageSaid_) {
        std::string why = error == 0 ? FillText(ForwardClosedByCollector, {address_})
                                     : FillText(ForwardCannotReach,
                                                {address_, SystemErrorText(static_cast<DWORD>(error))});
        Tell(why);
        outageSaid_ = true;
    }
}

bool SyslogForwarder::Link::ConnectionStillOpen()
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

bool SyslogForwarder::Link::SendPending()
{
    return IsTcp() ? SendStream() : SendDatagrams();
}

bool SyslogForwarder::Link::SendStream()
{
    while (pendingSent_ < pending_.size()) {
        size_t left = pending_.size() - pendingSent_;
        int chunk = static_cast<int>(std::min<size_t>(left, 1 << 20));
        int sent = send(socket_, pending_.data() + pendingSent_, chunk, 0);
        if (sent != SOCKET_ERROR) {
            std::lock_guard<std::mutex> hold(books_);
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

bool SyslogForwarder::Link::WaitUntilWritable()
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

bool SyslogForwarder::Link::SendDatagrams()
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
            std::lock_guard<std::mutex> hold(books_);
            pendingSent_ = end;
        }
        start = end;
    }
    return true;
}

void SyslogForwarder::Link::FormatBatch(const std::vector<ForwardedLine>& batch, uint64_t droppedAfter)
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

void SyslogForwarder::Link::AddMessage(const std::string& message, bool isLine)
{
    pending_ += IsTcp() ? FrameForTcp(message) : message;
    messageEnds_.push_back(pending_.size());
    messageIsLine_.push_back(isLine);
}
