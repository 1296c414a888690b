// Registration as the in-process server of CLSID_CNetCfg under HKLM, the only place that takes
// precedence over Wine's built-in object. The server it replaces is kept aside and put back by
// DllUnregisterServer.
#include <windows.h>

#include <string>

#include "sim_values.h"

namespace {

const wchar_t ServerKey[] =
    L"Software\\Classes\\CLSID\\{5B035261-40F9-11D1-AAEC-00805FC1270E}\\InprocServer32";
const wchar_t ServerClassKey[] = L"Software\\Classes\\CLSID\\{5B035261-40F9-11D1-AAEC-00805FC1270E}";
const wchar_t ServerSubkey[] = L"InprocServer32";
const wchar_t ThreadingModel[] = L"ThreadingModel";
const wchar_t BothModels[] = L"Both";
const wchar_t ReplacedServer[] = L"VornakSimReplacedServer";
const wchar_t ReplacedModel[] = L"VornakSimReplacedThreadingModel";
const DWORD LongestPath = 32768;

bool ReadString(HKEY key, const wchar_t* name, std::wstring* text)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, NULL, &type, NULL, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, NULL, &type, reinterpret_cast<BYTE*>(&value[0]), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    *text = value;
    return true;
}

LONG WriteString(HKEY key, const wchar_t* name, const std::wstring& text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool ModulePath(std::wstring* path)
{
    HMODULE self = NULL;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&ModulePath), &self)) {
        return false;
    }
    std::wstring buffer(LongestPath, L'\0');
    DWORD length = GetModuleFileNameW(self, &buffer[0], LongestPath);
    if (length == 0 || length >= LongestPath) {
        return false;
    }
    buffer.resize(length);
    *path = buffer;
    return true;
}

} // namespace

STDAPI DllRegisterServer()
{
    std::wstring path;
    if (!ModulePath(&path)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    HKEY key = NULL;
    LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, ServerKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                 KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key, NULL);
    if (error != ERROR_SUCCESS) {
        return FromWin32(error);
    }
    // Keep the server being replaced, once: registering again must not keep ourselves.
    std::wstring current;
    std::wstring kept;
    bool replacing = ReadString(key, NULL, &current) &&
                     CompareStringOrdinal(current.c_str(), -1, path.c_str(), -1, TRUE) != CSTR_EQUAL;
    if (replacing && !ReadString(key, ReplacedServer, &kept)) {
        error = WriteString(key, ReplacedServer, current);
        std::wstring model;
        if (error == ERROR_SUCCESS && ReadString(key, ThreadingModel, &model)) {
            error = WriteString(key, ReplacedModel, model);
        }
    }
    if (error == ERROR_SUCCESS) {
        error = WriteString(key, NULL, path);
    }
    if (error == ERROR_SUCCESS) {
        error = WriteString(key, ThreadingModel, BothModels);
    }
    RegCloseKey(key);
    return FromWin32(error);
}

STDAPI DllUnregisterServer()
{
    HKEY key = NULL;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, ServerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (error == ERROR_FILE_NOT_FOUND) {
        return S_OK;
    }
    if (error != ERROR_SUCCESS) {
        return FromWin32(error);
    }
    std::wstring replaced;
    bool restore = ReadString(key, ReplacedServer, &replaced);
    if (restore) {
        std::wstring model;
        error = WriteString(key, NULL, replaced);
        if (error == ERROR_SUCCESS && ReadString(key, ReplacedModel, &model)) {
            error = WriteString(key, ThreadingModel, model);
        }
        if (error == ERROR_SUCCESS) {
            RegDeleteValueW(key, ReplacedServer);
            RegDeleteValueW(key, ReplacedModel);
        }
    }
    RegCloseKey(key);
    if (restore) {
        return FromWin32(error);
    }
    // Nothing was replaced: the class was ours alone.
    const REGSAM access = DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE;
    error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, ServerClassKey, 0, access, &key);
    if (error != ERROR_SUCCESS) {
        return FromWin32(error);
    }
    error = RegDeleteTreeW(key, ServerSubkey);
    RegCloseKey(key);
    return FromWin32(error);
}
