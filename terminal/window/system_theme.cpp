#include "system_theme.h"

namespace {

constexpr wchar_t PersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr wchar_t AppsUseLightThemeValue[] = L"AppsUseLightTheme";
// What Windows broadcasts when the app mode or the accent colours change.
constexpr wchar_t AppModeChangeName[] = L"ImmersiveColorSet";

using DwmSetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// A function of a system DLL, loaded from the system folder only; the DLL stays loaded. Looked up
// at each use: the theme changes seldom.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name)
{
    HMODULE module = GetModuleHandleW(dll);
    if (module == NULL) {
        module = LoadLibraryExW(dll, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (module == NULL) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

bool SystemAppsUseDarkTheme()
{
    DWORD light = 1;
    DWORD size = sizeof(light);
    LONG status = RegGetValueW(HKEY_CURRENT_USER, PersonalizeKey, AppsUseLightThemeValue, RRF_RT_REG_DWORD, NULL,
                               &light, &size);
    return status == ERROR_SUCCESS && light == 0;
}

bool IsAppModeChange(LPARAM lParam)
{
    const wchar_t* name = reinterpret_cast<const wchar_t*>(lParam);
    return name != NULL && lstrcmpiW(name, AppModeChangeName) == 0;
}

bool UseDarkTitleBar(HWND window, bool dark)
{
    auto setAttribute =
        SystemFunction<DwmSetWindowAttributeFunction>(L"dwmapi.dll", "DwmSetWindowAttribute");
    if (setAttribute == nullptr) {
        return false;
    }
    BOOL value = dark ? TRUE : FALSE;
    return SUCCEEDED(setAttribute(window, DarkTitleBarAttribute, &value, sizeof(value)));
}

void UsePlainControlStyle(HWND control, bool plain)
{
    auto setTheme = SystemFunction<SetWindowThemeFunction>(L"uxtheme.dll", "SetWindowTheme");
    if (setTheme != nullptr) {
        // A blank name matches no style, as Microsoft documents; null ones give the control its
        // own again.
        setTheme(control, plain ? L" " : NULL, plain ? L" " : NULL);
    }
}
