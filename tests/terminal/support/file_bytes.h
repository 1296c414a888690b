// A file's bytes exactly as they are, for tests that compare files byte for byte.
#pragma once

#include <windows.h>

#include <string>

// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// What a file or a pipe gives until its end (a pipe's: until every writer closed it).
std::string ReadToTheEnd(HANDLE source);
// Replaces the file with bytes; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
