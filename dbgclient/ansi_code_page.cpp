#include "ansi_code_page.h"

#include <windows.h>

namespace {

INIT_ONCE CodePageLearnt = INIT_ONCE_STATIC_INIT;
AnsiCodePage HostCodePage;

void ReadCharacters(UINT codePage, CodePageCharacters* characters)
{
    CPINFO info;
    characters->encoding = SingleByteEncoding;
    if (codePage == CP_UTF8) {
        characters->encoding = Utf8Encoding;
        return;
    }
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize != 2) {
        return;
    }
    characters->encoding = DoubleByteEncoding;
    for (int byte = 0; byte < 256; ++byte) {
        characters->leadByte[byte] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != FALSE;
    }
}

BOOL CALLBACK LearnCodePage(PINIT_ONCE, PVOID, PVOID*)
{
    // GlobalAddAtomA reads a line in the code page GetACP gives, and ".ACP" names that one.
    ReadCharacters(GetACP(), &HostCodePage.characters);
    // Only the character category: numbers keep the "C" locale's decimal point, as they always had.
    HostCodePage.locale = _create_locale(LC_CTYPE, ".ACP");
    return TRUE;
}

}  // namespace

const AnsiCodePage& HostAnsiCodePage()
{
    InitOnceExecuteOnce(&CodePageLearnt, LearnCodePage, NULL, NULL);
    return HostCodePage;
}

void ReleaseAnsiCodePage(bool processEnding)
{
    if (HostCodePage.locale != NULL && !processEnding) {
        _free_locale(HostCodePage.locale);
    }
    HostCodePage.locale = NULL;
}
