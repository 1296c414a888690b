#include "loaded_dbgclient.h"

#include "child_process.h"

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
    if (!BindDbgClientExports(module_, lookup, &exports_, NULL)) {
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
