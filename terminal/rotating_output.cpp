#include "rotating_output.h"

#include "system_error_text.h"
#include "terminal_texts.h"

namespace {

HANDLE CreateOutput(const std::wstring& path)
{
    // Others may read (and even delete or rename) the file while lines are still arriving.
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::string ShownPath(const std::wstring& path)
{
    std::string out;
    for (wchar_t c : path) {
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return out;
}

RotatingOutput::RotatingOutput(std::wstring path, uint64_t rotateBytes, unsigned keep)
    : path_(std::move(path)), rotateBytes_(rotateBytes == 0 ? 1 : rotateBytes), keep_(keep > MaxKeptFiles ? MaxKeptFiles : keep)
{
}

RotatingOutput::~RotatingOutput()
{
    Close();
}

void RotatingOutput::Close()
{
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
}

std::wstring RotatingOutput::OldName(unsigned index) const
{
    return path_ + L"." + std::to_wstring(index);
}

bool RotatingOutput::Open(std::string* error)
{
    Close();
    file_ = CreateOutput(path_);
    if (file_ == INVALID_HANDLE_VALUE) {
        *error = FillText(RotateCannotOpen, {ShownPath(path_), SystemErrorText(GetLastError())});
        return false;
    }
    currentBytes_ = 0;
    return true;
}

bool RotatingOutput::Rotate(std::string* problem)
{
    Close();
    bool rotated = true;
    if (keep_ == 0) {
        // Nothing is kept: the file simply begins again.
    } else {
        std::wstring oldest = OldName(keep_);
        if (Exists(oldest) && !DeleteFileW(oldest.c_str())) {
            *problem = FillText(RotateCannotDelete, {ShownPath(oldest), SystemErrorText(GetLastError())});
            rotated = false;
        }
        for (unsigned index = keep_; rotated && index > 1; --index) {
            std::wstring from = OldName(index - 1);
            if (Exists(from) && !MoveFileExW(from.c_str(), OldName(index).c_str(), MOVEFILE_REPLACE_EXISTING)) {
                *problem = FillText(RotateCannotRename, {ShownPath(from), SystemErrorText(GetLastError())});
                rotated = false;
            }
        }
        if (rotated && !MoveFileExW(path_.c_str(), OldName(1).c_str(), MOVEFILE_REPLACE_EXISTING)) {
            *problem = FillText(RotateCannotRename, {ShownPath(path_), SystemErrorText(GetLastError())});
            rotated = false;
        }
    }
    if (!rotated) {
        // Go on at the end of the file as it is.
        file_ = CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file_ == INVALID_HANDLE_VALUE) {
            *problem = FillText(RotateCannotOpen, {ShownPath(path_), SystemErrorText(GetLastError())});
        }
        return false;
    }
    file_ = CreateOutput(path_);
    currentBytes_ = 0;
    if (file_ == INVALID_HANDLE_VALUE) {
        *problem = FillText(RotateCannotOpen, {ShownPath(path_), SystemErrorText(GetLastError())});
        return false;
    }
    return true;
}

bool RotatingOutput::WriteBlock(std::string_view block, std::string* problem)
{
    if (file_ == INVALID_HANDLE_VALUE) {
        if (problem->empty()) {
            *problem = FillText(RotateCannotWrite, {ShownPath(path_), SystemErrorText(ERROR_INVALID_HANDLE)});
        }
        return false;
    }
    while (!block.empty()) {
        DWORD chunk = block.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(block.size());
        DWORD written = 0;
        if (!WriteFile(file_, block.data(), chunk, &written, NULL) || written == 0) {
            *problem = FillText(RotateCannotWrite, {ShownPath(path_), SystemErrorText(GetLastError())});
            return false;
        }
        currentBytes_ += written;
        block.remove_prefix(written);
    }
    return true;
}

bool RotatingOutput::Write(std::string_view lines, std::string* problem)
{
    problem->clear();
    bool allWritten = true;
    bool rotationFailed = false;
    while (!lines.empty()) {
        // As many whole lines as fit in what is left of this file; at least one line in a new file.
        uint64_t room = currentBytes_ < rotateBytes_ ? rotateBytes_ - currentBytes_ : 0;
        size_t take = 0;
        for (;;) {
            size_t end = lines.find('\n', take);
            size_t next = end == std::string_view::npos ? lines.size() : end + 1;
            if (next > room && !(take == 0 && (currentBytes_ == 0 || rotationFailed))) {
                break;
            }
            take = next;
            if (take == lines.size()) {
                break;
            }
        }
        if (take == 0) {
            std::string why;
            if (!Rotate(&why)) {
                *problem = why;
                rotationFailed = true;
            }
            continue;
        }
        if (!WriteBlock(lines.substr(0, take), problem)) {
            allWritten = false;
        }
        lines.remove_prefix(take);
    }
    return allWritten;
}
