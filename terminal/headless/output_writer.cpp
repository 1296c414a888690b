#include "output_writer.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "output_file.h"
#include "standard_streams.h"
#include "system_error_text.h"

namespace {

// One write of the writer's at most; a sink may write it in smaller pieces.
constexpr size_t ChunkBytes = 64 * 1024;
// A piece written to a pipe or a console: a reader taking 1 KB a second still shows progress
// well within the stall limit.
constexpr size_t StreamPieceBytes = 4096;
constexpr DWORD FinishPollMs = 20;
// How long cancelling may try before the writer is left behind.
constexpr int CancelTries = 100;

uint64_t LinesIn(std::string_view text)
{
    return static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

bool IsReaderGone(DWORD error)
{
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

ULONGLONG Now()
{
    return std::max<ULONGLONG>(GetTickCount64(), 1);
}

} // namespace

std::string_view LinesUpTo(std::string_view text, size_t limit)
{
    if (text.size() <= limit) {
        return text;
    }
    size_t end = limit == 0 ? std::string_view::npos : text.rfind('\n', limit - 1);
    if (end == std::string_view::npos) {
        end = text.find('\n');
    }
    return end == std::string_view::npos ? text : text.substr(0, end + 1);
}

struct OutputWriter::State {
    std::shared_ptr<IncomingQueue> queue;
    std::shared_ptr<OutputSink> sink;
    LineFormat format;
    WriterHooks hooks;
    std::atomic<bool> stopWriting{false};      // set when the writer is given up: count, do not write
    std::atomic<bool> writing{false};          // a write is under way
    std::atomic<ULONGLONG> lastProgress{0};    // tick count when it began or last made progress
    // Received lines of the batch under way neither written yet nor counted as not written.
    std::atomic<uint64_t> unsettled{0};
    std::atomic<uint64_t> notWritten{0};
    std::atomic<bool> readerGone{false};
    // The writer's own; read by others only once it has ended.
    std::string lastFailure;
    std::string lastProblem;

    // Writes text; counted: whether its lines are received lines (a notice of lost ones is not).
    void WriteText(std::string_view text, bool counted)
    {
        unsettled = counted ? LinesIn(text) : 0;
        for (size_t offset = 0; offset < text.size();) {
            std::string_view chunk = LinesUpTo(text.substr(offset), ChunkBytes);
            std::string_view after = text.substr(offset + chunk.size());
            if (stopWriting || readerGone) {
                notWritten += counted ? LinesIn(text.substr(offset)) : 0;
                break;
            }
            size_t reported = 0;
            WriteProgress progress = [this, chunk, counted, &reported](size_t bytesWritten) {
                if (bytesWritten > reported && bytesWritten <= chunk.size()) {
                    unsettled -= counted ? LinesIn(chunk.substr(reported, bytesWritten - reported)) : 0;
                    reported = bytesWritten;
                }
                lastProgress = Now();
            };
            lastProgress = Now();
            writing = true;
            size_t written = 0;
            DWORD error = 0;
            std::string problem;
            bool ok = sink->Write(chunk, progress, &written, &error, &problem);
            writing = false;
            if (problem != lastProblem && !problem.empty() && hooks.tell) {
                hooks.tell(problem);
            }
            lastProblem = problem;
            if (!ok) {
                notWritten += counted ? LinesIn(chunk.substr(std::min(written, chunk.size()))) : 0;
                lastFailure = problem.empty() ? SystemErrorText(error) : problem;
                if (IsReaderGone(error) && !readerGone.exchange(true) && hooks.readerGone) {
                    hooks.readerGone();
                }
            }
            unsettled = counted ? LinesIn(after) : 0;
            offset += chunk.size();
        }
        unsettled = 0;
    }

    void Run()
    {
        std::vector<ReceivedLine> batch;
        std::string text;
        for (;;) {
            bool open = queue->WaitForLines(WriteIntervalMs);
            uint64_t dropped = queue->TakeAll(&batch);
            text.clear();
            for (const ReceivedLine& line : batch) {
                text += format.line(line);
            }
            // One write per batch (in pieces only when large): the lines reach the file (and
            // whoever reads it) at once, and a failed write is not retried forever while more
            // lines pile up.
            WriteText(text, true);
            if (dropped != 0) {
                WriteText(format.droppedNotice(dropped), false);
            }
            if (!open) {
                break;
            }
        }
    }
};

namespace {

DWORD WINAPI RunWriter(void* parameter)
{
    auto handed = static_cast<std::shared_ptr<OutputWriter::State>*>(parameter);
    std::shared_ptr<OutputWriter::State> state = *handed;
    delete handed;
    state->Run();
    return 0;
}

} // namespace

HandleSink::HandleSink(HANDLE handle, unsigned consoleCodePage)
    : handle_(handle),
      pieceBytes_(GetFileType(handle) == FILE_TYPE_DISK ? ChunkBytes : StreamPieceBytes),
      console_(IsConsole(handle)),
      codePage_(consoleCodePage)
{
}

bool HandleSink::Write(std::string_view text, const WriteProgress& progress, size_t* written, DWORD* error,
                       std::string*)
{
    *written = 0;
    while (*written < text.size()) {
        std::string_view piece = LinesUpTo(text.substr(*written), pieceBytes_);
        size_t wrote = 0;
        bool ok = false;
        if (console_) {
            // Whole pieces: a console's count is of wide characters, not of these bytes.
            ok = WriteConsoleText(handle_, piece, codePage_);
            *error = ok ? 0 : GetLastError();
            wrote = ok ? piece.size() : 0;
        } else {
            ok = WriteBytes(handle_, piece, &wrote, error);
        }
        *written += wrote;
        if (!ok) {
            return false;
        }
        progress(*written);
    }
    return true;
}

OutputWriter::OutputWriter(std::shared_ptr<IncomingQueue> queue, std::shared_ptr<OutputSink> sink, LineFormat format,
                           WriterHooks hooks)
    : state_(std::make_shared<State>())
{
    state_->queue = std::move(queue);
    state_->sink = std::move(sink);
    state_->format = std::move(format);
    state_->hooks = std::move(hooks);
    auto handed = new std::shared_ptr<State>(state_);
    thread_ = CreateThread(NULL, 0, RunWriter, handed, 0, NULL);
    if (thread_ == NULL) {
        delete handed;
    }
}

OutputWriter::~OutputWriter()
{
    Finish();
}

WriteOutcome OutputWriter::Finish(DWORD stallLimitMs)
{
    if (finished_) {
        return outcome_;
    }
    finished_ = true;
    State& state = *state_;
    state.queue->Close();
    bool ended = thread_ == NULL;
    ULONGLONG finishBegan = GetTickCount64();
    while (!ended) {
        ended = WaitForSingleObject(thread_, FinishPollMs) == WAIT_OBJECT_0;
        // Progress read before the time, so that it is never later than now.
        ULONGLONG since = std::max<ULONGLONG>(state.lastProgress, finishBegan);
        ULONGLONG now = GetTickCount64();
        if (!ended && state.writing && now >= since && now - since >= stallLimitMs) {
            break;
        }
    }
    if (!ended) {
        outcome_.gaveUp = true;
        state.stopWriting = true;
        // A cancel that comes between two writes finds nothing to cancel: tried until it lands.
        for (int tries = 0; tries < CancelTries && !ended; ++tries) {
            CancelSynchronousIo(thread_);
            ended = WaitForSingleObject(thread_, FinishPollMs) == WAIT_OBJECT_0;
        }
    }
    if (ended) {
        outcome_.notWritten = state.notWritten;
        outcome_.lastFailure = state.lastFailure;
    } else {
        // Left behind in its write: what it holds and what still waits is lost.
        std::vector<ReceivedLine> waiting;
        state.queue->TakeAll(&waiting);
        outcome_.notWritten = state.notWritten + state.unsettled + waiting.size();
    }
    if (thread_ != NULL) {
        CloseHandle(thread_);
        thread_ = NULL;
    }
    outcome_.readerGone = state.readerGone;
    return outcome_;
}
