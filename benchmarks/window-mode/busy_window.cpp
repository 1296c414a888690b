#include "busy_window.h"

#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "dropped_file.h"
#include "terminal_settings.h"
#include "frame_class.h"
#include "line_text.h"
#include "standard_streams.h"
#include "terminal_resource_ids.h"
#include "terminal_window.h"
#include "vornakdbg32.h"
#include "window_pace.h"

namespace {

constexpr size_t LogLines = 2000000;
constexpr int Openings = 3;
constexpr double OpeningTargetSeconds = 10.0;
constexpr size_t KeptLines = 100000;
constexpr int FilterChanges = 20;
constexpr double CallRatioTarget = 1.1;
constexpr DWORD StartTimeoutMs = 20000;
constexpr wchar_t BenchSettingsKey[] = L"Software\\Vornak\\DebugTerminalBench";

double Seconds()
{
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MedianUs(std::vector<double> seconds)
{
    if (seconds.empty()) {
        return 0;
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2] * 1e6;
}

// A host thread calling while busy() says the window works (and at least `least` times): the
// time each call took.
std::vector<double> HostCallsWhile(const std::atomic<bool>& busy, size_t least)
{
    std::vector<double> calls;
    while (busy || calls.size() < least) {
        double began = Seconds();
        VornakDbg_Message("host line %u while the window works", static_cast<unsigned>(calls.size()));
        calls.push_back(Seconds() - began);
    }
    return calls;
}

double LogBytes(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return static_cast<double>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool WriteLog(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string chunk;
    bool ok = true;
    for (size_t i = 0; i < LogLines && ok; ++i) {
        ReceivedLine line;
        line.arrivalMsOfDay = static_cast<uint32_t>(i % 86400000);
        line.lineClass = i % 10 == 0 ? LineClass::Log : LineClass::Debug;
        // About 75 bytes a line, as a host's lines in the headless output are.
        line.text = "saved line " + std::to_string(i) + " of the soak run, worker 3 progress\n";
        chunk += FormatOutputLine(line);
        if (chunk.size() > (1 << 20) || i + 1 == LogLines) {
            DWORD written = 0;
            ok = WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &written, NULL) &&
                 written == chunk.size();
            chunk.clear();
        }
    }
    CloseHandle(file);
    return ok;
}

// Types a new filter into the quick filter box and has it applied; returns once it is.
void ApplyFilter(HWND frame, const wchar_t* text)
{
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), text);
    SendMessageW(frame, WM_TIMER, QuickFilterTimerId, 0);  // at once, not after the typing pause
}

std::wstring StatusText(HWND frame)
{
    wchar_t text[1024] = L"";
    HWND status = GetDlgItem(frame, STATUS_CONTROL);
    if (LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, 0, 0)) < 1024) {
        SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    }
    return text;
}

// Drops the log on the window and waits until the window says its read has ended: the seconds
// that took, or a negative number when it did not end within a minute.
double OpenAndWait(HWND frame, const std::wstring& path)
{
    double began = Seconds();
    DropFileOn(frame, path);
    for (int waited = 0; waited < 6000; ++waited) {
        if (StatusText(frame).find(L"; reading ") == std::wstring::npos) {
            return Seconds() - began;
        }
        Sleep(10);
    }
    return -1;
}

void PrintRow(const char* what, double idleUs, double busyUs, size_t calls)
{
    double ratio = busyUs / idleUs;
    printf("  %-44s %8.1f us (%zu calls)   ratio %.2f (target <= %.1f: %s)\n", what, busyUs, calls, ratio,
           CallRatioTarget, ratio <= CallRatioTarget ? "met" : "NOT met");
}

} // namespace

bool MeasureHostWhileWindowWorks()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring logPath = std::wstring(folder) + L"window-mode-bench.log";
    if (!WriteLog(logPath)) {
        fprintf(stderr, "window-mode-bench: cannot write %ls\n", logPath.c_str());
        return false;
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, BenchSettingsKey);
    WindowOptions options;
    options.settingsKey = BenchSettingsKey;
    StandardStreams streams;
    std::thread window([&] { RunTerminalWindow(GetModuleHandleW(NULL), SW_HIDE, streams, options); });
    HWND frame = NULL;
    for (DWORD waited = 0; waited < StartTimeoutMs && frame == NULL; waited += 10) {
        Sleep(10);
        frame = FindWindowW(TerminalFrameClass, NULL);
    }
    bool ok = frame != NULL;
    if (ok) {
        std::atomic<bool> busy{false};
        for (size_t i = 0; i < KeptLines; ++i) {
            VornakDbg_Message("kept line %u of the live view", static_cast<unsigned>(i));
        }
        SendMessageW(frame, WM_NULL, 0, 0);
        Sleep(500);  // the last lines stored
        std::vector<double> idle = HostCallsWhile(busy, 2000);

        busy = true;
        std::vector<double> openSeconds;
        std::thread opener([&] {
            for (int i = 0; i < Openings; ++i) {
                openSeconds.push_back(OpenAndWait(frame, logPath));
            }
            busy = false;
        });
        std::vector<double> opening = HostCallsWhile(busy, 0);
        opener.join();
        std::sort(openSeconds.begin(), openSeconds.end());
        double openMedian = openSeconds[openSeconds.size() / 2];

        busy = true;
        std::thread filterer([&] {
            for (int i = 0; i < FilterChanges; ++i) {
                ApplyFilter(frame, i % 2 == 0 ? L"line 1" : L"line 2");
            }
            busy = false;
        });
        std::vector<double> filtering = HostCallsWhile(busy, 0);
        filterer.join();

        double idleUs = MedianUs(idle);
        printf("Opening a %zu-line log of the headless form (%.0f MB) into a history of %zu lines, %d runs\n",
               LogLines, LogBytes(logPath) / 1e6, DefaultHistoryLines, Openings);
        printf("  median %.2f s (runs:", openMedian);
        for (double s : openSeconds) {
            printf(" %.2f", s);
        }
        printf(")   target < %.0f s: %s\n", OpeningTargetSeconds,
               openMedian >= 0 && openMedian < OpeningTargetSeconds ? "met" : "NOT met");
        printf("A host's median call while the window works (the window in this process; %zu lines kept)\n",
               KeptLines);
        printf("  %-44s %8.1f us (%zu calls)\n", "window idle", idleUs, idle.size());
        PrintRow("window opening a 2,000,000-line log", idleUs, MedianUs(opening), opening.size());
        PrintRow("window applying a new filter, 20 times", idleUs, MedianUs(filtering), filtering.size());
        PostMessageW(frame, WM_CLOSE, 0, 0);
    } else {
        fprintf(stderr, "window-mode-bench: the window did not start\n");
    }
    window.join();
    RegDeleteTreeW(HKEY_CURRENT_USER, BenchSettingsKey);
    DeleteFileW(logPath.c_str());
    return ok;
}
