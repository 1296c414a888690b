// The writer between the queue and the output: what it counts as not written when writes fail,
// when the reader goes away and when a write takes nothing until it is given up.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "output_writer.h"
#include "system_error_text.h"
#include "received_lines.h"

namespace {

using Texts = std::vector<std::string>;

LineFormat Plain()
{
    LineFormat format;
    format.line = [](const ReceivedLine& line) { return line.text + "\n"; };
    format.droppedNotice = [](uint64_t count) { return std::to_string(count) + " dropped\n"; };
    return format;
}

// A sink that takes what it is told to and refuses the rest with a chosen error; it records what
// it took, and each refusal may carry a problem to tell.
class ScriptedSink : public OutputSink {
public:
    // Refuses every write whose text contains refusedText, with error (after writing its first
    // bytesBeforeFailure bytes).
    ScriptedSink(std::string refusedText, DWORD error, size_t bytesBeforeFailure = 0, std::string problem = "")
        : refused_(std::move(refusedText)), error_(error), before_(bytesBeforeFailure), problem_(std::move(problem))
    {
    }
    bool Write(std::string_view text, const WriteProgress&, size_t* written, DWORD* error,
               std::string* problem) override
    {
        std::lock_guard<std::mutex> hold(lock_);
        ++attempts_;
        if (text.find(refused_) == std::string_view::npos) {
            taken_ += text;
            *written = text.size();
            return true;
        }
        taken_ += text.substr(0, before_);
        *written = before_;
        *error = error_;
        *problem = problem_;
        return false;
    }
    std::string Taken()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return taken_;
    }
    int Attempts()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return attempts_;
    }

private:
    std::mutex lock_;
    std::string refused_;
    DWORD error_;
    size_t before_;
    std::string problem_;
    std::string taken_;
    int attempts_ = 0;
};

// Pushes lines one batch at a time: each is tried before the next is pushed.
void PushOneByOne(IncomingQueue& queue, const Texts& texts, ScriptedSink& sink)
{
    for (const std::string& text : texts) {
        int before = sink.Attempts();
        queue.Push(Line(text));
        while (sink.Attempts() == before) {
            Sleep(1);
        }
    }
}

TEST(OutputWriter, LinesOfAFailedWriteAreCountedFromWhereTheWriteStopped)
{
    auto queue = std::make_shared<IncomingQueue>(100);
    // "ok 1\nrefused 2\nrefused 3\n" pushed at once: 5 bytes reach the output, two lines do not.
    auto sink = std::make_shared<ScriptedSink>("refused", ERROR_DISK_FULL, 5);
    queue->Push(Line("ok 1"));
    queue->Push(Line("refused 2"));
    queue->Push(Line("refused 3"));
    OutputWriter writer(queue, sink, Plain(), WriterHooks());
    ASSERT_TRUE(writer.Started());
    WriteOutcome outcome = writer.Finish();
    EXPECT_EQ("ok 1\n", sink->Taken());
    EXPECT_EQ(2u, outcome.notWritten);
    EXPECT_FALSE(outcome.readerGone);
    EXPECT_FALSE(outcome.gaveUp);
    EXPECT_EQ(SystemErrorText(ERROR_DISK_FULL), outcome.lastFailure);
}

TEST(OutputWriter, AFailedWriteIsNotRetriedAndLaterLinesStillGoOut)
{
    auto queue = std::make_shared<IncomingQueue>(100);
    auto sink = std::make_shared<ScriptedSink>("refused", ERROR_DISK_FULL);
    Texts told;
    WriterHooks hooks;
    hooks.tell = [&told](const std::string& problem) { told.push_back(problem); };
    OutputWriter writer(queue, sink, Plain(), hooks);
    PushOneByOne(*queue, {"first", "refused a", "second"}, *sink);
    WriteOutcome outcome = writer.Finish();
    EXPECT_EQ("first\nsecond\n", sink->Taken());
    EXPECT_EQ(1u, outcome.notWritten);
    EXPECT_EQ(Texts(), told);
}

TEST(OutputWriter, ASinksProblemIsToldOnceWhileItLasts)
{
    auto queue = std::make_shared<IncomingQueue>(100);
    auto sink = std::make_shared<ScriptedSink>("refused", ERROR_ACCESS_DENIED, 0, "cannot rotate");
    Texts told;
    WriterHooks hooks;
    hooks.tell = [&told](const std::string& problem) { told.push_back(problem); };
    OutputWriter writer(queue, sink, Plain(), hooks);
    PushOneByOne(*queue, {"refused 1", "refused 2", "fine", "refused 3"}, *sink);
    WriteOutcome outcome = writer.Finish();
    EXPECT_EQ(3u, outcome.notWritten);
    EXPECT_EQ(Texts({"cannot rotate", "cannot rotate"}), told);
    EXPECT_EQ("cannot rotate", outcome.lastFailure);
}

TEST(OutputWriter, AReaderGoneIsToldOnceAndEveryLaterLineCountedUnwritten)
{
    for (DWORD error : {ERROR_NO_DATA, ERROR_BROKEN_PIPE, ERROR_PIPE_NOT_CONNECTED}) {
        auto queue = std::make_shared<IncomingQueue>(100);
        auto sink = std::make_shared<ScriptedSink>("gone", error);
        int toldGone = 0;
        WriterHooks hooks;
        hooks.readerGone = [&toldGone] { ++toldGone; };
        OutputWriter writer(queue, sink, Plain(), hooks);
        PushOneByOne(*queue, {"read", "gone"}, *sink);
        // Never tried: nothing more can be written.
        queue->Push(Line("after 1"));
        queue->Push(Line("after 2"));
        WriteOutcome outcome = writer.Finish();
        EXPECT_EQ("read\n", sink->Taken());
        EXPECT_EQ(3u, outcome.notWritten) << error;
        EXPECT_TRUE(outcome.readerGone);
        EXPECT_EQ(1, toldGone);
    }
}

