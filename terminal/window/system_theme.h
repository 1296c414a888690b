// What the system says of light and dark, and the parts of the window that only the system can
// colour: the title bar (through the desktop window manager), and the controls whose visual style
// would ignore the colours given them. The functions that do it are looked up at run time, so a
// system without them (or Wine, which lacks some) runs the window light where it cannot be dark.
#pragma once

#include <windows.h>

// The attribute that asks for a dark title bar (Windows 10 version 2004 and later).
constexpr DWORD DarkTitleBarAttribute = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE

// The user's app mode: HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize,
// AppsUseLightTheme 0. Missing or unreadable is light.
bool SystemAppsUseDarkTheme();

// WM_SETTINGCHANGE's lParam says the app mode (or the colours that go with it) changed.
bool IsAppModeChange(LPARAM lParam);

// Asks the desktop window manager for a dark (or light) title bar; false when it cannot be asked
// or refuses.
bool UseDarkTitleBar(HWND window, bool dark);

// Takes a control's visual style away (plain) or gives it back, so that the colours set on it are
// the ones drawn.
void UsePlainControlStyle(HWND control, bool plain);
