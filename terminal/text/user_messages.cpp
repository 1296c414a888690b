#include "user_messages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "standard_streams.h"
#include "terminal_texts.h"

namespace {

enum class Outcome { Waiting, Written, Failed };

struct Message {
    HANDLE handle;
    std::string line;
    std::shared_ptr<std::atomic<Outcome>> outcome;
};

struct MessageWriter {
    std::mutex lock;
    std::condition_variable changed;  // a message handed over, or one written
    std::deque<Message> waiting;
    uint64_t dropped = 0;  // since the last notice of dropped ones
    bool hanging = false;  // a write has outlasted the wait
    bool started = false;
    bool cannotStart = false;
};

// Never freed: its thread may be inside a write that never returns when the process ends.
MessageWriter& Writer()
{
    static MessageWriter* writer = new MessageWriter;
    return *writer;
}

DWORD WINAPI WriteMessages(void*)
{
    MessageWriter& writer = Writer();
    std::unique_lock<std::mutex> hold(writer.lock);
    for (;;) {
        writer.changed.wait(hold, [&writer] { return !writer.waiting.empty(); });
        Message next = std::move(writer.waiting.front());
        writer.waiting.pop_front();
        hold.unlock();
        bool written = WriteAll(next.handle, next.line.data(), next.line.size());
        hold.lock();
        *next.outcome = written ? Outcome::Written : Outcome::Failed;
        writer.hanging = false;
        if (written && writer.dropped != 0 && writer.waiting.empty()) {
            std::string notice = TerminalMessagePrefix +
                                 FillText(UserMessagesDropped, {CountText(writer.dropped, "message", "messages")}) +
                                 "\n";
            writer.waiting.push_back({next.handle, notice, std::make_shared<std::atomic<Outcome>>(Outcome::Waiting)});
            writer.dropped = 0;
        }
        writer.changed.notify_all();
    }
}

} // namespace

bool WriteUserMessage(HANDLE error, const std::string& line)
{
    if (error == NULL) {
        return false;
    }
    MessageWriter& writer = Writer();
    std::unique_lock<std::mutex> hold(writer.lock);
    if (!writer.started && !writer.cannotStart) {
        HANDLE thread = CreateThread(NULL, 0, WriteMessages, NULL, 0, NULL);
        writer.started = thread != NULL;
        writer.cannotStart = thread == NULL;
        if (thread != NULL) {
            CloseHandle(thread);
        }
    }
    if (writer.cannotStart) {
        hold.unlock();
        return WriteAll(error, line.data(), line.size());
    }
    if (writer.waiting.size() >= MaxWaitingUserMessages) {
        ++writer.dropped;
        return false;
    }
    auto outcome = std::make_shared<std::atomic<Outcome>>(Outcome::Waiting);
    writer.waiting.push_back({error, line, outcome});
    writer.changed.notify_all();
    if (writer.hanging) {
        return false;
    }
    if (!writer.changed.wait_for(hold, std::chrono::milliseconds(UserMessageWaitMs),
                                 [&outcome] { return *outcome != Outcome::Waiting; })) {
        writer.hanging = true;
        return false;
    }
    return *outcome == Outcome::Written;
}
