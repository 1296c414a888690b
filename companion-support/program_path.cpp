#include "program_path.h"

#include <windows.h>

#include <algorithm>

namespace {

// The longest path the system handles, in characters.
constexpr size_t LongestPath = 32768;

} // namespace

std::wstring OwnProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(NULL, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Cut to fit the buffer: try a larger one.
        if (path.size() >= LongestPath) {
            return std::wstring();
        }
        path.resize(std::min(path.size() * 2, LongestPath));
    }
}

std::wstring OwnProgramFolder()
{
    std::wstring path = OwnProgramPath();
    size_t folderEnd = path.find_last_of(L"\\/");
    if (folderEnd == std::wstring::npos) {
        return std::wstring();
    }
    path.resize(folderEnd + 1);
    return path;
}
