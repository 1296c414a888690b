// The output file on a volume that fills up, through a WriteFile that takes only the room left
// (as a nearly full disk does: part of a write, then ERROR_DISK_FULL): no part of a line stays
// in the file, the lines that went in are counted exactly, and once there is room again the next
// line starts a line of its own; with and without rotation.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "ascii_text.h"
#include "file_bytes.h"
#include "output_file.h"
#include "patched_import.h"
#include "rotating_output.h"
#include "system_error_text.h"
#include "temporary_file.h"

namespace {

using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

size_t RoomLeft = 0;

BOOL WINAPI WriteIntoFullVolume(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    static const auto RealWriteFile =
        reinterpret_cast<WriteFileFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "WriteFile")));
    if (RoomLeft == 0) {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    DWORD taken = static_cast<DWORD>(std::min<size_t>(size, RoomLeft));
    BOOL ok = RealWriteFile(file, data, taken, written, overlapped);
    RoomLeft -= ok ? *written : 0;
    return ok;
}

// A volume with room bytes left for as long as the object lives.
class NearlyFullVolume {
public:
    explicit NearlyFullVolume(size_t room) { RoomLeft = room; }
    bool Applied() const { return patch_.Applied(); }

private:
    PatchedImport patch_{"WriteFile", WriteIntoFullVolume};
};

TEST(FullVolume, AWriteCutShortLeavesOnlyWholeLinesAndTheNextLineStartsItsOwn)
{
    TemporaryFile path(L"full");
    // Yesterday's run ended inside a line: it is kept, and ended before the first new line.
    ASSERT_TRUE(WriteFileBytes(path.Path(), "yesterday\ncut sho"));
    AppendedFile file(path.Path());
    DWORD error = 0;
    ASSERT_TRUE(file.Open(&error));
    size_t written = 0;
    {
        NearlyFullVolume volume(10);  // the line end, "line 1\n" and "li"
        ASSERT_TRUE(volume.Applied());
        EXPECT_FALSE(file.Append("line 1\nline 2\n", &written, &error));
    }
    EXPECT_EQ(7u, written);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), error);
    EXPECT_EQ("yesterday\ncut sho\nline 1\n", ReadFileBytes(path.Path()));
    EXPECT_TRUE(file.Append("line 3\n", &written, &error));
    file.Close();
    EXPECT_EQ("yesterday\ncut sho\nline 1\nline 3\n", ReadFileBytes(path.Path()));
}

TEST(FullVolume, ARotatingFileCountsTheLinesThatWentInEvenAfterARotation)
{
    TemporaryFile path(L"full-rot");
    RotatingOutput output(path.Path(), 10, 1);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    size_t written = 0;
    size_t progressed = 0;
    std::string problem;
    {
        // Two lines fill the first file; the rotation takes no room; "cc" of the third goes in.
        NearlyFullVolume volume(12);
        EXPECT_FALSE(output.Write("aaaa\nbbbb\ncccc\ndddd\n", [&](size_t bytes) { progressed = bytes; }, &written,
                                  &problem));
    }
    EXPECT_EQ(10u, written);
    EXPECT_EQ(10u, progressed);
    EXPECT_EQ("cannot write to the output file " + ShownAscii(path.Path()) + ": " + SystemErrorText(ERROR_DISK_FULL),
              problem);
    EXPECT_EQ("aaaa\nbbbb\n", ReadFileBytes(path.Path() + L".1"));
    EXPECT_EQ("", ReadFileBytes(path.Path()));
    EXPECT_TRUE(output.Write("eeee\n", [](size_t) {}, &written, &problem));
    EXPECT_EQ("eeee\n", ReadFileBytes(path.Path()));
    DeleteFileW((path.Path() + L".1").c_str());
}

} // namespace
