#include "output_writer.h"

#include <string>
#include <vector>

#include "line_text.h"
#include "standard_streams.h"
#include "terminal_protocol.h"

OutputWriter::OutputWriter(IncomingQueue& queue, HANDLE output)
    : queue_(queue), output_(output), thread_([this] { Run(); })
{
}

OutputWriter::~OutputWriter()
{
    if (thread_.joinable()) {
        Finish();
    }
}

bool OutputWriter::Finish()
{
    queue_.Close();
    if (thread_.joinable()) {
        thread_.join();
    }
    return !failed_;
}

void OutputWriter::Run()
{
    std::vector<ReceivedLine> batch;
    std::string text;
    for (;;) {
        bool open = queue_.WaitForLines(WriteIntervalMs);
        uint64_t dropped = queue_.TakeAll(&batch);
        text.clear();
        for (const ReceivedLine& line : batch) {
            text += FormatOutputLine(line);
        }
        if (dropped != 0) {
            text += FormatDroppedNotice(LocalMsOfDay(), dropped);
        }
        // One write per batch: the lines reach the file (and whoever reads it) at once, and a
        // failed write is not retried forever while more lines pile up.
        if (!text.empty() && !WriteAll(output_, text.data(), text.size())) {
            failed_ = true;
        }
        if (!open) {
            break;
        }
    }
}
