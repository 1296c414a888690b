// window-mode-bench: what the viewer's features cost the window mode, against their targets:
//   - lines/s from four host threads into vornak-terminal.exe with 10 exclude and highlight rules,
//     beside bench-receiver (a terminal that only reads each line's atom): at least 0.97 of it;
//   - applying a new filter (10 rules) to 100,000 kept lines, as the window does: under 0.3 s;
//   - the window's memory (private bytes, working set) with 100,000 lines kept: under 100 MB;
//   - lines/s into the window logging every line to a file (--log) against the window alone: at
//     least 0.95 of it;
//   - opening a 2,000,000-line log of the headless form (about 150 MB), until the read has ended:
//     under 10 s; a host's median call meanwhile, and while the window applies a new filter to
//     100,000 kept lines: at most 1.1 times the same call with the window idle;
//   - lines/s into the headless terminal capturing OutputDebugString (--capture-ods) while a
//     writer calls OutputDebugStringA without pause, against the terminal not capturing beside the
//     same writer: at least 0.95 of it.
// A program that prints figures; it fails only when it cannot measure, never on a figure.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bench_rules.h"
#include "busy_window.h"
#include "file_bytes.h"
#include "line_encoding.h"
#include "line_rules.h"
#include "line_store.h"
#include "rule_file.h"
#include "timing.h"
#include "vornak_terminal_protocol.h"
#include "vornakdbg32.h"

namespace {

constexpr int Threads = 4;
constexpr int LinesPerRound = 4000;  // split over the threads
constexpr int Rounds = 7;
constexpr size_t KeptLines = 100000;
constexpr double RatioTarget = 0.97;
constexpr double LogRatioTarget = 0.95;
constexpr double CaptureRatioTarget = 0.95;
constexpr double FilterTargetSeconds = 0.3;
constexpr double MemoryTargetMb = 100.0;
constexpr DWORD StartTimeoutMs = 60000;

std::string LineText(int thread, int line)
{
    return "Bench worker " + std::to_string(thread) + " : line " + std::to_string(line) + " of thread " +
           std::to_string(thread);
}

std::wstring BesideThisProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L"\\/") + 1) + name;
}

struct Started {
    PROCESS_INFORMATION process = {};
    bool ok = false;
};

// Starts a receiver and waits until its window is there.
Started Start(const std::wstring& program, const std::wstring& arguments)
{
    Started started;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    // The receiver's report is not wanted here: its standard streams go nowhere.
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), NULL, TRUE};
    HANDLE nowhere = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                 OPEN_EXISTING, 0, NULL);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    startup.hStdInput = nowhere;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    BOOL created = CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                                  &started.process);
    CloseHandle(nowhere);
    if (!created) {
        fprintf(stderr, "window-mode-bench: cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return started;
    }
    for (DWORD waited = 0; waited < StartTimeoutMs; waited += 20) {
        HWND window = FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
        DWORD owner = 0;
        if (window != NULL) {
            GetWindowThreadProcessId(window, &owner);
        }
        if (owner == started.process.dwProcessId) {
            // Once it answers, it handles lines.
            DWORD_PTR reply = 0;
            started.ok = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &reply) != 0;
            return started;
        }
        Sleep(20);
    }
    fprintf(stderr, "window-mode-bench: %ls did not open its window\n", program.c_str());
    return started;
}

void Stop(Started& started)
{
    HWND window = FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
    if (window != NULL) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(started.process.hProcess, 30000);
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
}

// Lines per second from Threads threads, count lines in all, starting at line first.
double SendRound(int first, int count)
{
    std::vector<std::thread> threads;
    HANDLE go = CreateEventW(NULL, TRUE, FALSE, NULL);
    double began = 0;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([t, first, count, go] {
            std::vector<std::string> texts;
            for (int i = 0; i < count / Threads; ++i) {
                texts.push_back(LineText(t, first + i));
            }
            WaitForSingleObject(go, INFINITE);
            for (const std::string& text : texts) {
                VornakDbg_Message("%s", text.c_str());
            }
        });
    }
    Sleep(50);
    began = Now();
    SetEvent(go);
    for (std::thread& thread : threads) {
        thread.join();
    }
    double seconds = Now() - began;
    CloseHandle(go);
    return count / seconds;
}

const char* Verdict(bool met)
{
    return met ? "met" : "NOT met";
}

// Lines/s into a receiver started afresh: a warming round, then the measured one.
bool RoundRate(const wchar_t* program, const std::wstring& arguments, double* rate)
{
    Started receiver = Start(BesideThisProgram(program), arguments);
    if (!receiver.ok) {
        return false;
    }
    SendRound(0, LinesPerRound / 4);  // the library finds the window, the receiver settles
    *rate = SendRound(0, LinesPerRound);
    Stop(receiver);
    return true;
}

