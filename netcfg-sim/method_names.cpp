#include "method_names.h"

#include <cstring>

namespace {

const char* const Known[] = {
    MethodNames::CreateInstance,
    "IClassFactory::QueryInterface",
    "IClassFactory::LockServer",
    "INetCfg::QueryInterface",
    "INetCfg::Initialize",
    "INetCfg::Uninitialize",
    "INetCfg::Apply",
    "INetCfg::Cancel",
    "INetCfg::EnumComponents",
    "INetCfg::FindComponent",
    "INetCfg::QueryNetCfgClass",
    "INetCfgLock::QueryInterface",
    "INetCfgLock::AcquireWriteLock",
    "INetCfgLock::ReleaseWriteLock",
    "INetCfgLock::IsWriteLocked",
    "INetCfgClass::QueryInterface",
    "INetCfgClass::FindComponent",
    "INetCfgClass::EnumComponents",
    "INetCfgClassSetup::QueryInterface",
    "INetCfgClassSetup::SelectAndInstall",
    "INetCfgClassSetup::Install",
    "INetCfgClassSetup::DeInstall",
    "INetCfgComponent::QueryInterface",
    "INetCfgComponent::GetDisplayName",
    "INetCfgComponent::SetDisplayName",
    "INetCfgComponent::GetHelpText",
    "INetCfgComponent::GetId",
    "INetCfgComponent::GetCharacteristics",
    "INetCfgComponent::GetInstanceGuid",
    "INetCfgComponent::GetPnpDevNodeId",
    "INetCfgComponent::GetClassGuid",
    "INetCfgComponent::GetBindName",
    "INetCfgComponent::GetDeviceStatus",
    "INetCfgComponent::OpenParamKey",
    "INetCfgComponent::RaisePropertyUi",
};

} // namespace

namespace MethodNames {

bool IsKnown(const char* name, size_t length)
{
    for (const char* known : Known) {
        if (std::strlen(known) == length && std::strncmp(known, name, length) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace MethodNames
