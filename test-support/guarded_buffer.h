// A buffer for code under test that must never write past the end of what it is given: canaries
// after it (a write past the end shows, even where a memory checker would not see it inside the
// block) and a start filled with dirt (a missing terminator is not hidden by zeros). Plain C++
// without Windows headers: the tests and the native fuzzers share it.
#pragma once

#include <stddef.h>

#include <memory>
#include <string>

template <typename Char>
class GuardedBuffer {
public:
    static const size_t CanaryCount = 16;

    explicit GuardedBuffer(size_t capacity) : capacity_(capacity), storage_(new Char[capacity + CanaryCount])
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

    // The terminated text; only when Terminated().
    std::basic_string<Char> Text() const { return std::basic_string<Char>(storage_.get()); }

private:
    static constexpr Char Canary = static_cast<Char>(0x5A);
    static constexpr Char Dirt = static_cast<Char>(0x7E);

    size_t capacity_;
    std::unique_ptr<Char[]> storage_;
};
