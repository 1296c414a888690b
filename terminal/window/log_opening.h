// A log opened on a thread of its own: the window takes what was read in batches on its timer,
// so the opened view fills while the file is read and neither the window nor the hosts wait for
// the file. The members of a set (a rotated output) are read one after another as one log.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "log_set_reader.h"
#include "non_copyable.h"

// How a read ended, once it has.
struct OpeningOutcome : LogSetOutcome {
    bool stopped = false;  // Stop came first
};

class LogOpening : private NonCopyable {
public:
    explicit LogOpening(std::vector<std::wstring> members);
    // Asks the thread to stop and waits for it at most StopWaitMs; a thread still in a read then
    // is left to end alone (it holds its own state).
    ~LogOpening();

    // Asks the thread to stop after the read under way; returns at once.
    void Stop();
    // Appends what was read since the last call to *entries.
    void Take(std::vector<LogEntry>* entries);
    // True once the thread has ended; what it read is all there for Take by then.
    bool Ended() const;
    // How much of the bytes there were at the start was read, 0 to 99 until the end.
    int Percent() const;
    // Valid once Ended.
    const OpeningOutcome& Outcome() const;

    struct State;

private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};

// The wait that ending a read takes at most.
constexpr unsigned StopWaitMs = 1000;
