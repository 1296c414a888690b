// The window's viewer features, driven as a user drives them: menu commands (WM_COMMAND with the
// menu's ids), text typed into the filter and find boxes, the rules dialog, a file dropped on the
// window, a rules file on the command line. The window runs in this process (hidden), so the test
// reads its list, status bar and menu directly, and replaces the file dialogs and message boxes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <stddef.h>

#include <functional>
#include <string>
#include <vector>

#include "captured_program.h"
#include "child_process.h"
#include "dropped_file.h"
#include "file_bytes.h"
#include "frame_class.h"
#include "non_copyable.h"
#include "patched_import.h"
#include "system_error_text.h"
#include "temporary_file.h"
#include "terminal_in_process.h"
#include "terminal_resource_ids.h"
#include "terminal_settings.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"
#include "vornakdbg32.h"
#include "window_theme.h"

namespace {

// A settings key of one test's own below the tests' key: empty when the test starts, and gone
// when it ends, also when an assertion ends it early.
class ScratchSettings : private NonCopyable {
public:
    explicit ScratchSettings(const wchar_t* name) : key_(std::wstring(TestSettingsKey) + L"\\" + name)
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    }
    ~ScratchSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    const std::wstring& Key() const { return key_; }
    // Window options that keep their settings under this key.
    WindowOptions Options() const
    {
        WindowOptions options;
        options.settingsKey = key_;
        return options;
    }

private:
    std::wstring key_;
};

constexpr int WaitTries = 1000;
constexpr DWORD PollMs = 10;

std::string Narrow(const std::wstring& wide)
{
    std::string out;
    for (wchar_t c : wide) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

bool WaitFor(const std::function<bool()>& condition)
{
    for (int tries = 0; tries < WaitTries; ++tries) {
        if (condition()) {
            return true;
        }
        Sleep(PollMs);
    }
    return condition();
}

void Command(HWND frame, int command)
{
    SendMessageW(frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

HWND List(HWND frame)
{
    return GetDlgItem(frame, LIST_CONTROL);
}

std::string Cell(HWND list, int row, int column)
{
    wchar_t text[1200] = L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1200;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return Narrow(text);
}

// The text column of every shown row.
std::vector<std::string> ShownTexts(HWND frame)
{
    HWND list = List(frame);
    std::vector<std::string> texts;
    int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        texts.push_back(Cell(list, row, 2));
    }
    return texts;
}

std::vector<std::string> TimeColumn(HWND frame)
{
    HWND list = List(frame);
    std::vector<std::string> times;
    int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        times.push_back(Cell(list, row, 0));
    }
    return times;
}

// The time column's title.
std::string TimeTitle(HWND frame)
{
    wchar_t text[64] = L"";
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 64;
    ListView_GetColumn(List(frame), 0, &column);
    return Narrow(text);
}

bool WaitForRows(HWND frame, int count)
{
    return WaitFor([&] { return ListView_GetItemCount(List(frame)) == count; });
}

std::string StatusText(HWND frame)
{
    wchar_t text[1024] = L"";
    HWND status = GetDlgItem(frame, STATUS_CONTROL);
    if (LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, 0, 0)) < 1024) {
        SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    }
    return Narrow(text);
}

int SelectedRow(HWND frame)
{
    return ListView_GetNextItem(List(frame), -1, LVNI_SELECTED);
}

// The background the window gives a row when the list asks how to draw it; CLR_DEFAULT when the
// list's own.
COLORREF RowBackground(HWND frame, int row)
{
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = List(frame);
    draw.nmcd.hdr.idFrom = LIST_CONTROL;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = CLR_DEFAULT;
    draw.clrTextBk = CLR_DEFAULT;
    SendMessageW(frame, WM_NOTIFY, LIST_CONTROL, reinterpret_cast<LPARAM>(&draw));
    return draw.clrTextBk;
}

// What the window answers when the list asks how to draw a row (stage CDDS_ITEMPREPAINT) or one
// of its cells (with CDDS_SUBITEM).
LRESULT CustomDrawReply(HWND frame, int row, DWORD stage, int column)
{
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = List(frame);
    draw.nmcd.hdr.idFrom = LIST_CONTROL;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.iSubItem = column;
    return SendMessageW(frame, WM_NOTIFY, LIST_CONTROL, reinterpret_cast<LPARAM>(&draw));
}

bool MenuChecked(HWND frame, int command)
{
    return (GetMenuState(GetMenu(frame), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SendLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        VornakDbg_Message("%s", line.c_str());
    }
}

// A file as the terminal's Save writes it.
std::string LogText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// The file dialogs answer with this path; the message boxes are recorded.
std::wstring DialogAnswer;
std::vector<std::string> MessageBoxTexts;
int MessageBoxAnswer = IDOK;

BOOL WINAPI AnswerFileDialog(OPENFILENAMEW* dialog)
{
    lstrcpynW(dialog->lpstrFile, DialogAnswer.c_str(), static_cast<int>(dialog->nMaxFile));
    return TRUE;
}

int WINAPI RecordMessageBox(HWND, LPCWSTR text, LPCWSTR, UINT)
{
    MessageBoxTexts.push_back(Narrow(text));
    return MessageBoxAnswer;
}

void WriteRules(const TemporaryFile& file, const std::string& text)
{
    ASSERT_TRUE(WriteFileBytes(file.Path(), text));
}

// Holds the window's thread as a long file read or a modal loop would: the frame's procedure,
// replaced from this process, waits inside a message until released (or 60 s have passed).
class HeldWindowThread : private NonCopyable {
public:
    explicit HeldWindowThread(HWND frame) : frame_(frame)
    {
        ResetEvent(Held);
        ResetEvent(Free);
        ResetEvent(Left);
        Original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HoldingProc)));
        PostMessageW(frame, HoldMessage, 0, 0);
    }
    ~HeldWindowThread() { Release(); }

    // Once the thread is in the held message: whether it still is (neither released nor timed out).
    static bool Holding() { return WaitForSingleObject(Held, 10000) == WAIT_OBJECT_0 && StillHeld(); }
    static bool StillHeld() { return WaitForSingleObject(Left, 0) != WAIT_OBJECT_0; }
    void Release()
    {
        SetEvent(Free);
        if (Original != NULL) {
            SendMessageW(frame_, WM_NULL, 0, 0);  // back from the held message
            SetWindowLongPtrW(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Original));
            Original = NULL;
        }
    }

private:
    static constexpr UINT HoldMessage = WM_APP + 100;
    static LRESULT CALLBACK HoldingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == HoldMessage) {
            SetEvent(Held);
            WaitForSingleObject(Free, 60000);
            SetEvent(Left);
            return 0;
        }
        return CallWindowProcW(Original, window, message, wParam, lParam);
    }
    static inline WNDPROC Original = NULL;
    static inline HANDLE Held = CreateEventW(NULL, TRUE, FALSE, NULL);
    static inline HANDLE Free = CreateEventW(NULL, TRUE, FALSE, NULL);
    static inline HANDLE Left = CreateEventW(NULL, TRUE, FALSE, NULL);
    HWND frame_;
};

class WindowFeatures : public ::testing::Test {
protected:
    void SetUp() override
    {
        MessageBoxTexts.clear();
        MessageBoxAnswer = IDOK;
        ASSERT_TRUE(openPatch_.Applied());
        ASSERT_TRUE(savePatch_.Applied());
        ASSERT_TRUE(boxPatch_.Applied());
    }

    TerminalTestLock lock_;
    PatchedImport openPatch_{"GetOpenFileNameW", AnswerFileDialog};
    PatchedImport savePatch_{"GetSaveFileNameW", AnswerFileDialog};
    PatchedImport boxPatch_{"MessageBoxW", RecordMessageBox};
    TemporaryFile rules_{L"rules"};
};

TEST_F(WindowFeatures, RulesFileOnTheCommandLineHidesExcludedLinesAndColoursHighlightedOnes)
{
    WriteRules(rules_, "exclude 'noise'\n"
                       "highlight #FF8080 'link down'\n"
                       "highlight #80FF80 class=log regex '^scan (started|finished)'\n");
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, TestWindowOptions(rules_.Path()));
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"probing adapter 1", "noise: heartbeat", "adapter 2: link down", "NOISE again", "done"});
    VornakLog_Message("scan finished");
    ASSERT_TRUE(WaitForRows(frame, 4));
    EXPECT_EQ((std::vector<std::string>{"probing adapter 1", "adapter 2: link down", "done", "scan finished"}),
              ShownTexts(frame));
    EXPECT_EQ(CLR_DEFAULT, RowBackground(frame, 0));
    EXPECT_EQ(RGB(0xFF, 0x80, 0x80), RowBackground(frame, 1));
    EXPECT_EQ(RGB(0x80, 0xFF, 0x80), RowBackground(frame, 3));
    EXPECT_NE(std::string::npos, StatusText(frame).find("4 lines shown of 6 kept; following; 3 rules"))
        << StatusText(frame);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, OutputDebugStringLinesShowTheirProcessAndFilterByThisProcessKeepsOnlyThem)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, TestWindowOptions());
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    HWND list = List(frame);
    EXPECT_TRUE(MenuChecked(frame, CAPTURE_ODS_COMMAND));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("from the library"));
    ASSERT_TRUE(WaitForRows(frame, 1));
    HANDLE mayEnd = CreateEventW(NULL, TRUE, FALSE, L"vornak-window-ods-writer-may-end");
    CapturedProgram writer;
    ASSERT_TRUE(writer.Start(PathBesideProgram(L"ods-writer.exe"), {L"vornak-window-ods-writer-may-end", L"one\ntwo"}));
    ASSERT_TRUE(WaitForRows(frame, 3));
    std::string process = "ods-writer.exe (" + std::to_string(writer.ProcessId()) + ")";
    std::vector<std::string> rows;
    for (int row = 0; row < 3; ++row) {
        rows.push_back(Cell(list, row, 1) + " | " + Cell(list, row, 3) + " | " + Cell(list, row, 2));
    }
    EXPECT_EQ((std::vector<std::string>{"log |  | from the library", "ods | " + process + " | one",
                                        "ods | " + process + " | two"}),
              rows);

    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(frame, FILTER_BY_PROCESS_COMMAND);
    ASSERT_TRUE(WaitForRows(frame, 2));
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), ShownTexts(frame));
    EXPECT_NE(std::string::npos, StatusText(frame).find("only the lines of ods-writer.exe are shown")) << StatusText(frame);

    // Off, the buffer is free for another monitor.
    Command(frame, CAPTURE_ODS_COMMAND);
    EXPECT_FALSE(MenuChecked(frame, CAPTURE_ODS_COMMAND));
    HANDLE buffer = CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER");
    EXPECT_NE(ERROR_ALREADY_EXISTS, GetLastError());
    CloseHandle(buffer);
    SetEvent(mayEnd);
    EXPECT_EQ(0, writer.Wait(10000));
    CloseHandle(mayEnd);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, BadRulesFileOnTheCommandLineIsRefusedWithItsLineAndTheWindowDoesNotStart)
{
    WriteRules(rules_, "exclude 'noise'\n"
                       "exclude regex 'a(b'\n");
    TemporaryFile errors(L"rules-errors");
    HANDLE errorHandle = CreateFileW(errors.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, NULL);
    StandardStreams streams;
    streams.error = errorHandle;
    int status = RunTerminalWindow(GetModuleHandleW(NULL), SW_HIDE, streams, TestWindowOptions(rules_.Path()));
    CloseHandle(errorHandle);
    EXPECT_EQ(64, status);
    EXPECT_EQ("vornak-terminal: cannot use the rules file " + Narrow(rules_.Path()) +
                  ": rule 2, exclude \"a(b\": missing ) for the ( at character 2\n",
              errors.Text());
    EXPECT_EQ(NULL, FindWindowA("VornakDebugTerminal", NULL));
}

