// The components committed installed, kept for the whole prefix in the registry under
// HKLM\Software\Vornak\NetCfgSim\Installed: one value per component id, holding its class GUID.
#pragma once

#include <windows.h>

namespace InstalledComponents {

// Longest component id accepted, in characters.
const size_t MaxIdLength = 255;

// True when id is committed installed; *classGuid then receives its class.
bool Find(const wchar_t* id, GUID* classGuid);

HRESULT CommitInstall(const wchar_t* id, const GUID& classGuid);
HRESULT CommitRemoval(const wchar_t* id);
HRESULT ForgetAll();

} // namespace InstalledComponents
