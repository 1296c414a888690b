// VORNAKDBG32.dll as a host that loads it at run time sees it: loaded with LoadLibrary from a
// path (beside the running program unless another is named), its exports looked up by name or
// by ordinal. Tests and the benchmark use it; a copy under another file name is a module of its
// own, with a task list of its own.
#pragma once

#include <windows.h>

#include <string>

#include "dbgclient_binding.h"
#include "non_copyable.h"

// Names GoogleTest's parameterised cases.
std::string LookupName(ExportLookup lookup);

// The library's file name, and its path beside the running program.
extern const wchar_t DbgClientFileName[];
std::wstring DbgClientBesideProgram();

// Loads the library; Unload (or the destructor) frees it. Loaded() is false, with nothing left
// loaded, when the file or one of the seven exports is missing.
class LoadedDbgClient : private NonCopyable {
public:
    explicit LoadedDbgClient(ExportLookup lookup = ExportLookup::ByName,
                             const std::wstring& path = DbgClientBesideProgram());
    ~LoadedDbgClient();

    bool Loaded() const { return module_ != NULL; }
    HMODULE Module() const { return module_; }
    const DbgClientExports& operator*() const { return exports_; }
    const DbgClientExports* operator->() const { return &exports_; }
    void Unload();

private:
    HMODULE module_;
    DbgClientExports exports_;
};

// The bare load, for a test that expects it to fail.
HMODULE LoadDbgClientModule();

// Whether any module of the library's name is still mapped in this process.
bool DbgClientStillLoaded();