TEST_F(WindowFeatures, QuickFilterShowsOnlyLinesHoldingItsTextWhateverTheCase)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"Adapter 1 up", "timer tick", "adapter 2 down", "timer tick"});
    ASSERT_TRUE(WaitForRows(frame, 4));
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"ADAPTER");
    ASSERT_TRUE(WaitForRows(frame, 2));
    EXPECT_EQ((std::vector<std::string>{"Adapter 1 up", "adapter 2 down"}), ShownTexts(frame));
    // Lines that come later pass the same filter.
    SendLines({"tick", "adapter 3 up"});
    ASSERT_TRUE(WaitForRows(frame, 3));
    EXPECT_EQ((std::vector<std::string>{"Adapter 1 up", "adapter 2 down", "adapter 3 up"}), ShownTexts(frame));
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"");
    ASSERT_TRUE(WaitForRows(frame, 6));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, AFilterChangeKeepsTheSelectedLineSelectedOrElseTheNearestShownBeforeIt)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"boot", "port 1 up", "disk full", "port 2 down", "tick"});
    ASSERT_TRUE(WaitForRows(frame, 5));
    ListView_SetItemState(List(frame), 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    auto selectedText = [&] { return SelectedRow(frame) < 0 ? std::string() : Cell(List(frame), SelectedRow(frame), 2); };

    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"d");  // "disk full" and "port 2 down"
    ASSERT_TRUE(WaitForRows(frame, 2));
    EXPECT_EQ("disk full", selectedText());
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"port");
    ASSERT_TRUE(WaitFor([&] { return ShownTexts(frame) == std::vector<std::string>{"port 1 up", "port 2 down"}; }));
    EXPECT_EQ("port 1 up", selectedText());
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"");
    ASSERT_TRUE(WaitForRows(frame, 5));
    EXPECT_EQ("port 1 up", selectedText());
    EXPECT_NE(std::string::npos, StatusText(frame).find("; not following (End follows again)")) << StatusText(frame);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, CtrlUShowsTheSelectedLineAmongAllLinesAndAgainGoesBackToTheFilteredOnes)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"boot", "port 1 up", "disk full", "port 2 down", "tick"});
    ASSERT_TRUE(WaitForRows(frame, 5));
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"port");
    ASSERT_TRUE(WaitForRows(frame, 2));
    ListView_SetItemState(List(frame), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    Command(frame, SHOW_ALL_LINES_COMMAND);
    EXPECT_EQ((std::vector<std::string>{"boot", "port 1 up", "disk full", "port 2 down", "tick"}), ShownTexts(frame));
    EXPECT_EQ(3, SelectedRow(frame));
    EXPECT_NE(std::string::npos, StatusText(frame).find("; all lines shown (Ctrl+U shows the filtered ones again)"))
        << StatusText(frame);
    Command(frame, SHOW_ALL_LINES_COMMAND);
    EXPECT_EQ((std::vector<std::string>{"port 1 up", "port 2 down"}), ShownTexts(frame));
    EXPECT_EQ(1, SelectedRow(frame));

    HACCEL keys = LoadAcceleratorsW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(TERMINAL_ACCELERATORS));
    ACCEL table[32];
    int count = CopyAcceleratorTableW(keys, table, 32);
    bool ctrlU = false;
    for (int i = 0; i < count; ++i) {
        ctrlU |= table[i].cmd == SHOW_ALL_LINES_COMMAND && table[i].key == 'U' &&
                 (table[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT)) == (FVIRTKEY | FCONTROL);
    }
    EXPECT_TRUE(ctrlU);
    DestroyAcceleratorTable(keys);
    EXPECT_EQ(0, terminal.Stop());
}

// The rules dialog of the window, once it is open; NULL after 10 s.
HWND WaitForRulesDialog(HWND frame)
{
    HWND dialog = NULL;
    WaitFor([&] {
        dialog = FindWindowW(L"#32770", L"Rules");
        // Shown only once WM_INITDIALOG has filled it in.
        return dialog != NULL && GetWindow(dialog, GW_OWNER) == frame && IsWindowVisible(dialog);
    });
    return dialog;
}

std::string DialogText(HWND dialog, int control)
{
    wchar_t text[512] = L"";
    GetDlgItemTextW(dialog, control, text, 512);
    return Narrow(text);
}

TEST_F(WindowFeatures, RulesDialogRefusesABadRegularExpressionAndThenAppliesGoodRulesToKeptLines)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"open port 1", "retry 1", "open port 2", "retry 2", "closed"});
    ASSERT_TRUE(WaitForRows(frame, 5));

    PostMessageW(frame, WM_COMMAND, RULES_COMMAND, 0);
    HWND dialog = WaitForRulesDialog(frame);
    ASSERT_NE(HWND(NULL), dialog);
    SetDlgItemTextW(dialog, RULES_EDIT, L"include 'port'\r\nexclude regex 'port (2|'\r\n");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_EQ("rule 2, exclude \"port (2|\": missing ) for the ( at character 6", DialogText(dialog, RULES_ERROR_TEXT));
    EXPECT_EQ(5, ListView_GetItemCount(List(frame)));  // the old rules (none) still hold

    SetDlgItemTextW(dialog, RULES_EDIT, L"exclude regex 'port (2|3)'\r\ninclude 'port'\r\ninclude class=debug 'closed'\r\n");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    ASSERT_TRUE(WaitForRows(frame, 2));
    EXPECT_EQ((std::vector<std::string>{"open port 1", "closed"}), ShownTexts(frame));
    EXPECT_EQ(0, terminal.Stop());
}

// The items of the popup menu open in this process's windows (the class Windows gives menus).
std::vector<std::string> OpenMenuItems()
{
    std::vector<std::string> items;
    HWND popup = NULL;
    WaitFor([&] { return (popup = FindWindowW(L"#32768", NULL)) != NULL && IsWindowVisible(popup); });
    HMENU menu = popup != NULL ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : NULL;
    for (int i = 0; menu != NULL && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        items.push_back(Narrow(text));
    }
    return items;
}

