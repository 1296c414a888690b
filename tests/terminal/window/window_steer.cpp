// window-steer: works the running terminal's window from another process, as a user at its menu
// and keyboard would, for the screenshots.
// Usage: window-steer command ID        the menu command ID (WM_COMMAND)
//        window-steer text CONTROL TEXT  TEXT typed into the box CONTROL (its text replaced)
//        window-steer menu CONTROL       the context-menu key pressed in CONTROL (the menu stays
//                                        open: it is posted, the window's thread tracks it)
// Exits 0, or 1 when no terminal window runs or the box does not exist, 64 for bad arguments.
#include <windows.h>

#include <stdlib.h>
#include <wchar.h>

#include "frame_class.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3 ||
        (wcscmp(argv[1], L"command") != 0 && wcscmp(argv[1], L"text") != 0 && wcscmp(argv[1], L"menu") != 0) ||
        (wcscmp(argv[1], L"text") == 0 && argc != 4)) {
        fputws(L"usage: window-steer command ID | window-steer text CONTROL TEXT | window-steer menu CONTROL\n",
               stderr);
        return 64;
    }
    HWND window = FindWindowW(TerminalFrameClass, NULL);
    if (window == NULL) {
        fputws(L"window-steer: no terminal window\n", stderr);
        return 1;
    }
    int id = _wtoi(argv[2]);
    if (wcscmp(argv[1], L"command") == 0) {
        // Sent, not posted: when it returns the window has done what the command does.
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return 0;
    }
    HWND box = GetDlgItem(window, id);
    if (box == NULL) {
        fputws(L"window-steer: no such box\n", stderr);
        return 1;
    }
    if (wcscmp(argv[1], L"menu") == 0) {
        // -1: from the keyboard, so the menu opens at the selected row.
        PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), -1);
        return 0;
    }
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    return 0;
}
