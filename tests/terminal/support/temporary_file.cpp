#include "temporary_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "file_bytes.h"

TemporaryFile::TemporaryFile(const wchar_t* prefix)
{
    static std::atomic<unsigned> counter{0};
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder) + L"vornak-" + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L".txt";
    DeleteFileW(path_.c_str());
}

TemporaryFile::~TemporaryFile()
{
    DeleteFileW(path_.c_str());
}

bool TemporaryFile::Exists() const
{
    return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TemporaryFile::Text() const
{
    std::string text = ReadFileBytes(path_);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
