// Headless output into a file that is rotated at a size (--rotate BYTES [--keep N]): when the next
// lines would take the file past BYTES, it becomes NAME.1 (NAME.1 becomes NAME.2, and so on; the
// oldest beyond NAME.N is deleted) and a new NAME is begun. A line is never split between two
// files; a single line longer than BYTES gets a file of its own.
//
// Failures are never silent: a write that fails loses those lines and says so; a rotation that
// fails (a reader holds an old file without sharing its deletion) says so and the lines go on
// into the current file, beyond its size, until a later rotation succeeds.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <string_view>

constexpr unsigned DefaultKeptFiles = 5;
constexpr unsigned MaxKeptFiles = 1000;

class RotatingOutput {
public:
    // keep: how many old files (NAME.1 ... NAME.keep) are kept; 0 keeps none.
    RotatingOutput(std::wstring path, uint64_t rotateBytes, unsigned keep);
    ~RotatingOutput();
    RotatingOutput(const RotatingOutput&) = delete;
    RotatingOutput& operator=(const RotatingOutput&) = delete;

    // Creates NAME anew (as --output does); old NAME.1 ... are left until rotation reaches them.
    bool Open(std::string* error);

    // Writes lines (whole lines, each ending in "\n"). Returns false when some of them could not
    // be written. *problem is set whenever something went wrong, also when nothing was lost (a
    // failed rotation); it is left empty otherwise.
    bool Write(std::string_view lines, std::string* problem);

    uint64_t CurrentBytes() const { return currentBytes_; }
    void Close();

private:
    bool Rotate(std::string* problem);
    bool WriteBlock(std::string_view block, std::string* problem);
    std::wstring OldName(unsigned index) const;

    std::wstring path_;
    uint64_t rotateBytes_;
    unsigned keep_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    uint64_t currentBytes_ = 0;
};

// The name a wide path is shown with in messages: as far as it is printable ASCII, '?' otherwise.
std::string ShownPath(const std::wstring& path);
