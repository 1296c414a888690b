#include "window_log.h"

#include "headless_output.h"
#include "system_error_text.h"
#include "terminal_texts.h"
#include "wide_text.h"

bool WindowLog::Start(const HeadlessOptions& options, const StandardStreams& streams, HWND notify)
{
    Stop();
    std::shared_ptr<OutputSink> sink = OpenHeadlessOutput(options, streams);
    if (sink == nullptr) {
        return false;
    }
    WriterHooks hooks;
    hooks.tell = [notify](const std::string& problem) {
        auto* text = new std::string(problem);
        if (!PostMessageW(notify, LogProblemMessage, 0, reinterpret_cast<LPARAM>(text))) {
            delete text;
        }
    };
    queue_ = std::make_shared<IncomingQueue>(WaitingLineLimit);
    writer_ = std::make_unique<OutputWriter>(queue_, sink, LineFormatOf(options.format), hooks);
    if (!writer_->Started()) {
        TellUser(streams, FillText(CannotStartWriter, {SystemErrorText(GetLastError())}));
        writer_.reset();
        queue_.reset();
        return false;
    }
    path_ = options.outputPath;
    return true;
}

void WindowLog::Add(const ReceivedLine& line)
{
    if (queue_ != nullptr) {
        ReceivedLine copy = line;
        queue_->Push(std::move(copy));
    }
}

std::string WindowLog::Stop()
{
    if (writer_ == nullptr) {
        return std::string();
    }
    WriteOutcome outcome = writer_->Finish();
    writer_.reset();
    queue_.reset();
    std::string name = WideToUtf8(path_);
    path_.clear();
    if (outcome.notWritten == 0 && outcome.lastFailure.empty()) {
        return std::string();
    }
    return FillText(LogLinesNotWritten, {LineCount(outcome.notWritten), name, outcome.lastFailure});
}
