// The headless terminal's output file: lines are appended to what it already holds (a restart
// after a crash, a reboot or a daily script keeps the previous run), and it never ends inside a
// line, whether an earlier run ended in the middle of one or a full disk cut a write.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <string_view>
#include "non_copyable.h"

class AppendedFile : private NonCopyable {
public:
    explicit AppendedFile(std::wstring path) : path_(std::move(path)) {}
    ~AppendedFile() { Close(); }

    // Opens the file at its end, creating it when missing. Others may read, rename or delete it
    // meanwhile.
    bool Open(DWORD* error);
    // Writes whole lines at the end; an unfinished last line is ended first. When only part of
    // them goes in, the file is cut back to the end of the last whole line that did (where the
    // cut fails, the next write begins on a new line): *written counts the bytes of those lines.
    bool Append(std::string_view lines, size_t* written, DWORD* error);
    // Takes everything out (a rotation that keeps no old file).
    bool Empty(DWORD* error);
    void Close();

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Its bytes, an unfinished last line included.
    uint64_t Size() const { return size_; }
    const std::wstring& Path() const { return path_; }

private:
    // Moves to the end and sees whether the last line is finished.
    bool FindEnd(bool readable);
    bool CutBackTo(uint64_t size, DWORD* error);

    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    uint64_t size_ = 0;
    bool endsInsideLine_ = false;
};

// Writes all of text to handle, in as many calls as it takes; false with *error when a call
// fails, *written then saying how many bytes did go.
bool WriteBytes(HANDLE handle, std::string_view text, size_t* written, DWORD* error);
