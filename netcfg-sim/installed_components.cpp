#include "installed_components.h"

#include <devguid.h>
#include <objbase.h>

#include "sim_values.h"

namespace {

const wchar_t StateKey[] = L"Software\\Vornak\\NetCfgSim";
const wchar_t InstalledKey[] = L"Software\\Vornak\\NetCfgSim\\Installed";
const wchar_t InstalledSubkey[] = L"Installed";
const int GuidTextCapacity = 39;

// Opens path under HKLM with access and lets remove take something out of it; what is gone
// already, key or value, counts as removed.
template <typename Removal>
HRESULT RemoveUnder(const wchar_t* path, REGSAM access, Removal remove)
{
    HKEY key = NULL;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access, &key);
    if (error == ERROR_SUCCESS) {
        error = remove(key);
        RegCloseKey(key);
    }
    return error == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(error);
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
    return RemoveUnder(InstalledKey, KEY_SET_VALUE, [id](HKEY key) { return RegDeleteValueW(key, id); });
}

HRESULT ForgetAll()
{
    const REGSAM access = DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE;
    return RemoveUnder(StateKey, access, [](HKEY key) { return RegDeleteTreeW(key, InstalledSubkey); });
}

} // namespace InstalledComponents
