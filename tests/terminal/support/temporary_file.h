// Files the programs under test write their output to.
#pragma once

#include <string>
#include <vector>

#include "non_copyable.h"

// A fresh file name in the temporary folder; the file is deleted with the object.
class TemporaryFile : private NonCopyable {
public:
    explicit TemporaryFile(const wchar_t* prefix);
    ~TemporaryFile();

    const std::wstring& Path() const { return path_; }
    // The file's bytes, "\r" removed; empty when it does not exist.
    std::string Text() const;
    bool Exists() const;

private:
    std::wstring path_;
};

// The file's lines, without their "\n" (and without "\r").
std::vector<std::string> SplitLines(const std::string& text);
