#include "library_binding.h"

#include "program_path.h"
#include "sender_texts.h"

namespace {

// The full path of the library beside this program; empty when this program's own path cannot
// be had whole.
std::wstring LibraryPathBesideProgram()
{
    std::wstring path = OwnProgramFolder();
    if (path.empty()) {
        return path;
    }
    for (const char* c = LibraryFileName; *c != '\0'; ++c) {
        path.push_back(static_cast<wchar_t>(*c));
    }
    return path;
}

// Text for messages: path in the ANSI code page, with '?' for what it cannot hold.
std::string ForMessage(const std::wstring& path)
{
    int size = WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), NULL, 0, "?", NULL);
    std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), &text[0], size, "?", NULL);
    }
    return text;
}

} // namespace

bool BindLibrary(LibraryBinding* binding, std::string* why)
{
    LibraryBinding bound;
    std::wstring path = LibraryPathBesideProgram();
    if (path.empty()) {
        *why = CannotLoadFromUnknownFolder(LibraryFileName, GetLastError());
        return false;
    }
    // What the library itself imports comes from its own folder and the system's.
    bound.module = LoadLibraryExW(path.c_str(), NULL, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (bound.module == NULL) {
        *why = CannotLoad(LibraryFileName, ForMessage(path), GetLastError());
        return false;
    }
    const char* missing = NULL;
    if (!BindDbgClientExports(bound.module, ExportLookup::ByName, &bound, &missing)) {
        *why = HasNoExport(LibraryFileName, missing);
        FreeLibrary(bound.module);
        return false;
    }
    *binding = bound;
    return true;
}

void UnbindLibrary(LibraryBinding* binding)
{
    if (binding->module != NULL) {
        FreeLibrary(binding->module);
    }
    *binding = LibraryBinding();
}
