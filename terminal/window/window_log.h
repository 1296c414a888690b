// File > Log to file (and --log FILE): every line the window receives also goes to a file as it
// arrives, in the headless output's forms and with its rotation, through the same writer, so
// that watching and keeping no longer exclude each other.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "headless_options.h"
#include "incoming_queue.h"
#include "non_copyable.h"
#include "output_writer.h"
#include "standard_streams.h"

// Posted to the window by the writer's thread when writing has a problem (lParam: a
// std::string* the window takes and deletes).
constexpr UINT LogProblemMessage = WM_APP + 2;

class WindowLog : private NonCopyable {
public:
    ~WindowLog() { Stop(); }

    // Starts logging to options' file (added to, created when missing); problems while writing
    // are posted to notify. False, the user told why, when the file cannot be opened.
    bool Start(const HeadlessOptions& options, const StandardStreams& streams, HWND notify);
    bool Active() const { return writer_ != nullptr; }
    // The file's name, for the status bar.
    const std::wstring& Path() const { return path_; }
    // A line as it arrives: it is written soon after, on the writer's thread.
    void Add(const ReceivedLine& line);
    // Writes what waits (a stalled output gets OutputStallLimitMs) and stops; what could not be
    // written, said in a sentence, or empty.
    std::string Stop();

private:
    std::shared_ptr<IncomingQueue> queue_;
    std::unique_ptr<OutputWriter> writer_;
    std::wstring path_;
};
