// The installer's bounded text and path arithmetic: boundaries on both sides, canaries after
// every buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "error_report.h"
#include "error_text.h"
#include "guarded_buffer.h"
#include "inf_path.h"

namespace {

using GuardedText = GuardedBuffer<wchar_t>;

std::wstring Compose(GuardedText& buffer, uint32_t code, const wchar_t* systemText, const wchar_t* format, ...)
{
    va_list values;
    va_start(values, format);
    ComposeErrorText(buffer.Data(), buffer.Capacity(), code, systemText, format, values);
    va_end(values);
    return buffer.Text();
}

TEST(ErrorText, CodeMessageAndCauseInThatOrder)
{
    GuardedText buffer(ErrorTextCapacity);
    EXPECT_EQ(L"Error 0x8004a024: Holder currently holds the lock, try later.\n\nPossible cause:\n\nBusy.\r\n",
              Compose(buffer, 0x8004A024u, L"Busy.\r\n", L"%ls currently holds the lock, try later.",
                      L"Holder"));
}

TEST(ErrorText, CodeZeroHasNeitherPrefixNorCause)
{
    GuardedText buffer(ErrorTextCapacity);
    EXPECT_EQ(L"plain 7", Compose(buffer, 0, L"ignored", L"plain %d", 7));
}

TEST(ErrorText, TextOfFourHundredCharactersIsCutToThreeHundredNinetyNine)
{
    std::wstring name(380, L'n');
    GuardedText buffer(ErrorTextCapacity);

    std::wstring text = Compose(buffer, 0x80004005u, L"Unspecified error\r\n", L"%ls", name.c_str());

    // "Error 0x80004005: " is 18 characters: one more character of the cause fits.
    EXPECT_EQ(L"Error 0x80004005: " + name + L"\n", text);
    EXPECT_TRUE(buffer.CanariesIntact());
}

TEST(ErrorText, ThreeHundredNinetyNineCharactersFitAndFourHundredAreCut)
{
    GuardedText buffer(ErrorTextCapacity);
    std::wstring fits(388, L'n'); // after "Error 0x1: ", 11 characters
    std::wstring over(389, L'n');

    EXPECT_EQ(L"Error 0x1: " + fits, Compose(buffer, 1, NULL, L"%ls", fits.c_str()));
    EXPECT_EQ(L"Error 0x1: " + fits, Compose(buffer, 1, NULL, L"%ls", over.c_str()));
    EXPECT_TRUE(buffer.CanariesIntact());
}

TEST(ErrorText, LongSystemTextIsCutAtTheBuffersEnd)
{
    std::wstring cause(1000, L'c');
    GuardedText buffer(ErrorTextCapacity);

    std::wstring text = Compose(buffer, 1, cause.c_str(), L"short");

    EXPECT_EQ(399u, text.size());
    EXPECT_TRUE(buffer.CanariesIntact());
}

TEST(ResultCode, WindowsErrorNumbersBecomeResultCodes)
{
    EXPECT_EQ(S_OK, ResultFromErrorNumber(0));
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), ResultFromErrorNumber(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(static_cast<HRESULT>(0x800704C7), ResultFromErrorNumber(ERROR_CANCELLED));
    EXPECT_EQ(static_cast<HRESULT>(0x8007FFFF), ResultFromErrorNumber(0x0001FFFF));
    // The setup API's own numbers already have the top bit set and pass unchanged.
    EXPECT_EQ(static_cast<HRESULT>(0xE0000100), ResultFromErrorNumber(0xE0000100));
    EXPECT_EQ(static_cast<HRESULT>(0x80000000), ResultFromErrorNumber(0x80000000));
}

TEST(InfPath, SiblingOfTheProgramKeepsDriveAndFolder)
{
    GuardedText buffer(PathCapacity);
    ASSERT_TRUE(SiblingPath(L"C:\\Program Files\\Vornak\\VrkQuelmor.exe", L"vrkprot6", L".inf", buffer.Data(),
                            buffer.Capacity()));
    EXPECT_EQ(L"C:\\Program Files\\Vornak\\vrkprot6.inf", buffer.Text());
}

TEST(InfPath, UncPathsAndForwardSlashesKeepTheirFolder)
{
    GuardedText buffer(PathCapacity);
    ASSERT_TRUE(SiblingPath(L"\\\\server\\share\\bin/VrkQuelmor.exe", L"vrkprot6", L".inf", buffer.Data(),
                            buffer.Capacity()));
    EXPECT_EQ(L"\\\\server\\share\\bin/vrkprot6.inf", buffer.Text());
}

TEST(InfPath, ResultOfTwoHundredFiftyNineCharactersFits)
{
    std::wstring folder = L"C:\\" + std::wstring(243, L'd') + L"\\"; // 2 + 245
    GuardedText buffer(PathCapacity);

    ASSERT_TRUE(SiblingPath((folder + L"Q.exe").c_str(), L"vrkprot6", L".inf", buffer.Data(), buffer.Capacity()));
    EXPECT_EQ(259u, buffer.Text().size());
    EXPECT_TRUE(buffer.CanariesIntact());
}

TEST(InfPath, ResultOfTwoHundredSixtyCharactersIsRefusedAndLeftEmpty)
{
    std::wstring folder = L"C:\\" + std::wstring(244, L'd') + L"\\"; // 2 + 246
    GuardedText buffer(PathCapacity);

    EXPECT_FALSE(SiblingPath((folder + L"Q.exe").c_str(), L"vrkprot6", L".inf", buffer.Data(), buffer.Capacity()));
    EXPECT_EQ(L"", buffer.Text());
    EXPECT_TRUE(buffer.CanariesIntact());
}

TEST(InfPath, DirectoryOfTwoHundredFiftyFiveCharactersSplitsAndOneMoreDoesNot)
{
    wchar_t drive[DriveCapacity];
    GuardedText directory(DirectoryCapacity);
    std::wstring fits = L"C:\\" + std::wstring(253, L'd') + L"\\x";
    std::wstring tooLong = L"C:\\" + std::wstring(254, L'd') + L"\\x";

    EXPECT_TRUE(SplitDriveAndDirectory(fits.c_str(), drive, DriveCapacity, directory.Data(), directory.Capacity()));
    EXPECT_EQ(255u, directory.Text().size());
    EXPECT_FALSE(SplitDriveAndDirectory(tooLong.c_str(), drive, DriveCapacity, directory.Data(), directory.Capacity()));
    EXPECT_EQ(L"", directory.Text());
    EXPECT_TRUE(directory.CanariesIntact());
}

TEST(InfPath, JoinIntoTheSameBufferAsTheSourcePath)
{
    // The install command overwrites the program path with the INF path in place.
    wchar_t path[PathCapacity] = L"D:\\tools\\VrkQuelmor.exe";
    ASSERT_TRUE(SiblingPath(path, L"vrkprot6", L".inf", path, PathCapacity));
    EXPECT_STREQ(L"D:\\tools\\vrkprot6.inf", path);
}

} // namespace
