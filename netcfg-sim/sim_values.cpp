#include "sim_values.h"

#include <devguid.h>
#include <objbase.h>

#include "installed_components.h"

HRESULT CheckComponentId(const wchar_t* id)
{
    if (id == NULL) {
        return E_POINTER;
    }
    size_t length = wcsnlen(id, InstalledComponents::MaxIdLength + 1);
    if (length == 0 || length > InstalledComponents::MaxIdLength) {
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT CheckOnBehalf(const OBO_TOKEN* token)
{
    if (token == NULL) {
        return E_POINTER;
    }
    if (token->Type != OBO_USER && token->Type != OBO_COMPONENT && token->Type != OBO_SOFTWARE) {
        return E_INVALIDARG;
    }
    return S_OK;
}

bool IsNetworkClass(const GUID& classGuid)
{
    return IsEqualGUID(classGuid, GUID_DEVCLASS_NET) || IsEqualGUID(classGuid, GUID_DEVCLASS_NETTRANS) ||
           IsEqualGUID(classGuid, GUID_DEVCLASS_NETCLIENT) ||
           IsEqualGUID(classGuid, GUID_DEVCLASS_NETSERVICE);
}

HRESULT CopyToTaskMemory(const std::wstring& text, wchar_t** out)
{
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    *out = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (*out == NULL) {
        return E_OUTOFMEMORY;
    }
    memcpy(*out, text.c_str(), bytes);
    return S_OK;
}

std::wstring EnvironmentValue(const wchar_t* name)
{
    DWORD needed = GetEnvironmentVariableW(name, NULL, 0);
    if (needed == 0) {
        return std::wstring();
    }
    std::wstring value(needed, L'\0');
    DWORD length = GetEnvironmentVariableW(name, &value[0], needed);
    if (length == 0 || length >= needed) {
        return std::wstring();
    }
    value.resize(length);
    return value;
}

HRESULT FromWin32(LONG error)
{
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}

bool SameId(const std::wstring& left, const wchar_t* right)
{
    // Component ids are compared as Windows does, without regard to case.
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right, -1, TRUE) ==
           CSTR_EQUAL;
}
