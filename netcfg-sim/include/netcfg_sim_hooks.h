// Test hooks of the simulated network configuration service (netcfg_sim.dll). Link the
// netcfg_sim target, or look the names up with GetProcAddress.
#pragma once

#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

// References currently held on every live simulator object in this process (0: nothing leaked).
int NetCfgSim_LiveReferences(void);

// 1 when no one, this process included, holds the system-wide write lock, else 0.
int NetCfgSim_IsLockFree(void);

// Forgets every committed component in the whole prefix.
void NetCfgSim_ResetState(void);

// 1 when componentId is committed installed in the prefix, else 0.
int NetCfgSim_IsInstalled(const wchar_t* componentId);

#ifdef __cplusplus
}
#endif
