// netcfg-lock-holder <client-name> <milliseconds>
// Takes the network configuration write lock under client-name, says "holding" on standard
// output, and keeps the lock until standard input reaches its end or the milliseconds pass,
// whichever comes first. Tests use it as "another program holding the lock".
#include <windows.h>
#include <netcfgx.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>

#include "netcfg_sim_steering.h"

namespace {

const DWORD AcquireWaitMs = 1000;
const int ExitHeld = 0;
const int ExitNotTaken = 1;
const int ExitUsage = 2;
const wchar_t* const SteeringVariables[] = {NetCfgSimJournalVariable, NetCfgSimScriptVariable};

int Usage(const char* problem)
{
    std::fprintf(stderr,
                 "netcfg-lock-holder: %s\n"
                 "usage: netcfg-lock-holder <client-name> <milliseconds>\n",
                 problem);
    return ExitUsage;
}

bool ParseMilliseconds(const wchar_t* text, DWORD* milliseconds)
{
    if (*text == L'\0') {
        return false;
    }
    unsigned long long value = 0;
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c < L'0' || *c > L'9') {
            return false;
        }
        value = value * 10 + (*c - L'0');
        if (value > 0xFFFFFFFEull) {
            return false;
        }
    }
    *milliseconds = static_cast<DWORD>(value);
    return true;
}

// Reads standard input until it ends; the main thread waits for this thread to finish.
DWORD WINAPI DrainInput(LPVOID)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[256];
    DWORD read = 0;
    if (input == NULL || input == INVALID_HANDLE_VALUE) {
        return 0;
    }
    while (ReadFile(input, buffer, sizeof(buffer), &read, NULL) && read > 0) {
    }
    return 0;
}

int HoldLock(const wchar_t* clientName, DWORD milliseconds)
{
    INetCfg* config = NULL;
    INetCfgLock* lock = NULL;
    wchar_t* holder = NULL;
    int status = ExitNotTaken;

    HRESULT hr = CoCreateInstance(CLSID_CNetCfg, NULL, CLSCTX_INPROC_SERVER, IID_INetCfg,
                                  reinterpret_cast<void**>(&config));
    if (FAILED(hr)) {
        std::fprintf(stderr, "netcfg-lock-holder: cannot create the network configuration object (0x%08lx)\n",
                     static_cast<unsigned long>(hr));
    } else if (FAILED(hr = config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock)))) {
        std::fprintf(stderr, "netcfg-lock-holder: the object has no write lock interface (0x%08lx)\n",
                     static_cast<unsigned long>(hr));
    } else if ((hr = lock->AcquireWriteLock(AcquireWaitMs, clientName, &holder)) == S_FALSE) {
        std::fprintf(stderr, "netcfg-lock-holder: the write lock is held by \"%ls\"\n",
                     holder != NULL ? holder : L"");
    } else if (hr != S_OK) {
        std::fprintf(stderr, "netcfg-lock-holder: cannot take the write lock (0x%08lx)\n",
                     static_cast<unsigned long>(hr));
    } else {
        std::fputs("holding\n", stdout);
        std::fflush(stdout);
        HANDLE reader = CreateThread(NULL, 0, DrainInput, NULL, 0, NULL);
        if (reader == NULL) {
            Sleep(milliseconds);
        } else {
            WaitForSingleObject(reader, milliseconds);
            CloseHandle(reader);
        }
        lock->ReleaseWriteLock();
        status = ExitHeld;
    }

    if (holder != NULL) {
        CoTaskMemFree(holder);
    }
    if (lock != NULL) {
        lock->Release();
    }
    if (config != NULL) {
        config->Release();
    }
    return status;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    DWORD milliseconds = 0;
    if (argc != 3) {
        return Usage("expected exactly two arguments");
    }
    if (*argv[1] == L'\0') {
        return Usage("the client name is empty");
    }
    if (!ParseMilliseconds(argv[2], &milliseconds)) {
        return Usage("milliseconds must be a whole number below 4294967295");
    }
    // The holder is scenery for other programs' tests: it neither journals nor follows a script.
    for (const wchar_t* variable : SteeringVariables) {
        SetEnvironmentVariableW(variable, NULL);
    }

    HRESULT hr = CoInitialize(NULL);
    if (FAILED(hr)) {
        std::fprintf(stderr, "netcfg-lock-holder: cannot start COM (0x%08lx)\n",
                     static_cast<unsigned long>(hr));
        return ExitNotTaken;
    }
    int status = HoldLock(argv[1], milliseconds);
    CoUninitialize();
    return status;
}
