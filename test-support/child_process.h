// A program started as a child process, its standard streams on pipes or its output in a file.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "non_copyable.h"

// Extra environment variables for a child, on top of this process's own (replacing any of the same name).
using ChildEnvironment = std::vector<std::pair<std::wstring, std::wstring>>;

class ChildProcess : private NonCopyable {
public:
    ChildProcess() = default;
    // A child still running is ended (exit code 1) and waited for.
    ~ChildProcess();

    // Starts commandLine (its program quoted) with standard input and output on pipes; standard error
    // is this process's. False on failure, GetLastError() telling why.
    bool StartWithPipes(const std::wstring& commandLine, const ChildEnvironment& environment = {});
    // Starts commandLine with standard output written to outputPath and standard error to errorPath
    // (this process's when empty); standard input is this process's. False on failure, as above.
    bool StartWithOutputFile(const std::wstring& commandLine, const std::wstring& outputPath,
                             const std::wstring& errorPath = std::wstring());

    // Everything not yet read from its standard output, until it closes it; "\r" kept.
    std::string ReadAll();
    // Reads until the output so far holds marker, consuming up to its end. False if the output ends
    // first or, unless timeoutMs is INFINITE, nothing brings the marker within timeoutMs.
    bool ReadUntil(const std::string& marker, DWORD timeoutMs = INFINITE);
    // The next line of its output, without "\r\n"; false once the output ends before a whole line.
    bool ReadLine(std::string* line);
    // Ends its standard input: it reads end of file from then on.
    void CloseInput();
    // Closes its standard input and waits for it to end; its exit code, or STILL_ACTIVE after timeoutMs.
    DWORD Finish(DWORD timeoutMs = INFINITE);

    // Waits for it to end and gives its exit code; false after timeoutMs with it still running.
    bool Wait(DWORD timeoutMs, DWORD* exitCode);
    // Ends it with exitCode if still running and waits for the end.
    void Terminate(UINT exitCode);
    bool HasEnded() const;
    DWORD Id() const { return id_; }

private:
    bool ReadChunk();

    HANDLE process_ = NULL;
    DWORD id_ = 0;
    HANDLE input_ = NULL;
    HANDLE output_ = NULL;
    std::string pending_;
};

// How a child is started: its standard handles, passed as they are (NULL and INVALID_HANDLE_VALUE
// included), creation flags, working folder (empty: this process's) and extra environment.
struct LaunchSetting {
    HANDLE input = NULL;
    HANDLE output = NULL;
    HANDLE error = NULL;
    DWORD creationFlags = 0;
    std::wstring workingFolder;
    ChildEnvironment environment;
};

// Starts commandLine (its program quoted) as setting says, inheriting the inheritable handles; its
// process handle (*id, when given, its identity), or NULL with GetLastError() telling why.
HANDLE LaunchProcess(const std::wstring& commandLine, const LaunchSetting& setting, DWORD* id);

// The part of a command line after its program: what a harness passes on to the program it runs.
const wchar_t* CommandAfterProgram(const wchar_t* commandLine);

// What a program run to its end left behind.
struct ProgramRun {
    int exitCode = -1;   // -1 when it could not be started, or was still running after RunTimeoutMs and was ended
    std::string bytes;   // standard output exactly as written
    std::string output;  // standard output, "\r" removed
    std::string errors;  // standard error, "\r" removed (why it could not be started, when it could not)
};

// The longest a run may take: a program that waits for a click that never comes (a message box)
// fails its test instead of holding it up, and a busy machine still passes.
const DWORD RunTimeoutMs = 60000;

// Runs commandLine (its program quoted) to its end, with environment added to this process's
// own, its standard input an empty pipe and its standard output and error caught on pipes. Only
// the program itself is waited for: a program it starts may keep running.
ProgramRun RunProgram(const std::wstring& commandLine, const ChildEnvironment& environment = {});

// program and its arguments, each quoted, as one command line. Arguments in the tests hold no
// quotes or trailing backslashes; a plain pair of quotes does for them.
std::wstring QuotedCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments);

// The running program's own folder, with a trailing backslash.
std::wstring ProgramFolder();
// The full path of fileName in the running program's folder.
std::wstring PathBesideProgram(const std::wstring& fileName);
// text without any "\r".
std::string WithoutCarriageReturns(const std::string& text);
// The folder for temporary files, with a trailing backslash.
std::wstring TemporaryFolder();
// A wide text of ASCII characters as 8-bit text (what the tests compare output with).
std::string Narrow(const std::wstring& text);
