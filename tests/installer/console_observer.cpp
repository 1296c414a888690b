// Runs a program in a console of its own and tells what became of that console: its title and
// whether its window is still visible. Tests start this observer, since a test run has no console.
//
// Usage: console-observer.exe <command line>
// Prints: "title: <console title>\nvisible: yes|no\n" on the observer's own standard output.
#include <windows.h>

#include <stdio.h>
#include <string>

#include "child_process.h"

int wmain(int, wchar_t*[])
{
    HANDLE report = GetStdHandle(STD_OUTPUT_HANDLE);
    std::wstring command = CommandAfterProgram(GetCommandLineW());

    FreeConsole();
    AllocConsole();
    SetConsoleTitleW(L"observer");

    // The program keeps the new console; its output goes nowhere, as only the console matters here.
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, NULL);
    LaunchSetting setting;
    setting.input = setting.output = setting.error = nul;
    HANDLE program = LaunchProcess(command, setting, NULL);
    if (program == NULL) {
        fprintf(stderr, "console-observer: cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(program, INFINITE);
    CloseHandle(program);
    CloseHandle(nul);

    wchar_t title[256] = L"";
    GetConsoleTitleW(title, 256);
    HWND window = GetConsoleWindow();
    char text[600];
    int length = snprintf(text, sizeof(text), "title: %ls\nvisible: %s\n", title,
                          window != NULL && IsWindowVisible(window) ? "yes" : "no");
    DWORD written = 0;
    WriteFile(report, text, static_cast<DWORD>(length), &written, NULL);
    return 0;
}
