#include "loaded_dbgclient.h"

#include "child_process.h"

namespace {

const WORD DebugMessageOrdinal = 2;
const WORD LogMessageOrdinal = 3;
const WORD RegisterTaskOrdinal = 4;
const WORD StatisticMessageOrdinal = 5;
const WORD ErrorMessageOrdinal = 6;
const WORD SeparatorOrdinal = 7;
const WORD ClearTerminalOrdinal = 8;

template <typename Function>
bool Lookup(HMODULE module, ExportLookup lookup, const char* name, WORD ordinal, Function* function)
{
    FARPROC address = GetProcAddress(module, lookup == ExportLookup::ByName ? name : MAKEINTRESOURCEA(ordinal));
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    return *function != NULL;
}

}  // namespace

const wchar_t DbgClientFileName[] = L"VORNAKDBG32.dll";

std::string LookupName(ExportLookup lookup)
{
    return lookup == ExportLookup::ByName ? "ByName" : "ByOrdinal";
}

std::wstring DbgClientBesideProgram()
{
    return PathBesideProgram(DbgClientFileName);
}

HMODULE LoadDbgClientModule()
{
    return LoadLibraryW(DbgClientBesideProgram().c_str());
}

bool DbgClientStillLoaded()
{
    return GetModuleHandleW(DbgClientFileName) != NULL;
}

LoadedDbgClient::LoadedDbgClient(ExportLookup lookup, const std::wstring& path) : module_(LoadLibraryW(path.c_str()))
{
    if (module_ == NULL) {
        return;
    }
    DbgClientExports& e = exports_;
    bool found = Lookup(module_, lookup, "VornakDbg_Message", DebugMessageOrdinal, &e.debugMessage);
    found &= Lookup(module_, lookup, "VornakLog_Message", LogMessageOrdinal, &e.logMessage);
    found &= Lookup(module_, lookup, "VornakDbg_RegisterTask", RegisterTaskOrdinal, &e.registerTask);
    found &= Lookup(module_, lookup, "VornakStat_Message", StatisticMessageOrdinal, &e.statisticMessage);
    found &= Lookup(module_, lookup, "VornakError_Message", ErrorMessageOrdinal, &e.errorMessage);
    found &= Lookup(module_, lookup, "VornakDbg_Separator", SeparatorOrdinal, &e.separator);
    found &= Lookup(module_, lookup, "VornakDbg_ClearTerminal", ClearTerminalOrdinal, &e.clearTerminal);
    if (!found) {
        Unload();
    }
}

LoadedDbgClient::~LoadedDbgClient()
{
    Unload();
}

void LoadedDbgClient::Unload()
{
    if (module_ != NULL) {
        FreeLibrary(module_);
        module_ = NULL;
    }
    exports_ = DbgClientExports();
}
