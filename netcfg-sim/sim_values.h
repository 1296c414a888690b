// Checks and copies shared by the simulator's objects.
#pragma once

#include <windows.h>
#include <netcfgx.h>

#include <string>

// E_POINTER for NULL, E_INVALIDARG for an empty id or one longer than the store keeps.
HRESULT CheckComponentId(const wchar_t* id);

// E_POINTER for NULL, E_INVALIDARG for an unknown token type.
HRESULT CheckOnBehalf(const OBO_TOKEN* token);

// The device classes the network configuration manages.
bool IsNetworkClass(const GUID& classGuid);

// A CoTaskMemAlloc'ed copy of text in *out (NULL and E_OUTOFMEMORY when that fails).
HRESULT CopyToTaskMemory(const std::wstring& text, wchar_t** out);

bool SameId(const std::wstring& left, const wchar_t* right);

// The value of an environment variable of this process; empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name);

// The result code of a registry call's error (S_OK for ERROR_SUCCESS).
HRESULT FromWin32(LONG error);
