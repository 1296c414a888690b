#include "error_report.h"

#include "console_output.h"

namespace {

const DWORD SystemLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

} // namespace

void ReportError(HRESULT code, const wchar_t* format, ...)
{
    wchar_t* systemText = NULL;
    if (code != 0) {
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                           FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       NULL, static_cast<DWORD>(code), SystemLanguage,
                       reinterpret_cast<LPWSTR>(&systemText), 0, NULL);
    }

    wchar_t text[ErrorTextCapacity];
    va_list values;
    va_start(values, format);
    ComposeErrorText(text, ErrorTextCapacity, static_cast<uint32_t>(code), systemText, format, values);
    va_end(values);
    PrintText(text);

    if (systemText != NULL) {
        LocalFree(systemText);
    }
}

HRESULT ResultFromErrorNumber(DWORD error)
{
    LONG number = static_cast<LONG>(error);
    if (number <= 0) {
        return static_cast<HRESULT>(number);
    }
    return static_cast<HRESULT>((error & 0x0000FFFF) | 0x80070000);
}
