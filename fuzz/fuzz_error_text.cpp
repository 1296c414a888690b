// The installer's error text: "Error 0x...: ", the format expanded, the system's explanation,
// all cut to the reporter's 400 wide characters (terminator included). Every result is compared
// whole with a composition worked out here piece by piece.
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bounded_text.h"
#include "error_text.h"
#include "format_pieces.h"
#include "fuzz_input.h"
#include "fuzz_checks.h"
#include "scheduled_format.h"

namespace {

// The reporter's buffer, written out and tied to the installer's constant.
const size_t ReporterCapacity = 400;
static_assert(ReporterCapacity == ErrorTextCapacity, "the reporter's buffer changed");
// Other capacities tried: every one up to a little past the reporter's.
const size_t LargestCapacity = ReporterCapacity + 20;
const size_t SystemTextLimit = 600;
const std::wstring CauseHeading = L"\n\nPossible cause:\n\n";

void Compose(wchar_t* text, size_t capacity, uint32_t code, const wchar_t* systemText, const wchar_t* format, ...)
{
    va_list values;
    va_start(values, format);
    ComposeErrorText(text, capacity, code, systemText, format, values);
    va_end(values);
}

// A buffer that holds no terminator has no end to append at: it is left as it is.
void CheckUnterminatedBuffer(size_t capacity, const wchar_t* piece)
{
    GuardedBuffer<wchar_t> text(capacity);
    FUZZ_CHECK(!AppendBounded(text.Data(), capacity, piece), "append to an unterminated buffer");
    FUZZ_CHECK(!AppendFormatted(text.Data(), capacity, L"%ls", piece), "format into an unterminated buffer");
    FUZZ_CHECK(text.Untouched() && text.CanariesIntact(), "unterminated buffer left as it is");
}

// "Error 0x8004a024: ": the code as the unsigned 32-bit number an HRESULT is.
std::wstring CodePrefix(int32_t code)
{
    static const char Digits[] = "0123456789abcdef";
    uint32_t value = static_cast<uint32_t>(code);
    std::wstring hex;
    do {
        hex.insert(hex.begin(), static_cast<wchar_t>(Digits[value % 16]));
        value /= 16;
    } while (value != 0);
    return L"Error 0x" + hex + L": ";
}

// The whole text, as a buffer without limit would hold it.
std::wstring UncutText(int32_t code, const std::wstring* systemText, const std::vector<FormatPiece<wchar_t>>& pieces)
{
    std::wstring text = code != 0 ? CodePrefix(code) : L"";
    // An expanded "%lc" of 0 ends the text; whatever follows is appended after it.
    text = UpToTerminator(text + Concatenate(pieces, true));
    if (code != 0 && systemText != nullptr) {
        text += CauseHeading + *systemText;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    uint8_t mode = input.Byte();
    size_t capacity = (mode & 0x80) ? input.Size(LargestCapacity) : ReporterCapacity;
    // A result code is 32 bits wide on every platform, even where long is wider.
    int32_t code = (mode & 1) ? 0 : static_cast<int32_t>(input.Word32());
    bool withSystemText = (mode & 2) == 0;
    std::wstring systemText = input.TextIf<wchar_t>(withSystemText, SystemTextLimit);
    FuzzedFormat<wchar_t> format(input);

    ExactText<wchar_t> systemCopy(systemText);
    GuardedBuffer<wchar_t> text(capacity);
    format.CallWith([&](const wchar_t* formatText, auto... arguments) {
        Compose(text.Data(), capacity, static_cast<uint32_t>(code), withSystemText ? systemCopy.Get() : nullptr,
                formatText, arguments...);
        return 0;
    });

    CheckBounds(text, "error text");
    if (capacity > 0) {
        // Cut to exactly capacity - 1 characters (399 in the reporter's buffer), never fewer.
        std::wstring uncut = UncutText(code, withSystemText ? &systemText : nullptr, format.pieces);
        FUZZ_CHECK(text.Text() == Prefix(uncut, capacity - 1), "error text");
    }
    CheckUnterminatedBuffer(capacity, systemCopy.Get());
    return 0;
}
