// Reads a fuzzer's bytes as a small program of choices and text. Exhausted input reads as zeros,
// so every byte string is a valid program and short inputs mean "the plain case".
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Exhausted() const { return at_ == size_; }

    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

    // A buffer size from 0 to largest, from two bytes, the lower first.
    size_t Size(size_t largest)
    {
        size_t low = Byte();
        size_t high = Byte();
        return (low | (high << 8)) % (largest + 1);
    }

    // Every byte not read yet, as they are.
    std::string Rest()
    {
        std::string rest(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
        at_ = size_;
        return rest;
    }

    uint32_t Word32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(Byte()) << (8 * i);
        }
        return value;
    }

    // One character: a byte for single-byte text. For wide text a byte below 0xFF is that
    // character, and 0xFF is followed by two bytes of any UTF-16 code unit, so ASCII stays cheap
    // to reach while the whole 16-bit range (the width of wchar_t on Windows) stays reachable.
    template <typename Char>
    Char Unit()
    {
        uint8_t first = Byte();
        if (sizeof(Char) == 1 || first != 0xFF) {
            return static_cast<Char>(first);
        }
        unsigned low = Byte();
        unsigned high = Byte();
        return static_cast<Char>(low | (high << 8));
    }

    // Text of at most maxLength characters, without terminators, made of chunks: literal
    // characters, or one character repeated up to 256 times (so that long texts near a limit
    // come from short inputs).
    template <typename Char>
    std::basic_string<Char> Text(size_t maxLength)
    {
        std::basic_string<Char> text;
        for (;;) {
            uint8_t op = Byte() % 3;
            if (op == 0 || Exhausted()) {
                break;
            }
            AppendChunk(text, op == 1);
        }
        return Cut(text, maxLength);
    }

    // Text as above when wanted, else empty (and nothing read).
    template <typename Char>
    std::basic_string<Char> TextIf(bool wanted, size_t maxLength)
    {
        return wanted ? Text<Char>(maxLength) : std::basic_string<Char>();
    }

    // One chunk as above, literal or repeated.
    template <typename Char>
    std::basic_string<Char> Chunk(bool literal, size_t maxLength)
    {
        std::basic_string<Char> text;
        AppendChunk(text, literal);
        return Cut(text, maxLength);
    }

private:
    template <typename Char>
    void AppendChunk(std::basic_string<Char>& text, bool literal)
    {
        if (literal) {
            size_t count = Byte();
            for (size_t i = 0; i < count && !Exhausted(); ++i) {
                Keep(text, Unit<Char>(), 1);
            }
        } else {
            Char unit = Unit<Char>();
            Keep(text, unit, static_cast<size_t>(Byte()) + 1);
        }
    }

    template <typename Char>
    static void Keep(std::basic_string<Char>& text, Char unit, size_t count)
    {
        if (unit != 0) {
            text.append(count, unit);
        }
    }

    template <typename Char>
    static std::basic_string<Char> Cut(const std::basic_string<Char>& text, size_t maxLength)
    {
        return text.size() > maxLength ? text.substr(0, maxLength) : text;
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};