// Rounds in turn: the bare receiver, the window without rules (the control), the window with the
// rules; the medians of the rounds' ratios.
bool MeasureThroughput(const std::wstring& rulesPath, const std::wstring& noRulesPath)
{
    std::vector<double> bare;
    std::vector<double> plain;
    std::vector<double> ruled;
    std::vector<double> plainRatios;
    std::vector<double> ruledRatios;
    for (int round = 0; round < Rounds; ++round) {
        double rates[3];
        if (!RoundRate(L"bench-receiver.exe", L"", &rates[0]) ||
            !RoundRate(L"vornak-terminal.exe", L"--rules \"" + noRulesPath + L"\"", &rates[1]) ||
            !RoundRate(L"vornak-terminal.exe", L"--rules \"" + rulesPath + L"\"", &rates[2])) {
            return false;
        }
        bare.push_back(rates[0]);
        plain.push_back(rates[1]);
        ruled.push_back(rates[2]);
        plainRatios.push_back(rates[1] / rates[0]);
        ruledRatios.push_back(rates[2] / rates[0]);
    }
    double ratio = Median(ruledRatios);
    printf("Lines/s from %d host threads (%d rounds of %d lines, the receivers in turn; medians)\n", Threads, Rounds,
           LinesPerRound);
    printf("  bare receiver %8.0f\n", Median(bare));
    printf("  window, no rules %8.0f   ratio %.3f\n", Median(plain), Median(plainRatios));
    printf("  window, 10 exclude and highlight rules %8.0f   ratio %.3f (target >= %.2f: %s)\n", Median(ruled), ratio,
           RatioTarget, Verdict(ratio >= RatioTarget));
    return true;
}

// Rounds in turn: the window alone, then the window logging every line to a file (--log); the
// median of the rounds' ratios.
bool MeasureLogToFile(const std::wstring& noRulesPath)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring logPath = std::wstring(folder) + L"window-mode-bench-logged.txt";
    std::vector<double> alone;
    std::vector<double> logging;
    std::vector<double> ratios;
    for (int round = 0; round < Rounds; ++round) {
        DeleteFileW(logPath.c_str());
        double rates[2];
        if (!RoundRate(L"vornak-terminal.exe", L"--rules \"" + noRulesPath + L"\"", &rates[0]) ||
            !RoundRate(L"vornak-terminal.exe", L"--rules \"" + noRulesPath + L"\" --log \"" + logPath + L"\"",
                       &rates[1])) {
            return false;
        }
        alone.push_back(rates[0]);
        logging.push_back(rates[1]);
        ratios.push_back(rates[1] / rates[0]);
    }
    DeleteFileW(logPath.c_str());
    double ratio = Median(ratios);
    printf("Lines/s from %d host threads into the window, alone and logging to a file (%d rounds; medians)\n",
           Threads, Rounds);
    printf("  window alone %8.0f\n", Median(alone));
    printf("  window logging to a file %8.0f   ratio %.3f (target >= %.2f: %s)\n", Median(logging), ratio,
           LogRatioTarget, Verdict(ratio >= LogRatioTarget));
    return true;
}

