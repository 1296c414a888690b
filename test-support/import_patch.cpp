#include "import_patch.h"

#include <windows.h>

#include <string.h>

void* PatchModuleImport(HMODULE module, const char* function, void* replacement)
{
    BYTE* base = reinterpret_cast<BYTE*>(module);
    IMAGE_NT_HEADERS* headers =
        reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    void* original = nullptr;
    for (IMAGE_IMPORT_DESCRIPTOR* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name != 0; ++dll) {
        IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        IMAGE_THUNK_DATA* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            IMAGE_IMPORT_BY_NAME* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(name->Name), function) != 0) {
                continue;
            }
            DWORD protection = 0;
            VirtualProtect(&addresses->u1.Function, sizeof(addresses->u1.Function), PAGE_READWRITE, &protection);
            original = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&addresses->u1.Function, sizeof(addresses->u1.Function), protection, &protection);
        }
    }
    return original;
}

void* PatchImport(const char* function, void* replacement)
{
    return PatchModuleImport(GetModuleHandleW(NULL), function, replacement);
}
