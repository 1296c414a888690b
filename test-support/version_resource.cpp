#include "version_resource.h"

#include "child_process.h"

namespace {

// VerQueryValueW takes a non-const block; it does not write to it.
void* Block(const std::string& data)
{
    return const_cast<char*>(data.data());
}

} // namespace

VersionResource::VersionResource(const std::wstring& file)
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

const VS_FIXEDFILEINFO* VersionResource::Fixed() const
{
    void* fixed = NULL;
    UINT length = 0;
    if (!Present() || !VerQueryValueW(Block(data_), L"\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return NULL;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(fixed);
}

std::wstring VersionResource::Field(const std::wstring& name) const
{
    void* value = NULL;
    UINT length = 0;
    std::wstring query = L"\\StringFileInfo\\040904b0\\" + name;
    if (!Present() || !VerQueryValueW(Block(data_), query.c_str(), &value, &length) || length == 0) {
        return L"<missing>";
    }
    return static_cast<const wchar_t*>(value);
}

size_t VersionResource::Translations(WORD* language, WORD* codePage) const
{
    void* value = NULL;
    UINT length = 0;
    if (!Present() || !VerQueryValueW(Block(data_), L"\\VarFileInfo\\Translation", &value, &length) ||
        length < 2 * sizeof(WORD)) {
        return 0;
    }
    const WORD* pair = static_cast<const WORD*>(value);
    *language = pair[0];
    *codePage = pair[1];
    return length / (2 * sizeof(WORD));
}
