// The installer's version resource, read back the way Explorer reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "child_process.h"

namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring path = ProgramFolder() + L"VrkQuelmor.exe";
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_NE(0u, size);
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, &data_[0]));
    }

    std::wstring Field(const std::wstring& name)
    {
        void* value = NULL;
        UINT length = 0;
        std::wstring query = L"\\StringFileInfo\\040904b0\\" + name;
        if (!VerQueryValueW(&data_[0], query.c_str(), &value, &length) || length == 0) {
            return L"<missing>";
        }
        return static_cast<const wchar_t*>(value);
    }

    std::string data_;
};

TEST_F(VersionResource, FixedPartCarriesVersionOneZeroZeroOne)
{
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(&data_[0], L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), fixed->dwSignature);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

TEST_F(VersionResource, StringTableIsUsEnglishUnicode)
{
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(&data_[0], L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(sizeof(Translation), length);
    EXPECT_EQ(0x0409, translation->language);
    EXPECT_EQ(1200, translation->codePage);
}

TEST_F(VersionResource, NamesTheProgramAndItsProduct)
{
    EXPECT_EQ(L"Vornak Protocol Driver Installer", Field(L"FileDescription"));
    EXPECT_EQ(L"Vornak Protocol Driver Installer", Field(L"ProductName"));
    EXPECT_EQ(L"VrkQuelmor", Field(L"InternalName"));
    EXPECT_EQ(L"VrkQuelmor.exe", Field(L"OriginalFilename"));
    EXPECT_EQ(L"1.0.0.1", Field(L"FileVersion"));
    EXPECT_EQ(L"1.0.0.1", Field(L"ProductVersion"));
}

} // namespace
