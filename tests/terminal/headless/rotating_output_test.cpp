// Output files rotated at a size: names, kept files, whole lines, and failures said aloud.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ascii_text.h"
#include "file_bytes.h"
#include "rotating_output.h"
#include "system_error_text.h"
#include "temporary_file.h"

namespace {

const WriteProgress Ignored = [](size_t) {};

// The output file and its old files, removed after the test.
class RotatedFiles {
public:
    RotatedFiles() : file_(L"rot") {}
    ~RotatedFiles()
    {
        for (unsigned i = 1; i <= 5; ++i) {
            DeleteFileW(Old(i).c_str());
        }
    }
    const std::wstring& Path() const { return file_.Path(); }
    std::wstring Old(unsigned index) const { return file_.Path() + L"." + std::to_wstring(index); }
    std::string Bytes() const { return ReadFileBytes(Path()); }
    std::string OldBytes(unsigned index) const { return ReadFileBytes(Old(index)); }
    bool OldExists(unsigned index) const { return GetFileAttributesW(Old(index).c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    TemporaryFile file_;
};

TEST(RotatingOutput, LinesFillAFileUpToTheSizeThenItMovesToNameDot1)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 20, 2);
    std::string error;
    ASSERT_TRUE(output.Open(&error)) << error;
    std::string problem;
    size_t written = 0;
    EXPECT_TRUE(output.Write("line one\nline two\n", Ignored, &written, &problem));   // 18 bytes
    EXPECT_TRUE(output.Write("line three\n", Ignored, &written, &problem));           // would make 29: rotates first
    EXPECT_EQ("", problem);
    EXPECT_EQ("line one\nline two\n", files.OldBytes(1));
    EXPECT_EQ("line three\n", files.Bytes());
}

TEST(RotatingOutput, OneBatchIsSplitBetweenFilesOnlyAtLineEnds)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 10, 3);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    std::string problem;
    size_t written = 0;
    EXPECT_TRUE(output.Write("aaaa\nbbbb\ncccc\ndddd\neeee\n", Ignored, &written, &problem));
    EXPECT_EQ("aaaa\nbbbb\n", files.OldBytes(2));
    EXPECT_EQ("cccc\ndddd\n", files.OldBytes(1));
    EXPECT_EQ("eeee\n", files.Bytes());
}

TEST(RotatingOutput, OnlyKeepOldFilesAreKeptTheOldestGoes)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 5, 2);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    std::string problem;
    size_t written = 0;
    for (const char* line : {"1111\n", "2222\n", "3333\n", "4444\n"}) {
        EXPECT_TRUE(output.Write(line, Ignored, &written, &problem));
    }
    EXPECT_EQ("2222\n", files.OldBytes(2));
    EXPECT_EQ("3333\n", files.OldBytes(1));
    EXPECT_EQ("4444\n", files.Bytes());
    EXPECT_FALSE(files.OldExists(3));
}

TEST(RotatingOutput, KeepingNoneStartsTheFileAfresh)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 5, 0);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    std::string problem;
    size_t written = 0;
    EXPECT_TRUE(output.Write("1111\n2222\n", Ignored, &written, &problem));
    EXPECT_EQ("2222\n", files.Bytes());
    EXPECT_FALSE(files.OldExists(1));
}

TEST(RotatingOutput, ALineLongerThanTheSizeGetsAFileOfItsOwn)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 4, 3);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    std::string problem;
    size_t written = 0;
    std::string longLine(255, 'x');
    longLine += '\n';
    EXPECT_TRUE(output.Write("ab\n" + longLine + "cd\n", Ignored, &written, &problem));
    EXPECT_EQ("ab\n", files.OldBytes(2));
    EXPECT_EQ(longLine, files.OldBytes(1));
    EXPECT_EQ("cd\n", files.Bytes());
}