TEST(OutputWriter, AWriteThatTakesNothingIsCancelledAfterTheStallLimit)
{
    HANDLE reader = NULL;
    HANDLE writerEnd = NULL;
    ASSERT_TRUE(CreatePipe(&reader, &writerEnd, NULL, 0));
    auto queue = std::make_shared<IncomingQueue>(100000);
    // A pipe nobody reads: the first large write blocks for good.
    auto sink = std::make_shared<HandleSink>(writerEnd);
    OutputWriter writer(queue, sink, Plain(), WriterHooks());
    for (int i = 0; i < 1000; ++i) {
        queue->Push(Line(std::string(200, 'x')));
    }
    WriteOutcome outcome = writer.Finish(500);
    EXPECT_TRUE(outcome.gaveUp);
    EXPECT_FALSE(outcome.readerGone);
    // What did go into the pipe can still be read; the rest is counted.
    DWORD available = 0;
    ASSERT_TRUE(PeekNamedPipe(reader, NULL, 0, NULL, &available, NULL));
    EXPECT_EQ(1000u - available / 201, outcome.notWritten);
    CloseHandle(reader);
    CloseHandle(writerEnd);
}

TEST(OutputWriter, ASlowButSteadyReaderIsNeverGivenUpHoweverLongTheEndTakes)
{
    HANDLE reader = NULL;
    HANDLE writerEnd = NULL;
    ASSERT_TRUE(CreatePipe(&reader, &writerEnd, NULL, 0));
    auto queue = std::make_shared<IncomingQueue>(1000);
    OutputWriter writer(queue, std::make_shared<HandleSink>(writerEnd), Plain(), WriterHooks());
    // 80 KB taken at 40 KB a second: more than one 64 KB write can take within the limit below.
    for (int i = 0; i < 400; ++i) {
        queue->Push(Line(std::string(199, 'x')));
    }
    size_t read = 0;
    std::thread slowReader([reader, &read] {
        char piece[800];
        DWORD got = 0;
        while (read < 400 * 200 && ReadFile(reader, piece, sizeof(piece), &got, NULL) && got > 0) {
            read += got;
            Sleep(20);
        }
    });
    WriteOutcome outcome = writer.Finish(1000);
    CloseHandle(writerEnd);
    slowReader.join();
    CloseHandle(reader);
    EXPECT_FALSE(outcome.gaveUp);
    EXPECT_EQ(0u, outcome.notWritten);
    EXPECT_EQ(400u * 200u, read);
}

// Writes the first two lines it is given, then hangs (as a write the system cannot cancel)
// until released.
class HangingSink : public OutputSink {
public:
    HangingSink() : entered_(CreateEventW(NULL, TRUE, FALSE, NULL)), release_(CreateEventW(NULL, TRUE, FALSE, NULL)) {}
    ~HangingSink() override
    {
        CloseHandle(entered_);
        CloseHandle(release_);
    }
    bool Write(std::string_view text, const WriteProgress& progress, size_t* written, DWORD* error,
               std::string*) override
    {
        *written = text.find('\n', text.find('\n') + 1) + 1;
        progress(*written);
        SetEvent(entered_);
        WaitForSingleObject(release_, 60000);
        *error = ERROR_OPERATION_ABORTED;
        return false;
    }
    bool WaitUntilEntered() { return WaitForSingleObject(entered_, 10000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(release_); }

private:
    HANDLE entered_;
    HANDLE release_;
};

TEST(OutputWriter, AWriterLeftBehindCountsOnlyTheLinesThatHadNotGoneOut)
{
    auto queue = std::make_shared<IncomingQueue>(100);
    auto sink = std::make_shared<HangingSink>();
    for (const char* text : {"1", "2", "3", "4", "5"}) {
        queue->Push(Line(text));
    }
    OutputWriter writer(queue, sink, Plain(), WriterHooks());
    ASSERT_TRUE(sink->WaitUntilEntered());
    for (const char* text : {"6", "7", "8"}) {
        queue->Push(Line(text));
    }
    WriteOutcome outcome = writer.Finish(300);
    sink->Release();
    EXPECT_TRUE(outcome.gaveUp);
    // 3 to 5 in the hanging write, 6 to 8 still waiting.
    EXPECT_EQ(6u, outcome.notWritten);
}

TEST(OutputWriter, LostLinesAreNoticedInTheOutputButNotCountedAsUnwritten)
{
    auto queue = std::make_shared<IncomingQueue>(2);
    auto sink = std::make_shared<ScriptedSink>("never", 0);
    for (const char* text : {"a", "b", "c", "d"}) {
        queue->Push(Line(text));
    }
    OutputWriter writer(queue, sink, Plain(), WriterHooks());
    WriteOutcome outcome = writer.Finish();
    EXPECT_EQ("a\nb\n2 dropped\n", sink->Taken());
    EXPECT_EQ(0u, outcome.notWritten);
}

} // namespace
