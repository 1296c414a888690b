// Runs a program whose standard output and error are a console of their own, then tells what that
// console's screen shows. Tests start this harness, since a test run has no console.
//
// Usage: console-screen.exe <command line>
// Prints, in UTF-8 on the harness's own standard output, each row of the screen buffer from the
// top down to the last row written, trailing blanks removed, each followed by "\n". Exits with the
// program's exit status, or 100 when the console or the program could not be had.
#include <windows.h>

#include <stdio.h>
#include <string>

#include "child_process.h"

namespace {

// Wide enough that no line the tests print wraps.
const SHORT ScreenColumns = 400;
const SHORT ScreenRows = 100;
const DWORD HarnessFailed = 100;

std::wstring ScreenText(HANDLE screen)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(screen, &info)) {
        return L"";
    }
    std::wstring text;
    std::wstring blankRows;
    for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
        std::wstring cells(static_cast<size_t>(info.dwSize.X), L' ');
        DWORD read = 0;
        COORD start = {0, row};
        ReadConsoleOutputCharacterW(screen, &cells[0], static_cast<DWORD>(cells.size()), start, &read);
        cells.resize(read);
        cells.erase(cells.find_last_not_of(L' ') + 1);
        // Blank rows count only when a written row follows them.
        if (cells.empty()) {
            blankRows += L"\n";
            continue;
        }
        text += blankRows + cells + L"\n";
        blankRows.clear();
    }
    return text;
}

void Report(HANDLE report, const std::wstring& text)
{
    if (text.empty()) {
        return;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, NULL, NULL);
    DWORD written = 0;
    WriteFile(report, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
}

} // namespace

int wmain(int, wchar_t*[])
{
    HANDLE report = GetStdHandle(STD_OUTPUT_HANDLE);
    std::wstring command = CommandAfterProgram(GetCommandLineW());

    FreeConsole();
    if (!AllocConsole()) {
        fprintf(stderr, "console-screen: no console (error %lu)\n", GetLastError());
        return HarnessFailed;
    }
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inheritable, OPEN_EXISTING, 0, NULL);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ, &inheritable, OPEN_EXISTING, 0, NULL);
    COORD size = {ScreenColumns, ScreenRows};
    if (screen == INVALID_HANDLE_VALUE || !SetConsoleScreenBufferSize(screen, size)) {
        fprintf(stderr, "console-screen: no screen buffer (error %lu)\n", GetLastError());
        return HarnessFailed;
    }

    LaunchSetting setting;
    setting.input = nul;
    setting.output = setting.error = screen;
    HANDLE program = LaunchProcess(command, setting, NULL);
    if (program == NULL) {
        fprintf(stderr, "console-screen: cannot start the program (error %lu)\n", GetLastError());
        return HarnessFailed;
    }
    WaitForSingleObject(program, INFINITE);
    DWORD exitCode = HarnessFailed;
    GetExitCodeProcess(program, &exitCode);
    CloseHandle(program);

    Report(report, ScreenText(screen));
    CloseHandle(nul);
    CloseHandle(screen);
    return static_cast<int>(exitCode);
}
