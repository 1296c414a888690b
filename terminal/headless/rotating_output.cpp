#include "rotating_output.h"

#include <algorithm>
#include <vector>

#include "ascii_text.h"
#include "system_error_text.h"
#include "terminal_texts.h"

namespace {

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether path can be renamed now: a program that holds it without sharing its deletion (as log
// tailers do) refuses this open as it would refuse the rename. A missing file can be.
bool CanBeRenamed(const std::wstring& path, DWORD* error)
{
    HANDLE probe = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (probe == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return *error == ERROR_FILE_NOT_FOUND;
    }
    CloseHandle(probe);
    return true;
}

struct Move {
    std::wstring from;
    std::wstring to;
};

} // namespace

RotatingOutput::RotatingOutput(std::wstring path, uint64_t rotateBytes, unsigned keep)
    : path_(std::move(path)),
      rotateBytes_(rotateBytes == 0 ? 1 : rotateBytes),
      keep_(keep > MaxKeptFiles ? MaxKeptFiles : keep),
      file_(path_)
{
}

std::wstring RotatingOutput::OldName(unsigned index) const
{
    return path_ + L"." + std::to_wstring(index);
}

bool RotatingOutput::Open(std::string* error)
{
    DWORD code = 0;
    if (!file_.Open(&code)) {
        *error = FillText(RotateCannotOpen, {ShownAscii(path_), SystemErrorText(code)});
        return false;
    }
    return true;
}

bool RotatingOutput::ShiftOldFiles(std::string* problem)
{
    // The current file first: it is the one a reader most often holds.
    DWORD error = 0;
    if (!CanBeRenamed(path_, &error)) {
        *problem = FillText(RotateCannotRename, {ShownAscii(path_), SystemErrorText(error)});
        return false;
    }
    // The oldest only moves aside until everything else has moved: a refused move is undone
    // with nothing lost.
    const std::wstring aside = path_ + L".oldest";
    std::vector<Move> moves;
    if (Exists(OldName(keep_))) {
        moves.push_back({OldName(keep_), aside});
    }
    for (unsigned index = keep_; index > 1; --index) {
        if (Exists(OldName(index - 1))) {
            moves.push_back({OldName(index - 1), OldName(index)});
        }
    }
    if (Exists(path_)) {
        moves.push_back({path_, OldName(1)});
    }
    for (size_t done = 0; done < moves.size(); ++done) {
        // Only the aside name may be taken already (by a run that ended in the middle of this).
        DWORD flags = moves[done].to == aside ? MOVEFILE_REPLACE_EXISTING : 0;
        if (!MoveFileExW(moves[done].from.c_str(), moves[done].to.c_str(), flags)) {
            *problem = FillText(RotateCannotRename, {ShownAscii(moves[done].from), SystemErrorText(GetLastError())});
            while (done-- > 0) {
                MoveFileExW(moves[done].to.c_str(), moves[done].from.c_str(), 0);
            }
            return false;
        }
    }
    if (!moves.empty() && moves.front().to == aside && !DeleteFileW(aside.c_str())) {
        // The rotation is done all the same; the next one replaces the file.
        *problem = FillText(RotateCannotDelete, {ShownAscii(aside), SystemErrorText(GetLastError())});
    }
    return true;
}

bool RotatingOutput::Rotate(std::string* problem)
{
    DWORD error = 0;
    if (keep_ == 0) {
        // Nothing is kept: the file simply begins again.
        if (!file_.Empty(&error)) {
            *problem = FillText(RotateCannotWrite, {ShownAscii(path_), SystemErrorText(error)});
            return false;
        }
        return true;
    }
    file_.Close();
    std::string why;
    bool shifted = ShiftOldFiles(&why);
    if (shifted) {
        rotationFailure_.clear();
    } else {
        rotationFailure_ = why;
        retryAtBytes_ = file_.Size() + rotateBytes_;
        retryAtTick_ = GetTickCount64() + RotationRetryMs;
    }
    *problem = why;
    // A new file after a rotation; else on at the end of the one there is.
    if (!file_.Open(&error)) {
        *problem = FillText(RotateCannotOpen, {ShownAscii(path_), SystemErrorText(error)});
        return false;
    }
    return true;
}

bool RotatingOutput::RotationDue() const
{
    return rotationFailure_.empty() || file_.Size() >= retryAtBytes_ || GetTickCount64() >= retryAtTick_;
}

uint64_t RotatingOutput::RoomLeft() const
{
    if (!RotationDue()) {
        return UINT64_MAX;
    }
    return file_.Size() < rotateBytes_ ? rotateBytes_ - file_.Size() : 0;
}

bool RotatingOutput::Write(std::string_view lines, const WriteProgress& progress, size_t* written,
                           std::string* problem)
{
    *problem = rotationFailure_;
    *written = 0;
    DWORD error = 0;
    if (!file_.IsOpen() && !file_.Open(&error)) {
        *problem = FillText(RotateCannotOpen, {ShownAscii(path_), SystemErrorText(error)});
        return false;
    }
    while (!lines.empty()) {
        uint64_t room = RoomLeft();
        std::string_view block = LinesUpTo(lines, static_cast<size_t>(std::min<uint64_t>(room, SIZE_MAX)));
        if (block.size() > room && file_.Size() != 0) {
            if (!Rotate(problem)) {
                return false;
            }
            continue;
        }
        size_t wrote = 0;
        bool ok = file_.Append(block, &wrote, &error);
        *written += wrote;
        if (!ok) {
            *problem = FillText(RotateCannotWrite, {ShownAscii(path_), SystemErrorText(error)});
            return false;
        }
        progress(*written);
        lines.remove_prefix(block.size());
    }
    return true;
}
