#include "simulated_service.h"

#include <windows.h>

#include <fstream>

#include <gtest/gtest.h>

#include "netcfg_sim_steering.h"

namespace {

template <typename Function>
Function Hook(HMODULE module, const char* name)
{
    FARPROC address = GetProcAddress(module, name);
    if (address == NULL) {
        ADD_FAILURE() << "netcfg_sim.dll lacks " << name;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

SimulatorHooks LoadHooks()
{
    HMODULE module = LoadLibraryW((ProgramFolder() + L"netcfg_sim.dll").c_str());
    SimulatorHooks hooks = {};
    if (module == NULL) {
        ADD_FAILURE() << "netcfg_sim.dll not loaded: " << GetLastError();
        return hooks;
    }
    hooks.LiveReferences = Hook<int (*)()>(module, "NetCfgSim_LiveReferences");
    hooks.IsLockFree = Hook<int (*)()>(module, "NetCfgSim_IsLockFree");
    hooks.ResetState = Hook<void (*)()>(module, "NetCfgSim_ResetState");
    hooks.IsInstalled = Hook<int (*)(const wchar_t*)>(module, "NetCfgSim_IsInstalled");
    return hooks;
}

} // namespace

const SimulatorHooks& Simulator()
{
    static const SimulatorHooks hooks = LoadHooks();
    return hooks;
}

JournalFile::JournalFile()
{
    wchar_t folder[MAX_PATH];
    wchar_t file[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"jnl", 0, file);
    path_ = file;
}

JournalFile::~JournalFile()
{
    DeleteFileW(path_.c_str());
}

std::vector<std::string> JournalFile::Lines() const
{
    std::vector<std::string> lines;
    std::ifstream in(path_.c_str());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

ChildEnvironment JournalFile::For(const std::wstring& script) const
{
    return {{NetCfgSimJournalVariable, path_}, {NetCfgSimScriptVariable, script}};
}

void SteerThisProcess(const JournalFile& journal, const std::wstring& script)
{
    SetEnvironmentVariableW(NetCfgSimJournalVariable, journal.Path().c_str());
    SetEnvironmentVariableW(NetCfgSimScriptVariable, script.c_str());
}

std::string SystemText(unsigned long code)
{
    char* text = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  NULL, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&text), 0, NULL);
    std::string result = length > 0 && text != NULL ? std::string(text, length) : std::string();
    LocalFree(text);
    return result;
}

std::string Cause(unsigned long code)
{
    std::string text = SystemText(code);
    return text.empty() ? text : WithoutCarriageReturns("\n\nPossible cause:\n\n" + text);
}