TEST(RotatingOutput, ARotationARenameRefusesIsReportedAndTheLinesGoOnIntoTheSameFile)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 5, 1);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    std::string problem;
    size_t written = 0;
    EXPECT_TRUE(output.Write("1111\n", Ignored, &written, &problem));
    // A reader that does not let the file be renamed or deleted.
    HANDLE reader = CreateFileW(files.Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_TRUE(output.Write("2222\n", Ignored, &written, &problem));
    CloseHandle(reader);
    EXPECT_EQ("cannot rotate the output file now, no file was changed and lines go on into it (tried again "
              "later): renaming " + ShownAscii(files.Path()) + " failed: " + SystemErrorText(ERROR_SHARING_VIOLATION),
              problem);
    EXPECT_EQ("1111\n2222\n", files.Bytes());
    EXPECT_TRUE(output.Write("3333\n", Ignored, &written, &problem));  // the reader is gone: rotation works again
    EXPECT_EQ("", problem);
    EXPECT_EQ("1111\n2222\n", files.OldBytes(1));
    EXPECT_EQ("3333\n", files.Bytes());
}

TEST(RotatingOutput, AHeldOldFileChangesNoFileAndTheRotationIsTriedAgainOnlyOnceTheFileGrewBySize)
{
    RotatedFiles files;
    RotatingOutput output(files.Path(), 10, 3);
    std::string error;
    ASSERT_TRUE(output.Open(&error));
    std::string problem;
    size_t written = 0;
    for (const char* line : {"1111\n", "2222\n", "3333\n", "4444\n", "5555\n", "6666\n", "7777\n", "8888\n"}) {
        ASSERT_TRUE(output.Write(line, Ignored, &written, &problem));
    }
    ASSERT_EQ("1111\n2222\n", files.OldBytes(3));
    // A middle file held without letting it be renamed: the one after it must not pay for it.
    HANDLE reader = CreateFileW(files.Old(2).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_TRUE(output.Write("9999\n", Ignored, &written, &problem));
    const std::string refused = "cannot rotate the output file now, no file was changed and lines go on into it (tried "
                                "again later): renaming " + ShownAscii(files.Old(2)) + " failed: " +
                                SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(refused, problem);
    CloseHandle(reader);
    // Not tried again at the next write, and said again while it lasts (so that it is told once).
    EXPECT_TRUE(output.Write("aaaa\n", Ignored, &written, &problem));
    EXPECT_EQ(refused, problem);
    EXPECT_EQ("1111\n2222\n", files.OldBytes(3));
    EXPECT_EQ("3333\n4444\n", files.OldBytes(2));
    EXPECT_EQ("5555\n6666\n", files.OldBytes(1));
    EXPECT_EQ("7777\n8888\n9999\naaaa\n", files.Bytes());
    // Grown by another 10 bytes: rotated.
    EXPECT_TRUE(output.Write("bbbb\n", Ignored, &written, &problem));
    EXPECT_EQ("", problem);
    EXPECT_EQ("3333\n4444\n", files.OldBytes(3));
    EXPECT_EQ("5555\n6666\n", files.OldBytes(2));
    EXPECT_EQ("7777\n8888\n9999\naaaa\n", files.OldBytes(1));
    EXPECT_EQ("bbbb\n", files.Bytes());
}

TEST(RotatingOutput, AFileThatCannotBeOpenedIsReported)
{
    RotatingOutput output(L"C:\\no-such-folder-here\\out.txt", 100, 1);
    std::string error;
    EXPECT_FALSE(output.Open(&error));
    EXPECT_EQ(0u, error.find("cannot open the output file C:\\no-such-folder-here\\out.txt: error 3"));
    std::string problem;
    size_t written = 0;
    EXPECT_FALSE(output.Write("lost\n", Ignored, &written, &problem));
    EXPECT_EQ(0u, problem.find("cannot open the output file C:\\no-such-folder-here\\out.txt: error 3"));
}

} // namespace
