#include "call_journal.h"

#include <cstdio>

#include "netcfg_sim_steering.h"
#include "sim_values.h"

namespace {

struct NamedIid {
    const IID* iid;
    const char* name;
};

const NamedIid KnownIids[] = {
    {&IID_IUnknown, "IID_IUnknown"},
    {&IID_IClassFactory, "IID_IClassFactory"},
    {&IID_INetCfg, "IID_INetCfg"},
    {&IID_INetCfgLock, "IID_INetCfgLock"},
    {&IID_INetCfgClass, "IID_INetCfgClass"},
    {&IID_INetCfgClassSetup, "IID_INetCfgClassSetup"},
    {&IID_INetCfgClassSetup2, "IID_INetCfgClassSetup2"},
    {&IID_INetCfgComponent, "IID_INetCfgComponent"},
    {&IID_INetCfgComponentBindings, "IID_INetCfgComponentBindings"},
    {&IID_INetCfgBindingPath, "IID_INetCfgBindingPath"},
    {&IID_INetCfgBindingInterface, "IID_INetCfgBindingInterface"},
    {&IID_IEnumNetCfgComponent, "IID_IEnumNetCfgComponent"},
    {&IID_IEnumNetCfgBindingPath, "IID_IEnumNetCfgBindingPath"},
    {&IID_IEnumNetCfgBindingInterface, "IID_IEnumNetCfgBindingInterface"},
    {&IID_INetCfgSysPrep, "IID_INetCfgSysPrep"},
    {&IID_IMarshal, "IID_IMarshal"},
    {&IID_INoMarshal, "IID_INoMarshal"},
    {&IID_IAgileObject, "IID_IAgileObject"},
};

std::string QuotedAscii(const wchar_t* text)
{
    std::string quoted = "\"";
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == L'"' || *c == L'\\') {
            quoted.push_back('\\');
            quoted.push_back(static_cast<char>(*c));
        } else if (*c >= 0x20 && *c < 0x7F) {
            quoted.push_back(static_cast<char>(*c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04X", static_cast<unsigned>(*c));
            quoted += escaped;
        }
    }
    quoted.push_back('"');
    return quoted;
}

} // namespace

namespace CallJournal {

void Append(const std::string& line)
{
    // Empty when journaling is off.
    std::wstring path = EnvironmentValue(NetCfgSimJournalVariable);
    if (path.empty()) {
        return;
    }
    // Appending through FILE_APPEND_DATA keeps lines whole when several processes journal.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "netcfg_sim: cannot open the journal %ls (error %lu)\n", path.c_str(),
                     GetLastError());
        std::fflush(stderr);
        return;
    }
    std::string text = line + "\n";
    DWORD written = 0;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) ||
        written != text.size()) {
        std::fprintf(stderr, "netcfg_sim: cannot write the journal %ls (error %lu)\n", path.c_str(),
                     GetLastError());
        std::fflush(stderr);
    }
    CloseHandle(file);
}

} // namespace CallJournal

std::string GuidText(const GUID& guid)
{
    char text[40];
    std::snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

JournalArgs& JournalArgs::Raw(const std::string& text)
{
    if (!joined_.empty()) {
        joined_ += ", ";
    }
    joined_ += text;
    return *this;
}

JournalArgs& JournalArgs::Text(const wchar_t* text)
{
    return Raw(text == NULL ? "NULL" : QuotedAscii(text));
}

JournalArgs& JournalArgs::Number(unsigned long number)
{
    return Raw(std::to_string(number));
}

JournalArgs& JournalArgs::Iid(REFIID iid)
{
    for (const NamedIid& known : KnownIids) {
        if (IsEqualIID(iid, *known.iid)) {
            return Raw(known.name);
        }
    }
    return Raw(GuidText(iid));
}

JournalArgs& JournalArgs::Guid(const GUID* guid)
{
    return Raw(guid == NULL ? "NULL" : GuidText(*guid));
}

JournalArgs& JournalArgs::OnBehalf(const OBO_TOKEN* token)
{
    if (token == NULL) {
        return Raw("NULL");
    }
    switch (token->Type) {
    case OBO_USER:
        return Raw("OBO_USER");
    case OBO_COMPONENT:
        return Raw("OBO_COMPONENT");
    case OBO_SOFTWARE:
        return Raw("OBO_SOFTWARE");
    }
    return Raw("OBO_TOKEN_TYPE(" + std::to_string(static_cast<long>(token->Type)) + ")");
}

JournalArgs& JournalArgs::Pointer(const void* pointer)
{
    return Raw(pointer == NULL ? "NULL" : "<pointer>");
}

JournalArgs& JournalArgs::Out(const void* out)
{
    if (out == NULL) {
        Raw("NULL");
    }
    return *this;
}