std::string ClipboardText()
{
    std::wstring text;
    if (OpenClipboard(NULL)) {
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const wchar_t* locked = data != NULL ? static_cast<const wchar_t*>(GlobalLock(data)) : NULL;
        if (locked != NULL) {
            text = locked;
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return Narrow(text);
}

TEST_F(WindowFeatures, TheListsMenuCopiesTextOnlyFiltersByTaskAndOpensARuleLikeTheLineToAdjust)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    HWND list = List(frame);
    SendLines({"Scanner : probe 1", "Uploader : send", "Scanner : probe 2", "noise"});
    ASSERT_TRUE(WaitForRows(frame, 4));
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    // From the keyboard (Shift+F10, the context-menu key), at the selected row.
    PostMessageW(frame, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    EXPECT_EQ((std::vector<std::string>{"&Copy\tCtrl+C", "Copy &text only\tCtrl+Shift+C", "Toggle &bookmark\tCtrl+F2", "",
                                        "&Include lines like this...", "&Exclude lines like this...",
                                        "&Highlight lines like this...", "", "Filter by this t&ask",
                                        "Filter by this &process", "Show in all l&ines\tCtrl+U"}),
              OpenMenuItems());
    PostMessageW(frame, WM_CANCELMODE, 0, 0);

    Command(frame, FILTER_BY_TASK_COMMAND);
    ASSERT_TRUE(WaitForRows(frame, 2));
    EXPECT_EQ((std::vector<std::string>{"Scanner : probe 1", "Scanner : probe 2"}), ShownTexts(frame));
    EXPECT_NE(std::string::npos, StatusText(frame).find("only the lines of Scanner are shown")) << StatusText(frame);
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    Command(frame, COPY_TEXT_COMMAND);
    EXPECT_EQ("Scanner : probe 1\r\nScanner : probe 2\r\n", ClipboardText());

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    PostMessageW(frame, WM_COMMAND, EXCLUDE_LIKE_THIS_COMMAND, 0);
    HWND dialog = WaitForRulesDialog(frame);
    ASSERT_NE(HWND(NULL), dialog);
    EXPECT_EQ("# vornak-terminal rules: [disabled] KIND [#RRGGBB] [text=#RRGGBB] [matched] [class=CLASS] [process=NAME] [regex] [case] 'PATTERN'\r\n"
              "exclude 'Scanner : probe 2'\r\n"
              "include regex case '^Scanner : '\r\n",
              DialogText(dialog, RULES_EDIT));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    ASSERT_TRUE(WaitForRows(frame, 1));
    EXPECT_EQ(std::vector<std::string>{"Scanner : probe 1"}, ShownTexts(frame));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, RulesDialogNamesARuleCostingMoreThanTheWindowKeepsUpWithAndASecondOkUsesIt)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    // Lines on which the pattern's automaton needs a new state at almost every byte.
    std::vector<std::string> lines;
    unsigned seed = 12345;
    for (int i = 0; i < 30; ++i) {
        std::string line;
        for (int c = 0; c < 250; ++c) {
            seed = seed * 1103515245u + 12345u;
            line += (seed >> 16) % 2 == 0 ? 'a' : 'b';
        }
        lines.push_back(line);
    }
    SendLines(lines);
    ASSERT_TRUE(WaitForRows(frame, 30));

    PostMessageW(frame, WM_COMMAND, RULES_COMMAND, 0);
    HWND dialog = WaitForRulesDialog(frame);
    ASSERT_NE(HWND(NULL), dialog);
    // Each costs about half a millisecond a line here; together about twenty times what a window
    // keeping up with a thousand lines a second may spend.
    std::wstring costly = L"highlight 'b'\r\n";
    for (wchar_t last = L'c'; last <= L'v'; ++last) {
        costly += std::wstring(L"exclude regex '.*a.{100}a.{100}") + last + L"'\r\n";
    }
    SetDlgItemTextW(dialog, RULES_EDIT, costly.c_str());
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(IsWindow(dialog));
    std::string warning = DialogText(dialog, RULES_ERROR_TEXT);
    EXPECT_EQ(0u, warning.find("rule ")) << warning;
    EXPECT_NE(std::string::npos, warning.find(", exclude \".*a.{100}a.{100}")) << warning;
    EXPECT_NE(std::string::npos, warning.find(" ms a line: with these rules the window keeps up with ")) << warning;
    EXPECT_NE(std::string::npos, warning.find(" lines a second. OK again uses them.")) << warning;

    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    EXPECT_NE(std::string::npos, StatusText(frame).find("; 21 rules")) << StatusText(frame);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, RulesDialogMovesTheRuleUnderTheCaretUpAndDown)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    PostMessageW(frame, WM_COMMAND, RULES_COMMAND, 0);
    HWND dialog = WaitForRulesDialog(frame);
    ASSERT_NE(HWND(NULL), dialog);
    HWND edit = GetDlgItem(dialog, RULES_EDIT);
    SetWindowTextW(edit, L"include 'a'\r\nexclude 'b'\r\nhighlight 'c'");
    LRESULT second = SendMessageW(edit, EM_LINEINDEX, 1, 0);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(second + 3), second + 3);
    SendMessageW(dialog, WM_COMMAND, RULES_UP_BUTTON, 0);
    EXPECT_EQ("exclude 'b'\r\ninclude 'a'\r\nhighlight 'c'", DialogText(dialog, RULES_EDIT));
    SendMessageW(dialog, WM_COMMAND, RULES_UP_BUTTON, 0);  // already first: nothing moves
    EXPECT_EQ("exclude 'b'\r\ninclude 'a'\r\nhighlight 'c'", DialogText(dialog, RULES_EDIT));
    SendMessageW(dialog, WM_COMMAND, RULES_DOWN_BUTTON, 0);
    SendMessageW(dialog, WM_COMMAND, RULES_DOWN_BUTTON, 0);
    EXPECT_EQ("include 'a'\r\nhighlight 'c'\r\nexclude 'b'", DialogText(dialog, RULES_EDIT));
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, FindGoesToNextAndPreviousMatchAmongShownLinesWrapsAndMarksThem)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"alpha one", "beta", "ALPHA two", "gamma", "alpha three"});
    ASSERT_TRUE(WaitForRows(frame, 5));
    Command(frame, FIND_COMMAND);
    HWND findEdit = GetDlgItem(frame, FIND_EDIT);
    ASSERT_TRUE(IsWindowVisible(findEdit) || !IsWindowVisible(frame));
    SetWindowTextW(findEdit, L"alpha");
    EXPECT_EQ(0, SelectedRow(frame));
    Command(frame, FIND_NEXT_COMMAND);
    EXPECT_EQ(2, SelectedRow(frame));
    Command(frame, FIND_NEXT_COMMAND);
    EXPECT_EQ(4, SelectedRow(frame));
    Command(frame, FIND_NEXT_COMMAND);
    EXPECT_EQ(0, SelectedRow(frame));
    EXPECT_NE(std::string::npos, StatusText(frame).find("the search went on from the other end")) << StatusText(frame);
    Command(frame, FIND_PREVIOUS_COMMAND);
    EXPECT_EQ(4, SelectedRow(frame));

    EXPECT_EQ(RGB(0xFF, 0xB3, 0x66), RowBackground(frame, 2));
    EXPECT_EQ(CLR_DEFAULT, RowBackground(frame, 1));
    // A found row's text cell is drawn by the window, the matches marked in it; the other rows
    // and cells are the list's to draw.
    EXPECT_EQ(CDRF_NOTIFYSUBITEMDRAW, CustomDrawReply(frame, 2, CDDS_ITEMPREPAINT, 0));
    EXPECT_EQ(CDRF_SKIPDEFAULT, CustomDrawReply(frame, 2, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 2));
    EXPECT_EQ(CDRF_DODEFAULT, CustomDrawReply(frame, 2, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 1));
    EXPECT_EQ(CDRF_DODEFAULT, CustomDrawReply(frame, 1, CDDS_ITEMPREPAINT, 0));
    SetWindowTextW(findEdit, L"delta");
    EXPECT_NE(std::string::npos, StatusText(frame).find("\"delta\" not found among the shown lines"));
    Command(frame, CLOSE_FIND_COMMAND);
    EXPECT_EQ(CLR_DEFAULT, RowBackground(frame, 2));  // no search, no marks
    EXPECT_EQ(0, terminal.Stop());
}

// Match case and regular expression from the keys (and the boxes), the count beside the box, and
// a found row brought to the middle of the list rather than to its edge.
TEST_F(WindowFeatures, FindOptionsNarrowTheSearchTheCountSaysWhichMatchAndTheFoundRowIsInTheMiddle)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    for (int line = 0; line < 300; ++line) {
        const char* name = line == 10 || line == 100 || line == 250 ? "Alpha" : line == 120 ? "alpha" : "line";
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("%s %d", name, line));
    }
    ASSERT_TRUE(WaitForRows(frame, 300));
    Command(frame, FIND_COMMAND);
    HWND findEdit = GetDlgItem(frame, FIND_EDIT);
    SetWindowTextW(findEdit, L"alpha");
    EXPECT_EQ(10, SelectedRow(frame));
    EXPECT_EQ("1 of 4", DialogText(frame, FIND_COUNT_TEXT));

    Command(frame, FIND_MATCH_CASE_COMMAND);  // Alt+C
    EXPECT_TRUE(MenuChecked(frame, FIND_MATCH_CASE_COMMAND));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(frame, FIND_MATCH_CASE_CHECK));
    EXPECT_EQ(120, SelectedRow(frame));
    EXPECT_EQ("1 of 1", DialogText(frame, FIND_COUNT_TEXT));

    CheckDlgButton(frame, FIND_MATCH_CASE_CHECK, BST_UNCHECKED);  // the box itself, clicked
    SendMessageW(frame, WM_COMMAND, MAKEWPARAM(FIND_MATCH_CASE_CHECK, BN_CLICKED), 0);
    EXPECT_FALSE(MenuChecked(frame, FIND_MATCH_CASE_COMMAND));
    Command(frame, FIND_REGEX_COMMAND);  // Alt+R
    SetWindowTextW(findEdit, L"^alpha 1[0-9][0-9]$");
    EXPECT_EQ(120, SelectedRow(frame));
    EXPECT_EQ("2 of 2", DialogText(frame, FIND_COUNT_TEXT));
    Command(frame, FIND_NEXT_COMMAND);
    EXPECT_EQ(100, SelectedRow(frame));  // wrapped
    EXPECT_EQ("1 of 2", DialogText(frame, FIND_COUNT_TEXT));
    HWND list = List(frame);
    int page = ListView_GetCountPerPage(list);
    ASSERT_GT(page, 4);
    EXPECT_EQ(100 - page / 2, ListView_GetTopIndex(list));

    SetWindowTextW(findEdit, L"^alpha (");  // not a whole expression yet: the old search stays
    EXPECT_EQ("300 lines shown of 300 kept; not following (End follows again); missing ) for the ( at character 8",
              StatusText(frame));
    EXPECT_EQ(100, SelectedRow(frame));
    SetWindowTextW(findEdit, L"omega");
    EXPECT_EQ("no match", DialogText(frame, FIND_COUNT_TEXT));
    EXPECT_EQ(0, terminal.Stop());
}

// Ctrl+F2 on the selected lines, F2 and Shift+F2 among the shown ones, a mark in the row; a
// filter hides a bookmark without taking it away; Clear does.
TEST_F(WindowFeatures, BookmarksAreSetOnTheSelectedLinesVisitedWithF2KeptThroughAFilterAndGoWithClear)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"a", "b", "c", "d", "e"});
    VornakStat_Message("f statistic");
    SendLines({"g", "h"});
    ASSERT_TRUE(WaitForRows(frame, 8));
    HWND list = List(frame);
    auto select = [&](std::initializer_list<int> rows) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (int row : rows) {
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    };
    select({2, 5});
    Command(frame, TOGGLE_BOOKMARK_COMMAND);
    select({7});
    Command(frame, TOGGLE_BOOKMARK_COMMAND);
    EXPECT_EQ("8 lines shown of 8 kept; not following (End follows again); 3 bookmarks", StatusText(frame));
    EXPECT_EQ(CDRF_NOTIFYPOSTPAINT, CustomDrawReply(frame, 5, CDDS_ITEMPREPAINT, 0));
    EXPECT_EQ(CDRF_DODEFAULT, CustomDrawReply(frame, 4, CDDS_ITEMPREPAINT, 0));

    select({0});
    std::vector<int> visited;
    for (int command : {NEXT_BOOKMARK_COMMAND, NEXT_BOOKMARK_COMMAND, NEXT_BOOKMARK_COMMAND, NEXT_BOOKMARK_COMMAND,
                        PREVIOUS_BOOKMARK_COMMAND}) {
        Command(frame, command);
        visited.push_back(SelectedRow(frame));
    }
    EXPECT_EQ((std::vector<int>{2, 5, 7, 2, 7}), visited);

    Command(frame, SHOW_STATISTIC_COMMAND);  // "f statistic" hidden, its bookmark kept
    ASSERT_TRUE(WaitForRows(frame, 7));
    select({2});
    Command(frame, NEXT_BOOKMARK_COMMAND);
    EXPECT_EQ("h", Cell(list, SelectedRow(frame), 2));
    Command(frame, SHOW_STATISTIC_COMMAND);
    ASSERT_TRUE(WaitForRows(frame, 8));
    select({2, 5});  // both bookmarked: both bookmarks go
    Command(frame, TOGGLE_BOOKMARK_COMMAND);
    EXPECT_EQ("8 lines shown of 8 kept; not following (End follows again); 1 bookmark", StatusText(frame));

    Command(frame, CLEAR_COMMAND);
    Command(frame, NEXT_BOOKMARK_COMMAND);
    EXPECT_EQ("0 lines shown of 0 kept; following; no bookmarks: Ctrl+F2 sets one on the selected lines",
              StatusText(frame));
    EXPECT_EQ(0, terminal.Stop());
}

