// A format and the values it takes, drawn from fuzzer input: each conversion reads the next
// argument of the fixed schedule, and the call passes exactly the arguments written so far, so
// that no conversion of the caller's format can read an argument that was not passed.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <wchar.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "format_pieces.h"
#include "fuzz_input.h"
#include "fuzz_checks.h"

const size_t ArgumentTextLimit = 500;
const size_t FormatLengthLimit = 2048;
const size_t WideExpansionLimit = 4096;

template <typename Char>
struct ScheduledValues {
    // A long long for "%lld" in 8-bit formats; an unsigned long (32 bits on Windows) for "%lx",
    // the installer's code conversion, in wide ones.
    using WideNumber = std::conditional_t<sizeof(Char) == 1, long long, unsigned long>;
    using Character = std::conditional_t<sizeof(Char) == 1, int, wint_t>;
    static const size_t PerKind = ScheduledArguments / KindCount;

    std::basic_string<Char> texts[PerKind];
    int signedValues[PerKind] = {};
    unsigned unsignedValues[PerKind] = {};
    WideNumber wideValues[PerKind] = {};
    Character characters[PerKind] = {};

    template <size_t Index>
    auto Get() const
    {
        constexpr size_t n = Index / KindCount;
        constexpr ArgumentKind kind = static_cast<ArgumentKind>(Index % KindCount);
        if constexpr (kind == ArgumentKind::Text) {
            return texts[n].c_str();
        } else if constexpr (kind == ArgumentKind::Signed) {
            return signedValues[n];
        } else if constexpr (kind == ArgumentKind::Unsigned) {
            return unsignedValues[n];
        } else if constexpr (kind == ArgumentKind::Wide) {
            return wideValues[n];
        } else {
            return characters[n];
        }
    }
};

// One conversion expanded on its own, with the value it was written for.
template <typename Value>
std::string ExpandOne(const std::string& conversion, Value value)
{
    int length = snprintf(nullptr, 0, conversion.c_str(), value);
    FUZZ_CHECK(length >= 0, conversion.c_str());
    std::string text(static_cast<size_t>(length) + 1, '\0');
    snprintf(&text[0], text.size(), conversion.c_str(), value);
    text.resize(static_cast<size_t>(length));
    return text;
}

template <typename Value>
std::wstring ExpandOne(const std::wstring& conversion, Value value)
{
    // Wide printing has no way to ask for the length; one buffer, kept, holds the longest.
    static wchar_t text[WideExpansionLimit];
    int length = swprintf(text, WideExpansionLimit, conversion.c_str(), value);
    FUZZ_CHECK(length >= 0, "wide conversion expanded on its own");
    return std::wstring(text, static_cast<size_t>(length));
}

// Reads the value of argument index and returns its conversion expanded with it.
template <typename Char>
std::basic_string<Char> ReadArgument(FuzzInput& input, ScheduledValues<Char>& values, size_t index,
                                     const std::basic_string<Char>& conversion)
{
    using Values = ScheduledValues<Char>;
    size_t n = index / KindCount;
    switch (KindOfArgument(index)) {
    case ArgumentKind::Text:
        values.texts[n] = input.Text<Char>(ArgumentTextLimit);
        return ExpandOne(conversion, values.texts[n].c_str());
    case ArgumentKind::Signed:
        values.signedValues[n] = static_cast<int>(input.Word32());
        return ExpandOne(conversion, values.signedValues[n]);
    case ArgumentKind::Unsigned:
        values.unsignedValues[n] = input.Word32();
        return ExpandOne(conversion, values.unsignedValues[n]);
    case ArgumentKind::Wide:
        if constexpr (sizeof(Char) == 1) {
            uint64_t low = input.Word32();
            uint64_t high = input.Word32();
            values.wideValues[n] = static_cast<long long>(low | (high << 32));
        } else {
            values.wideValues[n] = input.Word32();
        }
        return ExpandOne(conversion, values.wideValues[n]);
    case ArgumentKind::Character:
        values.characters[n] = static_cast<typename Values::Character>(input.Unit<Char>());
        if constexpr (sizeof(Char) == 1) {
            values.characters[n] &= 0xFF;
        }
        return ExpandOne(conversion, values.characters[n]);
    }
    return {};
}

// A format of literal chunks and conversions; argumentCount receives the number of arguments its
// conversions take.
template <typename Char>
std::vector<FormatPiece<Char>> ReadFormat(FuzzInput& input, ScheduledValues<Char>& values,
                                          size_t& argumentCount)
{
    std::vector<FormatPiece<Char>> pieces;
    argumentCount = 0;
    size_t length = 0;
    while (length < FormatLengthLimit) {
        uint8_t op = input.Byte() % 4;
        if (op == 0 || input.Exhausted()) {
            break;
        }
        if (op == 3) {
            if (argumentCount == ScheduledArguments) {
                continue;
            }
            std::basic_string<Char> conversion =
                Widen<Char>(WriteConversion(input, KindOfArgument(argumentCount), sizeof(Char) > 1));
            std::basic_string<Char> expanded = ReadArgument(input, values, argumentCount, conversion);
            pieces.push_back({conversion, expanded, true});
            ++argumentCount;
            length += conversion.size();
        } else {
            std::basic_string<Char> chunk = input.Chunk<Char>(op == 1, FormatLengthLimit);
            AppendLiteral(pieces, chunk);
            length += chunk.size();
        }
    }
    return pieces;
}

template <typename Char, typename Call, size_t... Index>
auto CallWithPrefix(const ScheduledValues<Char>& values, Call call, std::index_sequence<Index...>)
{
    return call(values.template Get<Index>()...);
}

// call(arguments...) with the first count scheduled arguments.
template <typename Char, typename Call, size_t Count = 0>
auto CallWithArguments(const ScheduledValues<Char>& values, size_t count, Call call)
{
    if constexpr (Count == ScheduledArguments) {
        return CallWithPrefix(values, call, std::make_index_sequence<Count>{});
    } else {
        if (count == Count) {
            return CallWithPrefix(values, call, std::make_index_sequence<Count>{});
        }
        return CallWithArguments<Char, Call, Count + 1>(values, count, call);
    }
}

// A format and the values it takes, read from the input; the format also in a heap block of
// exactly its size, as the code under test gets it.
template <typename Char>
struct FuzzedFormat {
    explicit FuzzedFormat(FuzzInput& input)
        : pieces(ReadFormat(input, values, argumentCount)), text(Concatenate(pieces, false))
    {
    }

    // call(format, arguments...) with exactly the arguments the format takes.
    template <typename Call>
    auto CallWith(Call call) const
    {
        return CallWithArguments(values, argumentCount,
                                 [&](auto... arguments) { return call(text.Get(), arguments...); });
    }

    ScheduledValues<Char> values;
    size_t argumentCount = 0;
    std::vector<FormatPiece<Char>> pieces;
    ExactText<Char> text;
};
