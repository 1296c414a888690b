#include "named_object_security.h"

#include <sddl.h>
#include <wchar.h>

#include <string>

namespace {

// The running user's SID as text ("S-1-5-21-..."); empty when it cannot be had.
std::wstring UserSidText()
{
    std::wstring text;
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return text;
    }
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, NULL, 0, &size);
    if (size != 0) {
        std::string buffer(size, '\0');
        wchar_t* sid = NULL;
        if (GetTokenInformation(token, TokenUser, &buffer[0], size, &size) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &sid)) {
            text = sid;
            LocalFree(sid);
        }
    }
    CloseHandle(token);
    return text;
}

} // namespace

ReachableObjectSecurity::ReachableObjectSecurity(DWORD rights)
{
    std::wstring user = UserSidText();
    if (user.empty()) {
        return;
    }
    // IU: interactive users, so that a standard user can also stop a terminal that an
    // administrator's credentials elevated on the same desktop. ME with NW: medium integrity, no
    // write up.
    wchar_t access[16];
    swprintf(access, 16, L"0x%lx", static_cast<unsigned long>(rights));
    std::wstring sddl = std::wstring(L"D:(A;;") + access + L";;;" + user + L")(A;;" + access + L";;;IU)S:(ML;;NW;;;ME)";
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor_, NULL)) {
        descriptor_ = NULL;
        return;
    }
    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = descriptor_;
    attributes_.bInheritHandle = FALSE;
}

ReachableObjectSecurity::~ReachableObjectSecurity()
{
    if (descriptor_ != NULL) {
        LocalFree(descriptor_);
    }
}
