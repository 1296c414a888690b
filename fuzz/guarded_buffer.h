// Buffers for the code under test. Outputs are followed by canaries (a write past the end
// that stays inside them is invisible to AddressSanitizer) and start dirty (a missing
// terminator is not hidden by zeros). Inputs are exact-size heap copies, so that reading one
// character past a terminator is a heap overflow AddressSanitizer reports.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#include <memory>
#include <string>

#define FUZZ_CHECK(condition, what)                                                                  \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #condition, what); \
            abort();                                                                                 \
        }                                                                                            \
    } while (0)

const size_t CanaryCount = 16;

template <typename Char>
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t capacity)
        : capacity_(capacity), storage_(new Char[capacity + CanaryCount])
    {
        for (size_t i = 0; i < capacity; ++i) {
            storage_[i] = Dirt;
        }
        for (size_t i = 0; i < CanaryCount; ++i) {
            storage_[capacity + i] = Canary;
        }
    }

    Char* Data() { return storage_.get(); }
    size_t Capacity() const { return capacity_; }

    bool CanariesIntact() const
    {
        for (size_t i = 0; i < CanaryCount; ++i) {
            if (storage_[capacity_ + i] != Canary) {
                return false;
            }
        }
        return true;
    }

    // True when a terminator lies inside the buffer.
    bool Terminated() const
    {
        for (size_t i = 0; i < capacity_; ++i) {
            if (storage_[i] == 0) {
                return true;
            }
        }
        return false;
    }

    // True when nothing was written into the buffer.
    bool Untouched() const
    {
        for (size_t i = 0; i < capacity_; ++i) {
            if (storage_[i] != Dirt) {
                return false;
            }
        }
        return true;
    }

    // The terminated text; call only when Terminated().
    std::basic_string<Char> Text() const { return std::basic_string<Char>(storage_.get()); }

    // Checks what every call must leave behind: canaries untouched and, when it has room, a
    // terminated text.
    void CheckBounds(const char* what) const
    {
        FUZZ_CHECK(CanariesIntact(), what);
        if (capacity_ > 0) {
            FUZZ_CHECK(Terminated(), what);
        }
    }

private:
    static constexpr Char Canary = static_cast<Char>(0x5A);
    static constexpr Char Dirt = static_cast<Char>(0x7E);

    size_t capacity_;
    std::unique_ptr<Char[]> storage_;
};

// A terminated copy of text in a heap block of exactly its size.
template <typename Char>
class ExactText {
public:
    explicit ExactText(const std::basic_string<Char>& text) : storage_(new Char[text.size() + 1])
    {
        text.copy(storage_.get(), text.size());
        storage_[text.size()] = 0;
    }

    const Char* Get() const { return storage_.get(); }

private:
    std::unique_ptr<Char[]> storage_;
};
