// Starting the programs under test as processes of their own, with their output caught in files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The full path of a program beside the running test executable.
std::wstring ProgramBesideTests(const wchar_t* fileName);

// A fresh file name in the temporary folder; the file is deleted with the object.
class TemporaryFile {
public:
    explicit TemporaryFile(const wchar_t* prefix);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return path_; }
    // The file's bytes, "\r" removed; empty when it does not exist.
    std::string Text() const;
    bool Exists() const;

private:
    std::wstring path_;
};

// The file's lines, without their "\n" (and without "\r").
std::vector<std::string> SplitLines(const std::string& text);

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program with arguments (each quoted), its standard output and error caught.
    bool Start(const std::wstring& program, const std::vector<std::wstring>& arguments);
    // Waits for the end; returns the exit status, or -1 after timeoutMs (the process is then ended).
    int Wait(DWORD timeoutMs);
    bool HasEnded() const;
    DWORD ProcessId() const { return process_.dwProcessId; }
    std::string Output() const { return output_.Text(); }
    std::string Errors() const { return errors_.Text(); }

private:
    PROCESS_INFORMATION process_ = {};
    TemporaryFile output_{L"out"};
    TemporaryFile errors_{L"err"};
};

// Runs a program to its end (at most 60 s) and returns its exit status.
int RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments,
               std::string* errors = nullptr, std::string* output = nullptr);
