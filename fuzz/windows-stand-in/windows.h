// The few Windows calls the terminal's parsers reach, for the native fuzz build: code-page
// conversion (what JSON lines and syslog messages decode received text with) done here over the
// C library's iconv, and file and computer-name calls that fail, as no fuzzer opens a file.
// Wide characters are 32 bits here; the conversions put one UTF-16 code unit in each, so the
// code under test meets surrogates as it does on Windows. See fuzz/README.md.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef uint32_t DWORD;
typedef int BOOL;
typedef uint8_t BYTE;
typedef unsigned int UINT;
typedef void* HANDLE;
typedef uint64_t ULONGLONG;

#define TRUE 1
#define FALSE 0
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD FILE_SHARE_DELETE = 4;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;
enum COMPUTER_NAME_FORMAT {
    ComputerNameNetBIOS,
    ComputerNameDnsHostname,
    ComputerNameDnsDomain,
    ComputerNameDnsFullyQualified,
};

DWORD GetLastError();

// Code pages: 65001, the single-byte 874 and 1250 to 1258, the double-byte 932, 936, 949 and 950;
// another is refused with ERROR_INVALID_PARAMETER, as Windows refuses one it does not have.
// A byte sequence the code page does not define becomes U+FFFD (Windows maps some of them to
// characters of its own tables); characters it cannot hold become '?', with no best fit.
UINT GetACP();  // 1252
BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte);
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length, wchar_t* wide, int capacity);
int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* wide, int length, char* text, int capacity,
                        const char* defaultCharacter, BOOL* usedDefault);
// Lower case for ASCII, Latin-1, Greek and Cyrillic letters.
DWORD CharLowerBuffW(wchar_t* text, DWORD length);

// These fail with ERROR_CALL_NOT_IMPLEMENTED.
HANDLE CreateFileW(const wchar_t* path, DWORD access, DWORD share, void* security, DWORD disposition, DWORD attributes,
                   HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* got, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped);
BOOL CloseHandle(HANDLE handle);
BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT format, wchar_t* name, DWORD* length);
