// The window is per-monitor DPI aware, so it sizes itself: its first size and its columns follow
// the DPI it starts at, and a change of DPI (the window moved to another monitor) moves it to the
// place the system suggests and resizes columns and fonts. Wine has one DPI for every monitor and
// never sends the change; a test sends it as the system would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "running_terminal.h"
#include "terminal_in_process.h"
#include "terminal_resource_ids.h"
#include "terminal_test_lock.h"
#include "window_layout.h"

namespace {

constexpr DWORD StartTimeoutMs = 20000;

// The system DPI for programs started while the object lives (Wine reads it when a program
// starts); the previous setting is put back afterwards.
class SystemDpiForNewPrograms {
public:
    explicit SystemDpiForNewPrograms(DWORD dpi)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        NULL, &key_, NULL);
        DWORD size = sizeof(previous_);
        hadPrevious_ = RegQueryValueExW(key_, L"LogPixels", NULL, NULL, reinterpret_cast<BYTE*>(&previous_),
                                        &size) == ERROR_SUCCESS;
        set_ = RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                              sizeof(dpi)) == ERROR_SUCCESS;
    }
    ~SystemDpiForNewPrograms()
    {
        if (hadPrevious_) {
            RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof(previous_));
        } else {
            RegDeleteValueW(key_, L"LogPixels");
        }
        RegCloseKey(key_);
    }
    bool IsSet() const { return set_; }

private:
    HKEY key_ = NULL;
    DWORD previous_ = 0;
    bool hadPrevious_ = false;
    bool set_ = false;
};

HWND LineList(HWND window)
{
    return FindWindowExW(window, NULL, WC_LISTVIEWW, NULL);
}

// "time 112, class 88": the widths of the two fixed columns (96 and 76 at 100 %, widened to what
// the list's font, Consolas 10 pt as Wine maps it, needs for a time and a class).
std::string FixedColumns(HWND list)
{
    return "time " + std::to_string(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0)) + ", class " +
           std::to_string(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0));
}

std::string SizeOf(const RECT& rect)
{
    return std::to_string(rect.right - rect.left) + " x " + std::to_string(rect.bottom - rect.top);
}

std::string PlaceOf(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + SizeOf(rect);
}

LONG FontHeight(HWND control)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    if (font == NULL || GetObjectW(font, sizeof(description), &description) == 0) {
        return 0;
    }
    return description.lfHeight < 0 ? -description.lfHeight : description.lfHeight;
}

int ButtonHeight(HWND toolbar)
{
    return HIWORD(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
}

// The toolbar's buttons are not cut at its bottom (the filter box's row).
bool ButtonsFit(HWND toolbar)
{
    RECT row = {};
    GetClientRect(toolbar, &row);
    return ButtonHeight(toolbar) <= row.bottom;
}

TEST(DpiScaling, ChangeOfDpiMovesTheWindowWhereSuggestedAndResizesColumnsAndFonts)
{
    TerminalTestLock lock;
    ASSERT_EQ(96u, GetDpiForSystem()) << "the test prefix is expected at 100 %";
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND window = terminal.Window();
    HWND list = LineList(window);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ("time 112, class 88", FixedColumns(list));
    LONG fontAt96 = FontHeight(list);
    ASSERT_NE(0, fontAt96);
    HWND toolbar = GetDlgItem(window, TOOLBAR_CONTROL);
    LONG toolbarFontAt96 = FontHeight(toolbar);
    ASSERT_NE(0, toolbarFontAt96);
    int buttonsAt96 = ButtonHeight(toolbar);
    EXPECT_TRUE(ButtonsFit(toolbar));

    RECT suggested = {10, 20, 610, 420};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ("10,20 600 x 400", PlaceOf(placed));
    EXPECT_EQ("time 168, class 132", FixedColumns(list));
    EXPECT_EQ(MulDiv(fontAt96, 144, 96), FontHeight(list));
    // The toolbar's text buttons grow with their font, up to 200 %, and stay within the filter
    // box's row.
    EXPECT_EQ(MulDiv(toolbarFontAt96, 144, 96), FontHeight(toolbar));
    int buttonsAt144 = ButtonHeight(toolbar);
    EXPECT_TRUE(ButtonsFit(toolbar));
    RECT doubled = {10, 20, 810, 553};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&doubled));
    EXPECT_EQ(toolbarFontAt96 * 2, FontHeight(toolbar));
    EXPECT_TRUE(ButtonsFit(toolbar));
    EXPECT_LT(buttonsAt96, buttonsAt144);
    EXPECT_LT(buttonsAt144, ButtonHeight(toolbar));

    // And back: the widths are what they were.
    RECT back = {10, 20, 410, 287};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ("time 112, class 88", FixedColumns(list));
    EXPECT_EQ(fontAt96, FontHeight(list));
    EXPECT_EQ(buttonsAt96, ButtonHeight(toolbar));
    EXPECT_EQ(0, terminal.Stop());
}

TEST(DpiScaling, WindowStartedAtOneHundredFiftyPercentIsSizedForIt)
{
    // The first size, not one a run before remembered.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vornak\\DebugTerminal");
    TerminalTestLock lock;
    CapturedProgram program;
    HWND window = NULL;
    {
        SystemDpiForNewPrograms dpi(144);
        ASSERT_TRUE(dpi.IsSet());
        ASSERT_TRUE(program.Start(PathBesideProgram(L"vornak-terminal.exe"), {}));
        for (DWORD waited = 0; waited < StartTimeoutMs && window == NULL && !program.HasEnded(); waited += 10) {
            Sleep(10);
            window = FindTerminalOf(program.ProcessId()) != NULL ? FindFrameOf(program.ProcessId()) : NULL;
        }
    }
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitUntilHandlingMessages(window));
    EXPECT_EQ("time 168, class 132", FixedColumns(LineList(window)));

    // 900 x 520 at 100 %, unless the screen's work area is smaller.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    RECT expected = {0, 0, std::min<LONG>(1350, monitor.rcWork.right - monitor.rcWork.left),
                     std::min<LONG>(780, monitor.rcWork.bottom - monitor.rcWork.top)};
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ(SizeOf(expected), SizeOf(placed));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program.Wait(StartTimeoutMs));
}

// A title bar on no monitor (one since unplugged) comes back into the work area, its size kept; a
// window only partly off the screen stays where the user put it.
TEST(DpiScaling, AWindowWhoseTitleBarIsOnNoMonitorComesBackOnTheScreen)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& work = monitor.rcWork;
    std::vector<std::string> placed;
    for (POINT start : {POINT{work.left - 5000, work.top - 5000}, POINT{work.left - 300, work.top + 30}}) {
        WindowControls controls;
        controls.frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, start.x, start.y, 600, 300, NULL,
                                         NULL, NULL, NULL);
        ASSERT_NE(nullptr, controls.frame);
        BringTitleBarOnScreen(controls);
        RECT window = {};
        GetWindowRect(controls.frame, &window);
        window.left -= work.left;
        window.right -= work.left;
        window.top -= work.top;
        window.bottom -= work.top;
        placed.push_back(PlaceOf(window));
        DestroyWindow(controls.frame);
    }
    EXPECT_EQ((std::vector<std::string>{"0,0 600 x 300", "-300,30 600 x 300"}), placed);
}

} // namespace
