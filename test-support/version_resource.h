// A program's version resource as GetFileVersionInfoW hands it out, read back the way Explorer
// reads it.
#pragma once

#include <windows.h>

#include <string>

class VersionResource {
public:
    // The resource of the program of that name beside the test program; empty when it has none.
    explicit VersionResource(const std::wstring& file);

    bool Present() const { return !data_.empty(); }
    // The fixed part; NULL when there is none.
    const VS_FIXEDFILEINFO* Fixed() const;
    // A field of the US English Unicode string table; "<missing>" when it is not there.
    std::wstring Field(const std::wstring& name) const;
    // How many language and code page pairs \VarFileInfo\Translation lists, and the first one.
    size_t Translations(WORD* language, WORD* codePage) const;

private:
    std::string data_;
};
