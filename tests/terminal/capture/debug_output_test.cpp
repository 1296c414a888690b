// OutputDebugString captured as the system's monitors capture it: texts from another process
// with its id and name, in order, split at line feeds; a buffer written by a rogue writer taken
// bounded; a second monitor refused while the first goes on.
#include <gtest/gtest.h>

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "captured_program.h"
#include "child_process.h"
#include "debug_output_buffer.h"
#include "debug_output_listener.h"

namespace {

constexpr DWORD ArrivalWaitMs = 10000;

// "pid=1234 name.exe: text" for each line captured, as the sink saw them.
class CapturedLines {
public:
    CapturedTextSink Sink()
    {
        return [this](CapturedText&& text) {
            std::lock_guard<std::mutex> hold(mutex_);
            for (const std::string& line : text.lines) {
                std::string name(text.processName.begin(), text.processName.end());  // ASCII names here
                lines_.push_back("pid=" + std::to_string(text.processId) + " " + name + ": " + line);
            }
            arrived_.notify_all();
        };
    }
    // The lines once there are count of them (or what came within the wait).
    std::vector<std::string> WaitFor(size_t count)
    {
        std::unique_lock<std::mutex> hold(mutex_);
        arrived_.wait_for(hold, std::chrono::milliseconds(ArrivalWaitMs), [&] { return lines_.size() >= count; });
        return lines_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> lines_;
};

// Writes bytes into the buffer as a writer would, without OutputDebugString's own NUL.
bool WriteAsARogue(const std::string& bytes)
{
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"DBWIN_BUFFER");
    HANDLE ready = OpenEventW(SYNCHRONIZE, FALSE, L"DBWIN_BUFFER_READY");
    HANDLE data = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"DBWIN_DATA_READY");
    void* view = mapping != NULL ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0) : NULL;
    bool written = view != NULL && ready != NULL && data != NULL && WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0;
    if (written) {
        memcpy(view, bytes.data(), std::min(bytes.size(), DebugOutputBufferSize));
        SetEvent(data);
    }
    if (view != NULL) {
        UnmapViewOfFile(view);
    }
    for (HANDLE handle : {data, ready, mapping}) {
        if (handle != NULL) {
            CloseHandle(handle);
        }
    }
    return written;
}

std::string ProcessIdBytes(uint32_t id)
{
    return std::string{static_cast<char>(id & 0xFF), static_cast<char>(id >> 8 & 0xFF),
                       static_cast<char>(id >> 16 & 0xFF), static_cast<char>(id >> 24 & 0xFF)};
}

TEST(DebugOutputBuffer, TextsAreSplitAtLineFeedsAndBoundedByTheBuffer)
{
    struct Case {
        std::string text;  // after the process id; the buffer is zero beyond it
        std::vector<std::string> lines;
    };
    const std::string full(DebugOutputTextRoom, 'x');
    const std::vector<Case> cases = {
        {"one line", {"one line"}},
        {"ends\n", {"ends"}},
        {"a\nb\r\nc\r\r\n", {"a", "b", "c"}},
        {"\n\n", {"", ""}},
        {"", {""}},
        {"kept\rreturn", {"kept\rreturn"}},  // only those before a line feed go
        {"stops\0here\n", {"stops"}},
        {full.substr(1), {full.substr(1)}},  // 4,091 bytes and the NUL
        {full, {full}},                      // 4,092 bytes, no NUL: the buffer's end ends it
    };
    for (const Case& c : cases) {
        std::string buffer = ProcessIdBytes(0x12345678) + c.text;
        buffer.resize(DebugOutputBufferSize, '\0');
        DebugOutputText read = ReadDebugOutput(reinterpret_cast<const unsigned char*>(buffer.data()), buffer.size());
        EXPECT_EQ(0x12345678u, read.processId);
        EXPECT_EQ(c.lines, read.lines) << c.text.substr(0, 40);
    }
}

TEST(DebugOutputListener, ANamedHostsTextsArriveInOrderSplitAtLineFeeds)
{
    CapturedLines captured;
    DebugOutputListener listener;
    std::string refusal;
    ASSERT_TRUE(listener.Start(CaptureScope::Session, captured.Sink(), &refusal)) << refusal;
    HANDLE mayEnd = CreateEventW(NULL, TRUE, FALSE, L"vornak-ods-writer-may-end");
    CapturedProgram writer;
    ASSERT_TRUE(writer.Start(PathBesideProgram(L"ods-writer.exe"),
                             {L"vornak-ods-writer-may-end", L"one\ntwo\r\n", L"three"}));
    std::string host = "pid=" + std::to_string(writer.ProcessId()) + " ods-writer.exe: ";
    EXPECT_EQ((std::vector<std::string>{host + "one", host + "two", host + "three"}), captured.WaitFor(3));
    SetEvent(mayEnd);
    EXPECT_EQ(0, writer.Wait(ArrivalWaitMs));
    CloseHandle(mayEnd);

    // A second monitor finds the buffer taken and leaves it to the first.
    DebugOutputListener second;
    EXPECT_FALSE(second.Start(CaptureScope::Session, captured.Sink(), &refusal));
    EXPECT_EQ("another debug-output monitor is running: OutputDebugString lines are not captured (close it, then "
              "turn capture on again)",
              refusal);
    // A rogue writer: a process id nobody has, and 4,092 bytes with no NUL.
    ASSERT_TRUE(WriteAsARogue(ProcessIdBytes(0xFFFFFFF0) + std::string(DebugOutputTextRoom, 'r')));
    std::vector<std::string> lines = captured.WaitFor(4);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("pid=4294967280 : " + std::string(DebugOutputTextRoom, 'r'), lines[3]);
    listener.Stop();
    // Stopped, the buffer is free for the next monitor.
    EXPECT_TRUE(second.Start(CaptureScope::Session, captured.Sink(), &refusal)) << refusal;
}

} // namespace
