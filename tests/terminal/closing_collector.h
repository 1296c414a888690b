// A syslog collector on the loopback that accepts every TCP connection and closes it at once, as
// a broken or hostile one does, counting the connections; on a thread of its own.
#pragma once

#include <stdint.h>

#include <atomic>
#include <string>
#include <thread>

class ClosingCollector {
public:
    ClosingCollector();
    ~ClosingCollector();
    ClosingCollector(const ClosingCollector&) = delete;
    ClosingCollector& operator=(const ClosingCollector&) = delete;

    bool Listening() const { return listening_ != ~uintptr_t(0); }
    // "syslog+tcp://127.0.0.1:PORT", as --forward takes it.
    std::string Address() const;
    int Connections() const { return connections_; }

private:
    uintptr_t listening_ = ~uintptr_t(0);  // a SOCKET
    uint16_t port_ = 0;
    std::atomic<int> connections_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
