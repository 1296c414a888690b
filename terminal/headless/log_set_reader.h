// A log read member after member: the files of a rotated output, oldest first, as one log, or one
// file alone. Each member is read by the reader of the form it starts in (JSON lines when its
// first byte is "{", else the text form) and its entries go to one sink, in order. A member of a
// set that cannot be opened, read or taken for a log, or that has lines left out, is named with
// the reason and the set reads on; a file alone that is not a log ends the read.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "log_reader.h"

struct LogSetOutcome {
    std::string error;       // the reason the read ended early, or the file is not a log
    LogReadSummary summary;  // over every member read; left-out lines only of a file alone
    std::vector<std::string> memberProblems;  // members of a set that could not be read, and why
};

class LogSetReader {
public:
    LogSetReader(std::function<void(LogEntry&&)> sink, bool inSet);

    // The next member, by the name it is told by.
    void BeginMember(const std::string& name);
    // The member's bytes as they come; false once the member is known not to be a log.
    bool Feed(std::string_view bytes);
    // The member's last bytes came: its last line, if it has no line end. False as Feed.
    bool FinishMember();
    // Done with the member: read to its end, stopped early, or with why it could not be read
    // further (readError). False when the whole read ends here.
    bool EndMember(const std::string& readError = std::string());
    // A member that could not be opened, and why; false when the whole read ends here.
    bool MemberNotOpened(const std::string& reason);

    const LogSetOutcome& Outcome() const { return outcome_; }

private:
    std::function<void(LogEntry&&)> sink_;
    bool inSet_;
    std::string name_;
    std::unique_ptr<EntryReader> reader_;
    std::string error_;  // the member's, once its reader refused it
    LogSetOutcome outcome_;
};
