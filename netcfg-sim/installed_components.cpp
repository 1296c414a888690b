#include "installed_components.h"

#include <devguid.h>
#include <objbase.h>

namespace {

const wchar_t StateKey[] = L"Software\\Vornak\\NetCfgSim";
const wchar_t InstalledKey[] = L"Software\\Vornak\\NetCfgSim\\Installed";
const wchar_t InstalledSubkey[] = L"Installed";
const int GuidTextCapacity = 39;

HRESULT FromWin32(LONG error)
{
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}

} // namespace

namespace InstalledComponents {

bool Find(const wchar_t* id, GUID* classGuid)
{
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, InstalledKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t text[GuidTextCapacity + 1] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    LONG error = RegQueryValueExW(key, id, NULL, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) {
        return false;
    }
    // A value that is not a GUID (written by hand) still means installed, in the transport class.
    if (error != ERROR_SUCCESS || type != REG_SZ || FAILED(CLSIDFromString(text, classGuid))) {
        *classGuid = GUID_DEVCLASS_NETTRANS;
    }
    return true;
}

HRESULT CommitInstall(const wchar_t* id, const GUID& classGuid)
{
    wchar_t text[GuidTextCapacity];
    if (StringFromGUID2(classGuid, text, GuidTextCapacity) == 0) {
        return E_UNEXPECTED;
    }
    HKEY key = NULL;
    LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, InstalledKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                 KEY_SET_VALUE, NULL, &key, NULL);
    if (error != ERROR_SUCCESS) {
        return FromWin32(error);
    }
    error = RegSetValueExW(key, id, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return FromWin32(error);
}

HRESULT CommitRemoval(const wchar_t* id)
{
    HKEY key = NULL;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, InstalledKey, 0, KEY_SET_VALUE, &key);
    if (error == ERROR_FILE_NOT_FOUND) {
        return S_OK;
    }
    if (error != ERROR_SUCCESS) {
        return FromWin32(error);
    }
    error = RegDeleteValueW(key, id);
    RegCloseKey(key);
    return error == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(error);
}

HRESULT ForgetAll()
{
    HKEY key = NULL;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, StateKey, 0, DELETE | KEY_ENUMERATE_SUB_KEYS |
                               KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (error == ERROR_FILE_NOT_FOUND) {
        return S_OK;
    }
    if (error != ERROR_SUCCESS) {
        return FromWin32(error);
    }
    error = RegDeleteTreeW(key, InstalledSubkey);
    RegCloseKey(key);
    return error == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(error);
}

} // namespace InstalledComponents
