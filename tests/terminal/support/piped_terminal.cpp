#include "piped_terminal.h"

#include <algorithm>

#include "file_bytes.h"
#include "running_terminal.h"

namespace {

constexpr DWORD StartTimeoutMs = 20000;
constexpr DWORD PollMs = 10;

} // namespace

PipedTerminal::~PipedTerminal()
{
    CloseReader();
}

bool PipedTerminal::Start(const std::vector<std::wstring>& arguments)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE writer = NULL;
    if (!CreatePipe(&reader_, &writer, &inheritable, 0)) {
        return false;
    }
    // Only the terminal may hold the writing end: the pipe then ends with it.
    SetHandleInformation(reader_, HANDLE_FLAG_INHERIT, 0);
    OutputCatcher errors(errors_.Path());
    LaunchSetting setting;
    setting.output = writer;
    setting.error = errors.Handle();
    std::vector<std::wstring> headless = {L"--headless"};
    headless.insert(headless.end(), arguments.begin(), arguments.end());
    bool started = process_.Start(PathBesideProgram(L"vornak-terminal.exe"), headless, setting);
    CloseHandle(writer);
    if (!started) {
        return false;
    }
    for (DWORD waited = 0; waited < StartTimeoutMs && window_ == NULL && process_.Wait(0) == -1; waited += PollMs) {
        window_ = FindTerminalOf(process_.Id());
        if (window_ == NULL) {
            Sleep(PollMs);
        }
    }
    return window_ != NULL && WaitUntilHandlingMessages(window_);
}

bool PipedTerminal::ReadLines(size_t count, std::vector<std::string>* lines)
{
    lines->clear();
    char buffer[4096];
    for (;;) {
        size_t end;
        while (lines->size() < count && (end = pending_.find('\n')) != std::string::npos) {
            lines->push_back(pending_.substr(0, end));
            pending_.erase(0, end + 1);
        }
        if (lines->size() == count) {
            return true;
        }
        DWORD read = 0;
        if (!ReadFile(reader_, buffer, sizeof(buffer), &read, NULL) || read == 0) {
            return false;
        }
        pending_.append(buffer, read);
    }
}

size_t PipedTerminal::ReadRemainingLines()
{
    pending_ += ReadToTheEnd(reader_);
    size_t lines = static_cast<size_t>(std::count(pending_.begin(), pending_.end(), '\n'));
    pending_.clear();
    return lines;
}

void PipedTerminal::CloseReader()
{
    if (reader_ != NULL) {
        CloseHandle(reader_);
        reader_ = NULL;
    }
}