// A note in the status bar goes with what it spoke of: the find's with the find bar and with
// the lines (Clear), the dropped lines' count with the lines (Clear).
TEST_F(WindowFeatures, StatusNotesGoWithTheFindBarAndWithTheLinesTheySpokeOf)
{
    WindowOptions options = TestWindowOptions();
    options.historyLines = 10000;
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, options);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    for (int line = 0; line <= 10000; ++line) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("adapter %d", line));
    }
    ASSERT_TRUE(WaitForRows(frame, 9001));
    Command(frame, FIND_COMMAND);
    SetWindowTextW(GetDlgItem(frame, FIND_EDIT), L"adapterzzz");
    ASSERT_TRUE(WaitFor([&] {
        return StatusText(frame) ==
               "9001 lines shown of 9001 kept; 1000 oldest dropped; following; \"adapterzzz\" not found among the shown lines";
    })) << StatusText(frame);
    Command(frame, CLEAR_COMMAND);
    EXPECT_EQ("0 lines shown of 0 kept; following", StatusText(frame));

    SendLines({"adapter up"});
    ASSERT_TRUE(WaitForRows(frame, 1));
    SetWindowTextW(GetDlgItem(frame, FIND_EDIT), L"down");
    EXPECT_EQ("1 line shown of 1 kept; following; \"down\" not found among the shown lines", StatusText(frame));
    Command(frame, CLOSE_FIND_COMMAND);
    EXPECT_EQ("1 line shown of 1 kept; following", StatusText(frame));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, HostsAreAnsweredWhileTheWindowIsHeldAndTheirLinesAreShownInOrderOnceItIsFree)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"gone with the clear"});
    ASSERT_TRUE(WaitForRows(frame, 1));
    HeldWindowThread held(frame);
    ASSERT_TRUE(held.Holding());
    std::vector<std::string> expected;
    unsigned short statuses = VORNAKDBG_STATUS_DONE;
    statuses |= VornakDbg_Message("%s", "also gone");
    statuses |= VornakDbg_ClearTerminal();
    for (int i = 1; i <= 50; ++i) {
        expected.push_back("line " + std::to_string(i));
        statuses |= VornakDbg_Message("line %d", i);
    }
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, statuses);
    EXPECT_TRUE(HeldWindowThread::StillHeld()) << "the calls waited until the window was free";
    held.Release();
    ASSERT_TRUE(WaitForRows(frame, 50));
    EXPECT_EQ(expected, ShownTexts(frame));
    EXPECT_EQ(0, terminal.Stop());
}

// The row the window answers when the list asks for type-ahead (LVN_ODFINDITEMW).
LRESULT TypedRow(HWND frame, int start, UINT flags, const wchar_t* typed)
{
    NMLVFINDITEMW find = {};
    find.hdr.hwndFrom = List(frame);
    find.hdr.idFrom = LIST_CONTROL;
    find.hdr.code = LVN_ODFINDITEMW;
    find.iStart = start;
    find.lvfi.flags = flags;
    find.lvfi.psz = typed;
    return SendMessageW(frame, WM_NOTIFY, LIST_CONTROL, reinterpret_cast<LPARAM>(&find));
}

TEST_F(WindowFeatures, TypingFindsTheNextRowWhoseTextStartsWithItWhateverTheCase)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"alpha one", "Beta", "bravo", "alpha two"});
    ASSERT_TRUE(WaitForRows(frame, 4));
    constexpr UINT Partial = LVFI_PARTIAL | LVFI_STRING;
    struct Case {
        int start;
        UINT flags;
        const wchar_t* typed;
        LRESULT row;
    };
    const Case cases[] = {
        {-1, Partial, L"b", 1},
        {1, Partial, L"B", 2},
        {2, Partial | LVFI_WRAP, L"b", 1},
        {2, Partial, L"b", -1},
        {0, Partial | LVFI_WRAP, L"ALPHA T", 3},
        {3, Partial | LVFI_WRAP, L"alpha", 0},
        {-1, LVFI_STRING, L"alpha", -1},
        {-1, LVFI_STRING, L"BRAVO", 2},
        {-1, Partial | LVFI_WRAP, L"x", -1},
        {-1, LVFI_PARAM, L"b", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.row, TypedRow(frame, c.start, c.flags, c.typed)) << c.start << " " << Narrow(c.typed);
    }
    // Typed into the list itself: it asks, and selects the row it was told.
    SetFocus(List(frame));
    SendMessageW(List(frame), WM_CHAR, L'b', 1);  // one press
    EXPECT_EQ(1, SelectedRow(frame));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, StopRuleSelectsTheMatchingLineAndHoldsTheViewUntilFollowIsChosen)
{
    WriteRules(rules_, "stop 'exception'\n");
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, TestWindowOptions(rules_.Path()));
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"starting", "access violation exception at 0x1234"});
    ASSERT_TRUE(WaitForRows(frame, 2));
    SendLines({"after 1", "second exception", "after 2"});
    ASSERT_TRUE(WaitForRows(frame, 5));
    ASSERT_TRUE(WaitFor([&] { return SelectedRow(frame) == 1; }));
    EXPECT_NE(std::string::npos, StatusText(frame).find("; stopped on a matching line (End follows again)"))
        << StatusText(frame);
    Command(frame, FOLLOW_COMMAND);
    EXPECT_NE(std::string::npos, StatusText(frame).find("; following;")) << StatusText(frame);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, SelectingALineHoldsTheViewAndFollowFollowsAgain)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"one", "two", "three"});
    ASSERT_TRUE(WaitForRows(frame, 3));
    EXPECT_NE(std::string::npos, StatusText(frame).find("; following")) << StatusText(frame);
    ListView_SetItemState(List(frame), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("; not following (End follows again)") != std::string::npos; }))
        << StatusText(frame);
    Command(frame, FOLLOW_COMMAND);
    EXPECT_NE(std::string::npos, StatusText(frame).find("; following")) << StatusText(frame);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, ScrollingUpHoldsTheViewAndScrollingBackOrEndFollowsAgain)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    HWND list = List(frame);
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    SendLines(lines);
    ASSERT_TRUE(WaitForRows(frame, 200));
    ASSERT_TRUE(WaitFor([&] { return ListView_GetTopIndex(list) > 0; }));  // the newest line in view

    ListView_Scroll(list, 0, -1000000);  // as the wheel or the scroll bar would
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("; not following (End follows again)") != std::string::npos; }))
        << StatusText(frame);
    SendLines({"arrives while held"});
    ASSERT_TRUE(WaitForRows(frame, 201));
    EXPECT_EQ(0, ListView_GetTopIndex(list));  // the view stays where the user put it

    ListView_Scroll(list, 0, 1000000);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("; following") != std::string::npos; })) << StatusText(frame);

    ListView_Scroll(list, 0, -1000000);  // as the wheel or the scroll bar would
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("; not following") != std::string::npos; }));
    SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("; following") != std::string::npos; })) << StatusText(frame);
    SendLines({"newest"});
    ASSERT_TRUE(WaitForRows(frame, 202));
    ASSERT_TRUE(WaitFor([&] {
        return ListView_GetTopIndex(list) + ListView_GetCountPerPage(list) >= 202;
    }));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, DroppedLogIsShownWithTheTimeModesEachTitledAndLiveLinesWaitInTheLiveView)
{
    TemporaryFile log(L"dropped-log");
    ASSERT_TRUE(WriteFileBytes(log.Path(), LogText({"09:05:03.007 debug     first",
                                                    "09:05:04.500 log       second",
                                                    "09:05:04.750 error     third",
                                                    "09:06:10.000 debug     fourth"})));
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"live one"});
    ASSERT_TRUE(WaitForRows(frame, 1));

    DropFileOn(frame, log.Path());
    ASSERT_TRUE(WaitForRows(frame, 4));
    EXPECT_EQ((std::vector<std::string>{"first", "second", "third", "fourth"}), ShownTexts(frame));
    EXPECT_EQ((std::vector<std::string>{"09:05:03.007", "09:05:04.500", "09:05:04.750", "09:06:10.000"}),
              TimeColumn(frame));
    EXPECT_EQ("Time of day", TimeTitle(frame));
    Command(frame, TIME_SINCE_START_COMMAND);
    EXPECT_EQ("Since start", TimeTitle(frame));
    EXPECT_EQ((std::vector<std::string>{"0.000", "1.493", "1.743", "1:06.993"}), TimeColumn(frame));
    EXPECT_TRUE(MenuChecked(frame, TIME_SINCE_START_COMMAND));
    EXPECT_FALSE(MenuChecked(frame, TIME_CLOCK_COMMAND));
    Command(frame, TIME_SINCE_PREVIOUS_COMMAND);
    EXPECT_EQ((std::vector<std::string>{"+0.000", "+1.493", "+0.250", "+1:05.250"}), TimeColumn(frame));
    EXPECT_EQ("Since previous", TimeTitle(frame));
    // The filters apply to the file as to the live lines.
    Command(frame, SHOW_DEBUG_COMMAND);
    EXPECT_EQ((std::vector<std::string>{"second", "third"}), ShownTexts(frame));
    EXPECT_EQ((std::vector<std::string>{"+0.000", "+0.250"}), TimeColumn(frame));
    Command(frame, SHOW_DEBUG_COMMAND);
    Command(frame, TIME_CLOCK_COMMAND);
    Command(frame, SHOW_DATES_COMMAND);
    EXPECT_EQ("Date and time", TimeTitle(frame));
    Command(frame, SHOW_DATES_COMMAND);
    EXPECT_EQ("Time of day", TimeTitle(frame));

    SendLines({"live two"});
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("1 live line arrived meanwhile") != std::string::npos; }))
        << StatusText(frame);
    EXPECT_EQ(4, ListView_GetItemCount(List(frame)));
    Command(frame, LIVE_VIEW_COMMAND);
    EXPECT_EQ((std::vector<std::string>{"live one", "live two"}), ShownTexts(frame));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, LogToFileWritesEveryLineAsItArrivesWhateverTheViewShowsUntilItIsStopped)
{
    TemporaryFile log(L"window-log");
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    DialogAnswer = log.Path();
    Command(frame, LOG_COMMAND);
    EXPECT_TRUE(MenuChecked(frame, LOG_COMMAND));
    EXPECT_NE(std::string::npos, StatusText(frame).find("; logging to " + Narrow(log.Path()))) << StatusText(frame);
    SetWindowTextW(GetDlgItem(frame, QUICK_FILTER_EDIT), L"shown");
    SendLines({"shown 1", "hidden", "shown 2"});
    VornakDbg_ClearTerminal();
    VornakError_Message("shown after the clear");
    Command(frame, LOG_COMMAND);
    EXPECT_FALSE(MenuChecked(frame, LOG_COMMAND));
    SendLines({"after the log"});

    std::vector<std::string> logged;
    for (const std::string& line : SplitLines(ReadFileBytes(log.Path()))) {
        logged.push_back(line.substr(std::min<size_t>(line.size(), 13)));  // after "HH:MM:SS.mmm "
    }
    EXPECT_EQ((std::vector<std::string>{"debug     shown 1", "debug     hidden", "debug     shown 2",
                                        "clear     terminal cleared", "error     shown after the clear"}),
              logged);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, SavedLinesOpenedAndSavedAgainGiveTheSameFile)
{
    TemporaryFile first(L"save-first");
    TemporaryFile second(L"save-second");
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"plain line", "tab\there", "quote \" and backslash \\x41"});
    VornakError_Message("disk full");
    VornakDbg_Separator('=');
    ASSERT_TRUE(WaitForRows(frame, 5));

    DialogAnswer = first.Path();
    Command(frame, SAVE_COMMAND);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame) == "5 lines shown of 5 kept; following; 5 lines saved"; }))
        << StatusText(frame);
    std::string saved = ReadFileBytes(first.Path());
    ASSERT_EQ(6u, SplitLines(saved).size());  // the date first
    EXPECT_EQ(0u, SplitLines(saved)[0].find("date ")) << saved;

    DialogAnswer = first.Path();
    Command(frame, OPEN_COMMAND);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find("; file ") != std::string::npos; }));
    std::string firstName = Narrow(first.Path());
    firstName = firstName.substr(firstName.find_last_of('\\') + 1);
    EXPECT_EQ(5, ListView_GetItemCount(List(frame)));
    DialogAnswer = second.Path();
    Command(frame, SAVE_COMMAND);
    ASSERT_TRUE(WaitFor([&] {
        return StatusText(frame) == "5 lines shown of 5 kept; file " + firstName +
                                        " (5 lines); Ctrl+Shift+L returns to the live lines; 5 lines saved";
    })) << StatusText(frame);
    EXPECT_EQ(saved, ReadFileBytes(second.Path()));
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, FileThatIsNotALogIsRefusedWithTheReasonAndTheLiveViewStays)
{
    TemporaryFile notALog(L"not-a-log");
    ASSERT_TRUE(WriteFileBytes(notALog.Path(), "hello world\n"));
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    SendLines({"live"});
    ASSERT_TRUE(WaitForRows(frame, 1));
    DropFileOn(frame, notALog.Path());
    ASSERT_TRUE(WaitFor([] { return MessageBoxTexts.size() == 1; }));
    EXPECT_EQ("cannot open " + Narrow(notALog.Path()) +
                  ": this is not a log of the terminal: line 1 does not start with a time and a class "
                  "(\"09:05:03.007 debug ...\")",
              MessageBoxTexts[0]);
    EXPECT_EQ((std::vector<std::string>{"live"}), ShownTexts(frame));
    EXPECT_EQ(0, terminal.Stop());
}

