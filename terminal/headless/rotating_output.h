// Headless output into a file that is rotated at a size (--rotate BYTES [--keep N]): when the next
// lines would take the file past BYTES, it becomes NAME.1 (NAME.1 becomes NAME.2, and so on; the
// oldest beyond NAME.N is deleted) and a new NAME is begun. A line is never split between two
// files; a single line longer than BYTES gets a file of its own. An existing NAME is appended
// to, its size counting toward the first rotation.
//
// Failures are never silent and never cost old lines: a write that fails loses only the lines
// that did not go in and says so; a rotation that cannot be completed (another program holds one
// of the files without letting it be renamed) changes no file, is said, and the lines go on into
// the current file, beyond its size. It is tried again once the file has grown by another BYTES,
// or after a while.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <string_view>

#include "output_file.h"
#include "output_writer.h"
#include "non_copyable.h"

constexpr unsigned DefaultKeptFiles = 5;
constexpr unsigned MaxKeptFiles = 1000;
// After a failed rotation, how long before it is tried again even if the file has not grown.
constexpr DWORD RotationRetryMs = 10000;

class RotatingOutput : private NonCopyable {
public:
    // keep: how many old files (NAME.1 ... NAME.keep) are kept; 0 keeps none.
    RotatingOutput(std::wstring path, uint64_t rotateBytes, unsigned keep);

    // Opens NAME to append to (as --output does); old NAME.1 ... are left until rotation reaches them.
    bool Open(std::string* error);

    // Writes lines (whole lines, each ending in "\n"), telling progress as each file's part goes
    // in. Returns false when some of them could not be written: *written says how many bytes
    // (from the start) were. *problem is set whenever something is wrong, also when nothing was
    // lost (a rotation that keeps failing, on every write until one succeeds); it is left empty
    // otherwise.
    bool Write(std::string_view lines, const WriteProgress& progress, size_t* written, std::string* problem);

    uint64_t CurrentBytes() const { return file_.Size(); }

private:
    bool Rotate(std::string* problem);
    bool ShiftOldFiles(std::string* problem);
    bool RotationDue() const;
    uint64_t RoomLeft() const;
    std::wstring OldName(unsigned index) const;

    std::wstring path_;
    uint64_t rotateBytes_;
    unsigned keep_;
    AppendedFile file_;
    // After a failed rotation: why, and when it is tried again.
    std::string rotationFailure_;
    uint64_t retryAtBytes_ = 0;
    ULONGLONG retryAtTick_ = 0;
};
