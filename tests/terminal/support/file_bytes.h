// A file's bytes exactly as they are, for tests that compare files byte for byte.
#pragma once

#include <string>

// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Replaces the file with bytes; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
