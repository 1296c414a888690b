#include "loaded_dbgclient.h"

#include "child_process.h"

namespace {

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
    // Each export by its name or its ordinal, as the library's .def file fixes them.
    DbgClientExports& e = exports_;
    bool found = Lookup(module_, lookup, "VornakDbg_Message", 2, &e.debugMessage);
    found &= Lookup(module_, lookup, "VornakLog_Message", 3, &e.logMessage);
    found &= Lookup(module_, lookup, "VornakDbg_RegisterTask", 4, &e.registerTask);
    found &= Lookup(module_, lookup, "VornakStat_Message", 5, &e.statisticMessage);
    found &= Lookup(module_, lookup, "VornakError_Message", 6, &e.errorMessage);
    found &= Lookup(module_, lookup, "VornakDbg_Separator", 7, &e.separator);
    found &= Lookup(module_, lookup, "VornakDbg_ClearTerminal", 8, &e.clearTerminal);
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
