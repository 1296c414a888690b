#include "helper_process.h"

#include <stdio.h>

#include "bench_names.h"

bool HelperProcess::Start(const wchar_t* program, const std::wstring& arguments, std::string* error)
{
    if (!process_.StartWithPipes(L"\"" + PathBesideProgram(program) + L"\" " + arguments)) {
        *error = "cannot start the helper (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    std::string line;
    if (!process_.ReadLine(&line) || line != HelperReadyLine) {
        *error = "the helper ended before it was ready";
        return false;
    }
    return true;
}

bool HelperProcess::Finish(LineTally* tally, unsigned long long* rejected, std::string* error)
{
    std::string line;
    bool read = process_.ReadLine(&line);
    DWORD exitCode = 1;
    process_.Wait(INFINITE, &exitCode);
    if (!read || sscanf(line.c_str(), HelperReportFormat, &tally->lines, &tally->bytes, &tally->digest,
                        rejected) != 4) {
        *error = "the helper's report is missing or malformed";
        return false;
    }
    if (exitCode != 0) {
        *error = "the helper ended with status " + std::to_string(exitCode);
        return false;
    }
    return true;
}
