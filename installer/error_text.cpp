#include "error_text.h"

#include "bounded_text.h"

namespace {

const wchar_t ErrorCodeFormat[] = L"Error %#lx: ";
const wchar_t PossibleCauseText[] = L"\n\nPossible cause:\n\n";

bool AppendFormatted(wchar_t* text, size_t capacity, const wchar_t* format, ...)
{
    va_list values;
    va_start(values, format);
    bool complete = AppendFormattedBounded(text, capacity, format, values);
    va_end(values);
    return complete;
}

} // namespace

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
