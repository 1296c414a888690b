// dbgclient-script-host: a host process whose calls its command line names, for tests that need
// a process of its own (started in another code page, or ending with the library still loaded).
// It runs a recording terminal on a thread of its own, loads the library beside it and writes
// "code page N", then carries out each argument in turn:
//   task=TEXT    VornakDbg_RegisterTask with TEXT in the ANSI code page
//   format=TEXT  VornakDbg_Message with TEXT, in the ANSI code page, as the format
//   value=TEXT   VornakDbg_Message("%ls", TEXT)
//   wide=TEXT    VornakDbg_Message("%ls|%S|%ws|%lc|%C", TEXT, TEXT, TEXT, TEXT[0], TEXT[1])
//   watch-heap   from now on writes "HeapFree" each time the library gives memory back to the heap
//   exit         ends the process at once (ExitProcess), the library still loaded
// then unloads the library, stops the terminal and writes what it saw, one record a line. Any
// status but 0 is written as "status N", and ends the run with exit code 1.
#include <windows.h>
#include <wchar.h>

#include <string>

#include "import_patch.h"
#include "loaded_dbgclient.h"
#include "recording_terminal.h"

namespace {

// Every wide conversion. Not a literal: GCC's ms_printf check does not know "%ws".
const std::string WideFormat = "%ls|%S|%ws|%lc|%C";

typedef BOOL(WINAPI* HeapFreeFunction)(HANDLE heap, DWORD flags, LPVOID block);
HeapFreeFunction SystemHeapFree = NULL;

// Straight to the handle: nothing waits in a buffer when the process ends at once.
void Write(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, NULL);
}

BOOL WINAPI RecordingHeapFree(HANDLE heap, DWORD flags, LPVOID block)
{
    Write("HeapFree\n");
    return SystemHeapFree(heap, flags, block);
}

std::string InAnsiCodePage(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    if (size <= 0) {
        return std::string();
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &bytes[0], size, NULL, NULL);
    bytes.resize(static_cast<size_t>(size) - 1);
    return bytes;
}

// The status of one call, or -1 for an argument this program does not know.
int Run(const LoadedDbgClient& dbg, const std::wstring& argument)
{
    size_t equals = argument.find(L'=');
    std::wstring verb = argument.substr(0, equals);
    std::wstring text = equals == std::wstring::npos ? std::wstring() : argument.substr(equals + 1);
    if (verb == L"task") {
        return dbg->registerTask(InAnsiCodePage(text).c_str());
    }
    if (verb == L"format") {
        return dbg->debugMessage(InAnsiCodePage(text).c_str());
    }
    if (verb == L"value") {
        return dbg->debugMessage("%ls", text.c_str());
    }
    if (verb == L"wide" && text.size() >= 2) {
        return dbg->debugMessage(WideFormat.c_str(), text.c_str(), text.c_str(), text.c_str(),
                                 static_cast<wint_t>(text[0]), static_cast<wint_t>(text[1]));
    }
    if (verb == L"watch-heap") {
        SystemHeapFree = reinterpret_cast<HeapFreeFunction>(
            PatchModuleImport(dbg.Module(), "HeapFree", reinterpret_cast<void*>(RecordingHeapFree)));
        return SystemHeapFree != NULL ? 0 : -1;
    }
    if (verb == L"exit") {
        ExitProcess(0);
    }
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    RecordingTerminal terminal;
    LoadedDbgClient dbg;
    if (!terminal.Start() || !dbg.Loaded()) {
        Write("no terminal or no library\n");
        return 1;
    }
    Write("code page " + std::to_string(GetACP()) + "\n");
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        int status = Run(dbg, argv[i]);
        if (status != 0) {
            Write("status " + std::to_string(status) + "\n");
            failed = 1;
        }
    }
    dbg.Unload();
    terminal.Stop();
    for (const TerminalRecord& record : terminal.Records()) {
        Write(FormatRecord(record) + "\n");
    }
    return failed;
}
