#include "output_file.h"

#include <algorithm>

namespace {

constexpr DWORD MaxBytesPerCall = 0x10000000;

bool MoveTo(HANDLE handle, uint64_t offset, DWORD method)
{
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handle, distance, NULL, method) != FALSE;
}

} // namespace

bool WriteBytes(HANDLE handle, std::string_view text, size_t* written, DWORD* error)
{
    *written = 0;
    while (*written < text.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - *written, MaxBytesPerCall));
        DWORD wrote = 0;
        if (!WriteFile(handle, text.data() + *written, chunk, &wrote, NULL) || wrote == 0) {
            *error = GetLastError();
            if (*error == ERROR_SUCCESS) {
                *error = ERROR_WRITE_FAULT;
            }
            return false;
        }
        *written += wrote;
    }
    return true;
}

bool AppendedFile::Open(DWORD* error)
{
    Close();
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // Read access only to see how the file ends; a file that may be written but not read is
    // still written to.
    bool readable = true;
    handle_ = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, NULL, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle_ == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        readable = false;
        handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, sharing, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    }
    if (handle_ == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    size_ = 0;
    endsInsideLine_ = false;
    // A device (NUL, a named pipe) has no end to find.
    if (GetFileType(handle_) == FILE_TYPE_DISK && !FindEnd(readable)) {
        *error = GetLastError();
        Close();
        return false;
    }
    return true;
}

bool AppendedFile::FindEnd(bool readable)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(handle_, &size)) {
        return false;
    }
    size_ = static_cast<uint64_t>(size.QuadPart);
    if (size_ == 0) {
        return true;
    }
    // A file that cannot be read is taken to end inside a line: a blank line is harmless, a line
    // glued to the last one is not.
    char last = 0;
    DWORD read = 0;
    if (readable && MoveTo(handle_, size_ - 1, FILE_BEGIN) && !ReadFile(handle_, &last, 1, &read, NULL)) {
        last = 0;
    }
    endsInsideLine_ = last != '\n';
    return MoveTo(handle_, 0, FILE_END);
}

bool AppendedFile::Append(std::string_view lines, size_t* written, DWORD* error)
{
    *written = 0;
    if (!IsOpen()) {
        *error = ERROR_INVALID_HANDLE;
        return false;
    }
    size_t done = 0;
    if (endsInsideLine_) {
        if (!WriteBytes(handle_, "\n", &done, error)) {
            return false;
        }
        ++size_;
        endsInsideLine_ = false;
    }
    uint64_t start = size_;
    bool allWritten = WriteBytes(handle_, lines, &done, error);
    size_ += done;
    if (allWritten) {
        *written = done;
        return true;
    }
    size_t lastEnd = lines.substr(0, done).rfind('\n');
    *written = lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
    DWORD cutError = 0;
    if (*written < done && !CutBackTo(start + *written, &cutError)) {
        endsInsideLine_ = true;
    }
    return false;
}

bool AppendedFile::CutBackTo(uint64_t size, DWORD* error)
{
    if (MoveTo(handle_, size, FILE_BEGIN) && SetEndOfFile(handle_)) {
        size_ = size;
        return true;
    }
    *error = GetLastError();
    // Writing goes on at the end, after the part that stays.
    MoveTo(handle_, 0, FILE_END);
    return false;
}

bool AppendedFile::Empty(DWORD* error)
{
    if (!IsOpen()) {
        *error = ERROR_INVALID_HANDLE;
        return false;
    }
    if (!CutBackTo(0, error)) {
        return false;
    }
    endsInsideLine_ = false;
    return true;
}

void AppendedFile::Close()
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}
