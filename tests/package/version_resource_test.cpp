// The companions' version resources, read back the way Explorer reads them: each carries the
// release's version from the top CMakeLists.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "child_process.h"
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

// A program's version resource as GetFileVersionInfoW hands it out; empty when it has none.
class VersionResource {
public:
    explicit VersionResource(const std::wstring& file)
    {
        std::wstring path = ProgramFolder() + file;
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size != 0) {
            data_.resize(size);
            if (!GetFileVersionInfoW(path.c_str(), 0, size, &data_[0])) {
                data_.clear();
            }
        }
    }

    bool Present() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed()
    {
        void* fixed = NULL;
        UINT length = 0;
        if (!VerQueryValueW(&data_[0], L"\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
            return NULL;
        }
        return static_cast<const VS_FIXEDFILEINFO*>(fixed);
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

private:
    std::string data_;
};

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
