// A host that writes each of its arguments (after the first) with OutputDebugStringA, in the ANSI
// code page, then stays until the event its first argument names is set (at most 10 s), so that
// a monitor can still name it; "-" for the event: it stays 2 s (for scripts, which have no event).
#include <windows.h>

#include <wchar.h>

#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        int size = WideCharToMultiByte(CP_ACP, 0, argv[i], -1, NULL, 0, NULL, NULL);
        std::string text(size > 0 ? static_cast<size_t>(size) : 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, argv[i], -1, &text[0], size, NULL, NULL);
        OutputDebugStringA(text.c_str());
    }
    if (wcscmp(argv[1], L"-") == 0) {
        Sleep(2000);
        return 0;
    }
    HANDLE mayEnd = OpenEventW(SYNCHRONIZE, FALSE, argv[1]);
    if (mayEnd != NULL) {
        WaitForSingleObject(mayEnd, 10000);
        CloseHandle(mayEnd);
    }
    return 0;
}
