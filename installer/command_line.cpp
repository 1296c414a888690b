// The installer's entry: label the console, hide it on request, run one command.
#include <windows.h>
#include <wchar.h>

#include "component_commands.h"
#include "installer_texts.h"

static_assert(sizeof(void*) == 8, "VrkQuelmor is built for 64-bit Windows (x64) only");

namespace {

bool SameWord(const wchar_t* argument, const wchar_t* word)
{
    return _wcsicmp(argument, word) == 0;
}

} // namespace

// Callers rely on the exit status being 0 whatever happened; failures are told on the console.
int wmain(int argc, wchar_t* argv[])
{
    SetConsoleTitleW(ConsoleTitle);
    if (argc < 2) {
        return 0;
    }
    // Only argument 2 is an option; anything but "/hide" there, "/v" included, keeps the console.
    if (argc > 2 && SameWord(argv[2], OptionHide)) {
        HWND console = GetConsoleWindow();
        if (console != NULL) {
            ShowWindow(console, SW_HIDE);
        }
    }
    if (SameWord(argv[1], CommandInstall)) {
        return InstallSpecifiedComponent();
    }
    if (SameWord(argv[1], CommandUninstall)) {
        return UninstallSpecifiedComponent();
    }
    return 0;
}
