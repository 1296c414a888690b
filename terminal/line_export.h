// Taking lines out of the window: to the clipboard, and to a text file.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

// Puts text (output lines ending in "\n", in the ANSI code page) on the clipboard as Unicode
// text with Windows line ends. False when the clipboard could not be had.
bool CopyLinesToClipboard(HWND owner, const std::string& lines);

// Asks the user for a file name; empty when cancelled.
std::wstring AskSavePath(HWND owner);

// Writes text to path on a new thread, so a slow disk never holds up the window (and the hosts
// waiting on it). When done it posts doneMessage to notify with wParam = the system error code
// (0 on success) and lParam = lineCount.
std::thread SaveLinesInBackground(std::wstring path, std::string text, size_t lineCount, HWND notify,
                                  UINT doneMessage);
