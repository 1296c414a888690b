#include <winsock2.h>

#include "closing_collector.h"

namespace {

constexpr long AcceptPollUs = 20000;

} // namespace

ClosingCollector::ClosingCollector()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET listening = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (listening == INVALID_SOCKET || bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listening, 16) != 0 || getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listening != INVALID_SOCKET) {
            closesocket(listening);
        }
        return;
    }
    listening_ = listening;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, listening] {
        while (!stop_) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(listening, &readable);
            timeval wait = {0, AcceptPollUs};
            if (select(0, &readable, NULL, NULL, &wait) == 1) {
                SOCKET connection = accept(listening, NULL, NULL);
                if (connection != INVALID_SOCKET) {
                    ++connections_;
                    closesocket(connection);
                }
            }
        }
    });
}

ClosingCollector::~ClosingCollector()
{
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (Listening()) {
        closesocket(static_cast<SOCKET>(listening_));
    }
    WSACleanup();
}

std::string ClosingCollector::Address() const
{
    return "syslog+tcp://127.0.0.1:" + std::to_string(port_);
}
