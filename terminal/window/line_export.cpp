#include "line_export.h"

#include <commdlg.h>

#include "standard_streams.h"
#include "terminal_texts.h"

bool CopyLinesToClipboard(HWND owner, const std::string& lines)
{
    std::string withReturns;
    withReturns.reserve(lines.size() + lines.size() / 32);
    for (char c : lines) {
        if (c == '\n') {
            withReturns += '\r';
        }
        withReturns += c;
    }
    int length = MultiByteToWideChar(CP_ACP, 0, withReturns.data(), static_cast<int>(withReturns.size()), NULL, 0);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    if (memory == NULL) {
        return false;
    }
    wchar_t* text = static_cast<wchar_t*>(GlobalLock(memory));
    MultiByteToWideChar(CP_ACP, 0, withReturns.data(), static_cast<int>(withReturns.size()), text, length);
    text[length] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    bool placed = SetClipboardData(CF_UNICODETEXT, memory) != NULL;
    CloseClipboard();
    if (!placed) {
        GlobalFree(memory);  // still ours: the clipboard took it only on success
    }
    return placed;
}

std::wstring AskSavePath(HWND owner)
{
    return AskPathToSave(owner, {SaveDialogTitle, SaveFilter, SaveDefaultName, SaveDefaultExtension});
}

namespace {

bool AskPath(HWND owner, const FileDialogTexts& texts, bool save, wchar_t (&path)[MAX_PATH])
{
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = texts.filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = texts.title;
    if (save) {
        dialog.lpstrDefExt = texts.defaultExtension;
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        return GetSaveFileNameW(&dialog) != FALSE;
    }
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    return GetOpenFileNameW(&dialog) != FALSE;
}

} // namespace

std::wstring AskPathToOpen(HWND owner, const FileDialogTexts& texts)
{
    wchar_t path[MAX_PATH] = L"";
    return AskPath(owner, texts, false, path) ? std::wstring(path) : std::wstring();
}

std::wstring AskPathToSave(HWND owner, const FileDialogTexts& texts)
{
    wchar_t path[MAX_PATH] = L"";
    if (texts.defaultName != NULL) {
        lstrcpynW(path, texts.defaultName, MAX_PATH);
    }
    return AskPath(owner, texts, true, path) ? std::wstring(path) : std::wstring();
}

std::thread SaveLinesInBackground(std::wstring path, std::string text, size_t lineCount, HWND notify,
                                  UINT doneMessage)
{
    return std::thread([path = std::move(path), text = std::move(text), lineCount, notify, doneMessage] {
        DWORD error = 0;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
        } else {
            if (!WriteAll(file, text.data(), text.size())) {
                error = GetLastError();
                if (error == 0) {
                    error = ERROR_WRITE_FAULT;
                }
            }
            CloseHandle(file);
        }
        PostMessageW(notify, doneMessage, error, static_cast<LPARAM>(lineCount));
    });
}
