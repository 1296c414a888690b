#include "terminal_in_process.h"

#include "headless_terminal.h"
#include "running_terminal.h"
#include "standard_streams.h"
#include "terminal_arguments.h"
#include "terminal_window.h"

namespace {

constexpr int StartTries = 2000;
constexpr DWORD PollMs = 10;

} // namespace

WindowOptions TestWindowOptions(const std::wstring& rulesPath)
{
    WindowOptions options;
    options.rulesPath = rulesPath;
    options.settingsKey = TestSettingsKey;
    return options;
}

TerminalInProcess::~TerminalInProcess()
{
    if (thread_.joinable()) {
        Stop();
    }
    if (errorHandle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(errorHandle_);
    }
}

bool TerminalInProcess::Start()
{
    if (!keepSettings_) {
        RegDeleteTreeW(HKEY_CURRENT_USER, windowOptions_.settingsKey.c_str());
    }
    errorHandle_ = CreateFileW(errors_.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    StandardStreams streams;
    streams.error = errorHandle_ != INVALID_HANDLE_VALUE ? errorHandle_ : NULL;
    TerminalOptions options;
    options.command = mode_ == Mode::Headless ? TerminalCommand::Headless : TerminalCommand::Window;
    options.outputPath = output_.Path();
    HINSTANCE instance = GetModuleHandleW(NULL);
    thread_ = std::thread([this, streams, options, instance] {
        status_ = options.command == TerminalCommand::Headless
                      ? RunHeadlessTerminal(instance, options, streams)
                      : RunTerminalWindow(instance, SW_HIDE, streams, windowOptions_);
    });
    for (int tries = 0; tries < StartTries && (receiver_ == NULL || window_ == NULL); ++tries) {
        receiver_ = FindTerminalOf(GetCurrentProcessId());
        // The window mode's frame is made before its receiver.
        window_ = mode_ == Mode::Headless ? receiver_ : FindFrameOf(GetCurrentProcessId());
        if (receiver_ == NULL || window_ == NULL) {
            Sleep(PollMs);
        }
    }
    return receiver_ != NULL && window_ != NULL && WaitUntilHandlingMessages(receiver_) &&
           WaitUntilHandlingMessages(window_);
}

int TerminalInProcess::Stop()
{
    if (window_ != NULL) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    return status_;
}
