// The installer's version resource, read back the way Explorer reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "version_resource.h"

namespace {

const wchar_t Installer[] = L"VrkQuelmor.exe";

TEST(VersionResource, FixedPartCarriesVersionOneZeroZeroOne)
{
    VersionResource resource(Installer);
    const VS_FIXEDFILEINFO* fixed = resource.Fixed();
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), fixed->dwSignature);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

TEST(VersionResource, StringTableIsUsEnglishUnicode)
{
    WORD language = 0;
    WORD codePage = 0;
    ASSERT_EQ(1u, VersionResource(Installer).Translations(&language, &codePage));
    EXPECT_EQ(0x0409, language);
    EXPECT_EQ(1200, codePage);
}

TEST(VersionResource, NamesTheProgramAndItsProduct)
{
    VersionResource resource(Installer);
    EXPECT_EQ(L"Vornak Protocol Driver Installer", resource.Field(L"FileDescription"));
    EXPECT_EQ(L"Vornak Protocol Driver Installer", resource.Field(L"ProductName"));
    EXPECT_EQ(L"VrkQuelmor", resource.Field(L"InternalName"));
    EXPECT_EQ(L"VrkQuelmor.exe", resource.Field(L"OriginalFilename"));
    EXPECT_EQ(L"1.0.0.1", resource.Field(L"FileVersion"));
    EXPECT_EQ(L"1.0.0.1", resource.Field(L"ProductVersion"));
}

} // namespace
