// The installer's commands, linked into a program that can make the system functions they call
// fail. Tests run it like the installer itself and compare its output.
//
// Usage: installer-with-faults.exe /Install|/Uninstall [Function=code]
//   GetModuleFileNameW=0        GetModuleFileNameW yields nothing
//   GetModuleFileNameW=full     GetModuleFileNameW fills the whole buffer (a cut path)
//   CoInitialize=0xHHHHHHHH     CoInitialize returns the code
//   CoCreateInstance=0x...      CoCreateInstance returns the code and no object
//   SetupCopyOEMInfW=0x...      SetupCopyOEMInfW fails with the code as its last error
//   FormatMessageW=0            the system has no text for any code
//   FormatMessageW=localised    the system's text for every code is LocalisedSystemText
//   FormatMessageW=astride      the system's text for every code is AstrideSystemText
// After the command, the exit status is 3 if COM is still initialised on the thread, else 0.
#include <windows.h>

#include <objbase.h>
#include <setupapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <string>

#include "component_commands.h"
#include "import_patch.h"

namespace {

DWORD InjectedCode = 0;

DWORD WINAPI FailingGetModuleFileNameW(HMODULE, LPWSTR, DWORD)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

DWORD WINAPI CuttingGetModuleFileNameW(HMODULE, LPWSTR path, DWORD capacity)
{
    // What Windows does with a path longer than the buffer: cut, terminated, full length returned.
    for (DWORD i = 0; i + 1 < capacity; ++i) {
        path[i] = L'x';
    }
    path[capacity - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return capacity;
}

HRESULT WINAPI FailingCoInitialize(LPVOID)
{
    return static_cast<HRESULT>(InjectedCode);
}

HRESULT WINAPI FailingCoCreateInstance(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* object)
{
    *object = NULL;
    return static_cast<HRESULT>(InjectedCode);
}

BOOL WINAPI FailingSetupCopyOEMInfW(PCWSTR, PCWSTR, DWORD, DWORD, PWSTR, DWORD, PDWORD, PWSTR*)
{
    SetLastError(InjectedCode);
    return FALSE;
}

DWORD WINAPI FailingFormatMessageW(DWORD, LPCVOID, DWORD, DWORD, LPWSTR, DWORD, va_list*)
{
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
}

// The text FormatMessageW=localised gives for any code: Latin, Cyrillic and Japanese letters and a
// character outside the Basic Multilingual Plane, as a localised Windows may hand them back.
const wchar_t LocalisedSystemText[] = L"Zugriff verweigert — Доступ запрещён — アクセスが拒否されました 🔒\r\n";

// 179 'x', a lock, 74 'y', a lock: each lock, a character outside the Basic Multilingual Plane
// (two UTF-16 units), starts at the 256th unit of a piece the installer writes out: the first
// in a redirected error text after "Error 0x80070005: Couldn't install the network component.",
// the second in the text's own line on a console.
const std::wstring AstrideSystemText =
    std::wstring(179, L'x') + L"🔒" + std::wstring(74, L'y') + L"🔒" + L"\r\n";

const wchar_t* StandInSystemText = LocalisedSystemText;

// Hands back a copy of StandInSystemText in a buffer of its own, as the system allocates one.
DWORD WINAPI StandInFormatMessageW(DWORD, LPCVOID, DWORD, DWORD, LPWSTR buffer, DWORD, va_list*)
{
    size_t length = wcslen(StandInSystemText);
    wchar_t* text = static_cast<wchar_t*>(LocalAlloc(LMEM_FIXED, (length + 1) * sizeof(wchar_t)));
    if (text == NULL) {
        return 0;
    }
    wcscpy(text, StandInSystemText);
    *reinterpret_cast<wchar_t**>(buffer) = text;
    return static_cast<DWORD>(length);
}

bool InstallFault(const wchar_t* fault)
{
    const wchar_t* equals = wcschr(fault, L'=');
    if (equals == NULL) {
        return false;
    }
    std::wstring function(fault, equals);
    const wchar_t* value = equals + 1;
    InjectedCode = static_cast<DWORD>(wcstoul(value, NULL, 0));
    void* replacement = nullptr;
    if (function == L"GetModuleFileNameW") {
        replacement = wcscmp(value, L"full") == 0 ? reinterpret_cast<void*>(CuttingGetModuleFileNameW)
                                                  : reinterpret_cast<void*>(FailingGetModuleFileNameW);
    } else if (function == L"CoInitialize") {
        replacement = reinterpret_cast<void*>(FailingCoInitialize);
    } else if (function == L"CoCreateInstance") {
        replacement = reinterpret_cast<void*>(FailingCoCreateInstance);
    } else if (function == L"SetupCopyOEMInfW") {
        replacement = reinterpret_cast<void*>(FailingSetupCopyOEMInfW);
    } else if (function == L"FormatMessageW") {
        replacement = reinterpret_cast<void*>(StandInFormatMessageW);
        if (wcscmp(value, L"astride") == 0) {
            StandInSystemText = AstrideSystemText.c_str();
        } else if (wcscmp(value, L"localised") != 0) {
            replacement = reinterpret_cast<void*>(FailingFormatMessageW);
        }
    } else {
        return false;
    }
    std::string name(function.begin(), function.end());
    return PatchImport(name.c_str(), replacement) != nullptr;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    // Taken from ole32 itself: the compiler may read a patched import table for CoInitialize.
    typedef HRESULT(WINAPI * CoInitializeFunction)(LPVOID);
    CoInitializeFunction realCoInitialize = reinterpret_cast<CoInitializeFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ole32.dll"), "CoInitialize")));
    if (argc < 2 || (argc > 2 && !InstallFault(argv[2]))) {
        fwprintf(stderr, L"usage: installer-with-faults /Install|/Uninstall [Function=code]\n");
        return 2;
    }
    if (_wcsicmp(argv[1], L"/Install") == 0) {
        InstallSpecifiedComponent();
    } else {
        UninstallSpecifiedComponent();
    }
    fflush(stdout);

    HRESULT hr = realCoInitialize(NULL);
    CoUninitialize();
    return hr == S_OK ? 0 : 3;
}
