// The terminal's own code for its window and headless modes, run on a thread of the test: a test
// can then replace system functions that code calls (in this program's import table) and send
// its window messages whose parameters point into this process.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "non_copyable.h"
#include "temporary_file.h"
#include "terminal_window.h"

// The window's settings in tests: a key of the tests' own, never the user's.
constexpr wchar_t TestSettingsKey[] = L"Software\\Vornak\\DebugTerminalTests";

// Options for a window in a test: remembered settings under TestSettingsKey (emptied first by
// Start unless keepSettings), and the rules file, if any.
WindowOptions TestWindowOptions(const std::wstring& rulesPath = std::wstring());

class TerminalInProcess : private NonCopyable {
public:
    enum class Mode { Headless, Window };

    explicit TerminalInProcess(Mode mode, WindowOptions windowOptions = TestWindowOptions(),
                               bool keepSettings = false)
        : mode_(mode), windowOptions_(std::move(windowOptions)), keepSettings_(keepSettings)
    {
    }
    ~TerminalInProcess();

    // Starts it (the window hidden; headless lines go to a temporary file) and returns once its
    // window exists and handles messages; false after 20 s or when it ended first.
    bool Start();
    // Closes its window as a click on the close box would and waits; its exit status.
    int Stop();

    // The window the user sees (in headless mode, the only one).
    HWND Window() const { return window_; }
    // The window hosts send their lines to.
    HWND Receiver() const { return receiver_; }
    // What the headless terminal wrote to its output file so far.
    std::string Output() const { return output_.Text(); }
    // What it told the user on standard error.
    std::string Errors() const { return errors_.Text(); }

private:
    Mode mode_;
    WindowOptions windowOptions_;
    bool keepSettings_;
    TemporaryFile output_{L"in-process"};
    TemporaryFile errors_{L"in-process-errors"};
    HANDLE errorHandle_ = INVALID_HANDLE_VALUE;
    std::thread thread_;
    int status_ = -1;
    HWND window_ = NULL;
    HWND receiver_ = NULL;
};
