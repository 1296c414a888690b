// The base of every companion and test-side class that owns a handle, a file or a thread: a copy
// would give it back twice, so none may be made.
#pragma once

class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};
