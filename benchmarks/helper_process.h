// A helper program of the benchmark running as a process of its own: started with its standard
// output on a pipe, ready once it has written its ready line, and read for its report once the
// caller has asked it to stop.
#pragma once

#include <windows.h>

#include <string>

#include "child_process.h"
#include "line_digest.h"

class HelperProcess {
public:
    // Starts program (a file beside this program) with arguments and waits for its ready line.
    bool Start(const wchar_t* program, const std::wstring& arguments, std::string* error);
    DWORD Id() const { return process_.Id(); }

    // Reads the report the helper writes when asked to stop, and waits for it to end.
    bool Finish(LineTally* tally, unsigned long long* rejected, std::string* error);

private:
    ChildProcess process_;
};
