#include "error_text.h"

#include "bounded_text.h"
#include "installer_texts.h"

void ComposeErrorText(wchar_t* text, size_t capacity, uint32_t code, const wchar_t* systemText,
                      const wchar_t* format, va_list values)
{
    if (capacity == 0) {
        return;
    }
    text[0] = L'\0';
    if (code != 0) {
        // Printed as the unsigned 32-bit number it is: 0x8004a024, never a negative value.
        AppendFormatted(text, capacity, ErrorCodeFormat, static_cast<unsigned long>(code));
    }
    AppendFormattedBounded(text, capacity, format, values);
    if (code != 0 && systemText != nullptr) {
        AppendBounded(text, capacity, PossibleCauseText);
        AppendBounded(text, capacity, systemText);
    }
}
