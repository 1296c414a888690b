#include "file_bytes.h"

#include <windows.h>

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string bytes = ReadToTheEnd(file);
    CloseHandle(file);
    return bytes;
}

std::string ReadToTheEnd(HANDLE source)
{
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(source, buffer, sizeof(buffer), &got, NULL) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL) && written == bytes.size();
    CloseHandle(file);
    return ok;
}
