#include "log_set_reader.h"

#include "json_line_reader.h"
#include "terminal_texts.h"

LogSetReader::LogSetReader(std::function<void(LogEntry&&)> sink, bool inSet) : sink_(std::move(sink)), inSet_(inSet) {}

void LogSetReader::BeginMember(const std::string& name)
{
    name_ = name;
    reader_.reset();
    error_.clear();
}

bool LogSetReader::Feed(std::string_view bytes)
{
    if (!error_.empty()) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    if (reader_ == nullptr) {
        if (bytes[0] == '{') {
            reader_ = std::make_unique<JsonLogReader>(sink_);
        } else {
            reader_ = std::make_unique<LogReader>(sink_);
        }
    }
    return reader_->Feed(bytes, &error_);
}

bool LogSetReader::FinishMember()
{
    return error_.empty() && (reader_ == nullptr || reader_->Finish(&error_));
}

bool LogSetReader::EndMember(const std::string& readError)
{
    if (reader_ != nullptr) {
        const LogReadSummary& member = reader_->Summary();
        outcome_.summary.entries += member.entries;
        if (!inSet_) {
            outcome_.summary.skipped = member.skipped;
            outcome_.summary.firstSkippedLine = member.firstSkippedLine;
        } else if (member.skipped != 0) {
            // Line numbers are the member's own: said with its name.
            outcome_.memberProblems.push_back(FillText(SetMemberProblem, {name_, SkippedLinesText(member)}));
        }
    }
    const std::string& error = readError.empty() ? error_ : readError;
    if (error.empty()) {
        return true;
    }
    if (!inSet_) {
        outcome_.error = error;
        return false;
    }
    outcome_.memberProblems.push_back(FillText(SetMemberProblem, {name_, error}));
    return true;
}

bool LogSetReader::MemberNotOpened(const std::string& reason)
{
    if (!inSet_) {
        outcome_.error = FillText(LogCannotRead, {reason});
        return false;
    }
    outcome_.memberProblems.push_back(FillText(SetMemberProblem, {name_, reason}));
    return true;
}
