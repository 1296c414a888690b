// --stop against a terminal at a higher integrity level (elevated) than the caller. There the
// system drops the caller's WM_CLOSE silently (PostMessage still succeeds) and may refuse to open
// the terminal's process. Wine runs everything at one level, so the test makes this program see
// what such a caller sees, by replacing those functions in its own import table, and stops a real
// terminal: the stop request must reach it through its stop event, and the wait must end only
// when it has ended, every line written.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "instance_control.h"
#include "patched_import.h"
#include "running_terminal.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"
#include "vornakdbg32.h"

namespace {

using Lines = std::vector<std::string>;

int CloseRequestsPosted = 0;

// As the system does for a message its filter blocks: reports success, delivers nothing.
BOOL WINAPI DropPostedMessage(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE) {
        ++CloseRequestsPosted;
    }
    return TRUE;
}

HANDLE WINAPI RefuseOpenProcess(DWORD, BOOL, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return NULL;
}

HANDLE WINAPI RefuseOpenMutex(DWORD, BOOL, LPCWSTR)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return NULL;
}

Lines SampleLines(int count)
{
    Lines lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back("statistic sample " + std::to_string(i));
    }
    return lines;
}

class StopAcrossIntegrityLevels : public ::testing::Test {
protected:
    void SetUp() override
    {
        CloseRequestsPosted = 0;
        ASSERT_TRUE(terminal_.Start());
        for (int i = 0; i < SampleCount; ++i) {
            ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakStat_Message("sample %d", i));
        }
    }

    static constexpr int SampleCount = 200;
    TerminalTestLock lock_;
    RunningTerminal terminal_;
};

TEST_F(StopAcrossIntegrityLevels, ProcessRefusedTheWaitEndsWhenTheTerminalGivesUpItsPresence)
{
    {
        PatchedImport dropPosts("PostMessageW", DropPostedMessage);
        PatchedImport refuseProcess("OpenProcess", RefuseOpenProcess);
        ASSERT_TRUE(dropPosts.Applied() && refuseProcess.Applied());
        EXPECT_EQ(StopResult::Stopped, StopTerminal(20, NULL));
    }
    EXPECT_EQ(0, CloseRequestsPosted);
    // Every line is written before the terminal gives its presence up.
    EXPECT_EQ(SampleLines(SampleCount), terminal_.LinesWithoutTime());
    EXPECT_EQ(0, terminal_.Stop());
}

TEST_F(StopAcrossIntegrityLevels, ProcessAndPresenceRefusedTheWaitEndsWithTheWindow)
{
    {
        PatchedImport dropPosts("PostMessageW", DropPostedMessage);
        PatchedImport refuseProcess("OpenProcess", RefuseOpenProcess);
        PatchedImport refuseMutex("OpenMutexW", RefuseOpenMutex);
        ASSERT_TRUE(dropPosts.Applied() && refuseProcess.Applied() && refuseMutex.Applied());
        EXPECT_EQ(StopResult::Stopped, StopTerminal(20, NULL));
    }
    EXPECT_EQ(0, CloseRequestsPosted);
    EXPECT_EQ(nullptr, FindWindowA(VORNAK_TERMINAL_CLASS, NULL));
    EXPECT_EQ(0, terminal_.Stop());
    EXPECT_EQ(SampleLines(SampleCount), terminal_.LinesWithoutTime());
}

TEST_F(StopAcrossIntegrityLevels, ProcessOpenTheWaitEndsWithTheProcess)
{
    {
        PatchedImport dropPosts("PostMessageW", DropPostedMessage);
        ASSERT_TRUE(dropPosts.Applied());
        EXPECT_EQ(StopResult::Stopped, StopTerminal(20, NULL));
    }
    EXPECT_EQ(0, CloseRequestsPosted);
    EXPECT_EQ(SampleLines(SampleCount), terminal_.LinesWithoutTime());
    EXPECT_EQ(0, terminal_.Stop());
}

// Who may do what to a named object of the running terminal, one line per entry of its DACL.
Lines AccessToNamedObject(const wchar_t* name, bool isEvent)
{
    Lines entries;
    HANDLE object = isEvent ? OpenEventW(READ_CONTROL, FALSE, name) : OpenMutexW(READ_CONTROL, FALSE, name);
    if (object == NULL) {
        entries.push_back("cannot open: error " + std::to_string(GetLastError()));
        return entries;
    }
    PACL dacl = NULL;
    PSECURITY_DESCRIPTOR descriptor = NULL;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, NULL, NULL, &dacl, NULL,
                        &descriptor) == ERROR_SUCCESS &&
        dacl != NULL) {
        for (DWORD i = 0; i < dacl->AceCount; ++i) {
            ACCESS_ALLOWED_ACE* entry = NULL;
            wchar_t* sid = NULL;
            if (!GetAce(dacl, i, reinterpret_cast<void**>(&entry)) ||
                entry->Header.AceType != ACCESS_ALLOWED_ACE_TYPE ||
                !ConvertSidToStringSidW(&entry->SidStart, &sid)) {
                entries.push_back("an entry that is not an allowing one");
                continue;
            }
            char mask[16];
            snprintf(mask, sizeof(mask), "0x%08lx", static_cast<unsigned long>(entry->Mask));
            std::wstring who = sid;
            entries.push_back(std::string("allow ") + mask + " to " + std::string(who.begin(), who.end()));
            LocalFree(sid);
        }
    }
    LocalFree(descriptor);
    CloseHandle(object);
    return entries;
}

std::string UserSid()
{
    HANDLE token = NULL;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    char buffer[256];
    DWORD size = 0;
    wchar_t* sid = NULL;
    std::string text = "unknown";
    if (GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
        std::wstring wide = sid;
        text.assign(wide.begin(), wide.end());
        LocalFree(sid);
    }
    CloseHandle(token);
    return text;
}

// The descriptors' mandatory label (medium, no write up) is lost under Wine, which keeps no
// labels; the access lists are what can be seen here.
TEST_F(StopAcrossIntegrityLevels, StopEventAndPresenceAdmitTheUserAndInteractiveUsers)
{
    const std::string interactive = "S-1-5-4";
    Lines stopEvent = {
        "allow 0x00100002 to " + UserSid(),  // SYNCHRONIZE | EVENT_MODIFY_STATE
        "allow 0x00100002 to " + interactive,
    };
    EXPECT_EQ(stopEvent, AccessToNamedObject(L"Local\\VornakDebugTerminal.Stop", true));
    Lines presence = {
        "allow 0x00100000 to " + UserSid(),  // SYNCHRONIZE
        "allow 0x00100000 to " + interactive,
    };
    EXPECT_EQ(presence, AccessToNamedObject(L"Local\\VornakDebugTerminal.Instance", false));
    EXPECT_EQ(0, terminal_.Stop());
}

} // namespace
