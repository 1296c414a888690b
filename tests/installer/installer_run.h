// A fixture that runs the real VrkQuelmor.exe against the simulated service.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "simulated_service.h"

// Codes the tests inject and expect.
const unsigned long E_Unspecified = 0x80004005;
const unsigned long E_Denied = 0x80070005;
const unsigned long Cancelled = 0x800704C7;
const unsigned long RebootNeeded = 0x0004A020;
const unsigned long NoWriteLock = 0x8004A024;

class InstallerRun : public ::testing::Test {
protected:
    void SetUp() override { StartOver(); }
    // A clean service state and a new, empty journal.
    void StartOver();

    // Runs VrkQuelmor.exe with arguments (program path included by this call) and the script.
    ProgramRun Run(const std::wstring& arguments, const std::wstring& script = L"");
    // The same for another program beside the test.
    ProgramRun RunNamed(const std::wstring& program, const std::wstring& arguments, const std::wstring& script);
    // Installs the component with a clean run, then starts a new journal for the test proper.
    void InstallBeforehand();

    std::vector<std::string> Calls() const { return journal_->Lines(); }

private:
    std::unique_ptr<JournalFile> journal_;
};

// The progress lines of each command, written out; the INF lies beside the test.
std::string InstallProgress();
std::string UninstallProgress();

// The failure texts of the steps, as the installer writes them.
const char NoNotifyObjectOnInstall[] = "Couldn't the get notify object interface.";
const char NoNotifyObjectOnUninstall[] = "Couldn't get the notify object interface.";
const char ComponentNotInstalled[] = "Couldn't install the network component.";
// "Error 0x8007000e: ", as the installer writes a code before its text.
std::string ErrorCode(unsigned long code);
// An install that failed at step: the step's error, then the command's, each with its cause.
std::string InstallFailedAt(unsigned long code, const std::string& step);

// The journal's closing line when nothing leaked and the lock was given back.
const char CleanEnd[] = "end: references=0 lock=free";
