// Taking lines out of the window: to the clipboard, and to a text file.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

// Puts text (output lines ending in "\n", in the ANSI code page) on the clipboard as Unicode
// text with Windows line ends. False when the clipboard could not be had.
bool CopyLinesToClipboard(HWND owner, const std::string& lines);

// Asks the user for a file name to save the shown lines under; empty when cancelled.
std::wstring AskSavePath(HWND owner);

// The file dialogs' texts for one kind of file.
struct FileDialogTexts {
    const wchar_t* title;
    const wchar_t* filter;            // pairs of "name\0pattern\0", ending in another \0
    const wchar_t* defaultName;       // save only; may be NULL
    const wchar_t* defaultExtension;  // save only; may be NULL
};

// Asks for an existing file to read, or a file name to write (asking before one is replaced);
// empty when cancelled.
std::wstring AskPathToOpen(HWND owner, const FileDialogTexts& texts);
std::wstring AskPathToSave(HWND owner, const FileDialogTexts& texts);

// Writes text to path on a new thread, so a slow disk never holds up the window (and the hosts
// waiting on it). When done it posts doneMessage to notify with wParam = the system error code
// (0 on success) and lParam = lineCount.
std::thread SaveLinesInBackground(std::wstring path, std::string text, size_t lineCount, HWND notify,
                                  UINT doneMessage);