// count lines "00:00:SS.mmm debug     line N", N from first.
std::string NumberedLog(int first, int count)
{
    std::string text;
    char line[64];
    for (int n = first; n < first + count; ++n) {
        snprintf(line, sizeof(line), "00:%02d:%02d.%03d debug     line %d\n", n / 60000 % 60, n / 1000 % 60, n % 1000, n);
        text += line;
    }
    return text;
}

std::string FileNameOf(const TemporaryFile& file)
{
    std::string path = Narrow(file.Path());
    return path.substr(path.find_last_of('\\') + 1);
}

TEST_F(WindowFeatures, ALogLongerThanTheHistoryShowsItsNewestLinesAndSaysHowManyOlderOnesAreLeftOut)
{
    TemporaryFile log(L"long-log");
    ASSERT_TRUE(WriteFileBytes(log.Path(), NumberedLog(1, 15000)));
    WindowOptions options = TestWindowOptions();
    options.historyLines = 10000;
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, options);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    DropFileOn(frame, log.Path());
    const std::string done = "10000 lines shown of 10000 kept; file " + FileNameOf(log) +
                             " (10000 lines); Ctrl+Shift+L returns to the live lines; the file's first 5000 lines "
                             "are left out: the history keeps 10000";
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame) == done; })) << StatusText(frame);
    EXPECT_EQ("line 5001", Cell(List(frame), 0, 2));
    EXPECT_EQ("line 15000", Cell(List(frame), 9999, 2));
    EXPECT_EQ(0, terminal.Stop());
}

// Esc stops the read after the piece under way; what was read stays shown and live lines go on.
TEST_F(WindowFeatures, EscStopsALogBeingReadKeepingWhatWasReadWhileLiveLinesGoOnArriving)
{
    TemporaryFile log(L"stopped-log");
    ASSERT_TRUE(WriteFileBytes(log.Path(), NumberedLog(1, 1000000)));
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    DropFileOn(frame, log.Path());
    const std::string name = FileNameOf(log);
    EXPECT_NE(std::string::npos, StatusText(frame).find("; reading " + name + ": ")) << StatusText(frame);
    EXPECT_EQ(0u, GetMenuState(GetMenu(frame), STOP_READING_COMMAND, MF_BYCOMMAND) & MF_GRAYED);
    SendLines({"live while reading"});
    Command(frame, CLOSE_FIND_COMMAND);  // what Esc is
    const std::string stopped = "; reading " + name + " stopped: ";
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find(stopped) != std::string::npos; })) << StatusText(frame);
    std::string status = StatusText(frame);
    unsigned long read = std::stoul(status.substr(status.find(stopped) + stopped.size()));
    EXPECT_LT(read, 1000000ul);
    EXPECT_EQ(read, static_cast<unsigned long>(ListView_GetItemCount(List(frame))));
    EXPECT_NE(0u, GetMenuState(GetMenu(frame), STOP_READING_COMMAND, MF_BYCOMMAND) & MF_GRAYED);
    Command(frame, LIVE_VIEW_COMMAND);
    EXPECT_TRUE(WaitFor([&] { return ShownTexts(frame) == std::vector<std::string>{"live while reading"}; }));
    EXPECT_EQ(0, terminal.Stop());
}

