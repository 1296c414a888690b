#include "log_opening.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "system_error_text.h"
#include "terminal_texts.h"
#include "wide_text.h"

namespace {

constexpr size_t ReadPieceBytes = 256 * 1024;
// The thread waits while this many entries wait for the window: memory stays bounded however
// fast the file reads and however slowly the window stores.
constexpr size_t WaitingEntryLimit = 200000;
constexpr auto WaitStepMs = std::chrono::milliseconds(100);

std::wstring FileName(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

struct LogOpening::State {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<LogEntry> ready;  // under lock
    bool ended = false;           // under lock; outcome is the thread's until then
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> bytesRead{0};
    uint64_t bytesTotal = 0;  // set before the thread starts
    OpeningOutcome outcome;

    // Hands entries over; waits while the window has too many to take, until asked to stop.
    void Hand(std::vector<LogEntry>* entries)
    {
        std::unique_lock<std::mutex> held(lock);
        if (ready.empty()) {
            ready.swap(*entries);
        } else {
            for (LogEntry& entry : *entries) {
                ready.push_back(std::move(entry));
            }
            entries->clear();
        }
        while (ready.size() >= WaitingEntryLimit && !stop.load()) {
            changed.wait_for(held, WaitStepMs);
        }
    }

    // One member; false when the read should go no further.
    bool ReadMember(const std::wstring& path, LogSetReader* set, std::vector<LogEntry>* entries)
    {
        set->BeginMember(WideToUtf8(FileName(path)));
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) {
            return set->MemberNotOpened(SystemErrorText(GetLastError()));
        }
        std::string buffer(ReadPieceBytes, '\0');
        std::string readError;
        bool goOn = true;
        for (;;) {
            if (stop.load()) {
                outcome.stopped = true;
                goOn = false;
                break;
            }
            DWORD got = 0;
            if (!ReadFile(file, &buffer[0], static_cast<DWORD>(buffer.size()), &got, NULL)) {
                readError = FillText(LogCannotRead, {SystemErrorText(GetLastError())});
                break;
            }
            bytesRead += got;
            bool ok = got == 0 ? set->FinishMember() : set->Feed(std::string_view(buffer.data(), got));
            Hand(entries);
            if (!ok || got == 0) {
                break;
            }
        }
        CloseHandle(file);
        return set->EndMember(readError) && goOn;
    }

    void Run(const std::vector<std::wstring>& members)
    {
        std::vector<LogEntry> entries;
        LogSetReader set([&entries](LogEntry&& entry) { entries.push_back(std::move(entry)); }, members.size() > 1);
        for (const std::wstring& path : members) {
            if (!ReadMember(path, &set, &entries)) {
                break;
            }
        }
        static_cast<LogSetOutcome&>(outcome) = set.Outcome();
        std::lock_guard<std::mutex> held(lock);
        ended = true;
        changed.notify_all();
    }
};

LogOpening::LogOpening(std::vector<std::wstring> members) : state_(std::make_shared<State>())
{
    for (const std::wstring& path : members) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            state_->bytesTotal += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
    }
    std::shared_ptr<State> state = state_;
    thread_ = std::thread([state, members] { state->Run(members); });
}

LogOpening::~LogOpening()
{
    Stop();
    bool ended = false;
    {
        std::unique_lock<std::mutex> held(state_->lock);
        ended = state_->changed.wait_for(held, std::chrono::milliseconds(StopWaitMs),
                                         [this] { return state_->ended; });
    }
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();
    }
}

void LogOpening::Stop()
{
    state_->stop = true;
    state_->changed.notify_all();
}

void LogOpening::Take(std::vector<LogEntry>* entries)
{
    std::lock_guard<std::mutex> held(state_->lock);
    if (entries->empty()) {
        entries->swap(state_->ready);
    } else {
        for (LogEntry& entry : state_->ready) {
            entries->push_back(std::move(entry));
        }
        state_->ready.clear();
    }
    state_->changed.notify_all();
}

bool LogOpening::Ended() const
{
    std::lock_guard<std::mutex> held(state_->lock);
    return state_->ended;
}

int LogOpening::Percent() const
{
    uint64_t total = state_->bytesTotal;
    uint64_t read = state_->bytesRead.load();
    if (total == 0) {
        return 0;
    }
    // A file that grows while it is read stays below 100 until the end.
    return static_cast<int>(std::min<uint64_t>(99, read * 100 / total));
}

const OpeningOutcome& LogOpening::Outcome() const
{
    return state_->outcome;
}
