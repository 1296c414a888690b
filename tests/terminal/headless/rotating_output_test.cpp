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
using Files = std::vector<std::string>;

// An output rotating at rotateBytes with keep old files, opened; its files removed after the test.
class RotatedFiles {
public:
    RotatedFiles(uint64_t rotateBytes, unsigned keep) : file_(L"rot"), output_(file_.Path(), rotateBytes, keep) {}
    ~RotatedFiles()
    {
        for (unsigned i = 1; i <= 5; ++i) {
            DeleteFileW(Old(i).c_str());
        }
    }
    bool Open() { return output_.Open(&error_); }
    const std::string& OpenError() const { return error_; }
    // Writes bytes; Problem() is what the write said.
    bool Write(const std::string& bytes) { return output_.Write(bytes, Ignored, &written_, &problem_); }
    const std::string& Problem() const { return problem_; }

    const std::wstring& Path() const { return file_.Path(); }
    std::wstring Old(unsigned index) const { return file_.Path() + L"." + std::to_wstring(index); }
    std::string Bytes() const { return ReadFileBytes(Path()); }
    std::string OldBytes(unsigned index) const { return ReadFileBytes(Old(index)); }
    bool OldExists(unsigned index) const { return GetFileAttributesW(Old(index).c_str()) != INVALID_FILE_ATTRIBUTES; }
    // Every file there is, the oldest first: NAME.5 ... NAME.1, then NAME.
    std::vector<std::string> All() const
    {
        std::vector<std::string> all;
        for (unsigned i = 5; i >= 1; --i) {
            if (OldExists(i)) {
                all.push_back(OldBytes(i));
            }
        }
        all.push_back(Bytes());
        return all;
    }

private:
    TemporaryFile file_;
    RotatingOutput output_;
    std::string error_;
    std::string problem_;
    size_t written_ = 0;
};

TEST(RotatingOutput, LinesFillAFileUpToTheSizeThenItMovesToNameDot1)
{
    RotatedFiles files(20, 2);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    EXPECT_TRUE(files.Write("line one\nline two\n"));   // 18 bytes
    EXPECT_TRUE(files.Write("line three\n"));           // would make 29: rotates first
    EXPECT_EQ("", files.Problem());
    EXPECT_EQ((Files{"line one\nline two\n", "line three\n"}), files.All());
}

TEST(RotatingOutput, OneBatchIsSplitBetweenFilesOnlyAtLineEnds)
{
    RotatedFiles files(10, 3);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    EXPECT_TRUE(files.Write("aaaa\nbbbb\ncccc\ndddd\neeee\n"));
    EXPECT_EQ((Files{"aaaa\nbbbb\n", "cccc\ndddd\n", "eeee\n"}), files.All());
}

TEST(RotatingOutput, OnlyKeepOldFilesAreKeptTheOldestGoes)
{
    RotatedFiles files(5, 2);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    for (const char* line : {"1111\n", "2222\n", "3333\n", "4444\n"}) {
        EXPECT_TRUE(files.Write(line));
    }
    EXPECT_EQ((Files{"2222\n", "3333\n", "4444\n"}), files.All());
}

TEST(RotatingOutput, KeepingNoneStartsTheFileAfresh)
{
    RotatedFiles files(5, 0);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    EXPECT_TRUE(files.Write("1111\n2222\n"));
    EXPECT_EQ((Files{"2222\n"}), files.All());
}

TEST(RotatingOutput, ALineLongerThanTheSizeGetsAFileOfItsOwn)
{
    RotatedFiles files(4, 3);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    std::string longLine(255, 'x');
    longLine += '\n';
    EXPECT_TRUE(files.Write("ab\n" + longLine + "cd\n"));
    EXPECT_EQ((Files{"ab\n", longLine, "cd\n"}), files.All());
}

TEST(RotatingOutput, ARotationARenameRefusesIsReportedAndTheLinesGoOnIntoTheSameFile)
{
    RotatedFiles files(5, 1);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    EXPECT_TRUE(files.Write("1111\n"));
    // A reader that does not let the file be renamed or deleted.
    HANDLE reader = CreateFileW(files.Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_TRUE(files.Write("2222\n"));
    CloseHandle(reader);
    EXPECT_EQ("cannot rotate the output file now, no file was changed and lines go on into it (tried again "
              "later): renaming " + ShownAscii(files.Path()) + " failed: " + SystemErrorText(ERROR_SHARING_VIOLATION),
              files.Problem());
    EXPECT_EQ((Files{"1111\n2222\n"}), files.All());
    EXPECT_TRUE(files.Write("3333\n"));  // the reader is gone: rotation works again
    EXPECT_EQ("", files.Problem());
    EXPECT_EQ((Files{"1111\n2222\n", "3333\n"}), files.All());
}

TEST(RotatingOutput, AHeldOldFileChangesNoFileAndTheRotationIsTriedAgainOnlyOnceTheFileGrewBySize)
{
    RotatedFiles files(10, 3);
    ASSERT_TRUE(files.Open()) << files.OpenError();
    for (const char* line : {"1111\n", "2222\n", "3333\n", "4444\n", "5555\n", "6666\n", "7777\n", "8888\n"}) {
        ASSERT_TRUE(files.Write(line));
    }
    ASSERT_EQ("1111\n2222\n", files.OldBytes(3));
    // A middle file held without letting it be renamed: the one after it must not pay for it.
    HANDLE reader = CreateFileW(files.Old(2).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_TRUE(files.Write("9999\n"));
    const std::string refused = "cannot rotate the output file now, no file was changed and lines go on into it (tried "
                                "again later): renaming " + ShownAscii(files.Old(2)) + " failed: " +
                                SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(refused, files.Problem());
    CloseHandle(reader);
    // Not tried again at the next write, and said again while it lasts (so that it is told once).
    EXPECT_TRUE(files.Write("aaaa\n"));
    EXPECT_EQ(refused, files.Problem());
    EXPECT_EQ((Files{"1111\n2222\n", "3333\n4444\n", "5555\n6666\n", "7777\n8888\n9999\naaaa\n"}), files.All());
    // Grown by another 10 bytes: rotated.
    EXPECT_TRUE(files.Write("bbbb\n"));
    EXPECT_EQ("", files.Problem());
    EXPECT_EQ((Files{"3333\n4444\n", "5555\n6666\n", "7777\n8888\n9999\naaaa\n", "bbbb\n"}), files.All());
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