// A rotated output's files, text and JSON lines among them, read as one log from the oldest.
TEST_F(WindowFeatures, ARotatedSetOpensAsOneLogOldestFirstAndSaysWhichMemberIsMissing)
{
    TemporaryFile newest(L"set");
    const std::wstring base = newest.Path();
    struct Member : private NonCopyable {
        explicit Member(std::wstring path) : path(std::move(path)) {}
        ~Member() { DeleteFileW(path.c_str()); }
        std::wstring path;
    };
    Member third(base + L".3");
    Member first(base + L".1");
    ASSERT_TRUE(WriteFileBytes(third.path, NumberedLog(1, 2)));
    ASSERT_TRUE(WriteFileBytes(first.path, "{\"time\":\"2026-12-08T00:00:05.000+01:00\",\"class\":\"log\",\"text\":"
                                           "\"from JSON\"}\n"));
    ASSERT_TRUE(WriteFileBytes(base, NumberedLog(7, 1)));
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    const std::string name = FileNameOf(newest);
    const std::string missing = "; " + name + ".2 of the set: ";
    const std::vector<std::string> whole = {"line 1", "line 2", "from JSON", "line 7"};

    MessageBoxAnswer = IDYES;
    DropFileOn(frame, base);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find(missing) != std::string::npos; })) << StatusText(frame);
    EXPECT_EQ(whole, ShownTexts(frame));
    ASSERT_EQ(1u, MessageBoxTexts.size());
    EXPECT_EQ(name + " has older files beside it, down to " + name +
                  ".3. Open the whole set as one log, oldest first?\n\nYes opens the set, No this file alone.",
              MessageBoxTexts[0]);

    MessageBoxAnswer = IDNO;
    DropFileOn(frame, base);
    ASSERT_TRUE(WaitFor([&] { return ShownTexts(frame) == std::vector<std::string>{"line 7"}; }));

    // An old file opens with the newer ones after it, without asking.
    DropFileOn(frame, third.path);
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame).find(missing) != std::string::npos; })) << StatusText(frame);
    EXPECT_EQ(whole, ShownTexts(frame));
    EXPECT_EQ(2u, MessageBoxTexts.size());
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, RulesExportedAndImportedAgainAreTheSameRules)
{
    WriteRules(rules_, "highlight #FF8080 class=error 'down'\r\nexclude case regex '^tick$'\r\n");
    TemporaryFile exported(L"rules-exported");
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, TestWindowOptions(rules_.Path()));
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    DialogAnswer = exported.Path();
    Command(frame, EXPORT_RULES_COMMAND);
    EXPECT_EQ("# vornak-terminal rules: [disabled] KIND [#RRGGBB] [text=#RRGGBB] [matched] [class=CLASS] [process=NAME] [regex] [case] 'PATTERN'\r\n"
              "highlight #FF8080 class=error 'down'\r\n"
              "exclude regex case '^tick$'\r\n",
              ReadFileBytes(exported.Path()));

    WriteRules(rules_, "include 'port'\n");
    DialogAnswer = rules_.Path();
    Command(frame, IMPORT_RULES_COMMAND);
    EXPECT_NE(std::string::npos, StatusText(frame).find("1 rule imported")) << StatusText(frame);
    SendLines({"port 1", "tick"});
    ASSERT_TRUE(WaitForRows(frame, 1));
    EXPECT_EQ((std::vector<std::string>{"port 1"}), ShownTexts(frame));

    WriteRules(rules_, "inclde 'port'\n");
    Command(frame, IMPORT_RULES_COMMAND);
    ASSERT_EQ(1u, MessageBoxTexts.size());
    EXPECT_EQ("cannot use the rules file " + Narrow(rules_.Path()) +
                  ": line 1: unknown rule kind \"inclde\" (include, exclude, highlight or stop)",
              MessageBoxTexts[0]);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, ChoicesAreRememberedAndComeBackAtTheNextStart)
{
    ScratchSettings settings(L"Remembered");
    WindowOptions options = settings.Options();
    {
        TerminalInProcess terminal(TerminalInProcess::Mode::Window, options, true);
        ASSERT_TRUE(terminal.Start());
        HWND frame = terminal.Window();
        Command(frame, TIME_SINCE_PREVIOUS_COMMAND);
        Command(frame, SHOW_STATISTIC_COMMAND);
        Command(frame, ALWAYS_ON_TOP_COMMAND);
        Command(frame, SHOW_DATES_COMMAND);
        Command(frame, FIND_REGEX_COMMAND);
        ListView_SetColumnWidth(List(frame), 1, 120);
        PostMessageW(frame, WM_COMMAND, RULES_COMMAND, 0);
        HWND dialog = WaitForRulesDialog(frame);
        ASSERT_NE(HWND(NULL), dialog);
        SetDlgItemTextW(dialog, RULES_EDIT, L"exclude 'tick'\r\n");
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(0, terminal.Stop());
    }
    TerminalSettings saved;
    std::vector<std::string> problems;
    LoadTerminalSettings(settings.Key(), &saved, &problems);
    EXPECT_EQ(std::vector<std::string>(), problems);
    EXPECT_EQ(TimeMode::SincePrevious, saved.timeMode);
    EXPECT_TRUE(saved.alwaysOnTop);
    EXPECT_TRUE(saved.showDates);
    EXPECT_TRUE(saved.findRegularExpression);
    EXPECT_FALSE(saved.findMatchCase);
    EXPECT_FALSE(saved.shownClasses.shown[static_cast<int>(LineClass::Statistic)]);
    EXPECT_TRUE(saved.shownClasses.shown[static_cast<int>(LineClass::Error)]);
    EXPECT_EQ(120, saved.columnWidths[1]);
    ASSERT_EQ(1u, saved.rules.size());
    EXPECT_EQ("tick", saved.rules[0].pattern);

    TerminalInProcess again(TerminalInProcess::Mode::Window, options, true);
    ASSERT_TRUE(again.Start()) << again.Errors();
    HWND frame = again.Window();
    EXPECT_TRUE(MenuChecked(frame, TIME_SINCE_PREVIOUS_COMMAND));
    EXPECT_TRUE(MenuChecked(frame, ALWAYS_ON_TOP_COMMAND));
    EXPECT_TRUE(MenuChecked(frame, FIND_REGEX_COMMAND));
    EXPECT_FALSE(MenuChecked(frame, SHOW_STATISTIC_COMMAND));
    EXPECT_TRUE(MenuChecked(frame, SHOW_ERROR_COMMAND));
    EXPECT_NE(0, GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(120, ListView_GetColumnWidth(List(frame), 1));
    SendLines({"tick", "tock"});
    VornakStat_Message("hidden statistic");
    ASSERT_TRUE(WaitForRows(frame, 1));
    EXPECT_EQ((std::vector<std::string>{"tock"}), ShownTexts(frame));
    EXPECT_TRUE(MenuChecked(frame, SHOW_DATES_COMMAND));
    Command(frame, TIME_CLOCK_COMMAND);
    std::string time = TimeColumn(frame).at(0);  // "2026-12-09 14:24:12.449"
    EXPECT_TRUE(time.size() == 23 && time[4] == '-' && time[7] == '-' && time[10] == ' ' && time[13] == ':') << time;
    EXPECT_EQ(0, again.Stop());
}

// The font dialog answers with Courier New, 14 pt, bold and italic.
BOOL WINAPI AnswerFontDialog(CHOOSEFONTW* dialog)
{
    lstrcpynW(dialog->lpLogFont->lfFaceName, L"Courier New", LF_FACESIZE);
    dialog->lpLogFont->lfWeight = FW_BOLD;
    dialog->lpLogFont->lfItalic = TRUE;
    dialog->iPointSize = 140;
    return TRUE;
}

// "Consolas 10 pt": the list's font as the window asked for it, its size in points at the
// window's DPI.
std::string ListFontText(HWND frame)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(List(frame), WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    if (font == NULL || GetObjectW(font, sizeof(description), &description) == 0) {
        return "no font";
    }
    int points = MulDiv(-description.lfHeight, 72, static_cast<int>(GetDpiForWindow(frame)));
    return Narrow(description.lfFaceName) + " " + std::to_string(points) + " pt" +
           (description.lfWeight >= FW_BOLD ? " bold" : "") + (description.lfItalic ? " italic" : "");
}

// Whether the face the font mapper gave the list's font is fixed-pitch.
bool ListFontIsFixedPitch(HWND frame)
{
    HDC dc = GetDC(List(frame));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(List(frame), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(List(frame), dc);
    return (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;  // the bit is set for variable pitch
}

int RowHeight(HWND frame)
{
    RECT row = {};
    ListView_GetItemRect(List(frame), 0, &row, LVIR_BOUNDS);
    return row.bottom - row.top;
}

TEST_F(WindowFeatures, TheChosenFontAndItsZoomAreRememberedAndComeBackAtTheNextStart)
{
    PatchedImport fontDialog("ChooseFontW", AnswerFontDialog);
    ASSERT_TRUE(fontDialog.Applied());
    ScratchSettings settings(L"Font");
    WindowOptions options = settings.Options();
    {
        TerminalInProcess terminal(TerminalInProcess::Mode::Window, options, true);
        ASSERT_TRUE(terminal.Start());
        HWND frame = terminal.Window();
        EXPECT_EQ("Consolas 10 pt", ListFontText(frame));
        EXPECT_TRUE(ListFontIsFixedPitch(frame));
        SendLines({"probe"});
        ASSERT_TRUE(WaitForRows(frame, 1));
        Command(frame, FONT_COMMAND);
        EXPECT_EQ("Courier New 14 pt bold italic", ListFontText(frame));
        int chosenRow = RowHeight(frame);
        Command(frame, ZOOM_IN_COMMAND);
        Command(frame, ZOOM_IN_COMMAND);
        EXPECT_EQ("Courier New 18 pt bold italic", ListFontText(frame));
        EXPECT_GT(RowHeight(frame), chosenRow);
        Command(frame, ZOOM_RESET_COMMAND);
        EXPECT_EQ("Courier New 14 pt bold italic", ListFontText(frame));
        EXPECT_EQ(chosenRow, RowHeight(frame));
        for (int i = 0; i < 20; ++i) {
            Command(frame, ZOOM_OUT_COMMAND);
        }
        EXPECT_EQ("Courier New 6 pt bold italic", ListFontText(frame));
        Command(frame, ZOOM_IN_COMMAND);
        EXPECT_EQ("Courier New 7 pt bold italic", ListFontText(frame));
        EXPECT_EQ(0, terminal.Stop());
    }
    TerminalSettings saved;
    std::vector<std::string> problems;
    LoadTerminalSettings(settings.Key(), &saved, &problems);
    EXPECT_EQ(std::vector<std::string>(), problems);
    EXPECT_TRUE((ListFontSetting{"Courier New", 14, FW_BOLD, true}) == saved.listFont);
    EXPECT_EQ(7, saved.zoomPoints);

    TerminalInProcess again(TerminalInProcess::Mode::Window, options, true);
    ASSERT_TRUE(again.Start());
    EXPECT_EQ("Courier New 7 pt bold italic", ListFontText(again.Window()));
    Command(again.Window(), ZOOM_RESET_COMMAND);
    EXPECT_EQ("Courier New 14 pt bold italic", ListFontText(again.Window()));
    EXPECT_EQ(0, again.Stop());
}

// What the window asks the desktop window manager for, "20 TRUE"; the real GetProcAddress for
// every other function.
std::vector<std::string> TitleBarCalls;
const auto RealGetProcAddress = reinterpret_cast<FARPROC(WINAPI*)(HMODULE, LPCSTR)>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetProcAddress")));

HRESULT WINAPI RecordWindowAttribute(HWND, DWORD attribute, LPCVOID value, DWORD size)
{
    bool on = size == sizeof(BOOL) && *static_cast<const BOOL*>(value) != FALSE;
    TitleBarCalls.push_back(std::to_string(attribute) + (on ? " TRUE" : " FALSE"));
    return S_OK;
}

FARPROC WINAPI LookUpRecordingTitleBar(HMODULE module, LPCSTR name)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 && strcmp(name, "DwmSetWindowAttribute") == 0) {
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(RecordWindowAttribute));
    }
    return RealGetProcAddress(module, name);
}

// "text 0xDCDCDC, back 0x1E1E1E": the colours the window gives a row when the list asks how to
// draw it.
std::string Colours(COLORREF text, COLORREF back)
{
    char out[64];
    snprintf(out, sizeof(out), "text 0x%02X%02X%02X, back 0x%02X%02X%02X", GetRValue(text), GetGValue(text),
             GetBValue(text), GetRValue(back), GetGValue(back), GetBValue(back));
    return out;
}

std::string RowColours(HWND frame, int row)
{
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = List(frame);
    draw.nmcd.hdr.idFrom = LIST_CONTROL;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    SendMessageW(frame, WM_NOTIFY, LIST_CONTROL, reinterpret_cast<LPARAM>(&draw));
    return Colours(draw.clrText, draw.clrTextBk);
}

