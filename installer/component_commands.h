// The installer's two commands and the install step they are built from.
#pragma once

#include <windows.h>

#include "net_config.h"

// Places the INF (when infPath is given) in the system's INF store, installs componentId in the
// class classGuid on behalf of the user and, when that succeeds outright, applies the change.
HRESULT InstallFromInf(NetConfigHandle netConfig, const wchar_t* componentId, const GUID* classGuid,
                       const wchar_t* infPath);

// Install and uninstall the protocol driver, printing progress and every failure. Both return 0.
int InstallSpecifiedComponent();
int UninstallSpecifiedComponent();
