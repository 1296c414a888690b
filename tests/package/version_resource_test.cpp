// The companions' version resources, read back the way Explorer reads them: each carries the
// release's version from the top CMakeLists.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "version_resource.h"
#include "vornak_version.h"

namespace {

struct Companion {
    const wchar_t* file;
    const wchar_t* description;
    const wchar_t* internalName;
};

const Companion Companions[] = {
    {L"vornak-terminal.exe", L"Vornak Debug Terminal", L"vornak-terminal"},
    {L"vornak-terminal.com", L"Vornak Debug Terminal (console)", L"vornak-terminal"},
    {L"vornak-send.exe", L"Vornak Debug Line Sender", L"vornak-send"},
};

std::wstring Widened(const char* text)
{
    return std::wstring(text, text + std::strlen(text));
}

TEST(CompanionVersion, FixedPartOfEveryCompanionCarriesTheReleaseVersion)
{
    const DWORD high = (VORNAK_VERSION_MAJOR << 16) | VORNAK_VERSION_MINOR;
    const DWORD low = VORNAK_VERSION_PATCH << 16;
    for (const Companion& companion : Companions) {
        SCOPED_TRACE(testing::Message() << companion.file);
        VersionResource resource(companion.file);
        ASSERT_TRUE(resource.Present());
        const VS_FIXEDFILEINFO* fixed = resource.Fixed();
        ASSERT_NE(nullptr, fixed);
        EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), fixed->dwSignature);
        EXPECT_EQ(high, fixed->dwFileVersionMS);
        EXPECT_EQ(low, fixed->dwFileVersionLS);
        EXPECT_EQ(high, fixed->dwProductVersionMS);
        EXPECT_EQ(low, fixed->dwProductVersionLS);
        EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    }
}

TEST(CompanionVersion, StringsOfEveryCompanionNameTheProgramAndTheRelease)
{
    for (const Companion& companion : Companions) {
        SCOPED_TRACE(testing::Message() << companion.file);
        VersionResource resource(companion.file);
        ASSERT_TRUE(resource.Present());
        EXPECT_EQ(companion.description, resource.Field(L"FileDescription"));
        EXPECT_EQ(companion.internalName, resource.Field(L"InternalName"));
        EXPECT_EQ(companion.file, resource.Field(L"OriginalFilename"));
        EXPECT_EQ(L"Vornak Support Software", resource.Field(L"ProductName"));
        EXPECT_EQ(L"Vornak", resource.Field(L"CompanyName"));
        EXPECT_EQ(Widened(VORNAK_VERSION_TEXT), resource.Field(L"FileVersion"));
        EXPECT_EQ(Widened(VORNAK_VERSION_TEXT), resource.Field(L"ProductVersion"));
    }
}

} // namespace