std::string ListColours(HWND frame)
{
    return Colours(ListView_GetTextColor(List(frame)), ListView_GetBkColor(List(frame)));
}

// The colours the frame gives the filter box to draw with.
std::string FilterBoxColours(HWND frame)
{
    HDC dc = CreateCompatibleDC(NULL);
    SendMessageW(frame, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(GetDlgItem(frame, QUICK_FILTER_EDIT)));
    std::string colours = Colours(GetTextColor(dc), GetBkColor(dc));
    DeleteDC(dc);
    return colours;
}

// The user's app mode (AppsUseLightTheme) while the object lives; the value is gone afterwards,
// as the test prefix has none.
class AppMode : private NonCopyable {
public:
    ~AppMode() { RegDeleteKeyValueW(HKEY_CURRENT_USER, Key, L"AppsUseLightTheme"); }
    void Set(DWORD light)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, Key, L"AppsUseLightTheme", REG_DWORD, &light, sizeof(light));
    }

private:
    static constexpr wchar_t Key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
};

void AnnounceAppModeChange(HWND frame)
{
    SendMessageW(frame, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
}

TEST_F(WindowFeatures, DarkThemeGivesTheListBoxesAndTitleBarTheDarkColoursAndFollowsTheSystemWhenAsked)
{
    TitleBarCalls.clear();
    PatchedImport lookUp("GetProcAddress", LookUpRecordingTitleBar);
    ASSERT_TRUE(lookUp.Applied());
    AppMode appMode;
    ScratchSettings settings(L"Theme");
    WindowOptions options = settings.Options();
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, options, true);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    EXPECT_TRUE(MenuChecked(frame, THEME_SYSTEM_COMMAND));
    SendLines({"probe"});
    VornakError_Message("disk full");
    VornakLog_Message("scan started");
    ASSERT_TRUE(WaitForRows(frame, 3));
    const Palette light = LightPalette();
    const Palette dark = DarkPalette();
    EXPECT_EQ(Colours(GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)), ListColours(frame));
    EXPECT_EQ("text 0xAA0000, back 0xFFE4E4", RowColours(frame, 1));

    Command(frame, THEME_DARK_COMMAND);
    EXPECT_TRUE(MenuChecked(frame, THEME_DARK_COMMAND));
    EXPECT_FALSE(MenuChecked(frame, THEME_SYSTEM_COMMAND));
    EXPECT_EQ("text 0xDCDCDC, back 0x1E1E1E", ListColours(frame));
    EXPECT_EQ(Colours(dark.error.text, dark.error.background), RowColours(frame, 1));
    EXPECT_EQ(Colours(dark.log.text, dark.windowBack), RowColours(frame, 2));
    EXPECT_EQ(Colours(dark.boxText, dark.boxBack), FilterBoxColours(frame));
    EXPECT_EQ((std::vector<std::string>{"20 TRUE"}), TitleBarCalls);

    Command(frame, THEME_LIGHT_COMMAND);
    EXPECT_EQ(Colours(light.windowText, light.windowBack), ListColours(frame));
    EXPECT_EQ("text 0xAA0000, back 0xFFE4E4", RowColours(frame, 1));
    EXPECT_EQ((std::vector<std::string>{"20 TRUE", "20 FALSE"}), TitleBarCalls);

    // As the system: its app mode now, and each change it announces.
    appMode.Set(0);
    Command(frame, THEME_SYSTEM_COMMAND);
    EXPECT_EQ("text 0xDCDCDC, back 0x1E1E1E", ListColours(frame));
    appMode.Set(1);
    AnnounceAppModeChange(frame);
    EXPECT_EQ(Colours(light.windowText, light.windowBack), ListColours(frame));
    EXPECT_EQ((std::vector<std::string>{"20 TRUE", "20 FALSE", "20 TRUE", "20 FALSE"}), TitleBarCalls);

    Command(frame, THEME_DARK_COMMAND);
    EXPECT_EQ(0, terminal.Stop());
    TerminalSettings saved;
    LoadTerminalSettings(settings.Key(), &saved, nullptr);
    EXPECT_EQ(ThemeChoice::Dark, saved.theme);
}

TEST_F(WindowFeatures, PlaceAndSizeAreRememberedAndComeBackAtTheNextStart)
{
    ScratchSettings settings(L"Placement");
    WindowOptions options = settings.Options();
    {
        TerminalInProcess terminal(TerminalInProcess::Mode::Window, options, true);
        ASSERT_TRUE(terminal.Start());
        // Shown and moved as a user would (the test's windows start hidden, and a hidden
        // window's place is not remembered).
        ShowWindow(terminal.Window(), SW_SHOWNOACTIVATE);
        SetWindowPos(terminal.Window(), NULL, 40, 30, 700, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(0, terminal.Stop());
    }
    TerminalSettings saved;
    LoadTerminalSettings(settings.Key(), &saved, nullptr);
    ASSERT_TRUE(saved.placement.known);
    EXPECT_EQ((std::vector<int>{40, 30, 700, 400, 0}),
              (std::vector<int>{saved.placement.left, saved.placement.top, saved.placement.width,
                                saved.placement.height, saved.placement.maximized ? 1 : 0}));

    TerminalInProcess again(TerminalInProcess::Mode::Window, options, true);
    ASSERT_TRUE(again.Start());
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ASSERT_TRUE(GetWindowPlacement(again.Window(), &placement));
    const RECT& normal = placement.rcNormalPosition;
    EXPECT_EQ((std::vector<int>{40, 30, 740, 430}),
              (std::vector<int>{static_cast<int>(normal.left), static_cast<int>(normal.top),
                                static_cast<int>(normal.right), static_cast<int>(normal.bottom)}));
    EXPECT_EQ(0, again.Stop());
}

TEST_F(WindowFeatures, EndOfTheSessionSavesTheChoicesAsClosingDoes)
{
    ScratchSettings settings(L"EndSession");
    WindowOptions options = settings.Options();
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, options, true);
    ASSERT_TRUE(terminal.Start());
    Command(terminal.Window(), TIME_SINCE_START_COMMAND);
    SendMessageW(terminal.Window(), WM_ENDSESSION, FALSE, 0);  // the end was called off
    TerminalSettings saved;
    LoadTerminalSettings(settings.Key(), &saved, nullptr);
    EXPECT_EQ(TimeMode::Clock, saved.timeMode);
    SendMessageW(terminal.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    LoadTerminalSettings(settings.Key(), &saved, nullptr);
    EXPECT_EQ(TimeMode::SinceStart, saved.timeMode);
    EXPECT_EQ(0, terminal.Stop());
}

TEST_F(WindowFeatures, RulesGivenOnTheCommandLineAreNotRememberedUnlessChanged)
{
    ScratchSettings settings(L"CommandLine");
    WriteRules(rules_, "exclude 'tick'\n");
    WindowOptions options = settings.Options();
    options.rulesPath = rules_.Path();
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, options, true);
    ASSERT_TRUE(terminal.Start());
    Command(terminal.Window(), TIME_SINCE_START_COMMAND);
    EXPECT_EQ(0, terminal.Stop());
    TerminalSettings saved;
    LoadTerminalSettings(settings.Key(), &saved, nullptr);
    EXPECT_EQ(TimeMode::SinceStart, saved.timeMode);
    EXPECT_TRUE(saved.rules.empty());
}

TEST_F(WindowFeatures, MenuAndKeysComeFromTheResources)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HMENU menu = GetMenu(terminal.Window());
    ASSERT_NE(HMENU(NULL), menu);
    std::vector<std::string> bar;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        bar.push_back(Narrow(text));
    }
    EXPECT_EQ((std::vector<std::string>{"&File", "&Edit", "&View"}), bar);
    wchar_t item[128] = L"";
    GetMenuStringW(menu, FIND_PREVIOUS_COMMAND, item, 128, MF_BYCOMMAND);
    EXPECT_EQ("Find &previous\tShift+F3", Narrow(item));
    HACCEL keys = LoadAcceleratorsW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(TERMINAL_ACCELERATORS));
    ASSERT_NE(HACCEL(NULL), keys);
    ACCEL table[48];
    int count = CopyAcceleratorTableW(keys, table, 48);
    bool findPrevious = false;
    for (int i = 0; i < count; ++i) {
        findPrevious |= table[i].cmd == FIND_PREVIOUS_COMMAND && table[i].key == VK_F3 &&
                        (table[i].fVirt & (FVIRTKEY | FSHIFT)) == (FVIRTKEY | FSHIFT);
    }
    EXPECT_TRUE(findPrevious);
    // Zoom: Ctrl and plus (Shift+= on many layouts), Ctrl+= and the keypad's plus, minus and 0.
    std::vector<std::string> zoomKeys;
    for (int i = 0; i < count; ++i) {
        if (table[i].cmd >= ZOOM_IN_COMMAND && table[i].cmd <= ZOOM_RESET_COMMAND) {
            zoomKeys.push_back(std::to_string(table[i].cmd) + ((table[i].fVirt & FSHIFT) != 0 ? " Shift+" : " ") +
                               std::to_string(table[i].key));
        }
    }
    EXPECT_EQ((std::vector<std::string>{"234 187", "234 Shift+187", "234 107", "235 189", "235 109", "236 48",
                                        "236 96"}),
              zoomKeys);
    DestroyAcceleratorTable(keys);
    EXPECT_EQ(0, terminal.Stop());
}

// The control that has the keyboard focus on the window's thread.
HWND FocusOf(HWND frame)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(frame, NULL), &info);
    return info.hwndFocus;
}

// A key pressed on control, through the window's message loop as the keyboard delivers it.
void PressKey(HWND frame, HWND control, WPARAM key)
{
    PostMessageW(control, WM_KEYDOWN, key, 1);
    SendMessageW(frame, WM_NULL, 0, 0);  // handled after the posted key
}

