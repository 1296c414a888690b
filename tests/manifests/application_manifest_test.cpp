// Each program's application manifest, read back from the built file as Windows reads it: the
// resource itself, then the activation context the system makes of it (run level, supported
// systems, window settings, the assemblies it depends on), compared whole with what each program
// is meant to declare.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

using Declarations = std::vector<std::string>;

const wchar_t WindowsSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const wchar_t WindowsSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

std::string GuidText(const GUID& id)
{
    char text[40];
    snprintf(text, sizeof(text), "{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
             static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
             id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

// The names of the program's manifest resources ("1" for CREATEPROCESS_MANIFEST_RESOURCE_ID).
BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    reinterpret_cast<Declarations*>(names)->push_back(
        IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : Narrow(name));
    return TRUE;
}

Declarations ManifestResources(const std::wstring& program)
{
    Declarations names;
    HMODULE image = LoadLibraryExW(program.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == NULL) {
        names.push_back("cannot load: error " + std::to_string(GetLastError()));
        return names;
    }
    EnumResourceNamesW(image, RT_MANIFEST, CollectName, reinterpret_cast<LONG_PTR>(&names));
    FreeLibrary(image);
    return names;
}

std::string RunLevel(HANDLE context)
{
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    if (!QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &level, sizeof(level), NULL)) {
        return "run level: cannot query, error " + std::to_string(GetLastError());
    }
    const char* names[] = {"unspecified", "asInvoker", "highestAvailable", "requireAdministrator"};
    std::string name = level.RunLevel < 4 ? names[level.RunLevel] : "unknown";
    return "run level: " + name + ", uiAccess " + (level.UiAccess ? "true" : "false");
}

// What the system returns today: a count, then entries of an id, a type and a tested version.
struct CompatibilityEntry {
    GUID id;
    DWORD type;
    ULONGLONG maxVersionTested;
};
struct CompatibilityList {
    DWORD count;
    CompatibilityEntry entries[8];
};

Declarations SupportedSystems(HANDLE context)
{
    Declarations systems;
    CompatibilityList list = {};
    SIZE_T written = 0;
    if (!QueryActCtxW(0, context, NULL, CompatibilityInformationInActivationContext, &list, sizeof(list),
                      &written)) {
        systems.push_back("compatibility: cannot query, error " + std::to_string(GetLastError()));
        return systems;
    }
    for (DWORD i = 0; i < list.count && i < 8; ++i) {
        // Type 1: a supportedOS element.
        systems.push_back((list.entries[i].type == 1 ? "supported OS: " : "other compatibility entry: ") +
                          GuidText(list.entries[i].id));
    }
    return systems;
}

// A window setting, or nothing when the manifest has none.
Declarations Setting(HANDLE context, const wchar_t* space, const wchar_t* name)
{
    wchar_t value[256] = L"";
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, space, name, value, 256, &written)) {
        return {};
    }
    return {Narrow(name) + ": " + Narrow(value)};
}

// The assemblies the program depends on (the program's own, which has no identity, left out).
Declarations Dependencies(HANDLE context)
{
    Declarations dependencies;
    // The fixed part, then the strings it points to.
    alignas(ACTIVATION_CONTEXT_DETAILED_INFORMATION) char detailBuffer[4096];
    const auto& details = *reinterpret_cast<ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(detailBuffer);
    if (!QueryActCtxW(0, context, NULL, ActivationContextDetailedInformation, detailBuffer, sizeof(detailBuffer),
                      NULL)) {
        dependencies.push_back("dependencies: cannot query, error " + std::to_string(GetLastError()));
        return dependencies;
    }
    for (DWORD index = 2; index <= details.ulAssemblyCount; ++index) {
        alignas(ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION) char buffer[4096];
        auto* assembly = reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer);
        if (!QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext, buffer, sizeof(buffer),
                          NULL)) {
            dependencies.push_back("an assembly that cannot be queried");
            continue;
        }
        // "Name,processorArchitecture=...,version="6.0.2600.2982"": the name, and the major and minor
        // version, which the manifest fixes (the system picks the newest build of them).
        std::string identity = Narrow(assembly->lpAssemblyEncodedAssemblyIdentity);
        std::string name = identity.substr(0, identity.find(','));
        size_t version = identity.find("version=\"");
        std::string majorMinor;
        if (version != std::string::npos) {
            version += 9;
            size_t minorEnd = identity.find('.', identity.find('.', version) + 1);
            majorMinor = identity.substr(version, minorEnd - version);
        }
        dependencies.push_back("depends on: " + name + " " + majorMinor);
    }
    return dependencies;
}

// Everything the system reads from the program's manifest, one declaration a line.
Declarations DeclarationsOf(const std::wstring& program)
{
    ACTCTXW request = {};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    if (context == INVALID_HANDLE_VALUE) {
        return {"the system refuses the manifest: error " + std::to_string(GetLastError())};
    }
    Declarations declarations = {RunLevel(context)};
    for (const Declarations& part :
         {SupportedSystems(context), Setting(context, WindowsSettings2005, L"dpiAware"),
          Setting(context, WindowsSettings2016, L"dpiAwareness"), Setting(context, WindowsSettings2016, L"longPathAware"),
          Dependencies(context)}) {
        declarations.insert(declarations.end(), part.begin(), part.end());
    }
    ReleaseActCtx(context);
    return declarations;
}

const Declarations OneManifest = {"1"};

// Programs people run: per-monitor DPI aware (version 2, else 1), long paths, Windows 10 and 11.
const Declarations CompanionDeclarations = {
    "run level: asInvoker, uiAccess false",
    "supported OS: {8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
    "dpiAware: true/pm",
    "dpiAwareness: PerMonitorV2, PerMonitor",
    "longPathAware: true",
};

TEST(ApplicationManifest, WindowTerminalAlsoAsksForCommonControlsSix)
{
    std::wstring program = PathBesideProgram(L"vornak-terminal.exe");
    EXPECT_EQ(OneManifest, ManifestResources(program));
    Declarations expected = CompanionDeclarations;
    expected.push_back("depends on: Microsoft.Windows.Common-Controls 6.0");
    EXPECT_EQ(expected, DeclarationsOf(program));
}

TEST(ApplicationManifest, ConsoleTerminalSenderAndSampleHostDeclareTheSameWithoutControls)
{
    for (const wchar_t* name : {L"vornak-terminal.com", L"vornak-send.exe", L"sample-host.exe"}) {
        std::wstring program = PathBesideProgram(name);
        EXPECT_EQ(OneManifest, ManifestResources(program)) << Narrow(name);
        EXPECT_EQ(CompanionDeclarations, DeclarationsOf(program)) << Narrow(name);
    }
}

TEST(ApplicationManifest, InstallerRunsAsInvokerOnWindowsTenAndElevenAndNothingMore)
{
    std::wstring program = PathBesideProgram(L"VrkQuelmor.exe");
    EXPECT_EQ(OneManifest, ManifestResources(program));
    Declarations expected = {
        "run level: asInvoker, uiAccess false",
        "supported OS: {8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
    };
    EXPECT_EQ(expected, DeclarationsOf(program));
}

} // namespace
