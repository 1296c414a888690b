// An order-free fingerprint of a set of lines: the sum of each line's 64-bit FNV-1a hash. The
// sender and the receiver compute it apart, so equal digests mean the same lines arrived.
#pragma once

#include <stddef.h>
#include <stdint.h>

inline uint64_t LineHash(const char* text, size_t length)
{
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(text[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

struct LineTally {
    unsigned long long lines = 0;
    unsigned long long bytes = 0;
    unsigned long long digest = 0;

    void Add(const char* text, size_t length)
    {
        ++lines;
        bytes += length;
        digest += LineHash(text, length);
    }
    bool operator==(const LineTally& other) const
    {
        return lines == other.lines && bytes == other.bytes && digest == other.digest;
    }
};