TEST_F(WindowFeatures, TabMovesBetweenTheFilterBoxTheListAndTheOpenFindBarsBoxAndOptions)
{
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    HWND quick = GetDlgItem(frame, QUICK_FILTER_EDIT);
    HWND find = GetDlgItem(frame, FIND_EDIT);
    Command(frame, QUICK_FILTER_COMMAND);
    ASSERT_EQ(quick, FocusOf(frame));
    PressKey(frame, quick, VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == List(frame); }));
    PressKey(frame, List(frame), VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == quick; }));  // no find box while the bar is closed

    Command(frame, FIND_COMMAND);
    ASSERT_EQ(find, FocusOf(frame));
    PressKey(frame, find, VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == GetDlgItem(frame, FIND_MATCH_CASE_CHECK); }));
    PressKey(frame, GetDlgItem(frame, FIND_MATCH_CASE_CHECK), VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == GetDlgItem(frame, FIND_REGEX_CHECK); }));
    PressKey(frame, GetDlgItem(frame, FIND_REGEX_CHECK), VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == quick; }));
    PressKey(frame, quick, VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == List(frame); }));
    PressKey(frame, List(frame), VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == find; }));
    EXPECT_EQ(0, terminal.Stop());
}

// A click on a toolbar's button, as the mouse gives it: pressed and released over the button.
void ClickButton(HWND toolbar, int command)
{
    RECT rect = {};
    SendMessageW(toolbar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&rect));
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
}

// The tip the window gives for a button, asked as the toolbar asks when the mouse rests on it.
std::string ButtonTip(HWND frame, HWND toolbar, int command)
{
    wchar_t text[INFOTIPSIZE] = L"";
    NMTBGETINFOTIPW tip = {};
    tip.hdr.hwndFrom = toolbar;
    tip.hdr.idFrom = TOOLBAR_CONTROL;
    tip.hdr.code = TBN_GETINFOTIPW;
    tip.pszText = text;
    tip.cchTextMax = INFOTIPSIZE;
    tip.iItem = command;
    SendMessageW(frame, WM_NOTIFY, TOOLBAR_CONTROL, reinterpret_cast<LPARAM>(&tip));
    return Narrow(text);
}

bool ButtonChecked(HWND toolbar, int command)
{
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(command), 0) != 0;
}

TEST_F(WindowFeatures, ToolbarButtonsAndTheMenuShowPauseAndCaptureInStepAndTheTipsNameTheKeys)
{
    ScratchSettings settings(L"Toolbar");
    TerminalInProcess terminal(TerminalInProcess::Mode::Window, settings.Options(), true);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    HWND toolbar = GetDlgItem(frame, TOOLBAR_CONTROL);
    ASSERT_NE(HWND(NULL), toolbar);
    EXPECT_EQ((std::vector<std::string>{"Pause (Ctrl+P)", "Clear (Ctrl+L)", "Find (Ctrl+F)", "Capture OutputDebugString"}),
              (std::vector<std::string>{ButtonTip(frame, toolbar, PAUSE_COMMAND), ButtonTip(frame, toolbar, CLEAR_COMMAND),
                                        ButtonTip(frame, toolbar, FIND_COMMAND),
                                        ButtonTip(frame, toolbar, CAPTURE_ODS_COMMAND)}));
    auto states = [&] {
        return std::vector<bool>{MenuChecked(frame, PAUSE_COMMAND), ButtonChecked(toolbar, PAUSE_COMMAND),
                                 MenuChecked(frame, CAPTURE_ODS_COMMAND), ButtonChecked(toolbar, CAPTURE_ODS_COMMAND)};
    };
    EXPECT_EQ((std::vector<bool>{false, false, true, true}), states());

    ClickButton(toolbar, PAUSE_COMMAND);
    ClickButton(toolbar, CAPTURE_ODS_COMMAND);
    EXPECT_EQ((std::vector<bool>{true, true, false, false}), states());
    SendLines({"held while paused"});
    ASSERT_TRUE(WaitFor([&] { return StatusText(frame) == "0 lines shown of 0 kept; PAUSED, 1 waiting"; }))
        << StatusText(frame);

    Command(frame, PAUSE_COMMAND);  // the menu, or Ctrl+P
    Command(frame, CAPTURE_ODS_COMMAND);
    EXPECT_EQ((std::vector<bool>{false, false, true, true}), states());
    ASSERT_TRUE(WaitForRows(frame, 1));
    ClickButton(toolbar, CLEAR_COMMAND);
    EXPECT_TRUE(WaitForRows(frame, 0));
    ClickButton(toolbar, FIND_COMMAND);
    EXPECT_NE(0, GetWindowLongW(GetDlgItem(frame, FIND_EDIT), GWL_STYLE) & WS_VISIBLE);

    // View > Toolbar hides it, and that is remembered.
    EXPECT_TRUE(MenuChecked(frame, TOOLBAR_COMMAND));
    Command(frame, TOOLBAR_COMMAND);
    EXPECT_FALSE(MenuChecked(frame, TOOLBAR_COMMAND));
    EXPECT_EQ(0, GetWindowLongW(toolbar, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(0, terminal.Stop());
    TerminalSettings saved;
    LoadTerminalSettings(settings.Key(), &saved, nullptr);
    EXPECT_FALSE(saved.showToolbar);
}

// The values under a key of HKEY_CURRENT_USER, each as name=bytes; empty when there is no key.
std::vector<std::string> KeyValues(const std::wstring& path)
{
    std::vector<std::string> values;
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        BYTE data[8192];
        DWORD dataSize = sizeof(data);
        if (RegEnumValueW(key, index, name, &nameLength, NULL, NULL, data, &dataSize) != ERROR_SUCCESS) {
            break;
        }
        values.push_back(Narrow(name) + "=" + std::string(reinterpret_cast<char*>(data), dataSize));
    }
    RegCloseKey(key);
    return values;
}

// The text column of every row of a list in another process, read through a buffer in that process.
std::vector<std::string> RowsOfListElsewhere(HWND list)
{
    std::vector<std::string> rows;
    DWORD owner = 0;
    GetWindowThreadProcessId(list, &owner);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
    if (process == NULL) {
        return rows;
    }
    struct Remote {
        LVITEMW item;
        wchar_t text[512];
    };
    char* remote = static_cast<char*>(VirtualAllocEx(process, NULL, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
    for (int row = 0; remote != NULL && row < static_cast<int>(count); ++row) {
        Remote local = {};
        local.item.iSubItem = 2;
        local.item.cchTextMax = 512;
        local.item.pszText = reinterpret_cast<wchar_t*>(remote + offsetof(Remote, text));
        DWORD_PTR copied = 0;
        if (!WriteProcessMemory(process, remote, &local, sizeof(local), NULL) ||
            !SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote),
                                 SMTO_NORMAL, 5000, &copied) ||
            !ReadProcessMemory(process, remote, &local, sizeof(local), NULL)) {
            break;
        }
        local.text[511] = L'\0';
        rows.push_back(Narrow(local.text));
    }
    if (remote != NULL) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rows;
}

// The status bar of a frame in another process: WM_GETTEXT crosses processes.
std::string StatusElsewhere(HWND frame)
{
    char text[512] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(GetDlgItem(frame, STATUS_CONTROL), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 5000, &copied);
    return text;
}

std::wstring StartedCommandLine;

BOOL WINAPI RecordStart(LPCWSTR, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                        LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION)
{
    StartedCommandLine = commandLine;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// A log named while a terminal runs is shown in a window of its own, which takes no line of a
// host and writes none of the live terminal's settings; File > Open in new window starts the
// program again to view the file so.
TEST_F(WindowFeatures, ALogNamedWhileATerminalRunsIsShownInAViewerOfItsOwnBesideTheLiveLines)
{
    TemporaryFile log(L"viewed-log");
    ASSERT_TRUE(WriteFileBytes(log.Path(), LogText({"09:05:03.007 debug     first saved", "09:05:04.500 log       second saved"})));
    const std::wstring name = log.Path().substr(log.Path().find_last_of(L'\\') + 1);
    TerminalInProcess terminal(TerminalInProcess::Mode::Window);
    ASSERT_TRUE(terminal.Start());
    HWND frame = terminal.Window();
    {
        PatchedImport startPatch("CreateProcessW", RecordStart);
        ASSERT_TRUE(startPatch.Applied());
        DialogAnswer = log.Path();
        Command(frame, OPEN_VIEWER_COMMAND);
    }
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, self, MAX_PATH);
    EXPECT_EQ(L"\"" + std::wstring(self) + L"\" --view \"" + log.Path() + L"\"", StartedCommandLine);
    EXPECT_EQ((std::vector<std::string>{"cannot open " + Narrow(log.Path()) + " in a new window: " +
                                        SystemErrorText(ERROR_ACCESS_DENIED)}),
              MessageBoxTexts);

    const std::vector<std::string> settingsBefore = KeyValues(DefaultSettingsKey);
    CapturedProgram viewer;
    ASSERT_TRUE(viewer.Start(PathBesideProgram(L"vornak-terminal.exe"), {log.Path()}));
    const std::wstring title = name + L" - Vornak Debug Terminal (viewer)";
    HWND viewed = NULL;
    ASSERT_TRUE(WaitFor([&] { return (viewed = FindWindowW(TerminalFrameClass, title.c_str())) != NULL; }))
        << viewer.Errors();
    const std::string shown = "2 lines shown of 2 kept; file " + Narrow(name) + " (2 lines)";
    ASSERT_TRUE(WaitFor([&] { return StatusElsewhere(viewed) == shown; })) << StatusElsewhere(viewed);
    EXPECT_EQ((std::vector<std::string>{"first saved", "second saved"}), RowsOfListElsewhere(GetDlgItem(viewed, LIST_CONTROL)));

    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("from a host"));
    ASSERT_TRUE(WaitForRows(frame, 1));
    EXPECT_EQ((std::vector<std::string>{"from a host"}), ShownTexts(frame));
    EXPECT_EQ(terminal.Receiver(), FindWindowA(VORNAK_TERMINAL_CLASS, NULL));
    EXPECT_EQ(HWND(NULL), FindWindowExA(NULL, terminal.Receiver(), VORNAK_TERMINAL_CLASS, NULL));
    EXPECT_EQ(shown, StatusElsewhere(viewed));

    PostMessageW(viewed, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, viewer.Wait(10000));
    EXPECT_EQ("", viewer.Errors());
    EXPECT_EQ(settingsBefore, KeyValues(DefaultSettingsKey));
    EXPECT_EQ(0, terminal.Stop());
}

} // namespace
