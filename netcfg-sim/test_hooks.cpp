// The hooks through which tests look at and reset the simulator.
#include <windows.h>

#include <cstdio>

#include "netcfg_sim_hooks.h"
#include "installed_components.h"
#include "live_references.h"
#include "sim_values.h"
#include "write_lock.h"

int NetCfgSim_LiveReferences(void)
{
    return LiveReferences::Total();
}

int NetCfgSim_IsLockFree(void)
{
    return WriteLock::IsLocked(NULL) ? 0 : 1;
}

void NetCfgSim_ResetState(void)
{
    HRESULT hr = InstalledComponents::ForgetAll();
    if (FAILED(hr)) {
        std::fprintf(stderr, "netcfg_sim: cannot forget the installed components (0x%08lx)\n",
                     static_cast<unsigned long>(hr));
        std::fflush(stderr);
    }
}

int NetCfgSim_IsInstalled(const wchar_t* componentId)
{
    GUID classGuid;
    bool installed = SUCCEEDED(CheckComponentId(componentId)) &&
                     InstalledComponents::Find(componentId, &classGuid);
    return installed ? 1 : 0;
}
