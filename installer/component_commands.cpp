#include "component_commands.h"

#include <devguid.h>
#include <objbase.h>
#include <setupapi.h>

#include "console_output.h"
#include "error_report.h"
#include "inf_path.h"
#include "installer_texts.h"

namespace {

// Installed and removed on behalf of the user, not of another component or program.
OBO_TOKEN UserOnBehalfRecord()
{
    OBO_TOKEN onBehalf;
    ZeroMemory(&onBehalf, sizeof(onBehalf));
    onBehalf.Type = OBO_USER;
    return onBehalf;
}

// Places the INF in the system's INF store, with its own folder as the media location.
HRESULT CopyInfToStore(const wchar_t* infPath)
{
    wchar_t mediaLocation[PathCapacity];
    if (!FolderOfPath(infPath, mediaLocation, PathCapacity)) {
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    }
    if (SetupCopyOEMInfW(infPath, mediaLocation, SPOST_PATH, 0, NULL, 0, NULL, NULL)) {
        return S_OK;
    }
    return ResultFromErrorNumber(GetLastError());
}

// The failure of OpenNetConfig, told the command's way: a refused lock names its holder.
void ReportOpenFailure(HRESULT hr, const wchar_t* lockHolder, const wchar_t* failedOpenText)
{
    if (hr == NETCFG_E_NO_WRITE_LOCK && lockHolder != NULL) {
        ReportError(hr, LockHeldFormat, lockHolder);
    } else {
        ReportError(hr, failedOpenText);
    }
}

// The INF beside this program. False when the program's path is unknown or the INF path does
// not fit in the buffer.
bool GetInfPath(wchar_t* infPath, DWORD capacity)
{
    DWORD length = GetModuleFileNameW(NULL, infPath, capacity);
    // A path that filled the whole buffer was cut; a folder made from it would be wrong.
    if (length == 0 || length >= capacity) {
        return false;
    }
    return SiblingPath(infPath, InfBaseName, InfExtension, infPath, capacity);
}

} // namespace

HRESULT InstallFromInf(NetConfigHandle netConfig, const wchar_t* componentId, const GUID* classGuid,
                       const wchar_t* infPath)
{
    INetCfgClassSetup* setup = NULL;
    INetCfgComponent* component = NULL;
    OBO_TOKEN onBehalf = UserOnBehalfRecord();
    HRESULT hr = S_OK;

    if (infPath != NULL) {
        hr = CopyInfToStore(infPath);
        if (hr != S_OK) {
            goto Cleanup;
        }
    }
    hr = netConfig->QueryNetCfgClass(classGuid, IID_INetCfgClassSetup, reinterpret_cast<void**>(&setup));
    if (hr != S_OK) {
        goto Cleanup;
    }
    // A request for a restart (NETCFG_S_REBOOT) is left to the caller, unapplied.
    hr = setup->Install(componentId, &onBehalf, 0, 0, NULL, NULL, &component);
    if (hr != S_OK) {
        goto Cleanup;
    }
    hr = netConfig->Apply();

Cleanup:
    // A component handed back with a success code other than S_OK is released too.
    ReleaseInterface(component);
    ReleaseInterface(setup);
    return hr;
}

int InstallSpecifiedComponent()
{
    NetConfigHandle netConfig = NULL;
    wchar_t* lockHolder = NULL;
    wchar_t infPath[PathCapacity];
    HRESULT hr;

    PrintFormatted(InstallingFormat, DriverDisplayName);
    if (!GetInfPath(infPath, PathCapacity)) {
        PrintText(NoInfPathText);
        return 0;
    }
    PrintFormatted(InfPathFormat, infPath);
    PrintFormatted(PnpIdFormat, ComponentId);

    hr = OpenNetConfig(true, LockClientName, &netConfig, &lockHolder);
    if (hr != S_OK) {
        ReportOpenFailure(hr, lockHolder, InstallFailedOpenText);
        goto Cleanup;
    }
    hr = InstallFromInf(netConfig, ComponentId, &GUID_DEVCLASS_NETTRANS, infPath);
    if (hr == S_OK || hr == NETCFG_S_REBOOT) {
        // Applied again even when InstallFromInf has just applied the change, as the command always
        // has: with nothing pending the second Apply does no harm, and after a request for a
        // restart it is the one that applies.
        hr = netConfig->Apply();
    } else if (hr != HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        ReportError(hr, InstallFailedText);
    }

Cleanup:
    // A failed close is not reported: the command's outcome is already decided.
    if (netConfig != NULL) {
        CloseNetConfig(netConfig, true);
    }
    if (lockHolder != NULL) {
        CoTaskMemFree(lockHolder);
    }
    if (hr != S_OK) {
        ReportError(hr, InstallFinalText);
    }
    return 0;
}

int UninstallSpecifiedComponent()
{
    NetConfigHandle netConfig = NULL;
    wchar_t* lockHolder = NULL;
    INetCfgComponent* component = NULL;
    INetCfgClass* netClass = NULL;
    INetCfgClassSetup* setup = NULL;
    OBO_TOKEN onBehalf = UserOnBehalfRecord();
    GUID classGuid;
    HRESULT hr;

    PrintFormatted(UninstallingFormat, DriverDisplayName);

    hr = OpenNetConfig(true, LockClientName, &netConfig, &lockHolder);
    if (hr != S_OK) {
        ReportOpenFailure(hr, lockHolder, UninstallFailedOpenText);
        goto Cleanup;
    }
    // S_FALSE from FindComponent means the component is not installed: a failure too.
    hr = netConfig->FindComponent(ComponentId, &component);
    if (hr != S_OK) {
        ReportError(hr, FindComponentFailedFormat, ComponentId);
        goto Cleanup;
    }
    hr = component->GetClassGuid(&classGuid);
    if (hr != S_OK) {
        ReportError(hr, ClassGuidFailedFormat, ComponentId);
        goto Cleanup;
    }
    hr = netConfig->QueryNetCfgClass(&classGuid, IID_INetCfgClass, reinterpret_cast<void**>(&netClass));
    if (hr != S_OK) {
        ReportError(hr, ClassInterfaceFailedFormat, ComponentId);
        goto Cleanup;
    }
    hr = netClass->QueryInterface(IID_INetCfgClassSetup, reinterpret_cast<void**>(&setup));
    if (hr != S_OK) {
        ReportError(hr, ClassSetupFailedText);
        goto Cleanup;
    }
    hr = setup->DeInstall(component, &onBehalf, NULL);
    if (hr != S_OK && hr != NETCFG_S_REBOOT) {
        ReportError(hr, UninstallFailedFormat, ComponentId);
        goto Cleanup;
    }
    hr = netConfig->Apply();
    if (hr != S_OK && hr != NETCFG_S_REBOOT) {
        ReportError(hr, UninstallApplyFailedFormat, ComponentId);
    }

Cleanup:
    ReleaseInterface(setup);
    ReleaseInterface(netClass);
    ReleaseInterface(component);
    // A failed close is not reported: the command's outcome is already decided.
    if (netConfig != NULL) {
        CloseNetConfig(netConfig, true);
    }
    if (lockHolder != NULL) {
        CoTaskMemFree(lockHolder);
    }
    return 0;
}
