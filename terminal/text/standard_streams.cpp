#include "standard_streams.h"

#include <stdlib.h>

#include "terminal_texts.h"
#include "user_messages.h"
#include "wide_text.h"

namespace {

// A console write's size at most: older consoles refuse much larger ones.
constexpr DWORD ConsoleChunkCharacters = 8192;

HANDLE UsableHandle(HANDLE handle)
{
    if (handle == NULL || handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_UNKNOWN) {
        return NULL;
    }
    return handle;
}

HANDLE OpenConsoleOutput()
{
    HANDLE handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                NULL, OPEN_EXISTING, 0, NULL);
    return handle == INVALID_HANDLE_VALUE ? NULL : handle;
}

} // namespace

StandardStreams OpenStandardStreams(bool joinConsole)
{
    StandardStreams streams;
    // Taken before joining a console: joining may replace them, and a redirection wins.
    streams.output = UsableHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    streams.error = UsableHandle(GetStdHandle(STD_ERROR_HANDLE));
    // Refused as "access denied" when the process has a console already: joined all the same.
    if (joinConsole && (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED)) {
        streams.joinedConsole = true;
        if (streams.output == NULL) {
            streams.output = OpenConsoleOutput();
        }
        if (streams.error == NULL) {
            streams.error = OpenConsoleOutput();
        }
    }
    return streams;
}

StandardStreams ConsoleStandardStreams()
{
    StandardStreams streams;
    streams.output = UsableHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    streams.error = UsableHandle(GetStdHandle(STD_ERROR_HANDLE));
    streams.joinedConsole = true;
    return streams;
}

void KeepDialogsAway()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // The run-time shows its messages (abort's among them) in a message box in a window program.
    _set_error_mode(_OUT_TO_STDERR);
}

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != NULL && GetConsoleMode(handle, &mode) != FALSE;
}

bool WriteConsoleText(HANDLE console, std::string_view text, unsigned codePage)
{
    std::wstring wide = CodePageToWide(text, codePage);
    const wchar_t* at = wide.data();
    size_t left = wide.size();
    while (left > 0) {
        DWORD chunk = left > ConsoleChunkCharacters ? ConsoleChunkCharacters : static_cast<DWORD>(left);
        if (chunk < left && IS_HIGH_SURROGATE(at[chunk - 1])) {
            --chunk;  // a pair goes whole
        }
        DWORD written = 0;
        if (!WriteConsoleW(console, at, chunk, &written, NULL) || written == 0) {
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

bool WriteAll(HANDLE handle, const char* text, size_t length, unsigned consoleCodePage)
{
    if (handle == NULL) {
        return false;
    }
    if (IsConsole(handle)) {
        return WriteConsoleText(handle, std::string_view(text, length), consoleCodePage);
    }
    while (length > 0) {
        DWORD chunk = length > 0x10000000 ? 0x10000000 : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(handle, text, chunk, &written, NULL) || written == 0) {
            return false;
        }
        text += written;
        length -= written;
    }
    return true;
}

void TellUser(const StandardStreams& streams, const std::string& text)
{
    std::string line = TerminalMessagePrefix + text + "\n";
    if (!WriteUserMessage(streams.error, line) && streams.dialogsAllowed) {
        MessageBoxW(NULL, Utf8ToWide(text).c_str(), ProgramTitle, MB_OK | MB_ICONINFORMATION);
    }
}