// A program of the session that writes debug output without pause, until it is destroyed.
class BusyDebugWriter {
public:
    BusyDebugWriter()
        : thread_([this] {
              for (unsigned i = 0; !stop_; ++i) {
                  char line[64];
                  snprintf(line, sizeof(line), "busy writer line %u beside the library's lines\n", i);
                  OutputDebugStringA(line);
              }
          })
    {
    }
    ~BusyDebugWriter()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Rounds in turn, each with a busy debug-output writer: the headless terminal not capturing, then
// capturing its output too; the median of the rounds' ratios.
bool MeasureCaptureBeside()
{
    std::vector<double> plain;
    std::vector<double> capturing;
    std::vector<double> ratios;
    for (int round = 0; round < Rounds; ++round) {
        BusyDebugWriter writer;
        double rates[2];
        if (!RoundRate(L"vornak-terminal.exe", L"--headless", &rates[0]) ||
            !RoundRate(L"vornak-terminal.exe", L"--headless --capture-ods", &rates[1])) {
            return false;
        }
        plain.push_back(rates[0]);
        capturing.push_back(rates[1]);
        ratios.push_back(rates[1] / rates[0]);
    }
    double ratio = Median(ratios);
    printf("Lines/s from %d host threads into the headless terminal beside a busy OutputDebugStringA writer (%d "
           "rounds; medians)\n",
           Threads, Rounds);
    printf("  not capturing %8.0f\n", Median(plain));
    printf("  capturing OutputDebugString too %8.0f   ratio %.3f (target >= %.2f: %s)\n", Median(capturing), ratio,
           CaptureRatioTarget, Verdict(ratio >= CaptureRatioTarget));
    return true;
}

// The window's store of 100,000 lines, and a new filter applied to it as the window applies one.
bool MeasureFilter()
{
    LineEncoding encoding = SystemLineEncoding();
    std::vector<Rule> rules;
    std::string error;
    RuleSet ruleSet;
    if (!ParseRuleText(std::string(BenchRules) + NewFilterRule, &rules, &error) ||
        !ruleSet.Compile(rules, encoding, &error)) {
        fprintf(stderr, "window-mode-bench: the rules do not compile: %s\n", error.c_str());
        return false;
    }
    LineStore store(KeptLines, KeptLines / 10);
    for (size_t i = 0; i < KeptLines; ++i) {
        ReceivedLine line;
        line.lineClass = i % 10 == 0 ? LineClass::Log : (i % 17 == 0 ? LineClass::Error : LineClass::Debug);
        line.text = LineText(static_cast<int>(i % Threads), static_cast<int>(i)) + "\n";
        store.Append(std::move(line));
    }
    std::vector<double> seconds;
    for (int run = 0; run < 5; ++run) {
        double began = Now();
        store.SetJudge([&ruleSet](const StoredLine& line) { return ruleSet.Mark(line); });
        seconds.push_back(Now() - began);
        store.SetJudge(nullptr);
    }
    store.SetJudge([&ruleSet](const StoredLine& line) { return ruleSet.Mark(line); });
    double median = Median(seconds);
    printf("Applying a new filter (11 rules) to %zu kept lines: %.3f s (median of 5; %zu lines shown after it)"
           " (target < %.1f s: %s)\n",
           KeptLines, median, store.ShownCount(), FilterTargetSeconds, Verdict(median < FilterTargetSeconds));
    return true;
}

// The window program with 100,000 lines kept (sent through the rules, none of them excluded).
bool MeasureMemory()
{
    Started terminal = Start(BesideThisProgram(L"vornak-terminal.exe"), L"");
    if (!terminal.ok) {
        return false;
    }
    PROCESS_MEMORY_COUNTERS_EX before = {};
    GetProcessMemoryInfo(terminal.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before),
                         sizeof(before));
    for (size_t sent = 0; sent < KeptLines; sent += LinesPerRound * 5) {
        SendRound(static_cast<int>(sent), LinesPerRound * 5);
    }
    Sleep(1000);  // the window takes the last lines in on its timer
    PROCESS_MEMORY_COUNTERS_EX after = {};
    bool read = GetProcessMemoryInfo(terminal.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after),
                                     sizeof(after)) != FALSE;
    Stop(terminal);
    if (!read) {
        fprintf(stderr, "window-mode-bench: cannot read the window's memory (error %lu)\n", GetLastError());
        return false;
    }
    double mb = 1024.0 * 1024.0;
    // Wine reports no private bytes for another process; the commit charge stands in for them.
    double privateMb = (after.PrivateUsage != 0 ? after.PrivateUsage : after.PagefileUsage) / mb;
    double privateBeforeMb = (before.PrivateUsage != 0 ? before.PrivateUsage : before.PagefileUsage) / mb;
    const char* privateName = after.PrivateUsage != 0 ? "private bytes" : "commit charge (no private bytes reported)";
    printf("Window program with %zu lines of about 40 characters kept:\n", KeptLines);
    printf("  %s %.1f MB (%.1f MB before the lines)\n", privateName, privateMb, privateBeforeMb);
    printf("  working set %.1f MB (%.1f MB before)\n", after.WorkingSetSize / mb, before.WorkingSetSize / mb);
    bool met = privateMb < MemoryTargetMb && after.WorkingSetSize / mb < MemoryTargetMb;
    printf("  target < %.0f MB: %s%s\n", MemoryTargetMb, Verdict(met),
           privateMb == 0 ? " (working set only: nothing else was reported)" : "");
    return true;
}

} // namespace

// "window-mode-bench capture" measures the capture figure alone.
int main(int argc, char** argv)
{
    if (FindWindowA(VORNAK_TERMINAL_CLASS, NULL) != NULL) {
        fprintf(stderr, "window-mode-bench: a debug terminal is running; close it first\n");
        return 1;
    }
    if (argc > 1 && std::string(argv[1]) == "capture") {
        return MeasureCaptureBeside() ? 0 : 1;
    }
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring rulesPath = std::wstring(folder) + L"window-mode-bench.rules";
    std::wstring noRulesPath = std::wstring(folder) + L"window-mode-bench-none.rules";
    if (!WriteFileBytes(rulesPath, BenchRules) || !WriteFileBytes(noRulesPath, "")) {
        fprintf(stderr, "window-mode-bench: cannot write %ls\n", rulesPath.c_str());
        return 1;
    }
    bool ok = MeasureFilter() && MeasureThroughput(rulesPath, noRulesPath) && MeasureLogToFile(noRulesPath) &&
              MeasureMemory() && MeasureHostWhileWindowWorks() && MeasureCaptureBeside();
    DeleteFileW(rulesPath.c_str());
    DeleteFileW(noRulesPath.c_str());
    return ok ? 0 : 1;
}
