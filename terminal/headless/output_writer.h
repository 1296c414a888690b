// Writes the lines of a queue to an output on a thread of its own, so that a slow disk or a full
// pipe holds up only this thread, never the window procedure the hosts wait on. However the
// output blocks, the terminal still ends: once asked to finish, a write that takes nothing for a
// while is cancelled and its lines are counted as not written.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "incoming_queue.h"
#include "non_copyable.h"

// Told during a write how many of its bytes have reached the output so far.
using WriteProgress = std::function<void(size_t bytesWritten)>;

// Where the text goes: standard output, a file, a rotating file.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Writes text (whole lines, each ending in "\n"), telling progress as parts of it go when it
    // writes in parts. False when some of it could not be written: *written then says how many
    // bytes (from the start) were, *error the system's error code. *problem, when set, is
    // something to tell the user even when nothing was lost.
    virtual bool Write(std::string_view text, const WriteProgress& progress, size_t* written, DWORD* error,
                       std::string* problem) = 0;
};

// A handle the sink writes to as it is (standard output). Other than to a file, it writes in
// pieces of whole lines small enough that a slow reader's progress shows. A console gets the
// lines as wide characters, read in consoleCodePage (the lines' own: the ANSI code page for
// text, UTF-8 for JSON); a file or a pipe gets the bytes.
class HandleSink : public OutputSink, private NonCopyable {
public:
    explicit HandleSink(HANDLE handle, unsigned consoleCodePage = CP_ACP);
    bool Write(std::string_view text, const WriteProgress& progress, size_t* written, DWORD* error,
               std::string* problem) override;

private:
    HANDLE handle_;
    size_t pieceBytes_;
    bool console_;
    unsigned codePage_;
};

// The first whole lines of text, at most limit bytes of them; the first line alone when it is
// longer (or all of text when it has no line end).
std::string_view LinesUpTo(std::string_view text, size_t limit);

// How lines and the notice of lost lines read in the output (each ending in "\n").
struct LineFormat {
    std::function<std::string(const ReceivedLine&)> line;
    std::function<std::string(uint64_t droppedCount)> droppedNotice;
};

// What the writer tells its owner while it runs (on the writer's thread).
struct WriterHooks {
    // The output's reader has gone (a closed pipe): nothing more can be written.
    std::function<void()> readerGone;
    // A sink's problem to tell the user, once each time it changes.
    std::function<void(const std::string&)> tell;
};

// How writing went, once finished.
struct WriteOutcome {
    uint64_t notWritten = 0;  // received lines that did not reach the output whole
    bool readerGone = false;  // the output's reader went away
    bool gaveUp = false;      // a write took nothing for the stall limit after Finish began
    std::string lastFailure;  // why the last failed write failed (the system's error and its text)
};

// Once Finish has begun, how long a write may go without any progress before it is cancelled.
constexpr DWORD OutputStallLimitMs = 5000;

class OutputWriter : private NonCopyable {
public:
    // Starts writing what arrives in queue to sink, formatted by format.
    OutputWriter(std::shared_ptr<IncomingQueue> queue, std::shared_ptr<OutputSink> sink, LineFormat format,
                 WriterHooks hooks);
    ~OutputWriter();

    // False when the writer's thread could not be started (nothing will be written).
    bool Started() const { return thread_ != NULL; }

    // Closes the queue and writes what is left, however slowly the output takes it. A write that
    // makes no progress for stallLimitMs is cancelled (its lines not yet written and those still
    // waiting are counted as not written); a writer that a cancel cannot reach is left behind,
    // holding only what it shares with nobody else.
    WriteOutcome Finish(DWORD stallLimitMs = OutputStallLimitMs);

    struct State;

private:
    std::shared_ptr<State> state_;
    HANDLE thread_ = NULL;
    bool finished_ = false;
    WriteOutcome outcome_;
};

// How often waiting lines are written out.
constexpr unsigned WriteIntervalMs = 50;
