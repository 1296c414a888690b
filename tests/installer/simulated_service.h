// Steering and inspecting the simulated network configuration service from a test.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"
#include "lock_holder_process.h"
#include "non_copyable.h"

// The simulator's test hooks, from netcfg_sim.dll beside the test. Loading it here also keeps it
// loaded for the whole test, so in-process checks see the same objects the code under test made.
struct SimulatorHooks {
    int (*LiveReferences)();
    int (*IsLockFree)();
    void (*ResetState)();
    int (*IsInstalled)(const wchar_t* componentId);
};
const SimulatorHooks& Simulator();

// The name under which another program holds the write lock in the tests.
const wchar_t OtherLockHolderName[] = L"Lock Holder Tool";
// How long it holds it at the most.
const DWORD OtherLockHolderMs = 60000;

// A fresh, empty journal file for one test; removed again by the destructor.
class JournalFile : private NonCopyable {
public:
    JournalFile();
    ~JournalFile();

    const std::wstring& Path() const { return path_; }
    std::vector<std::string> Lines() const;
    // The variables that make the simulator journal here and follow script.
    ChildEnvironment For(const std::wstring& script) const;

private:
    std::wstring path_;
};

// Makes this process's own simulator objects, from now on, journal and follow script.
void SteerThisProcess(const JournalFile& journal, const std::wstring& script);

// The system's text for code as FormatMessage gives it, "\r\n" kept; empty when it has none.
// Taken at run time, as the installer takes it: Wine's wording differs from Windows'.
std::string SystemText(unsigned long code);

// The error reporter's tail for code: "\n\nPossible cause:\n\n" and the system's text, "\r"
// removed, or nothing when the system has no text for it. Taken from the system at run time,
// since Wine's wording differs from Windows'.
std::string Cause(unsigned long code);
