#include "syslog_forwarding.h"

#include <windows.h>

#include "terminal_texts.h"

SyslogForwarding::SyslogForwarding(const std::vector<SyslogDestination>& destinations, size_t queueLines,
                                   const StandardStreams& streams)
    : streams_(streams)
{
    SyslogOrigin origin;
    origin.hostName = LocalSyslogHostName();
    origin.processId = GetCurrentProcessId();
    for (const SyslogDestination& destination : destinations) {
        forwarders_.push_back(std::make_unique<SyslogForwarder>(destination, queueLines, origin, streams));
    }
}

void SyslogForwarding::Forward(const ReceivedLine& line)
{
    for (const std::unique_ptr<SyslogForwarder>& forwarder : forwarders_) {
        forwarder->Forward(line);
    }
}

bool SyslogForwarding::Finish(DWORD drainMs)
{
    // The collectors drain side by side: a missing one does not hold up the others' lines.
    std::vector<ForwardReport> reports(forwarders_.size());
    std::vector<std::thread> finishing;
    for (size_t i = 0; i < forwarders_.size(); ++i) {
        finishing.emplace_back([this, i, drainMs, &reports] { reports[i] = forwarders_[i]->Finish(drainMs); });
    }
    for (std::thread& thread : finishing) {
        thread.join();
    }
    bool allDelivered = true;
    for (size_t i = 0; i < forwarders_.size(); ++i) {
        const std::string& address = forwarders_[i]->Address();
        if (reports[i].dropped != 0) {
            TellUser(streams_, FillText(ForwardDroppedLines, {address, "", LineCount(reports[i].dropped)}));
            allDelivered = false;
        }
        if (reports[i].undelivered != 0) {
            std::string count = LineCount(reports[i].undelivered);
            TellUser(streams_, FillText(ForwardUndeliveredLines, {address, "", count}));
            allDelivered = false;
        }
    }
    return allDelivered;
}
