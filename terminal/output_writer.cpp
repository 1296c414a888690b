#include "output_writer.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "system_error_text.h"

namespace {

// One write at most: a write that takes nothing for the stall limit is one that a reader has
// stopped taking, not one too large to finish.
constexpr size_t ChunkBytes = 64 * 1024;
constexpr DWORD FinishPollMs = 20;
// How long cancelling may try before the writer is left behind.
constexpr int CancelTries = 100;

uint64_t LinesIn(std::string_view text)
{
    return static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

// The first piece of text from offset that ends at a line's end, at most ChunkBytes long unless
// one line is longer.
std::string_view ChunkAt(std::string_view text, size_t offset)
{
    std::string_view rest = text.substr(offset);
    if (rest.size() <= ChunkBytes) {
        return rest;
    }
    size_t end = rest.rfind('\n', ChunkBytes - 1);
    if (end == std::string_view::npos) {
        end = rest.find('\n');
    }
    return end == std::string_view::npos ? rest : rest.substr(0, end + 1);
}

bool IsReaderGone(DWORD error)
{
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

} // namespace

struct OutputWriter::State {
    std::shared_ptr<IncomingQueue> queue;
    std::shared_ptr<OutputSink> sink;
    LineFormat format;
    WriterHooks hooks;
    std::atomic<bool> stopWriting{false};      // set when the writer is given up: count, do not write
    std::atomic<ULONGLONG> writeStarted{0};    // tick count when the write under way began; 0: none
    std::atomic<uint64_t> inFlight{0};         // received lines in the write under way
    std::atomic<uint64_t> notWritten{0};
    std::atomic<bool> readerGone{false};
    // The writer's own; read by others only once it has ended.
    std::string lastFailure;
    std::string lastProblem;

    // Writes text; counted: whether its lines are received lines (a notice of lost ones is not).
    void WriteText(std::string_view text, bool counted)
    {
        for (size_t offset = 0; offset < text.size();) {
            std::string_view chunk = ChunkAt(text, offset);
            uint64_t lines = counted ? LinesIn(chunk) : 0;
            if (stopWriting || readerGone) {
                notWritten += counted ? LinesIn(text.substr(offset)) : 0;
                return;
            }
            inFlight = lines;
            writeStarted = std::max<ULONGLONG>(GetTickCount64(), 1);
            size_t written = 0;
            DWORD error = 0;
            std::string problem;
            bool ok = sink->Write(chunk, &written, &error, &problem);
            writeStarted = 0;
            inFlight = 0;
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
            offset += chunk.size();
        }
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

bool HandleSink::Write(std::string_view text, size_t* written, DWORD* error, std::string*)
{
    *written = 0;
    while (*written < text.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - *written, 0x10000000));
        DWORD wrote = 0;
        if (!WriteFile(handle_, text.data() + *written, chunk, &wrote, NULL) || wrote == 0) {
            *error = GetLastError();
            return false;
        }
        *written += wrote;
    }
    return true;
}

HandleSink::~HandleSink()
{
    if (owned_) {
        CloseHandle(handle_);
    }
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
        ULONGLONG started = state.writeStarted;
        if (!ended && started != 0 && GetTickCount64() - std::max(started, finishBegan) >= stallLimitMs) {
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
        outcome_.notWritten = state.notWritten + state.inFlight + waiting.size();
    }
    if (thread_ != NULL) {
        CloseHandle(thread_);
        thread_ = NULL;
    }
    outcome_.readerGone = state.readerGone;
    return outcome_;
}
